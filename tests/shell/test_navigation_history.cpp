#include <gtest/gtest.h>

#include <QTextDocument>

#include "common/ini_file.h"
#include "shell/navigation_history.h"
#include "shell/navigation_parents.h"
#include "shell/text_viewer_search_history.h"
#include "support/qt_application.h"
#include "support/qt_printers.h"
#include "text_viewer_fixtures.h"
#include "userdata/settings.h"

using namespace vl;

namespace {

class BackHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override { vltest::application(); }
  bool plain(const QModelIndex &node) {
    return history.record(QPersistentModelIndex(node), node.data().toString(), fixture.tree.nodeData(node)->Title, {}, -1);
  }
  vltest::LinkTree fixture;
  BackHistory history;
};

}  // namespace

TEST_F(BackHistoryTest, PlainEntriesDoNotRepeatTheNewestTopic) {
  EXPECT_TRUE(plain(fixture.legislation));
  EXPECT_FALSE(plain(fixture.legislation));
  EXPECT_TRUE(plain(fixture.speed));
  EXPECT_TRUE(plain(fixture.legislation));  // only the newest entry counts
  // an anchor jump inside the newest topic is recorded with its link
  EXPECT_TRUE(history.record(QPersistentModelIndex(fixture.legislation), QStringLiteral("Legislação"), QStringLiteral("Legislação de trânsito"),
                             QStringLiteral("acima"), 4));
  ASSERT_EQ(history.count(), 4);
  EXPECT_EQ(history.at(0).caption, QStringLiteral("Legislação: acima"));
  EXPECT_EQ(history.at(0).linkIndex, 4);
  EXPECT_EQ(history.at(0).listText, QStringLiteral("Legislação de trânsito"));
  EXPECT_EQ(history.at(1).caption, QStringLiteral("Legislação"));
  EXPECT_EQ(history.at(1).linkIndex, -1);
  // a link caption of blanks makes a plain entry
  EXPECT_FALSE(history.record(QPersistentModelIndex(fixture.legislation), QStringLiteral("Legislação"), {}, QStringLiteral("  "), 9));
}

TEST_F(BackHistoryTest, GoingBackDeletesTheNewerEntries) {
  plain(fixture.legislation);  // A
  plain(fixture.speed);        // B
  plain(fixture.ab);           // C
  plain(fixture.sign);         // D
  const auto target = history.takeBack(2);
  ASSERT_TRUE(target);
  EXPECT_EQ(QModelIndex(target->node), fixture.speed);
  EXPECT_EQ(target->linkIndex, -1);
  ASSERT_EQ(history.count(), 1);
  EXPECT_EQ(QModelIndex(history.at(0).node), fixture.legislation);
  EXPECT_FALSE(history.takeBack(1));
  EXPECT_FALSE(history.takeBack(-1));
  EXPECT_EQ(history.count(), 1);
  EXPECT_TRUE(history.takeBack(0));
  EXPECT_TRUE(history.empty());
  EXPECT_FALSE(history.takeBack(0));
}

TEST_F(BackHistoryTest, HoldsAtMost199EntriesAndTheMenuTheNewest17) {
  for (int i = 0; i < 250; ++i) plain(i % 2 ? fixture.speed : fixture.children[static_cast<size_t>(i % 3)]);
  EXPECT_EQ(history.count(), BackHistory::kLimit);
  const auto items = history.menuItems();
  ASSERT_EQ(items.size(), 17u);
  EXPECT_EQ(items[0].caption, history.at(0).caption);
  EXPECT_EQ(items[0].hint, QStringLiteral("|Voltar a: ") + history.at(0).listText);
  EXPECT_EQ(items[16].caption, history.at(16).caption);
}

TEST(ParentsLine, ShowsTheAncestorsTopFirstAsLinks) {
  vltest::application();
  vltest::LinkTree fixture;
  const QModelIndex third = fixture.children[1];
  const auto parents = parentsOf(third);
  ASSERT_EQ(parents.size(), 2u);
  EXPECT_EQ(QModelIndex(parents[0]), fixture.speed);
  EXPECT_EQ(QModelIndex(parents[1]), fixture.legislation);
  QTextDocument line;
  buildParentsLine(line, parents);
  EXPECT_EQ(line.toPlainText(), QStringLiteral("Legislação » Velocidade"));
  EXPECT_EQ(vltest::linkSpans(line), (std::vector<vltest::Span>{{"Legislação", "vl:1"}, {"Velocidade", "vl:0"}}));
  buildParentsLine(line, parentsOf(fixture.legislation));
  EXPECT_TRUE(line.isEmpty());
}

TEST(SearchHistory, NewestFirstWithoutDuplicatesAndStoredInTheSettings) {
  SearchHistory history;
  for (const char *text : {"pare", "velocidade", "  ", "", "pare", "faixa"}) history.add(QString::fromUtf8(text));
  EXPECT_EQ(history.items(), (QStringList{"faixa", "pare", "velocidade"}));
  EXPECT_EQ(history.choose(2), QStringLiteral("velocidade"));
  EXPECT_EQ(history.items(), (QStringList{"velocidade", "faixa", "pare"}));
  EXPECT_TRUE(history.choose(3).isEmpty());
  for (int i = 0; i < 8; ++i) history.add(QStringLiteral("busca %1").arg(i));
  ASSERT_EQ(history.items().size(), 11);

  Settings settings;
  settings.recentSearches = history.storedItems();
  IniFile ini;
  writePersistent(ini, settings);
  IniFile reread;
  reread.parse(ini.toBytes());
  Settings loaded;
  readPersistent(reread, loaded);
  SearchHistory restored;
  restored.setItems(loaded.recentSearches);
  EXPECT_EQ(restored.items(), history.items().mid(0, 7));
  EXPECT_EQ(restored.items().front(), QStringLiteral("busca 7"));
}
