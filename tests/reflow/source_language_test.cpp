#include "reflow/source_language.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace brindlewort {
namespace {

using Kind = LanguageLookup::Kind;

struct LookupCase {
  std::string path;
  Kind kind;
  std::string language;  // the name when known
};

void PrintTo(const LookupCase& c, std::ostream* out) { *out << "«" << c.path << "»"; }

class LanguageForPath : public testing::TestWithParam<LookupCase> {};

TEST_P(LanguageForPath, ReadsTheExtension) {
  const LookupCase& c = GetParam();
  const LanguageLookup lookup = languageForPath(c.path);
  EXPECT_EQ(lookup.kind, c.kind);
  ASSERT_EQ(lookup.language != nullptr, c.kind == Kind::known);
  if (lookup.language != nullptr) {
    EXPECT_EQ(lookup.language->name, c.language);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, LanguageForPath,
    testing::Values(LookupCase{"src/main.rs", Kind::known, "Rust"},
                    LookupCase{"include/x.h", Kind::known, "C"},
                    LookupCase{"Engine.CPP", Kind::known, "C++"},
                    LookupCase{"kernel.cu", Kind::known, "C++"},
                    LookupCase{"View.mm", Kind::known, "Objective-C"},
                    LookupCase{"build.gradle.kts", Kind::known, "Kotlin"},
                    LookupCase{"build.gradle", Kind::known, "Groovy"},
                    LookupCase{"App.tsx", Kind::known, "TypeScript"},
                    LookupCase{"index.mjs", Kind::known, "JavaScript"},
                    LookupCase{"Program.cs", Kind::known, "C#"},
                    LookupCase{"worksheet.sc", Kind::known, "Scala"},
                    LookupCase{"api.proto", Kind::known, "Protocol Buffers"},
                    LookupCase{"tools/run.py", Kind::noLineComments, ""},
                    LookupCase{"site/style.css", Kind::noLineComments, ""},
                    LookupCase{"CMakeLists.txt", Kind::noLineComments, ""},
                    LookupCase{"site/style.scss", Kind::unknown, ""},
                    LookupCase{"Makefile", Kind::unknown, ""},
                    LookupCase{"conf.d/settings", Kind::unknown, ""},
                    LookupCase{".bashrc", Kind::unknown, ""},
                    LookupCase{"name.", Kind::unknown, ""},
                    LookupCase{"", Kind::unknown, ""}));

}  // namespace
}  // namespace brindlewort
