// The core module built from content/core with the real converters and writer, read back by
// the engine: what the program's loader, viewers, exam, games and sounds will find in it.
#include "vlbuild/event_names.h"
#include "vlbuild/module_compiler.h"
#include "vlbuild/module_output.h"
#include "vlbuild/standard_converters.h"

#include "common/cp1252_qt.h"
#include "common/metafile.h"
#include "common/rtf_reader.h"
#include "engine/orvanto_db.h"
#include "engine/orvanto_table.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtEndian>
#include <gtest/gtest.h>
#include <memory>

using namespace vl::build;

namespace {

class CoreModule : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new QTemporaryDir;
        path_ = dir_->filePath(QStringLiteral("vl-core.cdb"));
        const QString content = qEnvironmentVariable("VL_SOURCE_DIR") + QStringLiteral("/content/core");
        try {
            writeModuleFile(compileContentFolder(content, standardConverters()), path_);
        } catch (const BuildError &e) {
            error_ = e.text();
        }
    }
    static void TearDownTestSuite() { delete dir_; }

    void SetUp() override
    {
        ASSERT_TRUE(error_.isEmpty()) << error_.toStdString();
        db_.SetFileName(path_.toStdString());
        ASSERT_TRUE(db_.Open());
    }

    std::unique_ptr<vl::TOrvanto_Table_Engine> open(const char *utf8Name)
    {
        auto t = std::make_unique<vl::TOrvanto_Table_Engine>(&db_);
        t->SetTableName(vl::toCp1252(QString::fromUtf8(utf8Name)).toStdString());
        EXPECT_TRUE(t->Open()) << utf8Name;
        return t;
    }

    // Each record of the table in primary order: column name -> text or blob bytes.
    static QList<QMap<QString, QByteArray>> records(vl::TOrvanto_Table_Engine &t)
    {
        QList<QMap<QString, QByteArray>> out;
        std::vector<std::uint8_t> buffer = t.NewRecordBuffer();
        t.First();
        while (t.Next(buffer.data())) {
            QMap<QString, QByteArray> r;
            for (std::size_t c = 0; c < t.ColumnCount(); ++c) {
                const QString name = vl::fromCp1252(QByteArray::fromStdString(t.Column(c).name));
                if (vl::TOrvanto_iLow_Table::IsNull(buffer.data(), c))
                    continue;
                const auto type = t.Column(c).type;
                if (type == vl::orv::ctBlob || type == vl::orv::ctMemo) {
                    const auto bytes = t.ReadWholeBlob(c);
                    r[name] = QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
                } else if (type == vl::orv::ctString) {
                    r[name] = QByteArray::fromStdString(t.StringValue(buffer.data(), c));
                } else {
                    std::uint8_t value[8] = {};
                    t.GetColumnValue(buffer.data(), c, value);
                    r[name] = QByteArray::number(qFromLittleEndian<qint32>(value));
                }
            }
            out.append(r);
        }
        return out;
    }

    static QString text(const QByteArray &cp1252) { return vl::fromCp1252(cp1252); }

    vl::TOrvanto_DB_Engine db_;
    static inline QTemporaryDir *dir_ = nullptr;
    static inline QString path_;
    static inline QString error_;
};

}  // namespace

TEST_F(CoreModule, ListsTocFirstAndEveryTableVerifies)
{
    ASSERT_GE(db_.TableCount(), 9);
    EXPECT_EQ(db_.TableName(0), "toc");
    for (const char *name : {"Sons", "Dicionário", "Referências do Dicionário", "Placas de Regulamentação",
                             "Placas de Advertência", "Questões de Legislação", "Exemplos de Cruzamentos",
                             "Legenda dos Cruzamentos"})
        EXPECT_GE(db_.FindTable(vl::toCp1252(QString::fromUtf8(name)).toStdString()), 0) << name;
    for (std::size_t i = 0; i < db_.TableCount(); ++i) {
        auto t = std::make_unique<vl::TOrvanto_Table_Engine>(&db_);
        t->SetTableName(db_.TableName(i));
        ASSERT_TRUE(t->Open()) << db_.TableName(i);
        EXPECT_TRUE(t->Verify()) << db_.TableName(i);
    }
}

TEST_F(CoreModule, TocHoldsEveryTopicKindWithItsText)
{
    auto toc = open("toc");
    const auto topics = records(*toc);
    ASSERT_GE(topics.size(), 20);
    QMap<QString, int> kinds;
    int level = 0;
    for (const auto &t : topics) {
        const int l = t.value(QStringLiteral("LEVEL")).toInt();
        EXPECT_TRUE(l >= 1 && l <= level + 1) << text(t[QStringLiteral("CAPTION")]).toStdString();
        level = l;
        kinds[QString::fromLatin1(t.value(QStringLiteral("TOPIC_TYPE")))]++;
    }
    EXPECT_GE(kinds.value(QString()), 12);  // headings and text topics
    EXPECT_EQ(kinds.value(QStringLiteral("T")), 2);
    EXPECT_EQ(kinds.value(QStringLiteral("X")), 1);
    EXPECT_EQ(kinds.value(QStringLiteral("H")), 1);
    EXPECT_EQ(kinds.value(QStringLiteral("A")), 4);

    // A text topic's FILE is RTF that reads back with its link markup kept as text.
    const auto &first = topics.first();
    EXPECT_EQ(first.value(QStringLiteral("TYPE")), QByteArray("rtf"));
    ASSERT_TRUE(first.value(QStringLiteral("FILE")).startsWith("{\\rtf1"));
    QTextDocument doc;
    vl::readRtf(first.value(QStringLiteral("FILE")), &doc);
    EXPECT_TRUE(doc.toPlainText().contains(QStringLiteral("Bem-vindo ao Vialume")));
    EXPECT_TRUE(doc.toPlainText().contains(QStringLiteral("~«2PLAR0001»")));

    // Every topic text as the viewer will lay it out, saved for a look (topic-renders/).
    QDir().mkpath(QStringLiteral("topic-renders"));
    for (const auto &t : topics) {
        if (!t.contains(QStringLiteral("FILE")))
            continue;
        QTextDocument d;
        vl::readRtf(t.value(QStringLiteral("FILE")), &d);
        EXPECT_FALSE(d.toPlainText().trimmed().isEmpty()) << t.value(QStringLiteral("TOPIC_ID")).toStdString();
        d.setTextWidth(560);
        QImage image(600, int(d.size().height()) + 20, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.translate(20, 10);
        d.drawContents(&p);
        p.end();
        image.save(QStringLiteral("topic-renders/%1.png").arg(QString::fromLatin1(t.value(QStringLiteral("TOPIC_ID")))));
    }
}

TEST_F(CoreModule, SignTablesCarryPicturesAndTheirIndexes)
{
    for (const char *name : {"Placas de Regulamentação", "Placas de Advertência"}) {
        auto t = open(name);
        EXPECT_EQ(t->IndexByName("Nome"), 1) << name;
        EXPECT_EQ(t->IndexByName(vl::toCp1252(QStringLiteral("Código")).toStdString()), 2) << name;
        const auto signs = records(*t);
        EXPECT_GE(signs.size(), 15);
        for (const auto &s : signs) {
            EXPECT_EQ(s.value(QStringLiteral("TYPE")), QByteArray("wmf"));
            const QByteArray wmf = s.value(QStringLiteral("FILE"));
            EXPECT_EQ(vl::metafileKind(wmf), vl::MetafileKind::PlaceableWmf) << text(s[QStringLiteral("CODIGO")]).toStdString();
            EXPECT_FALSE(s.value(QStringLiteral("NOME")).isEmpty());
            EXPECT_TRUE(s.value(QStringLiteral("SPEECH")).startsWith("RIFF"));  // the spoken sign game needs it
        }
    }
}

TEST_F(CoreModule, HotPicturesEndWithTheirSpotBlock)
{
    auto t = open("Exemplos de Cruzamentos");
    const auto examples = records(*t);
    ASSERT_EQ(examples.size(), 2);
    for (const auto &e : examples) {
        const QByteArray file = e.value(QStringLiteral("FILE"));
        const quint32 block = qFromLittleEndian<quint32>(file.constData() + file.size() - 4);
        ASSERT_LT(block, quint32(file.size()));
        EXPECT_EQ(file.mid(block, 5), QByteArray("VLhot"));
        EXPECT_EQ(file.mid(block + 5, 3), QByteArray("wmf"));
        EXPECT_EQ(vl::metafileKind(file.left(block)), vl::MetafileKind::PlaceableWmf);
        EXPECT_FALSE(vl::metafileNaturalSize(file).isEmpty());
        EXPECT_TRUE(e.value(QStringLiteral("Icon")).startsWith("BM"));
    }
}

TEST_F(CoreModule, SoundsCoverEveryEventAsWaveFiles)
{
    auto t = open("Sons");
    EXPECT_EQ(t->IndexByName("ACTION"), 1);
    QStringList actions;
    for (const auto &s : records(*t)) {
        actions.append(QString::fromLatin1(s.value(QStringLiteral("ACTION"))));
        const QByteArray wave = s.value(QStringLiteral("FILE"));
        EXPECT_TRUE(wave.startsWith("RIFF") && wave.mid(8, 4) == "WAVE") << actions.last().toStdString();
        EXPECT_LT(wave.size(), 200000);
    }
    for (const QString &e : programEventNames())
        EXPECT_TRUE(actions.contains(e)) << e.toStdString();
}

TEST_F(CoreModule, DictionaryAndExamTablesHaveTheirColumns)
{
    auto dic = open("Dicionário");
    EXPECT_EQ(dic->IndexByName("Entrada"), 1);
    EXPECT_GE(records(*dic).size(), 40);
    auto refs = open("Referências do Dicionário");
    EXPECT_EQ(refs->IndexByName("Fonte"), 1);
    auto exam = open("Questões de Legislação");
    EXPECT_FALSE(exam->Description().empty());
    const auto questions = records(*exam);
    EXPECT_GE(questions.size(), 20);
    for (const char *c : {"QUESTION", "RSP_1", "RSP_2", "RSP_3", "RSP_4", "Jump", "FONTE", "CAP", "ART", "PARA"})
        EXPECT_GE(exam->FindColumn(c), 0) << c;
}
