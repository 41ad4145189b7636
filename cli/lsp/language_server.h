#pragma once

// The language server's state and its answer to each message: documents,
// settings, the diagnostics waiting for their quiet period, and the
// protocol's lifecycle. It does no input or output itself; the loop in
// server_loop.h feeds it and carries its messages.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "base/result.h"
#include "cli/lsp/diagnostics_text.h"
#include "cli/lsp/document_store.h"
#include "cli/lsp/message_framing.h"
#include "cli/lsp/reflow_edits.h"
#include "cli/lsp/server_settings.h"
#include "cli/lsp/text_positions.h"
#include "proofreading/enchant_suggestions.h"
#include "proofreading/repository_vocabulary.h"
#include "proofreading/spell_checker.h"

namespace brindlewort::cli {
class SpellingDictionaries;
}

namespace brindlewort::cli::lsp {

using Clock = std::chrono::steady_clock;

// How long the text must rest after a change before it is checked.
inline constexpr std::chrono::milliseconds quietPeriod{100};

// Larger documents are not checked or re-flowed here (one diagnostic says
// so): the loop would stop answering for seconds.
inline constexpr std::size_t maxServedDocumentBytes = std::size_t{8} << 20;

class LanguageServer {
 public:
  // `send` writes one message body to the client. `drainInput` hands the
  // messages that are already waiting to handle(), so that a change that
  // arrived while diagnostics were computed makes them stale.
  LanguageServer(std::function<void(const std::string&)> send, std::function<void()> drainInput);
  ~LanguageServer();

  void handle(const FramedMessage& message);

  // When the next document's quiet period ends; nothing when none waits.
  std::optional<Clock::time_point> nextDue() const;
  // Checks and publishes the documents whose quiet period has ended.
  void publishDue(Clock::time_point now);

  // The client sent "exit": the process ends with exitStatus().
  bool finished() const { return finished_; }
  // 0 after a shutdown request, 1 without one.
  int exitStatus() const { return shutdownRequested_ ? 0 : 1; }

 private:
  // One message as its handler gets it.
  struct Call {
    const nlohmann::json& params;
    std::optional<std::size_t> invalidUtf8At;  // where the message held bytes that are not UTF-8
  };
  // A method the server serves: a request, answered with the handler's
  // result, or a notification, whose result is dropped.
  struct Method {
    std::string_view name;
    bool request = false;
    nlohmann::json (LanguageServer::*handler)(const Call&) = nullptr;
  };
  static const Method methods[];

  void dispatch(const std::string& method, const nlohmann::json* id, const Call& call);
  nlohmann::json initialize(const Call& call);
  nlohmann::json shutdown(const Call& call);
  nlohmann::json didOpen(const Call& call);
  nlohmann::json didChange(const Call& call);
  nlohmann::json didClose(const Call& call);
  nlohmann::json didChangeConfiguration(const Call& call);
  nlohmann::json codeActions(const Call& call);
  nlohmann::json rangeFormatting(const Call& call);
  nlohmann::json executeCommand(const Call& call);

  // Opens the user's dictionaries on first use; when none loads, says so
  // once and spelling is not checked.
  void openDictionaries();
  // The project's spell checker for the document; null when no dictionary
  // loads at all, an error when the document's language has none.
  Result<std::shared_ptr<const SpellChecker>> spellCheckerFor(const OpenDocument& document);
  // The document's findings, or why it is not checked, formatted.
  DiagnosticsText diagnosticsFor(const OpenDocument& document);
  // The document's re-flow as one text edit (empty array: no change).
  nlohmann::json reflowEdits(const OpenDocument& document, ReflowMode mode, std::optional<LineSpan> lines);
  // The document, or a failure that says why it is not served.
  const OpenDocument& servedDocument(const std::string& uri);
  void scheduleAll(Clock::time_point when);

  void respond(const nlohmann::json& id, nlohmann::json result);
  void respondError(const nlohmann::json& id, int code, const std::string& message);
  void notify(const std::string& method, nlohmann::json params);
  void log(const std::string& message);

  std::function<void(const std::string&)> send_;
  std::function<void()> drainInput_;
  DocumentStore documents_;
  ServerSettings settings_;
  PositionEncoding encoding_ = PositionEncoding::utf16;
  std::map<std::string, Clock::time_point> due_;
  std::unique_ptr<SpellingDictionaries> dictionaries_;
  std::string dictionaryError_;  // why spelling is not checked; empty when it is
  RepositoryVocabularies vocabularies_;
  SuggestionDictionaries suggestions_;
  bool initialized_ = false;
  bool shutdownRequested_ = false;
  bool finished_ = false;
};

}  // namespace brindlewort::cli::lsp
