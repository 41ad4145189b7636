#include "workbench/auto_correction_request.h"

#include <utility>

#include "helper/client/auto_correction_client.h"

namespace brindlewort {

AutoCorrectionRequest helperServiceRequest() {
  return [](const QString& text, QObject* context, std::function<void(std::optional<QString>)> done,
            std::chrono::milliseconds bound) {
    requestAutoCorrectionAsync(text, context, std::move(done), bound);
  };
}

std::chrono::milliseconds helperReplyBound() { return autoCorrectionReplyBound; }

}  // namespace brindlewort
