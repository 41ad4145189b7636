#include "proofreading/info_log.h"

#include <atomic>

namespace brindlewort {

namespace {
std::atomic<InfoLogSink> currentSink{nullptr};
}  // namespace

void setInfoLogSink(InfoLogSink sink) { currentSink.store(sink, std::memory_order_release); }

bool infoLogEnabled() { return currentSink.load(std::memory_order_acquire) != nullptr; }

void logInfo(std::string_view message) {
  if (InfoLogSink sink = currentSink.load(std::memory_order_acquire)) sink(message);
}

}  // namespace brindlewort
