#include "cli/lsp/message_framing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindlewort::cli::lsp {
namespace {

// Everything the reader hands out for the stream, fed in pieces of
// `piece` bytes: bodies as they are, faults as "fault".
std::vector<std::string> readAll(const std::string& stream, std::size_t piece) {
  MessageReader reader;
  std::vector<std::string> out;
  for (std::size_t at = 0; at < stream.size(); at += piece) {
    reader.feed(std::string_view(stream).substr(at, piece));
    while (auto message = reader.next()) out.push_back(message->fault.empty() ? message->body : "fault");
  }
  return out;
}

TEST(MessageFraming, ReadsWhateverPiecesTheBytesComeIn) {
  struct Case {
    const char* name;
    std::string stream;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"two messages", framedMessage("{}") + framedMessage("[1]"), {"{}", "[1]"}},
      {"other headers and any case",
       "content-length: 2\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n{}",
       {"{}"}},
      {"bare line feeds", "Content-Length: 3\n\n[2]", {"[2]"}},
      {"empty body", "Content-Length: 0\r\n\r\n" + framedMessage("{}"), {"", "{}"}},
      {"no length, then a good message", "Content-Type: x\r\n\r\n" + framedMessage("{}"), {"fault", "{}"}},
      {"length not a number", "Content-Length: 1x\r\n\r\n" + framedMessage("{}"), {"fault", "{}"}},
      {"negative length", "Content-Length: -5\r\n\r\n" + framedMessage("{}"), {"fault", "{}"}},
      {"length past 64 bits",
       "Content-Length: 99999999999999999999999\r\n\r\n" + framedMessage("{}"),
       {"fault", "{}"}},
      {"truncated body waits", "Content-Length: 10\r\n\r\n{\"a\"", {}},
      {"body bytes are not UTF-8 checked here", framedMessage("\xff\xfe"), {"\xff\xfe"}},
  };
  for (const Case& c : cases) {
    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, c.stream.size() + 1}) {
      EXPECT_EQ(readAll(c.stream, piece), c.expected) << c.name << ", pieces of " << piece;
    }
  }
}

TEST(MessageFraming, SkipsAnOversizedBodyWithoutKeepingIt) {
  const std::size_t size = maxMessageBytes + 10;
  MessageReader reader;
  reader.feed("Content-Length: " + std::to_string(size) + "\r\n\r\n");
  auto fault = reader.next();
  ASSERT_TRUE(fault);
  EXPECT_NE(fault->fault, "");
  const std::string chunk(1 << 20, 'x');
  for (std::size_t fed = 0; fed < size; fed += chunk.size()) {
    reader.feed(std::string_view(chunk).substr(0, std::min(chunk.size(), size - fed)));
    EXPECT_EQ(reader.pending(), 0u);
    EXPECT_EQ(reader.skipping(), fed + chunk.size() < size);
  }
  reader.feed(framedMessage("{}"));
  auto next = reader.next();
  ASSERT_TRUE(next);
  EXPECT_EQ(next->body, "{}");
}

TEST(MessageFraming, AHeaderWithoutEndIsDroppedOnceTooLong) {
  MessageReader reader;
  reader.feed(std::string(70 * 1024, 'h'));
  auto fault = reader.next();
  ASSERT_TRUE(fault);
  EXPECT_NE(fault->fault, "");
  EXPECT_EQ(reader.pending(), 0u);
}

}  // namespace
}  // namespace brindlewort::cli::lsp
