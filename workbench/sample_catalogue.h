#pragma once

// The workbench's catalogue of sample documents and the pop-up that offers
// it. Separators are real entries of both, so a pop-up index is always a
// catalogue index.

#include <vector>

#include "workbench/sample_item.h"

class QComboBox;

namespace brindlewort {

// The fixed catalogue, in pop-up order, with separators at indices 1, 5
// and 7.
std::vector<SampleItem> sampleCatalogue();

// Fills `popup` with the catalogue and selects the first entry.
void fillSamplePopup(QComboBox& popup, const std::vector<SampleItem>& samples);

// The entry at a pop-up index; the separator for an index outside the
// catalogue, such as that of an empty pop-up.
const SampleItem& sampleAt(const std::vector<SampleItem>& samples, int index);

}  // namespace brindlewort
