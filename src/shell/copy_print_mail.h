#pragma once
// Mail through the desktop's mail composer: a message with subject, body and attachments is
// handed to xdg-email, which opens the user's mail client with it so that the user picks the
// recipient and sends. Without a composer nothing happens and the call reports failure.
#include <QString>
#include <QStringList>

#include <functional>

namespace vl {

struct MailMessage {
  QString subject;
  QString body;
  QStringList attachments;  // file paths
};

class MailComposer {
 public:
  // Starts `program` with `arguments` detached; true when it started.
  using Launcher = std::function<bool(const QString &program, const QStringList &arguments)>;

  // The composer found on the search path; empty launcher: a detached QProcess.
  explicit MailComposer(Launcher launcher = {}, QString program = {});

  bool available() const { return !m_program.isEmpty(); }
  // The composer's command line for a message.
  static QStringList arguments(const MailMessage &message);
  // Opens the compose window; false when no composer is available or it could not start.
  bool send(const MailMessage &message) const;

 private:
  Launcher m_launcher;
  QString m_program;
};

}  // namespace vl
