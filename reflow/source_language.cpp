#include "reflow/source_language.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

// The languages of the other line markers. Strings that may hold a line
// break are marked so: a literal taken to end too early could make its
// next lines look like comments.
constexpr L python{.name = "Python",
                   .blockComments = L::BlockComments::none,
                   .apostrophe = L::Apostrophe::string,
                   .tripleQuotes = L::TripleQuotes::escaped,
                   .tripleApostrophes = true,
                   .comments = hashComments,
                   .docstrings = true};

constexpr L shellLike(std::string_view name, L::HereDocuments hereDocuments) {
  return {.name = name,
          .blockComments = L::BlockComments::none,
          .apostrophe = L::Apostrophe::string,
          .stringsSpanLines = true,
          .comments = hashComments,
          .markerPlace = L::MarkerPlace::wordStart,
          .backslashEscapes = true,
          .literalApostrophes = true,
          .codeContinues = true,
          .hereDocuments = hereDocuments};
}

constexpr L shell = shellLike("Shell", L::HereDocuments::shell);
constexpr L fish = shellLike("Fish", L::HereDocuments::none);

// Ruby and Perl: quote-like literals, regular expressions, here-documents,
// documentation regions and a data tail, each in the language's own way.
constexpr L scriptLike(std::string_view name, L::HereDocuments hereDocuments, L::QuoteLike quoteLike,
                       L::TextRegions textRegions) {
  return {.name = name,
          .blockComments = L::BlockComments::none,
          .apostrophe = L::Apostrophe::string,
          .stringsSpanLines = true,
          .regexLiterals = true,
          .comments = hashComments,
          .dollarTakesNext = true,
          .hereDocuments = hereDocuments,
          .quoteLike = quoteLike,
          .textRegions = textRegions,
          .dataTail = true};
}

constexpr L ruby = scriptLike("Ruby", L::HereDocuments::tightScript, L::QuoteLike::ruby, L::TextRegions::embeddedDocs);
constexpr L perl = scriptLike("Perl", L::HereDocuments::script, L::QuoteLike::perl, L::TextRegions::pod);

constexpr L r{.name = "R",
              .blockComments = L::BlockComments::none,
              .apostrophe = L::Apostrophe::string,
              .backquote = L::Backquote::identifier,
              .stringsSpanLines = true,
              .comments = hashComments};

constexpr L yaml{.name = "YAML",
                 .blockComments = L::BlockComments::none,
                 .apostrophe = L::Apostrophe::string,
                 .stringsSpanLines = true,
                 .comments = hashComments,
                 .markerPlace = L::MarkerPlace::wordStart,
                 .literalApostrophes = true,
                 .yamlScalars = true};

constexpr L toml{.name = "TOML",
                 .blockComments = L::BlockComments::none,
                 .apostrophe = L::Apostrophe::string,
                 .tripleQuotes = L::TripleQuotes::escaped,
                 .tripleApostrophes = true,
                 .comments = hashComments,
                 .literalApostrophes = true};

constexpr L cmake{.name = "CMake",
                  .blockComments = L::BlockComments::none,
                  .apostrophe = L::Apostrophe::ordinary,
                  .stringsSpanLines = true,
                  .comments = hashComments,
                  .backslashEscapes = true,
                  .longBrackets = L::LongBrackets::cmake};

constexpr L makefile{.name = "Makefile",
                     .blockComments = L::BlockComments::none,
                     .apostrophe = L::Apostrophe::ordinary,
                     .lineSplicing = true,
                     .comments = hashComments,
                     .backslashEscapes = true,
                     .codeContinues = true,
                     .recipeLines = true,
                     .textRegions = L::TextRegions::defines,
    .plainDoubleQuotes = true};

constexpr L dockerfile{.name = "Dockerfile",
                       .blockComments = L::BlockComments::none,
                       .apostrophe = L::Apostrophe::ordinary,
                       .comments = hashComments,
                       .markerPlace = L::MarkerPlace::lineStart,
                       .hereDocuments = L::HereDocuments::shell,
    .plainDoubleQuotes = true};

constexpr CommentSyntax powerShellComments{
    .lineMarker = "#", .docMarkers = {"#'", "#:"}, .blockOpen = "<#", .blockClose = "#>", .markerRuns = true};
constexpr L powerShell{.name = "PowerShell",
                       .apostrophe = L::Apostrophe::string,
                       .stringsSpanLines = true,
                       .comments = powerShellComments,
                       .markerPlace = L::MarkerPlace::wordStart,
                       .escapeChar = '`',
                       .literalApostrophes = true,
                       .hereDocuments = L::HereDocuments::hereStrings};

constexpr L elixir{.name = "Elixir",
                   .blockComments = L::BlockComments::none,
                   .apostrophe = L::Apostrophe::string,
                   .tripleQuotes = L::TripleQuotes::escaped,
                   .tripleApostrophes = true,
                   .stringsSpanLines = true,
                   .comments = hashComments,
                   .questionChars = true,
                   .quoteLike = L::QuoteLike::elixir};

constexpr CommentSyntax juliaComments{
    .lineMarker = "#", .docMarkers = {"#'", "#:"}, .blockOpen = "#=", .blockClose = "=#", .markerRuns = true};
constexpr L julia{.name = "Julia",
                  .blockComments = L::BlockComments::nested,
                  .apostrophe = L::Apostrophe::charOrLabel,
                  .tripleQuotes = L::TripleQuotes::escaped,
                  .stringsSpanLines = true,
                  .comments = juliaComments};

constexpr CommentSyntax nixComments{
    .lineMarker = "#", .docMarkers = {"#'", "#:"}, .blockOpen = "/*", .blockClose = "*/", .blockDecoration = '*',
    .markerRuns = true};
constexpr L nix{.name = "Nix",
                .apostrophe = L::Apostrophe::ordinary,
                .stringsSpanLines = true,
                .comments = nixComments,
                .indentedStrings = true};

constexpr L tcl{.name = "Tcl",
                .blockComments = L::BlockComments::none,
                .apostrophe = L::Apostrophe::ordinary,
                .stringsSpanLines = true,
                .comments = hashComments,
                .markerPlace = L::MarkerPlace::wordStart,
                .backslashEscapes = true};

constexpr L configuration{.name = "INI",
                          .blockComments = L::BlockComments::none,
                          .apostrophe = L::Apostrophe::ordinary,
                          .comments = hashComments,
                          .markerPlace = L::MarkerPlace::lineStart,
    .plainDoubleQuotes = true};

constexpr CommentSyntax sqlComments{
    .lineMarker = "--", .blockOpen = "/*", .blockClose = "*/", .blockDecoration = '*', .markerRuns = true};
constexpr L sql{.name = "SQL",
                .blockComments = L::BlockComments::nested,
                .apostrophe = L::Apostrophe::string,
                .backquote = L::Backquote::identifier,
                .stringsSpanLines = true,
                .comments = sqlComments,
                .literalApostrophes = true,
                .dollarQuotes = true};

constexpr L lua{.name = "Lua",
                .blockComments = L::BlockComments::none,
                .apostrophe = L::Apostrophe::string,
                .comments = dashComments,
                .longBrackets = L::LongBrackets::lua};

constexpr CommentSyntax haskellComments{.lineMarker = "--", .blockOpen = "{-", .blockClose = "-}", .markerRuns = true};
constexpr L haskellLike(std::string_view name) {
  return {.name = name,
          .blockComments = L::BlockComments::nested,
          .apostrophe = L::Apostrophe::charOrLabel,
          .tripleQuotes = L::TripleQuotes::escaped,
          .comments = haskellComments,
          .dashOperators = true};
}
constexpr L haskell = haskellLike("Haskell");
constexpr L elm = haskellLike("Elm");

constexpr L ada{.name = "Ada",
                .blockComments = L::BlockComments::none,
                .apostrophe = L::Apostrophe::charOrLabel,
                .comments = dashComments};

constexpr CommentSyntax lispComments{.lineMarker = ";", .blockOpen = "#|", .blockClose = "|#", .markerRuns = true};
constexpr L lispLike(std::string_view name, bool questionChars) {
  return {.name = name,
          .blockComments = L::BlockComments::nested,
          .apostrophe = L::Apostrophe::ordinary,
          .stringsSpanLines = true,
          .comments = lispComments,
          .backslashEscapes = true,
          .questionChars = questionChars};
}
constexpr L lisp = lispLike("Lisp", false);
constexpr L emacsLisp = lispLike("Emacs Lisp", true);
constexpr L scheme = lispLike("Scheme", false);
constexpr L clojure{.name = "Clojure",
                    .blockComments = L::BlockComments::none,
                    .apostrophe = L::Apostrophe::ordinary,
                    .stringsSpanLines = true,
                    .comments = semicolonComments,
                    .backslashEscapes = true};

constexpr L tex{.name = "TeX",
                .blockComments = L::BlockComments::none,
                .apostrophe = L::Apostrophe::ordinary,
                .comments = percentComments,
                .backslashEscapes = true,
    .plainDoubleQuotes = true};

constexpr L erlang{.name = "Erlang",
                   .blockComments = L::BlockComments::none,
                   .apostrophe = L::Apostrophe::string,
                   .stringsSpanLines = true,
                   .comments = percentComments,
                   .dollarTakesNext = true};

struct Extension {
  std::string_view extension;  // lower case, without the dot
  const L* language;           // null: a format without line comments
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
    Extension{"py", &python},
    Extension{"pyi", &python},
    Extension{"pyw", &python},
    Extension{"sh", &shell},
    Extension{"bash", &shell},
    Extension{"zsh", &shell},
    Extension{"ksh", &shell},
    Extension{"bats", &shell},
    Extension{"fish", &fish},
    Extension{"rb", &ruby},
    Extension{"rake", &ruby},
    Extension{"gemspec", &ruby},
    Extension{"pl", &perl},
    Extension{"pm", &perl},
    Extension{"t", &perl},
    Extension{"r", &r},
    Extension{"yaml", &yaml},
    Extension{"yml", &yaml},
    Extension{"toml", &toml},
    Extension{"cmake", &cmake},
    Extension{"mk", &makefile},
    Extension{"mak", &makefile},
    Extension{"dockerfile", &dockerfile},
    Extension{"ps1", &powerShell},
    Extension{"psm1", &powerShell},
    Extension{"psd1", &powerShell},
    Extension{"ex", &elixir},
    Extension{"exs", &elixir},
    Extension{"jl", &julia},
    Extension{"nix", &nix},
    Extension{"tcl", &tcl},
    Extension{"ini", &configuration},
    Extension{"cfg", &configuration},
    Extension{"conf", &configuration},
    Extension{"sql", &sql},
    Extension{"lua", &lua},
    Extension{"hs", &haskell},
    Extension{"elm", &elm},
    Extension{"adb", &ada},
    Extension{"ads", &ada},
    Extension{"ada", &ada},
    Extension{"lisp", &lisp},
    Extension{"lsp", &lisp},
    Extension{"cl", &lisp},
    Extension{"el", &emacsLisp},
    Extension{"scm", &scheme},
    Extension{"ss", &scheme},
    Extension{"rkt", &scheme},
    Extension{"clj", &clojure},
    Extension{"cljs", &clojure},
    Extension{"cljc", &clojure},
    Extension{"edn", &clojure},
    Extension{"tex", &tex},
    Extension{"sty", &tex},
    Extension{"cls", &tex},
    Extension{"ltx", &tex},
    Extension{"erl", &erlang},
    Extension{"hrl", &erlang},
    // Formats without line comments, and batch files, whose REM is a
    // command.
    Extension{"bat", nullptr},
    Extension{"cmd", nullptr},
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

// Files known by their whole name, compared ignoring case.
struct FileName {
  std::string_view name;  // lower case
  const L* language;
};

constexpr std::array fileNames{
    FileName{"makefile", &makefile},     FileName{"gnumakefile", &makefile},
    FileName{"cmakelists.txt", &cmake},  FileName{"dockerfile", &dockerfile},
    FileName{"containerfile", &dockerfile}, FileName{"rakefile", &ruby},
    FileName{"gemfile", &ruby},          FileName{"vagrantfile", &ruby},
    FileName{".bashrc", &shell},         FileName{".bash_profile", &shell},
    FileName{".profile", &shell},        FileName{".zshrc", &shell},
    FileName{".editorconfig", &configuration}, FileName{".gitconfig", &configuration},
    FileName{"pipfile", &toml},
};

// The names editors, modelines and shebangs give the languages.
struct EditorName {
  std::string_view name;  // lower case
  const L* language;
};

constexpr std::array editorNames{
    EditorName{"c", &c},
    EditorName{"cpp", &cpp},
    EditorName{"c++", &cpp},
    EditorName{"objc", &objectiveC},
    EditorName{"objective-c", &objectiveC},
    EditorName{"objcpp", &objectiveC},
    EditorName{"objective-cpp", &objectiveC},
    EditorName{"swift", &swift},
    EditorName{"rust", &rust},
    EditorName{"go", &go},
    EditorName{"java", &java},
    EditorName{"kotlin", &kotlin},
    EditorName{"javascript", &javaScript},
    EditorName{"javascriptreact", &javaScript},
    EditorName{"js", &javaScript},
    EditorName{"node", &javaScript},
    EditorName{"nodejs", &javaScript},
    EditorName{"typescript", &typeScript},
    EditorName{"typescriptreact", &typeScript},
    EditorName{"csharp", &cSharp},
    EditorName{"cs", &cSharp},
    EditorName{"dart", &dart},
    EditorName{"zig", &zig},
    EditorName{"scala", &scala},
    EditorName{"groovy", &groovy},
    EditorName{"proto", &protocolBuffers},
    EditorName{"python", &python},
    EditorName{"pypy", &python},
    EditorName{"sh", &shell},
    EditorName{"shellscript", &shell},
    EditorName{"bash", &shell},
    EditorName{"dash", &shell},
    EditorName{"ash", &shell},
    EditorName{"ksh", &shell},
    EditorName{"zsh", &shell},
    EditorName{"fish", &fish},
    EditorName{"ruby", &ruby},
    EditorName{"perl", &perl},
    EditorName{"r", &r},
    EditorName{"rscript", &r},
    EditorName{"yaml", &yaml},
    EditorName{"toml", &toml},
    EditorName{"cmake", &cmake},
    EditorName{"make", &makefile},
    EditorName{"makefile", &makefile},
    EditorName{"dockerfile", &dockerfile},
    EditorName{"powershell", &powerShell},
    EditorName{"ps1", &powerShell},
    EditorName{"pwsh", &powerShell},
    EditorName{"elixir", &elixir},
    EditorName{"julia", &julia},
    EditorName{"nix", &nix},
    EditorName{"tcl", &tcl},
    EditorName{"tclsh", &tcl},
    EditorName{"ini", &configuration},
    EditorName{"dosini", &configuration},
    EditorName{"conf", &configuration},
    EditorName{"sql", &sql},
    EditorName{"lua", &lua},
    EditorName{"luajit", &lua},
    EditorName{"haskell", &haskell},
    EditorName{"runhaskell", &haskell},
    EditorName{"elm", &elm},
    EditorName{"ada", &ada},
    EditorName{"lisp", &lisp},
    EditorName{"commonlisp", &lisp},
    EditorName{"sbcl", &lisp},
    EditorName{"emacs-lisp", &emacsLisp},
    EditorName{"elisp", &emacsLisp},
    EditorName{"scheme", &scheme},
    EditorName{"guile", &scheme},
    EditorName{"racket", &scheme},
    EditorName{"clojure", &clojure},
    EditorName{"tex", &tex},
    EditorName{"latex", &tex},
    EditorName{"plaintex", &tex},
    EditorName{"erlang", &erlang},
    EditorName{"escript", &erlang},
};

// The last component of a path.
std::string_view fileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
  });
  return lower;
}

// The text after the last dot of the last path component; empty for names
// without one and for names that only start with a dot (".bashrc").
std::string_view extensionOf(std::string_view path) {
  const std::string_view name = fileNameOf(path);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  return name.substr(dot + 1);
}

bool isNameByte(char ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_' ||
         ch == '-' || ch == '+' || ch == '.';
}

// The interpreter a shebang line names: "#!/usr/bin/env -S python3 -u"
// gives "python3".
std::string_view shebangProgram(std::string_view line) {
  if (!line.starts_with("#!")) return {};
  std::size_t at = 2;
  bool throughEnv = false;
  for (;;) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    std::size_t end = at;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') ++end;
    if (end == at) return {};
    const std::string_view word = line.substr(at, end - at);
    at = end;
    const std::string_view program = fileNameOf(word);
    // env's options and settings come before the program.
    if (throughEnv && (word.starts_with('-') || word.find('=') != std::string_view::npos)) continue;
    if (!throughEnv && program == "env") {
      throughEnv = true;
      continue;
    }
    return program;
  }
}

// A program name without its version: "python3.11" is "python".
std::string_view withoutVersion(std::string_view program) {
  while (!program.empty() && ((program.back() >= '0' && program.back() <= '9') || program.back() == '.')) {
    program.remove_suffix(1);
  }
  return program;
}

// The file type a line's editor modeline names: "vim: set ft=sh:",
// "vi: filetype=perl", "-*- mode: ruby -*-", "-*- python -*-".
std::string_view modelineName(std::string_view line) {
  for (const std::string_view key : {"ft=", "filetype=", "syntax="}) {
    if (line.find("vim:") == std::string_view::npos && line.find("vi:") == std::string_view::npos &&
        line.find("ex:") == std::string_view::npos) {
      break;
    }
    std::size_t at = line.find(key);
    while (at != std::string_view::npos && at > 0 && isNameByte(line[at - 1])) at = line.find(key, at + 1);
    if (at == std::string_view::npos) continue;
    at += key.size();
    std::size_t end = at;
    while (end < line.size() && isNameByte(line[end]) && line[end] != '.') ++end;
    if (end > at) return line.substr(at, end - at);
  }
  const std::size_t open = line.find("-*-");
  if (open == std::string_view::npos) return {};
  const std::size_t close = line.find("-*-", open + 3);
  if (close == std::string_view::npos) return {};
  std::string_view inside = line.substr(open + 3, close - open - 3);
  std::size_t at = 0;
  const std::size_t mode = lowerCase(inside).find("mode:");
  if (mode != std::string_view::npos && (mode == 0 || !isNameByte(inside[mode - 1]))) {
    at = mode + 5;
  } else if (inside.find(':') != std::string_view::npos) {
    return {};  // only other variables: "-*- coding: utf-8 -*-"
  }
  while (at < inside.size() && (inside[at] == ' ' || inside[at] == '\t')) ++at;
  std::size_t end = at;
  while (end < inside.size() && isNameByte(inside[end])) ++end;
  return inside.substr(at, end - at);
}

// The language a shebang or modeline of the text names, or null. Only the
// first and the last five lines are read.
const L* languageNamedInside(std::string_view text) {
  const std::size_t firstEnd = text.find('\n');
  const std::string_view first = text.substr(0, firstEnd);
  if (const std::string_view program = shebangProgram(first); !program.empty()) {
    if (const L* language = languageNamed(program)) return language;
    if (const L* language = languageNamed(withoutVersion(program))) return language;
  }
  std::vector<std::string_view> lines;
  std::size_t begin = 0;
  for (int i = 0; i < 5 && begin < text.size(); ++i) {
    const std::size_t end = text.find('\n', begin);
    lines.push_back(text.substr(begin, (end == std::string_view::npos ? text.size() : end) - begin));
    begin = end == std::string_view::npos ? text.size() : end + 1;
  }
  std::size_t end = text.size();
  if (end > 0 && text[end - 1] == '\n') --end;
  for (int i = 0; i < 5 && end > begin; ++i) {
    const std::size_t start = text.rfind('\n', end - 1);
    const std::size_t from = start == std::string_view::npos || start < begin ? begin : start + 1;
    lines.push_back(text.substr(from, end - from));
    if (from == begin) break;
    end = from - 1;
  }
  for (const std::string_view line : lines) {
    const std::string_view name = modelineName(line.substr(0, 512));
    if (name.empty()) continue;
    if (const L* language = languageNamed(name)) return language;
  }
  return nullptr;
}

// Whether a folder of the path is an include folder: its files without an
// extension are C++ headers ("include/c++/vector").
bool underIncludeFolder(std::string_view path) {
  return path.starts_with("include/") || path.find("/include/") != std::string_view::npos;
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
  std::size_t size = syntax.lineMarker.size();
  if (syntax.markerRuns) {
    // A marker's size must fit the comment facts' byte.
    const char first = syntax.lineMarker.front();
    while (size < rest.size() && size < UINT8_MAX && rest[size] == first) ++size;
    // "#' text" and "#: text", not "#'quoted'": a blank follows a doc marker.
    if (size == 1 && (rest.size() == 2 || (rest.size() > 2 && (rest[2] == ' ' || rest[2] == '\t')))) {
      for (const std::string_view doc : syntax.docMarkers) {
        if (doc.size() == 2 && rest[1] == doc[1]) return rest.substr(0, 2);
      }
    }
    return rest.substr(0, size);
  }
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

const CommentSyntax* lineSyntaxOf(std::string_view line) {
  static constexpr std::array<const CommentSyntax*, 5> families{&slashComments, &hashComments, &dashComments,
                                                                &semicolonComments, &percentComments};
  std::size_t at = 0;
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  if (at == line.size()) return nullptr;
  for (const CommentSyntax* syntax : families) {
    if (opensWith(line.substr(at), syntax->lineMarker)) return syntax;
  }
  return nullptr;
}

const CommentSyntax& commentSyntaxOf(const SourceLanguage* language) {
  return language != nullptr ? language->comments : slashComments;
}

LanguageLookup languageForPath(std::string_view path) {
  const std::string name = lowerCase(fileNameOf(path));
  for (const FileName& entry : fileNames) {
    if (entry.name == name) return {LanguageLookup::Kind::known, entry.language};
  }
  const std::string extension = lowerCase(extensionOf(path));
  if (extension.empty()) {
    if (!name.empty() && underIncludeFolder(path)) return {LanguageLookup::Kind::known, &cpp};
    return {};
  }
  for (const Extension& entry : extensions) {
    if (entry.extension != extension) continue;
    if (entry.language == nullptr) return {LanguageLookup::Kind::noLineComments, nullptr};
    return {LanguageLookup::Kind::known, entry.language};
  }
  // "Makefile.am", "Dockerfile.dev".
  if (name.starts_with("makefile.")) return {LanguageLookup::Kind::known, &makefile};
  if (name.starts_with("dockerfile.") || name.starts_with("containerfile.")) {
    return {LanguageLookup::Kind::known, &dockerfile};
  }
  return {};
}

LanguageLookup languageForFile(std::string_view path, std::string_view text) {
  const LanguageLookup byPath = languageForPath(path);
  if (byPath.kind != LanguageLookup::Kind::unknown) return byPath;
  if (const L* language = languageNamedInside(text)) return {LanguageLookup::Kind::known, language};
  return byPath;
}

const SourceLanguage* languageNamed(std::string_view editorName) {
  const std::string name = lowerCase(editorName);
  for (const EditorName& entry : editorNames) {
    if (entry.name == name) return entry.language;
  }
  return nullptr;
}

std::vector<const SourceLanguage*> knownLanguages() {
  std::vector<const SourceLanguage*> languages;
  for (const Extension& entry : extensions) {
    if (entry.language != nullptr && std::find(languages.begin(), languages.end(), entry.language) == languages.end())
      languages.push_back(entry.language);
  }
  return languages;
}

const SourceLanguage* languageCalled(std::string_view name) {
  for (const Extension& entry : extensions) {
    if (entry.language != nullptr && entry.language->name == name) return entry.language;
  }
  return nullptr;
}

}  // namespace brindlewort
