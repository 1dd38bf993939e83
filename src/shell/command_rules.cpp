#include "shell/command_rules.h"

#include "shell/command_table.h"
#include "shell/node_data.h"

namespace vl {

CommandRules::CommandRules() {
  // Commands enabled from the start ("always"); the rest wait for start-up or topic display.
  static const QStringList always = {
      QStringLiteral("actionPagConfig"),   QStringLiteral("actionSendHall"),
      QStringLiteral("actionWorkOffline"), QStringLiteral("actionQuit"),
      QStringLiteral("actionShowStatusBar"), QStringLiteral("actionShowNavBar"),
      QStringLiteral("actionShowTree"),    QStringLiteral("actionRefresh"),
      QStringLiteral("actionShow3d"),      QStringLiteral("actionShowNacHallDaFama"),
      QStringLiteral("actionSoundsEnabled"), QStringLiteral("actionVLWeb"),
      QStringLiteral("actionAbout"),       QStringLiteral("actionCredits"),
      QStringLiteral("actionGame"),        QStringLiteral("actionExam")};
  for (const CommandSpec &command : commandTable()) m_enabled.insert(QLatin1String(command.name), false);
  for (const QString &name : always) m_enabled.insert(name, true);
}

const QStringList &CommandRules::blankPageCommands() {
  static const QStringList names = {
      QStringLiteral("actionPrint"),     QStringLiteral("actionSearch"),    QStringLiteral("actionSearchNext"),
      QStringLiteral("actionLocate"),    QStringLiteral("actionSpeech"),    QStringLiteral("actionSectNext"),
      QStringLiteral("actionSectPrior"), QStringLiteral("actionTextSize"),  QStringLiteral("actionShowSet"),
      QStringLiteral("actionInstructions"), QStringLiteral("actionSetReaded"), QStringLiteral("actionResetReaded"),
      QStringLiteral("actionAddToFavorites"), QStringLiteral("actionCopySel"), QStringLiteral("actionCopyAll")};
  return names;
}

void CommandRules::blankPage() {
  for (const QString &name : blankPageCommands()) m_enabled.insert(name, false);
  m_textSizeMenu = false;
}

void CommandRules::topicShown(const TNodeData &topic, bool hasPrevious, bool hasNext, bool historyEmpty) {
  setEnabled(QStringLiteral("actionAddToFavorites"), !topic.InFavorites);
  setEnabled(QStringLiteral("actionBack"), !historyEmpty);
  setEnabled(QStringLiteral("actionNavPrior"), hasPrevious);
  setEnabled(QStringLiteral("actionNavNext"), hasNext);
}

void CommandRules::startupSucceeded() {
  for (const char *name : {"actionShowComment", "actionDoComment", "actionDic", "actionFileProperties"})
    setEnabled(QLatin1String(name), true);
}

void CommandRules::beginProgress() {
  if (m_progressDepth++ == 0) m_customizeBeforeProgress = enabled(QStringLiteral("actionCustomize"));
  setEnabled(QStringLiteral("actionCustomize"), false);
}

void CommandRules::endProgress() {
  if (m_progressDepth == 0) return;
  if (--m_progressDepth == 0 && m_customizeBeforeProgress) setEnabled(QStringLiteral("actionCustomize"), true);
}

bool CommandRules::copyButtonEnabled() const { return !copyButtonCommand().isEmpty(); }

QString CommandRules::copyButtonCommand() const {
  if (enabled(QStringLiteral("actionCopySel"))) return QStringLiteral("actionCopySel");
  if (enabled(QStringLiteral("actionCopyAll"))) return QStringLiteral("actionCopyAll");
  return {};
}

}  // namespace vl
