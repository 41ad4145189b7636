#pragma once

// The base protocol of the language server: messages framed by a
// "Content-Length" header, read from a byte stream that may arrive in any
// pieces and may be malformed, cut short or hostile in size.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brindlewort::cli::lsp {

// Bodies above this size are skipped unread rather than buffered: a
// 100 MB document fits, a runaway header does not take all memory.
inline constexpr std::size_t maxMessageBytes = std::size_t{512} << 20;

// One unit taken from the stream: a message body, or a framing fault that
// the server answers with an error (the stream then goes on after it).
struct FramedMessage {
  std::string body;
  std::string fault;  // empty for a message
};

// Collects bytes and hands out whole messages in order.
class MessageReader {
 public:
  // Appends bytes as they were read.
  void feed(std::string_view bytes);
  // The next whole message or fault; nothing until more bytes are needed.
  std::optional<FramedMessage> next();
  // Bytes held for a message not yet complete.
  std::size_t pending() const { return buffer_.size() - start_; }
  // Bytes still to drop from a body too large to keep: until they have
  // passed, what arrives is that body, not a new message.
  bool skipping() const { return skipping_ > 0; }

 private:
  std::string buffer_;
  std::size_t start_ = 0;     // consumed bytes at the front of buffer_
  std::size_t skipping_ = 0;  // body bytes of an oversized message still to drop
  void compact();
};

// The frame around a body: its header and the body.
std::string framedMessage(std::string_view body);

}  // namespace brindlewort::cli::lsp
