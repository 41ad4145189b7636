#pragma once

// Every option brindle knows, in one table: the spellings, the value, the
// help line and the commands that take it. Parsing and the --help lines of
// the options both come from it, so the two cannot drift apart.

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace brindlewort::cli {

enum class OptionId {
  width, fill, tabWidth, lines, stdinFilename, inPlace, check, diff, wholeText, timeout, help, version,
  language, verbose, addWord, rules
};

enum class OptionGroup {
  own,     // a command's own options: taken out first, listed after its description
  common,  // the rest: listed under "Options:"
};

struct Option {
  OptionId id;
  std::string_view shortName = {};  // such as "-w"; empty when there is none
  std::string_view longName = {};   // such as "--width"
  std::string_view valueName = {};  // such as "N"; empty for an option without a value
  std::string_view valueHint = {};  // what a missing value should have been
  std::string_view help = {};       // a line feed starts a line indented under the first
  OptionGroup group = OptionGroup::common;
  bool showsDefault = false;        // help ends with the default value
  // The names of the commands that take it; programName for brindle itself.
  std::vector<std::string_view> takenBy = {};
};

// The name that stands for brindle itself, before any command.
inline constexpr std::string_view programName = "brindle";

// Every option, in the order the help lists them. An option whose help
// differs between commands has one entry per help.
std::span<const Option> optionTable();

// The option that `arg` spells and `command` takes («--width=8» spells
// --width); null when there is none.
const Option* findOption(std::string_view arg, std::string_view command);

// Whether `command` takes the option.
bool takesOption(std::string_view command, OptionId id);

// The usage error for an option given without a value; `spelled` is the
// option as given.
Error missingValue(const Option& option, std::string_view spelled);

// Stores one option and its value (empty for an option without one), or
// says why the value is wrong.
using OptionTaker = std::function<Result<void>(const Option& option, std::string_view value)>;

// Goes through the arguments in order up to a "--" that ends the options,
// hands each option of `group` that `command` takes to `take`, and returns
// the other arguments. With keepOthers, every other argument, "--"
// included, is returned as it is; without, "--" is dropped and any other
// argument that starts with "-" (but is not "-") is an unknown option.
Result<std::vector<std::string>> takeOptions(std::span<const std::string> args,
                                             std::string_view command, OptionGroup group,
                                             bool keepOthers, const OptionTaker& take);

// The aligned help lines of the options of `group` that `command` takes;
// defaultValue fills in the one that shows its default.
std::string optionsHelp(std::string_view command, OptionGroup group,
                        std::string_view defaultValue = {});

}  // namespace brindlewort::cli
