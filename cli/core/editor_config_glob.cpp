#include "cli/core/editor_config_glob.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>

// The name is parsed into a small tree, which becomes a nondeterministic
// automaton (one step per character of the name, about). Matching follows
// every state at once along the path, so a path costs at most its length
// times the number of steps, whatever the name.

namespace brindlewort::cli {
namespace {

using Step = SectionGlob::Step;
using ByteSet = std::vector<bool>;

// Brace groups nest no deeper than this in any real name.
constexpr std::size_t maxBraceNesting = 64;
// A bound on one match's work, far above what any real name and path need.
constexpr std::size_t maxMatchWork = std::size_t{1} << 22;

ByteSet allBytesBut(std::string_view excluded) {
  ByteSet set(256, true);
  for (const char c : excluded) set[static_cast<unsigned char>(c)] = false;
  return set;
}

struct Node {
  enum class Kind { byte, byteSet, repeated, number, sequence, alternatives };
  Kind kind = Kind::sequence;
  unsigned char byte = 0;
  ByteSet set = {};  // byteSet, repeated
  long long low = 0, high = 0;
  std::vector<Node> children = {};  // sequence: its parts; alternatives: one sequence each
};

Node byteNode(char c) { return {.kind = Node::Kind::byte, .byte = static_cast<unsigned char>(c)}; }

class Parser {
 public:
  explicit Parser(std::string_view pattern) : p_(pattern) {
    // Braces group only when they pair up in number; otherwise every brace
    // is an ordinary character.
    std::size_t open = 0, close = 0;
    for (std::size_t i = 0; i < p_.size(); ++i) {
      if (p_[i] == '\\' && i + 1 < p_.size()) {
        ++i;
      } else if (p_[i] == '{') {
        ++open;
      } else if (p_[i] == '}') {
        ++close;
      }
    }
    bracesPair_ = open == close;
  }

  // The whole pattern; nothing when it is malformed (such a name matches
  // nothing).
  std::optional<Node> parse() {
    Node whole = sequence(0);
    if (!valid_ || at_ != p_.size()) return std::nullopt;
    return whole;
  }

 private:
  // Parts up to the end, or inside a group up to its ',' or '}'.
  Node sequence(std::size_t level) {
    Node seq;
    while (valid_ && at_ < p_.size()) {
      const char c = p_[at_];
      if (level > 0 && bracesPair_ && (c == ',' || (c == '}' && !literalClosers_.contains(at_)))) break;
      seq.children.push_back(part(level));
    }
    return seq;
  }

  Node part(std::size_t level) {
    const char c = p_[at_];
    switch (c) {
      case '\\':
        if (at_ + 1 < p_.size()) {
          at_ += 2;
          return byteNode(p_[at_ - 1]);
        }
        ++at_;
        return byteNode('\\');
      case '?':
        ++at_;
        return {.kind = Node::Kind::byteSet, .set = allBytesBut("/")};
      case '*':
        if (at_ + 1 < p_.size() && p_[at_ + 1] == '*') {
          at_ += 2;
          return {.kind = Node::Kind::repeated, .set = allBytesBut("\n")};
        }
        ++at_;
        return {.kind = Node::Kind::repeated, .set = allBytesBut("/")};
      case '[': return bracket();
      case '{': return brace(level);
      case '}':
        if (bracesPair_ && !literalClosers_.contains(at_)) valid_ = false;  // a '}' before its '{'
        ++at_;
        return byteNode('}');
      case '/':
        if (p_.substr(at_, 4) == "/**/") {
          // "a/**/b" takes "a/b" too.
          at_ += 4;
          Node direct{.kind = Node::Kind::sequence, .children = {byteNode('/')}};
          Node deeper{.kind = Node::Kind::sequence,
                      .children = {byteNode('/'), {.kind = Node::Kind::repeated, .set = allBytesBut("\n")},
                                   byteNode('/')}};
          return {.kind = Node::Kind::alternatives, .children = {std::move(direct), std::move(deeper)}};
        }
        ++at_;
        return byteNode('/');
      default: ++at_; return byteNode(c);
    }
  }

  Node bracket() {
    const std::size_t close = p_.find(']', at_);
    const std::size_t slash = p_.find('/', at_);
    // A bracket that holds a '/' is no set: its characters stand for
    // themselves.
    if (slash < close) {
      Node literal;
      const std::size_t end = close == std::string_view::npos ? p_.size() : close + 1;
      for (; at_ < end; ++at_) literal.children.push_back(byteNode(p_[at_]));
      return literal;
    }
    if (close == std::string_view::npos) {
      valid_ = false;
      at_ = p_.size();
      return {};
    }
    ++at_;
    const bool negated = at_ < close && p_[at_] == '!';
    if (negated) ++at_;
    ByteSet set(256, false);
    while (at_ < close) {
      unsigned char first = static_cast<unsigned char>(p_[at_]);
      if (first == '\\' && at_ + 1 < close) first = static_cast<unsigned char>(p_[++at_]);
      ++at_;
      if (at_ + 1 < close && p_[at_] == '-') {
        const auto last = static_cast<unsigned char>(p_[at_ + 1]);
        for (unsigned b = first; b <= last; ++b) set[b] = true;
        at_ += 2;
      } else {
        set[first] = true;
      }
    }
    at_ = close + 1;
    if (negated) set.flip();
    return {.kind = Node::Kind::byteSet, .set = std::move(set)};
  }

  // "{a,b}" or "{3..12}"; "{word}" without a comma stands for itself.
  Node brace(std::size_t level) {
    if (!bracesPair_) {
      ++at_;
      return byteNode('{');
    }
    const std::size_t close = p_.find('}', at_ + 1);
    const std::size_t comma = p_.find(',', at_ + 1);
    if (close != std::string_view::npos && comma > close) {
      if (std::optional<Node> range = numberRange(p_.substr(at_ + 1, close - at_ - 1))) {
        at_ = close + 1;
        return *std::move(range);
      }
      literalClosers_.insert(close);
      ++at_;
      return byteNode('{');
    }
    if (level + 1 > maxBraceNesting) {
      valid_ = false;
      at_ = p_.size();
      return {};
    }
    ++at_;
    Node group{.kind = Node::Kind::alternatives};
    for (;;) {
      group.children.push_back(sequence(level + 1));
      if (!valid_ || at_ >= p_.size()) {
        valid_ = false;
        return {};
      }
      if (p_[at_++] == '}') return group;
    }
  }

  // "3..12", "-5..5".
  static std::optional<Node> numberRange(std::string_view text) {
    const std::size_t dots = text.find("..");
    if (dots == std::string_view::npos) return std::nullopt;
    const auto low = integer(text.substr(0, dots));
    const auto high = integer(text.substr(dots + 2));
    if (!low || !high) return std::nullopt;
    return Node{.kind = Node::Kind::number, .low = *low, .high = *high};
  }

  static std::optional<long long> integer(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
      negative = text[0] == '-';
      text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 9) return std::nullopt;
    long long value = 0;
    for (const char c : text) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
  }

  std::string_view p_;
  std::size_t at_ = 0;
  bool bracesPair_ = true;
  bool valid_ = true;
  std::set<std::size_t> literalClosers_;  // the '}' of "{word}"
};

class Emitter {
 public:
  Emitter(std::vector<Step>& steps, std::vector<ByteSet>& sets) : steps_(steps), sets_(sets) {}

  void emit(const Node& node) {
    switch (node.kind) {
      case Node::Kind::byte: steps_.push_back({.kind = Step::Kind::byte, .byte = node.byte}); break;
      case Node::Kind::byteSet: steps_.push_back({.kind = Step::Kind::byteSet, .set = setIndex(node.set)}); break;
      case Node::Kind::number:
        steps_.push_back({.kind = Step::Kind::number, .low = node.low, .high = node.high});
        break;
      case Node::Kind::repeated: {
        const std::size_t loop = steps_.size();
        steps_.push_back({.kind = Step::Kind::split, .next = loop + 1, .other = loop + 3});
        steps_.push_back({.kind = Step::Kind::byteSet, .set = setIndex(node.set)});
        steps_.push_back({.kind = Step::Kind::jump, .next = loop});
        break;
      }
      case Node::Kind::sequence:
        for (const Node& child : node.children) emit(child);
        break;
      case Node::Kind::alternatives: {
        std::vector<std::size_t> jumpsToEnd;
        for (std::size_t i = 0; i < node.children.size(); ++i) {
          std::size_t split = 0;
          const bool last = i + 1 == node.children.size();
          if (!last) {
            split = steps_.size();
            steps_.push_back({.kind = Step::Kind::split, .next = split + 1});
          }
          emit(node.children[i]);
          if (!last) {
            jumpsToEnd.push_back(steps_.size());
            steps_.push_back({.kind = Step::Kind::jump});
            steps_[split].other = steps_.size();
          }
        }
        for (const std::size_t jump : jumpsToEnd) steps_[jump].next = steps_.size();
        break;
      }
    }
  }

 private:
  std::size_t setIndex(const ByteSet& set) {
    sets_.push_back(set);
    return sets_.size() - 1;
  }

  std::vector<Step>& steps_;
  std::vector<ByteSet>& sets_;
};

// Where a number that starts at `at` ends: an optional sign, then digits
// (no leading zero without a sign); nothing when none starts there.
std::optional<std::pair<std::size_t, long long>> numberAt(std::string_view text, std::size_t at) {
  std::size_t i = at;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digits = i;
  long long value = 0;
  bool tooLong = false;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    if (i - digits >= 18) tooLong = true;
    if (!tooLong) value = value * 10 + (text[i] - '0');
    ++i;
  }
  if (i == digits || tooLong) return std::nullopt;
  if (digits == at && text[digits] == '0') return std::nullopt;
  return std::pair{i, negative ? -value : value};
}

}  // namespace

SectionGlob::SectionGlob(std::string_view sectionName) {
  if (sectionName.size() > maxSectionNameBytes) return;
  // A name without '/' applies in every folder below: "/**/" goes in front.
  // When it cannot match a '/' itself, only the file's name can match it,
  // so that is all it is matched against.
  const bool anywhere = sectionName.find('/') == std::string_view::npos;
  std::string pattern = anywhere ? std::string(sectionName)
                        : sectionName.starts_with('/') ? std::string(sectionName)
                                                       : "/" + std::string(sectionName);
  std::optional<Node> tree = Parser(pattern).parse();
  if (!tree) return;
  Emitter(steps_, sets_).emit(*tree);
  bool slashPossible = false;
  for (const Step& step : steps_) {
    if ((step.kind == Step::Kind::byte && step.byte == '/') ||
        (step.kind == Step::Kind::byteSet && sets_[step.set]['/'])) {
      slashPossible = true;
    }
  }
  if (anywhere && slashPossible) {
    steps_.clear();
    sets_.clear();
    pattern = "/**/" + pattern;
    tree = Parser(pattern).parse();
    if (!tree) return;
    Emitter(steps_, sets_).emit(*tree);
  }
  nameOnly_ = anywhere && !slashPossible;
  steps_.push_back({.kind = Step::Kind::accept});
  valid_ = true;
}

bool SectionGlob::matches(std::string_view relativePath) const {
  if (!valid_) return false;
  if (nameOnly_) return run(relativePath.substr(relativePath.rfind('/') + 1));
  return run("/" + std::string(relativePath));
}

bool SectionGlob::run(std::string_view subject) const {
  const std::size_t size = subject.size();
  std::vector<std::size_t> seenAt(steps_.size(), SIZE_MAX);
  std::vector<std::size_t> seeds{0}, nextSeeds, stack, live;
  // Numbers jump ahead: the states they reach wait for their position.
  std::vector<std::vector<std::size_t>> waiting;
  std::size_t waitingBeyond = 0;  // the furthest position a state waits for
  std::size_t work = 0;
  for (std::size_t at = 0; at <= size; ++at) {
    stack = seeds;
    if (at < waiting.size()) stack.insert(stack.end(), waiting[at].begin(), waiting[at].end());
    live.clear();
    while (!stack.empty()) {
      const std::size_t s = stack.back();
      stack.pop_back();
      if (seenAt[s] == at) continue;
      seenAt[s] = at;
      if (++work > maxMatchWork) return false;
      const Step& step = steps_[s];
      if (step.kind == Step::Kind::split) {
        stack.push_back(step.other);
        stack.push_back(step.next);
      } else if (step.kind == Step::Kind::jump) {
        stack.push_back(step.next);
      } else {
        live.push_back(s);
      }
    }
    nextSeeds.clear();
    for (const std::size_t s : live) {
      const Step& step = steps_[s];
      switch (step.kind) {
        case Step::Kind::accept:
          if (at == size) return true;
          break;
        case Step::Kind::byte:
          if (at < size && static_cast<unsigned char>(subject[at]) == step.byte) nextSeeds.push_back(s + 1);
          break;
        case Step::Kind::byteSet:
          if (at < size && sets_[step.set][static_cast<unsigned char>(subject[at])]) nextSeeds.push_back(s + 1);
          break;
        case Step::Kind::number:
          if (const auto number = numberAt(subject, at);
              number && number->second >= step.low && number->second <= step.high) {
            if (waiting.size() <= number->first) waiting.resize(number->first + 1);
            waiting[number->first].push_back(s + 1);
            waitingBeyond = std::max(waitingBeyond, number->first);
          }
          break;
        default: break;
      }
    }
    seeds.swap(nextSeeds);
    if (seeds.empty() && waitingBeyond <= at) return false;
  }
  return false;
}

}  // namespace brindlewort::cli
