#pragma once

// One entry of the workbench's catalogue of sample documents.

#include <QString>
#include <vector>

namespace brindlewort {

struct SampleItem {
  QString displayName;  // title in the pop-up; empty for a separator
  QString fileName;     // file inside the sample folder; empty for a separator
  bool allowsCommentation = false;

  // The shared separator entry: no title, no file, never editable.
  static const SampleItem& separator();

  bool isSeparator() const { return displayName.isEmpty(); }
  friend bool operator==(const SampleItem&, const SampleItem&) = default;
};

// The fixed catalogue, in pop-up order: separators sit at indices 1, 5 and 7
// so that a pop-up index is also a catalogue index.
std::vector<SampleItem> sampleCatalogue();

}  // namespace brindlewort
