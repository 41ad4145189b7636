#include "cli/core/text_options.h"

#include <algorithm>
#include <charconv>

#include "cli/core/option_table.h"
#include "engine/comment_length.h"

namespace brindlewort::cli {

std::optional<std::int64_t> parseWidth(std::string_view value) {
  std::int64_t width = 0;
  const char* end = value.data() + value.size();
  // from_chars alone would accept a leading minus sign.
  if (value.empty() || value.front() < '0' || value.front() > '9') return std::nullopt;
  auto [stop, error] = std::from_chars(value.data(), end, width);
  if (error != std::errc() || stop != end) return std::nullopt;
  return width == 0 ? noCommentLengthLimit : width;
}

std::optional<LineSpan> parseLineRange(std::string_view value) {
  const std::size_t colon = value.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  auto number = [](std::string_view digits) -> std::optional<std::size_t> {
    std::size_t n = 0;
    if (digits.empty() || digits.front() < '0' || digits.front() > '9') return std::nullopt;
    auto [stop, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (error != std::errc() || stop != digits.data() + digits.size()) return std::nullopt;
    return n;
  };
  const auto first = number(value.substr(0, colon));
  const auto last = number(value.substr(colon + 1));
  if (!first || !last || *first == 0 || *last < *first) return std::nullopt;
  return LineSpan{*first - 1, *last - 1};
}

std::optional<std::chrono::milliseconds> parseTimeout(std::string_view value) {
  // strtod would accept leading blanks, signs, "inf" and "nan".
  if (value.empty() || value.find_first_not_of("0123456789.") != std::string_view::npos) return std::nullopt;
  double seconds = 0;
  auto [stop, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
  if (error != std::errc() || stop != value.data() + value.size()) return std::nullopt;
  if (!(seconds > 0 && seconds < 86400)) return std::nullopt;
  return std::chrono::milliseconds(std::max<long long>(1, static_cast<long long>(seconds * 1000)));
}

Result<TextOptions> parseTextOptions(std::span<const std::string> args, std::string_view command,
                                     std::int64_t defaultWidthValue) {
  TextOptions options;
  options.width = defaultWidthValue;
  bool inPlace = false;
  bool check = false;
  bool diff = false;
  const OptionTaker take = [&](const Option& option, std::string_view value) -> Result<void> {
    switch (option.id) {
      case OptionId::width:
        if (std::optional<std::int64_t> width = parseWidth(value)) {
          options.width = *width;
          options.widthGiven = true;
          return {};
        }
        return Error{"invalid width '" + std::string(value) +
                     "': expected a whole number, 0 for no limit"};
      case OptionId::fill: options.fill = true; return {};
      case OptionId::tabWidth:
        if (std::optional<std::int64_t> tab = parseWidth(value); tab && *tab != noCommentLengthLimit) {
          options.tabWidth = static_cast<std::size_t>(*tab);
          return {};
        }
        return Error{"invalid tab width '" + std::string(value) + "': expected a whole number above 0"};
      case OptionId::lines:
        if (std::optional<LineSpan> range = parseLineRange(value)) {
          options.lines.push_back(*range);
          return {};
        }
        return Error{"invalid line range '" + std::string(value) + "': expected A:B with 1 <= A <= B"};
      case OptionId::stdinFilename:
        if (value.empty()) return missingValue(option, option.longName);
        options.stdinFilename = value;
        return {};
      case OptionId::language:
        if (value.empty()) return missingValue(option, option.longName);
        options.language = value;
        return {};
      case OptionId::inPlace: inPlace = true; return {};
      case OptionId::check: check = true; return {};
      case OptionId::diff: diff = true; return {};
      case OptionId::timeout:
        if (std::optional<std::chrono::milliseconds> timeout = parseTimeout(value)) {
          options.timeout = *timeout;
          return {};
        }
        return Error{"invalid time-out '" + std::string(value) +
                     "': expected seconds above 0 and below 86400"};
      case OptionId::wholeText: options.scope = TextScope::wholeText; return {};
      case OptionId::help: options.help = true; return {};
      case OptionId::verbose: options.verbose = true; return {};
      case OptionId::rules: {
        const std::optional<GrammarRules> rules = parseGrammarRules(value);
        if (!rules) {
          return Error{"option '" + std::string(option.longName) + "' takes a list of passive, perfect and repeated" +
                       " (or all, or none), not '" + std::string(value) + "'"};
        }
        options.grammarRules = *rules;
        return {};
      }
      case OptionId::addWord:
        if (value.empty()) return missingValue(option, option.longName);
        options.addWord = value;
        return {};
      case OptionId::version: return {};  // brindle's own, taken by no command
    }
    return {};
  };
  // A command's own options come out first, so that their faults are the
  // ones reported.
  Result<std::vector<std::string>> rest = takeOptions(args, command, OptionGroup::own, true, take);
  if (!rest) return Error{rest.error()};
  Result<std::vector<std::string>> files = takeOptions(*rest, command, OptionGroup::common, false, take);
  if (!files) return Error{files.error()};
  options.files = std::move(*files);

  if (options.help) return options;
  if (options.scope == TextScope::wholeText &&
      (options.fill || options.tabWidth || !options.lines.empty() || !options.stdinFilename.empty()))
    return Error{"--whole-text transforms the whole text as the workbench does; it takes no --fill, "
                 "--tab-width, --lines or --stdin-filename"};
  if (static_cast<int>(inPlace) + static_cast<int>(check) + static_cast<int>(diff) > 1) {
    return Error{std::string(inPlace ? "--in-place" : "--check") + " and " + (diff ? "--diff" : "--check") +
                 " cannot be combined"};
  }
  if (inPlace) {
    options.mode = OutputMode::inPlace;
    if (options.files.empty()) return Error{"--in-place needs at least one FILE"};
    if (std::find(options.files.begin(), options.files.end(), "-") != options.files.end()) {
      return Error{"--in-place cannot rewrite standard input"};
    }
  }
  if (check) options.mode = OutputMode::check;
  if (diff) options.mode = OutputMode::diff;
  return options;
}

}  // namespace brindlewort::cli
