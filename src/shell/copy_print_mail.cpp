#include "shell/copy_print_mail.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace vl {

MailComposer::MailComposer(Launcher launcher, QString program)
    : m_launcher(std::move(launcher)), m_program(std::move(program)) {
  if (m_program.isEmpty()) m_program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
  if (!m_launcher)
    m_launcher = [](const QString &program, const QStringList &arguments) {
      return QProcess::startDetached(program, arguments);
    };
}

QStringList MailComposer::arguments(const MailMessage &message) {
  QStringList args{QStringLiteral("--utf8")};
  if (!message.subject.isEmpty()) args << QStringLiteral("--subject") << message.subject;
  // the composer takes plain line feeds
  QString body = message.body;
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (!body.isEmpty()) args << QStringLiteral("--body") << body;
  for (const QString &file : message.attachments) args << QStringLiteral("--attach") << QFileInfo(file).absoluteFilePath();
  return args;
}

bool MailComposer::send(const MailMessage &message) const {
  if (!available()) return false;
  return m_launcher(m_program, arguments(message));
}

}  // namespace vl
