#include "workbench/fixed_pitch_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace brindlewort {

QFont ensureFixedPitch(QFont font) {
  // QFontInfo asks what was really matched: a desktop may name a
  // proportional family as its fixed font.
  if (QFontInfo(font).fixedPitch()) return font;
  font.setFamilies(QStringList{QStringLiteral("monospace")});
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  return font;
}

QFont workbenchFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(12.0);
  return ensureFixedPitch(font);
}

}  // namespace brindlewort
