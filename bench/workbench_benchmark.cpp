// Times the workbench's wrap command on a 20,000-line document: the engine,
// the replacement in the text view as one undoable edit, the recolouring
// and the repaint that follows. In the same run it times two peers on the
// same text: the engine alone, and Qt putting the wrapped text into a bare
// QPlainTextEdit with setPlainText (no undo, no colours). Prints medians.
//
// Usage: workbench_benchmark [--runs N] [--lines N]   (runs offscreen)

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/rewrap.h"
#include "median.h"
#include "settings/shared_settings.h"
#include "workbench/samples_view_controller.h"

namespace {

using Clock = std::chrono::steady_clock;
using brindlewort::bench::median;

const char* const vocabulary[] = {
    "the",   "parser", "returns", "a",      "list",   "of",     "tokens", "when",  "input",  "is",
    "valid", "and",    "throws",  "an",     "error",  "this",   "must",   "be",    "called", "on",
    "main",  "thread", "because", "it",     "caches", "values", "café",   "naïve", "42",     "with",
};

// Unwrapped comment paragraphs (one long line each) between code lines, in
// the proportions of a well-commented source file.
QString makeDocument(int lineCount) {
  std::mt19937 random(7);
  QString text;
  for (int line = 0; line < lineCount; ++line) {
    if (line > 0) text += u'\n';
    switch (random() % 4) {
      case 0: {
        std::string comment = "    //";
        const std::size_t words = 20 + random() % 40;
        for (std::size_t w = 0; w < words; ++w) {
          comment += ' ';
          comment += vocabulary[random() % (sizeof vocabulary / sizeof *vocabulary)];
        }
        text += QString::fromStdString(comment);
        break;
      }
      case 1: text += QStringLiteral("    let value%1 = compute(%1, cache: cache)").arg(line); break;
      case 2: text += QStringLiteral("    /// - Parameter item%1: the item to store.").arg(line); break;
      default: text += QString(); break;
    }
  }
  return text;
}

// The bundled "The Basics" sample repeated to the line count: the prose and
// code of a real file, paragraphs unwrapped as the sample ships them.
QString repeatedSample(int lineCount) {
  QFile file(QStringLiteral(":/Sample Files/The Basics.txt"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QStringList sample = QString::fromUtf8(file.readAll()).split(u'\n');
  QStringList lines;
  while (lines.size() < lineCount) lines.append(sample.at(lines.size() % sample.size()));
  return lines.join(u'\n');
}

double timeMs(const std::function<void()>& prepare, const std::function<void()>& work, int runs) {
  std::vector<double> samples;
  for (int run = 0; run < runs; ++run) {
    prepare();
    const auto start = Clock::now();
    work();
    samples.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  return median(samples);
}

}  // namespace

int main(int argc, char* argv[]) {
  int runs = 9;
  int lines = 20000;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--lines") == 0) lines = std::max(1, std::atoi(argv[i + 1]));
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (!brindlewort::SharedSettings::shared().setMaxCommentLength(80).ok()) return 2;

  std::printf("workbench_benchmark: median of %d runs, maximum comment length 80\n", runs);
  const QString documents[] = {makeDocument(lines), repeatedSample(lines)};
  const char* names[] = {"generated, comment-dense", "\"The Basics\" repeated"};
  for (int d = 0; d < 2; ++d) {
    const QString& document = documents[d];
    brindlewort::SamplesViewController workbench;
    workbench.resize(900, 700);
    workbench.show();
    workbench.popupButton()->setCurrentIndex(2);
    workbench.showSample();
    auto loadDocument = [&] {
      workbench.textView()->setPlainText(document);
      QApplication::processEvents();
    };
    const double wrapMs = timeMs(loadDocument, [&] {
      workbench.wrap();
      QApplication::processEvents();  // the repaint belongs to the command
    }, runs);
    const QString wrapped = workbench.wholeText();
    const int wrappedLines = static_cast<int>(wrapped.count(u'\n')) + 1;

    const double unwrapMs = timeMs([&] {
      workbench.textView()->setPlainText(wrapped);
      QApplication::processEvents();
    }, [&] {
      workbench.unwrap();
      QApplication::processEvents();
    }, runs);

    const double recolourMs = timeMs([] {}, [&] {
      QPalette palette = workbench.palette();
      const bool dark = palette.color(QPalette::Window).lightness() < 128;
      palette.setColor(QPalette::Window, dark ? QColor(240, 240, 240) : QColor(30, 30, 30));
      workbench.setPalette(palette);  // a full recolouring pass
    }, runs);

    const std::vector<std::string> sourceLines = brindlewort::splitLines(document.toStdString());
    const double engineMs = timeMs([] {}, [&] {
      volatile std::size_t n = brindlewort::rewrapLines(sourceLines, 80).size();
      (void)n;
    }, runs);

    QPlainTextEdit bare;
    bare.resize(900, 700);
    bare.show();
    const double bareMs = timeMs([&] { bare.clear(); QApplication::processEvents(); }, [&] {
      bare.setPlainText(wrapped);
      QApplication::processEvents();
    }, runs);

    std::printf("\n%s: %d lines in, %d lines out\n", names[d], lines, wrappedLines);
    std::printf("  workbench wrap (engine + undoable edit + colour + paint)   %8.1f ms  %s\n", wrapMs,
                wrapMs < 150.0 ? "(under 150 ms)" : "(over 150 ms)");
    std::printf("  workbench unwrap of the wrapped text                       %8.1f ms\n", unwrapMs);
    std::printf("  full recolouring after a palette change                    %8.1f ms\n", recolourMs);
    std::printf("  peer: engine rewrapLines alone                             %8.1f ms\n", engineMs);
    std::printf("  peer: QPlainTextEdit::setPlainText of the result           %8.1f ms\n", bareMs);
    std::printf("  workbench wrap / setPlainText peer                         %8.2fx\n", wrapMs / bareMs);
  }
  return 0;
}
