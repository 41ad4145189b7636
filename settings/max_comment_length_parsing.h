#pragma once

// How the stored text of the maximum comment length becomes a number.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace brindlewort {

// A decimal integer written strictly: one optional sign, then ASCII digits
// and nothing else, fitting in 64 bits. Nothing for any other text.
std::optional<std::int64_t> parseStrictInteger(QStringView text);

// The length a stored text stands for: 80 when nothing is stored or the
// text is not a number, noCommentLengthLimit for 0, else the number.
std::int64_t maxCommentLengthFromStoredText(const std::optional<QString>& storedText);

// The number to store for a length: 0 for noCommentLengthLimit.
std::int64_t storedNumberForMaxCommentLength(std::int64_t length);

}  // namespace brindlewort
