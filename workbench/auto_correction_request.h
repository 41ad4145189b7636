#pragma once

// How the lint command reaches the auto-correction helper. The workbench
// talks to the helper's client only through helperServiceRequest(), so that
// tests can stand in for the helper and the client can change its calling
// convention in one place.

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

namespace brindlewort {

// Sends `text` for correction; `done` runs once, on `context`'s thread,
// with the corrected text or nothing, at the latest after `bound`.
using AutoCorrectionRequest =
    std::function<void(const QString& text, QObject* context,
                       std::function<void(std::optional<QString>)> done, std::chrono::milliseconds bound)>;

// The request through the helper service on the session bus.
AutoCorrectionRequest helperServiceRequest();

// How long the lint command waits for the helper unless told otherwise.
std::chrono::milliseconds helperReplyBound();

}  // namespace brindlewort
