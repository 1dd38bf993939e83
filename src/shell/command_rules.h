#pragma once
// Enabled and checked states of the window's commands and the rules that change them:
// the blank page, topic display, the start-up result, the progress gauge and the copy button.
#include <QHash>
#include <QString>
#include <QStringList>

namespace vl {

struct TNodeData;

class CommandRules {
 public:
  CommandRules();

  bool enabled(const QString &name) const { return m_enabled.value(name, false); }
  void setEnabled(const QString &name, bool on) { m_enabled.insert(name, on); }
  // The text size submenu (not a command of its own).
  bool textSizeMenuEnabled() const { return m_textSizeMenu; }
  void setTextSizeMenuEnabled(bool on) { m_textSizeMenu = on; }

  // The commands the blank page disables.
  static const QStringList &blankPageCommands();
  void blankPage();

  // Topic display: favorites, navigation and history commands.
  void topicShown(const TNodeData &topic, bool hasPrevious, bool hasNext, bool historyEmpty);
  // The start-up sequence loaded at least one module.
  void startupSucceeded();

  // The progress gauge: actionCustomize is disabled while it shows and then restored.
  void beginProgress();
  void endProgress();

  // The copy tool button: enabled iff either copy command is; its hint; its default item.
  bool copyButtonEnabled() const;
  QString copyButtonCommand() const;  // "actionCopySel", "actionCopyAll" or empty

 private:
  QHash<QString, bool> m_enabled;
  bool m_textSizeMenu = false;
  int m_progressDepth = 0;
  bool m_customizeBeforeProgress = false;
};

}  // namespace vl
