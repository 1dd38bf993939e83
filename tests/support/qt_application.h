#pragma once
// The QApplication that widget tests share; created on first use, lives until the program ends.
#include <QApplication>

namespace vltest {

inline QApplication *application() {
  if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance())) return app;
  static int argc = 1;
  static char name[] = "vl-test";
  static char *argv[] = {name, nullptr};
  static QApplication *app = new QApplication(argc, argv);
  return app;
}

}  // namespace vltest
