#pragma once

// What the editor may set for the server, in initializationOptions or
// workspace/didChangeConfiguration: {"width": 72, "severity": "hint",
// "rules": ["passive", "repeated"]}, at the top level or under "brindle".

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>

#include "proofreading/grammar_rules.h"

namespace brindlewort::cli::lsp {

// Diagnostic severities of the protocol that findings may take.
inline constexpr int severityInformation = 3;
inline constexpr int severityHint = 4;

struct ServerSettings {
  // Maximum comment length (noCommentLengthLimit for "0", none); unset:
  // .editorconfig, else the shared setting.
  std::optional<std::int64_t> width;
  int severity = severityInformation;
  // The grammar findings reported; the same names and defaults as
  // brindle grammar --rules.
  GrammarRules grammarRules;
};

// The settings with what `options` holds applied; keys it does not hold keep
// their values, a null width goes back to the file's own. Values of the
// wrong kind are ignored.
ServerSettings withOptions(ServerSettings settings, const nlohmann::json& options);

}  // namespace brindlewort::cli::lsp
