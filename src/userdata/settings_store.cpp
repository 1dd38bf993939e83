#include "userdata/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QWidget>

#include "common/ini_file.h"
#include "common/message_box.h"

namespace vl {

namespace {

const QString kReadLayout = QStringLiteral("Ocorreu um erro ao ler o layout da janela de");
const QString kSaveLayout = QStringLiteral("Ocorreu um erro ao salvar o layout da janela em ");
const QString kSaveConfig = QStringLiteral("Ocorreu um erro ao salvar as configurações do usuário em");
const QString kReadSounds = QStringLiteral("Ocorreu um erro ao ler as personalizações de som de");
const QString kReadPlacement = QStringLiteral("Ocorreu um erro ao ler o tamanho da janela em");
const QString kSavePlacement = QStringLiteral("Ocorreu um erro ao salvar o tamanho da janela em");

}  // namespace

QString defaultSettingsPath() { return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("VL.ini")); }

SettingsStore::SettingsStore(QString path) : path_(std::move(path)) {}

void SettingsStore::warn(const QString &line, const QString &message) const {
  if (!line.isEmpty()) WarningBox({line, path_, QString(), message});
}

bool SettingsStore::read(const std::function<void(const IniFile &)> &use, const QString &errorLine) {
  IniFile ini(path_);
  try {
    ini.load();
    use(ini);
    return true;
  } catch (const IniFileError &e) {
    warn(errorLine, e.message());
  } catch (const std::exception &e) {
    warn(errorLine, QString::fromLocal8Bit(e.what()));
  }
  return false;
}

bool SettingsStore::update(const std::function<void(IniFile &)> &change, const QString &errorLine) {
  IniFile ini(path_);
  try {
    ini.load();  // an unreadable file throws here and is left alone
    change(ini);
    ini.save();
    return true;
  } catch (const IniFileError &e) {
    warn(errorLine, e.message());
  } catch (const std::exception &e) {
    warn(errorLine, QString::fromLocal8Bit(e.what()));
  }
  return false;
}

void applySettingsFont(QWidget *window, const Settings &settings) {
  if (!window || settings.fontName.trimmed().isEmpty() || settings.fontSize <= 0 || settings.fontSize > 200) return;
  QFont font = window->font();
  font.setFamily(settings.fontName.trimmed());
  font.setPointSize(settings.fontSize);
  window->setFont(font);
}

MainLayout SettingsStore::LoadLayoutAndConfig(QWidget *mainWindow, Settings &settings, LayoutGeometry geometry) {
  MainLayout layout;
  geometry.mainWidth = mainWindow->width();
  const bool ok = read(
      [&](const IniFile &ini) {
        QList<ExtraValue> none;
        LoadWindowPlacement(ini, mainWindow, QString::fromUtf16(kSectionMainPos), none, true);
        geometry.mainWidth = mainWindow->width();
        layout = readMainLayout(ini, geometry);
        readConfig(ini, settings);
      },
      kReadLayout);
  if (!ok) layout = readMainLayout(IniFile(), geometry);  // the defaults
  applySettingsFont(mainWindow, settings);
  return layout;
}

bool SettingsStore::SaveLayout(const QWidget *mainWindow, const MainLayout &layout) {
  return update(
      [&](IniFile &ini) {
        writeMainLayout(ini, layout);
        SaveWindowPlacement(ini, mainWindow, QString::fromUtf16(kSectionMainPos));
      },
      kSaveLayout);
}

bool SettingsStore::SaveConfig(const Settings &settings, const QList<SoundSetting> &sounds) {
  return update(
      [&](IniFile &ini) {
        writeConfig(ini, settings);
        writeSoundSettings(ini, sounds);
      },
      kSaveConfig);
}

bool SettingsStore::LoadSoundSettings(QList<SoundSetting> &sounds) {
  return read([&](const IniFile &ini) { readSoundSettings(ini, sounds); }, kReadSounds);
}

void SettingsStore::LoadPersistent(Settings &settings) {
  Settings loaded = settings;
  if (read([&](const IniFile &ini) { readPersistent(ini, loaded); }, QString())) {
    settings = loaded;
  } else {
    readPersistent(IniFile(), settings);  // the defaults
  }
}

void SettingsStore::SavePersistent(const Settings &settings) {
  update([&](IniFile &ini) { writePersistent(ini, settings); }, QString());
}

bool SettingsStore::LoadPlacement(QWidget *window, const QString &section, QList<ExtraValue> &extras, bool silent) {
  return read(
      [&](const IniFile &ini) {
        LoadWindowPlacement(ini, window, section, extras, false);
        if (window->isWindow()) KeepOnScreen(window, false);
      },
      silent ? QString() : kReadPlacement);
}

bool SettingsStore::LoadPlacement(QWidget *window, const QString &section, bool silent) {
  QList<ExtraValue> none;
  return LoadPlacement(window, section, none, silent);
}

bool SettingsStore::SavePlacement(const QWidget *window, const QString &section, const QList<ExtraValue> &extras,
                                  bool silent) {
  return update([&](IniFile &ini) { SaveWindowPlacement(ini, window, section, extras); },
                silent ? QString() : kSavePlacement);
}

}  // namespace vl
