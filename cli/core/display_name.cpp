#include "cli/core/display_name.h"

#include <algorithm>

namespace brindlewort::cli {
namespace {

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

}  // namespace

std::string displayedFileName(std::string_view name) {
  if (std::none_of(name.begin(), name.end(), [](char c) { return isControl(static_cast<unsigned char>(c)); })) {
    return std::string(name);
  }
  static constexpr char hex[] = "0123456789abcdef";
  std::string quoted = "$'";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      case '\t': quoted += "\\t"; break;
      case '\'': quoted += "\\'"; break;
      case '\\': quoted += "\\\\"; break;
      default:
        if (isControl(byte)) {
          quoted += "\\x";
          quoted += hex[byte >> 4];
          quoted += hex[byte & 0xF];
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "'";
}

}  // namespace brindlewort::cli
