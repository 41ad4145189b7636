#pragma once

// The text view's font. The "▲" marks of the spelling and grammar checks
// line up with the characters above them only when every character has the
// same advance.

#include <QFont>

namespace brindlewort {

// Whether "i", "W", "m" and "▲" take the same width in this font, fallback
// glyphs included. Font files do not always declare themselves fixed pitch
// (some monospaced families do not), so the advances are what counts.
bool hasEqualAdvances(const QFont& font);

// The font itself when its advances are equal, else the first monospaced
// family that has them, at the same size.
QFont ensureFixedPitch(QFont font);

// The system's fixed font at the workbench's size, made fixed pitch.
QFont workbenchFont();

}  // namespace brindlewort
