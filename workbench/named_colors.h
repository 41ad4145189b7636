#pragma once

// The workbench's named colours, each with a value for light and one for
// dark palettes.

#include <QColor>
#include <QPalette>
#include <QString>
#include <optional>

namespace brindlewort {

inline constexpr char commentColorName[] = "CommentColor";
inline constexpr char nonCommentColorName[] = "NonCommentColor";

// A palette counts as dark when its window colour is.
bool isDarkPalette(const QPalette& palette);

// The colour of that name for the palette; nothing for an unknown name.
std::optional<QColor> namedColor(const QString& name, const QPalette& palette);

}  // namespace brindlewort
