#pragma once

// Reading one sample document from the sample folder, without touching any
// widget, so that the rules for file types and failures stay in one place.

#include <QString>

namespace brindlewort {

inline constexpr char failedToLoadSampleMessage[] = "Failed to load sample.  Please report a bug.";
inline constexpr char unknownDocumentTypePrefix[] = "Unknown document type: ";

// The resource folder compiled into the program.
inline constexpr char defaultSampleFolder[] = ":/Sample Files";

struct SampleContent {
  enum class Kind {
    folderMissing,  // leave the text view as it is
    plainText,      // text holds the document, or the failure message
    richText,       // text holds HTML; empty when the file could not be read
  };
  Kind kind = Kind::folderMissing;
  QString text;
};

// Loads `fileName` from `folder`. The extension decides the kind, compared
// case-sensitively: "txt" is plain text (UTF-8, or UTF-16/32 with a byte
// order mark), "html" is rich text, anything else yields the unknown-type
// message as plain text.
SampleContent loadSampleContent(const QString& folder, const QString& fileName);

}  // namespace brindlewort
