#pragma once
// The places where later subsystems plug into the main window. Every member is optional: an
// unset hook does nothing (and a command without behaviour stays disabled).
#include <QModelIndex>
#include <QString>

#include <functional>
#include <memory>

namespace vl {

class TformMain;
struct TNodeData;

// A viewer page of pgCtrlViewers for one topic kind (text, table, list, hot image).
class TopicViewer {
 public:
  virtual ~TopicViewer() = default;
  // Shows the topic: load it, set the viewer commands, then window.showViewerPage(page).
  // The window has already set the title bar, the viewer kind and the common commands.
  virtual void showTopic(TformMain &window, const QModelIndex &node, TNodeData &topic) = 0;
  // Empties the page when any topic is about to be shown (or none).
  virtual void clear(TformMain &) {}
  // actionRefresh while this viewer's kind is shown.
  virtual void refresh(TformMain &) {}
  // The text size level changed (zoom of the page's own views, fonts).
  virtual void applyTextSize(TformMain &, int /*level*/) {}
};

// Answer of the speech subsystem for the first-run notice.
enum class SpeechAvailability { NoEngine, NoPortugueseEngine, PortugueseEngine };

struct ShellHooks {
  // History (navigation): called in state 3 before a new topic is shown, with the node left
  // (invalid when none), so its view state can be kept and it can be recorded in the history.
  std::function<void(TformMain &, const QModelIndex &left)> leaveTopic;
  // After the topic's common state is shown (parents line, comment window attachment).
  std::function<void(TformMain &, const QModelIndex &node)> topicShown;
  // Whether the back history is empty (enables actionBack at topic display).
  std::function<bool()> historyEmpty;

  // Start-up: speech engine choice at activation; user state after loading.
  std::function<void(TformMain &)> chooseSpeechEngine;
  std::function<void(TformMain &)> readReadMarksAndFavorites;
  std::function<void(TformMain &)> loadSounds;  // the "Sons" table and the sound settings
  std::function<void(TformMain &)> readComments;
  std::function<SpeechAvailability()> speechAvailability;  // unset: the notice is not shown
  std::function<void()> preferRecordedVoice;

  // User data: whether any of favorites, comments, read marks changed; save them.
  std::function<bool()> userDataChanged;
  std::function<void(TformMain &)> saveUserData;

  // Close requests: return false when the window stays open (the user declined).
  std::function<bool(const QString &question)> closeGameWindow;
  std::function<bool(const QString &question)> closeExamWindow;

  // Destruction: stop sounds and speech, release the sound table.
  std::function<void()> stopSounds;

  // The read-status text of a topic (empty when unread), shown in tree and title hints.
  std::function<QString(const TNodeData &)> readStatusText;

  // Secondary windows re-apply a new text size level.
  std::function<void(int level)> textSizeChanged;
};

}  // namespace vl
