#pragma once

// The options that only the proofreading commands take (--lang, --verbose),
// taken out of the arguments before the shared options are parsed.

#include <span>
#include <string>
#include <vector>

namespace brindlewort::cli {

struct ProofreadingOptions {
  std::string language;            // --lang; empty: the user's language
  bool verbose = false;            // --verbose
  std::vector<std::string> rest;   // every other argument, in order
  std::string error;               // non-empty on a usage error
};

// Takes out --lang LANG, --lang=LANG and (when allowed) --verbose, up to a
// "--" that ends the options.
ProofreadingOptions takeProofreadingOptions(std::span<const std::string> args, bool language,
                                            bool verbose);

}  // namespace brindlewort::cli
