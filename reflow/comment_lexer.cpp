#include "reflow/comment_lexer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

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
  };

  // Gives the block's lines their facts and hands them on, in order.
  template <typename Record>
  void finishBlock(Record& record) {
    if (block_.clean && pending_.size() >= 2) markBlockLines();
    if (block_.clean && pending_.size() == 1) markOneLineBlock();
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
    // decoration, or when its closer stands one column in (" */"): read
    // from all its lines, so that joining some of them keeps it so.
    const char decoration = syntax.blockDecoration;
    bool decorated = false;
    if (decoration != 0) {
      for (std::size_t i = 1; i < closerLine && !decorated; ++i) decorated = opensWith(pending_[i], decoration);
      const PendingLine& closer = pending_[closerLine];
      decorated = decorated ||
                  (closerLine > 0 && opensWith(closer, decoration) &&
                   text_.substr(closer.begin, closer.end - closer.begin).find_first_not_of(" \t") == lead + 1);
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
        fact = decorationFacts(text_.substr(line.begin, textEnd - line.begin), openerLead, block_.openerSize,
                               decorated);
        textBegin = line.begin + fact.markerAt + fact.markerSize;
      }
      fact.decoration = decoration;
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
      if (i == closerLine) fact.closerSize = static_cast<std::uint8_t>(syntax.blockClose.size());
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
    line.facts.closerSize = static_cast<std::uint8_t>(syntax.blockClose.size());
    line.facts.decoration = decoration;
    line.facts.decorated = decoration != 0;
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
           (!language_.regexLiterals || operandExpected());
  }

  CommentFacts scanLine(std::size_t begin, std::size_t end) {
    lineStart_ = begin;
    lineEnd_ = end > begin && text_[end - 1] == '\r' ? end - 1 : end;
    CommentFacts marker;
    std::size_t pos = begin;
    // A line comment carried over by a backslash still makes a marker line
    // a comment line: its text is commented out either way.
    if (state_ == State::code || state_ == State::lineComment) {
      marker = lineRuleFacts(text_.substr(begin, lineEnd_ - begin), language_.comments);
      if (marker.isWholeLine()) state_ = State::lineComment;
    }
    while (pos < lineEnd_) pos = step(pos);
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
        state_ = State::code;
        break;
      case State::code:
      case State::blockComment:
        break;
    }
    continued_ = false;
    return marker;
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
    if (opensBlock(pos)) return openBlock(pos);
    switch (ch) {
      case '/':
        return slash(pos);
      case '"':
        return doubleQuote(pos);
      case '\'':
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

  std::size_t slash(std::size_t pos) {
    const char next = at(pos + 1);
    if (next == '/') {
      state_ = State::lineComment;
      return lineEnd_;
    }
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
    if (isWordByte(last_)) return expectsOperand(text_.substr(wordStart_, wordEnd_ - wordStart_));
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
    const bool alone = text_.substr(lineStart_, pos - lineStart_).find_first_not_of(" \t") == npos;
    if (!block_.open) {
      block_.open = true;
      block_.openerAt = pos;
      block_.openerSize = size;
      block_.clean = alone;
    } else {
      block_.clean = false;  // a second block on the line where one closed
    }
    state_ = State::blockComment;
    depth_ = 1;
    return pos + size;
  }

  std::size_t inBlockComment(std::size_t pos) {
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

  // The closer at pos ends the block; code after it on the line keeps the
  // block as it is.
  std::size_t closeBlock(std::size_t pos) {
    state_ = State::code;
    const std::size_t end = pos + language_.comments.blockClose.size();
    block_.closerAt = pos;
    if (text_.substr(end, lineEnd_ - end).find_first_not_of(" \t") != npos) block_.clean = false;
    return end;
  }

  std::size_t inLiteral(std::size_t pos) {
    const Literal& literal = literal_;
    const char ch = text_[pos];
    if (ch == '\\' && literal.escapes) return escape(pos);
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
    const std::size_t hashes = countOf(escaped, '#', literal_.hashes);
    if (hashes < literal_.hashes) return escaped + hashes;
    escaped += hashes;
    if (escaped >= lineEnd_) {
      continued_ = true;
      return lineEnd_;
    }
    return escaped + 1;
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
  std::vector<std::string_view>* identifiers_;  // where code words go, when wanted
  std::size_t reportedEnd_ = npos;
  std::size_t lineStart_ = 0;
  std::size_t lineEnd_ = 0;  // the current line's end, before any '\r'
  State state_ = State::code;
  Literal literal_;
  std::size_t depth_ = 0;            // block comments open, when they nest
  Block block_;
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

std::vector<std::string_view> codeWords(std::string_view text, const SourceLanguage& language) {
  std::vector<std::string_view> words;
  Scanner(text, language, &words).scan([](const CommentFacts&) {});
  return words;
}

CommentMap lexComments(std::string_view text, const SourceLanguage* language) {
  return lexCommentsFrom(text, 0, {}, language).lines;
}

}  // namespace brindlewort
