#pragma once

// Sends text to the auto-correction helper service over the session bus.

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

#include "base/result.h"

namespace brindlewort {

inline constexpr std::chrono::milliseconds autoCorrectionReplyBound{30000};

// The blocking request without any output of its own, for callers that
// report failures their own way (brindle lint): the corrected text, or why
// there is none.
Result<QString> sendForAutoCorrection(
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
