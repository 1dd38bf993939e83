#pragma once
// The main window: contents and favorites trees, the topic viewer pages with their title bar,
// tool bar and navigation bar, the status bar, menus and every command.
#include <QFont>
#include <QHash>
#include <QMainWindow>
#include <QModelIndex>
#include <QPointer>
#include <QUuid>

#include <functional>
#include <map>
#include <memory>

#include "shell/command_rules.h"
#include "shell/module_database.h"
#include "shell/module_loader.h"
#include "shell/pane_toggle.h"
#include "shell/shell_hooks.h"
#include "userdata/settings.h"
#include "userdata/settings_store.h"

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QSplitter;
class QStackedWidget;
class QStatusBar;
class QTabWidget;
class QTextBrowser;
class QTextEdit;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeView;

namespace vl {

class PictureLists;
class SingleInstance;
class TBv_PanelGradient;
class TfrmSplash;
class TopicTree;
class TVLTable;
class TVLTables;

struct MainWindowOptions {
  QString programPath;       // the program file; the settings and module paths derive from it
  QString coreModulePath;    // empty: the program folder + "vl-core.cdb"
  ModuleDatabaseFactory databaseFactory;  // connections for module files
  int initDelayMs = 1000;    // timerInit
  bool singleInstanceCheck = true;
};

class TformMain : public QMainWindow, public LoaderHost {
  Q_OBJECT
 public:
  enum State : unsigned char { StateCreated = 0, StateClosing = 2, StateReady = 3, StateLoading = 4, StateHistory = 5 };

  explicit TformMain(MainWindowOptions options, TfrmSplash *splash = nullptr, QWidget *parent = nullptr);
  ~TformMain() override;

  // Status and progress.
  void ShowStatus(const QString &text) override;
  void SetStatusText(const QString &text);
  void BeginProgress(int maximum) override;
  void EndProgress() override;
  void ProgressReport(int value) override;
  void advanceGauge() override;
  void setLoading(bool loading) override;
  void setTreeUpdates(bool enabled) override;

  unsigned char state() const { return m_state; }
  void setState(unsigned char state) { m_state = state; }
  bool initialised() const { return m_initialised; }
  // Runs the start-up sequence now instead of waiting for timerInit.
  void runInitialisation();

  // Topics and content.
  TopicTree &contents() const { return *m_tree; }
  PictureLists &pictures() const { return *m_pictures; }
  TVLTables &tables() const { return *m_tables; }
  const ModuleList &modules() const { return m_modules; }
  QModelIndex currentNode() const;
  TNodeData *currentTopic() const;
  // The table at the current topic's TableIndex, opened if closed; null when none.
  ModuleTable *currentTopicTable() const;
  // Selects a contents node; `immediate` skips the tree's change delay.
  void selectNode(const QModelIndex &node, bool immediate = true);
  unsigned char viewerKind() const { return m_viewerKind; }
  QUuid coreGuid() const { return m_coreGuid; }
  QString coreVersion() const { return m_coreVersion; }
  void setStoredCoreIdentity(const QUuid &guid, const QString &version);

  // Commands.
  QAction *action(const QString &name) const;
  CommandRules &rules() { return m_rules; }
  // Re-applies the rules' enabled states to the actions and the copy button.
  void syncCommands();
  // Installs the behaviour of a command that a later subsystem provides.
  void setCommandHandler(const QString &name, std::function<void()> handler);
  bool commandAvailable(const QString &name) const;

  // Viewers: the page widgets of pgCtrlViewers and the viewer of each topic kind.
  void setViewer(unsigned char kind, std::shared_ptr<TopicViewer> viewer);
  void showViewerPage(QWidget *page);
  void showBlankPage();
  QWidget *page(const QString &objectName) const;
  QTextBrowser *textView() const { return m_reInfo; }  // reInfo
  // The rich text view of the shown kind (reInfo for kind 2; the hot viewer's for kind 7).
  QTextEdit *currentRichView() const;
  void setHotTextView(QTextEdit *view) { m_reHotText = view; }
  ShellHooks &hooks() { return m_hooks; }
  // The next topic display plays no "OPEN_TOPIC" sound (a link or parents-line jump).
  void suppressNextOpenSound() { m_suppressOpenSound = true; }

  // Text size.
  int textSize() const { return m_textSize; }
  bool selectTextSize(int level);
  QFont baseFont() const { return m_baseFont; }
  void setBaseFont(const QFont &font);

  // Layout toggles.
  bool statusBarShown() const;
  int navBarHeight() const;
  int treePaneWidth() const;
  void setNavBarHeight(int height);  // as a drag of splitterNav (refused at 69 or more)

  // Web links with the offline question.
  void openWebLink(const QString &commandName, const QString &address, const QString &description);
  QString offlineNotice() const { return m_offlineNotice; }
  static QString productAddress();
  static QString hallOfFameAddress();

  // The user's settings (shared by every subsystem) and their file.
  Settings &settings() { return m_settings; }
  SettingsStore &settingsStore() { return m_store; }
  MainLayout &mainLayout() { return m_layout; }
  // Applies the flat or 3-D look with the configured colours and font.
  void applyLook();
  // Recent searches of the search list, newest first.
  QStringList &recentSearches() { return m_settings.recentSearches; }

  // Paths.
  const QString &settingsPath() const { return m_settingsPath; }
  const QString &coreModulePath() const { return m_corePath; }

 signals:
  void topicDisplayed(const QModelIndex &node);
  void initialisationFinished();
  void closed();  // the close went through

 protected:
  void closeEvent(QCloseEvent *event) override;
  void showEvent(QShowEvent *event) override;
  void changeEvent(QEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  bool event(QEvent *event) override;

 private:
  // construction
  void buildLayout();
  void buildCommands();
  void buildMenus();
  void buildToolBar();
  void buildContextMenus();
  void buildTextSizeMenus();
  void connectCommands();
  // behaviour
  void activate();
  void onTimerInit();
  void onTimerReg();
  void onSplashClosed();
  void finishInitialisation(bool closing);
  bool confirmClose();
  void writeSettingsAtClose();
  void loadLayoutAndConfig();
  void loadPersistent();
  void collectPersistent();
  void onTreeSelectionChanged();
  void showTopic(const QModelIndex &node);
  void clearViewers();
  void refreshTitlePicture(const QModelIndex &node);
  void clearTitlePicture();
  void refreshStateIcons(const TNodeData *topic);
  void refreshNavCommands(const QModelIndex &node);
  void triggerCommand(const QString &name);
  void toggleStatusBar();
  void toggleNavBar();
  void toggleTree();
  void locateTopic();
  void refreshTopic();
  void navigate(bool forward);
  void showAbout();
  void showCredits();
  void showModuleProperties();
  void updateCopyButton();
  void updateTreeHint(const QPoint &position);
  void showHintInStatus(const QString &hint);
  void applyTitleBarHeight();

  MainWindowOptions m_options;
  Settings m_settings;
  SettingsStore m_store;
  MainLayout m_layout;
  QPointer<TfrmSplash> m_splash;
  unsigned char m_state = StateCreated;
  unsigned char m_viewerKind = 0;
  bool m_initialised = false;
  bool m_activated = false;
  bool m_firstRun = true;
  bool m_closingMark = false;
  bool m_flashPending = false;
  bool m_suppressOpenSound = false;
  int m_textSize = 2;
  QFont m_baseFont;
  QUuid m_coreGuid;
  QString m_coreVersion;
  QString m_settingsPath;
  QString m_corePath;
  QString m_offlineNotice;
  QString m_savedStatus;
  QString m_statusText;
  int m_gaugeSteps = 0;
  int m_titlePictureShown = -1;
  QModelIndex m_shownNode;

  std::unique_ptr<SingleInstance> m_instance;
  std::unique_ptr<PictureLists> m_pictures;
  std::unique_ptr<TopicTree> m_tree;
  std::unique_ptr<TVLTables> m_tables;
  ModuleList m_modules;
  CommandRules m_rules;
  ShellHooks m_hooks;
  QHash<QString, QAction *> m_actions;
  QHash<QString, std::function<void()>> m_handlers;
  std::map<unsigned char, std::shared_ptr<TopicViewer>> m_viewers;
  PaneToggle m_navToggle{kNavBarHeight, kNavBarHeight};
  PaneToggle m_treeToggle{217, 60};

  // widgets
  QFrame *m_panelBack = nullptr;
  QWidget *m_panelMainLeft = nullptr;
  QWidget *m_panelPageBtns = nullptr;
  QTabWidget *m_pgCtrlNodes = nullptr;
  QTreeView *m_treeViewMain = nullptr;
  QTreeView *m_treeViewFavorites = nullptr;
  QSplitter *m_splitterMain = nullptr;
  QWidget *m_panelProperties = nullptr;
  TBv_PanelGradient *m_titleBar = nullptr;
  QFrame *m_panelImageTopic = nullptr;
  QLabel *m_imageTopicTitle = nullptr;
  QLabel *m_imageTopicComment = nullptr;
  QLabel *m_imageTopicState = nullptr;
  QToolBar *m_toolBarViewers = nullptr;
  QTabWidget *m_pgCtrlViewers = nullptr;
  QTextBrowser *m_reInfo = nullptr;
  QTextEdit *m_reHotText = nullptr;
  QSplitter *m_splitterNav = nullptr;
  QWidget *m_panelPropNav = nullptr;
  QTextBrowser *m_reParents = nullptr;
  QFrame *m_statusSeparator = nullptr;
  QStatusBar *m_panelStatus = nullptr;
  QLabel *m_panelStatusMsg = nullptr;
  QProgressBar *m_panelStatusGauge = nullptr;
  QToolButton *m_toolButtonCopy = nullptr;
  QToolButton *m_toolButtonReaded = nullptr;
  QMenu *m_mnFile = nullptr;
  QMenu *m_textSizeSubmenu = nullptr;
  QMenu *m_popMenuTextSize = nullptr;
  QMenu *m_popMenuCopy = nullptr;
  QMenu *m_popMenuContent = nullptr;
  QMenu *m_popMenuViewer = nullptr;
  QActionGroup *m_sizeGroupMenu = nullptr;
  QActionGroup *m_sizeGroupPopup = nullptr;
  QTimer *m_timerInit = nullptr;
  QTimer *m_timerReg = nullptr;
  QTimer *m_treeChangeDelay = nullptr;
  QTimer *m_timerStartSpeech = nullptr;
  QAction *m_mniSaveConfig = nullptr;
};

}  // namespace vl
