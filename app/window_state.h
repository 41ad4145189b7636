#pragma once

// Where the main window was and how big, kept between runs in a small file
// of the app's own under the XDG state folder. The shared settings file is
// not the place: it holds only what every program of the group reads.

#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace brindlewort {

// $XDG_STATE_HOME/brindlewort/window.ini, else ~/.local/state/brindlewort/window.ini.
QString windowStateFilePath();

// Puts the window where it was last closed; false when nothing usable was
// saved (no file, or a file from a different build of Qt).
bool restoreWindowGeometry(QWidget& window, const QString& path = windowStateFilePath());
// Best effort: a window state that cannot be written is only not remembered.
void saveWindowGeometry(const QWidget& window, const QString& path = windowStateFilePath());

// The first window's size: the one preferred, shrunk to fit the screen's
// free area with room around it (2× scaling halves that area).
QSize firstWindowSize(QSize preferred, const QRect& availableGeometry);

}  // namespace brindlewort
