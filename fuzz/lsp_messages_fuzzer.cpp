// The language server's input side: the bytes as a stream of framed
// messages, cut into pieces at a point the input chooses, handled by a fresh
// server. Every message the server sends must be one JSON-RPC object, and
// an initialized server must still answer a request after the junk.

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/lsp/language_server.h"
#include "cli/lsp/message_framing.h"
#include "fuzz_support.h"

namespace {

using brindlewort::cli::lsp::framedMessage;
using brindlewort::cli::lsp::LanguageServer;
using brindlewort::cli::lsp::MessageReader;

constexpr char initialize[] =
    R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{"capabilities":{}}})";
constexpr char probe[] = R"({"jsonrpc":"2.0","id":"probe","method":"textDocument/hover","params":{}})";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = brindlewort::fuzz::asText(data, size);
  std::vector<std::string> sent;
  MessageReader reader;
  LanguageServer server([&](const std::string& body) { sent.push_back(body); }, [] {});
  auto feed = [&](std::string_view bytes) {
    reader.feed(bytes);
    while (auto message = reader.next()) {
      if (!server.finished()) server.handle(*message);
    }
  };
  // The first byte picks where the stream is cut in two.
  const std::size_t cut = size == 0 ? 0 : static_cast<unsigned char>(input[0]) % (size + 1);
  feed(framedMessage(initialize));
  feed(input.substr(0, cut));
  feed(input.substr(cut));
  for (const std::string& body : sent) {
    const nlohmann::json message = nlohmann::json::parse(body, nullptr, false);
    FUZZ_REQUIRE(message.is_object());
    FUZZ_REQUIRE(message.value("jsonrpc", "") == "2.0");
  }
  // A message cut short holds the reader, and so does the rest of a body
  // too large to keep; otherwise a whole message is still read.
  if (reader.pending() == 0 && !reader.skipping() && !server.finished()) {
    const std::size_t before = sent.size();
    feed(framedMessage(probe));
    FUZZ_REQUIRE(sent.size() == before + 1);
  }
  return 0;
}
