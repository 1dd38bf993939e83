#pragma once
// A main window on an in-memory module of text topics, with the text page installed.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "common/cp1252_qt.h"
#include "common/message_box.h"
#include "fake_module.h"
#include "shell/event_sound.h"
#include "shell/form_main.h"
#include "shell/text_viewer.h"
#include "shell/text_viewer_install.h"
#include "shell/topic_tree.h"
#include "support/qt_application.h"

namespace vltest {

// RTF of a plain text: code page 1252 escapes, "\n" as paragraph breaks.
inline QString rtfOf(const QString &text) {
  QString rtf = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ");
  for (const QChar c : text) {
    if (c == u'\n')
      rtf += QStringLiteral("\\par\n");
    else if (c == u'\\' || c == u'{' || c == u'}')
      rtf += u'\\' + QString(c);
    else if (c.unicode() < 128)
      rtf += c;
    else
      rtf += QStringLiteral("\\'%1").arg(static_cast<unsigned char>(vl::toCp1252(QString(c)).at(0)), 2, 16, QChar(u'0'));
  }
  return rtf + u'}';
}

inline Record textTopic(int level, const QString &caption, const QString &id, const QString &text,
                        const QString &title = {}, const QString &section = {}) {
  Record record = topic(level, caption, QString(), QStringLiteral("rtf"), id);
  record[QStringLiteral("TITLE")] = title;
  record[QStringLiteral("FILE")] = rtfOf(text);
  record[QStringLiteral("SCT_SRCH")] = section;
  return record;
}

inline QString filler(int lines) {
  QString text;
  for (int i = 0; i < lines; ++i) text += QStringLiteral("Linha de preenchimento número %1 do texto.\n").arg(i);
  return text;
}

// Creation positions of the topics of textModule().
enum TextTopic { Legislation = 0, Speed, Urban, Highway, Road, Addresses, Empty, Articles, Last };

inline std::shared_ptr<FakeModuleData> textModule() {
  const QString legislation =
      QStringLiteral("Veja ~«2CONT0001» e ~«4CONT0001#velocidade~ver regras».\n~«4#limites~acima» e ~«0https://www.gov.br/~portal» "
                     "e ~«5R-1~placa» e ~«7NADA~comando».\n") +
      filler(80) + QStringLiteral("~«6limites»Limites aqui no fim.");
  const QString speed = QStringLiteral("Tipos de via:\n~^1\n") + filler(60) + QStringLiteral("A velocidade máxima depende da via.");
  return moduleWith({textTopic(1, QStringLiteral("Legislação"), QStringLiteral("LEGI0001"), legislation,
                               QStringLiteral("Legislação de trânsito")),
                     textTopic(2, QStringLiteral("Velocidade"), QStringLiteral("CONT0001"), speed, QStringLiteral("Limites de velocidade")),
                     textTopic(3, QStringLiteral("Via urbana"), QStringLiteral("VIAS0001"), QStringLiteral("Na via urbana.")),
                     textTopic(3, QStringLiteral("Rodovia"), QStringLiteral("VIAS0002"), QStringLiteral("Na rodovia.")),
                     textTopic(3, QStringLiteral("Estrada"), QStringLiteral("VIAS0003"), QStringLiteral("Na estrada.")),
                     textTopic(1, QStringLiteral("Endereços"), QStringLiteral("ENDE0001"), QStringLiteral("Visite www.gov.br/transito hoje.")),
                     textTopic(1, QStringLiteral("Vazio"), QStringLiteral("VAZI0001"), QString()),
                     textTopic(1, QStringLiteral("Artigos"), QStringLiteral("ARTI0001"),
                               QStringLiteral("Introdução.\nArt. 1 Primeiro.\n") + filler(40) + QStringLiteral("Art. 2 Segundo.\nArt. 3 Terceiro."),
                               QString(), QStringLiteral("Art")),
                     textTopic(1, QStringLiteral("Último"), QStringLiteral("ULTI0001"), QStringLiteral("Fim."))});
}

class TextWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    application();
    ASSERT_TRUE(dir.isValid());
    QFile core(dir.filePath(QStringLiteral("vl-core.cdb")));
    ASSERT_TRUE(core.open(QIODevice::WriteOnly));
    core.write("module");
    core.close();
    vl::MainWindowOptions options;
    options.programPath = dir.filePath(QStringLiteral("VL"));
    options.databaseFactory = fakeFactory(textModule());
    options.singleInstanceCheck = false;
    window = std::make_unique<vl::TformMain>(options);
    page = vl::installTextPage(*window);
    page.text->beep = [this] { ++beeps; };
    vl::setEventSoundPlayer([this](const QString &name) { sounds << name; });
    window->resize(900, 600);
    window->show();
    window->runInitialisation();
    ASSERT_EQ(window->state(), vl::TformMain::StateReady);
    info = window->findChild<QTextBrowser *>(QStringLiteral("reInfo"));
    ASSERT_NE(info, nullptr);
  }
  void TearDown() override { vl::setEventSoundPlayer({}); }

  QModelIndex node(int creation) const { return window->contents().nodeAt(creation); }
  void show(int creation) { window->selectNode(node(creation), true); }
  bool enabled(const char *name) const { return window->action(QLatin1String(name))->isEnabled(); }
  QString text() const { return info->document()->toPlainText(); }
  int linkOf(const QString &display) const {
    const auto &links = page.text->links();
    for (size_t i = 0; i < links.size(); ++i)
      if (links[i].displayText == display) return static_cast<int>(i);
    return -1;
  }
  void click(const QString &display) { page.text->LinkClicked(vl::linkHref(linkOf(display))); }

  QTemporaryDir dir;
  vl::ScopedMessageRecorder boxes;
  std::unique_ptr<vl::TformMain> window;
  vl::TextPage page;
  QTextBrowser *info = nullptr;
  QStringList sounds;
  int beeps = 0;
};

}  // namespace vltest
