// DataSetModel over a table of the sign module.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "data/dataset_model_qt.h"
#include "orvanto_fixtures.h"

using namespace vl;
using namespace vl::test;

namespace {

struct Moves : DataSetObserver {
  int count = 0;
  void dataSetEvent(DataSet &, DataEvent e) override { count += e == DataEvent::RecordChanged; }
};

QString cell(const DataSetModel &m, int row, int column) { return m.data(m.index(row, column)).toString(); }

}  // namespace

TEST(DataSetModel, RowsAreReadWithoutMovingTheDataSet) {
  SignTable s;
  DataSetModel model(&s.table);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
  Moves moves;
  s.table.attach(moves);
  s.table.setRecNo(2);
  moves.count = 0;
  ASSERT_EQ(model.rowCount(), 8);
  ASSERT_EQ(model.columnCount(), 10);
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Nome");
  EXPECT_EQ(model.headerData(7, Qt::Vertical).toInt(), 8);
  EXPECT_EQ(cell(model, 0, 0), "R-1");
  EXPECT_EQ(cell(model, 3, 1), QString::fromUtf8("Curva acentuada à direita"));
  EXPECT_EQ(cell(model, 0, 3), "Linha um...");
  EXPECT_EQ(cell(model, 7, 0), "A-14");
  EXPECT_EQ(cell(model, 1, 4), "");  // null memo
  EXPECT_EQ(model.data(model.index(0, 2), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
            Qt::AlignRight);
  EXPECT_EQ(s.code(), "R-2");
  EXPECT_EQ(moves.count, 0);
  EXPECT_EQ(model.activeRow(), 1);
}

TEST(DataSetModel, FollowsTheDataSet) {
  SignTable s;
  DataSetModel model(&s.table);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
  QSignalSpy active(&model, &DataSetModel::activeRowChanged);
  QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
  model.setActiveRow(4);
  EXPECT_EQ(s.code(), "R-6a");
  ASSERT_FALSE(active.isEmpty());
  EXPECT_EQ(active.last().at(0).toInt(), 4);
  EXPECT_EQ(reset.count(), 0);  // a move is no reset
  s.table.setIndexName("PorNome");
  EXPECT_EQ(reset.count(), 1);
  EXPECT_EQ(cell(model, 0, 0), "A-1b");
  EXPECT_EQ(model.activeRow(), 4);  // R-6a in name order: Curva, Curva, Dê, Parada, Proibido
  s.table.close();
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(model.columnCount(), 0);
  s.table.open();
  EXPECT_EQ(model.rowCount(), 8);
  model.setDataSet(nullptr);
  EXPECT_EQ(model.rowCount(), 0);
}
