#pragma once

// Shared pieces of the workbench tests: standard output capture and a
// controller showing editable text.

#include <QComboBox>
#include <QPlainTextEdit>
#include <QString>
#include <QTemporaryFile>
#include <QTextDocument>
#include <cstdio>
#include <unistd.h>

#include "workbench/samples_view_controller.h"

namespace brindlewort::testing {

// Collects standard output through its file descriptor, as the validation
// line bypasses Qt, until text() is called.
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

// Selects an editable sample and puts `text` in the view with an empty
// undo history.
inline void showEditableText(SamplesViewController& controller, const QString& text) {
  controller.popupButton()->setCurrentIndex(2);
  controller.showSample();
  controller.textView()->setPlainText(text);
}

// The undo steps the user can take; they are redone afterwards.
inline int undoSteps(const SamplesViewController& controller) {
  QTextDocument* document = controller.textView()->document();
  int steps = 0;
  for (; document->isUndoAvailable() && steps < 1000; ++steps) document->undo();
  for (int i = 0; i < steps; ++i) document->redo();
  return steps;
}

}  // namespace brindlewort::testing
