#pragma once

// Re-flows one joined paragraph so that no line holding two or more words is
// longer than the maximum length, with hanging indents under list markers.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace brindlewort {

// Only owned strings are re-flowed; slices are not wrappable on their own.
template <typename T>
concept CommentWrappable = std::same_as<std::remove_cvref_t<T>, std::string>;

// Returns the paragraph re-flowed at maxLength characters, lines separated
// by LF. treatAsPlainText says the whole text has no comment lines, so a
// paragraph without any prefix is wrapped too (otherwise returned as is).
// Once sure to pass sizeLimit bytes it stops and returns what it has, which
// is then longer than the limit; a result within the limit is the same.
std::string wrapParagraph(std::string_view paragraph, std::int64_t maxLength,
                          bool treatAsPlainText, std::size_t sizeLimit = SIZE_MAX);

template <CommentWrappable T>
std::string wrapParagraph(const T& paragraph, std::int64_t maxLength, bool treatAsPlainText) {
  return wrapParagraph(std::string_view(paragraph), maxLength, treatAsPlainText);
}

}  // namespace brindlewort
