#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <cerrno>
#include <stdexcept>

#include "common/program_files.h"
#include "common/system_error.h"
#include "common/trace.h"
#include "common/version_text.h"
#include "common/window_utils.h"
#include "support/qt_application.h"

using namespace vl;

TEST(SystemErrorText, BuildsMessageCodeAndStop) {
  EXPECT_EQ(SystemErrorText(ENOENT), QStringLiteral("O sistema não pode encontrar o arquivo especificado [0x0002]."));
  EXPECT_EQ(SystemErrorText(EACCES), QStringLiteral("Acesso negado [0x000D]."));
  EXPECT_EQ(SystemErrorText(0), QStringLiteral("A operação foi concluída com êxito"));
  EXPECT_EQ(SystemErrorText(0xBEEF), QStringLiteral("[0xBEEF]"));    // no message: the code alone
  EXPECT_EQ(SystemErrorText(0x12345), QStringLiteral("[0x12345]"));  // at least four digits
  errno = ENOSPC;
  EXPECT_EQ(SystemErrorText(), QStringLiteral("Não há espaço suficiente no disco [0x001C]."));
}

TEST(ProgramFiles, FilePresentRefusesWildcards) {
  QTemporaryDir dir;
  QFile f(dir.filePath("a.ini"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  EXPECT_TRUE(FilePresent(dir.filePath("a.ini")));
  EXPECT_FALSE(FilePresent(dir.filePath("*.ini")));
  EXPECT_FALSE(FilePresent(dir.filePath("?.ini")));
  EXPECT_FALSE(FilePresent(dir.filePath("b.ini")));
  EXPECT_FALSE(FilePresent(""));
}

TEST(ProgramFiles, ChangesTheExtension) {
  struct Case { const char *path, *ext, *expected; } cases[] = {
      {"/opt/vl/VL", ".ini", "/opt/vl/VL.ini"},     {"/opt/vl/VL.exe", ".ini", "/opt/vl/VL.ini"},
      {"/opt/v.l/VL", "gme", "/opt/v.l/VL.gme"},    {"/opt/vl/my.prog.bin", ".exm", "/opt/vl/my.prog.exm"},
      {"/opt/vl/.hidden", ".ini", "/opt/vl/.hidden.ini"},
  };
  for (const Case &c : cases) EXPECT_EQ(ChangeFileExtension(c.path, c.ext), QString(c.expected)) << c.path;
  const QString ini = ProgramFileWithExtension(".ini");
  EXPECT_TRUE(ini.endsWith("/test_common.ini")) << ini.toStdString();
}

TEST(ProgramFiles, LoginNameAndVersion) {
  EXPECT_FALSE(LoginName().isEmpty());
  EXPECT_FALSE(VersionText().isEmpty());
  EXPECT_EQ(&VersionText(), &VersionText());  // computed once
  Trace("ignored", TraceSeverity::Error);
}

TEST(WindowUtils, OpacityAndMainWindows) {
  vltest::application();

  struct Case { int percent; int byte; } cases[] = {{0, 0}, {50, 127}, {99, 252}, {100, 255}, {101, 255}, {-5, 0}};
  for (const Case &c : cases) EXPECT_DOUBLE_EQ(opacityForPercent(c.percent), c.byte / 255.0) << c.percent;

  QWidget a, b;
  QWidget child(&a);
  SetWindowOpacity(&a, 50);
  EXPECT_NEAR(a.windowOpacity(), 127 / 255.0, 0.01);
  SetWindowOpacity(&a, 200);
  EXPECT_DOUBLE_EQ(a.windowOpacity(), 1.0);
  EXPECT_THROW(RunningMainWindows(nullptr), std::logic_error);
  EXPECT_EQ(RunningMainWindows(&a), 2);  // two top-level QWidgets; the child does not count
  FlashTaskbar(&a, true);
  FlashTaskbar(&a, false);
  FlashTaskbar(nullptr, true);
}
