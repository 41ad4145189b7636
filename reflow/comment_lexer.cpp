#include "reflow/comment_lexer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "base/line_feeds.h"
#include "base/space_or_tab.h"
#include "engine/scalar_decoding.h"

// One pass over the bytes, line by line, carrying a small state from line to
// line: in code, in a line comment, in a block comment, in a literal or in a
// regular expression. Every scan inside a line stops at the line end, and
// every byte is looked at a bounded number of times, so a 100 MB file or a
// 1 MB line costs time in proportion to its size.
//
// Where the rules of a language are only approximated, the approximation errs
// towards "code": a comment line taken for code is merely left alone, while a
// code line taken for a comment could be moved and break the program. The
// same goes for broken input: a literal that never closes keeps every later
// line as code.
//
// Preprocessor lines are lexed like other code, and so are the lines between
// "#if 0" and "#endif": their "//" lines count as comment lines, and stray
// apostrophes in prose there open character literals that end with the line.

namespace brindlewort {
namespace {

using Language = SourceLanguage;
constexpr std::size_t npos = std::string_view::npos;


bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

// Identifier and number characters. Every non-ASCII byte counts: languages
// accept letters of any script, and a stray byte is as good as a letter here.
bool isWordByte(char ch) {
  const auto byte = static_cast<unsigned char>(ch);
  return isDigit(ch) || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '_' ||
         byte >= 0x80;
}

// Words after which a JavaScript "/" starts a regular expression instead of
// dividing.
bool expectsOperand(std::string_view word) {
  static constexpr std::array<std::string_view, 14> keywords{
      "return", "typeof", "instanceof", "in",    "of",   "new",   "delete",
      "void",   "throw",  "case",       "do",    "else", "yield", "await"};
  return std::find(keywords.begin(), keywords.end(), word) != keywords.end();
}

// Words after which a Perl or Ruby "/" starts a regular expression.
bool expectsScriptOperand(std::string_view word) {
  static constexpr std::array<std::string_view, 14> keywords{
      "if",   "unless", "while", "until", "and",    "or",    "not",
      "when", "split",  "grep",  "map",   "return", "elsif", "x"};
  return std::find(keywords.begin(), keywords.end(), word) != keywords.end();
}

bool isBlank(char ch) { return ch == ' ' || ch == '\t'; }

// The closing bracket of an opening one, or 0.
char closingBracketOf(char ch) {
  switch (ch) {
    case '(':
      return ')';
    case '[':
      return ']';
    case '{':
      return '}';
    case '<':
      return '>';
    default:
      return 0;
  }
}

// The facts of a line by the line rule: a whole-line comment when its
// first non-blank characters are the line marker.
CommentFacts lineRuleFacts(std::string_view line, const CommentSyntax& syntax) {
  const std::optional<std::size_t> at = lineMarkerAt(line, syntax);
  if (!at || *at > UINT32_MAX) return {};
  return {static_cast<std::uint32_t>(*at), static_cast<std::uint8_t>(markerAt(line, *at, syntax).size()),
          CommentRole::wholeLine};
}

// An open string, character or template literal, and what ends it.
struct Literal {
  char quote = '"';
  std::size_t quotes = 1;        // a run of at least this many quotes closes it
  std::size_t hashes = 0;        // '#' that must follow the closing quotes and a backslash
  bool escapes = true;           // a backslash takes the next character with it
  bool doubledQuotes = false;    // two quotes stand for one
  bool spansLines = false;
  bool holes = false;            // ${ ... } holds code
  bool parenthesised = false;    // closes at )delimiter"
  std::string_view delimiter = {};
  // The forms of the languages of other line markers.
  enum class Form : std::uint8_t {
    plain,
    longBracket,  // closes at ']', `hashes` times '=', ']'
    tagged,       // closes at `delimiter`: $tag$
    bracketed,    // q{...}: `opener` nests, `quote` closes; `parts` more follow
    indented,     // ''...'' with ''' ''$ ''\ inside
  };
  Form form = Form::plain;
  char opener = 0;
  std::size_t depth = 0;
  std::size_t parts = 0;
};

// A here-document's body: the lines up to its terminator.
struct HereDocument {
  std::string_view terminator;
  bool indented = false;  // blanks may stand before the terminator
  bool prefix = false;    // the terminator only opens its line
};

constexpr Literal templateLiteral{.quote = '`', .spansLines = true, .holes = true};

class Scanner {
 public:
  Scanner(std::string_view text, const Language& language,
          std::vector<std::string_view>* identifiers = nullptr)
      : text_(text), language_(language), identifiers_(identifiers) {}

  // Calls record(facts) for every line from `begin` (a line start), in
  // order, as if the text started there. Stops at the first of `stops`
  // (ascending line starts) where the lexer is back in plain code, and
  // returns it; else returns the text's size.
  template <typename Record>
  std::size_t scan(Record record, std::size_t begin = 0, std::span<const std::size_t> stops = {}) {
    std::size_t stop = 0;
    for (;;) {
      while (stop < stops.size() && stops[stop] < begin) ++stop;
      if (stop < stops.size() && stops[stop] == begin && inPlainCode()) return begin;
      const std::size_t newline = text_.find('\n', begin);
      const CommentFacts facts = scanLine(begin, newline == npos ? text_.size() : newline);
      if (block_.open) {
        pending_.push_back({begin, lineEnd_, facts});
        if (state_ != State::blockComment) finishBlock(record);
      } else {
        record(facts);
      }
      if (newline == npos) {
        // A block comment that never closes: its lines stay code.
        if (block_.open) {
          block_.clean = false;
          finishBlock(record);
        }
        reportWord();
        return text_.size();
      }
      begin = newline + 1;
    }
  }

 private:
  enum class State { code, lineComment, blockComment, literal, regex };

  // A line of a block comment whose facts wait until the block closes:
  // only then is it known whether code shares a line with the block.
  struct PendingLine {
    std::size_t begin = 0;
    std::size_t end = 0;  // before any '\r'
    CommentFacts facts;
  };

  // The block comments that share the lines in pending_: one, or more
  // when a block opens on the line where another closes.
  struct Block {
    bool open = false;
    bool clean = true;          // no code on its lines, no nesting
    std::size_t openerAt = 0;   // where the first opener starts
    std::size_t openerSize = 0;
    std::size_t closerAt = 0;   // where the last closer starts
    std::size_t closerSize = 0;
    bool docstring = false;     // a string standing as documentation
    // Lua's --[[ and CMake's #[[, closed by ']', `level` times '=', ']'.
    bool longBracket = false;
    std::size_t level = 0;
  };

  // Gives the block's lines their facts and hands them on, in order.
  template <typename Record>
  void finishBlock(Record& record) {
    // An opener or a closer too long for the facts to measure is left as
    // it is, as a block that never closes is.
    const bool reflowed = block_.clean && block_.openerSize <= UINT8_MAX && block_.closerSize <= UINT8_MAX;
    if (reflowed && pending_.size() >= 2) markBlockLines();
    if (reflowed && pending_.size() == 1) markOneLineBlock();
    for (const PendingLine& line : pending_) record(line.facts);
    pending_.clear();
    block_ = {};
  }

  // The facts of a block comment's lines: the opener's line holds text
  // when text follows the opener, the lines between hold text or are blank
  // comment lines, and the closer's line holds text before the closer. An
  // opener or a closer alone is an edge. A block drawn as a box, or one
  // whose decoration is in doubt, stays as it is.
  void markBlockLines() {
    const CommentSyntax& syntax = language_.comments;
    const PendingLine& first = pending_.front();
    const std::size_t lead = block_.openerAt - first.begin;
    const std::string_view openerLead = text_.substr(first.begin, lead);
    const std::size_t closerLine = pending_.size() - 1;
    // The block is decorated when a line below the opener opens with the
    // decoration set off from its text (" * ", " *"), or when its closer
    // stands one column in (" */"): read from all its lines, so that
    // joining some of them keeps it so. "*parsing errors*" at a line's
    // start is emphasis.
    const char decoration = syntax.blockDecoration;
    bool decorated = false;
    if (decoration != 0) {
      bool plainText = false;  // a line between holds text without decoration
      for (std::size_t i = 1; i < closerLine && !decorated; ++i) {
        decorated = opensWithDecoration(pending_[i], decoration);
        plainText = plainText || !opensWith(pending_[i], 0);
      }
      const PendingLine& closer = pending_[closerLine];
      decorated = decorated ||
                  (!plainText && closerLine > 0 && opensWith(closer, decoration) &&
                   text_.substr(closer.begin, closer.end - closer.begin).find_first_not_of(" \t") == lead + 1);
    }
    // A docstring's lines stand under its quotes, not under its text. A
    // block without decoration is read as standing under its text when all
    // its lines of text do, else as a docstring is, so that the lines of
    // one run keep one marker.
    std::size_t room = decoration != 0 ? block_.openerSize : 0;
    if (decoration == 0 && !block_.docstring) {
      bool underText = true;
      for (std::size_t i = 1; i <= closerLine && underText; ++i) {
        const PendingLine& line = pending_[i];
        const std::string_view content =
            text_.substr(line.begin, (i == closerLine ? block_.closerAt : line.end) - line.begin);
        underText = content.find_first_not_of(" \t") == npos ||
                    decorationFacts(content, openerLead, block_.openerSize, false).markerSize > 0;
      }
      if (underText) room = block_.openerSize;
    }
    std::vector<CommentFacts> facts(pending_.size());
    for (std::size_t i = 0; i < pending_.size(); ++i) {
      const PendingLine& line = pending_[i];
      if (line.end - line.begin > UINT32_MAX) return;
      const std::size_t textEnd = i == closerLine ? block_.closerAt : line.end;
      CommentFacts& fact = facts[i];
      std::size_t textBegin = 0;
      if (i == 0) {
        textBegin = block_.openerAt + block_.openerSize;
        fact = {static_cast<std::uint32_t>(lead), static_cast<std::uint8_t>(block_.openerSize),
                CommentRole::blockOpener};
        fact.decorated = decorated;
      } else {
        fact = decorationFacts(text_.substr(line.begin, textEnd - line.begin), openerLead, room, decorated);
        textBegin = line.begin + fact.markerAt + fact.markerSize;
      }
      fact.decoration = decoration;
      fact.underOpener = room == 0;
      std::string_view text = text_.substr(textBegin, textEnd - std::min(textEnd, textBegin));
      while (!text.empty() && isSpaceOrTab(text.back())) text.remove_suffix(1);
      while (!text.empty() && isSpaceOrTab(text.front())) text.remove_prefix(1);
      // A box's right edge: the decoration again, set off, at a line's end.
      if (i > 0 && i < closerLine && text.size() > 2 && decoration != 0 && text.back() == decoration &&
          isSpaceOrTab(text[text.size() - 2]))
        return;
      // An opener or a closer with nothing but decoration beside it is kept
      // as it is; a line between without text is a blank comment line.
      const bool edge = i == 0 || i == closerLine;
      const bool drawing = decoration != 0 && text.find_first_not_of(decoration) == std::string_view::npos;
      if (edge && (text.empty() || drawing)) {
        fact = {.role = CommentRole::blockEdge};
        continue;
      }
      if (i == closerLine)
        fact.closerSize = static_cast<std::uint8_t>(block_.closerSize);
    }
    for (std::size_t i = 0; i < pending_.size(); ++i) pending_[i].facts = facts[i];
  }

  // A block of one line holding text: left as it is while it fits, and
  // broken like a block of several lines when it does not.
  void markOneLineBlock() {
    const CommentSyntax& syntax = language_.comments;
    PendingLine& line = pending_.front();
    if (line.end - line.begin > UINT32_MAX) return;
    const std::size_t textBegin = block_.openerAt + block_.openerSize;
    std::string_view text = text_.substr(textBegin, block_.closerAt - std::min(block_.closerAt, textBegin));
    const char decoration = syntax.blockDecoration;
    const char drawing[] = {' ', '\t', decoration != 0 ? decoration : ' ', 0};
    if (text.find_first_not_of(drawing) == npos) return;
    line.facts = {static_cast<std::uint32_t>(block_.openerAt - line.begin),
                  static_cast<std::uint8_t>(block_.openerSize), CommentRole::blockOpener};
    line.facts.closerSize = static_cast<std::uint8_t>(block_.closerSize);
    line.facts.decoration = decoration;
    line.facts.decorated = decoration != 0;
    line.facts.underOpener = block_.docstring;
  }

  // Whether the line opens with a run of `decoration` that a blank or the
  // line's end follows.
  bool opensWithDecoration(const PendingLine& line, char decoration) const {
    const std::string_view content = text_.substr(line.begin, line.end - line.begin);
    std::size_t at = content.find_first_not_of(" \t");
    if (at == npos || content[at] != decoration) return false;
    while (at < content.size() && content[at] == decoration) ++at;
    return at == content.size() || isSpaceOrTab(content[at]) || content[at] == '\r';
  }

  // Whether the line's first non-blank byte is `ch`; with 0, whether the
  // line is blank.
  bool opensWith(const PendingLine& line, char ch) const {
    const std::size_t at = text_.substr(line.begin, line.end - line.begin).find_first_not_of(" \t");
    if (at == npos) return ch == 0;
    return text_[line.begin + at] == ch;
  }

  // The decoration of a block comment's later line: blanks, then a run of
  // the decoration byte (" * ", " ** "), or where no decoration stands,
  // the opener's room when the line's blanks fill it.
  CommentFacts decorationFacts(std::string_view line, std::string_view openerLead,
                               std::size_t openerSize, bool decorated) const {
    std::size_t blanks = 0;
    while (blanks < line.size() && isSpaceOrTab(line[blanks])) ++blanks;
    const char decoration = language_.comments.blockDecoration;
    std::size_t run = 0;
    while (decorated && blanks + run < line.size() && line[blanks + run] == decoration) ++run;
    if (run > 0) {
      // "*text" and "**bold**" are text after a one-byte decoration.
      if (blanks + run < line.size() && !isSpaceOrTab(line[blanks + run])) run = 1;
      return {static_cast<std::uint32_t>(blanks), static_cast<std::uint8_t>(run), CommentRole::blockLine};
    }
    if (blanks >= openerLead.size() + openerSize && line.starts_with(openerLead) &&
        line.substr(openerLead.size(), openerSize).find('\t') == std::string_view::npos) {
      return {static_cast<std::uint32_t>(openerLead.size()), static_cast<std::uint8_t>(openerSize),
              CommentRole::blockLine};
    }
    return {static_cast<std::uint32_t>(blanks), 0, CommentRole::blockLine};
  }

  // Whether the lexer is where a fresh one starts, so that lexing on from
  // here gives what a lexer started here would.
  bool inPlainCode() const {
    return state_ == State::code && holes_.empty() && !continued_ && !block_.open &&
           (!language_.regexLiterals || operandExpected()) && lineBound_ == LineBound::none &&
           hereDocuments_.empty() && !codeContinued_;
  }

  CommentFacts scanLine(std::size_t begin, std::size_t end) {
    lineStart_ = begin;
    lineEnd_ = end > begin && text_[end - 1] == '\r' ? end - 1 : end;
    if (lineBound_ != LineBound::none && inLineBound(begin)) return {};
    CommentFacts marker;
    std::size_t pos = begin;
    const bool continuedCode = codeContinued_;
    codeContinued_ = false;
    if (language_.docstrings && state_ == State::code && bracketDepth_ == 0 && !continuedCode) startStatement(begin);
    // A line comment carried over by a backslash still makes a marker line
    // a comment line: its text is commented out either way.
    if (state_ == State::code && !isSlashLanguage_ && !continuedCode && opensLineBound(begin)) return {};
    // A shebang is neither a comment nor a statement: a module's docstring
    // may still follow it.
    if (!isSlashLanguage_ && isShebang(begin)) return {};
    if (state_ == State::code || state_ == State::lineComment) {
      marker = lineRuleFacts(text_.substr(begin, lineEnd_ - begin), language_.comments);
      if (marker.isWholeLine()) {
        if (!continuedCode && lineCommentOpens(begin + marker.markerAt, true)) {
          state_ = State::lineComment;
          commentAt_ = begin + marker.markerAt;
        } else {
          marker = {};
        }
      }
    }
    while (pos < lineEnd_) pos = step(pos);
    if (!isSlashLanguage_) endLine();
    if (language_.docstrings) endStatementLine();
    switch (state_) {
      case State::lineComment:
        if (language_.lineSplicing && lineEnd_ > begin && text_[lineEnd_ - 1] == '\\') {
          // The comment swallows the next line. Re-flowing this one could
          // move the backslash away from the end and bring that line back
          // to life, so it stays as it is.
          marker = {};
        } else {
          state_ = State::code;
        }
        break;
      case State::literal:
        if (!literal_.spansLines && !continued_) close();
        break;
      case State::regex:
        // Perl's and Ruby's may span lines ("/x" holds "#" comments of
        // its own); JavaScript's cannot.
        if (language_.quoteLike == Language::QuoteLike::none) state_ = State::code;
        break;
      case State::code:
      case State::blockComment:
        break;
    }
    continued_ = false;
    return marker;
  }

  // Lines bound to other lines as a whole: a here-document's body, a YAML
  // block scalar, a text region (POD, =begin, define), the data after
  // __END__. They are code; so is the line that ends one, except a block
  // scalar's, which is lexed as any other line.
  enum class LineBound { none, hereDocument, blockScalar, region, data };

  static std::string_view trimmedStart(std::string_view line) {
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
    return line;
  }

  bool inLineBound(std::size_t begin) {
    const std::string_view line = text_.substr(begin, lineEnd_ - begin);
    switch (lineBound_) {
      case LineBound::none:
        return false;
      case LineBound::data:
        return true;
      case LineBound::hereDocument: {
        // Bodies are read in order; the finished ones are only counted, so
        // that a line opening many costs no more than their number.
        const HereDocument& document = hereDocuments_[hereDocumentsRead_];
        const std::string_view content = document.indented ? trimmedStart(line) : line;
        if (document.prefix ? content.starts_with(document.terminator) : content == document.terminator) {
          if (++hereDocumentsRead_ == hereDocuments_.size()) {
            hereDocuments_.clear();
            hereDocumentsRead_ = 0;
            lineBound_ = LineBound::none;
          }
        }
        return true;
      }
      case LineBound::blockScalar: {
        std::size_t indent = 0;
        while (indent < line.size() && isBlank(line[indent])) ++indent;
        if (indent == line.size() || indent > blockScalarIndent_) return true;
        lineBound_ = LineBound::none;
        return false;
      }
      case LineBound::region: {
        const std::string_view content =
            language_.textRegions == Language::TextRegions::defines ? trimmedStart(line) : line;
        if (content.starts_with(regionEnd_)) lineBound_ = LineBound::none;
        return true;
      }
    }
    return false;
  }

  // Whether the line, met in plain code, is code as a whole: a recipe line,
  // the first line of a text region, __END__.
  bool opensLineBound(std::size_t begin) {
    const std::string_view line = text_.substr(begin, lineEnd_ - begin);
    if (language_.recipeLines && line.starts_with('\t')) {
      codeContinued_ = line.ends_with('\\');
      return true;
    }
    if (language_.dataTail && (line == "__END__" || line == "__DATA__")) {
      lineBound_ = LineBound::data;
      return true;
    }
    std::string_view end;
    switch (language_.textRegions) {
      case Language::TextRegions::none:
        return false;
      case Language::TextRegions::pod:
        if (line.size() < 2 || line[0] != '=' || !isWordByte(line[1]) || isDigit(line[1])) return false;
        if (line.starts_with("=cut")) return true;
        end = "=cut";
        break;
      case Language::TextRegions::embeddedDocs:
        if (!line.starts_with("=begin") || (line.size() > 6 && !isBlank(line[6]))) return false;
        end = "=end";
        break;
      case Language::TextRegions::defines: {
        const std::string_view trimmed = trimmedStart(line);
        if (!trimmed.starts_with("define") || (trimmed.size() > 6 && !isBlank(trimmed[6]))) return false;
        end = "endef";
        break;
      }
    }
    lineBound_ = LineBound::region;
    regionEnd_ = end;
    return true;
  }

  // What a line leaves for the lines after it: here-documents whose bodies
  // follow, a block scalar, a continued line of code.
  void endLine() {
    const bool escapedEnd = lastEscapeTookLineEnd_;
    lastEscapeTookLineEnd_ = false;
    if (state_ != State::code && state_ != State::lineComment) {
      pendingHereDocuments_.clear();
      return;
    }
    if (!pendingHereDocuments_.empty()) {
      hereDocuments_.insert(hereDocuments_.end(), pendingHereDocuments_.begin(), pendingHereDocuments_.end());
      pendingHereDocuments_.clear();
      lineBound_ = LineBound::hereDocument;
      return;
    }
    if (state_ == State::code && language_.codeContinues && escapedEnd) codeContinued_ = true;
    if (language_.yamlScalars) opensBlockScalar();
  }

  // A YAML line whose code ends in | or > (with an indentation or chomping
  // indicator) opens a block scalar: the more indented lines after it.
  void opensBlockScalar() {
    std::size_t end = state_ == State::lineComment ? commentAt_ : lineEnd_;
    while (end > lineStart_ && isBlank(text_[end - 1])) --end;
    for (int indicators = 0; indicators < 2 && end > lineStart_; ++indicators) {
      const char ch = text_[end - 1];
      if (!isDigit(ch) && ch != '+' && ch != '-') break;
      --end;
    }
    if (end == lineStart_ || (text_[end - 1] != '|' && text_[end - 1] != '>')) return;
    const std::size_t indicator = end - 1;
    if (indicator > lineStart_ && !isBlank(text_[indicator - 1])) return;
    // The scalar's lines are those indented deeper than its key, or than
    // its item's dash: "- key: |" wants more than the key's column.
    std::size_t node = lineStart_;
    while (node < indicator && isBlank(text_[node])) ++node;
    std::size_t dash = npos;
    while (node + 1 < indicator && text_[node] == '-' && isBlank(text_[node + 1])) {
      dash = node;
      node += 2;
      while (node < indicator && isBlank(text_[node])) ++node;
    }
    const bool keyed = node < indicator && text_[indicator - 1] != '-' &&
                       text_.substr(node, indicator - node).find(": ") != npos;
    lineBound_ = LineBound::blockScalar;
    blockScalarIndent_ = keyed ? node - lineStart_ : dash != npos ? dash - lineStart_ : node - lineStart_;
  }

  // A script's first line naming its interpreter: "#!/bin/sh", "#! /usr/bin/env".
  bool isShebang(std::size_t pos) const {
    return pos == 0 && text_.starts_with("#!") && (at(2) == '/' || isBlank(at(2)));
  }

  // Whether the line marker at pos starts a line comment: not a shebang,
  // not a block comment's or a long bracket's opener, not an operator, and
  // where the language lets a comment start. `wholeLine`: only blanks stand
  // before it.
  bool lineCommentOpens(std::size_t pos, bool wholeLine) const {
    if (isSlashLanguage_) return true;
    const CommentSyntax& syntax = language_.comments;
    if (isShebang(pos)) return false;
    if (language_.blockComments != Language::BlockComments::none && !syntax.blockOpen.empty() &&
        text_.substr(pos).starts_with(syntax.blockOpen)) {
      return false;
    }
    if (language_.longBrackets != Language::LongBrackets::none) {
      const std::size_t open = pos + syntax.lineMarker.size();
      if (at(open) == '[' && at(open + 1 + countOf(open + 1, '=')) == '[') return false;
    }
    if (language_.dashOperators) {
      const std::size_t after = pos + countOf(pos, '-');
      if (after < lineEnd_ && std::string_view("!#$%&*+./<=>?@\\^|~:").find(at(after)) != npos) return false;
    }
    if (wholeLine) return true;
    switch (language_.markerPlace) {
      case Language::MarkerPlace::anywhere:
        return true;
      case Language::MarkerPlace::wordStart:
        return pos == lineStart_ || std::string_view(" \t;&|()").find(text_[pos - 1]) != npos;
      case Language::MarkerPlace::lineStart:
        return false;
    }
    return false;
  }

  // The rules of code in the languages of other line markers: returns where
  // the code goes on, or npos when the byte is left to the common rules.
  std::size_t otherLanguageCode(std::size_t pos) {
    const char ch = text_[pos];
    if (language_.backslashEscapes && ch == '\\') {
      last_ = '"';
      if (pos + 1 >= lineEnd_) {
        lastEscapeTookLineEnd_ = true;
        return lineEnd_;
      }
      return pos + 2;
    }
    if (language_.dollarTakesNext && ch == '$') {
      last_ = '"';
      return std::min(pos + 2, lineEnd_);
    }
    if (language_.questionChars && ch == '?' && (pos == lineStart_ || !isWordByte(text_[pos - 1])) &&
        pos + 1 < lineEnd_ &&
        !isBlank(text_[pos + 1])) {
      last_ = '"';
      return std::min(pos + (text_[pos + 1] == '\\' ? 3 : 2), lineEnd_);
    }
    if (language_.blockComments != Language::BlockComments::none && ch == language_.comments.blockOpen.front() &&
        language_.comments.blockOpen != slashComments.blockOpen && text_.substr(pos).starts_with(language_.comments.blockOpen)) {
      state_ = State::blockComment;
      depth_ = 1;
      return pos + language_.comments.blockOpen.size();
    }
    if (language_.longBrackets != Language::LongBrackets::none) {
      if (const std::size_t next = longBracket(pos); next != npos) return next;
    }
    if (language_.hereDocuments != Language::HereDocuments::none) {
      if (const std::size_t next = hereDocument(pos); next != npos) return next;
    }
    if (language_.quoteLike != Language::QuoteLike::none) {
      if (const std::size_t next = quoteLike(pos); next != npos) return next;
    }
    if (language_.dollarQuotes && ch == '$' && wordEnd_ != pos) {
      std::size_t end = pos + 1;
      if (end < lineEnd_ && !isDigit(text_[end])) {
        while (end < lineEnd_ && isWordByte(text_[end])) ++end;
      }
      if (at(end) == '$') {
        open({.escapes = false, .spansLines = true, .delimiter = text_.substr(pos, end + 1 - pos),
              .form = Literal::Form::tagged});
        return end + 1;
      }
    }
    if (language_.indentedStrings && ch == '\'' && at(pos + 1) == '\'') {
      open({.quote = '\'', .escapes = false, .spansLines = true, .form = Literal::Form::indented});
      return pos + 2;
    }
    return npos;
  }

  // Lua's [[...]] and [==[...]==], and after "--" its long comments;
  // CMake's bracket arguments where an argument starts, and after "#" its
  // bracket comments.
  std::size_t longBracket(std::size_t pos) {
    const std::string_view marker = language_.comments.lineMarker;
    std::size_t opening = pos;
    const bool comment = text_.substr(pos).starts_with(marker);
    if (comment) {
      opening = pos + marker.size();
    } else if (language_.longBrackets == Language::LongBrackets::cmake && pos > lineStart_ &&
               !isBlank(text_[pos - 1]) && text_[pos - 1] != '(') {
      return npos;
    }
    if (at(opening) != '[') return npos;
    const std::size_t level = countOf(opening + 1, '=');
    if (at(opening + 1 + level) != '[') return npos;
    if (comment) {
      startBlock(pos, opening + 2 + level - pos);
      block_.longBracket = true;
      block_.level = level;
      return opening + 2 + level;
    }
    open({.hashes = level, .escapes = false, .spansLines = true, .form = Literal::Form::longBracket});
    return opening + 2 + level;
  }

  // <<EOF, <<-EOF, <<'EOF', <<"EOF", <<~EOF; PowerShell's @" and @'.
  std::size_t hereDocument(std::size_t pos) {
    const char ch = text_[pos];
    if (language_.hereDocuments == Language::HereDocuments::hereStrings) {
      if (ch != '@' || (at(pos + 1) != '"' && at(pos + 1) != '\'')) return npos;
      std::size_t end = pos + 2;
      while (end < lineEnd_ && isBlank(text_[end])) ++end;
      if (end != lineEnd_) return npos;
      pendingHereDocuments_.push_back(
          {.terminator = at(pos + 1) == '"' ? std::string_view("\"@") : std::string_view("'@"), .prefix = true});
      return lineEnd_;
    }
    if (ch != '<' || at(pos + 1) != '<' || at(pos + 2) == '<' || (pos > lineStart_ && text_[pos - 1] == '<')) {
      return npos;
    }
    const bool shell = language_.hereDocuments == Language::HereDocuments::shell;
    std::size_t at_ = pos + 2;
    bool indented = false;
    if (at(at_) == '-' || (!shell && at(at_) == '~')) {
      indented = true;
      ++at_;
    }
    std::size_t word = at_;
    while (word < lineEnd_ && isBlank(text_[word])) ++word;
    if (word != at_ && language_.hereDocuments == Language::HereDocuments::tightScript) return npos;
    const char quote = at(word);
    std::size_t begin = word;
    std::size_t end = word;
    if (quote == '\'' || quote == '"' || (shell && quote == '\\')) {
      begin = word + 1;
      if (quote == '\\') {
        end = begin;
        while (end < lineEnd_ && isWordByte(text_[end])) ++end;
      } else {
        // A quote found missing once on a line is missing for the rest of it.
        if (unclosedQuoteLine_ == lineStart_ && unclosedQuote_ == quote && begin >= unclosedQuoteFrom_) return npos;
        end = text_.substr(0, lineEnd_).find(quote, begin);
        if (end == npos) {
          unclosedQuoteLine_ = lineStart_;
          unclosedQuote_ = quote;
          unclosedQuoteFrom_ = begin;
          return npos;
        }
      }
    } else {
      if (!shell && word != at_) return npos;
      const char first = at(word);
      if (!isWordByte(first) || isDigit(first)) return npos;
      if (!shell && !(first == '_' || (first >= 'A' && first <= 'Z'))) return npos;
      while (end < lineEnd_ && (isWordByte(text_[end]) || (shell && (text_[end] == '-' || text_[end] == '.')))) {
        ++end;
      }
    }
    if (end == begin) return npos;
    // Tabs only before a shell terminator, any blanks before a script's.
    pendingHereDocuments_.push_back({.terminator = text_.substr(begin, end - begin), .indented = indented});
    last_ = '"';
    return quote == '\'' || quote == '"' ? end + 1 : end;
  }

  // Perl's q qq qw qr m s tr y, Ruby's %q %w %r %(...), Elixir's sigils.
  std::size_t quoteLike(std::size_t pos) {
    const char ch = text_[pos];
    std::size_t delimiter = npos;
    std::size_t parts = 0;
    bool escapes = true;
    switch (language_.quoteLike) {
      case Language::QuoteLike::none:
        return npos;
      case Language::QuoteLike::perl: {
        if (isSpaceOrTab(ch) || !isWordByte(last_) || wordEnd_ == npos) return npos;
        const std::string_view word = text_.substr(wordStart_, wordEnd_ - wordStart_);
        if (word != "q" && word != "qq" && word != "qw" && word != "qr" && word != "m" && word != "s" &&
            word != "tr" && word != "y") {
          return npos;
        }
        if (wordStart_ > 0 && std::string_view("$@%&*-:>{'").find(text_[wordStart_ - 1]) != npos) return npos;
        if (std::string_view("=,;)}]>").find(ch) != npos || (ch == '#' && pos != wordEnd_)) return npos;
        if (ch == '#' && wordEnd_ != pos) return npos;
        delimiter = pos;
        parts = word == "s" || word == "tr" || word == "y" ? 1 : 0;
        break;
      }
      case Language::QuoteLike::ruby:
        if (ch != '%') return npos;
        if (std::string_view("qQwWiIrsx").find(at(pos + 1)) != npos && at(pos + 1) != '\n') {
          const char next = at(pos + 2);
          if (isWordByte(next) || isSpaceOrTab(next) || next == '\n') return npos;
          delimiter = pos + 2;
        } else if (std::string_view("([{<|!/^").find(at(pos + 1)) != npos && at(pos + 1) != '\n' &&
                   operandExpected()) {
          delimiter = pos + 1;
        } else {
          return npos;
        }
        break;
      case Language::QuoteLike::elixir: {
        if (ch != '~') return npos;
        std::size_t end = pos + 1;
        const char letter = at(end);
        if (!((letter >= 'a' && letter <= 'z') || (letter >= 'A' && letter <= 'Z'))) return npos;
        escapes = letter >= 'a';
        ++end;
        while (at(end) >= 'A' && at(end) <= 'Z') ++end;
        if (std::string_view("/|\"'([{<").find(at(end)) == npos || at(end) == '\n') return npos;
        if ((at(end) == '"' || at(end) == '\'') && countOf(end, at(end)) >= 3) {
          open({.quote = at(end), .quotes = 3, .escapes = escapes, .spansLines = true});
          return end + 3;
        }
        delimiter = end;
        break;
      }
    }
    const char opening = text_[delimiter];
    const char closing = closingBracketOf(opening);
    open({.quote = closing != 0 ? closing : opening,
          .escapes = escapes,
          .spansLines = true,
          .form = Literal::Form::bracketed,
          .opener = closing != 0 ? opening : '\0',
          .parts = parts});
    return delimiter + 1;
  }

  std::size_t step(std::size_t pos) {
    switch (state_) {
      case State::code:
        return inCode(pos);
      case State::lineComment:
        return lineEnd_;
      case State::blockComment:
        return inBlockComment(pos);
      case State::literal:
        return inLiteral(pos);
      case State::regex:
        return inRegex(pos);
    }
    return lineEnd_;
  }

  // The byte at pos, or '\n' at and past the line end.
  char at(std::size_t pos) const { return pos < lineEnd_ ? text_[pos] : '\n'; }

  // How many `ch` follow from pos on, up to `limit`, within the line.
  std::size_t countOf(std::size_t pos, char ch, std::size_t limit = npos) const {
    std::size_t count = 0;
    while (count < limit && at(pos + count) == ch) ++count;
    return count;
  }

  // Hands the last identifier or number of code to the caller, once.
  void reportWord() {
    if (identifiers_ == nullptr || wordEnd_ == npos || wordEnd_ == reportedEnd_) return;
    identifiers_->push_back(text_.substr(wordStart_, wordEnd_ - wordStart_));
    reportedEnd_ = wordEnd_;
  }

  // The identifier or number that ends right at pos, if any.
  std::string_view wordBefore(std::size_t pos) const {
    return wordEnd_ == pos ? text_.substr(wordStart_, pos - wordStart_) : std::string_view();
  }

  void open(const Literal& literal) {
    literal_ = literal;
    state_ = State::literal;
  }

  void close() {
    state_ = State::code;
    last_ = '"';
  }

  std::size_t inCode(std::size_t pos) {
    const char ch = text_[pos];
    if (isWordByte(ch)) {
      if (wordEnd_ != pos) {
        reportWord();
        wordStart_ = pos;
      }
      wordEnd_ = pos + 1;
      last_ = ch;
      return pos + 1;
    }
    if (isSpaceOrTab(ch)) return pos + 1;
    // A block opener first: "--[[", "#=" and "{-" begin with a line marker.
    if (opensBlock(pos)) return openBlock(pos);
    if (language_.docstrings) {
      if (const std::size_t next = docstringOrBracket(pos); next != npos) return next;
    }
    if (ch == language_.comments.lineMarker.front() && text_.substr(pos).starts_with(language_.comments.lineMarker)) {
      if (lineCommentOpens(pos, false)) {
        state_ = State::lineComment;
        commentAt_ = pos;
        return lineEnd_;
      }
      // An operator of dashes is passed whole: its run is counted once.
      if (language_.dashOperators) {
        last_ = '-';
        return pos + countOf(pos, '-');
      }
    }
    if (!isSlashLanguage_) {
      if (const std::size_t next = otherLanguageCode(pos); next != npos) return next;
    }
    switch (ch) {
      case '/':
        return slash(pos);
      case '"':
        if (language_.plainDoubleQuotes || (language_.yamlScalars && !opensScalar(pos))) break;
        return doubleQuote(pos);
      case '\'':
        if (language_.yamlScalars && !opensScalar(pos)) break;
        return apostrophe(pos);
      case '`':
        return backquote(pos);
      case '#':
        return hash(pos);
      case '\\':
        if (language_.lineStrings && at(pos + 1) == '\\') {
          last_ = '"';
          return lineEnd_;
        }
        break;
      case '{':
        if (!holes_.empty()) ++holes_.back();
        break;
      case '}':
        if (!holes_.empty()) {
          if (holes_.back() == 0) {
            holes_.pop_back();
            open(templateLiteral);
            return pos + 1;
          }
          --holes_.back();
        }
        break;
      default:
        break;
    }
    last_ = ch;
    return pos + 1;
  }

  // Where a YAML scalar may start: at the line start, after "[", "{" or
  // ",", or after ":", "-" or "?" and a blank. A quote inside a plain
  // scalar ("it's") opens nothing.
  bool opensScalar(std::size_t pos) const {
    std::size_t before = pos;
    while (before > lineStart_ && isBlank(text_[before - 1])) --before;
    if (before == lineStart_) return true;
    const char ch = text_[before - 1];
    if (ch == '[' || ch == '{' || ch == ',') return true;
    return before < pos && (ch == ':' || ch == '-' || ch == '?');
  }

  std::size_t slash(std::size_t pos) {
    if (language_.regexLiterals && operandExpected()) {
      state_ = State::regex;
      regexClass_ = false;
      return pos + 1;
    }
    last_ = '/';
    return pos + 1;
  }

  // Whether the code so far leaves room for an operand rather than an
  // operator. A wrong guess costs at most the rest of one line, since a
  // regular expression cannot span lines.
  bool operandExpected() const {
    if (isWordByte(last_)) {
      const std::string_view word = text_.substr(wordStart_, wordEnd_ - wordStart_);
      if (language_.quoteLike != Language::QuoteLike::none) return expectsScriptOperand(word);
      return expectsOperand(word);
    }
    return std::string_view("(,=:[!&|?{};+-*%<>~^").find(last_) != npos;
  }

  std::size_t doubleQuote(std::size_t pos) {
    if (language_.verbatimStrings && verbatimMarkBefore(pos)) {
      open({.escapes = false, .doubledQuotes = true, .spansLines = true});
      return pos + 1;
    }
    const std::string_view word = wordBefore(pos);
    if (language_.rawPrefix == Language::RawPrefix::parenthesised &&
        (word == "R" || word == "u8R" || word == "uR" || word == "UR" || word == "LR")) {
      if (const auto delimiter = rawDelimiter(pos + 1)) {
        open({.escapes = false,
              .spansLines = true,
              .parenthesised = true,
              .delimiter = *delimiter});
        return pos + 2 + delimiter->size();
      }
    }
    if (language_.rawPrefix == Language::RawPrefix::hashed && isHashedRawPrefix(word)) {
      open({.escapes = false, .spansLines = true});
      return pos + 1;
    }
    return quoted(pos, '"', language_.tripleQuotes);
  }

  static bool isHashedRawPrefix(std::string_view word) {
    return word == "r" || word == "br" || word == "cr";
  }

  // The delimiter of a raw string whose quote ends before pos, when a valid
  // one (at most 16 characters, none of them blank, \ or a parenthesis) runs
  // up to a "(".
  std::optional<std::string_view> rawDelimiter(std::size_t pos) const {
    for (std::size_t end = pos; end < lineEnd_ && end - pos <= 16; ++end) {
      const char ch = text_[end];
      if (ch == '(') return text_.substr(pos, end - pos);
      if (ch == ')' || ch == '\\' || ch == '"' || isSpaceOrTab(ch) || ch == '\v' || ch == '\f' ||
          ch == '\r') {
        return std::nullopt;
      }
    }
    return std::nullopt;
  }

  // An @ among the $ and @ right before pos: C#'s verbatim strings.
  bool verbatimMarkBefore(std::size_t pos) const {
    for (; pos > 0; --pos) {
      const char ch = text_[pos - 1];
      if (ch == '@') return true;
      if (ch != '$') return false;
    }
    return false;
  }

  // A string opened by `quote` at pos: "...", '...', or the triple-quoted
  // form when `triple` allows it and three or more quotes follow.
  std::size_t quoted(std::size_t pos, char quote, Language::TripleQuotes triple) {
    const bool raw =
        language_.rawPrefix == Language::RawPrefix::letterR && wordBefore(pos) == "r";
    Literal literal{.quote = quote, .escapes = !raw, .spansLines = language_.stringsSpanLines};
    const std::size_t run = triple == Language::TripleQuotes::none ? 1 : countOf(pos, quote);
    if (run >= 3) {
      literal.quotes = triple == Language::TripleQuotes::counted ? run : 3;
      literal.escapes = !raw && triple == Language::TripleQuotes::escaped;
      literal.spansLines = true;
    }
    if (quote == '\'' && language_.literalApostrophes) {
      literal.escapes = false;
      literal.doubledQuotes = literal.quotes == 1;  // 'it''s'
    }
    open(literal);
    return pos + literal.quotes;
  }

  std::size_t apostrophe(std::size_t pos) {
    switch (language_.apostrophe) {
      case Language::Apostrophe::ordinary:
        break;
      case Language::Apostrophe::string:
        return quoted(pos, '\'',
                      language_.tripleApostrophes ? language_.tripleQuotes
                                                  : Language::TripleQuotes::none);
      case Language::Apostrophe::charLiteral:
        if (language_.digitSeparators) {
          const std::string_view word = wordBefore(pos);
          if (!word.empty() && isDigit(word.front())) {
            // 1'000 and 0xFF'FF: the number goes on past the apostrophe.
            wordEnd_ = pos + 1;
            return pos + 1;
          }
        }
        open({.quote = '\''});
        return pos + 1;
      case Language::Apostrophe::charOrLabel:
        return charOrLabel(pos);
    }
    last_ = '\'';
    return pos + 1;
  }

  // 'x', '\n' and '\u{1F600}' are literals; any other ' ('a, 'static,
  // 'outer:, 'symbol) is an ordinary character, so that it cannot open a
  // literal that swallows the lines after it.
  std::size_t charOrLabel(std::size_t pos) {
    const char next = at(pos + 1);
    if (next == '\\') {
      open({.quote = '\''});
      return pos + 1;
    }
    if (next != '\'' && next != '\n') {
      std::size_t end = pos + 1;
      nextScalar(text_.substr(0, lineEnd_), end);
      if (at(end) == '\'') {
        last_ = '"';
        return end + 1;
      }
    }
    last_ = '\'';
    return pos + 1;
  }

  std::size_t backquote(std::size_t pos) {
    switch (language_.backquote) {
      case Language::Backquote::ordinary:
        break;
      case Language::Backquote::identifier: {
        const std::size_t close = text_.substr(0, lineEnd_).find('`', pos + 1);
        last_ = '"';
        return close == npos ? lineEnd_ : close + 1;
      }
      case Language::Backquote::rawString:
        open({.quote = '`', .escapes = false, .spansLines = true});
        return pos + 1;
      case Language::Backquote::templateLiteral:
        open(templateLiteral);
        return pos + 1;
    }
    last_ = '`';
    return pos + 1;
  }

  // Rust's r#"..."# and Swift's #"..."#, #"""..."""#; any other # is code
  // (Rust's raw identifiers r#type, Swift's #if).
  std::size_t hash(std::size_t pos) {
    const std::size_t hashes = countOf(pos, '#');
    const std::size_t quote = pos + hashes;
    if (at(quote) == '"') {
      if (language_.rawPrefix == Language::RawPrefix::hashed &&
          isHashedRawPrefix(wordBefore(pos))) {
        open({.hashes = hashes, .escapes = false, .spansLines = true});
        return quote + 1;
      }
      if (language_.extendedDelimiters) {
        Literal literal{.hashes = hashes};
        if (countOf(quote, '"') >= 3) {
          literal.quotes = 3;
          literal.spansLines = true;
        }
        open(literal);
        return quote + literal.quotes;
      }
    }
    last_ = '#';
    return quote;
  }

  bool opensBlock(std::size_t pos) const {
    const std::string_view opener = language_.comments.blockOpen;
    return language_.blockComments != Language::BlockComments::none && !opener.empty() &&
           text_[pos] == opener.front() && text_.substr(pos, lineEnd_ - pos).starts_with(opener);
  }

  // A block comment's opener at pos. "/**" and "/*!" open doc comments: the
  // byte after the opener belongs to it, unless it starts the closer.
  std::size_t openBlock(std::size_t pos) {
    const CommentSyntax& syntax = language_.comments;
    std::size_t size = syntax.blockOpen.size();
    const char next = at(pos + size);
    if (syntax.blockDocBytes.find(next) != std::string_view::npos &&
        !text_.substr(pos + size, lineEnd_ - pos - size).starts_with(syntax.blockClose))
      ++size;
    startBlock(pos, size);
    block_.closerSize = syntax.blockClose.size();
    return pos + size;
  }

  // A block's opener of `size` bytes at pos, where a block may also have
  // closed on the line.
  void startBlock(std::size_t pos, std::size_t size) {
    const bool alone = text_.substr(lineStart_, pos - lineStart_).find_first_not_of(" \t") == npos;
    if (!block_.open) {
      block_.open = true;
      block_.openerAt = pos;
      block_.openerSize = size;
      block_.clean = alone;
    } else {
      block_.clean = false;  // a second block on the line where one closed
    }
    block_.longBracket = false;
    state_ = State::blockComment;
    depth_ = 1;
  }

  // Where a statement starts at the line's start, whether it opens a
  // function's or a class's header, whose body's first statement may be
  // its docstring.
  void startStatement(std::size_t begin) {
    std::size_t at = begin;
    while (at < lineEnd_ && isSpaceOrTab(text_[at])) ++at;
    const std::string_view line = text_.substr(at, lineEnd_ - at);
    if (line.empty() || line.front() == '#') return;
    lineHasCode_ = true;
    header_ = line.starts_with("def ") || line.starts_with("class ") || line.starts_with("async ");
  }

  // At a line's end outside brackets: a header's colon makes the next
  // statement a docstring's place; any other code line takes it away.
  void endStatementLine() {
    if (!lineHasCode_ || bracketDepth_ > 0 || state_ != State::code) return;
    docstringNext_ = header_ && last_ == ':';
    lineHasCode_ = false;
  }

  // Brackets outside strings, and a docstring where one may stand: a
  // triple quote (maybe after r or u) that opens the statement.
  std::size_t docstringOrBracket(std::size_t pos) {
    const char ch = text_[pos];
    if (ch == '(' || ch == '[' || ch == '{') ++bracketDepth_;
    if ((ch == ')' || ch == ']' || ch == '}') && bracketDepth_ > 0) --bracketDepth_;
    if (!docstringNext_) return npos;
    docstringNext_ = false;
    if ((ch != '"' && ch != '\'') || countOf(pos, ch) < 3 || bracketDepth_ > 0) return npos;
    const std::string_view prefix = wordBefore(pos);
    if (!prefix.empty() && prefix != "r" && prefix != "R" && prefix != "u" && prefix != "U") return npos;
    const std::size_t opener = pos - prefix.size();
    if (text_.substr(lineStart_, opener - lineStart_).find_first_not_of(" \t") != npos) return npos;
    docstringQuote_ = text_.substr(pos, 3);
    block_.open = true;
    block_.docstring = true;
    block_.openerAt = opener;
    block_.openerSize = pos + 3 - opener;
    block_.closerSize = 3;
    block_.clean = true;
    state_ = State::blockComment;
    depth_ = 1;
    return pos + 3;
  }

  // Inside a docstring: an escape takes the next character; the opening
  // triple quote closes it.
  std::size_t inDocstring(std::size_t pos) {
    const std::string_view line = text_.substr(0, lineEnd_);
    const std::size_t close = line.find(docstringQuote_, pos);
    const std::size_t escape = line.find('\\', pos);
    if (escape != npos && (close == npos || escape < close)) return std::min(escape + 2, lineEnd_);
    if (close == npos) return lineEnd_;
    return closeBlock(close);
  }

  std::size_t inBlockComment(std::size_t pos) {
    if (block_.docstring) return inDocstring(pos);
    if (block_.longBracket) return inLongComment(pos);
    const CommentSyntax& syntax = language_.comments;
    const std::string_view line = text_.substr(0, lineEnd_);
    if (language_.blockComments == Language::BlockComments::flat) {
      const std::size_t close = line.find(syntax.blockClose, pos);
      if (close == npos) return lineEnd_;
      return closeBlock(close);
    }
    if (line.substr(pos).starts_with(syntax.blockOpen)) {
      ++depth_;
      block_.clean = false;  // nested comments are left as they are
      return pos + syntax.blockOpen.size();
    }
    if (line.substr(pos).starts_with(syntax.blockClose)) {
      if (--depth_ > 0) return pos + syntax.blockClose.size();
      return closeBlock(pos);
    }
    return pos + 1;
  }

  // Inside a long comment: ']', the opener's '='s, ']' closes it. A line
  // marker right before the closer ("--]]", "#]]") goes with it.
  std::size_t inLongComment(std::size_t pos) {
    const std::string_view line = text_.substr(0, lineEnd_);
    for (std::size_t close = line.find(']', pos); close != npos; close = line.find(']', close + 1)) {
      if (countOf(close + 1, '=', block_.level + 1) != block_.level || at(close + 1 + block_.level) != ']') continue;
      const std::string_view marker = language_.comments.lineMarker;
      std::size_t from = close;
      if (close >= lineStart_ + marker.size() && close >= block_.openerAt + block_.openerSize + marker.size() &&
          line.substr(close - marker.size(), marker.size()) == marker)
        from -= marker.size();
      block_.closerSize = close + 2 + block_.level - from;
      return closeBlock(from);
    }
    return lineEnd_;
  }

  // The closer at pos ends the block; code after it on the line keeps the
  // block as it is.
  std::size_t closeBlock(std::size_t pos) {
    state_ = State::code;
    const std::size_t end = pos + block_.closerSize;
    block_.closerAt = pos;
    if (text_.substr(end, lineEnd_ - end).find_first_not_of(" \t") != npos) block_.clean = false;
    return end;
  }

  std::size_t inLiteral(std::size_t pos) {
    const Literal& literal = literal_;
    const char ch = text_[pos];
    if (literal.form != Literal::Form::plain) return inOtherLiteral(pos);
    if (ch == language_.escapeChar && literal.escapes) return escape(pos);
    if (literal.holes && ch == '$' && at(pos + 1) == '{') {
      holes_.push_back(0);
      state_ = State::code;
      last_ = '{';
      return pos + 2;
    }
    if (literal.parenthesised) {
      // The delimiter holds no line break, so a match cannot run past the
      // line end.
      if (ch == ')' && text_.substr(pos + 1).starts_with(literal.delimiter) &&
          at(pos + 1 + literal.delimiter.size()) == '"') {
        close();
        return pos + 2 + literal.delimiter.size();
      }
      return pos + 1;
    }
    if (ch != literal.quote) return pos + 1;
    if (literal.doubledQuotes) {
      if (at(pos + 1) == literal.quote) return pos + 2;
      close();
      return pos + 1;
    }
    std::size_t after = pos + 1;
    if (literal.quotes > 1) {
      // The closing quotes are the last of the run: """"a"""" holds "a".
      after = pos + countOf(pos, literal.quote);
      if (after - pos < literal.quotes) return after;
    }
    const std::size_t hashes = countOf(after, '#', literal.hashes);
    if (hashes == literal.hashes) close();
    return after + hashes;
  }

  // A backslash (followed by the literal's '#'s) and the character it
  // escapes. Escaping the line end carries the literal into the next line.
  std::size_t escape(std::size_t pos) {
    std::size_t escaped = pos + 1;
    if (literal_.form != Literal::Form::plain) {
      if (escaped >= lineEnd_) {
        continued_ = true;
        return lineEnd_;
      }
      return escaped + 1;
    }
    const std::size_t hashes = countOf(escaped, '#', literal_.hashes);
    if (hashes < literal_.hashes) return escaped + hashes;
    escaped += hashes;
    if (escaped >= lineEnd_) {
      continued_ = true;
      return lineEnd_;
    }
    return escaped + 1;
  }

  // The literals of the languages of other line markers.
  std::size_t inOtherLiteral(std::size_t pos) {
    Literal& literal = literal_;
    const char ch = text_[pos];
    switch (literal.form) {
      case Literal::Form::plain:
        break;
      case Literal::Form::longBracket:
        if (ch == ']' && countOf(pos + 1, '=', literal.hashes + 1) == literal.hashes &&
            at(pos + 1 + literal.hashes) == ']') {
          close();
          return pos + 2 + literal.hashes;
        }
        return pos + 1;
      case Literal::Form::tagged:
        if (ch == '$' && text_.substr(pos, lineEnd_ - pos).starts_with(literal.delimiter)) {
          close();
          return pos + literal.delimiter.size();
        }
        return pos + 1;
      case Literal::Form::indented:
        if (ch != '\'' || at(pos + 1) != '\'') return pos + 1;
        if (at(pos + 2) == '\'' || at(pos + 2) == '$') return pos + 3;
        if (at(pos + 2) == '\\') return std::min(pos + 4, lineEnd_);
        close();
        return pos + 2;
      case Literal::Form::bracketed:
        if (ch == '\\' && literal.escapes) return escape(pos);
        if (literal.opener != 0 && ch == literal.opener) {
          ++literal.depth;
          return pos + 1;
        }
        if (ch != literal.quote) return pos + 1;
        if (literal.depth > 0) {
          --literal.depth;
          return pos + 1;
        }
        if (literal.parts == 0) {
          close();
          return pos + 1;
        }
        --literal.parts;
        if (literal.opener == 0) return pos + 1;  // s/a/b/: the same delimiter goes on
        {
          // s{a}{b}: the second part has brackets of its own.
          std::size_t next = pos + 1;
          while (next < lineEnd_ && isBlank(text_[next])) ++next;
          const char opening = at(next);
          if (next >= lineEnd_ || isWordByte(opening)) {
            close();
            return pos + 1;
          }
          const char closing = closingBracketOf(opening);
          literal.opener = closing != 0 ? opening : '\0';
          literal.quote = closing != 0 ? closing : opening;
          return next + 1;
        }
    }
    return pos + 1;
  }

  std::size_t inRegex(std::size_t pos) {
    const char ch = text_[pos];
    if (ch == '\\') return std::min(pos + 2, lineEnd_);
    if (regexClass_) {
      if (ch == ']') regexClass_ = false;
    } else if (ch == '[') {
      regexClass_ = true;
    } else if (ch == '/') {
      state_ = State::code;
      last_ = ')';
    }
    return pos + 1;
  }

  std::string_view text_;
  const Language& language_;
  // The C family and its kin: none of the rules of other markers apply.
  bool isSlashLanguage_ = language_.comments.lineMarker == slashComments.lineMarker;
  std::size_t lineStart_ = 0;
  std::size_t commentAt_ = 0;          // where the current line comment starts
  LineBound lineBound_ = LineBound::none;
  std::vector<HereDocument> hereDocuments_;         // bodies being read, in order
  std::size_t hereDocumentsRead_ = 0;               // of them, those whose terminator came
  std::size_t unclosedQuoteLine_ = npos;            // where a here-document's quote found no end
  std::size_t unclosedQuoteFrom_ = 0;
  char unclosedQuote_ = 0;
  std::vector<HereDocument> pendingHereDocuments_;  // opened on the current line
  std::size_t blockScalarIndent_ = 0;
  std::string_view regionEnd_;
  bool codeContinued_ = false;          // the line before ended in an escaped line end
  bool lastEscapeTookLineEnd_ = false;
  std::vector<std::string_view>* identifiers_;  // where code words go, when wanted
  std::size_t reportedEnd_ = npos;
  std::size_t lineEnd_ = 0;  // the current line's end, before any '\r'
  State state_ = State::code;
  Literal literal_;
  std::size_t depth_ = 0;            // block comments open, when they nest
  Block block_;
  // Docstrings: brackets open, whether the statement that starts the line
  // opens a header, whether a line of code was seen since the last line
  // end, whether a docstring may come next (a module's starts so), and the
  // quotes of the one open.
  std::size_t bracketDepth_ = 0;
  bool header_ = false;
  bool lineHasCode_ = false;
  bool docstringNext_ = true;
  std::string_view docstringQuote_;
  std::vector<PendingLine> pending_;
  std::vector<std::size_t> holes_;   // for each open ${, the braces open inside it
  bool continued_ = false;           // an escape took the line end
  bool regexClass_ = false;          // inside [...] of a regular expression
  std::size_t wordStart_ = 0;
  std::size_t wordEnd_ = npos;       // just past the last identifier or number
  char last_ = ';';                  // the last code character that is not blank
};

// Calls record(facts) for every line of the text, in order.
template <typename Record>
void scanMarkers(std::string_view text, const SourceLanguage* language, Record record) {
  if (language != nullptr) {
    Scanner(text, *language).scan(record);
    return;
  }
  std::size_t begin = 0;
  for (;;) {
    const std::size_t newline = text.find('\n', begin);
    std::string_view line = text.substr(begin, newline == npos ? npos : newline - begin);
    if (line.ends_with('\r')) line.remove_suffix(1);
    record(lineRuleFacts(line, slashComments));
    if (newline == npos) return;
    begin = newline + 1;
  }
}

}  // namespace

LexedLines lexCommentsFrom(std::string_view text, std::size_t begin,
                           std::span<const std::size_t> stops, const SourceLanguage* language) {
  LexedLines lexed;
  // Room for the lines up to the first stop, counted quickly, so that the
  // facts of a large piece are not copied again each time they outgrow it.
  const std::size_t firstStop = stops.empty() ? text.size() : std::max(begin, stops.front());
  lexed.lines.reserve(countLineFeeds(text.substr(begin, firstStop - begin)) + 1);
  auto record = [&](const CommentFacts& facts) { lexed.lines.push_back(facts); };
  if (language != nullptr) {
    lexed.end = Scanner(text, *language).scan(record, begin, stops);
    return lexed;
  }
  // The line rule carries nothing from line to line: the first stop will do.
  // A stop is a line start, so the line feed before it ends the last line.
  const std::size_t end = stops.empty() ? text.size() : stops.front();
  scanMarkers(end == text.size() ? text.substr(begin) : text.substr(begin, end - 1 - begin), nullptr,
              record);
  lexed.end = end;
  return lexed;
}

std::vector<std::string_view> codeWords(std::string_view text, const SourceLanguage& language,
                                        CommentMap* lines) {
  std::vector<std::string_view> words;
  Scanner(text, language, &words).scan([&](const CommentFacts& facts) {
    if (lines != nullptr) lines->push_back(facts);
  });
  return words;
}

CommentMap lexComments(std::string_view text, const SourceLanguage* language) {
  return lexCommentsFrom(text, 0, {}, language).lines;
}

}  // namespace brindlewort
