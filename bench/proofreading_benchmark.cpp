// Times `brindle spell --check` against `hunspell -l -d en_US` and `brindle
// grammar` against `grep -cP` with the same pattern, on the same generated
// file of comment paragraphs, alternating the programs in one run; then
// times both brindle commands on adversarial single lines at two sizes to
// show that their cost grows linearly.
//
// Usage: proofreading_benchmark [--runs N] [--megabytes M] [--brindle PATH] [--keep DIR]

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "median.h"

extern char** environ;

using brindlewort::bench::median;

namespace {

namespace fs = std::filesystem;

// The pattern that `brindle grammar` searches for, as grep -P spells it.
constexpr char passiveVoicePattern[] =
    R"(\b((be(en)?)|(have)|(w(as|ere))|(is)|(a(re|m)))\s+(\S+(en|ed))+)";

const char* const vocabulary[] = {
    "the",     "parser",   "returns",  "a",        "list",     "of",      "tokens",   "when",
    "input",   "is",       "valid",    "and",      "otherwise", "throws", "an",       "error",
    "this",    "function", "must",     "be",       "called",   "on",      "main",     "thread",
    "because", "it",       "touches",  "view",     "state",    "cache",   "results",  "for",
    "faster",  "lookups",  "see",      "value",    "may",      "change",  "between",  "calls",
    "so",      "copy",     "before",   "storing",  "callers",  "should",  "never",    "rely",
    "on",      "ordering", "buffer",   "size",     "with",     "without", "was",      "added",
    "were",    "written",  "have",     "changed",  "are",      "stored",  "been",     "tested",
    "user's",  "don't",    "doesn't",  "server",   "request",  "response", "timeout", "retry",
    "handler", "queue",    "message",  "payload",  "field",    "record",  "table",    "index",
    "query",   "result",   "memory",   "allocation", "pointer", "reference", "owner", "lifetime",
    "Note:",   "e.g.",     "`Index`",  "(below)",  "camelCase", "utf8",   "HTTPServer", "0x1F",
};
// Misspellings, about one word in forty.
const char* const typos[] = {"teh", "paser", "retrns", "lsit", "fucntion", "thred", "vlaue",
                             "chnage", "recieve", "seperate", "occured", "adress"};

std::string commentCorpus(std::size_t bytes) {
  std::mt19937 random(42);
  std::uniform_int_distribution<std::size_t> word(0, std::size(vocabulary) - 1);
  std::uniform_int_distribution<std::size_t> typo(0, std::size(typos) - 1);
  std::uniform_int_distribution<int> percent(0, 99);
  std::string text;
  text.reserve(bytes + 200);
  while (text.size() < bytes) {
    const int lines = 3 + percent(random) % 6;
    for (int l = 0; l < lines; ++l) {
      std::string line = "    //";
      while (line.size() < 72) {
        line += ' ';
        line += percent(random) < 3 ? typos[typo(random)] : vocabulary[word(random)];
      }
      text += line + '\n';
    }
    text += percent(random) < 50 ? "    //\n" : "    func step() { run(value, index) }\n";
  }
  return text;
}

// Standard output goes to a file: GNU grep stops at its first match when it
// sees /dev/null there, which would flatter it.
fs::path outputFile;

double secondsOf(const std::vector<std::string>& command, const fs::path& input) {
  std::vector<char*> argv;
  for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    std::fprintf(stderr, "cannot run %s\n", argv[0]);
    std::exit(2);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  posix_spawn_file_actions_destroy(&actions);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs the commands alternately `runs` times; returns each one's median.
std::vector<double> race(const std::vector<std::vector<std::string>>& commands,
                         const fs::path& input, int runs) {
  std::vector<std::vector<double>> times(commands.size());
  for (int r = 0; r < runs; ++r) {
    for (std::size_t c = 0; c < commands.size(); ++c) times[c].push_back(secondsOf(commands[c], input));
  }
  std::vector<double> medians;
  for (auto& t : times) medians.push_back(median(t));
  return medians;
}

void write(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  double megabytes = 50;
  std::string brindle = BRINDLE_EXECUTABLE;
  std::string keep;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    else if (option == "--megabytes") megabytes = std::atof(argv[i + 1]);
    else if (option == "--brindle") brindle = argv[i + 1];
    else if (option == "--keep") keep = argv[i + 1];
  }
  setenv("LC_ALL", "C.UTF-8", 1);

  const fs::path folder = keep.empty() ? fs::temp_directory_path() / "brindle-proofreading-bench"
                                       : fs::path(keep);
  fs::create_directories(folder);
  outputFile = folder / "output.txt";
  const fs::path corpus = folder / "comments.swift";
  write(corpus, commentCorpus(static_cast<std::size_t>(megabytes * 1e6)));
  std::printf("input: %s, %.1f MB of comment paragraphs; median of %d runs\n\n",
              corpus.c_str(), static_cast<double>(fs::file_size(corpus)) / 1e6, runs);

  const auto spell = race({{brindle, "spell", "--check", "--lang", "en_US", corpus.string()},
                           {"hunspell", "-l", "-d", "en_US", corpus.string()}},
                          corpus, runs);
  std::printf("brindle spell --check   %7.2f s\nhunspell -l -d en_US    %7.2f s\n"
              "ratio                   %7.3f (goal <= 0.25)\n\n",
              spell[0], spell[1], spell[0] / spell[1]);

  const auto grammar = race({{brindle, "grammar", corpus.string()},
                             {brindle, "grammar", "--check", corpus.string()},
                             {"grep", "-cP", passiveVoicePattern, corpus.string()}},
                            corpus, runs);
  std::printf("brindle grammar         %7.2f s\nbrindle grammar --check %7.2f s\n"
              "grep -cP                %7.2f s\n"
              "ratio                   %7.3f, --check %.3f (goal <= 2)\n\n",
              grammar[0], grammar[1], grammar[2], grammar[0] / grammar[2],
              grammar[1] / grammar[2]);

  // Adversarial single lines at 5 and 10 MB: linear cost doubles.
  struct Case {
    const char* name;
    std::string (*make)(std::size_t);
    std::vector<std::string> command;
  };
  const Case cases[] = {
      {"grammar, one token after \"is\"",
       [](std::size_t n) { return "// is " + std::string(n, 'x') + "\n"; },
       {brindle, "grammar"}},
      {"grammar, \"is written\" repeated",
       [](std::size_t n) {
         std::string line = "//";
         while (line.size() < n) line += " is written";
         return line + "\n";
       },
       {brindle, "grammar"}},
      {"spell, one line of words",
       [](std::size_t n) {
         std::string line = "//";
         for (std::size_t i = 0; line.size() < n; ++i) {
           line += ' ';
           line += i % 40 == 0 ? typos[i / 40 % std::size(typos)] : vocabulary[i % std::size(vocabulary)];
         }
         return line + "\n";
       },
       {brindle, "spell", "--lang", "en_US"}},
  };
  std::printf("adversarial single lines      5 MB      10 MB   growth\n");
  for (const Case& c : cases) {
    double seconds[2];
    for (int k = 0; k < 2; ++k) {
      const fs::path file = folder / ("adversarial-" + std::to_string(k) + ".txt");
      write(file, c.make(static_cast<std::size_t>(5e6 * (k + 1))));
      auto command = c.command;
      command.push_back(file.string());
      seconds[k] = race({command}, file, runs)[0];
    }
    std::printf("%-28s %7.2f s  %7.2f s   %.2fx\n", c.name, seconds[0], seconds[1],
                seconds[1] / seconds[0]);
  }
  if (keep.empty()) fs::remove_all(folder);
  return 0;
}
