#include "cli/lsp/file_uri.h"

#include <cctype>

namespace brindlewort::cli::lsp {
namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string pathOfUri(std::string_view uri) {
  constexpr std::string_view scheme = "file://";
  if (uri.substr(0, scheme.size()) != scheme) return {};
  uri.remove_prefix(scheme.size());
  // "file://host/path": only the local host's files are reachable.
  const std::size_t slash = uri.find('/');
  if (slash == std::string_view::npos) return {};
  const std::string_view host = uri.substr(0, slash);
  if (!host.empty() && host != "localhost") return {};
  uri.remove_prefix(slash);
  uri = uri.substr(0, uri.find_first_of("?#"));
  std::string path;
  for (std::size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] == '%' && i + 2 < uri.size() && hexValue(uri[i + 1]) >= 0 && hexValue(uri[i + 2]) >= 0) {
      const char decoded = static_cast<char>(hexValue(uri[i + 1]) * 16 + hexValue(uri[i + 2]));
      // A NUL would cut the path short where the system reads it.
      if (decoded == '\0') return {};
      path += decoded;
      i += 2;
    } else {
      path += uri[i];
    }
  }
  return path;
}

std::string uriOfPath(std::string_view path) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || std::string_view("/-._~").find(c) != std::string_view::npos) {
      uri += c;
    } else {
      uri += '%';
      uri += hex[byte >> 4];
      uri += hex[byte & 15];
    }
  }
  return uri;
}

}  // namespace brindlewort::cli::lsp
