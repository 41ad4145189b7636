#include "cli/core/proofreading_options.h"

namespace brindlewort::cli {

ProofreadingOptions takeProofreadingOptions(std::span<const std::string> args, bool language,
                                            bool verbose) {
  ProofreadingOptions taken;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded) {
      taken.rest.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
      taken.rest.push_back(arg);
    } else if (language && (arg == "--lang" || arg.starts_with("--lang="))) {
      if (arg == "--lang" && i + 1 < args.size()) {
        taken.language = args[++i];
      } else if (arg != "--lang") {
        taken.language = arg.substr(7);
      }
      if (taken.language.empty()) {
        taken.error = "option '--lang' needs a language such as en_US";
        return taken;
      }
    } else if (verbose && arg == "--verbose") {
      taken.verbose = true;
    } else {
      taken.rest.push_back(arg);
    }
  }
  return taken;
}

}  // namespace brindlewort::cli
