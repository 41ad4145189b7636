// The server's answers to hostile requests, in-process: messages nested too
// deep, positions no text has, "add word" for files that are not on this
// machine and words no list should hold.

#include "cli/lsp/language_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/lsp/json_nesting.h"

namespace brindlewort::cli::lsp {
namespace {

using nlohmann::json;

class Session {
 public:
  Session() : server_([this](const std::string& body) { sent_.push_back(json::parse(body)); }, [] {}) {}

  void sendRaw(std::string body) { server_.handle(FramedMessage{std::move(body), {}}); }
  void notify(const std::string& method, json params) {
    sendRaw(json{{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}}.dump());
  }
  // The answer to a request.
  json request(const std::string& method, json params) {
    const int id = nextId_++;
    sendRaw(json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}}.dump());
    return answerTo(id);
  }
  json answerTo(const json& id) {
    for (auto it = sent_.begin(); it != sent_.end(); ++it) {
      if (it->contains("id") && it->at("id") == id) {
        json answer = *it;
        sent_.erase(it);
        return answer;
      }
    }
    ADD_FAILURE() << "no answer to " << id.dump();
    return json::object();
  }
  void initialize() {
    ASSERT_TRUE(request("initialize", {{"capabilities", json::object()}, {"initializationOptions", {{"width", 20}}}})
                    .contains("result"));
  }

 private:
  std::vector<json> sent_;
  LanguageServer server_;
  int nextId_ = 1;
};

json rangeOf(json startLine, json startCharacter, json endLine, json endCharacter) {
  return {{"start", {{"line", startLine}, {"character", startCharacter}}},
          {"end", {{"line", endLine}, {"character", endCharacter}}}};
}

std::string nested(std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

TEST(JsonNesting, CountsBracketsOutsideStrings) {
  struct Case {
    std::string text;
    std::size_t depth;
  };
  const std::vector<Case> cases = {
      {"", 0},
      {"3", 0},
      {"{\"a\":[1,{\"b\":[]}]}", 4},
      {"[\"[[[\\\"[[\"]", 1},  // brackets and an escaped quote inside a string
      {"[][][]", 1},
      {"]]]][", 1},  // stray closers do not go below zero
      {nested(300000), 300000},
  };
  for (const Case& c : cases) EXPECT_EQ(jsonNestingDepth(c.text), c.depth) << c.text.substr(0, 40);
}

// A message nested deeper than any real one gets an error, before and after
// initialize, and the server reads on; one within the bound is served.
TEST(LanguageServer, RefusesMessagesNestedTooDeep) {
  Session session;
  for (const bool initialized : {false, true}) {
    if (initialized) session.initialize();
    for (const std::string method : {"initialize", "textDocument/codeAction"}) {
      session.sendRaw(R"({"jsonrpc":"2.0","id":7,"method":")" + method + R"(","params":)" + nested(120000) + "}");
      const json error = session.answerTo(nullptr);
      EXPECT_EQ(error["error"]["code"], -32600) << method;
    }
  }
  const json within = session.request("textDocument/codeAction", json::parse(nested(maxJsonNesting - 2)));
  EXPECT_EQ(within["error"]["code"], -32602);
  EXPECT_EQ(session.request("shutdown", nullptr)["result"], nullptr);
}

// Positions far past the text, written as integers beyond 64 bits or in
// floating point, mean the text's end: nothing there to re-flow, and a
// change there is appended. Negative ones are invalid.
TEST(LanguageServer, ClampsPositionsPastAnyText) {
  Session session;
  session.initialize();
  const std::string uri = "file:///nowhere/brindle-test/a.cpp";
  const std::string text = "// one two three four five six seven eight nine ten\nint x;\n";
  session.notify("textDocument/didOpen", {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", text}}}});
  const std::vector<std::string> farNumbers = {"18446744073709551616", "1e30", "18446744073709551615",
                                               "4294967296"};
  for (const std::string& far : farNumbers) {
    const json range = json::parse(R"({"start":{"line":)" + far + R"(,"character":0},"end":{"line":)" + far +
                                   R"(,"character":)" + far + "}}");
    const json formatted =
        session.request("textDocument/rangeFormatting", {{"textDocument", {{"uri", uri}}}, {"range", range}});
    EXPECT_EQ(formatted["result"], json::array()) << far;
  }
  // The whole paragraph asked for is re-flowed at the width of 20.
  const json near = session.request(
      "textDocument/rangeFormatting",
      {{"textDocument", {{"uri", uri}}},
       {"range", rangeOf(0, 0, 0, 1)}});
  EXPECT_EQ(near["result"].size(), 1u);

  session.notify("textDocument/didChange",
                 json::parse(R"({"textDocument":{"uri":")" + uri +
                             R"(","version":1e30},"contentChanges":[{"range":{"start":{"line":1e30,"character":)"
                             R"(18446744073709551616},"end":{"line":1e300,"character":1e30}},"text":"// alpha beta gamma delta epsilon\n"}]})"));
  // The comment appended is line 2, and re-flowed alone.
  const json appended =
      session.request("textDocument/rangeFormatting", {{"textDocument", {{"uri", uri}}}, {"range", rangeOf(2, 0, 2, 1)}});
  ASSERT_EQ(appended["result"].size(), 1u) << appended.dump();
  EXPECT_EQ(appended["result"][0]["newText"], "// alpha beta gamma\n// delta epsilon\n");
  EXPECT_EQ(appended["result"][0]["range"], rangeOf(2, 0, 3, 0));

  const json negative = session.request(
      "textDocument/rangeFormatting",
      {{"textDocument", {{"uri", uri}}},
       {"range", rangeOf(-1, 0, 0, 0)}});
  EXPECT_EQ(negative["error"]["code"], -32602);
}

// "Add word" writes only beside a file of this machine, and never a word
// longer than any word; neither is echoed whole.
TEST(LanguageServer, AddsWordsOnlyForLocalFiles) {
  std::string made = (std::filesystem::temp_directory_path() / "brindle-lsp-test-XXXXXX").string();
  ASSERT_NE(::mkdtemp(made.data()), nullptr);
  const std::filesystem::path folder(made);
  std::filesystem::create_directories(folder / "project");
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  Session session;
  session.initialize();
  const std::string longWord(5000, 'w');
  struct Case {
    std::string uri, word;
    int code;
  };
  const std::vector<Case> cases = {
      {"untitled:Untitled-1", "zorblax", -32803},
      {"https://example.com/project/a.cpp", "zorblax", -32803},
      {"file://otherhost" + (folder / "project/a.cpp").string(), "zorblax", -32803},
      {"file://" + (folder / "project/a.cpp").string(), longWord, -32602},
  };
  for (const Case& c : cases) {
    const json answer =
        session.request("workspace/executeCommand", {{"command", "brindle.addWord"}, {"arguments", {c.uri, c.word}}});
    EXPECT_EQ(answer["error"]["code"], c.code) << c.uri;
    EXPECT_LT(answer.dump().size(), 1000u) << c.uri;
  }
  // Nor is such a word offered.
  const std::string uri = "file://" + (folder / "project/a.cpp").string();
  session.notify("textDocument/didOpen", {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", "// x\n"}}}});
  const json range = rangeOf(0, 3, 0, 4);
  const json diagnostic = {
      {"range", range}, {"source", "brindle"}, {"code", "spelling"}, {"data", {{"word", longWord}}}};
  const json actions = session.request(
      "textDocument/codeAction",
      {{"textDocument", {{"uri", uri}}}, {"range", range}, {"context", {{"diagnostics", {diagnostic}}}}});
  EXPECT_LT(actions.dump().size(), 1000u);
  EXPECT_FALSE(std::filesystem::exists(folder / ".brindle-words"));
  EXPECT_FALSE(std::filesystem::exists(folder / "project/.brindle-words"));
  // A local file's word is added to its project's list.
  const json added = session.request(
      "workspace/executeCommand",
      {{"command", "brindle.addWord"}, {"arguments", {"file://" + (folder / "project/a.cpp").string(), "zorblax"}}});
  EXPECT_EQ(added["result"], nullptr) << added.dump();
  EXPECT_TRUE(std::filesystem::exists(folder / "project/.brindle-words") ||
              std::filesystem::exists(folder / ".brindle-words"));
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace brindlewort::cli::lsp
