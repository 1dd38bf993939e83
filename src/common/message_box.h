#pragma once
// Modal message boxes built from lines of text, captioned with the program's title by default.
#include <QString>
#include <QStringList>

#include <functional>

class QMessageBox;
class QWidget;

namespace vl {

// The title every box carries when the caller gives no caption.
inline constexpr char16_t kApplicationTitle[] = u"Vialume";

enum class MessageKind { Information, Error, Warning, Question };

// Everything a box shows: what the boxes below build and hand to the presenter.
struct MessageRequest {
  MessageKind kind = MessageKind::Information;
  QString caption;
  QString text;               // the lines joined with "\n"
  bool yesIsDefault = false;  // Question only: "Sim" instead of "Não" is the default button
};

// Builds the request: lines joined with line breaks (a CR LF inside a line becomes a line break too),
// caption = the program's title when blank, else CleanCaption(caption, true).
MessageRequest makeMessageRequest(MessageKind kind, const QStringList &lines, const QString &caption = {},
                                  bool yesIsDefault = false);

// The QMessageBox for a request (icon, Portuguese buttons "OK" / "Sim" "Não", default button,
// application-modal), not yet shown. The caller owns it.
QMessageBox *createMessageBox(const MessageRequest &request, QWidget *parent = nullptr);

// Shows a request and returns true when the user answered Yes (OK boxes return false).
using MessagePresenter = std::function<bool(const MessageRequest &)>;

// Replaces the presenter (tests record the boxes instead of showing them); an empty function
// restores the modal QMessageBox. Returns the presenter that was active.
MessagePresenter setMessagePresenter(MessagePresenter presenter);

void InfoBox(const QStringList &lines, const QString &caption = {});
void ErrorBox(const QStringList &lines, const QString &caption = {});
void WarningBox(const QStringList &lines, const QString &caption = {});
// True iff the user chose "Sim". "Não" is the default button unless yesIsDefault.
bool AskYesNo(const QStringList &lines, const QString &caption = {}, bool yesIsDefault = false);

// Records every box while alive instead of showing it; answers questions with `answer`.
class ScopedMessageRecorder {
 public:
  explicit ScopedMessageRecorder(bool answer = false);
  ~ScopedMessageRecorder();
  ScopedMessageRecorder(const ScopedMessageRecorder &) = delete;
  ScopedMessageRecorder &operator=(const ScopedMessageRecorder &) = delete;

  const QList<MessageRequest> &requests() const { return requests_; }
  void setAnswer(bool answer) { answer_ = answer; }

 private:
  QList<MessageRequest> requests_;
  bool answer_;
  MessagePresenter previous_;
};

}  // namespace vl
