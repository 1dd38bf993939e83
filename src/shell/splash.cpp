#include "shell/splash.h"

#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "common/window_utils.h"
#include "display/transition_picture.h"
#include "shell/jpeg_picture.h"

static void initSplashResources() { Q_INIT_RESOURCE(splash_pictures); }

namespace vl {

namespace {
const QColor kMaroon(128, 0, 0);
constexpr int kFadeStepMs = 8;
}  // namespace

QImage TfrmSplash::splashPicture(int number) {
  initSplashResources();
  QFile file(QStringLiteral(":/splash/splash-%1.jpg").arg(number));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return decodeJpeg(file.readAll());
}

QString TfrmSplash::initialisingWord(const QString &languageName) {
  const QString language = languageName.left(2).toLower();
  return language == u"pt" || language == u"es" ? QStringLiteral("Inicializando") : QStringLiteral("Initializing");
}

TfrmSplash::TfrmSplash(QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
  setObjectName(QStringLiteral("frmSplash"));
  setAttribute(Qt::WA_DeleteOnClose);
  setAutoFillBackground(true);
  QPalette frame = palette();
  frame.setColor(QPalette::Window, kMaroon);
  setPalette(frame);
  auto *outer = new QVBoxLayout(this);
  outer->setContentsMargins(1, 1, 1, 1);  // the one-pixel maroon frame
  auto *panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("panelSplash"));
  panel->setAutoFillBackground(true);
  QPalette white = panel->palette();
  white.setColor(QPalette::Window, Qt::white);
  panel->setPalette(white);
  outer->addWidget(panel);
  auto *layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 4);
  layout->setSpacing(2);
  m_picture = new TransitionPicture(panel);
  m_picture->setObjectName(QStringLiteral("imageSplash"));
  const QImage first = splashPicture(1);
  m_picture->setFixedSize(first.isNull() ? QSize(480, 300) : first.size());
  layout->addWidget(m_picture);
  m_labelBig = new QLabel(panel);
  m_labelBig->setObjectName(QStringLiteral("labelBig"));
  m_labelSmall = new QLabel(panel);
  m_labelSmall->setObjectName(QStringLiteral("labelSmall"));
  m_labelBig->hide();  // these two lines stay empty
  m_labelSmall->hide();
  layout->addWidget(m_labelBig);
  layout->addWidget(m_labelSmall);
  m_labelProgress = new QLabel(panel);
  m_labelProgress->setObjectName(QStringLiteral("labelProgress"));
  m_labelProgress->setAlignment(Qt::AlignCenter);
  m_labelProgress->setWordWrap(true);
  m_labelProgress->setTextFormat(Qt::PlainText);
  QFont font(QStringLiteral("Comic Sans MS"), 8);
  m_labelProgress->setFont(font);
  QPalette maroonText = m_labelProgress->palette();
  maroonText.setColor(QPalette::WindowText, kMaroon);
  m_labelProgress->setPalette(maroonText);
  m_labelProgress->setMinimumHeight(QFontMetrics(font).height() * 2);
  layout->addWidget(m_labelProgress);
  m_closing1 = splashPicture(2);
  m_closing2 = splashPicture(3);

  m_dotTimer = new QTimer(this);
  m_dotTimer->setInterval(300);
  connect(m_dotTimer, &QTimer::timeout, this, [this] { m_labelProgress->setText(m_dots.tick()); });
  m_hideTimer = new QTimer(this);
  m_hideTimer->setSingleShot(true);
  connect(m_hideTimer, &QTimer::timeout, this, &TfrmSplash::fadeOut);
}

TfrmSplash::~TfrmSplash() {
  if (m_closed) {
    auto callback = std::move(m_closed);
    callback();
  }
}

void TfrmSplash::Show() {
  adjustSize();
  if (QScreen *screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  SetProgress(initialisingWord(QLocale::system().name()) + QStringLiteral("..."));
  show();
  raise();
  m_picture->reveal(splashPicture(1), 0, 20, 20);
  m_picture->setTransition(4, 12);
}

void TfrmSplash::SetProgress(const QString &text) {
  m_labelProgress->setText(m_dots.setBase(text));
  if (m_dots.running())
    m_dotTimer->start();
  else
    m_dotTimer->stop();
}

QString TfrmSplash::progressText() const { return m_dots.base(); }

void TfrmSplash::HideAfter(int milliseconds) {
  if (milliseconds <= 0) return;
  m_hideTimer->start(milliseconds);
}

void TfrmSplash::PlayClosingAnimation() {
  QPointer<TfrmSplash> self(this);
  if (!m_closing1.isNull()) m_picture->reveal(m_closing1, 118, 4, m_picture->delay());
  if (!self) return;
  if (!m_closing2.isNull()) m_picture->reveal(m_closing2, m_picture->style(), 25, 0);
}

void TfrmSplash::fadeOut() {
  if (m_fading) return;
  m_fading = true;
  m_dotTimer->stop();
  QPointer<TfrmSplash> self(this);
  if (QGuiApplication::platformName() != u"offscreen") {
    for (int percent = 100; percent >= 0; --percent) {
      SetWindowOpacity(this, percent);
      QEventLoop loop;
      QTimer::singleShot(kFadeStepMs, &loop, &QEventLoop::quit);
      loop.exec(QEventLoop::ExcludeUserInputEvents);
      if (!self) return;
    }
  }
  close();  // deletes itself
}

}  // namespace vl
