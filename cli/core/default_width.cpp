#include "cli/core/default_width.h"

#include <QLoggingCategory>
#include <mutex>

#include "settings/shared_settings.h"

namespace brindlewort::cli {

// The shared maximum-comment-length setting, as the app uses it.
std::int64_t defaultWidth() {
  // The store's "Got MaxCommentLength" line is for the app's log; on a
  // terminal it would be noise. QT_LOGGING_RULES can still turn it on.
  static std::once_flag quietOnce;
  std::call_once(quietOnce,
                 [] { QLoggingCategory::setFilterRules(QStringLiteral("brindlewort.settings.info=false")); });
  return SharedSettings::shared().maxCommentLength();
}

}  // namespace brindlewort::cli
