#include <string>

#include "cli/commands/command_table.h"
#include "cli/core/file_processing.h"
#include "cli/core/file_reading.h"
#include "cli/core/folder_arguments.h"
#include "cli/core/messages.h"
#include "cli/core/option_table.h"
#include "cli/core/text_options.h"
#include "cli/core/text_transform.h"
#include "reflow/text_validation.h"
#include "reflow/comment_lexer.h"
#include "reflow/source_language.h"
#include "reflow/source_reflow.h"

namespace brindlewort::cli {
namespace {

constexpr std::string_view explainHelp =
    "Usage: brindle explain [OPTION...] [FILE...]\n"
    "\n"
    "Lists the comment lines that wrap and unwrap keep exactly as they are,\n"
    "and why, as FILE:LINE: KIND (fence, code, table, separator, directive,\n"
    "heading, nested, switched-off). Every other comment line is prose that\n"
    "may be re-flowed. A FILE that is a folder stands for the source files\n"
    "under it, as for wrap.\n"
    "\n"
    "Options:\n";

// The report for one text: its structure lines, compiler-style.
std::string explanation(std::string_view name, std::string_view path, std::string_view text) {
  const LanguageLookup language = commentLanguageOf(path, text);
  std::string report;
  if (language.kind == LanguageLookup::Kind::noLineComments) return report;
  for (const auto& [line, kind] : commentLineKinds(text, lexComments(text, language.language))) {
    if (kind == LineKind::prose || kind == LineKind::blank) continue;
    report += std::string(name) + ':' + std::to_string(line + 1) + ": " + std::string(kindName(kind)) + '\n';
  }
  return report;
}

int runExplain(std::span<const std::string> args) {
  Result<TextOptions> parsed = parseTextOptions(args, "explain", 0);
  if (!parsed) return usageError(parsed.error(), "explain");
  if (parsed->help) {
    printOutput(std::string(explainHelp) + optionsHelp("explain", OptionGroup::common));
    return finishOutputStatus();
  }
  std::vector<std::string> inputs = expandFolderArguments(parsed->files);
  if (parsed->files.empty()) inputs.push_back("-");
  int status = exitSuccess;
  std::size_t binaryFiles = 0;
  for (const std::string& input : inputs) {
    const bool fromStandardInput = input == "-";
    const std::string name = inputDisplayName(input, parsed->stdinFilename);
    Result<std::string> text = fromStandardInput ? readStandardInput() : readWholeFile(input);
    if (text && !fromStandardInput && looksBinary(input, *text)) {
      ++binaryFiles;
      continue;
    }
    if (text) {
      if (Result<void> decodable = checkDecodable(*text); !decodable) text = Error{decodable.error()};
    }
    if (text) {
      if (Result<void> lineEnds = checkLineEnds(*text); !lineEnds) text = Error{lineEnds.error()};
    }
    if (!text) {
      printError(name + ": " + text.error());
      status = exitFailure;
      continue;
    }
    // A byte-order mark is no part of the first line.
    std::string_view body = *text;
    if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
    printOutput(explanation(name, fromStandardInput ? parsed->stdinFilename : input, body));
  }
  if (finishOutputStatus() != exitSuccess) return exitFailure;
  if (binaryFiles > 0)
    printError("skipped " + std::to_string(binaryFiles) + (binaryFiles == 1 ? " binary file" : " binary files"));
  return status;
}

}  // namespace

Command explainCommand() {
  return {"explain", "list the comment lines kept as structure, and why", runExplain};
}

}  // namespace brindlewort::cli
