#include <gtest/gtest.h>

#include <QSet>

#include "shell/command_rules.h"
#include "shell/command_table.h"
#include "shell/hints.h"
#include "shell/node_data.h"
#include "shell/pane_toggle.h"
#include "shell/progress_dots.h"
#include "shell/text_size.h"
#include "support/qt_printers.h"

using namespace vl;

TEST(TopicKind, FromTopicTypeAndContentType) {
  const struct {
    const char *topicType, *type;
    int kind;
  } cases[] = {{"T", "", KindTable},    {"table", "rtf", KindTable}, {"A", "", KindGame},
               {"x", "", KindExam},     {"H", "txt", KindHotImage}, {"Z", "rtf", KindHeading},
               {"", "txt", KindText},   {"", "RTF", KindText},      {"", "wmf", KindPicture},
               {"", "doc", KindHeading}, {"  ", "", KindHeading}};
  for (const auto &c : cases)
    EXPECT_EQ(topicKindOf(QString::fromUtf8(c.topicType), QString::fromUtf8(c.type)), c.kind) << c.topicType << "/" << c.type;
}

TEST(TopicKind, NumberFromIdentifier) {
  EXPECT_EQ(topicNumberOf(QStringLiteral("JOGO0003")), 3);
  EXPECT_EQ(topicNumberOf(QStringLiteral("JOGO")), 0);
  EXPECT_EQ(topicNumberOf(QStringLiteral("ABCDx12")), 0);
  EXPECT_EQ(topicNumberOf(QStringLiteral("PLAC-12")), 0);
  EXPECT_EQ(topicNumberOf(QStringLiteral("PLAC00000000000000000042")), 42);  // characters 5 to 24
  EXPECT_EQ(topicNumberOf(QStringLiteral("PLAC99999999999999999999")), 0);  // not an integer we can hold
  const int defaults[] = {0, -1, 1, 2, -1, -1, 3, 4};
  for (int kind = 0; kind < 8; ++kind) EXPECT_EQ(defaultTreePicture(static_cast<unsigned char>(kind)), defaults[kind]) << kind;
}

TEST(TextSize, RatiosScaledSizesAndStepping) {
  EXPECT_EQ(TextSizeLevels::scaledSize(10, 4), 7);  // 6.67
  EXPECT_EQ(TextSizeLevels::scaledSize(10, 0), 15);
  EXPECT_EQ(TextSizeLevels::scaledSize(10, 1), 12);  // 12.5 goes to the even neighbour
  EXPECT_EQ(TextSizeLevels::scaledSize(9, 3), 7);    // 7.2
  EXPECT_EQ(TextSizeLevels::scaledSize(11, 2), 11);
  EXPECT_EQ(TextSizeLevels::scaledSize(3, 0), 4);    // 4.5 goes to 4
  EXPECT_TRUE(TextSizeLevels::ratio(2).natural());
  int level = 2;
  QList<int> steps;
  for (int i = 0; i < 5; ++i) steps << (level = TextSizeLevels::nextLarger(level));
  EXPECT_EQ(steps, (QList<int>{1, 0, 4, 3, 2}));
  EXPECT_EQ(TextSizeLevels::clamp(9), 4);
  EXPECT_EQ(TextSizeLevels::clamp(-3), 0);
  EXPECT_EQ(TextSizeLevels::itemHint(0, QStringLiteral("&Alterar tamanho do texto")),
            QStringLiteral("Alterar tamanho do texto: Máxima"));
}

TEST(Hints, CommandHintsAndStatusLine) {
  const QString hint = twoPartHint(QStringLiteral("&Imprimir..."), QStringLiteral("Imprime o tópico ativo."));
  EXPECT_EQ(hintTooltip(hint), QStringLiteral("Imprimir"));
  EXPECT_EQ(hintStatusPart(hint), QStringLiteral("Imprime o tópico ativo."));
  EXPECT_EQ(statusLineForHint(QStringLiteral("Dica|Sem ponto final")), QStringLiteral("Sem ponto final."));
  EXPECT_EQ(statusLineForHint(QStringLiteral("Dica|Deseja sair?")), QStringLiteral("Deseja sair?"));
  EXPECT_EQ(statusLineForHint(QStringLiteral("Lista:")), QStringLiteral("Lista:"));
  EXPECT_EQ(statusLineForHint(QString()), QString());
}

TEST(Hints, TreeHintCombinesCommentReadTextAndProgress) {
  TNodeData node;
  node.Title = QStringLiteral("Sinalização");
  node.CanRevise = true;
  node.DescendantCount = 5;
  node.ReadDescendants = 3;
  node.Comment = QStringLiteral("rever");
  const QString read = QStringLiteral("Tópico lido hoje");
  EXPECT_EQ(treeNodeHint(node, true, false, read), QStringLiteral("|Sinalização (Tópico lido hoje, 3 de 5 subtopicos lidos)"));
  EXPECT_EQ(treeNodeHint(node, true, true, QString()), QStringLiteral("rever|Sinalização (3 de 5 subtopicos lidos)"));
  node.ReadDescendants = 0;
  EXPECT_EQ(treeNodeHint(node, true, false, QString()), QStringLiteral("|Sinalização (Nenhum subtopico lido)"));
  node.ReadDescendants = 5;
  EXPECT_EQ(treeNodeHint(node, true, false, QString()), QStringLiteral("|Sinalização (Todos os subtopicos lidos)"));
  node.DescendantCount = node.ReadDescendants = 1;
  EXPECT_EQ(treeNodeHint(node, true, false, read), QStringLiteral("|Sinalização (Tópico lido hoje, subtopico lido)"));
  EXPECT_EQ(treeNodeHint(node, false, false, QString()), QStringLiteral("|Sinalização"));
  node.CanRevise = false;
  EXPECT_EQ(treeNodeHint(node, true, false, read), QStringLiteral("|Sinalização (Tópico lido hoje)"));
}

TEST(Hints, StateIcon) {
  TNodeData node;
  EXPECT_EQ(stateIconIndex(node), -1);
  EXPECT_TRUE(stateIconHint(node).isEmpty());
  node.InFavorites = true;
  EXPECT_EQ(stateIconIndex(node), 1);
  EXPECT_EQ(stateIconHint(node), QStringLiteral("Em Favoritos|Tópico incluído na lista de favoritos"));
  node.ReadState = 1;
  node.ReadDate = QDateTime(QDate(2026, 3, 1), QTime(10, 30));
  EXPECT_EQ(stateIconIndex(node), 2);
  EXPECT_TRUE(stateIconHint(node).startsWith(QStringLiteral("Lido e em Favoritos|Tópico, em favoritos, lido em ")));
  node.InFavorites = false;
  EXPECT_EQ(stateIconIndex(node), 0);
  EXPECT_TRUE(stateIconHint(node).startsWith(QStringLiteral("Lido|Tópico lido em ")));
}

TEST(SplashProgress, DotsCycleAndRestart) {
  ProgressDots dots;
  EXPECT_EQ(dots.setBase(QStringLiteral("Lendo")), QStringLiteral("Lendo   "));
  EXPECT_EQ(dots.tick(), QStringLiteral("Lendo.  "));
  EXPECT_EQ(dots.tick(), QStringLiteral("Lendo.. "));
  EXPECT_EQ(dots.tick(), QStringLiteral("Lendo..."));
  EXPECT_EQ(dots.tick(), QStringLiteral("Lendo   "));
  EXPECT_EQ(dots.tick(), QStringLiteral("Lendo.  "));
  EXPECT_EQ(dots.setBase(QStringLiteral("Outro")), QStringLiteral("Outro   "));
  EXPECT_TRUE(dots.running());
  dots.setBase(QStringLiteral("  "));
  EXPECT_FALSE(dots.running());
}

TEST(Panes, ToggleRemembersSizeAndNavigationDragLimit) {
  PaneToggle nav(kNavBarHeight, kNavBarHeight);
  EXPECT_EQ(nav.toggle(), 0);
  EXPECT_EQ(nav.toggle(), 23);
  nav.setSize(40);
  EXPECT_EQ(nav.toggle(), 0);
  EXPECT_EQ(nav.persistentSize(), 40);
  EXPECT_EQ(nav.toggle(), 40);
  PaneToggle tree(0, 60);  // hidden from the start: restores the fallback width
  EXPECT_EQ(tree.toggle(), 60);
  EXPECT_TRUE(navBarDragAccepted(68));
  EXPECT_FALSE(navBarDragAccepted(69));
}

TEST(Commands, TableHasEveryCommandOnceWithItsShortcut) {
  QSet<QString> names;
  for (const CommandSpec &command : commandTable()) {
    EXPECT_FALSE(names.contains(QLatin1String(command.name))) << command.name;
    names.insert(QLatin1String(command.name));
    EXPECT_FALSE(command.hint.isEmpty()) << command.name;
  }
  const struct {
    const char *name, *shortcut;
  } shortcuts[] = {{"actionPrint", "Ctrl+P"},       {"actionRefresh", "F5"},       {"actionDic", "Ctrl+D"},
                   {"actionSoundsEnabled", "Ctrl+S"}, {"actionNavPrior", "Ctrl+PgUp"}, {"actionNavNext", "Ctrl+PgDown"},
                   {"actionInstructions", "Alt+I"},   {"actionExam", "Alt+T"},      {"actionBack", "Alt+Left"},
                   {"actionSearch", "Ctrl+F"},        {"actionSearchNext", "F3"},   {"actionCopySel", "Ctrl+C"},
                   {"actionSectPrior", "Ctrl+Up"},    {"actionSectNext", "Ctrl+Down"}};
  for (const auto &s : shortcuts) {
    const CommandSpec *command = findCommand(QLatin1String(s.name));
    ASSERT_NE(command, nullptr) << s.name;
    EXPECT_STREQ(command->shortcut, s.shortcut);
  }
  EXPECT_EQ(findCommand(QStringLiteral("actionSectNext"))->caption, QStringLiteral("Ir ao subtópico seguinte "));
  EXPECT_TRUE(commandPlaysClick(*findCommand(QStringLiteral("actionPrint"))));
  EXPECT_FALSE(commandPlaysClick(*findCommand(QStringLiteral("actionSpeech"))));
  EXPECT_FALSE(commandPlaysClick(*findCommand(QStringLiteral("actionQuit"))));
  EXPECT_TRUE(commandPlaysClick(*findCommand(QStringLiteral("actionNavNext"))));
}

TEST(Commands, RulesForBlankPageProgressAndCopyButton) {
  CommandRules rules;
  EXPECT_TRUE(rules.enabled(QStringLiteral("actionQuit")));
  EXPECT_FALSE(rules.enabled(QStringLiteral("actionDic")));
  EXPECT_FALSE(rules.enabled(QStringLiteral("actionInstall")));
  for (const QString &name : CommandRules::blankPageCommands()) rules.setEnabled(name, true);
  rules.setTextSizeMenuEnabled(true);
  rules.blankPage();
  for (const QString &name : CommandRules::blankPageCommands()) EXPECT_FALSE(rules.enabled(name)) << name.toStdString();
  EXPECT_FALSE(rules.textSizeMenuEnabled());

  rules.startupSucceeded();
  for (const char *name : {"actionShowComment", "actionDoComment", "actionDic", "actionFileProperties"})
    EXPECT_TRUE(rules.enabled(QLatin1String(name))) << name;

  rules.setEnabled(QStringLiteral("actionCustomize"), true);
  rules.beginProgress();
  EXPECT_FALSE(rules.enabled(QStringLiteral("actionCustomize")));
  rules.endProgress();
  EXPECT_TRUE(rules.enabled(QStringLiteral("actionCustomize")));
  rules.endProgress();  // an extra end changes nothing
  EXPECT_TRUE(rules.enabled(QStringLiteral("actionCustomize")));
  rules.setEnabled(QStringLiteral("actionCustomize"), false);
  rules.beginProgress();
  rules.endProgress();
  EXPECT_FALSE(rules.enabled(QStringLiteral("actionCustomize")));

  EXPECT_EQ(rules.copyButtonCommand(), QString());
  rules.setEnabled(QStringLiteral("actionCopyAll"), true);
  EXPECT_EQ(rules.copyButtonCommand(), QStringLiteral("actionCopyAll"));
  rules.setEnabled(QStringLiteral("actionCopySel"), true);
  EXPECT_EQ(rules.copyButtonCommand(), QStringLiteral("actionCopySel"));

  TNodeData topic;
  topic.InFavorites = true;
  rules.topicShown(topic, false, true, true);
  EXPECT_FALSE(rules.enabled(QStringLiteral("actionAddToFavorites")));
  EXPECT_FALSE(rules.enabled(QStringLiteral("actionNavPrior")));
  EXPECT_TRUE(rules.enabled(QStringLiteral("actionNavNext")));
  EXPECT_FALSE(rules.enabled(QStringLiteral("actionBack")));
}
