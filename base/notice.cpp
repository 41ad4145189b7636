#include "base/notice.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

namespace brindlewort {

void noticeOnce(std::string_view message) {
  static std::mutex mutex;
  static std::set<std::string, std::less<>> given;
  std::lock_guard lock(mutex);
  if (given.contains(message)) return;
  given.emplace(message);
  const std::string line = "brindle: " + std::string(message) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace brindlewort
