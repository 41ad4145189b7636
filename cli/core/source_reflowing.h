#pragma once

// brindle wrap and unwrap on source files: only comment paragraphs move,
// found by the lexer of the file's language, at the width and tab stops the
// project's .editorconfig asks for unless the options say otherwise.

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <memory>

#include "cli/core/file_processing.h"
#include "cli/core/text_options.h"
#include "reflow/paragraph_reflow.h"

namespace brindlewort::cli {

// Counts the files skipped because their language has no `//` comments.
struct SkippedFiles {
  std::atomic<std::size_t> count{0};
};

// The transform for the options; safe to call from several threads at once.
SourceTransform sourceReflowing(const TextOptions& options, ReflowMode mode,
                                std::shared_ptr<SkippedFiles> skipped);

// The closing note that says how many files were skipped, if any.
std::function<std::string()> skippedFilesNote(std::shared_ptr<const SkippedFiles> skipped);

}  // namespace brindlewort::cli
