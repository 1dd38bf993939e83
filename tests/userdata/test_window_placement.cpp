#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QScreen>
#include <QWidget>

#include "common/ini_file.h"
#include "support/qt_application.h"
#include "userdata/window_placement.h"

using namespace vl;

namespace {

IniFile parsed(const char *text) {
  IniFile ini;
  ini.parse(QByteArray(text));
  return ini;
}

}  // namespace

TEST(WindowPlacement, ScreenSizeRule) {
  const QSize screen(1024, 768);
  const QRect current(10, 20, 300, 200);
  struct Case { const char *file; bool use; QRect bounds; int state; } cases[] = {
      {"", false, current, 0},
      {"[ExamPos]\nWin.State=0\nDesktop.Width=1600\nDesktop.Height=1200\nWin.Top=5\nWin.Left=6\nWin.Width=700\nWin.Height=500\n",
       false, current, 0},
      {"[ExamPos]\nDesktop.Width=1024\nDesktop.Height=1200\nWin.Top=5\n", false, current, 0},  // one side larger
      {"[ExamPos]\nWin.State=0\nDesktop.Width=1024\nDesktop.Height=768\nWin.Top=5\nWin.Left=6\nWin.Width=700\nWin.Height=500\n",
       true, QRect(6, 5, 700, 500), 0},
      {"[exampos]\nDesktop.Width=800\nDesktop.Height=600\nWin.Left=40\n", true, QRect(40, 20, 300, 200), 0},
      {"[ExamPos]\nWin.Top=1\n", true, QRect(10, 1, 300, 200), 0},  // no screen size saved: the current one
      {"[ExamPos]\nWin.State=1\n", true, current, 0},                 // minimised comes back normal
      {"[ExamPos]\nWin.State=2\nWin.Width=640\n", true, QRect(10, 20, 640, 200), 2},
      {"[ExamPos]\n", true, current, 0},
  };
  for (const Case &c : cases) {
    const PlacementDecision d = decidePlacement(parsed(c.file), "ExamPos", screen, current, 0);
    EXPECT_EQ(d.use, c.use) << c.file;
    EXPECT_EQ(d.bounds, c.bounds) << c.file;
    EXPECT_EQ(d.state, c.state) << c.file;
  }
}

TEST(WindowPlacement, WritesKeysAndExtraValues) {
  IniFile ini;
  writeWindowPlacement(ini, "GamePos12", WindowPlacement{2, QSize(1280, 1024), true, QRect(6, 5, 700, 500)});
  writeExtraValues(ini, "GamePos12", {{"Level", 3}, {"Sound", true}, {"Player", QString("Ana")}});
  EXPECT_EQ(ini.toBytes(), QByteArray("[GamePos12]\r\nWin.State=2\r\nDesktop.Width=1280\r\nDesktop.Height=1024\r\n"
                                      "Win.Top=5\r\nWin.Left=6\r\nWin.Width=700\r\nWin.Height=500\r\n"
                                      "Level=3\r\nSound=1\r\nPlayer=Ana\r\n"));
  QList<ExtraValue> extras = {{"level", 1}, {"SOUND", false}, {"Player", QString("x")}, {"Missing", 9}};
  readExtraValues(ini, "gamepos12", extras);
  EXPECT_EQ(std::get<int>(extras[0].value), 3);
  EXPECT_EQ(std::get<bool>(extras[1].value), true);
  EXPECT_EQ(std::get<QString>(extras[2].value), "Ana");
  EXPECT_EQ(std::get<int>(extras[3].value), 9);

  IniFile noBounds;
  writeWindowPlacement(noBounds, "S", WindowPlacement{1, QSize(800, 600), false, {}});
  EXPECT_EQ(noBounds.keys("S"), QStringList({"Win.State", "Desktop.Width", "Desktop.Height"}));
}

TEST(WindowPlacement, KeepOnScreen) {
  const QRect area(0, 0, 1000, 700);  // right and bottom edges exclusive at 1000 and 700
  struct Case { QRect window; bool flip; QPoint expected; } cases[] = {
      {QRect(100, 100, 200, 100), false, {100, 100}},
      {QRect(-50, -20, 200, 100), false, {0, 0}},
      {QRect(900, 650, 200, 100), false, {800, 600}},
      {QRect(800, 600, 200, 100), false, {800, 600}},  // exactly fits
      {QRect(900, 650, 200, 100), true, {700, 550}},   // flipped to the other side of the anchor
      {QRect(-5, 690, 50, 20), true, {0, 670}},
  };
  for (const Case &c : cases) EXPECT_EQ(keepOnScreen(c.window, area, c.flip).topLeft(), c.expected) << c.window.x();
  EXPECT_EQ(keepOnScreen(QRect(900, 650, 200, 100), QRect(50, 40, 1000, 700), false).topLeft(), QPoint(850, 640));
}

TEST(WindowPlacement, Centring) {
  EXPECT_EQ(centreOver(QPoint(100, 50), QSize(800, 600), QSize(200, 100)), QPoint(400, 300));
  EXPECT_EQ(centreOver(QPoint(0, 0), QSize(100, 100), QSize(205, 105)), QPoint(-52, -2));  // truncated division
  EXPECT_EQ(centreIn(QRect(0, 30, 1024, 738), QSize(24, 38)), QPoint(500, 380));
}

TEST(WindowPlacement, DefaultMainWindowBounds) {
  EXPECT_EQ(defaultMainWindowBounds(QRect(0, 0, 1024, 768)), QRect(64, 48, 896, 672));
  EXPECT_EQ(defaultMainWindowBounds(QRect(0, 30, 1600, 1170)), QRect(100, 103, 1400, 1023));
}

TEST(WindowPlacement, OnRealWindows) {
  vltest::application();
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  QWidget window;
  window.setGeometry(30, 40, 320, 240);
  window.show();
  IniFile ini;
  SaveWindowPlacement(ini, &window, "CommentPos", {{"Extra", 5}});
  EXPECT_EQ(ini.readInteger("CommentPos", "Win.State", -1), 0);
  EXPECT_EQ(ini.readInteger("CommentPos", "Desktop.Width", -1), screen.width());
  EXPECT_EQ(ini.readInteger("CommentPos", "Win.Left", -1), 30);
  EXPECT_EQ(ini.readInteger("CommentPos", "Win.Top", -1), 40);
  EXPECT_EQ(ini.readInteger("CommentPos", "Win.Width", -1), 320);
  EXPECT_EQ(ini.readInteger("CommentPos", "Extra", -1), 5);

  // Saved maximised: opens maximised and keeps the saved normal bounds for restoring.
  ini.writeInteger("CommentPos", "Win.State", 2);
  QWidget other;
  other.setGeometry(0, 0, 100, 100);
  QList<ExtraValue> extras = {{"Extra", 0}};
  EXPECT_TRUE(LoadWindowPlacement(ini, &other, "CommentPos", extras));
  EXPECT_TRUE(other.windowState() & Qt::WindowMaximized);
  EXPECT_EQ(std::get<int>(extras[0].value), 5);
  other.show();
  other.showNormal();
  EXPECT_EQ(other.geometry(), QRect(30, 40, 320, 240));

  // From a larger screen: ignored, a main window is centred instead.
  ini.writeInteger("CommentPos", "Desktop.Width", screen.width() + 1);
  QWidget main;
  main.resize(200, 100);
  EXPECT_FALSE(LoadWindowPlacement(ini, &main, "CommentPos", extras, true));
  const QRect area = workAreaOf(&main);
  EXPECT_EQ(main.frameGeometry().topLeft(), area.topLeft() + QPoint((area.width() - 200) / 2, (area.height() - 100) / 2));

  QWidget off;
  off.setGeometry(area.right() - 10, area.bottom() - 10, 100, 80);
  KeepOnScreen(&off, false);
  EXPECT_TRUE(area.contains(off.frameGeometry()));

  QWidget owner, dialog;
  owner.setGeometry(100, 100, 400, 300);
  dialog.resize(200, 100);
  CentreOverWindow(&owner, &dialog);
  EXPECT_EQ(dialog.pos(), owner.frameGeometry().topLeft() + QPoint(100, 100));
}
