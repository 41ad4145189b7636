#pragma once

// Sends text to the auto-correction helper service over the session bus.

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

namespace brindlewort {

inline constexpr std::chrono::milliseconds autoCorrectionReplyBound{30000};

// What one request brought back: the corrected text, or why there is none.
struct AutoCorrectionOutcome {
  std::optional<QString> correctedText;
  // Empty when corrected text came back; otherwise a sentence for people.
  QString failure;
  // The session bus itself could not be reached.
  bool busUnavailable = false;
};

// The blocking request without any output of its own, for callers that
// report failures their own way (brindle lint).
AutoCorrectionOutcome sendForAutoCorrection(
    const QString& text, std::chrono::milliseconds bound = autoCorrectionReplyBound);

// Blocks until the corrected text arrives or the bound passes; nothing on
// any failure (no service, empty reply, timeout). Writes "Failed to connect
// to helper: " and the bus connection's description to standard output when
// the session bus cannot be reached.
std::optional<QString> requestAutoCorrection(
    const QString& text, std::chrono::milliseconds bound = autoCorrectionReplyBound);

// Same steps without blocking the caller's event loop: `done` runs exactly
// once, on `context`'s thread, with the corrected text or nothing. A reply
// that arrives after the bound is dropped.
void requestAutoCorrectionAsync(const QString& text, QObject* context,
                                std::function<void(std::optional<QString>)> done,
                                std::chrono::milliseconds bound = autoCorrectionReplyBound);

}  // namespace brindlewort
