// The whole builder on small content folders made in a temporary directory.
#include "vlbuild/event_names.h"
#include "vlbuild/module_compiler.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace vl::build;

namespace {

// Test doubles for the two format conversions: they keep the content visible to the checks.
Converters fakeConverters()
{
    Converters c;
    c.rtf = [](const QTextDocument &d) { return QByteArray("{\\rtf1 ") + d.toPlainText().toUtf8() + '}'; };
    c.wmf = [](const QString &path) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return QByteArray("WMF:") + QByteArray::number(f.size());
    };
    return c;
}

const char *squareSvg = "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10' viewBox='0 0 10 10'>"
                        "<rect width='10' height='10' fill='red'/></svg>";

class ContentFolder {
public:
    ContentFolder()
    {
        write("module.txt", "title = Teste\nversion = 1.0.0.0\nguid = {0f7c9a52-4c1e-4d7e-9f0e-2b6a8d1c3e57}\n");
        write("toc.txt",
              "[1] Início\nid = INTR0001\nkind = text\ntext = texts/inicio.txt\nsection = Regra\n"
              "[2] Placas\nid = PLAC0001\nkind = table\ntable = Placas\nfields = NOME, CODIGO\n"
              "orders = Nome, Código\njump = CODIGO\nset_order = 2\ngame_level = 1\nicon = pictures/r1.svg\n"
              "[2] Cena\nid = CENA0001\nkind = hot\ntext = texts/cena.txt\ntable = Exemplos\naux = Legenda\n"
              "[1] Prova\nid = PROV0001\nkind = exam\ntable = Questões\n"
              "[1] Memória\nid = JOGO0001\nkind = game\ntext = texts/jogo.txt\n");
        write("texts/inicio.txt", "# Início\n\nRegra um: veja ~«2PLAC0001» e ~«4PLAC0001#R-1~a R-1».\n\n"
                                  "~«6fim»Regra dois ~«4#fim~volta» e ~«0https://exemplo.org~site».\n");
        write("texts/cena.txt", "Veja o ~«5SEM~semáforo» e ~«2Início».\n");
        write("texts/jogo.txt", "Encontre os pares.\n");
        write("tables/placas.table",
              "table = Placas\ncolumn = NOME string 40\ncolumn = CODIGO string 6\ncolumn = FILE blob\n"
              "column = TYPE string 3\nindex = Nome: NOME (nocase, locale)\nindex = Código: CODIGO (nocase)\n"
              "[R-1]\nNOME = Parada obrigatória\nCODIGO = R-1\nFILE = svg pictures/r1.svg\nTYPE = wmf\n"
              "[R-2]\nNOME = Dê a preferência\nCODIGO = R-2\n");
        write("tables/exemplos.table", "table = Exemplos\ncolumn = Nome string 40\ncolumn = FILE blob\ncolumn = Icon blob\n"
                                       "[a]\nNome = Cruzamento\nFILE = hot pictures/cena.svg\nIcon = bmp pictures/cena.svg 32x32\n");
        write("tables/legenda.table", "table = Legenda\ncolumn = LEVEL integer\ncolumn = CAPTION string 40\n"
                                      "column = Hint boolean\ncolumn = CODIGO string 5\n"
                                      "[1]\nLEVEL = 1\nCAPTION = Semáforo\nHint = não\nCODIGO = SEM\n");
        write("tables/questoes.table",
              "table = Questões\ndescription = Prova de teste\ncolumn = QUESTION memo\n"
              "column = RSP_1 string 80\ncolumn = RSP_2 string 80\ncolumn = RSP_3 string 80\ncolumn = RSP_4 string 80\n"
              "column = Jump string 40\ncolumn = FONTE string 5\ncolumn = CAP string 10\ncolumn = ART integer\n"
              "column = PARA string 10\n"
              "[1]\nQUESTION = Qual?\nRSP_1 = Esta\nRSP_2 = Aquela\nRSP_3 = Outra\nJump = INTR0001#Regra\n"
              "FONTE = CTB\nCAP = 3\nART = 29\n");
        write("tables/referencias.table",
              "table = Referências do Dicionário\ncolumn = Fonte string 5\ncolumn = Desc string 80\n"
              "column = NOME string 80\nindex = Fonte: Fonte (nocase)\n"
              "[CTB]\nFonte = CTB\nDesc = Código de Trânsito Brasileiro\nNOME = CTB\n");
        QString sons = QStringLiteral("table = Sons\ncolumn = ACTION string 20\ncolumn = TOPIC string 30\n"
                                      "column = IMAGE integer\ncolumn = DESCRIP string 80\ncolumn = FILE blob\n"
                                      "index = ACTION: ACTION (nocase)\n");
        for (const QString &e : programEventNames())
            sons += QStringLiteral("[%1]\nACTION = %1\nTOPIC = Geral\nIMAGE = 0\nDESCRIP = x\nFILE = tone C5/30\n").arg(e);
        write("tables/sons.table", sons.toUtf8());
        write("pictures/r1.svg", squareSvg);
        write("pictures/cena.svg", squareSvg);
        write("pictures/cena.spots", "rect SEM 1 1 5 5 | Semáforo\n");
    }

    void write(const char *relative, const QByteArray &text)
    {
        const QString path = dir_.filePath(QString::fromUtf8(relative));
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text);
    }
    // Replaces the first occurrence of `from` in a file.
    void edit(const char *relative, const char *from, const char *to)
    {
        QFile f(dir_.filePath(QString::fromUtf8(relative)));
        f.open(QIODevice::ReadOnly);
        QByteArray text = f.readAll();
        f.close();
        const qsizetype at = text.indexOf(from);
        ASSERT_GE(at, 0) << from;
        text.replace(at, qsizetype(strlen(from)), to);
        write(relative, text);
    }
    void remove(const char *relative) { QFile::remove(dir_.filePath(QString::fromUtf8(relative))); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

}  // namespace

TEST(Compiler, WritesTocFirstWithTheTopicColumns)
{
    ContentFolder folder;
    const ModuleModel m = compileContentFolder(folder.path(), fakeConverters());
    ASSERT_GE(m.tables.size(), 7);
    const TableModel &toc = m.tables[0];
    EXPECT_EQ(toc.name, QStringLiteral("toc"));
    for (const char *c : {"LEVEL", "CAPTION", "TITLE", "treeImage", "titleImage", "SCT_SRCH", "SCT_SHOW", "TABLE",
                          "CANREVISED", "TOPIC_ID", "TYPE", "TOPIC_TYPE", "GAME_LEVEL", "FIELDS", "ORDERS", "JUMP",
                          "SET_ORDER", "AUX", "FILE"})
        EXPECT_GE(toc.columnIndex(QString::fromLatin1(c)), 0) << c;
    ASSERT_EQ(toc.rows.size(), 5);
    EXPECT_EQ(std::get<QString>(toc.cell(0, QStringLiteral("TYPE"))), QStringLiteral("rtf"));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(toc.cell(0, QStringLiteral("TOPIC_TYPE"))));
    EXPECT_EQ(std::get<QString>(toc.cell(0, QStringLiteral("SCT_SRCH"))), QStringLiteral("Regra"));
    EXPECT_TRUE(std::get<QByteArray>(toc.cell(0, QStringLiteral("FILE"))).startsWith("{\\rtf1"));
    EXPECT_EQ(std::get<QString>(toc.cell(1, QStringLiteral("TOPIC_TYPE"))), QStringLiteral("T"));
    EXPECT_EQ(std::get<std::int32_t>(toc.cell(1, QStringLiteral("LEVEL"))), 2);
    EXPECT_EQ(std::get<std::int32_t>(toc.cell(1, QStringLiteral("SET_ORDER"))), 2);
    EXPECT_EQ(std::get<std::int32_t>(toc.cell(1, QStringLiteral("GAME_LEVEL"))), 1);
    EXPECT_EQ(std::get<QString>(toc.cell(1, QStringLiteral("ORDERS"))), QStringLiteral("Nome, Código"));
    // An own icon gives both pictures as bitmaps whose corner holds the transparent colour.
    for (const auto &[column, width, height] : {std::tuple{"treeImage", 20, 16}, {"titleImage", 24, 24}}) {
        const QByteArray bmp = std::get<QByteArray>(toc.cell(1, QString::fromLatin1(column)));
        ASSERT_TRUE(bmp.startsWith("BM")) << column;
        const QImage image = QImage::fromData(bmp, "BMP");
        EXPECT_EQ(image.size(), QSize(width, height)) << column;
        if (width != height)  // the square picture leaves the corners of the wide one free
            EXPECT_EQ(image.pixelColor(0, height - 1), QColor(255, 0, 255)) << column;
        EXPECT_EQ(image.pixelColor(width / 2, height / 2), QColor(255, 0, 0)) << column;
    }
    EXPECT_TRUE(std::holds_alternative<std::monostate>(toc.cell(0, QStringLiteral("treeImage"))));
    EXPECT_EQ(std::get<QString>(toc.cell(2, QStringLiteral("TOPIC_TYPE"))), QStringLiteral("H"));
    EXPECT_EQ(std::get<QString>(toc.cell(2, QStringLiteral("AUX"))), QStringLiteral("Legenda"));
    EXPECT_EQ(std::get<QString>(toc.cell(3, QStringLiteral("TOPIC_TYPE"))), QStringLiteral("X"));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(toc.cell(3, QStringLiteral("FILE"))));
    EXPECT_EQ(std::get<QString>(toc.cell(4, QStringLiteral("TOPIC_TYPE"))), QStringLiteral("A"));
}

TEST(Compiler, ConvertsFieldsByColumnType)
{
    ContentFolder folder;
    const ModuleModel m = compileContentFolder(folder.path(), fakeConverters());
    const TableModel *placas = m.table(QStringLiteral("Placas"));
    ASSERT_NE(placas, nullptr);
    ASSERT_EQ(placas->indexes.size(), 2);
    EXPECT_EQ(placas->indexNumber(QStringLiteral("Código")), 2);
    EXPECT_TRUE(std::get<QByteArray>(placas->cell(0, QStringLiteral("FILE"))).startsWith("WMF:"));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(placas->cell(1, QStringLiteral("FILE"))));
    const TableModel *exemplos = m.table(QStringLiteral("Exemplos"));
    const QByteArray hot = std::get<QByteArray>(exemplos->cell(0, QStringLiteral("FILE")));
    EXPECT_TRUE(hot.startsWith("WMF:"));
    EXPECT_TRUE(hot.contains("VLhot"));
    const QByteArray icon = std::get<QByteArray>(exemplos->cell(0, QStringLiteral("Icon")));
    ASSERT_TRUE(icon.startsWith("BM"));
    EXPECT_EQ(qFromLittleEndian<qint32>(icon.constData() + 18), 32);  // width
    EXPECT_EQ(qFromLittleEndian<quint16>(icon.constData() + 28), 24);  // bits per pixel
    const TableModel *legenda = m.table(QStringLiteral("Legenda"));
    EXPECT_EQ(std::get<bool>(legenda->cell(0, QStringLiteral("Hint"))), false);
    const TableModel *sons = m.table(QStringLiteral("Sons"));
    EXPECT_EQ(sons->rows.size(), programEventNames().size());
    EXPECT_TRUE(std::get<QByteArray>(sons->cell(0, QStringLiteral("FILE"))).startsWith("RIFF"));
    const TableModel *questoes = m.table(QStringLiteral("Questões"));
    EXPECT_EQ(questoes->description, QStringLiteral("Prova de teste"));
    EXPECT_EQ(std::get<std::int32_t>(questoes->cell(0, QStringLiteral("ART"))), 29);
}

TEST(Compiler, RejectsEachKindOfSourceErrorNamingThePlace)
{
    const struct {
        const char *file;
        const char *from;
        const char *to;
        const char *place;
        const char *fragment;
    } cases[] = {
        {"toc.txt", "table = Placas", "table = Placaz", "toc.txt:9", "tabela desconhecida"},
        {"toc.txt", "fields = NOME, CODIGO", "fields = NOME, COR", "toc.txt:10", "não tem a coluna 'COR'"},
        {"toc.txt", "orders = Nome, Código", "orders = Código, Nome", "toc.txt:11", "orders"},
        {"toc.txt", "set_order = 2", "set_order = 3", "toc.txt:13", "set_order"},
        {"toc.txt", "id = JOGO0001", "id = JOGO0007", "toc.txt:27", "0001 a 0004"},
        {"toc.txt", "id = PLAC0001", "id = intr0001", "toc.txt:7", "repetido"},
        {"toc.txt", "[2] Cena", "[4] Cena", "toc.txt:16", "salto de nível"},
        {"toc.txt", "section = Regra", "section = Ausente", "toc.txt:5", "marca de seção"},
        {"toc.txt", "icon = pictures/r1.svg", "icon = pictures/r9.svg", "toc.txt:15", "não existe"},
        {"texts/inicio.txt", "~«2PLAC0001»", "~«2NADA0001»", "texts/inicio.txt:3", "tópico desconhecido"},
        {"texts/inicio.txt", "#R-1~", "#R-9~", "texts/inicio.txt:3", "não tem registro"},
        {"texts/inicio.txt", "~«4#fim~volta»", "~«4#outro~volta»", "texts/inicio.txt:5", "âncora 'outro'"},
        {"texts/inicio.txt", "~«0https://exemplo.org~site»", "~«0exemplo~site»", "texts/inicio.txt:5", "endereço externo"},
        {"texts/inicio.txt", "Regra um", "~«2A» Regra um", "texts/inicio.txt:3", "curto"},
        {"texts/inicio.txt", "Regra dois", "~«7SAIR~sair» Regra dois", "texts/inicio.txt:5", "comando"},
        {"texts/cena.txt", "~«5SEM~", "~«5XYZ~", "texts/cena.txt:1", "área 'XYZ'"},
        {"texts/jogo.txt", "pares", "pares ✓", "texts/jogo.txt", "código 1252"},
        {"tables/placas.table", "svg pictures/r1.svg", "svg pictures/r9.svg", "tables/placas.table:11", "não existe"},
        {"tables/placas.table", "svg pictures/r1.svg", "png pictures/r1.svg", "tables/placas.table:11", "blob"},
        {"tables/placas.table", "NOME = Parada obrigatória", "NOME = Parada obrigatória com um nome longo demais aqui",
         "tables/placas.table:9", "não cabe"},
        {"tables/exemplos.table", "Nome = Cruzamento", "Nome = Cruzamento\nCOR = azul", "tables/exemplos.table:7",
         "não tem a coluna"},
        {"tables/questoes.table", "Jump = INTR0001#Regra", "Jump = INTR0001#Nenhuma", "tables/questoes.table:18", "Nenhuma"},
        {"tables/questoes.table", "FONTE = CTB", "FONTE = XYZ", "tables/questoes.table:19", "fonte 'XYZ'"},
        {"tables/exemplos.table", "32x32", "32", "tables/exemplos.table:8", "LARGURAxALTURA"},
        {"tables/legenda.table", "LEVEL = 1", "LEVEL = um", "tables/legenda.table:7", "número inteiro"},
        {"tables/sons.table", "ACTION = CLICK", "ACTION = CLIQUE", "tables/sons.table", "'CLICK'"},
        {"tables/sons.table", "FILE = tone C5/30", "FILE = tone C5/3", "tables/sons.table:13", "10 a 1000 ms"},
        {"tables/legenda.table", "table = Legenda", "table = Placas", "tables/placas.table:1", "já foi declarada em tables/legenda.table"},
    };
    for (const auto &c : cases) {
        ContentFolder folder;
        folder.edit(c.file, c.from, c.to);
        QString text;
        try {
            compileContentFolder(folder.path(), fakeConverters());
        } catch (const BuildError &e) {
            text = e.text();
        }
        EXPECT_TRUE(text.startsWith(QString::fromUtf8(c.place) + QLatin1Char(':')))
            << c.from << " -> " << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.fragment))) << c.from << " -> " << text.toStdString();
    }
}

TEST(Compiler, ReportsMissingFiles)
{
    for (const char *missing : {"texts/cena.txt", "pictures/cena.spots", "module.txt", "toc.txt"}) {
        ContentFolder folder;
        folder.remove(missing);
        EXPECT_THROW(compileContentFolder(folder.path(), fakeConverters()), BuildError) << missing;
    }
}
