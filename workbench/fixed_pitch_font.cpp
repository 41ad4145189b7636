#include "workbench/fixed_pitch_font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

namespace brindlewort {

bool hasEqualAdvances(const QFont& font) {
  const QFontMetricsF metrics(font);
  const qreal narrow = metrics.horizontalAdvance(QStringLiteral("i"));
  if (narrow <= 0) return false;
  for (const QString& other : {QStringLiteral("W"), QStringLiteral("m"), QStringLiteral("\u25B2")}) {
    // Hinting may round one glyph differently by a fraction of a pixel.
    if (qAbs(metrics.horizontalAdvance(other) - narrow) > 0.05 * narrow) return false;
  }
  return true;
}

QFont ensureFixedPitch(QFont font) {
  if (hasEqualAdvances(font)) return font;
  // The generic name first (the desktop's choice), then families Debian
  // ships that draw "▲" at the width of a letter.
  for (const QString& family : {QStringLiteral("monospace"), QStringLiteral("DejaVu Sans Mono"),
                                QStringLiteral("Noto Sans Mono"), QStringLiteral("Noto Mono"),
                                QStringLiteral("Liberation Mono")}) {
    QFont candidate = font;
    candidate.setFamilies(QStringList{family});
    candidate.setStyleHint(QFont::Monospace);
    candidate.setFixedPitch(true);
    if (hasEqualAdvances(candidate)) return candidate;
  }
  // Nothing better is installed: ask for any monospaced face.
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
