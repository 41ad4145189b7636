#pragma once

// A generated source text for the tests that cut texts into pieces.

#include <random>
#include <string>

namespace brindlewort::test {

// A source of comment runs long and short, code, blank lines and both line
// ends; `numbered` appends each line's index so a wrong line number shows.
inline std::string mixedSource(unsigned seed, std::size_t size, bool numbered) {
  std::mt19937 random(seed);
  const char* pieces[] = {"// a comment line\n", "// another one\r\n", "int code = 1;\n", "\n",
                          "    // indented\n", "}  // end\n"};
  std::string text;
  for (std::size_t number = 0; text.size() < size;) {
    const std::size_t piece = random() % 6;
    const std::size_t repeat = random() % 50 == 0 ? 30000 : 1 + random() % 5;
    for (std::size_t i = 0; i < repeat; ++i, ++number) {
      std::string line = pieces[piece];
      if (numbered) line.insert(line.find_first_of("\r\n"), " " + std::to_string(number));
      text += line;
    }
  }
  return text;
}

}  // namespace brindlewort::test
