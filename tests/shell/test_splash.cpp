#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QTest>

#include "display/transition_picture.h"
#include "shell/form_main.h"
#include "shell/jpeg_picture.h"
#include "shell/splash.h"
#include "support/qt_application.h"
#include "support/qt_printers.h"

using namespace vl;

TEST(SplashPictures, DecodeWithLibjpegAndRejectDamagedData) {
  vltest::application();
  for (int number = 1; number <= 3; ++number) {
    const QImage picture = TfrmSplash::splashPicture(number);
    ASSERT_FALSE(picture.isNull()) << number;
    EXPECT_EQ(picture.size(), QSize(480, 300));
  }
  // colours survive the decoding: the sky at the top is blue
  const QImage first = TfrmSplash::splashPicture(1);
  const QColor sky = first.pixelColor(5, 5);
  EXPECT_GT(sky.blue(), sky.red());
  QString error;
  EXPECT_TRUE(decodeJpeg(QByteArray("not a jpeg at all"), &error).isNull());
  EXPECT_FALSE(error.isEmpty());
  QFile file(QStringLiteral(":/splash/splash-1.jpg"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray truncated = file.readAll().left(300);
  EXPECT_NO_THROW(decodeJpeg(truncated, &error));
  EXPECT_TRUE(decodeJpeg(QByteArray(), &error).isNull());
}

TEST(TransitionPicture, RegionsGrowToTheWholePicture) {
  for (int style : {0, 1, 2, 3, 4, 118}) {
    SCOPED_TRACE(style);
    const auto effect = TransitionPicture::effectOf(style);
    long previous = -1;
    for (int progress = 0; progress <= 100; progress += 4) {
      const QRegion region = TransitionPicture::revealedRegion(effect, 480, 300, progress);
      long area = 0;
      for (const QRect &r : region) area += static_cast<long>(r.width()) * r.height();
      EXPECT_GE(area, previous);
      previous = area;
      if (progress == 0) EXPECT_EQ(area, 0);
    }
    EXPECT_EQ(TransitionPicture::revealedRegion(effect, 480, 300, 100), QRegion(0, 0, 480, 300));
  }
}

TEST(TransitionPicture, RevealReturnsWhenComplete) {
  vltest::application();
  TransitionPicture picture;
  picture.resize(48, 30);
  picture.show();
  QImage red(48, 30, QImage::Format_RGB32);
  red.fill(Qt::red);
  picture.reveal(red, 118, 25, 1);
  EXPECT_EQ(picture.progress(), 100);
  EXPECT_EQ(picture.step(), 25);
  EXPECT_EQ(picture.picture(), red);
  EXPECT_EQ(picture.grab().toImage().pixelColor(24, 15), QColor(Qt::red));
}

TEST(Splash, ProgressLineAndStatusForwarding) {
  vltest::application();
  EXPECT_EQ(TfrmSplash::initialisingWord(QStringLiteral("pt_BR")), QStringLiteral("Inicializando"));
  EXPECT_EQ(TfrmSplash::initialisingWord(QStringLiteral("es_AR")), QStringLiteral("Inicializando"));
  EXPECT_EQ(TfrmSplash::initialisingWord(QStringLiteral("en_US")), QStringLiteral("Initializing"));
  auto *splash = new TfrmSplash;
  splash->Show();
  auto *line = splash->findChild<QLabel *>(QStringLiteral("labelProgress"));
  ASSERT_NE(line, nullptr);
  splash->SetProgress(QStringLiteral("Lendo sumário"));
  EXPECT_EQ(line->text(), QStringLiteral("Lendo sumário   "));
  QTest::qWait(350);
  EXPECT_EQ(line->text(), QStringLiteral("Lendo sumário.  "));

  bool closed = false;
  {
    MainWindowOptions options;
    options.singleInstanceCheck = false;
    TformMain window(options, splash);
    window.ShowStatus(QStringLiteral("Abrindo tabelas"));
    EXPECT_EQ(splash->progressText(), QStringLiteral("Abrindo tabelas"));
    window.ShowStatus(QString());
    EXPECT_EQ(splash->progressText(), QStringLiteral("Quase pronto"));
    QObject::connect(splash, &QObject::destroyed, [&] { closed = true; });
    splash->HideAfter(1);
    for (int i = 0; i < 50 && !closed; ++i) QTest::qWait(20);
    EXPECT_TRUE(closed);
    window.ShowStatus(QStringLiteral("Depois"));  // the splash is gone: no crash
  }
}
