#pragma once

// The names under which the auto-correction helper is reached on the session
// bus, shared by the service and its clients so the two cannot drift apart.

#include <QChar>
#include <QStringView>
#include <cstddef>

namespace brindlewort {

inline constexpr char helperServiceName[] = "com.kestrelloom.BrindlewortHelper";
inline constexpr char helperObjectPath[] = "/com/kestrelloom/BrindlewortHelper";
inline constexpr char helperInterfaceName[] = "com.kestrelloom.BrindlewortHelperProtocol";
inline constexpr char helperMethodName[] = "autoCorrectString";

// The largest text (in UTF-8 bytes) the helper accepts. Larger texts are
// refused with helperTextTooLargeError rather than risk the bus dropping
// a connection for an oversized message.
inline constexpr std::size_t helperTextLimitBytes = std::size_t{16} * 1024 * 1024;
// True for a text whose UTF-8 form is larger than the helper accepts;
// counted without converting it, since the text may be huge.
inline bool exceedsHelperTextLimit(QStringView text) {
  // Every UTF-16 unit is at least one UTF-8 byte.
  if (static_cast<std::size_t>(text.size()) > helperTextLimitBytes) return true;
  std::size_t bytes = 0;
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    // A surrogate pair is four bytes, two per unit.
    bytes += unit < 0x80 ? 1 : unit < 0x800 || c.isSurrogate() ? 2 : 3;
  }
  return bytes > helperTextLimitBytes;
}

inline constexpr char helperTextTooLargeError[] =
    "com.kestrelloom.BrindlewortHelper.Error.TextTooLarge";

}  // namespace brindlewort
