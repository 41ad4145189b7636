// Build-time tool: turns the user manual's HTML source into the PDF that
// the Help menu opens. Usage: brindlewort_manual_generator SOURCE.html OUT.pdf

#include <QFile>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SOURCE.html OUTPUT.pdf\n", argv[0]);
    return 2;
  }
  QGuiApplication application(argc, argv);
  const QString sourcePath = QString::fromLocal8Bit(argv[1]);
  const QString outputPath = QString::fromLocal8Bit(argv[2]);

  QFile source(sourcePath);
  if (!source.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  QTextDocument document;
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(10.5);
  document.setDefaultFont(font);
  document.setDefaultStyleSheet(QStringLiteral(
      "h1 { font-size: 22pt; } h2 { font-size: 15pt; margin-top: 14px; } "
      "code { font-family: 'DejaVu Sans Mono'; } th { background-color: #e8e8e8; }"));
  document.setHtml(QString::fromUtf8(source.readAll()));

  // Written to a temporary file and renamed, so a failed run never leaves a
  // half-written manual behind.
  QSaveFile output(outputPath);
  if (!output.open(QIODevice::WriteOnly)) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  {
    QPdfWriter writer(&output);
    writer.setTitle(QStringLiteral("User Manual"));
    writer.setCreator(QStringLiteral("Brindlewort"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
    document.print(&writer);
  }
  if (!output.commit()) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
