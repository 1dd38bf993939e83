#pragma once
// The about window and the credits window.
#include <QDialog>

namespace vl {

class AboutWindow : public QDialog {
  Q_OBJECT
 public:
  AboutWindow(const QString &caption, QWidget *parent = nullptr);
};

class CreditsWindow : public QDialog {
  Q_OBJECT
 public:
  CreditsWindow(const QString &caption, QWidget *parent = nullptr);
};

// The program's picture: a traffic sign with the initial, for windows and the about box.
QPixmap programPicture(int size);

}  // namespace vl
