#include "proofreading/programmer_words.h"

#include <string_view>

namespace brindlewort {

// Generated from programmer_words.txt and software_names.txt at build time.
extern const std::string_view programmerWordsText;

const AcceptedWords& programmerWords() {
  static const AcceptedWords words = [] {
    AcceptedWords made;
    std::string_view rest = programmerWordsText;
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      std::string_view line = rest.substr(0, end);
      rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
      if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
      while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.remove_suffix(1);
      made.add(line);
    }
    return made;
  }();
  return words;
}

}  // namespace brindlewort
