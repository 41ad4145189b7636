#pragma once

// The text view's font. The "▲" marks of the spelling and grammar checks
// line up with the characters above them only in a fixed-pitch font.

#include <QFont>

namespace brindlewort {

// The font itself when it is fixed pitch, else the system's monospace
// family at the same size.
QFont ensureFixedPitch(QFont font);

// The system's fixed font at the workbench's size, made fixed pitch.
QFont workbenchFont();

}  // namespace brindlewort
