#pragma once

// The bridge between the text view's UTF-16 text and the engine's UTF-8
// line lists: split at every line feed, join with single line feeds.

#include <QString>
#include <string>
#include <vector>

namespace brindlewort {

std::vector<std::string> linesOfText(const QString& text);
QString textOfLines(const std::vector<std::string>& lines);

}  // namespace brindlewort
