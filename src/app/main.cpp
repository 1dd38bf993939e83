// The program VL: the splash, the main window and the event loop. No command-line arguments.
#include <QApplication>

#include <memory>

#include "shell/form_main.h"
#include "shell/module_factory.h"
#include "shell/splash.h"
#include "shell/text_viewer_install.h"

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vialume"));
  QApplication::setApplicationDisplayName(QStringLiteral("Vialume"));
  QApplication::setQuitOnLastWindowClosed(false);

  auto *splash = new vl::TfrmSplash;  // deletes itself when it has faded out
  splash->Show();

  vl::MainWindowOptions options;
  options.programPath = QCoreApplication::applicationFilePath();
  options.databaseFactory = vl::moduleDatabaseFactory();
  auto window = std::make_unique<vl::TformMain>(options, splash);
  vl::installTextPage(*window);
  QObject::connect(window.get(), &vl::TformMain::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
  window->show();
  splash->raise();  // above the main window also where no window manager keeps it on top
  const int code = app.exec();
  window.reset();
  return code;
}
