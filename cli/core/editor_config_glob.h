#pragma once

// The section names of .editorconfig files: globs with *, **, ?, [...],
// [!...], {a,b} and {n..m}, matched against paths below the file's folder.
// A repository chooses them, so no pattern may cost more than its length
// times the path's: they run on a small automaton, never by backtracking.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brindlewort::cli {

// Longer section names are taken to match nothing.
inline constexpr std::size_t maxSectionNameBytes = 4096;

class SectionGlob {
 public:
  explicit SectionGlob(std::string_view sectionName);

  // Whether the section applies to the file at `relativePath`: its path
  // below the .editorconfig's folder, '/'-separated, without a leading '/'.
  // A name without '/' applies in every folder below; one with '/' is
  // anchored at the file's folder.
  bool matches(std::string_view relativePath) const;

  // One step of the automaton.
  struct Step {
    enum class Kind { byte, byteSet, number, split, jump, accept };
    Kind kind = Kind::accept;
    unsigned char byte = 0;
    std::size_t set = 0;                // for byteSet: an index into sets_
    std::size_t next = 0, other = 0;    // for split: both; for jump: next
    long long low = 0, high = 0;        // for number: the range
  };

 private:
  bool run(std::string_view subject) const;

  std::vector<Step> steps_;
  std::vector<std::vector<bool>> sets_;
  bool valid_ = false;
  // The name can only match within one path component: it is matched
  // against the file's name alone.
  bool nameOnly_ = false;
};

}  // namespace brindlewort::cli
