#pragma once
// The module loader: opens a module file, checks that it is a content module of this program
// and not one already loaded, verifies every table when the module is new or changed, reads
// "toc" into the contents tree and registers every table. A failed load removes all it added.
#include <QString>
#include <QUuid>

#include <memory>
#include <vector>

#include "shell/module_database.h"

namespace vl {

class PictureLists;
class TopicTree;
class TVLTables;

// One loaded module: its file path and its connection.
struct ModuleEntry {
  QString path;
  std::unique_ptr<ModuleDatabase> database;
};
using ModuleList = std::vector<ModuleEntry>;

// What the loader asks of the main window while it works.
class LoaderHost {
 public:
  virtual ~LoaderHost() = default;
  virtual void ShowStatus(const QString &text) = 0;
  virtual void BeginProgress(int maximum) = 0;
  virtual void EndProgress() = 0;
  virtual void ProgressReport(int value) = 0;
  virtual void advanceGauge() = 0;  // one step of the "toc" reading gauge; pumps events
  virtual void setLoading(bool loading) = 0;  // state 4 and the hourglass, or back to state 3
  virtual void setTreeUpdates(bool enabled) = 0;
};

class ModuleLoader {
 public:
  enum class Result { Loaded, TooNew, Failed };

  ModuleLoader(LoaderHost &host, ModuleList &modules, TVLTables &tables, TopicTree &tree,
               PictureLists &pictures, ModuleDatabaseFactory factory);

  // Loads a module. `storedGuid` and `storedVersion` are compared with the module's and updated
  // as soon as compared. Every failure has shown its box when Failed is returned.
  Result LoadModule(const QString &filePath, QUuid &storedGuid, QString &storedVersion);

  static constexpr const char *kFatalCaption = "Carregador de Módulos";

 private:
  struct Fatal {
    QString message;
  };
  void readToc(ModuleDatabase &database, int moduleIndex, int registryBase, std::vector<QString> &topicIds,
               std::vector<int> &gameLevels);

  LoaderHost &m_host;
  ModuleList &m_modules;
  TVLTables &m_tables;
  TopicTree &m_tree;
  PictureLists &m_pictures;
  ModuleDatabaseFactory m_factory;
};

}  // namespace vl
