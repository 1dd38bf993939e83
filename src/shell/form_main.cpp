#include "shell/form_main.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QMenu>
#include <QToolButton>
#include <QProgressBar>
#include <QScreen>
#include <QSizeGrip>
#include <QStatusBar>
#include <QSplitter>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "common/hot_button.h"
#include "common/link_label.h"
#include "common/panel_gradient.h"
#include "common/program_files.h"
#include "common/text_utils.h"
#include "shell/picture_lists.h"
#include "shell/text_size.h"
#include "shell/single_instance.h"
#include "shell/splash.h"
#include "shell/topic_tree.h"
#include "shell/vl_tables.h"

namespace vl {

namespace {

QWidget *namedWidget(const QString &name, QWidget *parent = nullptr) {
  auto *widget = new QWidget(parent);
  widget->setObjectName(name);
  return widget;
}

QFrame *namedFrame(const QString &name, QFrame::Shape shape, QWidget *parent = nullptr) {
  auto *frame = new QFrame(parent);
  frame->setObjectName(name);
  frame->setFrameShape(shape);
  return frame;
}

}  // namespace

TformMain::TformMain(MainWindowOptions options, TfrmSplash *splash, QWidget *parent)
    : QMainWindow(parent),
      m_options(std::move(options)),
      m_store(ChangeFileExtension(m_options.programPath.isEmpty() ? QCoreApplication::applicationFilePath()
                                                                  : m_options.programPath,
                                  QStringLiteral(".ini"))),
      m_splash(splash) {
  setObjectName(QStringLiteral("formMain"));
  // 1. owned lists
  m_pictures = std::make_unique<PictureLists>();
  m_tree = std::make_unique<TopicTree>();
  m_tree->setPictures(m_pictures.get());
  m_tables = std::make_unique<TVLTables>();
  // 2. initial state
  m_state = StateCreated;
  m_viewerKind = 0;
  m_baseFont = QFont(QStringLiteral("Tahoma"), 10);
  // 3. layout, commands, menus
  buildLayout();
  buildCommands();
  buildMenus();
  buildToolBar();
  buildContextMenus();
  buildTextSizeMenus();
  connectCommands();
  selectTextSize(TextSizeLevels::DefaultLevel);
  // 4. file names and the offline notice
  const QString program = m_options.programPath.isEmpty() ? QCoreApplication::applicationFilePath()
                                                          : m_options.programPath;
  m_settingsPath = m_store.path();
  m_corePath = m_options.coreModulePath.isEmpty()
                   ? QFileInfo(program).absolutePath() + QStringLiteral("/vl-core.cdb")
                   : m_options.coreModulePath;
  m_offlineNotice = QStringLiteral("Os links externos estão desativados. Para ativar desmarque: '%1' do menu %2.")
                        .arg(CleanCaption(action(QStringLiteral("actionWorkOffline"))->text(), false),
                             CleanCaption(m_mnFile->title(), false));
  // 5. default placement: 7/8 of the work area, centred
  if (QScreen *screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    const QSize size(area.width() * 7 / 8, area.height() * 7 / 8);
    setGeometry(QRect(area.topLeft() + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
                      size));
  }
  loadLayoutAndConfig();
  // 6. caption
  setWindowTitle(QApplication::applicationName().isEmpty() ? QStringLiteral("Vialume")
                                                           : QApplication::applicationName());
  // timers
  m_timerInit = new QTimer(this);
  m_timerInit->setObjectName(QStringLiteral("timerInit"));
  m_timerInit->setSingleShot(true);
  m_timerInit->setInterval(m_options.initDelayMs);
  connect(m_timerInit, &QTimer::timeout, this, &TformMain::onTimerInit);
  m_timerReg = new QTimer(this);
  m_timerReg->setObjectName(QStringLiteral("timerReg"));
  m_timerReg->setSingleShot(true);
  connect(m_timerReg, &QTimer::timeout, this, &TformMain::onTimerReg);
  m_timerStartSpeech = new QTimer(this);
  m_timerStartSpeech->setObjectName(QStringLiteral("timerStartSpeech"));
  m_timerStartSpeech->setSingleShot(true);
  m_timerStartSpeech->setInterval(800);
  connect(m_timerStartSpeech, &QTimer::timeout, this, [this] { triggerCommand(QStringLiteral("actionSpeech")); });
  // 7. the splash's closing animation and its destroy callback
  if (m_splash) {
    m_splash->setClosedCallback([this] { onSplashClosed(); });
    m_splash->PlayClosingAnimation();
  }
  showBlankPage();
  syncCommands();
}

TformMain::~TformMain() {
  if (m_hooks.stopSounds) m_hooks.stopSounds();
  for (auto &[kind, viewer] : m_viewers) viewer->clear(*this);
  m_state = StateClosing;
  if (m_splash) m_splash->setClosedCallback({});
  m_treeViewMain->setModel(nullptr);
  m_tables.reset();
  m_tree.reset();
  m_modules.clear();
}

void TformMain::buildLayout() {
  m_panelBack = namedFrame(QStringLiteral("panelBack"), QFrame::Panel);
  m_panelBack->setFrameShadow(QFrame::Sunken);
  auto *backLayout = new QVBoxLayout(m_panelBack);
  backLayout->setContentsMargins(4, 4, 4, 4);
  backLayout->setSpacing(0);
  setCentralWidget(m_panelBack);

  m_splitterMain = new QSplitter(Qt::Horizontal, m_panelBack);
  m_splitterMain->setObjectName(QStringLiteral("splitterMain"));
  m_splitterMain->setChildrenCollapsible(true);
  backLayout->addWidget(m_splitterMain, 1);

  // left pane: page links and the trees
  m_panelMainLeft = namedFrame(QStringLiteral("panelMainLeft"), QFrame::Box);
  auto *leftLayout = new QVBoxLayout(m_panelMainLeft);
  leftLayout->setContentsMargins(1, 1, 1, 1);
  leftLayout->setSpacing(0);
  m_panelPageBtns = namedWidget(QStringLiteral("panelPageBtns"), m_panelMainLeft);
  auto *linksLayout = new QHBoxLayout(m_panelPageBtns);
  linksLayout->setContentsMargins(4, 0, 4, 0);
  m_panelPageBtns->hide();
  leftLayout->addWidget(m_panelPageBtns);
  m_pgCtrlNodes = new QTabWidget(m_panelMainLeft);
  m_pgCtrlNodes->setObjectName(QStringLiteral("pgCtrlNodes"));
  leftLayout->addWidget(m_pgCtrlNodes, 1);
  QWidget *contentsPage = namedWidget(QStringLiteral("tabSheetContents"));
  auto *contentsLayout = new QVBoxLayout(contentsPage);
  contentsLayout->setContentsMargins(0, 0, 0, 0);
  m_treeViewMain = new QTreeView(contentsPage);
  m_treeViewMain->setObjectName(QStringLiteral("treeViewMain"));
  m_treeViewMain->setHeaderHidden(true);
  m_treeViewMain->setModel(m_tree.get());
  m_treeViewMain->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_treeViewMain->setMouseTracking(true);
  m_treeViewMain->setContextMenuPolicy(Qt::CustomContextMenu);
  m_treeViewMain->viewport()->installEventFilter(this);
  m_treeViewMain->installEventFilter(this);
  contentsLayout->addWidget(m_treeViewMain);
  m_pgCtrlNodes->addTab(contentsPage, QStringLiteral("&Conteúdo"));
  QWidget *favoritesPage = namedWidget(QStringLiteral("tabSheetFavorites"));
  auto *favoritesLayout = new QVBoxLayout(favoritesPage);
  favoritesLayout->setContentsMargins(0, 0, 0, 0);
  auto *favoritesBar = new QToolBar(favoritesPage);
  favoritesBar->setObjectName(QStringLiteral("toolBarFavorites"));
  favoritesLayout->addWidget(favoritesBar);
  m_treeViewFavorites = new QTreeView(favoritesPage);
  m_treeViewFavorites->setObjectName(QStringLiteral("treeViewFavorites"));
  m_treeViewFavorites->setHeaderHidden(true);
  m_treeViewFavorites->installEventFilter(this);
  favoritesLayout->addWidget(m_treeViewFavorites);
  m_pgCtrlNodes->addTab(favoritesPage, QStringLiteral("&Favoritos"));
  // page links that replace the tabs in the flat look, captions copied from the tabs
  for (int i = 0; i < m_pgCtrlNodes->count(); ++i) {
    auto *link = new TBV_LinkLabel(m_pgCtrlNodes->tabText(i), m_panelPageBtns);
    link->setObjectName(i == 0 ? QStringLiteral("linkLabelContents") : QStringLiteral("linkLabelFavorites"));
    connect(link, &TBV_LinkLabel::clicked, this, [this, i] { m_pgCtrlNodes->setCurrentIndex(i); });
    linksLayout->addWidget(link);
    // Alt + the tab's access key activates the page while the links are shown
    const QChar key = m_pgCtrlNodes->tabText(i).at(m_pgCtrlNodes->tabText(i).indexOf(u'&') + 1);
    auto *shortcut = new QAction(this);
    shortcut->setShortcut(QKeySequence(Qt::ALT | QKeySequence(QString(key)).operator[](0).key()));
    connect(shortcut, &QAction::triggered, this, [this, i] {
      if (m_panelPageBtns->isVisible()) m_pgCtrlNodes->setCurrentIndex(i);
    });
    addAction(shortcut);
  }
  linksLayout->addStretch(1);
  m_splitterMain->addWidget(m_panelMainLeft);

  // right part: title bar, viewers, navigation bar
  m_panelProperties = namedWidget(QStringLiteral("panelProperties"));
  m_panelProperties->setMinimumSize(60, 80);
  auto *propLayout = new QVBoxLayout(m_panelProperties);
  propLayout->setContentsMargins(0, 0, 0, 0);
  propLayout->setSpacing(0);
  m_titleBar = new TBv_PanelGradient(m_panelProperties);
  m_titleBar->setObjectName(QStringLiteral("bvpgPropTitle"));
  m_titleBar->setMinimumHeight(20);
  m_titleBar->setFillMode(TBv_PanelGradient::Fill::Vertical);
  m_titleBar->setAlignment(Qt::AlignLeft);
  m_titleBar->setEllipsis(TBv_PanelGradient::TextEllipsis::End);
  m_titleBar->setTextLayout(TBv_PanelGradient::TextLayout::Center);
  auto *titleLayout = new QHBoxLayout(m_titleBar);
  titleLayout->setContentsMargins(4, 0, 4, 0);
  titleLayout->setSpacing(4);
  m_panelImageTopic = namedFrame(QStringLiteral("panelImageTopic"), QFrame::Box);
  m_panelImageTopic->setFixedSize(28, 28);
  auto *imageLayout = new QHBoxLayout(m_panelImageTopic);
  imageLayout->setContentsMargins(1, 1, 1, 1);
  m_imageTopicTitle = new QLabel(m_panelImageTopic);
  m_imageTopicTitle->setObjectName(QStringLiteral("imageTopicTitle"));
  m_imageTopicTitle->setFixedSize(24, 24);
  imageLayout->addWidget(m_imageTopicTitle);
  titleLayout->addWidget(m_panelImageTopic, 0, Qt::AlignVCenter);
  m_titleBar->setTextMargin(4 + 28 + 4);  // right edge of the topic picture + 4
  titleLayout->addStretch(1);
  m_imageTopicComment = new QLabel(m_titleBar);
  m_imageTopicComment->setObjectName(QStringLiteral("imageTopicComment"));
  m_imageTopicComment->setPixmap(m_pictures->commentPicture());
  m_imageTopicComment->setCursor(Qt::PointingHandCursor);
  m_imageTopicComment->installEventFilter(this);
  m_imageTopicComment->hide();
  titleLayout->addWidget(m_imageTopicComment, 0, Qt::AlignVCenter);
  titleLayout->addSpacing(2 - titleLayout->spacing());
  m_imageTopicState = new QLabel(m_titleBar);
  m_imageTopicState->setObjectName(QStringLiteral("imageTopicState"));
  m_imageTopicState->setFixedSize(16, 16);
  m_imageTopicState->setVisible(false);
  titleLayout->addWidget(m_imageTopicState, 0, Qt::AlignVCenter);
  propLayout->addWidget(m_titleBar);

  m_splitterNav = new QSplitter(Qt::Vertical, m_panelProperties);
  m_splitterNav->setObjectName(QStringLiteral("splitterNav"));
  m_splitterNav->setChildrenCollapsible(true);
  propLayout->addWidget(m_splitterNav, 1);
  QWidget *propMain = namedWidget(QStringLiteral("panelPropMain"));
  auto *mainLayout = new QVBoxLayout(propMain);
  mainLayout->setContentsMargins(0, 0, 0, 0);
  mainLayout->setSpacing(0);
  m_toolBarViewers = new QToolBar(propMain);
  m_toolBarViewers->setObjectName(QStringLiteral("toolBarViewers"));
  m_toolBarViewers->setIconSize(QSize(18, 18));
  mainLayout->addWidget(m_toolBarViewers);
  QWidget *viewersPanel = namedWidget(QStringLiteral("panelViewers"), propMain);
  auto *viewersLayout = new QVBoxLayout(viewersPanel);
  viewersLayout->setContentsMargins(0, 0, 0, 0);
  m_pgCtrlViewers = new QTabWidget(viewersPanel);
  m_pgCtrlViewers->setObjectName(QStringLiteral("pgCtrlViewers"));
  m_pgCtrlViewers->tabBar()->hide();
  m_pgCtrlViewers->setDocumentMode(true);
  for (const char *name : {"tabSheetBlank", "tabSheetRtf", "tabSheetTable", "tabSheetList", "tabSheetHot"}) {
    QWidget *sheet = namedWidget(QLatin1String(name));
    auto *sheetLayout = new QVBoxLayout(sheet);
    sheetLayout->setContentsMargins(0, 0, 0, 0);
    m_pgCtrlViewers->addTab(sheet, QLatin1String(name));
  }
  m_reInfo = new QTextBrowser(page(QStringLiteral("tabSheetRtf")));
  m_reInfo->setObjectName(QStringLiteral("reInfo"));
  m_reInfo->setOpenLinks(false);
  page(QStringLiteral("tabSheetRtf"))->layout()->addWidget(m_reInfo);
  viewersLayout->addWidget(m_pgCtrlViewers);
  mainLayout->addWidget(viewersPanel, 1);
  m_splitterNav->addWidget(propMain);

  m_panelPropNav = namedWidget(QStringLiteral("panelPropNav"));
  m_panelPropNav->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
  auto *navLayout = new QHBoxLayout(m_panelPropNav);
  navLayout->setContentsMargins(0, 0, 0, 0);
  navLayout->setSpacing(0);
  for (const char *name : {"bvhBtnPrior", "reParents", "bvhBtnNext"}) {
    if (QLatin1String(name) == QLatin1String("reParents")) {
      m_reParents = new QTextBrowser(m_panelPropNav);
      m_reParents->setObjectName(QStringLiteral("reParents"));
      m_reParents->setOpenLinks(false);
      m_reParents->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      m_reParents->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      m_reParents->setFrameShape(QFrame::NoFrame);
      m_reParents->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);  // one line, any height
      navLayout->addWidget(m_reParents, 1);
      continue;
    }
    auto *side = new QWidget(m_panelPropNav);
    side->setFixedWidth(19 + 4);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(2, 0, 2, 0);
    auto *button = new TBV_hotButton(side);
    button->setObjectName(QLatin1String(name));
    sideLayout->addWidget(button, 0, Qt::AlignVCenter);
    navLayout->addWidget(side);
  }
  m_splitterNav->addWidget(m_panelPropNav);
  m_splitterNav->setStretchFactor(0, 1);
  m_splitterNav->setStretchFactor(1, 0);
  m_splitterNav->setSizes({400, kNavBarHeight});
  m_splitterNav->installEventFilter(this);  // keeps the bar's height when the window resizes
  connect(m_splitterNav, &QSplitter::splitterMoved, this, [this](int, int) {
    const int height = m_splitterNav->sizes().value(1);
    if (!navBarDragAccepted(height)) {
      setNavBarHeight(m_navToggle.size());  // refused: back to the height before the drag
      return;
    }
    m_navToggle.setSize(height);
    action(QStringLiteral("actionShowNavBar"))->setChecked(height > 0);
  });
  m_splitterMain->addWidget(m_panelProperties);
  m_splitterMain->setStretchFactor(0, 0);
  m_splitterMain->setStretchFactor(1, 1);
  m_splitterMain->setSizes({217, 600});
  connect(m_splitterMain, &QSplitter::splitterMoved, this, [this](int, int) {
    const int width = m_splitterMain->sizes().value(0);
    m_treeToggle.setSize(width);
    action(QStringLiteral("actionShowTree"))->setChecked(width > 0);
  });

  // status bar
  m_statusSeparator = namedFrame(QStringLiteral("panelStatusSeparator"), QFrame::NoFrame);
  m_statusSeparator->setFixedHeight(3);
  backLayout->addWidget(m_statusSeparator);
  m_panelStatus = new QStatusBar(m_panelBack);
  m_panelStatus->setObjectName(QStringLiteral("panelStatus"));
  m_panelStatus->setSizeGripEnabled(false);
  m_panelStatus->setFixedHeight(23);
  m_panelStatusMsg = new QLabel(m_panelStatus);
  m_panelStatusMsg->setObjectName(QStringLiteral("panelStatusMsg"));
  m_panelStatusMsg->setFrameShape(QFrame::Panel);
  m_panelStatusMsg->setFrameShadow(QFrame::Sunken);
  m_panelStatusMsg->setTextFormat(Qt::PlainText);
  m_panelStatusMsg->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  m_panelStatusMsg->setContentsMargins(4, 0, 4, 0);
  m_panelStatus->addWidget(m_panelStatusMsg, 2);
  m_panelStatusGauge = new QProgressBar(m_panelStatus);
  m_panelStatusGauge->setObjectName(QStringLiteral("panelStatusGauge"));
  m_panelStatusGauge->setTextVisible(false);
  m_panelStatusGauge->hide();
  m_panelStatus->addWidget(m_panelStatusGauge, 1);
  auto *grip = new QSizeGrip(m_panelStatus);
  grip->setObjectName(QStringLiteral("panelStatusGrip"));
  grip->setFixedWidth(style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 1);
  m_panelStatus->addPermanentWidget(grip);
  backLayout->addWidget(m_panelStatus);

  connect(m_treeViewMain->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex &, const QModelIndex &) { m_treeChangeDelay->start(); });
  m_treeChangeDelay = new QTimer(this);
  m_treeChangeDelay->setSingleShot(true);
  m_treeChangeDelay->setInterval(200);
  connect(m_treeChangeDelay, &QTimer::timeout, this, &TformMain::onTreeSelectionChanged);
}

QWidget *TformMain::page(const QString &objectName) const {
  for (int i = 0; i < m_pgCtrlViewers->count(); ++i)
    if (m_pgCtrlViewers->widget(i)->objectName() == objectName) return m_pgCtrlViewers->widget(i);
  return nullptr;
}

void TformMain::showViewerPage(QWidget *sheet) {
  if (sheet) m_pgCtrlViewers->setCurrentWidget(sheet);
}

void TformMain::setViewer(unsigned char kind, std::shared_ptr<TopicViewer> viewer) {
  if (viewer)
    m_viewers[kind] = std::move(viewer);
  else
    m_viewers.erase(kind);
}

QTextEdit *TformMain::currentRichView() const {
  if (m_viewerKind == KindText) return m_reInfo;
  if (m_viewerKind == KindHotImage) return m_reHotText;
  return nullptr;
}

bool TformMain::statusBarShown() const { return !m_panelStatus->isHidden(); }
int TformMain::navBarHeight() const { return m_navToggle.size(); }
int TformMain::treePaneWidth() const { return m_treeToggle.size(); }

void TformMain::setNavBarHeight(int height) {
  if (!navBarDragAccepted(height)) height = m_navToggle.size();
  m_navToggle.setSize(height);
  const int total = m_splitterNav->height() > 0 ? m_splitterNav->height() : 400;
  m_splitterNav->setSizes({std::max(0, total - height), height});
  m_panelPropNav->setVisible(height > 0);
  action(QStringLiteral("actionShowNavBar"))->setChecked(height > 0);
}

void TformMain::setStoredCoreIdentity(const QUuid &guid, const QString &version) {
  m_coreGuid = guid;
  m_coreVersion = version;
}

QModelIndex TformMain::currentNode() const { return m_treeViewMain->currentIndex(); }

TNodeData *TformMain::currentTopic() const { return m_tree->nodeData(currentNode()); }

ModuleTable *TformMain::currentTopicTable() const {
  const TNodeData *topic = currentTopic();
  if (!topic || topic->TableIndex < 0) return nullptr;
  TVLTable *entry = m_tables->Item(topic->TableIndex);
  if (!entry) return nullptr;
  try {
    return entry->openedTable();
  } catch (const std::exception &) {
    return nullptr;
  }
}

void TformMain::selectNode(const QModelIndex &node, bool immediate) {
  if (!node.isValid()) return;
  m_treeViewMain->setCurrentIndex(node);
  if (immediate) {
    m_treeChangeDelay->stop();
    onTreeSelectionChanged();
  }
}

}  // namespace vl
