#include "cli/lsp/language_server.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "cli/core/editor_config.h"
#include "cli/core/project_word_adding.h"
#include "cli/core/spelling_dictionaries.h"
#include "reflow/text_validation.h"
#include "cli/lsp/comment_findings.h"
#include "cli/lsp/diagnostics_text.h"
#include "cli/lsp/file_uri.h"
#include "cli/lsp/json_nesting.h"
#include "engine/utf8_validation.h"
#include "proofreading/enchant_spell_checker.h"
#include "proofreading/enchant_suggestions.h"
#include "proofreading/project_spelling.h"
#include "proofreading/utf16_characters.h"

namespace brindlewort::cli::lsp {
namespace {

using nlohmann::json;

// Error codes of JSON-RPC and the protocol.
constexpr int parseError = -32700;
constexpr int invalidRequest = -32600;
constexpr int methodNotFound = -32601;
constexpr int invalidParams = -32602;
constexpr int internalError = -32603;
constexpr int serverNotInitialized = -32002;
constexpr int requestFailed = -32803;

constexpr int severityWarning = 2;
constexpr std::size_t maxSuggestions = 5;
constexpr char addWordCommand[] = "brindle.addWord";
// No word of prose is longer; a longer one is refused rather than written
// to the project or shown whole in a menu.
constexpr std::size_t maxAddedWordBytes = 256;

// A request that cannot be answered with a result.
struct RequestFailure : std::runtime_error {
  RequestFailure(int errorCode, const std::string& message) : std::runtime_error(message), code(errorCode) {}
  int code;
};

std::string dumped(const json& value) {
  // Paths and words from the editor may hold anything; the output stays
  // valid UTF-8 whatever they hold.
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

json positionJson(TextPosition position) {
  return {{"line", position.line}, {"character", position.character}};
}

json rangeJson(TextPosition start, TextPosition end) {
  return {{"start", positionJson(start)}, {"end", positionJson(end)}};
}

// Positions far past any text mean its end; this bound keeps them exact
// in every conversion (a line number plus one cannot wrap around).
constexpr std::size_t maxPositionNumber = std::size_t{1} << 32;

// A line or character number. A number too large for any text, written as
// an integer or in floating point, is clamped before it is converted; one
// below zero is refused.
std::size_t positionNumber(const json& number) {
  if (number.is_number_unsigned()) return std::min<std::uint64_t>(number.get<std::uint64_t>(), maxPositionNumber);
  if (number.is_number_float()) {
    const double value = number.get<double>();
    if (value >= 0) return value >= double(maxPositionNumber) ? maxPositionNumber : static_cast<std::size_t>(value);
  }
  throw RequestFailure(invalidParams, "a position must hold numbers of 0 or more");
}

TextPosition positionFrom(const json& position) {
  return {positionNumber(position.at("line")), positionNumber(position.at("character"))};
}

// The lines a range touches; a selection that ends at the start of a line
// does not take that line.
LineSpan linesOf(const json& range) {
  const TextPosition start = positionFrom(range.at("start"));
  TextPosition end = positionFrom(range.at("end"));
  if (end.line < start.line) return {end.line, start.line};
  if (end.line > start.line && end.character == 0) --end.line;
  return {start.line, end.line};
}

// A document's version, when it is an integer a version can be.
std::optional<std::int64_t> versionOf(const json& item) {
  const auto version = item.find("version");
  if (version == item.end() || !version->is_number_integer()) return std::nullopt;
  if (version->is_number_unsigned() && version->get<std::uint64_t>() > std::uint64_t(INT64_MAX)) return std::nullopt;
  return version->get<std::int64_t>();
}

// The body with each ill-formed UTF-8 sequence as U+FFFD, so that the rest
// of the message can still be read.
std::string withReplacementCharacters(const std::string& body) {
  std::string out;
  toUtf16(body).toUTF8String(out);
  return out;
}

}  // namespace

LanguageServer::LanguageServer(std::function<void(const std::string&)> send, std::function<void()> drainInput)
    : send_(std::move(send)), drainInput_(std::move(drainInput)) {}

LanguageServer::~LanguageServer() = default;

void LanguageServer::respond(const json& id, json result) {
  send_(dumped({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}}));
}

void LanguageServer::respondError(const json& id, int code, const std::string& message) {
  send_(dumped({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}}));
}

void LanguageServer::notify(const std::string& method, json params) {
  send_(dumped({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}}));
}

void LanguageServer::log(const std::string& message) {
  // Standard output carries the protocol only.
  const std::string line = "brindle lsp: " + message + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

void LanguageServer::handle(const FramedMessage& message) {
  if (!message.fault.empty()) {
    log(message.fault);
    respondError(nullptr, parseError, message.fault);
    return;
  }
  // Anything that walks parsed JSON recursively would overflow the stack on
  // a deep enough message, so one that nests deeper than any real message
  // is refused unparsed.
  if (jsonNestingDepth(message.body) > maxJsonNesting) {
    respondError(nullptr, invalidRequest,
                 "the message nests deeper than " + std::to_string(maxJsonNesting) + " levels");
    return;
  }
  std::optional<std::size_t> invalidUtf8At = firstInvalidUtf8Offset(message.body);
  const json parsed =
      json::parse(invalidUtf8At ? withReplacementCharacters(message.body) : message.body, nullptr, false);
  if (parsed.is_discarded()) {
    respondError(nullptr, parseError, "the message is not valid JSON");
    return;
  }
  if (!parsed.is_object()) {
    respondError(nullptr, invalidRequest, "a message must be a JSON object");
    return;
  }
  const auto id = parsed.find("id");
  const bool hasId = id != parsed.end();
  if (hasId && !id->is_string() && !id->is_number_integer() && !id->is_null()) {
    respondError(nullptr, invalidRequest, "a request id must be a number or a string");
    return;
  }
  const auto method = parsed.find("method");
  if (method == parsed.end() || !method->is_string()) {
    // A response to a request of ours (we send none that need one).
    if (hasId && (parsed.contains("result") || parsed.contains("error"))) return;
    respondError(hasId ? *id : json(nullptr), invalidRequest, "a message needs a method");
    return;
  }
  static const json noParams = json::object();
  const auto given = parsed.find("params");
  const json& params = given != parsed.end() ? *given : noParams;
  try {
    dispatch(method->get<std::string>(), hasId ? &*id : nullptr, Call{params, invalidUtf8At});
  } catch (const RequestFailure& failure) {
    if (hasId)
      respondError(*id, failure.code, failure.what());
    else
      log(failure.what());
  } catch (const json::exception& error) {
    if (hasId)
      respondError(*id, invalidParams, std::string("invalid params: ") + error.what());
    else
      log(method->get<std::string>() + ": invalid params: " + error.what());
  } catch (const std::bad_alloc&) {
    if (hasId)
      respondError(*id, internalError, "out of memory");
    else
      log(method->get<std::string>() + ": out of memory");
  } catch (const std::exception& error) {
    if (hasId)
      respondError(*id, internalError, error.what());
    else
      log(method->get<std::string>() + ": " + error.what());
  }
}

const LanguageServer::Method LanguageServer::methods[] = {
    {"initialize", true, &LanguageServer::initialize},
    {"shutdown", true, &LanguageServer::shutdown},
    {"textDocument/codeAction", true, &LanguageServer::codeActions},
    {"textDocument/rangeFormatting", true, &LanguageServer::rangeFormatting},
    {"workspace/executeCommand", true, &LanguageServer::executeCommand},
    {"textDocument/didOpen", false, &LanguageServer::didOpen},
    {"textDocument/didChange", false, &LanguageServer::didChange},
    {"textDocument/didClose", false, &LanguageServer::didClose},
    {"workspace/didChangeConfiguration", false, &LanguageServer::didChangeConfiguration},
};

void LanguageServer::dispatch(const std::string& method, const json* id, const Call& call) {
  if (method == "exit") {
    finished_ = true;
    return;
  }
  if (shutdownRequested_) {
    if (id) respondError(*id, invalidRequest, "the server is shutting down");
    return;
  }
  if (!initialized_ && method != "initialize") {
    if (id) respondError(*id, serverNotInitialized, "the server is not initialized yet");
    return;
  }
  for (const Method& entry : methods) {
    // A request under a notification's name, or the other way round, is
    // not that method.
    if (entry.name != method || entry.request != (id != nullptr)) continue;
    json result = (this->*entry.handler)(call);
    if (id) respond(*id, std::move(result));
    return;
  }
  if (id) respondError(*id, methodNotFound, "unknown method " + method);
  // Other notifications ($/cancelRequest, didSave, ...) need nothing.
}

json LanguageServer::shutdown(const Call&) {
  shutdownRequested_ = true;
  return nullptr;
}

json LanguageServer::didChangeConfiguration(const Call& call) {
  settings_ = withOptions(settings_, call.params.value("settings", json()));
  scheduleAll(Clock::now());
  return nullptr;
}

json LanguageServer::initialize(const Call& call) {
  const json& params = call.params;
  initialized_ = true;
  const json offered = params.value("capabilities", json::object())
                           .value("general", json::object())
                           .value("positionEncodings", json::array());
  for (const json& name : offered) {
    if (name == "utf-8") encoding_ = PositionEncoding::utf8;
  }
  settings_ = withOptions(settings_, params.value("initializationOptions", json()));
  return {
      {"capabilities",
       {{"positionEncoding", encoding_ == PositionEncoding::utf8 ? "utf-8" : "utf-16"},
        {"textDocumentSync", {{"openClose", true}, {"change", 2}}},
        {"codeActionProvider", {{"codeActionKinds", {"quickfix", "refactor.rewrite", "source"}}}},
        // Whole-document formatting is left to the language's formatter.
        {"documentRangeFormattingProvider", true},
        {"executeCommandProvider", {{"commands", {addWordCommand}}}}}},
      {"serverInfo", {{"name", "brindle"}, {"version", BRINDLEWORT_VERSION}}},
  };
}

json LanguageServer::didOpen(const Call& call) {
  const json& item = call.params.at("textDocument");
  const std::string uri = item.at("uri").get<std::string>();
  documents_.open(uri, OpenDocument{.text = item.at("text").get<std::string>(),
                                    .version = versionOf(item).value_or(0),
                                    .path = pathOfUri(uri),
                                    .languageId = item.value("languageId", std::string()),
                                    .invalidUtf8At = call.invalidUtf8At});
  due_[uri] = Clock::now();
  return nullptr;
}

json LanguageServer::didChange(const Call& call) {
  const json& params = call.params;
  const json& item = params.at("textDocument");
  const std::string uri = item.at("uri").get<std::string>();
  OpenDocument* document = documents_.find(uri);
  if (document == nullptr)
    throw RequestFailure(invalidParams, "a change to a document that is not open: " + uri);
  for (const json& change : params.at("contentChanges")) {
    TextChange parsed;
    parsed.text = change.at("text").get<std::string>();
    if (const auto range = change.find("range"); range != change.end()) {
      parsed.start = positionFrom(range->at("start"));
      parsed.end = positionFrom(range->at("end"));
    } else {
      // A whole new text that the editor could send whole is readable again.
      document->invalidUtf8At.reset();
    }
    documents_.change(uri, parsed, encoding_);
  }
  if (call.invalidUtf8At) document->invalidUtf8At = call.invalidUtf8At;
  if (const std::optional<std::int64_t> version = versionOf(item)) document->version = *version;
  due_[uri] = Clock::now() + quietPeriod;
  return nullptr;
}

json LanguageServer::didClose(const Call& call) {
  const std::string uri = call.params.at("textDocument").at("uri").get<std::string>();
  documents_.close(uri);
  due_.erase(uri);
  notify("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", json::array()}});
  return nullptr;
}

void LanguageServer::scheduleAll(Clock::time_point when) {
  documents_.forEach([&](const std::string& uri, const OpenDocument&) { due_[uri] = when; });
}

std::optional<Clock::time_point> LanguageServer::nextDue() const {
  std::optional<Clock::time_point> next;
  for (const auto& [uri, when] : due_) {
    if (!next || when < *next) next = when;
  }
  return next;
}

void LanguageServer::publishDue(Clock::time_point now) {
  for (;;) {
    auto due = due_.end();
    for (auto it = due_.begin(); it != due_.end(); ++it) {
      if (it->second <= now && (due == due_.end() || it->second < due->second)) due = it;
    }
    if (due == due_.end()) return;
    const std::string uri = due->first;
    due_.erase(due);
    const OpenDocument* document = documents_.find(uri);
    if (document == nullptr) continue;
    const std::uint64_t revision = document->revision;
    const std::int64_t version = document->version;
    const auto started = Clock::now();
    const DiagnosticsText diagnostics = diagnosticsFor(*document);
    const auto took = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
    // Findings for a text the editor has moved on from would land on the
    // wrong words: they are dropped, and the newer text is checked after
    // its own quiet period.
    drainInput_();
    document = documents_.find(uri);
    if (document == nullptr || document->revision != revision) {
      log("dropped the diagnostics of " + uri + " version " + std::to_string(version) + ": it changed");
      continue;
    }
    char timing[64];
    std::snprintf(timing, sizeof timing, "%.1f ms", took);
    log("checked " + uri + " version " + std::to_string(version) + " in " + timing + ": " +
        std::to_string(diagnostics.size()) + " findings");
    send_(diagnostics.notification(uri, version));
  }
}

namespace {

// Why a document is not checked at all; nothing when it is.
std::optional<std::string> whyNotChecked(const OpenDocument& document) {
  if (document.invalidUtf8At) {
    return "not checked: the editor sent bytes that are not UTF-8 (at byte " +
           std::to_string(*document.invalidUtf8At) + " of its message)";
  }
  if (document.text.size() > maxServedDocumentBytes) {
    return "not checked: " + std::to_string(document.text.size() >> 20) +
           " MiB is more than the 8 MiB checked while editing; run brindle spell --check "
           "and grammar --check on the file";
  }
  Result<void> decodable = checkDecodable(document.text);
  if (decodable) decodable = checkLineEnds(document.text);
  if (!decodable) return "not checked: the text " + decodable.error();
  return std::nullopt;
}

}  // namespace

void LanguageServer::openDictionaries() {
  if (dictionaries_ || !dictionaryError_.empty()) return;
  Result<OpenedSpellChecker> opened = openEnchantSpellChecker();
  if (opened) {
    dictionaries_ = std::make_unique<SpellingDictionaries>(std::string(), std::move(opened->checker));
    return;
  }
  dictionaryError_ = opened.error();
  log("spelling is not checked: " + dictionaryError_);
  notify("window/showMessage", {{"type", 2}, {"message", "brindle: spelling is not checked: " + dictionaryError_}});
}

Result<std::shared_ptr<const SpellChecker>> LanguageServer::spellCheckerFor(const OpenDocument& document) {
  openDictionaries();
  if (!dictionaries_) return std::shared_ptr<const SpellChecker>();
  Result<std::shared_ptr<const SpellChecker>> dictionary =
      dictionaries_->forLanguage(editorConfigFor(document.path).spellingLanguage);
  if (!dictionary) return Error{dictionary.error()};
  return projectSpellChecker(dictionaries_->withOtherScripts(*dictionary, nullptr), document.path, document.text,
                             vocabularies_);
}

DiagnosticsText LanguageServer::diagnosticsFor(const OpenDocument& document) {
  DiagnosticsText diagnostics;
  if (const std::optional<std::string> why = whyNotChecked(document)) {
    diagnostics.add({}, {}, severityWarning, *why);
    return diagnostics;
  }
  std::shared_ptr<const SpellChecker> checker;
  if (Result<std::shared_ptr<const SpellChecker>> found = spellCheckerFor(document); found) {
    checker = std::move(*found);
  } else {
    diagnostics.add({}, {}, severityWarning, "spelling not checked: " + found.error());
  }

  for (const CommentFinding& finding :
       commentFindings(document.text, document.path, checker.get(), document.languageId, settings_.grammarRules)) {
    const std::string_view label = findingLabel(finding.kind);
    diagnostics.add(
        {finding.line, unitsBefore(finding.lineText, finding.startByte, encoding_)},
        {finding.endLine, unitsBefore(finding.endLineText, finding.endByte, encoding_)}, settings_.severity,
        std::string(label) + ": \"" + finding.text + "\"", label,
        finding.kind == FindingKind::spelling ? std::string_view(finding.text) : std::string_view());
  }
  return diagnostics;
}

const OpenDocument& LanguageServer::servedDocument(const std::string& uri) {
  const OpenDocument* document = documents_.find(uri);
  if (document == nullptr) throw RequestFailure(invalidParams, "the document is not open: " + uri);
  if (document->invalidUtf8At) {
    throw RequestFailure(requestFailed, "the document holds bytes that are not UTF-8; it is left as it is");
  }
  if (document->text.size() > maxServedDocumentBytes) {
    throw RequestFailure(requestFailed,
                         "the document is larger than 8 MiB; run brindle wrap --fill on the file instead");
  }
  return *document;
}

json LanguageServer::reflowEdits(const OpenDocument& document, ReflowMode mode,
                                 std::optional<LineSpan> lines) {
  Result<std::string> reflowed =
      reflowedText(document.text, document.path, {.mode = mode, .width = settings_.width, .lines = lines, .languageId = document.languageId});
  if (!reflowed)
    throw RequestFailure(requestFailed, "the text " + reflowed.error() + "; it is left as it is");
  json edits = json::array();
  if (const std::optional<ByteEdit> edit = changedLines(document.text, *reflowed)) {
    edits.push_back({{"range", rangeJson(positionOf(document.text, edit->begin, encoding_),
                                         positionOf(document.text, edit->end, encoding_))},
                     {"newText", edit->replacement}});
  }
  return edits;
}

json LanguageServer::codeActions(const Call& call) {
  const json& params = call.params;
  const std::string uri = params.at("textDocument").at("uri").get<std::string>();
  const OpenDocument& document = servedDocument(uri);
  json actions = json::array();
  const json context = params.value("context", json::object());
  const std::string language = editorConfigFor(document.path).spellingLanguage;
  for (const json& diagnostic : context.value("diagnostics", json::array())) {
    if (diagnostic.value("source", "") != "brindle" || diagnostic.value("code", "") != "spelling") continue;
    const json data = diagnostic.value("data", json::object());
    if (!data.contains("word") || !data.at("word").is_string()) continue;
    const std::string word = data.at("word").get<std::string>();
    if (word.size() > maxAddedWordBytes) continue;
    bool first = true;
    for (const std::string& suggestion : suggestions_.suggestions(language, word, maxSuggestions)) {
      actions.push_back(
          {{"title", "Change to \"" + suggestion + "\""},
           {"kind", "quickfix"},
           {"diagnostics", {diagnostic}},
           {"isPreferred", first},
           {"edit", {{"changes", {{uri, {{{"range", diagnostic.at("range")}, {"newText", suggestion}}}}}}}}});
      first = false;
    }
    const json command = {{"title", "Add \"" + word + "\" to project words"},
                          {"command", addWordCommand},
                          {"arguments", {uri, word}}};
    actions.push_back({{"title", command.at("title")},
                       {"kind", "quickfix"},
                       {"diagnostics", {diagnostic}},
                       {"command", command}});
  }

  const LineSpan lines = linesOf(params.at("range"));
  const struct {
    const char* title;
    const char* kind;
    ReflowMode mode;
    std::optional<LineSpan> lines;
  } reflows[] = {
      {"Wrap comment paragraph", "refactor.rewrite", ReflowMode::fill, lines},
      {"Unwrap comment paragraph", "refactor.rewrite", ReflowMode::unwrap, lines},
      {"Wrap comments in file", "source", ReflowMode::fill, std::nullopt},
  };
  for (const auto& reflow : reflows) {
    json edits = reflowEdits(document, reflow.mode, reflow.lines);
    if (edits.empty()) continue;
    actions.push_back(
        {{"title", reflow.title}, {"kind", reflow.kind}, {"edit", {{"changes", {{uri, std::move(edits)}}}}}});
  }
  return actions;
}

json LanguageServer::rangeFormatting(const Call& call) {
  const json& params = call.params;
  const std::string uri = params.at("textDocument").at("uri").get<std::string>();
  return reflowEdits(servedDocument(uri), ReflowMode::fill, linesOf(params.at("range")));
}

json LanguageServer::executeCommand(const Call& call) {
  const json& params = call.params;
  if (params.at("command").get<std::string>() != addWordCommand) {
    throw RequestFailure(invalidParams, "unknown command " + params.at("command").get<std::string>());
  }
  const json& arguments = params.at("arguments");
  const std::string uri = arguments.at(0).get<std::string>();
  const std::string word = arguments.at(1).get<std::string>();
  if (word.size() > maxAddedWordBytes) {
    throw RequestFailure(invalidParams, "a word of " + std::to_string(word.size()) + " bytes is longer than " +
                                            std::to_string(maxAddedWordBytes) + "; not added");
  }
  const std::string path = pathOfUri(uri);
  // An unsaved buffer or a remote file has no project on this machine, and
  // the server's own working folder is nobody's choice.
  if (path.empty()) {
    throw RequestFailure(requestFailed, "words are added only for files on this machine; " +
                                            uri.substr(0, std::min<std::size_t>(uri.size(), 200)) +
                                            " names none");
  }
  Result<std::filesystem::path> list = addProjectWord(word, std::filesystem::path(path).parent_path());
  if (!list) throw RequestFailure(requestFailed, list.error());
  log("added \"" + word + "\" to " + list->string());
  // Every open document may use the word.
  scheduleAll(Clock::now());
  return nullptr;
}

}  // namespace brindlewort::cli::lsp
