#include "cli/lsp/diagnostics_text.h"

namespace brindlewort::cli::lsp {
namespace {

void appendPosition(std::string& out, TextPosition position) {
  out += "{\"line\":";
  out += std::to_string(position.line);
  out += ",\"character\":";
  out += std::to_string(position.character);
  out += '}';
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
  static constexpr char hex[] = "0123456789abcdef";
  out += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      out += "\\u00";
      out += hex[byte >> 4];
      out += hex[byte & 15];
    } else {
      out += c;
    }
  }
  out += '"';
}

void DiagnosticsText::add(TextPosition start, TextPosition end, int severity, std::string_view message,
                          std::string_view code, std::string_view word) {
  if (count_++ > 0) items_ += ',';
  items_ += "{\"range\":{\"start\":";
  appendPosition(items_, start);
  items_ += ",\"end\":";
  appendPosition(items_, end);
  items_ += "},\"severity\":";
  items_ += std::to_string(severity);
  items_ += ",\"source\":\"brindle\"";
  if (!code.empty()) {
    items_ += ",\"code\":";
    appendJsonString(items_, code);
  }
  items_ += ",\"message\":";
  appendJsonString(items_, message);
  if (!word.empty()) {
    items_ += ",\"data\":{\"word\":";
    appendJsonString(items_, word);
    items_ += '}';
  }
  items_ += '}';
}

std::string DiagnosticsText::notification(std::string_view uri, std::int64_t version) const {
  std::string out =
      "{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/publishDiagnostics\",\"params\":{\"uri\":";
  appendJsonString(out, uri);
  out += ",\"version\":";
  out += std::to_string(version);
  out += ",\"diagnostics\":[";
  out += items_;
  out += "]}}";
  return out;
}

}  // namespace brindlewort::cli::lsp
