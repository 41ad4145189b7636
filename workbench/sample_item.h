#pragma once

// One entry of the workbench's catalogue of sample documents.

#include <QString>

namespace brindlewort {

struct SampleItem {
  QString displayName;  // title in the pop-up; empty for a separator
  QString fileName;     // file inside the sample folder; empty for a separator
  bool allowsCommentation = false;
  // The language of its text, a name from the table of languages; empty
  // for plain text. The shipped samples are .txt files of Swift.
  QString languageName;

  // The shared separator entry: no title, no file, never editable.
  static const SampleItem& separator() {
    static const SampleItem item{};
    return item;
  }

  bool isSeparator() const { return displayName.isEmpty(); }
  friend bool operator==(const SampleItem&, const SampleItem&) = default;
};

}  // namespace brindlewort
