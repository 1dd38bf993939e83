#pragma once
// The user's settings in memory and their sections of the settings file.
#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

namespace vl {

class IniFile;

// Section names of the settings file.
inline constexpr char16_t kSectionConfig[] = u"Config";
inline constexpr char16_t kSectionFont[] = u"Font";
inline constexpr char16_t kSectionMainPos[] = u"MainPos";
inline constexpr char16_t kSectionPersistent[] = u"Persistent";
inline constexpr char16_t kSectionSearch[] = u"Search";
inline constexpr char16_t kSectionSoundsDisable[] = u"Sounds.Disable";
inline constexpr char16_t kSectionSoundsFiles[] = u"Sounds.Files";
inline constexpr char16_t kSectionCustomize[] = u"Customize";
inline constexpr char16_t kSectionCommentPos[] = u"CommentPos";
inline constexpr char16_t kSectionExamPos[] = u"ExamPos";
// "GamePos" followed by the game topic's ID.
QString gamePosSection(const QString &topicId);

// Colours are stored as Windows colour values, 0x00BBGGRR.
QColor colorFromStored(int value);
int colorToStored(const QColor &color);

struct Settings {
  // "Config"
  int colorBack = 11522991;          // red 175, green 211, blue 175
  int colorWin = 16777215;           // white
  int colorPanel = 16777215;         // white
  int colorInitialPanel = 12639424;  // red 192, green 220, blue 192
  bool flat = true;
  bool reUseWin = true;
  bool autoSpeech = true;
  bool autoSpeechNatural = false;
  bool informResults = true;
  bool showHint = true;
  bool giveInstructions = true;
  bool showCommentsOnTree = true;
  bool useMSSpeech = true;
  QUuid msSpeechEngine;
  // "Font"
  QString fontName = QStringLiteral("Tahoma");
  int fontSize = 10;
  int fontColor = 0;
  // "Persistent"
  QString user;  // defaults to the login name when read
  int textSize = 2;  // 0 largest ... 4 smallest
  bool soundsEnabled = true;  // key "SoundsOff"
  bool statusBarVisible = true;
  bool navigationBarVisible = true;
  int navigationBarHeight = 23;  // the remembered height
  int correctWindowHide = 2;
  bool workOffLine = false;
  bool autoNextQuestion = false;
  QUuid coreGuid;
  QString coreVersion;
  bool firstTime = true;
  // "Search": most recent first
  QStringList recentSearches;

  bool operator==(const Settings &) const = default;

  QColor colorBackValue() const { return colorFromStored(colorBack); }
  QColor colorWinValue() const { return colorFromStored(colorWin); }
  QColor colorPanelValue() const { return colorFromStored(colorPanel); }
  QColor colorInitialPanelValue() const { return colorFromStored(colorInitialPanel); }
  QColor fontColorValue() const { return colorFromStored(fontColor); }
};

inline constexpr int kMaxRecentSearches = 7;
inline constexpr int kMinTextSize = 0;
inline constexpr int kMaxTextSize = 4;

// "Config" and "Font".
void readConfig(const IniFile &ini, Settings &s);
void writeConfig(IniFile &ini, const Settings &s);

// "Search" and "Persistent". Writing erases "Search" first and stores "FirstTime" as false.
void readPersistent(const IniFile &ini, Settings &s);
void writePersistent(IniFile &ini, const Settings &s);

// Puts a search at the front of the list (moving it there when present); blank texts are skipped.
void addRecentSearch(QStringList &list, const QString &text);

// GUIDs in the usual text form with braces; empty or invalid text reads as the null GUID.
QUuid readGuid(const IniFile &ini, const QString &section, const QString &key);
QString guidText(const QUuid &id);

// The sound customisation of one event.
struct SoundSetting {
  SoundSetting() = default;
  SoundSetting(QString eventName, bool isEnabled = true, QString fileName = {})
      : event(std::move(eventName)), enabled(isEnabled), file(std::move(fileName)) {}
  QString event;
  bool enabled = true;
  QString file;  // user-chosen wave file, empty for the built-in sound
};

// For every event of the list: enabled = not "Sounds.Disable"[event], file = "Sounds.Files"[event] trimmed.
void readSoundSettings(const IniFile &ini, QList<SoundSetting> &sounds);
// Erases both sections and writes the disabled events and the non-blank files.
void writeSoundSettings(IniFile &ini, const QList<SoundSetting> &sounds);

// The main window's layout values of "MainPos".
struct MainLayout {
  int treesWidth = 0;      // the left pane's width, or its remembered width when hidden
  bool treesHidden = false;  // key "TreesVisible": true when the pane was hidden at exit
  int treesActive = 0;     // 0 contents, 1 favorites
  int tableWidth = 0;
  int tableMemoHeight = 0;
  int hotHeight = 0;
  bool operator==(const MainLayout &) const = default;
};

// The sizes the defaults and clamps of the layout values depend on.
struct LayoutGeometry {
  int mainWidth = 0;
  int treePages = 2;
  int tablePageWidth = 0;
  int tablePageHeight = 0;
  int hotPageHeight = 0;
};

MainLayout readMainLayout(const IniFile &ini, const LayoutGeometry &g);
void writeMainLayout(IniFile &ini, const MainLayout &layout);

}  // namespace vl
