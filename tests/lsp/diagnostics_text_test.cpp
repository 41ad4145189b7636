#include "cli/lsp/diagnostics_text.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace brindlewort::cli::lsp {
namespace {

using nlohmann::json;

TEST(DiagnosticsText, ReadsBackAsTheSameJson) {
  // Texts that need escaping, as a document's words and paths may hold them.
  const std::vector<std::string> texts = {"plain", "quote \" and \\ backslash", "tab\tnew\nline\x01",
                                          "caf\xC3\xA9 \xF0\x9F\x98\x80", ""};
  DiagnosticsText diagnostics;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    diagnostics.add({i, 1}, {i, 2 + i}, 3, texts[i], i % 2 ? "spelling" : "", texts[i]);
  }
  const json parsed = json::parse(diagnostics.notification("file:///a \"b\".cpp", 7));
  EXPECT_EQ(parsed.at("method"), "textDocument/publishDiagnostics");
  EXPECT_EQ(parsed.at("params").at("uri"), "file:///a \"b\".cpp");
  EXPECT_EQ(parsed.at("params").at("version"), 7);
  const json& items = parsed.at("params").at("diagnostics");
  ASSERT_EQ(items.size(), texts.size());
  EXPECT_EQ(diagnostics.size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const json& item = items.at(i);
    EXPECT_EQ(item.at("message"), texts[i]);
    EXPECT_EQ(item.at("range").at("start"), (json{{"line", i}, {"character", 1}}));
    EXPECT_EQ(item.at("range").at("end"), (json{{"line", i}, {"character", 2 + i}}));
    EXPECT_EQ(item.at("source"), "brindle");
    EXPECT_EQ(item.contains("code"), i % 2 == 1);
    EXPECT_EQ(item.contains("data"), !texts[i].empty());
  }
  EXPECT_EQ(json::parse(DiagnosticsText().notification("u", 1)).at("params").at("diagnostics"), json::array());
}

}  // namespace
}  // namespace brindlewort::cli::lsp
