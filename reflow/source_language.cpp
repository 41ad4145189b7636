#include "reflow/source_language.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

namespace brindlewort {
namespace {

using L = SourceLanguage;

// C, C++ and Objective-C share one set of rules: a header may be any of the
// three, and what C++ adds (raw strings, digit separators) does not occur in
// valid C. Objective-C's @"..." is an @ followed by an ordinary string.
constexpr L cFamily(std::string_view name) {
  return {.name = name,
          .rawPrefix = L::RawPrefix::parenthesised,
          .lineSplicing = true,
          .digitSeparators = true};
}

constexpr L c = cFamily("C");
constexpr L cpp = cFamily("C++");
constexpr L objectiveC = cFamily("Objective-C");

constexpr L swift{.name = "Swift",
                  .blockComments = L::BlockComments::nested,
                  .apostrophe = L::Apostrophe::ordinary,
                  .backquote = L::Backquote::identifier,
                  .tripleQuotes = L::TripleQuotes::escaped,
                  .extendedDelimiters = true};

constexpr L rust{.name = "Rust",
                 .blockComments = L::BlockComments::nested,
                 .apostrophe = L::Apostrophe::charOrLabel,
                 .rawPrefix = L::RawPrefix::hashed,
                 .stringsSpanLines = true};

constexpr L go{.name = "Go", .backquote = L::Backquote::rawString};

constexpr L java{.name = "Java", .tripleQuotes = L::TripleQuotes::escaped};

constexpr L kotlin{.name = "Kotlin",
                   .blockComments = L::BlockComments::nested,
                   .backquote = L::Backquote::identifier,
                   .tripleQuotes = L::TripleQuotes::raw};

// Scala's ' also starts symbols ('name) and quotes ('{ ... }), so only the
// shapes of a character literal count as one.
constexpr L scala{.name = "Scala",
                  .blockComments = L::BlockComments::nested,
                  .apostrophe = L::Apostrophe::charOrLabel,
                  .backquote = L::Backquote::identifier,
                  .tripleQuotes = L::TripleQuotes::raw};

constexpr L javaScriptLike(std::string_view name) {
  return {.name = name,
          .apostrophe = L::Apostrophe::string,
          .backquote = L::Backquote::templateLiteral,
          .regexLiterals = true};
}

constexpr L javaScript = javaScriptLike("JavaScript");
constexpr L typeScript = javaScriptLike("TypeScript");

constexpr L cSharp{.name = "C#",
                   .tripleQuotes = L::TripleQuotes::counted,
                   .verbatimStrings = true};

constexpr L dart{.name = "Dart",
                 .blockComments = L::BlockComments::nested,
                 .apostrophe = L::Apostrophe::string,
                 .tripleQuotes = L::TripleQuotes::escaped,
                 .tripleApostrophes = true,
                 .rawPrefix = L::RawPrefix::letterR};

constexpr L zig{.name = "Zig", .blockComments = L::BlockComments::none, .lineStrings = true};

// Groovy's slashy strings (/.../ and $/.../$) are not recognised: telling
// them from division needs more context than a scanner keeps.
constexpr L groovy{.name = "Groovy",
                   .apostrophe = L::Apostrophe::string,
                   .tripleQuotes = L::TripleQuotes::escaped,
                   .tripleApostrophes = true};

constexpr L protocolBuffers{.name = "Protocol Buffers", .apostrophe = L::Apostrophe::string};

struct Extension {
  std::string_view extension;  // lower case, without the dot
  const L* language;           // null: a language without "//" comments
};

constexpr std::array extensions{
    Extension{"c", &c},
    Extension{"h", &c},
    Extension{"cc", &cpp},
    Extension{"cpp", &cpp},
    Extension{"cxx", &cpp},
    Extension{"c++", &cpp},
    Extension{"cppm", &cpp},
    Extension{"ixx", &cpp},
    Extension{"hh", &cpp},
    Extension{"hpp", &cpp},
    Extension{"hxx", &cpp},
    Extension{"h++", &cpp},
    Extension{"ipp", &cpp},
    Extension{"tpp", &cpp},
    Extension{"inl", &cpp},
    Extension{"cu", &cpp},
    Extension{"cuh", &cpp},
    Extension{"m", &objectiveC},
    Extension{"mm", &objectiveC},
    Extension{"swift", &swift},
    Extension{"rs", &rust},
    Extension{"go", &go},
    Extension{"java", &java},
    Extension{"kt", &kotlin},
    Extension{"kts", &kotlin},
    Extension{"js", &javaScript},
    Extension{"mjs", &javaScript},
    Extension{"cjs", &javaScript},
    Extension{"jsx", &javaScript},
    Extension{"ts", &typeScript},
    Extension{"tsx", &typeScript},
    Extension{"mts", &typeScript},
    Extension{"cts", &typeScript},
    Extension{"cs", &cSharp},
    Extension{"dart", &dart},
    Extension{"zig", &zig},
    Extension{"scala", &scala},
    Extension{"sc", &scala},
    Extension{"groovy", &groovy},
    Extension{"gradle", &groovy},
    Extension{"proto", &protocolBuffers},
    // Common languages whose comments start with something else.
    Extension{"py", nullptr},
    Extension{"pyi", nullptr},
    Extension{"sh", nullptr},
    Extension{"bash", nullptr},
    Extension{"zsh", nullptr},
    Extension{"fish", nullptr},
    Extension{"rb", nullptr},
    Extension{"pl", nullptr},
    Extension{"pm", nullptr},
    Extension{"lua", nullptr},
    Extension{"r", nullptr},
    Extension{"jl", nullptr},
    Extension{"ex", nullptr},
    Extension{"exs", nullptr},
    Extension{"erl", nullptr},
    Extension{"hs", nullptr},
    Extension{"el", nullptr},
    Extension{"clj", nullptr},
    Extension{"tcl", nullptr},
    Extension{"ps1", nullptr},
    Extension{"bat", nullptr},
    Extension{"cmd", nullptr},
    Extension{"cmake", nullptr},
    Extension{"mk", nullptr},
    Extension{"tex", nullptr},
    Extension{"sql", nullptr},
    Extension{"yaml", nullptr},
    Extension{"yml", nullptr},
    Extension{"toml", nullptr},
    Extension{"ini", nullptr},
    Extension{"cfg", nullptr},
    Extension{"conf", nullptr},
    Extension{"md", nullptr},
    Extension{"markdown", nullptr},
    Extension{"txt", nullptr},
    Extension{"rst", nullptr},
    Extension{"csv", nullptr},
    Extension{"tsv", nullptr},
    Extension{"html", nullptr},
    Extension{"htm", nullptr},
    Extension{"xhtml", nullptr},
    Extension{"xml", nullptr},
    Extension{"svg", nullptr},
    // Plain CSS has only /* */ comments; SCSS and Less have "//" and are
    // left unknown.
    Extension{"css", nullptr},
};

// The text after the last dot of the last path component; empty for names
// without one and for names that only start with a dot (".bashrc").
std::string_view extensionOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  return name.substr(dot + 1);
}

}  // namespace

namespace {

// Whether `text` starts with `marker`. Asked for every line and every word
// of every comment: the first byte rules out nearly all before a compare.
bool opensWith(std::string_view text, std::string_view marker) {
  return !marker.empty() && !text.empty() && text.front() == marker.front() && text.starts_with(marker);
}

}  // namespace

std::optional<std::size_t> lineMarkerAt(std::string_view line, const CommentSyntax& syntax) {
  std::size_t at = 0;
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  if (opensWith(line.substr(at), syntax.lineMarker)) return at;
  return std::nullopt;
}

std::string_view markerAt(std::string_view line, std::size_t at, const CommentSyntax& syntax) {
  // Every comment line of a text comes here, often more than once: a doc
  // marker is the line marker and one more byte, so that byte decides.
  const std::string_view rest = line.substr(at);
  const std::size_t size = syntax.lineMarker.size();
  if (rest.size() > size && (rest.size() == size + 1 || rest[size + 1] != syntax.decoration)) {
    for (const std::string_view doc : syntax.docMarkers) {
      if (doc.size() == size + 1 && rest[size] == doc[size]) return rest.substr(0, size + 1);
    }
  }
  return rest.substr(0, size);
}

bool startsWithMarker(std::string_view text, const CommentSyntax& syntax) {
  return opensWith(text, syntax.lineMarker) || opensWith(text, syntax.blockOpen);
}

const CommentSyntax& commentSyntaxOf(const SourceLanguage* language) {
  return language != nullptr ? language->comments : slashComments;
}

LanguageLookup languageForPath(std::string_view path) {
  std::string extension(extensionOf(path));
  std::transform(extension.begin(), extension.end(), extension.begin(), [](char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
  });
  if (extension.empty()) return {};
  for (const Extension& entry : extensions) {
    if (entry.extension != extension) continue;
    if (entry.language == nullptr) return {LanguageLookup::Kind::noLineComments, nullptr};
    return {LanguageLookup::Kind::known, entry.language};
  }
  return {};
}

std::vector<const SourceLanguage*> knownLanguages() {
  std::vector<const SourceLanguage*> languages;
  for (const Extension& entry : extensions) {
    if (entry.language != nullptr && std::find(languages.begin(), languages.end(), entry.language) == languages.end())
      languages.push_back(entry.language);
  }
  return languages;
}

const SourceLanguage* languageNamed(std::string_view name) {
  for (const Extension& entry : extensions) {
    if (entry.language != nullptr && entry.language->name == name) return entry.language;
  }
  return nullptr;
}

}  // namespace brindlewort
