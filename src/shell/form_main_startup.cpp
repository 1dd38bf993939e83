// Start-up, status and progress, close confirmation and shutdown of the main window.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include "common/message_box.h"
#include "common/program_files.h"
#include "common/window_utils.h"
#include "shell/form_main.h"
#include "shell/picture_lists.h"
#include "shell/single_instance.h"
#include "shell/splash.h"
#include "shell/topic_tree.h"
#include "shell/vl_tables.h"

namespace vl {

namespace {

void pumpEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); }

void waitPumping(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

// ---- status and progress ----

void TformMain::ShowStatus(const QString &text) {
  const bool blank = text.trimmed().isEmpty();
  m_statusText = blank ? QString() : text + QStringLiteral("...");
  m_panelStatusMsg->setText(m_statusText);
  if (m_splash) m_splash->SetProgress(blank ? QStringLiteral("Quase pronto") : text);
  pumpEvents();
}

void TformMain::SetStatusText(const QString &text) {
  QString line = text;
  line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  line.replace(u'\n', u' ');
  line.replace(u'\r', u' ');
  m_statusText = line;
  m_panelStatusMsg->setText(line);
  pumpEvents();
}

void TformMain::BeginProgress(int maximum) {
  m_panelStatusGauge->setMaximum(std::max(1, maximum));
  m_panelStatusGauge->setValue(0);
  m_panelStatusGauge->setFixedWidth(std::max(60, m_panelStatus->width() / 3));
  m_panelStatusGauge->show();
  m_gaugeSteps = 0;
  m_savedStatus = m_statusText;
  m_panelStatusMsg->clear();
  m_statusText.clear();
  m_rules.beginProgress();
  syncCommands();
}

void TformMain::EndProgress() {
  const bool wasShown = !m_panelStatusGauge->isHidden();
  m_panelStatusGauge->hide();
  m_rules.endProgress();
  syncCommands();
  if (wasShown) SetStatusText(m_savedStatus);
}

void TformMain::ProgressReport(int value) {
  if (value == 101)
    ++m_gaugeSteps;
  else
    m_panelStatusGauge->setValue(std::min(m_panelStatusGauge->maximum(), m_gaugeSteps * 100 + value));
  pumpEvents();
}

void TformMain::advanceGauge() {
  m_panelStatusGauge->setValue(std::min(m_panelStatusGauge->maximum(), m_panelStatusGauge->value() + 1));
  pumpEvents();
}

void TformMain::setLoading(bool loading) {
  if (loading) {
    m_state = StateLoading;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
    m_state = StateReady;
  }
}

void TformMain::setTreeUpdates(bool enabled) { m_treeViewMain->setUpdatesEnabled(enabled); }

// ---- activation and initialisation ----

void TformMain::showEvent(QShowEvent *event) {
  QMainWindow::showEvent(event);
  if (!m_activated) QTimer::singleShot(0, this, &TformMain::activate);
}

void TformMain::changeEvent(QEvent *event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_flashPending) {
    FlashTaskbar(this, false);
    m_flashPending = false;
  }
}

void TformMain::activate() {
  if (m_activated || m_initialised) return;
  m_activated = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  applyTitleBarHeight();
  applyLook();
  loadPersistent();
  ShowStatus(QStringLiteral("Inicializando"));
  if (m_hooks.chooseSpeechEngine) m_hooks.chooseSpeechEngine(*this);
  setAttribute(Qt::WA_AlwaysShowToolTips, m_settings.showHint);
  m_timerInit->start();
}

void TformMain::runInitialisation() {
  activate();
  m_timerInit->stop();
  onTimerInit();
}

void TformMain::onTimerInit() {
  m_timerInit->stop();
  if (m_initialised) {
    triggerCommand(QStringLiteral("actionRefresh"));
    return;
  }
  m_initialised = true;
  try {
    // single instance: a second main window of this program closes without a word
    if (m_options.singleInstanceCheck) {
      if (!m_instance) m_instance = std::make_unique<SingleInstance>(SingleInstance::keyForProgram(m_settingsPath));
      if (!m_instance->claim()) {
        m_closingMark = true;
        finishInitialisation(true);
        close();
        return;
      }
    }
    if (!FilePresent(m_corePath)) {
      ErrorBox({QStringLiteral("Não encontrei o módulo principal de dados:"), m_corePath, QString(),
                QStringLiteral("Nenhuma informação estará disponível.")});
      finishInitialisation(false);
      return;
    }
    if (QWidget *focus = QApplication::focusWidget()) focus->clearFocus();
    m_treeViewMain->setFocus();

    ModuleLoader loader(*this, m_modules, *m_tables, *m_tree, *m_pictures, m_options.databaseFactory);
    const ModuleLoader::Result result = loader.LoadModule(m_corePath, m_coreGuid, m_coreVersion);
    if (result != ModuleLoader::Result::Failed) {
      ShowStatus(QStringLiteral("Aplicando configurações do usuário"));
      try {
        if (m_hooks.readReadMarksAndFavorites) m_hooks.readReadMarksAndFavorites(*this);
        if (m_tree->firstNode().isValid()) selectNode(m_tree->firstNode(), true);
        waitPumping(10);
        if (!m_modules.empty()) {
          if (m_hooks.loadSounds) m_hooks.loadSounds(*this);
          m_rules.startupSucceeded();
          syncCommands();
        }
        if (m_hooks.readComments) m_hooks.readComments(*this);
      } catch (...) {
        ShowStatus(QString());
        throw;
      }
      ShowStatus(QString());
      m_rules.setEnabled(QStringLiteral("actionCustomize"), true);
      syncCommands();
    }
  } catch (const std::exception &) {
    // the failing step has reported itself; the sequence ends below
  }
  finishInitialisation(false);
}

void TformMain::finishInitialisation(bool closing) {
  ShowStatus(QString());
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  m_state = StateReady;
  if (m_splash) m_splash->HideAfter(closing ? 1 : 800);
  if (!closing) {
    m_timerReg->setInterval(1000);
    m_timerReg->start();
    m_imageTopicState->setVisible(true);
  }
  emit initialisationFinished();
}

void TformMain::onSplashClosed() {
  const bool running = m_timerReg->isActive();
  m_timerReg->stop();
  m_splash = nullptr;
  if (m_state == StateClosing) return;
  if (!isActiveWindow()) {
    FlashTaskbar(this, true);
    m_flashPending = true;
  }
  if (action(QStringLiteral("actionCustomize"))->isEnabled()) {
    raise();
    activateWindow();
  }
  m_timerReg->setInterval(200);
  if (running) m_timerReg->start();
}

void TformMain::onTimerReg() {
  m_timerReg->stop();
  if (!m_firstRun) return;
  m_firstRun = false;
  if (!m_hooks.speechAvailability) return;
  const SpeechAvailability speech = m_hooks.speechAvailability();
  if (speech == SpeechAvailability::PortugueseEngine) return;
  if (m_hooks.preferRecordedVoice) m_hooks.preferRecordedVoice();
  const QString which = speech == SpeechAvailability::NoEngine ? QString() : QStringLiteral(" da lingua portuguesa ");
  InfoBox({QStringLiteral("Nenhum \"Conversor de Texto em Fala\" ") + which + QStringLiteral(" foi encontrado."),
           QString(), QStringLiteral("Para usufruir de todos os recursos que Vialume oferece, instale um"),
           QStringLiteral("\"Conversor de Texto em Fala\" em Português."), QString(),
           QStringLiteral("Utilize a opção [Fala] da janela Personalizar (no menu Ferramentas) para"),
           QStringLiteral("configurar o recurso. Onde também encontrará um link para a página de"),
           QStringLiteral("instalação e teste.")});
}

// ---- closing ----

bool TformMain::confirmClose() {
  if (m_hooks.closeGameWindow && !m_hooks.closeGameWindow(QStringLiteral("O jogo está ativo, deseja finalizá-lo?")))
    return false;
  if (m_hooks.closeExamWindow &&
      !m_hooks.closeExamWindow(QStringLiteral("Uma prova está sendo realizada, deseja finalizá-la?")))
    return false;
  return true;
}

void TformMain::closeEvent(QCloseEvent *event) {
  if (!confirmClose()) {
    event->ignore();
    return;
  }
  if (m_hooks.saveUserData && (!m_hooks.userDataChanged || m_hooks.userDataChanged())) m_hooks.saveUserData(*this);
  writeSettingsAtClose();
  event->accept();
  emit closed();
}


}  // namespace vl
