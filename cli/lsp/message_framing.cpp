#include "cli/lsp/message_framing.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace brindlewort::cli::lsp {
namespace {

// A header block larger than this is not one: the stream is junk up to the
// next blank line.
constexpr std::size_t maxHeaderBytes = 64 * 1024;

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool sameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The body length a header block names; nothing when it names none or a
// number that is not one.
std::optional<std::size_t> contentLength(std::string_view headers) {
  std::optional<std::size_t> length;
  while (!headers.empty()) {
    const std::size_t end = headers.find('\n');
    const std::string_view line = headers.substr(0, end);
    headers = end == std::string_view::npos ? std::string_view() : headers.substr(end + 1);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    if (!sameLetters(trimmed(line.substr(0, colon)), "Content-Length")) continue;
    const std::string_view value = trimmed(line.substr(colon + 1));
    std::size_t parsed = 0;
    const auto [ptr, error] = std::from_chars(value.data(), value.data() + value.size(), parsed);
    if (error != std::errc() || ptr != value.data() + value.size() || value.empty()) return std::nullopt;
    length = parsed;
  }
  return length;
}

}  // namespace

void MessageReader::feed(std::string_view bytes) {
  if (skipping_ > 0) {
    const std::size_t dropped = std::min(skipping_, bytes.size());
    skipping_ -= dropped;
    bytes.remove_prefix(dropped);
  }
  buffer_.append(bytes);
}

void MessageReader::compact() {
  // Dropping the consumed front now and then keeps appends amortised.
  if (start_ > 0 && (start_ == buffer_.size() || start_ > (1u << 20))) {
    buffer_.erase(0, start_);
    start_ = 0;
  }
}

std::optional<FramedMessage> MessageReader::next() {
  compact();
  const std::string_view rest = std::string_view(buffer_).substr(start_);
  if (rest.empty() || skipping_ > 0) return std::nullopt;
  // Some clients end header lines with a bare line feed; both are taken.
  // Only the front is searched, so a large body arriving in pieces is not
  // scanned again for every piece.
  const std::string_view front = rest.substr(0, maxHeaderBytes + 4);
  std::size_t headerEnd = front.find("\r\n\r\n");
  std::size_t separator = 4;
  if (const std::size_t bare = front.find("\n\n"); bare != std::string_view::npos && bare < headerEnd) {
    headerEnd = bare;
    separator = 2;
  }
  if (headerEnd == std::string_view::npos) {
    if (rest.size() <= maxHeaderBytes) return std::nullopt;
    start_ = buffer_.size();
    return FramedMessage{{}, "a header of more than 64 KiB without an end; the bytes were dropped"};
  }
  const std::optional<std::size_t> length = contentLength(rest.substr(0, headerEnd));
  const std::size_t bodyStart = headerEnd + separator;
  if (!length) {
    start_ += bodyStart;
    return FramedMessage{{}, "a message header without a valid Content-Length; the header was dropped"};
  }
  if (*length > maxMessageBytes) {
    const std::size_t available = rest.size() - bodyStart;
    const std::size_t dropped = std::min(available, *length);
    skipping_ = *length - dropped;
    start_ += bodyStart + dropped;
    return FramedMessage{{},
                         "a message of " + std::to_string(*length) + " bytes, more than the " +
                             std::to_string(maxMessageBytes >> 20) + " MiB allowed; it was skipped"};
  }
  if (rest.size() - bodyStart < *length) return std::nullopt;
  FramedMessage message{std::string(rest.substr(bodyStart, *length)), {}};
  start_ += bodyStart + *length;
  return message;
}

std::string framedMessage(std::string_view body) {
  std::string out = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  out += body;
  return out;
}

}  // namespace brindlewort::cli::lsp
