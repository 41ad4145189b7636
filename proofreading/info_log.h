#pragma once

// Informational diagnostics of proofreading, routed by whoever embeds it:
// the desktop app to its logging, the command-line tool to standard error
// with --verbose. Without a sink the messages are discarded.

#include <string_view>

namespace brindlewort {

using InfoLogSink = void (*)(std::string_view message);

// Installs the sink (nullptr discards); safe to call from any thread.
void setInfoLogSink(InfoLogSink sink);

// True when a sink is installed, so callers can skip building a message.
bool infoLogEnabled();

// Hands one message to the sink, if any.
void logInfo(std::string_view message);

}  // namespace brindlewort
