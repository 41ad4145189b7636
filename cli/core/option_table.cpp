#include "cli/core/option_table.h"

#include <algorithm>

namespace brindlewort::cli {
namespace {

// The commands that transform text files share most options.
const std::vector<std::string_view> textCommands{"wrap", "unwrap", "spell", "grammar", "lint"};

std::vector<std::string_view> textCommandsAnd(std::initializer_list<std::string_view> more) {
  std::vector<std::string_view> names = textCommands;
  names.insert(names.end(), more);
  return names;
}

// Where the help text of every option starts, so that the columns line up.
constexpr std::size_t helpColumn = 20;

bool takes(const Option& option, std::string_view command) {
  return std::find(option.takenBy.begin(), option.takenBy.end(), command) != option.takenBy.end();
}

// Whether `arg` gives the option's value after an equals sign, as in
// «--width=8».
bool spellsWithValue(const Option& option, std::string_view arg) {
  return !option.valueName.empty() && arg.size() > option.longName.size() &&
         arg.starts_with(option.longName) && arg[option.longName.size()] == '=';
}

}  // namespace

std::span<const Option> optionTable() {
  static const std::vector<Option> options{
      {.id = OptionId::width, .shortName = "-w", .longName = "--width", .valueName = "N",
       .valueHint = "a number",
       .help = "maximum comment length in columns; 0 means no limit;\n"
               "without it, max_line_length from .editorconfig or\n"
               "the shared setting",
       .showsDefault = true, .takenBy = {"wrap"}},
      {.id = OptionId::fill, .longName = "--fill",
       .help = "re-flow every paragraph to the width, not only those\n"
               "with a line over it",
       .takenBy = {"wrap"}},
      {.id = OptionId::tabWidth, .longName = "--tab-width", .valueName = "N",
       .valueHint = "a number",
       .help = "columns between tab stops (default: tab_width\n"
               "from .editorconfig, else 8)",
       .takenBy = {"wrap"}},
      {.id = OptionId::lines, .longName = "--lines", .valueName = "A:B",
       .valueHint = "a line range such as 10:20",
       .help = "change only paragraphs touching lines A to B (from 1);\n"
               "may be given more than once",
       .takenBy = {"wrap", "unwrap"}},
      {.id = OptionId::stdinFilename, .longName = "--stdin-filename", .valueName = "NAME",
       .valueHint = "a file name",
       .help = "the file standard input holds, for its language,\n"
               ".editorconfig and project (spell: its repository's\n"
               "words and .brindle-words)",
       .takenBy = {"wrap", "unwrap", "explain", "spell", "grammar", "lint"}},
      {.id = OptionId::inPlace, .shortName = "-i", .longName = "--in-place",
       .help = "rewrite each FILE that changes (atomically, mode kept);\n"
               "files that would not change are left untouched",
       .takenBy = textCommands},
      {.id = OptionId::check, .longName = "--check",
       .help = "change nothing; print FILE:LINE: for the first line of\n"
               "each comment paragraph that would change, and exit\n"
               "with 1 if there is any",
       .takenBy = {"wrap", "unwrap"}},
      {.id = OptionId::check, .longName = "--check",
       .help = "change nothing; print FILE:LINE:COLUMN: spelling:\n"
               "\"word\" for each misspelt word, and exit with 1 if\n"
               "there is any",
       .takenBy = {"spell"}},
      {.id = OptionId::check, .longName = "--check",
       .help = "change nothing; print FILE:LINE:COLUMN: passive voice:\n"
               "\"is written\" for each finding of the rules switched\n"
               "on, and exit with 1 if there is any",
       .takenBy = {"grammar"}},
      {.id = OptionId::check, .longName = "--check",
       .help = "change nothing; print FILE:LINE: for the first line of\n"
               "each stretch the helper would correct, and exit with 1\n"
               "if there is any",
       .takenBy = {"lint"}},
      {.id = OptionId::diff, .longName = "--diff",
       .help = "change nothing; print a unified diff of what would\n"
               "change, and exit with 1 if anything would",
       .takenBy = textCommands},
      {.id = OptionId::wholeText, .longName = "--whole-text",
       .help = "transform the whole text as the workbench does, code\n"
               "lines included, instead of only runs of line comments",
       .takenBy = textCommands},
      {.id = OptionId::timeout, .longName = "--timeout", .valueName = "SECONDS",
       .valueHint = "a number of seconds",
       .help = "wait at most SECONDS for the helper over the whole run\n"
               "(default: 30); files left then are not processed",
       .takenBy = {"lint"}},
      {.id = OptionId::verbose, .longName = "--verbose",
       .help = "list on standard error each binary file skipped",
       .takenBy = {"wrap", "unwrap", "grammar", "lint"}},
      {.id = OptionId::help, .shortName = "-h", .longName = "--help", .help = "show this help",
       .takenBy = textCommandsAnd({"config", "explain", programName})},
      {.id = OptionId::version, .longName = "--version", .help = "show the version",
       .takenBy = {programName}},
      {.id = OptionId::language, .longName = "--lang", .valueName = "LANG",
       .valueHint = "a language such as en_US",
       .help = "dictionary language, such as en_GB (default: the\n"
               "language of LC_ALL, LC_MESSAGES or LANG, else en_US)",
       .group = OptionGroup::own, .takenBy = {"spell"}},
      {.id = OptionId::verbose, .longName = "--verbose",
       .help = "log each checked line with findings to standard error,\n"
               "and list each binary file skipped",
       .group = OptionGroup::own, .takenBy = {"spell"}},
      {.id = OptionId::rules, .longName = "--rules", .valueName = "LIST",
       .valueHint = "a list of rules such as passive,repeated",
       .help = "the kinds of finding to report, comma-separated:\n"
               "passive (\"is written\"), perfect (\"has changed\"),\n"
               "repeated (\"the the\"); all or none (default:\n"
               "passive,repeated); --whole-text always marks the\n"
               "bare pattern",
       .group = OptionGroup::own, .takenBy = {"grammar"}},
      {.id = OptionId::addWord, .longName = "--add-word", .valueName = "WORD",
       .valueHint = "a word",
       .help = "add WORD to the project's .brindle-words (the nearest\n"
               "one up to the project's root, else a new one at the\n"
               "root) and check nothing",
       .group = OptionGroup::own, .takenBy = {"spell"}},
  };
  return options;
}

const Option* findOption(std::string_view arg, std::string_view command) {
  for (const Option& option : optionTable()) {
    if (!takes(option, command)) continue;
    if (arg == option.longName || (!option.shortName.empty() && arg == option.shortName) ||
        spellsWithValue(option, arg)) {
      return &option;
    }
  }
  return nullptr;
}

bool takesOption(std::string_view command, OptionId id) {
  return std::any_of(optionTable().begin(), optionTable().end(),
                     [&](const Option& option) { return option.id == id && takes(option, command); });
}

Error missingValue(const Option& option, std::string_view spelled) {
  return {"option '" + std::string(spelled) + "' needs " + std::string(option.valueHint)};
}

Result<std::vector<std::string>> takeOptions(std::span<const std::string> args,
                                             std::string_view command, OptionGroup group,
                                             bool keepOthers, const OptionTaker& take) {
  std::vector<std::string> others;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const Option* option = optionsEnded ? nullptr : findOption(arg, command);
    if (option != nullptr && option->group == group) {
      std::string_view value;
      if (spellsWithValue(*option, arg)) {
        value = std::string_view(arg).substr(option->longName.size() + 1);
      } else if (!option->valueName.empty()) {
        // The next argument is the value whatever it looks like, as in
        // «--width -3», so that the value's own check explains the fault.
        if (i + 1 == args.size()) return missingValue(*option, arg);
        value = args[++i];
      }
      if (Result<void> taken = take(*option, value); !taken) return Error{taken.error()};
    } else if (optionsEnded || keepOthers) {
      if (arg == "--") optionsEnded = true;
      others.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-" || !arg.starts_with("-")) {
      others.push_back(arg);
    } else {
      return Error{"unknown option '" + arg + "'"};
    }
  }
  return others;
}

std::string optionsHelp(std::string_view command, OptionGroup group, std::string_view defaultValue) {
  std::string text;
  for (const Option& option : optionTable()) {
    if (option.group != group || !takes(option, command)) continue;
    std::string line = option.shortName.empty() ? "      " : "  " + std::string(option.shortName) + ", ";
    line += option.longName;
    if (!option.valueName.empty()) line += " " + std::string(option.valueName);
    // A spelling too long for the column puts its help on the next line.
    if (line.size() + 2 > helpColumn) line += "\n" + std::string(helpColumn, ' ');
    else line.resize(helpColumn, ' ');
    std::string help(option.help);
    if (option.showsDefault) help += "\n(default: " + std::string(defaultValue) + ")";
    for (std::size_t start = 0, feed = 0; feed != std::string::npos; start = feed + 1) {
      feed = help.find('\n', start);
      if (start > 0) line.append(helpColumn, ' ');
      line += help.substr(start, feed - start);
      line += '\n';
    }
    text += line;
  }
  return text;
}

}  // namespace brindlewort::cli
