#pragma once

// One .editorconfig file, read into its sections: what `root = true` says
// and, for each section in order, its glob and its properties.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/core/editor_config_glob.h"

namespace brindlewort::cli {

struct EditorConfigSection {
  SectionGlob glob;
  // Names in lower case, values as written, in the order given.
  std::vector<std::pair<std::string, std::string>> properties;
};

struct EditorConfigFile {
  bool root = false;  // no .editorconfig further up applies
  std::vector<EditorConfigSection> sections;
};

// Reads the text of an .editorconfig. Lines that are neither a section, a
// property nor a comment are skipped. Linear in the text.
EditorConfigFile parseEditorConfig(std::string_view text);

}  // namespace brindlewort::cli
