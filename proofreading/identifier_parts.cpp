#include "proofreading/identifier_parts.h"

namespace brindlewort {
namespace {

bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }

bool isLetter(char c) {
  return isUpper(c) || (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

std::vector<std::string_view> identifierParts(std::string_view identifier) {
  std::vector<std::string_view> parts;
  std::size_t i = 0;
  while (i < identifier.size()) {
    while (i < identifier.size() && !isLetter(identifier[i])) ++i;
    const std::size_t start = i;
    while (i < identifier.size() && isLetter(identifier[i])) {
      const std::size_t next = i + 1;
      if (next < identifier.size() && isUpper(identifier[next]) && !isUpper(identifier[i])) {
        ++i;  // camelCase: the capital opens the next part
        break;
      }
      if (next + 1 < identifier.size() && isUpper(identifier[i]) && isUpper(identifier[next]) &&
          isLetter(identifier[next + 1]) && !isUpper(identifier[next + 1])) {
        ++i;  // HTTPServer: the last capital belongs to "Server"
        break;
      }
      ++i;
    }
    if (i > start) parts.push_back(identifier.substr(start, i - start));
  }
  return parts;
}

}  // namespace brindlewort
