// Line edits: applied back to front to the old text they must give exactly
// the new lines joined with line feeds, touching only what changed.

#include <QTest>
#include <random>

#include "engine/rewrap.h"
#include "workbench/line_edits.h"

using namespace brindlewort;

namespace {

QString applied(QString text, const std::vector<TextEdit>& edits) {
  for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) text.replace(edit->start, edit->length, edit->replacement);
  return text;
}

std::vector<std::string> lines(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

}  // namespace

class LineEditsTest : public QObject {
  Q_OBJECT
 private slots:
  void editsGiveTheNewText_data() {
    QTest::addColumn<std::vector<std::string>>("before");
    QTest::addColumn<std::vector<std::string>>("after");
    QTest::addColumn<int>("edits");
    QTest::newRow("unchanged") << lines({"a", "b"}) << lines({"a", "b"}) << 0;
    QTest::newRow("one line split") << lines({"x", "// a b", "y"}) << lines({"x", "// a", "// b", "y"}) << 1;
    QTest::newRow("lines joined") << lines({"// a", "// b", ""}) << lines({"// a b", ""}) << 1;
    QTest::newRow("inserted after the last") << lines({"// teh"}) << lines({"// teh", "// ▲▲▲"}) << 1;
    QTest::newRow("inserted before the first") << lines({"a"}) << lines({"b", "a"}) << 1;
    QTest::newRow("last lines removed") << lines({"a", "b", "c"}) << lines({"a"}) << 1;
    QTest::newRow("first lines removed") << lines({"a", "b", "c"}) << lines({"c"}) << 1;
    QTest::newRow("everything different") << lines({"a", "b"}) << lines({"c"}) << 1;
    QTest::newRow("to nothing") << lines({"a", "b"}) << lines({}) << 1;
    QTest::newRow("two places") << lines({"// x y", "code", "// p q"}) << lines({"// x", "// y", "code", "// p", "// q"}) << 2;
    QTest::newRow("trailing empty line kept") << lines({"// a b", ""}) << lines({"// a", "// b", ""}) << 1;
    QTest::newRow("non-BMP text") << lines({"// \xf0\x9f\x98\x80 a", "z"}) << lines({"// \xf0\x9f\x98\x80", "// a", "z"}) << 1;
  }
  void editsGiveTheNewText() {
    QFETCH(std::vector<std::string>, before);
    QFETCH(std::vector<std::string>, after);
    QFETCH(int, edits);
    const QString text = QString::fromStdString(joinLines(before));
    const std::vector<TextEdit> result = lineEditsBetween(text, before, after);
    QCOMPARE(applied(text, result), QString::fromStdString(joinLines(after)));
    QCOMPARE(static_cast<int>(result.size()), edits);
  }

  // Random line lists drawn from a tiny alphabet, so that equal lines and
  // false matches are common: the result must still be exact.
  void randomListsAreExact() {
    std::mt19937 random(11);
    const char* alphabet[] = {"", "a", "b", "// c", "// d e"};
    for (int round = 0; round < 3000; ++round) {
      auto make = [&] {
        std::vector<std::string> list(1 + random() % 12);
        for (std::string& line : list) line = alphabet[random() % 5];
        return list;
      };
      const std::vector<std::string> before = make();
      const std::vector<std::string> after = make();
      const QString text = QString::fromStdString(joinLines(before));
      QCOMPARE(applied(text, lineEditsBetween(text, before, after)), QString::fromStdString(joinLines(after)));
    }
  }
};

QTEST_MAIN(LineEditsTest)
#include "line_edits_test.moc"
