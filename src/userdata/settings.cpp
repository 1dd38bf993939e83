#include "userdata/settings.h"

#include "common/ini_file.h"
#include "common/program_files.h"
#include "common/text_utils.h"

namespace vl {

namespace {

QString S(const char16_t *name) { return QString::fromUtf16(name); }

int readColor(const IniFile &ini, const QString &section, const QString &key, int def) {
  const int v = ini.readInteger(section, key, def);
  return v < 0 || v > 0xFFFFFF ? def : v;
}

}  // namespace

QString gamePosSection(const QString &topicId) { return QStringLiteral("GamePos") + topicId; }

QColor colorFromStored(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

int colorToStored(const QColor &color) { return color.red() | (color.green() << 8) | (color.blue() << 16); }

QUuid readGuid(const IniFile &ini, const QString &section, const QString &key) {
  const QString text = ini.readString(section, key).trimmed();
  if (!text.startsWith(u'{') || !text.endsWith(u'}')) return QUuid();
  return QUuid::fromString(text);
}

QString guidText(const QUuid &id) { return id.toString(QUuid::WithBraces).toUpper(); }

void readConfig(const IniFile &ini, Settings &s) {
  const Settings d;
  const QString c = S(kSectionConfig);
  s.colorBack = readColor(ini, c, "ColorBack", d.colorBack);
  s.colorWin = readColor(ini, c, "ColorWin", d.colorWin);
  s.colorPanel = readColor(ini, c, "ColorPanel", d.colorPanel);
  s.colorInitialPanel = readColor(ini, c, "ColorInitialPanel", d.colorInitialPanel);
  s.flat = ini.readBool(c, "Flat", d.flat);
  s.reUseWin = ini.readBool(c, "ReUseWin", d.reUseWin);
  s.autoSpeech = ini.readBool(c, "AutoSpeech", d.autoSpeech);
  s.autoSpeechNatural = ini.readBool(c, "AutoSpeechNatural", d.autoSpeechNatural);
  s.informResults = ini.readBool(c, "InformResults", d.informResults);
  s.showHint = ini.readBool(c, "ShowHint", d.showHint);
  s.giveInstructions = ini.readBool(c, "giveInstructions", d.giveInstructions);
  s.showCommentsOnTree = ini.readBool(c, "showCommentsOnTree", d.showCommentsOnTree);
  s.useMSSpeech = ini.readBool(c, "UseMSSpeech", d.useMSSpeech);
  s.msSpeechEngine = readGuid(ini, c, "MSSpeechEngine");

  const QString f = S(kSectionFont);
  s.fontName = ini.readString(f, "Name", d.fontName);
  s.fontSize = ini.readInteger(f, "Size", d.fontSize);
  s.fontColor = readColor(ini, f, "Color", d.fontColor);
}

void writeConfig(IniFile &ini, const Settings &s) {
  const QString c = S(kSectionConfig);
  ini.writeInteger(c, "ColorBack", s.colorBack);
  ini.writeInteger(c, "ColorWin", s.colorWin);
  ini.writeInteger(c, "ColorPanel", s.colorPanel);
  ini.writeInteger(c, "ColorInitialPanel", s.colorInitialPanel);
  ini.writeBool(c, "Flat", s.flat);
  ini.writeBool(c, "ReUseWin", s.reUseWin);
  ini.writeBool(c, "AutoSpeech", s.autoSpeech);
  ini.writeBool(c, "AutoSpeechNatural", s.autoSpeechNatural);
  ini.writeBool(c, "InformResults", s.informResults);
  ini.writeBool(c, "ShowHint", s.showHint);
  ini.writeBool(c, "giveInstructions", s.giveInstructions);
  ini.writeBool(c, "showCommentsOnTree", s.showCommentsOnTree);
  ini.writeBool(c, "UseMSSpeech", s.useMSSpeech);
  ini.writeString(c, "MSSpeechEngine", guidText(s.msSpeechEngine));

  const QString f = S(kSectionFont);
  ini.writeString(f, "Name", s.fontName);
  ini.writeInteger(f, "Size", s.fontSize);
  ini.writeInteger(f, "Color", s.fontColor);
}

void addRecentSearch(QStringList &list, const QString &text) {
  if (IsBlank(text)) return;
  list.removeAll(text);
  list.prepend(text);
}

void readPersistent(const IniFile &ini, Settings &s) {
  const Settings d;
  const QString search = S(kSectionSearch);
  for (int i = kMaxRecentSearches - 1; i >= 0; --i) addRecentSearch(s.recentSearches, ini.readString(search, QString::number(i)));

  const QString p = S(kSectionPersistent);
  s.user = ini.readString(p, "User", LoginName());
  s.textSize = qBound(kMinTextSize, ini.readInteger(p, "TextSize", d.textSize), kMaxTextSize);
  s.soundsEnabled = ini.readBool(p, "SoundsOff", d.soundsEnabled);
  s.statusBarVisible = ini.readBool(p, "StatusBar.Visible", d.statusBarVisible);
  s.navigationBarVisible = ini.readBool(p, "NavigationBar.Visible", d.navigationBarVisible);
  s.navigationBarHeight = ini.readInteger(p, "NavigationBar.Height", d.navigationBarHeight);
  s.correctWindowHide = ini.readInteger(p, "CorrectWindowHide", d.correctWindowHide);
  s.workOffLine = ini.readBool(p, "WorkOffLine", d.workOffLine);
  s.autoNextQuestion = ini.readBool(p, "AutoNextQuestion", d.autoNextQuestion);
  s.coreGuid = readGuid(ini, p, "Core.GUID");
  s.coreVersion = ini.readString(p, "Core.Version", d.coreVersion);
  s.firstTime = ini.readBool(p, "FirstTime", d.firstTime);
}

void writePersistent(IniFile &ini, const Settings &s) {
  const QString search = S(kSectionSearch);
  ini.eraseSection(search);
  for (int i = 0; i < qMin<int>(kMaxRecentSearches, s.recentSearches.size()); ++i)
    ini.writeString(search, QString::number(i), s.recentSearches[i]);

  const QString p = S(kSectionPersistent);
  ini.writeString(p, "User", s.user);
  ini.writeInteger(p, "TextSize", s.textSize);
  ini.writeBool(p, "SoundsOff", s.soundsEnabled);
  ini.writeBool(p, "StatusBar.Visible", s.statusBarVisible);
  ini.writeBool(p, "NavigationBar.Visible", s.navigationBarVisible);
  ini.writeInteger(p, "NavigationBar.Height", s.navigationBarHeight);
  ini.writeInteger(p, "CorrectWindowHide", s.correctWindowHide);
  ini.writeBool(p, "WorkOffLine", s.workOffLine);
  ini.writeBool(p, "AutoNextQuestion", s.autoNextQuestion);
  ini.writeString(p, "Core.GUID", guidText(s.coreGuid));
  ini.writeString(p, "Core.Version", s.coreVersion);
  ini.writeBool(p, "FirstTime", false);
}

void readSoundSettings(const IniFile &ini, QList<SoundSetting> &sounds) {
  for (SoundSetting &sound : sounds) {
    sound.enabled = !ini.readBool(S(kSectionSoundsDisable), sound.event, false);
    sound.file = ini.readString(S(kSectionSoundsFiles), sound.event).trimmed();
  }
}

void writeSoundSettings(IniFile &ini, const QList<SoundSetting> &sounds) {
  ini.eraseSection(S(kSectionSoundsDisable));
  ini.eraseSection(S(kSectionSoundsFiles));
  for (const SoundSetting &sound : sounds)
    if (!sound.enabled) ini.writeBool(S(kSectionSoundsDisable), sound.event, true);
  for (const SoundSetting &sound : sounds)
    if (!IsBlank(sound.file)) ini.writeString(S(kSectionSoundsFiles), sound.event, sound.file.trimmed());
}

MainLayout readMainLayout(const IniFile &ini, const LayoutGeometry &g) {
  const QString m = S(kSectionMainPos);
  MainLayout l;
  l.treesWidth = ini.readInteger(m, "TreesWidth", g.mainWidth / 3);
  l.treesHidden = ini.readBool(m, "TreesVisible", false);
  l.treesActive = qBound(0, ini.readInteger(m, "TreesActive", 0), qMax(0, g.treePages - 1));
  // Lower bound first, then the page size: a page too small for the minimum gets its own limit.
  auto clamp = [](int v, int low, int high) { return qMax(0, qMin(qMax(v, low), high)); };
  l.tableWidth = clamp(ini.readInteger(m, "TableWidth", g.tablePageWidth / 2), 30, g.tablePageWidth - 10);
  l.tableMemoHeight = clamp(ini.readInteger(m, "TableMemoHeight", g.tablePageHeight / 5), 20, g.tablePageHeight - 10);
  l.hotHeight = clamp(ini.readInteger(m, "HotHeight", g.hotPageHeight / 2), 20, g.hotPageHeight - 10);
  return l;
}

void writeMainLayout(IniFile &ini, const MainLayout &l) {
  const QString m = S(kSectionMainPos);
  ini.writeInteger(m, "TreesWidth", l.treesWidth);
  ini.writeBool(m, "TreesVisible", l.treesHidden);
  ini.writeInteger(m, "TreesActive", l.treesActive);
  ini.writeInteger(m, "TableWidth", l.tableWidth);
  ini.writeInteger(m, "TableMemoHeight", l.tableMemoHeight);
  ini.writeInteger(m, "HotHeight", l.hotHeight);
}

}  // namespace vl
