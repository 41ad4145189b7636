#include "workbench/sample_catalogue.h"

#include <QComboBox>

namespace brindlewort {

std::vector<SampleItem> sampleCatalogue() {
  return {
      {QStringLiteral("Welcome"), QStringLiteral("Welcome.html"), false, {}},
      SampleItem::separator(),
      {QStringLiteral("The Basics"), QStringLiteral("The Basics.txt"), true, QStringLiteral("Swift")},
      {QStringLiteral("Documentation"), QStringLiteral("Documentation.txt"), true, QStringLiteral("Swift")},
      {QStringLiteral("Structured"), QStringLiteral("Structured.txt"), true, QStringLiteral("Swift")},
      SampleItem::separator(),
      {QStringLiteral("SwiftLint"), QStringLiteral("SwiftLint-Standalone.txt"), true, QStringLiteral("Swift")},
      SampleItem::separator(),
      {QStringLiteral("Spell Checking"), QStringLiteral("SpellChecking.txt"), true, QStringLiteral("Swift")},
  };
}

void fillSamplePopup(QComboBox& popup, const std::vector<SampleItem>& samples) {
  popup.clear();
  for (const SampleItem& item : samples) {
    if (item.isSeparator()) {
      popup.insertSeparator(popup.count());
    } else {
      popup.addItem(item.displayName);
    }
  }
  popup.setCurrentIndex(0);
}

const SampleItem& sampleAt(const std::vector<SampleItem>& samples, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= samples.size()) return SampleItem::separator();
  return samples[static_cast<std::size_t>(index)];
}

}  // namespace brindlewort
