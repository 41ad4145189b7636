// Where a file's vocabulary and word list come from: the git work tree or
// the folder tree it belongs to, the project's .brindle-words found by
// walking up to the project's root, and the cache that spares later runs
// the reading.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "proofreading/enchant_spell_checker.h"
#include "proofreading/manifest_names.h"
#include "proofreading/project_spelling.h"
#include "proofreading/project_word_list.h"
#include "proofreading/repository_vocabulary.h"

namespace brindlewort {
namespace {

namespace fs = std::filesystem;

class ProjectVocabulary : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "brindle-vocabulary-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
    ::setenv("XDG_CACHE_HOME", (folder / "cache").c_str(), 1);
  }
  void TearDown() override { fs::remove_all(folder); }
  fs::path write(const fs::path& relative, const std::string& content) const {
    const fs::path path = folder / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  static bool accepted(const std::vector<std::shared_ptr<const AcceptedWords>>& lists, std::string_view word) {
    for (const auto& list : lists)
      if (list && list->accepts(word)) return true;
    return false;
  }
  fs::path folder;
};

TEST_F(ProjectVocabulary, GitWorkTreeGivesTrackedSourcesOnly) {
  const fs::path repo = folder / "repo";
  write("repo/src/a.cpp", "int zorgWidget;\n");
  write("repo/lib/b.rs", "fn glimp_frob() {}\n");
  write("repo/README.md", "untrackedword\n");
  write("repo/src/untracked.cpp", "int quaxle;\n");
  ASSERT_EQ(std::system(("git init -q " + repo.string() + " && git -C " + repo.string() +
                         " add src/a.cpp lib/b.rs README.md").c_str()),
            0);
  const fs::path file = repo / "src" / "a.cpp";
  RepositoryVocabularies vocabularies;
  const auto words = vocabularies.forFile(file);
  for (const char* word : {"zorg", "widget", "glimp", "frob"}) EXPECT_TRUE(words->accepts(word)) << word;
  EXPECT_FALSE(words->accepts("quaxle"));         // not tracked
  EXPECT_FALSE(words->accepts("untrackedword"));  // not code
  // The same words for every file of the repository, wherever it lies.
  EXPECT_TRUE(vocabularies.forFile(repo / "lib" / "b.rs")->accepts("zorg"));
  EXPECT_EQ(vocabularySources(repo / "lib" / "new.cpp").root, fs::canonical(repo));
  // The cache is written and read back by a later run.
  ASSERT_TRUE(fs::exists(vocabularyCacheFolder()));
  EXPECT_EQ(std::distance(fs::directory_iterator(vocabularyCacheFolder()), fs::directory_iterator()), 1);
}

TEST(ManifestNames, EachManifestDeclaresItsNames) {
  using Names = std::vector<std::string>;
  const struct {
    const char* path;
    const char* text;
    Names names;
  } cases[] = {
      {"web/package.json",
       R"({"name": "frobapp", "version": "1.0.0", "description": "a wrld app",
           "scripts": {"lint": "eslint .", "prebuild": "x"},
           "dependencies": {"lodash-es": "^4", "@zorg/core": "1"}, "devDependencies": {"vitest": "0"}})",
       {"frobapp", "lint", "prebuild", "lodash-es", "@zorg/core", "vitest"}},
      {"Cargo.toml",
       "[package]\nname = \"glimpr\"\nversion = \"0.1.0\"\ndescription = \"wrld\"\n\n[dependencies]\n"
       "serde_json = \"1\"\ntokio = { version = \"1\" }\n\n[dependencies.quaxle]\nversion = \"2\"\n",
       {"glimpr", "serde_json", "tokio", "quaxle"}},
      {"go.mod",
       "module go.etcd.io/etcd\n\ngo 1.19\n\nrequire (\n\tgithub.com/boltdb/bolt v1.3.1\n\tgo.uber.org/zap v1\n)\n"
       "require github.com/gogo/protobuf v1.3.2\n",
       {"go.etcd.io/etcd", "github.com/boltdb/bolt", "go.uber.org/zap", "github.com/gogo/protobuf"}},
      {"pyproject.toml",
       "[project]\nname = \"plumbus\"\ndescription = \"wrld\"\ndependencies = [\n  \"requests>=2\",\n"
       "  \"pydantic[email]\",\n]\n\n[tool.poetry.dependencies]\nnumpy = \"^1\"\n",
       {"plumbus", "requests", "pydantic", "numpy"}},
      {"app/build.gradle.kts",
       "plugins {\n    id(\"org.jetbrains.kotlin.jvm\")\n}\ndependencies {\n"
       "    implementation(\"com.squareup.okhttp3:okhttp:4.9\")\n    println(\"wrld\")\n}\n",
       {"org.jetbrains.kotlin.jvm", "com.squareup.okhttp3:okhttp:4.9"}},
      {"CMakeLists.txt",
       "project(Frobnitz CXX)\nfind_package(Qt6 REQUIRED)\nadd_library(zorgcore STATIC a.cpp)\n"
       "message(\"wrld\")\n",
       {"Frobnitz", "Qt6", "zorgcore"}},
      {"Gemfile", "source \"https://rubygems.org\"\ngem \"rubocop\", \"~> 1\"\n# gem \"wrld\"\n", {"rubocop"}},
      {"notes.txt", "name = \"wrld\"\n", {}},
      // Broken manifests give what they give and nothing worse.
      {"package.json", "{\"dependencies\": {\"half", {}},
      {"Cargo.toml", "[dependencies\nname = \"x", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(manifestNames(c.path, c.text), c.names) << c.path;
}

// The project's file names and the names its manifests declare are its
// words, inside a git work tree and outside one alike.
TEST_F(ProjectVocabulary, FileNamesAndManifestNamesAreWords) {
  for (const bool git : {true, false}) {
    SCOPED_TRACE(git ? "git work tree" : "folder tree");
    const fs::path repo = folder / (git ? "repo" : "plain");
    write(fs::path(repo.filename()) / "src" / "hexwave_synth.c", "int x;\n");
    write(fs::path(repo.filename()) / "assets" / "glorbfont.ttf", "");
    write(fs::path(repo.filename()) / "package.json", R"({"dependencies": {"lodash-es": "4"}})");
    write(fs::path(repo.filename()) / "go.mod", "module example.com/app\nrequire github.com/boltdb/bolt v1\n");
    if (git) {
      ASSERT_EQ(std::system(("git init -q " + repo.string() + " && git -C " + repo.string() + " add .").c_str()), 0);
    }
    const fs::path started = fs::current_path();
    fs::current_path(repo);
    RepositoryVocabularies vocabularies;
    const auto words = vocabularies.forFile(repo / "src" / "hexwave_synth.c");
    fs::current_path(started);
    for (const char* word : {"hexwave", "synth", "glorbfont", "lodash", "boltdb", "bolt"})
      EXPECT_TRUE(words->accepts(word)) << word;
    EXPECT_FALSE(words->accepts("wrld"));
  }
}

TEST_F(ProjectVocabulary, OutsideGitTheFolderTreeTheRunStartedInCounts) {
  write(".brindle-words", "outsideword\n");  // above the project: not its list
  write("proj/.brindle-words", "# project terms\nFrobCo\n  zyxt  # trailing comment\n\n");
  write("proj/src/a.c", "int plumbus_count;\n");
  write("proj/src/deep/b.h", "int schleem;\n");
  write("proj/.hidden/c.c", "int hiddenword;\n");
  const fs::path file = folder / "proj" / "src" / "deep" / "b.h";
  const fs::path started = fs::current_path();
  fs::current_path(folder / "proj");
  RepositoryVocabularies vocabularies;
  const auto lists = acceptedWordsFor(file.string(), "// text\nint ownword;\n", vocabularies);
  fs::current_path(started);
  for (const char* word : {"plumbus", "schleem", "frobco", "FrobCo's", "zyxt", "ownword", "mutex"})
    EXPECT_TRUE(accepted(lists, word)) << word;
  EXPECT_FALSE(accepted(lists, "hiddenword"));
  EXPECT_FALSE(accepted(lists, "outsideword"));
  EXPECT_FALSE(accepted(lists, "project"));  // a comment of the list
}

// A term the comments of several files use is the project's; a typo
// copied from file to file is not, nor a word two files use once each.
TEST_F(ProjectVocabulary, TermsSharedByCommentsAndNoSlipFromAWord) {
  const fs::path repo = folder / "repo";
  write("repo/a.c", "// The zorblat and the exchaged qwimbly.\nint a;\n");
  write("repo/b.py", "# A zorblat, exchaged once; the qwimbly.\nb = 1\n");
  write("repo/c.go", "/* Each zorblat is exchaged. */\nvar c int\n");
  write("repo/d.rs", "// The frobulum, the frobulum and the frobulum.\nfn d() {}\n");
  write("repo/e.rs", "// A frobulum.\nfn e() {}\n");
  write("repo/f.c", "int zz; // glimmax trails code\n");
  write("repo/g.c", "int yy; // glimmax\n");
  write("repo/h.c", "int xx; // glimmax\n");
  write("repo/i.c", "// limitions under the licence\n");
  write("repo/j.c", "//   Limitions under the Licence.\n");
  write("repo/k.c", "// limitions's `x` under the licence\n");
  ASSERT_EQ(std::system(("git init -q " + repo.string() + " && git -C " + repo.string() + " add -A").c_str()), 0);
  RepositoryVocabularies vocabularies;
  const RepositoryWords words = vocabularies.wordsForFile(repo / "a.c");
  ASSERT_TRUE(words.sharedTerms);
  for (const char* term : {"zorblat", "Zorblat's", "exchaged", "frobulum"})
    EXPECT_TRUE(words.sharedTerms->accepts(term)) << term;
  EXPECT_FALSE(words.sharedTerms->accepts("qwimbly"));  // two files, once each
  EXPECT_FALSE(words.sharedTerms->accepts("glimmax"));  // comments after code
  EXPECT_FALSE(words.sharedTerms->accepts("limitions"));  // one line copied
  EXPECT_FALSE(words.vocabulary->accepts("zorblat"));   // not a word of the code

  // Read back from the cache by a later run, and judged by the checker:
  // a term passes, a copied typo one slip from a word does not.
  RepositoryVocabularies later;
  EXPECT_TRUE(later.wordsForFile(repo / "a.c").sharedTerms->accepts("frobulum"));
  Result<OpenedSpellChecker> opened = openEnchantSpellChecker("en_US");
  ASSERT_TRUE(opened);
  const auto checker = projectSpellChecker(std::move(opened->checker), (repo / "a.c").string(),
                                           "// The zorblat and the exchaged qwimbly.\nint a;\n", later);
  std::vector<std::string> flagged;
  const std::string text = "The zorblat and the exchaged qwimbly frobulum.";
  for (const TextCheckingResult& r : checker->check(text))
    flagged.push_back(text.substr(static_cast<std::size_t>(r.start), static_cast<std::size_t>(r.length)));
  EXPECT_EQ(flagged, (std::vector<std::string>{"exchaged", "qwimbly"}));
}

TEST(ProjectWordList, AddingAWord) {
  EXPECT_EQ(withWordAdded("", "frob"), "frob\n");
  EXPECT_EQ(withWordAdded("# terms\nzorg", "frob"), "# terms\nzorg\nfrob\n");
  EXPECT_EQ(withWordAdded("zorg\nfrob  # ours\n", "frob"), "zorg\nfrob  # ours\n");
  using namespace std::string_view_literals;
  for (const std::string_view bad : {""sv, "two words"sv, "a#b"sv, "tab\tword"sv, "nul\0x"sv, "\xff"sv})
    EXPECT_FALSE(checkListWord(bad)) << bad;
  EXPECT_TRUE(checkListWord("Größe"));
}

}  // namespace
}  // namespace brindlewort
