#include "shell/module_loader.h"

#include <QModelIndex>

#include <cerrno>

#include "common/message_box.h"
#include "common/program_files.h"
#include "common/safe_format.h"
#include "common/system_error.h"
#include "shell/node_data.h"
#include "shell/picture_lists.h"
#include "shell/topic_tree.h"
#include "shell/vl_tables.h"

namespace vl {

namespace {

constexpr int kMaxLevel = 19;

// Position of a table in a module's table list; names compare ignoring case. −1 when absent.
int tablePosition(const QStringList &names, const QString &name) {
  if (name.trimmed().isEmpty()) return -1;
  for (int i = 0; i < names.size(); ++i)
    if (names[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

}  // namespace

ModuleLoader::ModuleLoader(LoaderHost &host, ModuleList &modules, TVLTables &tables, TopicTree &tree,
                           PictureLists &pictures, ModuleDatabaseFactory factory)
    : m_host(host), m_modules(modules), m_tables(tables), m_tree(tree), m_pictures(pictures),
      m_factory(std::move(factory)) {}

ModuleLoader::Result ModuleLoader::LoadModule(const QString &filePath, QUuid &storedGuid, QString &storedVersion) {
  const auto fatalBox = [&](const QString &message) {
    InfoBox({QStringLiteral("Não foi possível instalar o módulo de Vialume"), u'\'' + filePath + u'\'', QString(),
             message},
            QString::fromUtf8(kFatalCaption));
  };
  if (!FilePresent(filePath)) {
    fatalBox(SystemErrorText(ENOENT));
    return Result::Failed;
  }

  Result result = Result::Failed;
  const int moduleIndex = static_cast<int>(m_modules.size());
  const int registryBase = m_tables.Count();
  const int nodeCountBefore = m_tree.nodeCount();
  const int contentsPicturesBefore = m_pictures.contentsCount();
  const int titlePicturesBefore = m_pictures.titleCount();
  std::vector<QString> topicIds;
  std::vector<int> gameLevels;
  m_modules.push_back({filePath, m_factory()});
  ModuleDatabase &database = *m_modules.back().database;
  m_host.setLoading(true);

  try {
    m_host.BeginProgress(100);
    m_host.ShowStatus(SafeFormat(QStringLiteral("Abrindo módulo '%s'"), {filePath}));
    try {
      database.close();
      database.open(filePath);
    } catch (const ModuleError &error) {
      throw Fatal{error.message()};
    } catch (const std::exception &error) {
      throw Fatal{QString::fromUtf8(error.what())};
    }
    m_host.EndProgress();

    const ModuleInfo info = database.info();
    for (int i = 0; i < moduleIndex; ++i)
      if (m_modules[static_cast<size_t>(i)].database->info().guid == info.guid)
        throw Fatal{SafeFormat(QStringLiteral("Módulo já está carregado:|'%s'"), {info.description})};

    const QString versionText = info.versionText();
    bool changed = versionText != storedVersion;
    storedVersion = versionText;
    if (info.version[0] > 1) {
      InfoBox({info.title, QStringLiteral("Este módulo de Vialume é mais recente"),
               QStringLiteral("A versão deste módulo é ") + versionText});
      result = Result::TooNew;
    } else {
      if (storedGuid != info.guid) {
        storedGuid = info.guid;
        changed = true;
      }
      const QStringList names = database.tableNames();
      if (tablePosition(names, QStringLiteral("toc")) < 0)
        throw Fatal{QStringLiteral("O módulo não é de Vialume.")};

      if (changed) {
        m_host.BeginProgress(static_cast<int>(names.size()) * 100);
        for (const QString &name : names) {
          std::unique_ptr<ModuleTable> table = database.createTable(name);
          table->open();
          m_host.ShowStatus(SafeFormat(QStringLiteral("Carregando '%s'"), {name}));
          const bool sound = table->verify([this](int value) { m_host.ProgressReport(value); });
          if (!sound) throw Fatal{SafeFormat(QStringLiteral("A Tabela '%s' está corrompida."), {name})};
          table->close();
        }
        m_host.EndProgress();
      }

      readToc(database, moduleIndex, registryBase, topicIds, gameLevels);
      result = Result::Loaded;
    }
  } catch (const Fatal &fatal) {
    fatalBox(fatal.message);
  } catch (const ModuleError &error) {
    fatalBox(error.message());
  } catch (const std::exception &error) {
    fatalBox(QString::fromUtf8(error.what()));
  }

  // Clean-up, whatever happened.
  m_host.setTreeUpdates(true);
  if (result == Result::Loaded) {
    m_host.ShowStatus(QStringLiteral("Abrindo tabelas"));
    const int count = static_cast<int>(database.tableNames().size());
    for (int i = 0; i < count; ++i) {
      TVLTable &entry = m_tables.Add(database, i);
      entry.GameLevel = gameLevels[static_cast<size_t>(i)];
      entry.TopicId = topicIds[static_cast<size_t>(i)];
    }
  } else {
    m_host.ShowStatus(QStringLiteral("Desfazendo"));
    m_modules.erase(m_modules.begin() + moduleIndex);
    m_tree.truncate(nodeCountBefore);
    m_pictures.truncate(contentsPicturesBefore, titlePicturesBefore);
  }
  m_host.EndProgress();
  m_host.setLoading(false);
  return result;
}

void ModuleLoader::readToc(ModuleDatabase &database, int moduleIndex, int registryBase,
                           std::vector<QString> &topicIds, std::vector<int> &gameLevels) {
  const QStringList names = database.tableNames();
  topicIds.assign(static_cast<size_t>(names.size()), QString());
  gameLevels.assign(static_cast<size_t>(names.size()), 0);
  const auto positionOf = [&](const QString &name) { return tablePosition(names, name); };

  std::unique_ptr<ModuleTable> toc = database.createTable(names.at(positionOf(QStringLiteral("toc"))));
  toc->open();
  m_host.BeginProgress(toc->recordCount());
  m_host.ShowStatus(QStringLiteral("Lendo sumário"));
  m_host.setTreeUpdates(false);

  QModelIndex lastAtLevel[kMaxLevel + 1];
  bool haveLevel[kMaxLevel + 1] = {};
  for (toc->first(); !toc->eof(); toc->next()) {
    m_host.advanceGauge();
    const int level = toc->asInteger(QStringLiteral("LEVEL"));
    const QString caption = toc->asText(QStringLiteral("CAPTION"));
    if (level < 1 || level > kMaxLevel) throw Fatal{QStringLiteral("Nível inválido.")};
    QModelIndex parent;
    if (level > 1 && haveLevel[level - 1]) parent = lastAtLevel[level - 1];

    auto data = std::make_unique<TNodeData>();
    TNodeData &node = *data;
    const QModelIndex index = m_tree.appendNode(parent, caption, std::move(data));
    lastAtLevel[level] = index;
    haveLevel[level] = true;

    int imageIndex = -1;
    const bool hasPictures = !toc->isNull(QStringLiteral("treeImage")) && !toc->isNull(QStringLiteral("titleImage"));
    if (hasPictures)
      imageIndex = m_pictures.addTopicPictures(toc->asBytes(QStringLiteral("treeImage")),
                                               toc->asBytes(QStringLiteral("titleImage")));
    m_tree.setStateIndex(index, imageIndex);
    m_tree.countAsDescendant(index);

    const QString title = toc->asText(QStringLiteral("TITLE"));
    node.Title = title.trimmed().isEmpty() ? caption : title;
    node.SectionSearch = toc->asText(QStringLiteral("SCT_SRCH"));
    node.SectionShow = toc->asText(QStringLiteral("SCT_SHOW"));
    node.TableName = toc->asText(QStringLiteral("TABLE"));
    node.CanRevise = toc->asBoolean(QStringLiteral("CANREVISED"));
    node.TopicId = toc->asText(QStringLiteral("TOPIC_ID")).toUpper();
    node.TopicNumber = topicNumberOf(node.TopicId);
    node.Kind = topicKindOf(toc->asText(QStringLiteral("TOPIC_TYPE")), toc->asText(QStringLiteral("TYPE")));
    node.ReadState = 0;
    node.InFavorites = false;
    if (imageIndex < 0) imageIndex = defaultTreePicture(node.Kind);

    switch (node.Kind) {
      case KindTable: {
        const int position = positionOf(node.TableName);
        node.TableIndex = position < 0 ? -1 : registryBase + position;
        if (position >= 0) {
          node.Title = names.at(position);
          topicIds[static_cast<size_t>(position)] = node.TopicId;
          gameLevels[static_cast<size_t>(position)] = toc->asInteger(QStringLiteral("GAME_LEVEL"));
        }
        node.FieldList = toc->asText(QStringLiteral("FIELDS"));
        node.OrderList = toc->asText(QStringLiteral("ORDERS"));
        node.JumpField = toc->asText(QStringLiteral("JUMP"));
        node.SetOrder = toc->asInteger(QStringLiteral("SET_ORDER"));
        node.RecordNumber = 0;
        break;
      }
      case KindExam: {
        const int position = positionOf(node.TableName);
        node.TableIndex = position < 0 ? -1 : registryBase + position;
        node.FieldList.clear();
        node.OrderList.clear();
        node.RecordNumber = 0;
        break;
      }
      case KindHotImage: {
        node.TableIndex = registryBase;
        node.RecordNumber = toc->recNo();
        const int example = positionOf(node.TableName);
        const int legend = positionOf(toc->asText(QStringLiteral("AUX")));
        node.ExampleTableIndex = example < 0 ? -1 : registryBase + example;
        node.LegendTableIndex = legend < 0 ? -1 : registryBase + legend;
        break;
      }
      default:
        node.TableIndex = registryBase;
        node.RecordNumber = toc->recNo();
        break;
    }
    node.ModuleIndex = moduleIndex;
    node.ViewSaved = false;
    m_tree.setImageIndex(index, imageIndex);
  }
  toc->close();
  m_host.EndProgress();
  m_host.setTreeUpdates(true);
}

}  // namespace vl
