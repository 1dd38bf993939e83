#pragma once
// Reading and writing the settings file at the program's moments, with the warning boxes on
// file errors. Every operation opens the file, does its work and closes it again; a file that
// exists but cannot be read is never overwritten.
#include <QString>

#include <functional>

#include "userdata/settings.h"
#include "userdata/window_placement.h"

class QWidget;

namespace vl {

// The settings file: "VL.ini" in the program's folder.
QString defaultSettingsPath();

class SettingsStore {
 public:
  explicit SettingsStore(QString path = defaultSettingsPath());
  const QString &path() const { return path_; }

  // At the main window's creation, after its default size is set: its placement from "MainPos"
  // (centred when none applies), the layout values, "Config" and "Font"; then the window takes
  // the font name and size. Warns "Ocorreu um erro ao ler o layout da janela de" on a read error.
  // `geometry.mainWidth` is taken from the window after its placement.
  MainLayout LoadLayoutAndConfig(QWidget *mainWindow, Settings &settings, LayoutGeometry geometry);
  // On exit when ReUseWin is on: the layout values and the main window's placement in "MainPos".
  bool SaveLayout(const QWidget *mainWindow, const MainLayout &layout);
  // After the customize dialog's OK: "Config", "Font" and both sound sections.
  bool SaveConfig(const Settings &settings, const QList<SoundSetting> &sounds);
  // Right after the sound table is loaded.
  bool LoadSoundSettings(QList<SoundSetting> &sounds);
  // At the first activation / on exit: "Search" and "Persistent"; errors are ignored.
  void LoadPersistent(Settings &settings);
  void SavePersistent(const Settings &settings);

  // The main window's placement wrappers for the other windows: load applies the placement and
  // keeps the window on the screen unless it is embedded in another window. Errors are reported
  // unless silent. Return false on an error.
  bool LoadPlacement(QWidget *window, const QString &section, QList<ExtraValue> &extras, bool silent = false);
  bool LoadPlacement(QWidget *window, const QString &section, bool silent = false);
  bool SavePlacement(const QWidget *window, const QString &section, const QList<ExtraValue> &extras = {},
                     bool silent = false);

  // General access for the other user-data sections: `read` loads the file and hands it over;
  // `update` loads, lets `change` edit and saves. On an error the warning box shows
  // `errorLine`, the path, an empty line and the error's message (none when errorLine is empty).
  bool read(const std::function<void(const IniFile &)> &use, const QString &errorLine);
  bool update(const std::function<void(IniFile &)> &change, const QString &errorLine);

 private:
  void warn(const QString &line, const QString &message) const;
  QString path_;
};

// Applies the saved font name and size to a window; a font that cannot be set is ignored.
void applySettingsFont(QWidget *window, const Settings &settings);

}  // namespace vl
