#pragma once
// The splash window: a borderless, stay-on-top window with a maroon frame, a picture revealed
// with a transition, a dot-animated progress line and a fade-out.
#include <QImage>
#include <QWidget>

#include <functional>

#include "shell/progress_dots.h"

class QLabel;
class QTimer;

namespace vl {

class TransitionPicture;

class TfrmSplash : public QWidget {
  Q_OBJECT
 public:
  explicit TfrmSplash(QWidget *parent = nullptr);
  ~TfrmSplash() override;

  // Centres on the work area, starts the progress text and reveals the picture.
  void Show();
  void SetProgress(const QString &text);
  QString progressText() const;
  void HideAfter(int milliseconds);
  // Reveals the two closing pictures one after the other.
  void PlayClosingAnimation();
  // Called when the splash is destroyed.
  void setClosedCallback(std::function<void()> callback) { m_closed = std::move(callback); }

  // "Inicializando" for Portuguese and Spanish user languages, else "Initializing".
  static QString initialisingWord(const QString &languageName);
  // The splash pictures (decoded from the program's JPEGs); a null image when one is missing.
  static QImage splashPicture(int number);

 private:
  void fadeOut();

  TransitionPicture *m_picture = nullptr;
  QLabel *m_labelBig = nullptr;
  QLabel *m_labelSmall = nullptr;
  QLabel *m_labelProgress = nullptr;
  QImage m_closing1;
  QImage m_closing2;
  ProgressDots m_dots;
  QTimer *m_dotTimer = nullptr;
  QTimer *m_hideTimer = nullptr;
  std::function<void()> m_closed;
  bool m_fading = false;
};

}  // namespace vl
