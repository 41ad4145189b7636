#include "workbench/line_lists.h"

#include "engine/rewrap.h"

namespace brindlewort {

std::vector<std::string> linesOfText(const QString& text) {
  return splitLines(text.toStdString());
}

QString textOfLines(const std::vector<std::string>& lines) {
  return QString::fromStdString(joinLines(lines));
}

}  // namespace brindlewort
