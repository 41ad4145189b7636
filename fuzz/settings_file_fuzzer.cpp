// The shared settings file as any program (or a careless hand) may leave
// it: reading never crashes, and a value written into any contents reads
// back as written, and reads as absent once removed.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "fuzz_support.h"
#include "settings/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brindlewort;
  const QByteArray contents(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString key = QStringLiteral("MaxCommentLength");
  (void)iniTextInContents(contents, key);

  const QByteArray written = withIniValue(contents, key, QByteArray("72"));
  FUZZ_REQUIRE(iniTextInContents(written, key) == std::optional<QString>(QStringLiteral("72")));

  const QByteArray removed = withIniValue(written, key, std::nullopt);
  FUZZ_REQUIRE(!iniTextInContents(removed, key).has_value());
  return 0;
}
