#pragma once

// The maximum comment length shared by every program of the group (the app,
// brindle, the helper), stored in one INI file in the user's config folder.

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

namespace brindlewort {

inline constexpr char settingsSuiteName[] = "Q7RZ2KD4WP.group.com.kestrelloom.Brindlewort";
inline constexpr char maxCommentLengthKey[] = "MaxCommentLength";
inline constexpr char maxCommentLengthDidChangeNotification[] = "MaxCommentLengthDidChange";

class SharedSettings : public QObject {
  Q_OBJECT
 public:
  // The one store of the process, made on first use.
  static SharedSettings& shared();

  // Reads the file afresh every time: 80 when unset or unreadable,
  // noCommentLengthLimit when 0 is stored.
  std::int64_t maxCommentLength() const;
  // Stores the value (noCommentLengthLimit as 0) and posts the change.
  void setMaxCommentLength(std::int64_t value);
  // Removes the stored value and posts the change.
  void resetMaxCommentLength();

 signals:
  // "MaxCommentLengthDidChange": emitted synchronously on every write and
  // reset, and when another program changes the file.
  void maxCommentLengthDidChange();
};

}  // namespace brindlewort
