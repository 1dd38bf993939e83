#include "shell/about_window.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "common/version_text.h"

namespace vl {

QPixmap programPicture(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter g(&pixmap);
  g.setRenderHint(QPainter::Antialiasing);
  const double s = size;
  // a warning-sign diamond in yellow with a black border and the initial "V"
  QPolygonF diamond({QPointF(s / 2, s * 0.03), QPointF(s * 0.97, s / 2), QPointF(s / 2, s * 0.97), QPointF(s * 0.03, s / 2)});
  g.setPen(QPen(Qt::black, s * 0.05));
  g.setBrush(QColor(250, 200, 0));
  g.drawPolygon(diamond);
  QFont font(QStringLiteral("Sans"));
  font.setBold(true);
  font.setPixelSize(static_cast<int>(s * 0.45));
  g.setFont(font);
  g.setPen(QColor(128, 0, 0));
  g.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QStringLiteral("V"));
  return pixmap;
}

namespace {

QDialogButtonBox *okButton(QDialog *dialog) {
  auto *buttons = new QDialogButtonBox(dialog);
  QPushButton *ok = buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("buttonOk"));
  ok->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  return buttons;
}

}  // namespace

AboutWindow::AboutWindow(const QString &caption, QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(caption);
  setModal(true);
  auto *layout = new QVBoxLayout(this);
  auto *top = new QHBoxLayout;
  auto *picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("imageProgram"));
  picture->setPixmap(programPicture(72));
  top->addWidget(picture, 0, Qt::AlignTop);
  auto *texts = new QVBoxLayout;
  auto *name = new QLabel(QStringLiteral("Vialume"), this);
  name->setObjectName(QStringLiteral("labelProgram"));
  QFont big = name->font();
  big.setPointSize(big.pointSize() + 8);
  big.setBold(true);
  name->setFont(big);
  texts->addWidget(name);
  auto *version = new QLabel(QStringLiteral("Versão ") + VersionText(), this);
  version->setObjectName(QStringLiteral("labelVersion"));
  texts->addWidget(version);
  auto *rights = new QLabel(QStringLiteral("© 2026 Equipe Vialume. Todos os direitos reservados."), this);
  rights->setObjectName(QStringLiteral("labelRights"));
  texts->addWidget(rights);
  auto *description = new QLabel(
      QStringLiteral("Enciclopédia interativa das regras de trânsito brasileiras: legislação, sinalização, "
                     "direção defensiva, simulados de prova e jogos para aprender as placas."),
      this);
  description->setObjectName(QStringLiteral("labelDescription"));
  description->setWordWrap(true);
  texts->addWidget(description);
  top->addLayout(texts, 1);
  layout->addLayout(top);
  layout->addWidget(okButton(this));
  setFixedWidth(420);
}

CreditsWindow::CreditsWindow(const QString &caption, QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmCredits"));
  setWindowTitle(caption);
  setModal(true);
  auto *layout = new QVBoxLayout(this);
  auto *text = new QTextBrowser(this);
  text->setObjectName(QStringLiteral("reCredits"));
  text->setOpenLinks(false);
  text->setHtml(QStringLiteral(
      "<h3>Vialume</h3>"
      "<p><b>Conteúdo:</b> textos próprios da equipe Vialume sobre o Código de Trânsito Brasileiro "
      "(Lei nº 9.503/1997) e as resoluções do CONTRAN, com os desenhos das placas feitos pela equipe.</p>"
      "<p><b>Programa:</b> equipe de desenvolvimento Vialume.</p>"
      "<p><b>Bibliotecas:</b> Qt, zlib, ICU, libjpeg, espeak-ng.</p>"
      "<p><b>Agradecimentos:</b> aos instrutores e alunos de autoescola que testaram as primeiras versões, "
      "e a todos que enviaram sugestões e correções.</p>"));
  layout->addWidget(text);
  layout->addWidget(okButton(this));
  resize(460, 320);
}

}  // namespace vl
