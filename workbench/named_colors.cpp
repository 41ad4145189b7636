#include "workbench/named_colors.h"

#include <array>

namespace brindlewort {

namespace {

struct NamedColor {
  const char* name;
  QRgb light;
  QRgb dark;
};

// Comments in a calm green, code in near-black or near-white, so a re-flowed
// paragraph stands out from the code around it in either appearance.
constexpr std::array<NamedColor, 2> namedColors{{
    {commentColorName, qRgb(0x1f, 0x7a, 0x3a), qRgb(0x7e, 0xd3, 0x8f)},
    {nonCommentColorName, qRgb(0x1d, 0x1d, 0x1f), qRgb(0xe8, 0xe8, 0xea)},
}};

}  // namespace

bool isDarkPalette(const QPalette& palette) {
  return palette.color(QPalette::Window).lightness() < 128;
}

std::optional<QColor> namedColor(const QString& name, const QPalette& palette) {
  const bool dark = isDarkPalette(palette);
  for (const NamedColor& color : namedColors) {
    if (name == QLatin1String(color.name)) return QColor::fromRgb(dark ? color.dark : color.light);
  }
  return std::nullopt;
}

}  // namespace brindlewort
