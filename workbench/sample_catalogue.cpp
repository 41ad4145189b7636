#include "workbench/sample_item.h"

namespace brindlewort {

const SampleItem& SampleItem::separator() {
  static const SampleItem item{};
  return item;
}

std::vector<SampleItem> sampleCatalogue() {
  return {
      {QStringLiteral("Welcome"), QStringLiteral("Welcome.html"), false},
      SampleItem::separator(),
      {QStringLiteral("The Basics"), QStringLiteral("The Basics.txt"), true},
      {QStringLiteral("Documentation"), QStringLiteral("Documentation.txt"), true},
      {QStringLiteral("Structured"), QStringLiteral("Structured.txt"), true},
      SampleItem::separator(),
      {QStringLiteral("SwiftLint"), QStringLiteral("SwiftLint-Standalone.txt"), true},
      SampleItem::separator(),
      {QStringLiteral("Spell Checking"), QStringLiteral("SpellChecking.txt"), true},
  };
}

}  // namespace brindlewort
