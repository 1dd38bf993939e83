#pragma once
// TOrvantoTable: the table cursor with index selection, order modes and a master/detail link.
#include <string>
#include <vector>

#include "data/orvanto_dataset.h"

namespace vl {

class TOrvantoTable : public TOrvantoDataSet {
 public:
  TOrvantoTable();
  ~TOrvantoTable() override;

  // "<Primary>" (or empty) for the primary index; other names are looked up ignoring case.
  // While open, a name that differs (case-sensitively) selects the index, keeping the record.
  const std::string &indexName() const { return indexName_; }
  void setIndexName(const std::string &name);
  // By number; beyond the index count "Index 'ID n' not found".
  void setIndexNumber(std::size_t number);
  // Index definitions of the open table (names UTF-8); empty while closed.
  const std::vector<TOrvanto_Index_Def> &indexDefs() const { return indexDefs_; }

  bool inverseOrder() const;
  void setInverseOrder(bool value);
  bool uniqueRecords() const;
  void setUniqueRecords(bool value);

  // Master/detail: while the master is open with MasterFields set, this table shows the records
  // whose leading key fields of the active index equal the master's fields. A master linked back
  // to this table raises "Circular datalinks are not allowed". Null unlinks.
  DataSet *masterSource() const { return masterDataSet(); }
  void setMasterSource(DataSet *master);
  const std::string &masterFields() const { return masterFields_; }
  void setMasterFields(const std::string &fields);

 protected:
  void afterOpen() override;
  void closeCursor() override;

 private:
  class MasterLink : public DataSetObserver {
   public:
    explicit MasterLink(TOrvantoTable &detail) : detail_(detail) {}
    void dataSetEvent(DataSet &master, DataEvent event) override;
    void dataSetDestroyed(DataSet &master) override;

   private:
    TOrvantoTable &detail_;
  };

  void selectIndex(std::size_t number, const std::string &storedName);
  void updateIndexDefs();
  void masterChanged();
  void applyMasterRange();

  std::string indexName_ = "<Primary>";
  std::vector<TOrvanto_Index_Def> indexDefs_;
  bool inverse_ = false;
  bool unique_ = false;
  std::string masterFields_;
  MasterLink link_{*this};
};

}  // namespace vl
