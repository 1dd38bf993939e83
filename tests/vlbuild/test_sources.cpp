// Contents, module and table sources: what they accept and where they report errors.
#include "vlbuild/table_source.h"
#include "vlbuild/toc_source.h"

#include <gtest/gtest.h>

using namespace vl::build;

namespace {

// Runs `parse` and returns the error's line and message, or line -1 when it succeeded.
template <typename F>
std::pair<int, QString> errorOf(F parse)
{
    try {
        parse();
    } catch (const BuildError &e) {
        return {e.place().line, e.message()};
    }
    return {-1, {}};
}

QList<TopicSource> toc(const QString &text)
{
    return parseToc(parseStanzaText(QStringLiteral("toc.txt"), text));
}

}  // namespace

TEST(StanzaFile, ReadsPreambleStanzasAndContinuations)
{
    const StanzaFile f = parseStanzaText(QStringLiteral("x"), QStringLiteral("# comment\n"
                                                                              "a = 1\n"
                                                                              "[first one]\n"
                                                                              "text = começo\n"
                                                                              "   e fim\n"
                                                                              "\n"
                                                                              "[second]\r\n"
                                                                              "k=v=w\r\n"));
    ASSERT_EQ(f.preamble.entries.size(), 1);
    ASSERT_EQ(f.stanzas.size(), 2);
    EXPECT_EQ(f.stanzas[0].header, QStringLiteral("first one"));
    EXPECT_EQ(f.stanzas[0].find(QStringLiteral("TEXT"))->value, QStringLiteral("começo e fim"));
    EXPECT_EQ(f.stanzas[1].entries[0].value, QStringLiteral("v=w"));
    EXPECT_EQ(f.stanzas[1].entries[0].place.line, 8);
}

TEST(StanzaFile, RejectsMalformedLines)
{
    const struct {
        const char *text;
        int line;
    } cases[] = {
        {"a = 1\n\n  dangling", 3},
        {"[open\n", 1},
        {"[s] tail]\n", -1},
        {"[s]\njust words\n", 2},
        {"[s]\n = value\n", 2},
    };
    for (const auto &c : cases) {
        const auto [line, message] = errorOf([&] { parseStanzaText(QStringLiteral("x"), QString::fromUtf8(c.text)); });
        EXPECT_EQ(line, c.line) << c.text;
    }
}

TEST(Toc, ReadsTopicsOfEveryKind)
{
    const auto topics = toc(QStringLiteral("[1] Início\nid = intr0001\nkind = text\ntext = t.txt\nrevise = sim\n"
                                           "[2] Placas\nid = PLAC0001\nkind = table\ntable = Placas\n"
                                           "fields = NOME, CODIGO\norders = Nome\njump = CODIGO\nset_order = 1\n"
                                           "game_level = 2\n"
                                           "[2] Prova\nid = PROV0003\nkind = exam\ntable = Questões\n"
                                           "[1] Jogos\nid = JOGO0000\nkind = heading\n"));
    ASSERT_EQ(topics.size(), 4);
    EXPECT_EQ(topics[0].id, QStringLiteral("INTR0001"));
    EXPECT_TRUE(topics[0].canRevise);
    EXPECT_EQ(topics[1].kind, TopicKind::Table);
    EXPECT_EQ(topics[1].gameLevel, 2);
    EXPECT_EQ(topics[1].setOrder, 1);
    EXPECT_EQ(topics[2].topicNumber(), 3);
    EXPECT_EQ(topics[3].level, 1);
}

TEST(Toc, TopicNumberIsCharactersFiveOnwardAsDecimal)
{
    TopicSource t;
    for (const auto &[id, number] : {std::pair{"JOGO0003", 3}, {"JOGO", 0}, {"ABCDx12", 0}, {"PROV0012", 12}}) {
        t.id = QString::fromLatin1(id);
        EXPECT_EQ(t.topicNumber(), number) << id;
    }
}

TEST(Toc, ReportsErrorsWithTheirLine)
{
    const struct {
        const char *text;
        int line;
        const char *fragment;
    } cases[] = {
        {"[1] A\nid=A1\nkind=heading\n[3] B\nid=B1\nkind=heading\n", 4, "salto de nível"},
        {"[2] A\nid=A1\nkind=heading\n", 1, "salto de nível"},
        {"[20] A\nid=A1\nkind=heading\n", 1, "fora de 1 a 19"},
        {"[1] A\nid=A1\nkind=heading\n[1] B\nid=a1\nkind=heading\n", 5, "repetido"},
        {"[1] A\nkind=heading\n", 1, "não tem 'id'"},
        {"[1] A\nid=A1\nkind=movie\n", 3, "tipo de tópico desconhecido"},
        {"[1] A\nid=A1\nkind=text\n", 1, "precisa de 'text'"},
        {"[1] A\nid=A1\nkind=table\n", 1, "precisa de 'table'"},
        {"[1] A\nid=A1\nkind=hot\ntext=a.txt\ntable=E\n", 1, "precisa de 'aux'"},
        {"[1] A\nid=A1\nkind=heading\ncolor=red\n", 4, "chave desconhecida"},
        {"[1] A\nid=A1\nkind=text\ntext=a\nfields=NOME\n", 5, "não se aplica"},
        {"[1] A\nid=A1\nkind=text\ntext=a\ntext=b\n", 5, "mais de uma vez"},
        {"[1] A\nid=A B\nkind=heading\n", 2, "identificador inválido"},
        {"[1] A\nid=A1\nkind=table\ntable=T\nset_order=x\n", 5, "número inteiro"},
        {"[1] A\nid=A1\nkind=text\ntext=a\nrevise=talvez\n", 5, "sim ou não"},
        {"id=A1\n", 1, "fora de um tópico"},
        {"[x] A\nid=A1\n", 1, "[nível] Legenda"},
    };
    for (const auto &c : cases) {
        const auto [line, message] = errorOf([&] { toc(QString::fromUtf8(c.text)); });
        EXPECT_EQ(line, c.line) << c.text;
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.fragment))) << c.text << " -> " << message.toStdString();
    }
}

TEST(Module, ReadsVersionAndGuid)
{
    const ModuleSource m = parseModule(parseStanzaText(
        QStringLiteral("module.txt"),
        QStringLiteral("title = Vialume\nversion = 1.2.3.4\nguid = {0f7c9a52-4c1e-4d7e-9f0e-2b6a8d1c3e57}\n")));
    EXPECT_EQ(m.title, QStringLiteral("Vialume"));
    EXPECT_EQ(m.version[3], 4);
    EXPECT_FALSE(m.guid.isNull());
    const auto [line, message] = errorOf([] {
        parseModule(parseStanzaText(QStringLiteral("m"), QStringLiteral("title = V\nversion = 1.2.300.4\nguid = {0f7c9a52-4c1e-4d7e-9f0e-2b6a8d1c3e57}\n")));
    });
    EXPECT_EQ(line, 2);
}

TEST(TableSource, ReadsColumnsIndexesAndRecords)
{
    const TableSource t = parseTableSource(parseStanzaText(
        QStringLiteral("tables/x.table"),
        QStringLiteral("table = Dicionário\ndescription = Termos\n"
                       "column = Entrada string 34\ncolumn = Definição memo\ncolumn = N integer\n"
                       "index = Entrada: Entrada (nocase, locale)\nindex = Dupla: N, Entrada\n"
                       "[a]\nEntrada = Acostamento\nDefinição = parte da via\n  diferenciada\n[b]\nentrada = Via\n")));
    EXPECT_EQ(t.name, QStringLiteral("Dicionário"));
    ASSERT_EQ(t.columns.size(), 3);
    EXPECT_EQ(t.columns[0].size, 34);
    EXPECT_EQ(t.columns[1].type, ColumnType::Memo);
    ASSERT_EQ(t.indexes.size(), 2);
    EXPECT_TRUE(t.indexes[0].caseInsensitive && t.indexes[0].localeOrder);
    EXPECT_FALSE(t.indexes[1].caseInsensitive);
    EXPECT_EQ(t.indexes[1].columns, (QStringList{QStringLiteral("N"), QStringLiteral("Entrada")}));
    ASSERT_EQ(t.records.size(), 2);
    EXPECT_EQ(t.records[0].field(1)->value, QStringLiteral("parte da via diferenciada"));
    EXPECT_EQ(t.records[1].field(0)->value, QStringLiteral("Via"));
    EXPECT_EQ(t.records[1].field(1), nullptr);
}

TEST(TableSource, ReportsErrorsWithTheirLine)
{
    const struct {
        const char *text;
        int line;
        const char *fragment;
    } cases[] = {
        {"column = A string 5\n", 1, "falta 'table"},
        {"table = T\n", 1, "nenhuma coluna"},
        {"table = T\ncolumn = A text\n", 2, "tipo de coluna desconhecido"},
        {"table = T\ncolumn = A string\n", 2, "tamanho"},
        {"table = T\ncolumn = A integer 4\n", 2, "só colunas string"},
        {"table = T\ncolumn = A integer\ncolumn = a blob\n", 3, "repetida"},
        {"table = T\ncolumn = A integer\nindex = I: B\n[r]\nA=1\n", 3, "coluna desconhecida"},
        {"table = T\ncolumn = A blob\nindex = I: A\n[r]\n", 3, "não pode ser chave"},
        {"table = T\ncolumn = A integer\nindex = I: A (fast)\n[r]\nA=1\n", 3, "opção de índice"},
        {"table = T\ncolumn = A integer\nindex = I: A\nindex = i: A\n[r]\nA=1\n", 4, "repetido"},
        {"table = T\ncolumn = A integer\nindex = I: A\n", 1, "ao menos um registro"},
        {"table = T\ncolumn = A integer\n[r]\nB = 2\n", 4, "não tem a coluna"},
        {"table = T\ncolumn = A integer\n[r]\nA = 2\nA = 3\n", 5, "repetida neste registro"},
        {"table = T\ncolumn = A integer\nsize = 3\n", 3, "chave desconhecida"},
    };
    for (const auto &c : cases) {
        const auto [line, message] =
            errorOf([&] { parseTableSource(parseStanzaText(QStringLiteral("t"), QString::fromUtf8(c.text))); });
        EXPECT_EQ(line, c.line) << c.text;
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.fragment))) << c.text << " -> " << message.toStdString();
    }
}
