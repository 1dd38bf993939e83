// libFuzzer target: metafile bytes of any kind are measured and drawn into a small image.
// With VL_FUZZ_SEED_DIR set, a seed corpus of WMF and EMF files is written there first.
#include <QDir>
#include <QFile>
#include <QImage>

#include "common/metafile.h"
#include "common/test_metafile_support.h"

namespace {

void writeSeeds(const QString &dirPath) {
  QDir().mkpath(dirPath);
  const QList<QByteArray> seeds = vl::test::sampleMetafiles();
  for (qsizetype i = 0; i < seeds.size(); ++i) {
    QFile f(QDir(dirPath).filePath(QStringLiteral("seed%1").arg(i)));
    if (f.open(QIODevice::WriteOnly)) f.write(seeds[i]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  vl::test::ensureGuiApp();
  if (const QString dir = qEnvironmentVariable("VL_FUZZ_SEED_DIR"); !dir.isEmpty()) writeSeeds(dir);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  (void)vl::metafileNaturalSize(bytes);
  (void)vl::renderMetafileImage(bytes, QSize(64, 48), Qt::white);
  return 0;
}
