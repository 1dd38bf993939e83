#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include "common/message_box.h"
#include "fake_module.h"
#include "shell/module_loader.h"
#include "shell/picture_lists.h"
#include "shell/topic_tree.h"
#include "shell/vl_tables.h"
#include "support/qt_application.h"
#include "support/qt_printers.h"

using namespace vl;
using vltest::Record;
using vltest::topic;

namespace {

struct RecordingHost : LoaderHost {
  QStringList statuses;
  int begins = 0, ends = 0, maxGauge = 0, gaugeSteps = 0;
  bool loading = false;
  QList<int> reports;
  void ShowStatus(const QString &text) override { statuses << text; }
  void BeginProgress(int maximum) override {
    ++begins;
    maxGauge = std::max(maxGauge, maximum);
  }
  void EndProgress() override { ++ends; }
  void ProgressReport(int value) override { reports << value; }
  void advanceGauge() override { ++gaugeSteps; }
  void setLoading(bool on) override { loading = on; }
  void setTreeUpdates(bool) override {}
};

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vltest::application();
    ASSERT_TRUE(dir.isValid());
    path = dir.filePath(QStringLiteral("vl-core.cdb"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("module");
  }
  ModuleLoader::Result load(std::shared_ptr<vltest::FakeModuleData> data, const QString &file = {}) {
    ModuleLoader loader(host, modules, tables, tree, pictures, vltest::fakeFactory(std::move(data)));
    return loader.LoadModule(file.isEmpty() ? path : file, guid, version);
  }
  QStringList captionsUnder(const QModelIndex &parent) const {
    QStringList result;
    for (int row = 0; row < tree.rowCount(parent); ++row) result << tree.index(row, 0, parent).data().toString();
    return result;
  }

  QTemporaryDir dir;
  QString path;
  RecordingHost host;
  ModuleList modules;
  TVLTables tables;
  TopicTree tree;
  PictureLists pictures;
  QUuid guid;
  QString version;
  ScopedMessageRecorder boxes;
};

QByteArray bitmap(int w, int h, QColor color) {
  QImage image(w, h, QImage::Format_RGB888);
  image.fill(color);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  return bytes;
}

}  // namespace

TEST_F(LoaderTest, BuildsTheTreeFromLevels) {
  auto data = vltest::moduleWith({topic(2, "A"), topic(1, "B"), topic(2, "B1"), topic(3, "B1a"), topic(2, "B2"),
                                  topic(3, "B2a")});
  ASSERT_EQ(load(data), ModuleLoader::Result::Loaded);
  EXPECT_TRUE(boxes.requests().isEmpty());
  EXPECT_EQ(captionsUnder({}), (QStringList{"A", "B"}));  // a first record of level 2 is top level
  const QModelIndex b = tree.index(1, 0);
  EXPECT_EQ(captionsUnder(b), (QStringList{"B1", "B2"}));
  EXPECT_EQ(captionsUnder(tree.index(1, 0, b)), QStringList{"B2a"});
  EXPECT_EQ(tree.nodeData(b)->DescendantCount, 4);
  EXPECT_EQ(tree.nodeData(tree.index(0, 0, b))->DescendantCount, 1);
  EXPECT_EQ(tree.nodeCount(), 6);
  EXPECT_EQ(host.gaugeSteps, 6);
  EXPECT_TRUE(host.statuses.contains(QStringLiteral("Lendo sumário")));
  EXPECT_TRUE(host.statuses.contains(QStringLiteral("Abrindo tabelas")));
  EXPECT_FALSE(host.loading);
  EXPECT_EQ(tables.Count(), 2);
  EXPECT_EQ(tables.Item(1)->name(), QStringLiteral("Placas"));
  // tree order over all nodes
  QStringList order;
  for (QModelIndex n = tree.firstNode(); n.isValid(); n = tree.nextNode(n)) order << n.data().toString();
  EXPECT_EQ(order, (QStringList{"A", "B", "B1", "B1a", "B2", "B2a"}));
  QStringList back;
  for (QModelIndex n = tree.nodeAt(5); n.isValid(); n = tree.previousNode(n)) back.prepend(n.data().toString());
  EXPECT_EQ(back, order);
}

TEST_F(LoaderTest, FillsNodeDataByKind) {
  Record table = topic(2, "Placas de regulamentação", "t", "", "plac0007", "PLACAS");
  table[QStringLiteral("GAME_LEVEL")] = 3;
  table[QStringLiteral("FIELDS")] = QStringLiteral("NOME,CODIGO");
  table[QStringLiteral("SET_ORDER")] = 2;
  Record hot = topic(2, "Cruzamento", "H", "rtf", "HOT00001", "Placas");
  hot[QStringLiteral("AUX")] = QStringLiteral("semtabela");
  auto data = vltest::moduleWith({topic(1, "Início", "", "RTF", "jogo0003"), table, topic(2, "Prova", "X", "", "EXAM0001", "Placas"),
                                  hot, topic(2, "Figura", "", "wmf"), topic(2, "Documento", "", "doc", "ABCDx12"),
                                  topic(2, "Jogo", "A", "", "JOGO")});
  ASSERT_EQ(load(data), ModuleLoader::Result::Loaded);
  const auto node = [&](int creation) { return tree.nodeData(tree.nodeAt(creation)); };
  EXPECT_EQ(node(0)->Kind, KindText);
  EXPECT_EQ(node(0)->TopicId, QStringLiteral("JOGO0003"));
  EXPECT_EQ(node(0)->TopicNumber, 3);
  EXPECT_EQ(node(0)->Title, QStringLiteral("Início"));
  EXPECT_EQ(node(0)->TableIndex, 0);
  EXPECT_EQ(node(0)->RecordNumber, 1);
  EXPECT_EQ(node(1)->Kind, KindTable);
  EXPECT_EQ(node(1)->Title, QStringLiteral("Placas"));  // the table's listed name
  EXPECT_EQ(node(1)->TableIndex, 1);
  EXPECT_EQ(node(1)->RecordNumber, 0);
  EXPECT_EQ(node(1)->FieldList, QStringLiteral("NOME,CODIGO"));
  EXPECT_EQ(node(1)->SetOrder, 2);
  EXPECT_EQ(tables.Item(1)->TopicId, QStringLiteral("PLAC0007"));
  EXPECT_EQ(tables.Item(1)->GameLevel, 3);
  EXPECT_EQ(node(2)->Kind, KindExam);
  EXPECT_EQ(node(2)->TableIndex, 1);
  EXPECT_TRUE(node(2)->FieldList.isEmpty());
  EXPECT_EQ(node(3)->Kind, KindHotImage);
  EXPECT_EQ(node(3)->TableIndex, 0);
  EXPECT_EQ(node(3)->RecordNumber, 4);
  EXPECT_EQ(node(3)->ExampleTableIndex, 1);
  EXPECT_EQ(node(3)->LegendTableIndex, -1);
  EXPECT_EQ(node(4)->Kind, KindPicture);
  EXPECT_EQ(node(5)->Kind, KindHeading);
  EXPECT_EQ(node(5)->TopicNumber, 0);
  EXPECT_EQ(node(6)->Kind, KindGame);
  EXPECT_EQ(node(6)->TopicNumber, 0);
  // default pictures by kind, no own pictures
  const int expected[] = {1, 2, 3, 4, -1, 0, -1};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(tree.imageIndex(tree.nodeAt(i)), expected[i]) << i;
    EXPECT_EQ(tree.stateIndex(tree.nodeAt(i)), -1) << i;
  }
}

TEST_F(LoaderTest, TopicPicturesGrowBothListsInStep) {
  Record own = topic(1, "Com figura");
  own[QStringLiteral("treeImage")] = bitmap(20, 16, Qt::red);
  own[QStringLiteral("titleImage")] = bitmap(24, 24, Qt::blue);
  Record half = topic(1, "Só árvore");
  half[QStringLiteral("treeImage")] = bitmap(20, 16, Qt::red);
  const int before = pictures.contentsCount();
  ASSERT_EQ(load(vltest::moduleWith({own, half})), ModuleLoader::Result::Loaded);
  EXPECT_EQ(tree.imageIndex(tree.nodeAt(0)), before);
  EXPECT_EQ(tree.stateIndex(tree.nodeAt(0)), before);
  EXPECT_FALSE(pictures.titlePictureFor(before).isNull());
  EXPECT_EQ(tree.imageIndex(tree.nodeAt(1)), 1);  // text default
  EXPECT_EQ(tree.stateIndex(tree.nodeAt(1)), -1);
}

TEST_F(LoaderTest, FatalCasesShowOneBoxAndLeaveNothing) {
  struct Case {
    const char *what;
    std::function<void(vltest::FakeModuleData &)> damage;
    QString lastLine;
  };
  const std::vector<Case> cases = {
      {"level 20", [](auto &d) { d.tables["toc"].push_back(topic(20, "X")); }, QStringLiteral("Nível inválido.")},
      {"level 0", [](auto &d) { d.tables["toc"].push_back(topic(0, "X")); }, QStringLiteral("Nível inválido.")},
      {"no toc", [](auto &d) { d.tableOrder = {QStringLiteral("Placas")}; }, QStringLiteral("O módulo não é de Vialume.")},
      {"corrupt table", [](auto &d) { d.corruptTables = {QStringLiteral("Placas")}; },
       QStringLiteral("A Tabela 'Placas' está corrompida.")},
      {"open fails", [](auto &d) { d.openError = QStringLiteral("[Orvanto: Connection]\r\nArquivo inválido"); },
       QStringLiteral("[Orvanto: Connection]\r\nArquivo inválido")},
  };
  // a module loaded before keeps its nodes
  ASSERT_EQ(load(vltest::moduleWith({topic(1, "Antes")}, QUuid::createUuid())), ModuleLoader::Result::Loaded);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    guid = QUuid();  // new module: verify every table
    auto data = vltest::moduleWith({topic(1, "Novo"), topic(2, "Filho")});
    c.damage(*data);
    const int boxesBefore = static_cast<int>(boxes.requests().size());
    EXPECT_EQ(load(data), ModuleLoader::Result::Failed);
    ASSERT_EQ(boxes.requests().size(), boxesBefore + 1);
    const MessageRequest &box = boxes.requests().back();
    EXPECT_EQ(box.caption, QStringLiteral("Carregador de Módulos"));
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Não foi possível instalar o módulo de Vialume\n'") + path + "'\n\n"))
        << box.text.toStdString();
    EXPECT_TRUE(box.text.endsWith(QString(c.lastLine).replace("\r\n", "\n"))) << box.text.toStdString();
    EXPECT_EQ(captionsUnder({}), QStringList{"Antes"});
    EXPECT_EQ(tree.nodeCount(), 1);
    EXPECT_EQ(modules.size(), 1u);
    EXPECT_EQ(tables.Count(), 2);
    EXPECT_FALSE(host.loading);
    EXPECT_EQ(host.statuses.back(), QStringLiteral("Desfazendo"));
  }
}

TEST_F(LoaderTest, MissingFileGivesTheSystemText) {
  EXPECT_EQ(load(vltest::moduleWith({}), dir.filePath(QStringLiteral("nada.cdb"))), ModuleLoader::Result::Failed);
  ASSERT_EQ(boxes.requests().size(), 1);
  EXPECT_TRUE(boxes.requests().front().text.contains(QStringLiteral("[0x0002]"))) << boxes.requests().front().text.toStdString();
  EXPECT_TRUE(modules.empty());
  EXPECT_EQ(load(vltest::moduleWith({}), dir.filePath(QStringLiteral("*.cdb"))), ModuleLoader::Result::Failed);
}

TEST_F(LoaderTest, SameModuleTwiceRemovesOnlyItsOwnNodes) {
  auto data = vltest::moduleWith({topic(1, "Um"), topic(2, "Dois")});
  ASSERT_EQ(load(data), ModuleLoader::Result::Loaded);
  EXPECT_EQ(load(data), ModuleLoader::Result::Failed);
  ASSERT_EQ(boxes.requests().size(), 1);
  EXPECT_TRUE(boxes.requests().front().text.endsWith(
      QStringLiteral("Módulo já está carregado:\r\n'Módulo principal de Vialume'").replace("\r\n", "\n")))
      << boxes.requests().front().text.toStdString();
  EXPECT_EQ(tree.nodeCount(), 2);
  EXPECT_EQ(modules.size(), 1u);
}

TEST_F(LoaderTest, TooNewModuleAddsNothingButKeepsItsVersion) {
  auto data = vltest::moduleWith({topic(1, "Um")});
  data->info.version = {2, 0, 0, 0};
  EXPECT_EQ(load(data), ModuleLoader::Result::TooNew);
  ASSERT_EQ(boxes.requests().size(), 1);
  EXPECT_EQ(boxes.requests().front().caption, QStringLiteral("Vialume"));
  EXPECT_EQ(boxes.requests().front().text,
            QStringLiteral("Vialume - Módulo principal\nEste módulo de Vialume é mais recente\nA versão deste módulo é 2.0.0.0"));
  EXPECT_EQ(version, QStringLiteral("2.0.0.0"));
  EXPECT_EQ(tree.nodeCount(), 0);
  EXPECT_TRUE(modules.empty());
}

TEST_F(LoaderTest, VerifiesOnlyANewOrChangedModule) {
  auto data = vltest::moduleWith({topic(1, "Um")});
  ASSERT_EQ(load(data), ModuleLoader::Result::Loaded);
  EXPECT_EQ(data->verifyCalls, 2);  // both tables, first start
  EXPECT_EQ(host.maxGauge, 200);    // 100 units per table
  EXPECT_EQ(guid, data->info.guid);
  EXPECT_EQ(version, QStringLiteral("1.0.0.3"));

  // next start with the stored identity: no verification
  modules.clear();
  tables.clear();
  tree.clearNodes();
  ASSERT_EQ(load(data), ModuleLoader::Result::Loaded);
  EXPECT_EQ(data->verifyCalls, 2);

  // a new content version is verified again, and a corrupt table is not checked twice
  modules.clear();
  tables.clear();
  tree.clearNodes();
  data->info.version = {1, 0, 0, 4};
  data->corruptTables = {QStringLiteral("Placas")};
  EXPECT_EQ(load(data), ModuleLoader::Result::Failed);
  EXPECT_EQ(version, QStringLiteral("1.0.0.4"));
  const int calls = data->verifyCalls;
  EXPECT_EQ(load(data), ModuleLoader::Result::Loaded);
  EXPECT_EQ(data->verifyCalls, calls);
}
