#include "workbench/line_widening.h"

#include <algorithm>

namespace brindlewort {

bool isNewline(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 0x000A && u <= 0x000D) || u == 0x0085 || u == 0x2028 || u == 0x2029;
}

qsizetype lineStart(QStringView text, qsizetype position) {
  qsizetype p = std::min(position, text.size());
  while (p > 0) {
    if (isNewline(text[p - 1])) return p;
    --p;
  }
  return 0;
}

qsizetype lineEnd(QStringView text, TextRange selection) {
  const qsizetype n = text.size();
  const qsizetype e = std::clamp<qsizetype>(selection.end(), 0, n);
  if (selection.length > 0 && e > 0 && text[e - 1] == u'\n') return e;
  // The search covers the last character too and stops at the text's end,
  // so the final line is taken in whole and nothing past it is read.
  for (qsizetype i = e; i < n; ++i) {
    if (isNewline(text[i])) return i + 1;
  }
  return n;
}

TextRange wholeLines(QStringView text, TextRange selection) {
  const qsizetype start = lineStart(text, selection.start);
  const qsizetype end = std::max(start, lineEnd(text, selection));
  return {start, end - start};
}

}  // namespace brindlewort
