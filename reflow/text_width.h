#pragma once

// How wide text is on a line. Editors and terminals show columns: a tab
// advances to the next tab stop and an East Asian wide character takes two.
// The workbench counts characters (grapheme clusters) instead, as its
// length limit always has.

#include <cstddef>
#include <string_view>

namespace brindlewort {

// Tab stops further apart than this are taken to be this far apart, so that
// no count of columns can overflow, whoever chose the width.
inline constexpr std::size_t maxTabWidth = 1024;

class TextWidth {
 public:
  // Display columns with tab stops every `tabWidth` columns (1 to
  // maxTabWidth; a width outside is taken as the nearest).
  static TextWidth columns(std::size_t tabWidth);
  // Characters: every grapheme cluster counts one, a tab included.
  static TextWidth characters();

  // The column reached after `text` when it starts at `column`.
  std::size_t advance(std::size_t column, std::string_view text) const;
  // The width of `text` starting at column 0.
  std::size_t of(std::string_view text) const { return advance(0, text); }
  // Whether `text` takes at most `width` columns. Text is never wider than
  // its bytes, but for its tabs, so most lines need no measuring.
  bool fitsIn(std::string_view text, std::size_t width) const {
    return (text.size() <= width && text.find('\t') == std::string_view::npos) || of(text) <= width;
  }

 private:
  TextWidth(bool displayColumns, std::size_t tabWidth)
      : displayColumns_(displayColumns), tabWidth_(tabWidth) {}
  bool displayColumns_;
  std::size_t tabWidth_;
};

}  // namespace brindlewort
