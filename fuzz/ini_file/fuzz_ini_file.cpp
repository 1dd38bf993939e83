// Any bytes load as a profile without crashing, and saving is stable: what was saved once loads
// and saves to the same bytes again.
#include <cstdint>
#include <cstdlib>

#include "common/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  vl::IniFile ini;
  ini.parse(bytes);
  for (const QString &section : ini.sections()) {
    for (const auto &[key, value] : ini.pairs(section)) {
      (void)ini.readInteger(section, key, 0);
      (void)value;
    }
  }
  const QByteArray once = ini.toBytes();
  if (!ini.sections().isEmpty()) {
    const QString first = ini.sections().front();
    ini.writeString(first, QStringLiteral("FuzzKey"), QStringLiteral("v"));
    ini.deleteKey(first, QStringLiteral("FuzzKey"));
  }
  vl::IniFile again;
  again.parse(once);
  if (again.toBytes() != once) std::abort();
  return 0;
}
