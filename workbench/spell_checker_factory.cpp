#include "workbench/spell_checker_factory.h"

#include <QLoggingCategory>

#include "proofreading/enchant_spell_checker.h"

namespace brindlewort {

namespace {

Q_LOGGING_CATEGORY(workbenchLog, "brindlewort.workbench")

class SilentSpellChecker final : public SpellChecker {
 public:
  std::vector<TextCheckingResult> check(std::string_view) const override { return {}; }
};

}  // namespace

std::shared_ptr<const SpellChecker> makeSystemSpellChecker() {
  Result<OpenedSpellChecker> opened = openEnchantSpellChecker();
  if (opened) return std::shared_ptr<const SpellChecker>(std::move(opened->checker));
  qCInfo(workbenchLog, "No spelling dictionary: %s", opened.error().c_str());
  return std::make_shared<SilentSpellChecker>();
}

}  // namespace brindlewort
