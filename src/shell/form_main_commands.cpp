// The main window's commands: creation, menus, tool bar, context menus, enabling and behaviour.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

#include "common/hot_button.h"
#include "common/message_box.h"
#include "common/panel_gradient.h"
#include "common/safe_format.h"
#include "common/text_utils.h"
#include "shell/about_window.h"
#include "shell/command_table.h"
#include "shell/event_sound.h"
#include "shell/form_main.h"
#include "shell/hints.h"
#include "shell/module_properties.h"
#include "shell/node_data.h"
#include "shell/rich_zoom.h"
#include "shell/text_size.h"
#include "shell/toolbar_icons.h"
#include "shell/topic_tree.h"

#include <QFrame>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>

namespace vl {

namespace {

// Commands whose behaviour the window itself has; the others wait for a handler.
const QStringList &ownCommands() {
  static const QStringList names = {
      QStringLiteral("actionWorkOffline"),  QStringLiteral("actionQuit"),         QStringLiteral("actionShowStatusBar"),
      QStringLiteral("actionShowNavBar"),   QStringLiteral("actionShowTree"),     QStringLiteral("actionRefresh"),
      QStringLiteral("actionShow3d"),       QStringLiteral("actionShowNacHallDaFama"), QStringLiteral("actionSoundsEnabled"),
      QStringLiteral("actionVLWeb"),        QStringLiteral("actionAbout"),        QStringLiteral("actionCredits"),
      QStringLiteral("actionNavPrior"),     QStringLiteral("actionNavNext"),      QStringLiteral("actionLocate"),
      QStringLiteral("actionTextSize"),     QStringLiteral("actionFileProperties")};
  return names;
}

}  // namespace

QString TformMain::productAddress() { return QStringLiteral("https://vialume.example.org/"); }
QString TformMain::hallOfFameAddress() { return QStringLiteral("https://vialume.example.org/hall-da-fama/"); }

void TformMain::buildCommands() {
  for (const CommandSpec &spec : commandTable()) {
    auto *act = new QAction(spec.caption, this);
    act->setObjectName(QLatin1String(spec.name));
    if (*spec.shortcut) act->setShortcut(QKeySequence(QLatin1String(spec.shortcut)));
    act->setCheckable(spec.checkable);
    if (!spec.hint.isEmpty()) {
      const QString hint = twoPartHint(spec.caption, spec.hint);
      act->setToolTip(hintTooltip(hint));
      act->setStatusTip(hintStatusPart(hint));
      act->setProperty("vlHint", hint);
    }
    act->setIcon(commandIcon(QLatin1String(spec.name)));
    m_actions.insert(QLatin1String(spec.name), act);
    addAction(act);  // shortcuts work wherever the focus is in the window
  }
  m_mniSaveConfig = new QAction(QStringLiteral("&Salvar configurações"), this);
  m_mniSaveConfig->setObjectName(QStringLiteral("mni_SaveConfig"));
  const QString saveHint =
      twoPartHint(m_mniSaveConfig->text(), QStringLiteral("Salva as alterações nos tópicos, favoritos e comentários."));
  m_mniSaveConfig->setToolTip(hintTooltip(saveHint));
  m_mniSaveConfig->setStatusTip(hintStatusPart(saveHint));
  m_mniSaveConfig->setEnabled(false);
  m_actions.insert(m_mniSaveConfig->objectName(), m_mniSaveConfig);
  action(QStringLiteral("actionShowStatusBar"))->setChecked(true);
  action(QStringLiteral("actionShowNavBar"))->setChecked(true);
  action(QStringLiteral("actionShowTree"))->setChecked(true);
  action(QStringLiteral("actionSoundsEnabled"))->setChecked(true);
  action(QStringLiteral("actionShow3d"))->setChecked(false);
  // the dictionary's shortcut also works from the other windows of the program
  action(QStringLiteral("actionDic"))->setShortcutContext(Qt::ApplicationShortcut);
}

QAction *TformMain::action(const QString &name) const { return m_actions.value(name, nullptr); }

void TformMain::buildMenus() {
  QMenuBar *bar = menuBar();
  const auto add = [this](QMenu *menu, const char *name) { menu->addAction(action(QLatin1String(name))); };
  m_mnFile = bar->addMenu(QStringLiteral("&Arquivo"));
  m_mnFile->setObjectName(QStringLiteral("mnFile"));
  add(m_mnFile, "actionInstall");
  m_mnFile->addAction(m_mniSaveConfig);
  m_mnFile->addSeparator();
  add(m_mnFile, "actionPagConfig");
  add(m_mnFile, "actionPrint");
  m_mnFile->addSeparator();
  QMenu *send = m_mnFile->addMenu(QStringLiteral("&Enviar"));
  send->setObjectName(QStringLiteral("mnSend"));
  add(send, "actionSendHall");
  add(send, "actionSendSugestion");
  m_mnFile->addSeparator();
  add(m_mnFile, "actionFileProperties");
  add(m_mnFile, "actionWorkOffline");
  add(m_mnFile, "actionQuit");
  connect(m_mnFile, &QMenu::aboutToShow, this, [this] {
    m_mniSaveConfig->setEnabled(m_hooks.userDataChanged && m_hooks.saveUserData && m_hooks.userDataChanged());
  });

  QMenu *edit = bar->addMenu(QStringLiteral("&Editar"));
  edit->setObjectName(QStringLiteral("mnEdit"));
  add(edit, "actionCopySel");
  add(edit, "actionCopyAll");
  edit->addSeparator();
  add(edit, "actionSearch");
  add(edit, "actionSearchNext");

  QMenu *view = bar->addMenu(QStringLiteral("E&xibir"));
  view->setObjectName(QStringLiteral("mnView"));
  add(view, "actionShowStatusBar");
  add(view, "actionShowNavBar");
  add(view, "actionShowTree");
  add(view, "actionShowComment");
  view->addSeparator();
  QMenu *go = view->addMenu(QStringLiteral("&Ir para"));
  go->setObjectName(QStringLiteral("mnGoTo"));
  add(go, "actionBack");
  go->addSeparator();
  add(go, "actionNavPrior");
  add(go, "actionNavNext");
  go->addSeparator();
  add(go, "actionSectPrior");
  add(go, "actionSectNext");
  add(view, "actionShowNacHallDaFama");
  add(view, "actionRefresh");
  view->addSeparator();
  m_textSizeSubmenu = view->addMenu(action(QStringLiteral("actionTextSize"))->text());
  m_textSizeSubmenu->setObjectName(QStringLiteral("mniTextSize"));
  add(view, "actionShowSet");

  QMenu *tools = bar->addMenu(QStringLiteral("Fe&rramentas"));
  tools->setObjectName(QStringLiteral("mnTools"));
  add(tools, "actionDic");
  tools->addSeparator();
  add(tools, "actionCustomize");
  add(tools, "actionSoundsEnabled");

  QMenu *help = bar->addMenu(QStringLiteral("Aj&uda"));
  help->setObjectName(QStringLiteral("mnHelp"));
  add(help, "actionVLWeb");
  help->addSeparator();
  add(help, "actionAbout");
  add(help, "actionCredits");
}

void TformMain::buildToolBar() {
  QToolBar *bar = m_toolBarViewers;
  const auto button = [this, bar](const QString &name, QMenu *menu = nullptr) {
    auto *toolButton = new QToolButton(bar);
    toolButton->setObjectName(QStringLiteral("toolButton") + name.mid(6));
    toolButton->setDefaultAction(action(name));
    toolButton->setAutoRaise(true);
    if (menu) {
      toolButton->setMenu(menu);
      toolButton->setPopupMode(QToolButton::MenuButtonPopup);
    }
    bar->addWidget(toolButton);
    return toolButton;
  };
  auto *popMenuBack = new QMenu(this);
  popMenuBack->setObjectName(QStringLiteral("popMenuBack"));
  auto *popMenuFavorites = new QMenu(this);
  popMenuFavorites->setObjectName(QStringLiteral("popMenuFavoritesGroup"));
  auto *popMenuSearch = new QMenu(this);
  popMenuSearch->setObjectName(QStringLiteral("popMenuSearch"));
  m_popMenuCopy = new QMenu(this);
  m_popMenuCopy->setObjectName(QStringLiteral("popMenuCopy"));
  m_popMenuCopy->addAction(action(QStringLiteral("actionCopySel")));
  m_popMenuCopy->addAction(action(QStringLiteral("actionCopyAll")));
  m_popMenuTextSize = new QMenu(this);
  m_popMenuTextSize->setObjectName(QStringLiteral("popMenuTextSize"));

  button(QStringLiteral("actionBack"), popMenuBack);
  button(QStringLiteral("actionAddToFavorites"), popMenuFavorites);
  button(QStringLiteral("actionLocate"));
  bar->addSeparator();
  button(QStringLiteral("actionPrint"));
  bar->addSeparator();
  m_toolButtonReaded = button(QStringLiteral("actionSetReaded"));
  m_toolButtonReaded->setObjectName(QStringLiteral("toolButtonReaded"));
  button(QStringLiteral("actionDoComment"));
  button(QStringLiteral("actionSearch"), popMenuSearch);
  m_toolButtonCopy = new QToolButton(bar);
  m_toolButtonCopy->setObjectName(QStringLiteral("toolButtonCopy"));
  m_toolButtonCopy->setIcon(commandIcon(QStringLiteral("actionCopySel")));
  m_toolButtonCopy->setAutoRaise(true);
  m_toolButtonCopy->setMenu(m_popMenuCopy);
  m_toolButtonCopy->setPopupMode(QToolButton::MenuButtonPopup);
  connect(m_toolButtonCopy, &QToolButton::clicked, this, [this] {
    const QString command = m_rules.copyButtonCommand();
    if (command.isEmpty() || !commandAvailable(command))
      m_toolButtonCopy->setEnabled(false);
    else
      action(command)->trigger();
  });
  bar->addWidget(m_toolButtonCopy);
  button(QStringLiteral("actionShowSet"));
  bar->addSeparator();
  button(QStringLiteral("actionSectPrior"));
  button(QStringLiteral("actionSectNext"));
  bar->addSeparator();
  button(QStringLiteral("actionTextSize"), m_popMenuTextSize);
  connect(m_popMenuTextSize, &QMenu::aboutToShow, this, [this] {
    const int next = TextSizeLevels::nextLarger(m_textSize);
    m_popMenuTextSize->setDefaultAction(m_popMenuTextSize->actions().value(next));
  });
  bar->addSeparator();
  button(QStringLiteral("actionSpeech"));

  // navigation buttons
  if (auto *prior = findChild<TBV_hotButton *>(QStringLiteral("bvhBtnPrior"))) {
    prior->setGlyph(commandIcon(QStringLiteral("actionNavPrior")).pixmap(16, 16));
    prior->setToolTip(action(QStringLiteral("actionNavPrior"))->toolTip());
    connect(prior, &QToolButton::clicked, this, [this] { triggerCommand(QStringLiteral("actionNavPrior")); });
  }
  if (auto *next = findChild<TBV_hotButton *>(QStringLiteral("bvhBtnNext"))) {
    next->setGlyph(commandIcon(QStringLiteral("actionNavNext")).pixmap(16, 16));
    next->setToolTip(action(QStringLiteral("actionNavNext"))->toolTip());
    connect(next, &QToolButton::clicked, this, [this] { triggerCommand(QStringLiteral("actionNavNext")); });
  }
}

void TformMain::buildContextMenus() {
  m_popMenuContent = new QMenu(this);
  m_popMenuContent->setObjectName(QStringLiteral("popMenuContent"));
  for (const char *name : {"actionAddToFavorites", "actionSetReaded", "actionDoComment", "actionPrint", "actionShowSet"})
    m_popMenuContent->addAction(action(QLatin1String(name)));
  connect(m_treeViewMain, &QWidget::customContextMenuRequested, this, [this](const QPoint &position) {
    const QModelIndex node = m_treeViewMain->indexAt(position);
    if (node.isValid() && node != currentNode()) selectNode(node, true);  // no change delay
    m_popMenuContent->popup(m_treeViewMain->viewport()->mapToGlobal(position));
  });
  m_popMenuViewer = new QMenu(this);
  m_popMenuViewer->setObjectName(QStringLiteral("popMenuViewer"));
  m_popMenuViewer->addAction(action(QStringLiteral("actionBack")));
  m_popMenuViewer->addSeparator();
  m_popMenuViewer->addAction(action(QStringLiteral("actionCopySel")));
  m_popMenuViewer->addAction(action(QStringLiteral("actionCopyAll")));
  m_popMenuViewer->addSeparator();
  m_popMenuViewer->addAction(action(QStringLiteral("actionDefinition")));
  m_reInfo->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_reInfo, &QWidget::customContextMenuRequested, this,
          [this](const QPoint &position) { m_popMenuViewer->popup(m_reInfo->viewport()->mapToGlobal(position)); });
}

void TformMain::buildTextSizeMenus() {
  m_sizeGroupMenu = new QActionGroup(this);
  m_sizeGroupPopup = new QActionGroup(this);
  const QString commandCaption = action(QStringLiteral("actionTextSize"))->text();
  for (int level = 0; level < TextSizeLevels::Count; ++level) {
    for (const bool popup : {true, false}) {
      auto *item = new QAction(TextSizeLevels::caption(level), this);
      item->setObjectName(QStringLiteral("%1TextSize%2").arg(popup ? QStringLiteral("popup") : QStringLiteral("menu")).arg(level));
      item->setCheckable(true);
      item->setData(level);
      const QString hint = TextSizeLevels::itemHint(level, commandCaption);
      item->setToolTip(hint);
      item->setStatusTip(hint);
      (popup ? m_sizeGroupPopup : m_sizeGroupMenu)->addAction(item);
      (popup ? m_popMenuTextSize : m_textSizeSubmenu)->addAction(item);
      connect(item, &QAction::triggered, this, [this, level] {
        PlayEventSound(QStringLiteral("CLICK"));
        selectTextSize(level);
      });
    }
  }
}

void TformMain::connectCommands() {
  for (const CommandSpec &spec : commandTable()) {
    const QString name = QLatin1String(spec.name);
    QAction *act = action(name);
    const bool click = commandPlaysClick(spec);
    connect(act, &QAction::triggered, this, [this, name, click] {
      if (click) PlayEventSound(QStringLiteral("CLICK"));
      triggerCommand(name);
    });
  }
  connect(m_mniSaveConfig, &QAction::triggered, this, [this] {
    if (m_hooks.saveUserData) m_hooks.saveUserData(*this);
  });
}

bool TformMain::commandAvailable(const QString &name) const {
  if (name == u"actionInstall" || name == u"actionSendSugestion") return false;  // no behaviour
  return ownCommands().contains(name) || m_handlers.contains(name);
}

void TformMain::setCommandHandler(const QString &name, std::function<void()> handler) {
  if (handler)
    m_handlers.insert(name, std::move(handler));
  else
    m_handlers.remove(name);
  syncCommands();
}

void TformMain::syncCommands() {
  for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
    if (it.value() == m_mniSaveConfig) continue;
    it.value()->setEnabled(m_rules.enabled(it.key()) && commandAvailable(it.key()));
  }
  m_textSizeSubmenu->setEnabled(m_rules.textSizeMenuEnabled());
  updateCopyButton();
}

void TformMain::updateCopyButton() {
  const bool sel = action(QStringLiteral("actionCopySel"))->isEnabled();
  const bool all = action(QStringLiteral("actionCopyAll"))->isEnabled();
  m_toolButtonCopy->setEnabled(sel || all);
  if (sel)
    m_toolButtonCopy->setToolTip(action(QStringLiteral("actionCopySel"))->toolTip());
  else if (all)
    m_toolButtonCopy->setToolTip(action(QStringLiteral("actionCopyAll"))->toolTip());
  else
    m_toolButtonCopy->setToolTip(QStringLiteral("Cópia"));
  m_popMenuCopy->setDefaultAction(sel ? action(QStringLiteral("actionCopySel"))
                                      : all ? action(QStringLiteral("actionCopyAll")) : nullptr);
}

void TformMain::triggerCommand(const QString &name) {
  QAction *act = action(name);
  if (!act || !act->isEnabled()) return;
  if (name == u"actionDic" && m_modules.empty()) {  // nothing to look up in
    m_rules.setEnabled(name, false);
    syncCommands();
    return;
  }
  if (const auto handler = m_handlers.constFind(name); handler != m_handlers.cend()) {
    (*handler)();
    return;
  }
  if (name == u"actionQuit") {
    close();
  } else if (name == u"actionShowStatusBar") {
    toggleStatusBar();
  } else if (name == u"actionShowNavBar") {
    toggleNavBar();
  } else if (name == u"actionShowTree") {
    toggleTree();
  } else if (name == u"actionRefresh") {
    refreshTopic();
  } else if (name == u"actionTextSize") {
    selectTextSize(TextSizeLevels::nextLarger(m_textSize));
  } else if (name == u"actionLocate") {
    locateTopic();
  } else if (name == u"actionNavPrior") {
    navigate(false);
  } else if (name == u"actionNavNext") {
    navigate(true);
  } else if (name == u"actionVLWeb") {
    openWebLink(name, productAddress(), QStringLiteral("a casa de Vialume"));
  } else if (name == u"actionShowNacHallDaFama") {
    openWebLink(name, hallOfFameAddress(), QStringLiteral("o Hall da Fama Nacional"));
  } else if (name == u"actionAbout") {
    showAbout();
  } else if (name == u"actionCredits") {
    showCredits();
  } else if (name == u"actionFileProperties") {
    showModuleProperties();
  } else if (name == u"actionShow3d") {
    applyLook();
  }
  // actionWorkOffline and actionSoundsEnabled toggle their check mark; their readers look at it.
}

void TformMain::toggleStatusBar() {
  const bool show = m_panelStatus->isHidden();
  m_panelStatus->setVisible(show);
  m_statusSeparator->setVisible(show);
  action(QStringLiteral("actionShowStatusBar"))->setChecked(show);
}

void TformMain::toggleNavBar() {
  const int height = m_navToggle.toggle();
  const int total = m_splitterNav->height() > 0 ? m_splitterNav->height() : 400;
  m_panelPropNav->setVisible(height > 0);
  m_splitterNav->setSizes({std::max(0, total - height), height});
  action(QStringLiteral("actionShowNavBar"))->setChecked(height > 0);
}

void TformMain::toggleTree() {
  const int width = m_treeToggle.toggle();
  const int total = m_splitterMain->width() > 0 ? m_splitterMain->width() : 800;
  m_panelMainLeft->setVisible(width > 0);
  m_splitterMain->setSizes({width, std::max(0, total - width)});
  action(QStringLiteral("actionShowTree"))->setChecked(width > 0);
}

void TformMain::locateTopic() {
  if (!m_treeToggle.shown()) triggerCommand(QStringLiteral("actionShowTree"));
  m_pgCtrlNodes->setCurrentIndex(0);
  m_treeViewMain->scrollTo(currentNode());
  if (QTextEdit *view = currentRichView()) view->setFocus();
}

void TformMain::refreshTopic() {
  if (const auto viewer = m_viewers.find(m_viewerKind); viewer != m_viewers.end()) viewer->second->refresh(*this);
  else if (m_viewerKind == KindText) m_reInfo->viewport()->update();
}

void TformMain::navigate(bool forward) {
  const QModelIndex current = currentNode();
  const QModelIndex target = forward ? m_tree->nextNode(current) : m_tree->previousNode(current);
  if (!target.isValid()) {
    m_rules.setEnabled(forward ? QStringLiteral("actionNavNext") : QStringLiteral("actionNavPrior"), false);
    syncCommands();
    return;
  }
  selectNode(target, true);
}

bool TformMain::selectTextSize(int level) {
  level = TextSizeLevels::clamp(level);
  const ZoomRatio ratio = TextSizeLevels::ratio(level);
  bool accepted = applyZoom(m_reInfo, ratio);
  if (m_reHotText) accepted = applyZoom(m_reHotText, ratio) && accepted;
  if (!accepted) return false;
  m_textSize = level;
  m_sizeGroupMenu->actions().at(level)->setChecked(true);
  m_sizeGroupPopup->actions().at(level)->setChecked(true);
  setFont(m_baseFont);
  QFont viewerFont = m_baseFont;
  viewerFont.setPointSize(TextSizeLevels::scaledSize(m_baseFont.pointSize(), level));
  m_pgCtrlViewers->setFont(viewerFont);
  applyTitleBarHeight();
  for (auto &[kind, viewer] : m_viewers) viewer->applyTextSize(*this, level);
  if (m_hooks.textSizeChanged) m_hooks.textSizeChanged(level);
  return true;
}

void TformMain::setBaseFont(const QFont &font) {
  if (font.family().isEmpty() || font.pointSize() <= 0) return;  // a font that cannot be set is ignored
  m_baseFont = font;
  setFont(font);
}

void TformMain::applyTitleBarHeight() {
  const QFontMetrics metrics(m_titleBar->font());
  const int textHeight = qRound(1.6 * metrics.boundingRect(QStringLiteral("Wg")).height());
  const int height = std::max(m_panelImageTopic->height() + 4, textHeight);
  m_titleBar->setFixedHeight(height);
  m_panelPageBtns->setFixedHeight(height);
}

void TformMain::openWebLink(const QString &commandName, const QString &address, const QString &description) {
  QAction *command = action(commandName);
  if (action(QStringLiteral("actionWorkOffline"))->isChecked()) {
    const bool visit = AskYesNo({m_offlineNotice, QString(),
                                 SafeFormat(QStringLiteral("Mesmo assim, deseja visitar %s agora?"), {description})},
                                command ? command->text() : QString(), true);
    if (!visit) return;
  }
  PlayEventSound(QStringLiteral("LINK"));
  QDesktopServices::openUrl(QUrl(address));
}

void TformMain::showAbout() {
  QAction *about = action(QStringLiteral("actionAbout"));
  about->setChecked(true);
  AboutWindow window(CleanCaption(about->text(), true), this);
  window.exec();
  about->setChecked(false);
}

void TformMain::showCredits() {
  CreditsWindow window(CleanCaption(action(QStringLiteral("actionCredits"))->text(), true), this);
  window.exec();
}

void TformMain::showModuleProperties() {
  QList<QPair<QString, QString>> rows;
  for (const ModuleEntry &entry : m_modules) {
    const ModuleInfo info = entry.database->info();
    rows.append({info.title, info.versionText()});
  }
  TfrmModuleProp window(rows, this);
  window.exec();
}

}  // namespace vl
