#include "workbench/spell_checker_factory.h"

#include <QLoggingCategory>
#include <QString>

#include "proofreading/enchant_spell_checker.h"
#include "proofreading/info_log.h"

namespace brindlewort {

namespace {

Q_LOGGING_CATEGORY(workbenchLog, "brindlewort.workbench")
Q_LOGGING_CATEGORY(proofreadingLog, "brindlewort.proofreading")

void logThroughQt(std::string_view message) {
  qCInfo(proofreadingLog, "%s", qUtf8Printable(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()))));
}

}  // namespace

Result<std::shared_ptr<const SpellChecker>> makeSystemSpellChecker() {
  setInfoLogSink(logThroughQt);
  Result<OpenedSpellChecker> opened = openEnchantSpellChecker();
  if (opened) return std::shared_ptr<const SpellChecker>(std::move(opened->checker));
  qCInfo(workbenchLog, "No spelling dictionary: %s", opened.error().c_str());
  return Error{opened.error()};
}

}  // namespace brindlewort
