#include "cli/core/text_options.h"

#include <charconv>

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

ParsedTextOptions parseTextOptions(std::span<const std::string> args, OptionSupport support,
                                   std::int64_t defaultWidthValue) {
  ParsedTextOptions parsed;
  TextOptions& options = parsed.options;
  options.width = defaultWidthValue;
  bool inPlace = false;
  bool check = false;
  bool optionsEnded = false;

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
      options.files.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else if (arg == "-i" || arg == "--in-place") {
      inPlace = true;
    } else if (arg == "--check") {
      check = true;
    } else if (arg == "--whole-text") {
      options.scope = TextScope::wholeText;
    } else if (support.width && (arg == "-w" || arg == "--width" || arg.starts_with("--width="))) {
      std::string_view value;
      if (arg.starts_with("--width=")) {
        value = std::string_view(arg).substr(8);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        parsed.error = "option '" + arg + "' needs a number";
        return parsed;
      }
      std::optional<std::int64_t> width = parseWidth(value);
      if (!width) {
        parsed.error = "invalid width '" + std::string(value) +
                       "': expected a whole number, 0 for no limit";
        return parsed;
      }
      options.width = *width;
    } else {
      parsed.error = "unknown option '" + arg + "'";
      return parsed;
    }
  }

  if (options.help) return parsed;
  if (inPlace && check) {
    parsed.error = "--in-place and --check cannot be combined";
    return parsed;
  }
  if (inPlace) {
    options.mode = OutputMode::inPlace;
    if (options.files.empty()) {
      parsed.error = "--in-place needs at least one FILE";
      return parsed;
    }
    for (const std::string& file : options.files) {
      if (file == "-") {
        parsed.error = "--in-place cannot rewrite standard input";
        return parsed;
      }
    }
  }
  if (check) options.mode = OutputMode::check;
  return parsed;
}

std::string textOptionsHelp(OptionSupport support, std::int64_t defaultWidthValue) {
  std::string text;
  if (support.width) {
    text +=
        "  -w, --width N     maximum comment length in characters; 0 means no limit\n"
        "                    (default: " +
        (defaultWidthValue == noCommentLengthLimit ? std::string("no limit")
                                                   : std::to_string(defaultWidthValue)) +
        ")\n";
  }
  text +=
      "  -i, --in-place    rewrite each FILE that changes (atomically, mode kept);\n"
      "                    files that would not change are left untouched\n"
      "      --check       change nothing; list each FILE that would change and\n"
      "                    exit with 1 if there is any\n"
      "      --whole-text  transform the whole text as the workbench does, code\n"
      "                    lines included, instead of only runs of // comment lines\n"
      "  -h, --help        show this help\n"
      "\n"
      "With no FILE, or when FILE is -, standard input is read.\n"
      "Exit status: 0 success, 1 --check found files to change,\n"
      "2 usage error or a file that could not be read, decoded or written.\n";
  return text;
}

}  // namespace brindlewort::cli
