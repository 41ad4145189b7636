#pragma once

// Shared pieces of the workbench tests: a spell checker with a fixed list
// of wrong words, stdout capture, and a controller showing editable text.

#include <QComboBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QTemporaryFile>
#include <QTextDocument>
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "proofreading/spell_checker.h"
#include "workbench/samples_view_controller.h"

namespace brindlewort::testing {

// Flags every word of its list, wherever it appears; ranges in UTF-16 units.
class ListSpellChecker final : public SpellChecker {
 public:
  explicit ListSpellChecker(QSet<QString> wrong) : wrong_(std::move(wrong)) {}
  std::vector<TextCheckingResult> check(std::string_view text) const override {
    std::vector<TextCheckingResult> results;
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    static const QRegularExpression word(QStringLiteral("\\w+"));
    for (auto it = word.globalMatch(s); it.hasNext();) {
      const QRegularExpressionMatch m = it.next();
      if (wrong_.contains(m.captured())) results.push_back({spellingResultType, m.capturedStart(), m.capturedLength()});
    }
    return results;
  }

 private:
  QSet<QString> wrong_;
};

// Collects what is written to standard output between construction and
// text(), through the file descriptor, as the validation line bypasses Qt.
class StdoutCapture {
 public:
  StdoutCapture() {
    file_.open();
    std::fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    dup2(file_.handle(), STDOUT_FILENO);
  }
  ~StdoutCapture() { restore(); }
  QString text() {
    restore();
    file_.seek(0);
    return QString::fromUtf8(file_.readAll());
  }

 private:
  void restore() {
    if (saved_ < 0) return;
    std::fflush(stdout);
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
    saved_ = -1;
  }
  QTemporaryFile file_;
  int saved_ = -1;
};

inline constexpr int basicsIndex = 2;

// Selects an editable sample and puts `text` in the view with an empty
// undo history.
inline void showEditableText(SamplesViewController& controller, const QString& text) {
  controller.popupButton()->setCurrentIndex(basicsIndex);
  controller.showSample();
  controller.textView()->setPlainText(text);
}

// The number of undo steps the user can take: each undo() takes back one
// edit block. The steps are redone afterwards, leaving the text as it was.
inline int undoSteps(const SamplesViewController& controller) {
  QTextDocument* document = controller.textView()->document();
  int steps = 0;
  while (document->isUndoAvailable() && steps < 1000) {
    document->undo();
    ++steps;
  }
  for (int i = 0; i < steps; ++i) document->redo();
  return steps;
}

}  // namespace brindlewort::testing
