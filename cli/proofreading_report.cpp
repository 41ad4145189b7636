#include "cli/proofreading_report.h"

#include "cli/text_transform.h"
#include "engine/rewrap.h"

namespace brindlewort::cli {

void forEachCheckedGroup(
    std::string_view text, TextScope scope,
    const std::function<void(const std::vector<std::string>& lines, std::size_t firstLine)>& visit) {
  if (scope == TextScope::wholeText) {
    visit(splitLines(text), 0);
    return;
  }
  std::vector<std::string> run;
  std::size_t runStart = 0;
  std::size_t number = 0;
  for (std::size_t start = 0; start < text.size(); ++number) {
    std::size_t feed = text.find('\n', start);
    const std::size_t next = feed == std::string_view::npos ? text.size() : feed + 1;
    std::string_view content = text.substr(start, (feed == std::string_view::npos ? text.size() : feed) - start);
    if (content.ends_with('\r')) content.remove_suffix(1);
    if (isCommentRunLine(content)) {
      if (run.empty()) runStart = number;
      run.emplace_back(content);
    } else if (!run.empty()) {
      visit(run, runStart);
      run.clear();
    }
    start = next;
  }
  if (!run.empty()) visit(run, runStart);
}

std::string findingLine(std::string_view file, std::size_t line, std::int64_t column,
                        std::string_view kind, std::string_view text) {
  std::string out(file);
  out += ':' + std::to_string(line + 1) + ':' + std::to_string(column + 1) + ": ";
  out += kind;
  out += ": \"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += "\"\n";
  return out;
}

}  // namespace brindlewort::cli
