// The main window's settings: layout and configuration at creation, the persistent keys at the
// first activation, the look, and everything written at close.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeView>

#include "common/hot_button.h"
#include "common/link_label.h"
#include "common/panel_gradient.h"
#include "shell/form_main.h"
#include "userdata/look.h"

namespace vl {

void TformMain::loadLayoutAndConfig() {
  LayoutGeometry geometry;
  geometry.treePages = m_pgCtrlNodes->count();
  const QWidget *tablePage = page(QStringLiteral("tabSheetTable"));
  const QWidget *hotPage = page(QStringLiteral("tabSheetHot"));
  geometry.tablePageWidth = std::max(tablePage->width(), width() * 2 / 3);
  geometry.tablePageHeight = std::max(tablePage->height(), height() * 2 / 3);
  geometry.hotPageHeight = std::max(hotPage->height(), height() * 2 / 3);
  m_layout = m_store.LoadLayoutAndConfig(this, m_settings, geometry);
  m_treeToggle.setRemembered(m_layout.treesWidth);
  if (!m_layout.treesHidden && m_layout.treesWidth > 0) {
    m_treeToggle.setSize(m_layout.treesWidth);
    m_splitterMain->setSizes({m_layout.treesWidth, std::max(100, width() - m_layout.treesWidth)});
  }
  // A pane hidden at exit comes back at its design width; the saved width stays remembered.
  m_pgCtrlNodes->setCurrentIndex(std::clamp(m_layout.treesActive, 0, m_pgCtrlNodes->count() - 1));
  QFont font(m_settings.fontName.trimmed(), m_settings.fontSize);
  setBaseFont(font);
  action(QStringLiteral("actionShow3d"))->setChecked(!m_settings.flat);
}

void TformMain::applyLook() {
  m_settings.flat = !action(QStringLiteral("actionShow3d"))->isChecked();
  LookTargets targets;
  targets.mainWindow = m_panelBack;
  targets.plainPanels = QList<QWidget *>{m_panelMainLeft, findChild<QWidget *>(QStringLiteral("panelViewers")),
                                         m_panelImageTopic};
  targets.titleGradients = {m_titleBar};
  targets.frameAreas = QList<QWidget *>{m_splitterMain, m_splitterNav, m_statusSeparator};
  targets.textAreas = QList<QWidget *>{m_treeViewMain, m_treeViewFavorites, m_reInfo, m_reParents};
  if (m_reHotText) targets.textAreas.append(m_reHotText);
  targets.windowPanels = {m_panelPropNav};
  targets.toolBars = {m_toolBarViewers};
  targets.hotButtons = findChildren<TBV_hotButton *>();
  targets.statusBar = m_panelStatus;
  targets.statusPanels = QList<QWidget *>{m_panelStatusMsg, m_panelStatusGauge};
  targets.leftPaneTabs = m_pgCtrlNodes;
  targets.pageLinks = {m_panelPageBtns};
  targets.reapplyTextSize = [this] { selectTextSize(m_textSize); };
  ApplyLook(targets, m_settings);
  applyTitleBarHeight();
}

void TformMain::loadPersistent() {
  m_settings.user.clear();
  m_store.LoadPersistent(m_settings);
  m_settings.textSize = std::clamp(m_settings.textSize, kMinTextSize, kMaxTextSize);
  action(QStringLiteral("actionSoundsEnabled"))->setChecked(m_settings.soundsEnabled);
  if (m_settings.statusBarVisible != statusBarShown()) toggleStatusBar();
  m_navToggle.setRemembered(m_settings.navigationBarHeight > 0 ? m_settings.navigationBarHeight : kNavBarHeight);
  if (m_settings.navigationBarVisible) {
    m_navToggle.setSize(0);
    toggleNavBar();  // shows it at the remembered height
  } else if (m_navToggle.shown()) {
    toggleNavBar();
    m_navToggle.setRemembered(m_settings.navigationBarHeight > 0 ? m_settings.navigationBarHeight : kNavBarHeight);
  }
  action(QStringLiteral("actionWorkOffline"))->setChecked(m_settings.workOffLine);
  m_coreGuid = m_settings.coreGuid;
  m_coreVersion = m_settings.coreVersion;
  m_firstRun = m_settings.firstTime;
  selectTextSize(m_settings.textSize);
}

void TformMain::collectPersistent() {
  m_settings.textSize = m_textSize;
  m_settings.soundsEnabled = action(QStringLiteral("actionSoundsEnabled"))->isChecked();
  m_settings.statusBarVisible = statusBarShown();
  m_settings.navigationBarVisible = m_navToggle.shown();
  m_settings.navigationBarHeight = m_navToggle.persistentSize();
  m_settings.workOffLine = action(QStringLiteral("actionWorkOffline"))->isChecked();
  m_settings.coreGuid = m_coreGuid;
  m_settings.coreVersion = m_coreVersion;
  m_settings.flat = !action(QStringLiteral("actionShow3d"))->isChecked();
}

void TformMain::writeSettingsAtClose() {
  collectPersistent();
  if (m_settings.reUseWin) {
    m_layout.treesWidth = m_treeToggle.persistentSize();
    m_layout.treesHidden = !m_treeToggle.shown();
    m_layout.treesActive = m_pgCtrlNodes->currentIndex();
    m_store.SaveLayout(this, m_layout);
  }
  m_store.SavePersistent(m_settings);
}

}  // namespace vl
