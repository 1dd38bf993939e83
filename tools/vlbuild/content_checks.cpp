#include "content_checks.h"

#include "event_names.h"
#include "link_scan.h"

namespace vl::build {

int findTopic(const QList<TopicSource> &topics, const QString &identifier)
{
    for (int i = 0; i < topics.size(); ++i) {
        const TopicSource &t = topics[i];
        if (t.id.compare(identifier, Qt::CaseInsensitive) == 0 || t.caption.compare(identifier, Qt::CaseInsensitive) == 0 ||
            (!t.title.isEmpty() && t.title.compare(identifier, Qt::CaseInsensitive) == 0))
            return i;
    }
    return -1;
}

static const TableSource &requireTable(const ContentSources &s, const QString &name, const SourcePlace &place)
{
    const TableSource *t = s.table(name);
    if (!t)
        throw BuildError(place, QStringLiteral("tabela desconhecida '%1'").arg(name));
    return *t;
}

static void requireColumns(const TableSource &t, const QStringList &columns, const SourcePlace &place,
                           const QString &purpose)
{
    for (const QString &c : columns)
        if (t.columnIndex(c) < 0)
            throw BuildError(place, QStringLiteral("a tabela '%1' precisa da coluna '%2' (%3)").arg(t.name, c, purpose));
}

void checkTopicTables(const ContentSources &s)
{
    for (const TopicSource &t : s.topics) {
        switch (t.kind) {
        case TopicKind::Table: {
            const TableSource &table = requireTable(s, t.table, t.tablePlace);
            const QStringList fields = t.fields.split(QLatin1Char(','));
            if (fields.size() > 4)
                throw BuildError(t.fieldsPlace, QStringLiteral("'fields' aceita no máximo 4 colunas"));
            for (const QString &f : fields)
                if (!f.trimmed().isEmpty() && table.columnIndex(f.trimmed()) < 0)
                    throw BuildError(t.fieldsPlace, QStringLiteral("a tabela '%1' não tem a coluna '%2'").arg(table.name, f.trimmed()));
            if (!t.orders.trimmed().isEmpty()) {
                const QStringList orders = t.orders.split(QLatin1Char(','));
                for (int k = 0; k < orders.size(); ++k) {
                    const QString name = orders[k].trimmed();
                    int number = -1;
                    for (int i = 0; i < table.indexes.size(); ++i)
                        if (table.indexes[i].name.compare(name, Qt::CaseInsensitive) == 0)
                            number = i + 1;
                    if (number < 0)
                        throw BuildError(t.ordersPlace, QStringLiteral("a tabela '%1' não tem o índice '%2'").arg(table.name, name));
                    if (number != k + 1)
                        throw BuildError(t.ordersPlace, QStringLiteral("'orders' deve listar os índices na ordem em que a "
                                                                       "tabela os declara: '%1' é o índice %2, não o %3")
                                                            .arg(name)
                                                            .arg(number)
                                                            .arg(k + 1));
                }
            }
            if (!t.jump.isEmpty() && table.columnIndex(t.jump) < 0)
                throw BuildError(t.jumpPlace, QStringLiteral("a tabela '%1' não tem a coluna '%2'").arg(table.name, t.jump));
            if (t.setOrder < 0 || t.setOrder > table.indexes.size())
                throw BuildError(t.setOrderPlace, QStringLiteral("set_order %1: a tabela '%2' tem %3 índices")
                                                      .arg(t.setOrder)
                                                      .arg(table.name)
                                                      .arg(table.indexes.size()));
            if (t.setOrder > 0 || t.gameLevel > 0)
                requireColumns(table, {QStringLiteral("FILE"), QStringLiteral("TYPE")}, t.tablePlace,
                               QStringLiteral("conjunto de sinais e jogos mostram a figura"));
            if (t.gameLevel > 0)
                requireColumns(table, {QStringLiteral("NOME")}, t.gameLevelPlace, QStringLiteral("os jogos mostram o nome"));
            break;
        }
        case TopicKind::Exam: {
            const TableSource &table = requireTable(s, t.table, t.tablePlace);
            requireColumns(table,
                           {QStringLiteral("QUESTION"), QStringLiteral("RSP_1"), QStringLiteral("RSP_2"), QStringLiteral("RSP_3"),
                            QStringLiteral("RSP_4"), QStringLiteral("Jump"), QStringLiteral("FONTE"), QStringLiteral("CAP"),
                            QStringLiteral("ART"), QStringLiteral("PARA")},
                           t.tablePlace, QStringLiteral("tabela de prova"));
            if (t.topicNumber() < 1)
                throw BuildError(t.idPlace, QStringLiteral("o identificador de uma prova deve terminar no número do "
                                                           "placar (caracteres 5 a 24), por exemplo PROV0001"));
            break;
        }
        case TopicKind::Hot: {
            requireColumns(requireTable(s, t.table, t.tablePlace), {QStringLiteral("Nome"), QStringLiteral("FILE")},
                           t.tablePlace, QStringLiteral("tabela de exemplos"));
            requireColumns(requireTable(s, t.aux, t.auxPlace),
                           {QStringLiteral("LEVEL"), QStringLiteral("CAPTION"), QStringLiteral("CODIGO")}, t.auxPlace,
                           QStringLiteral("tabela da legenda"));
            break;
        }
        case TopicKind::Game:
            if (t.topicNumber() < 1 || t.topicNumber() > 4)
                throw BuildError(t.idPlace, QStringLiteral("o identificador de um jogo deve terminar em 0001 a 0004 "
                                                           "(memória, nomes, placas, placas faladas)"));
            break;
        case TopicKind::Heading:
        case TopicKind::Text:
            break;
        }
    }
}

namespace {

// Text values of one column of a built table.
QStringList columnTexts(const TableModel &t, const QString &column)
{
    QStringList values;
    const int c = t.columnIndex(column);
    if (c < 0)
        return values;
    for (const auto &row : t.rows)
        if (const QString *s = std::get_if<QString>(&row[c]))
            values.append(*s);
    return values;
}

class LinkChecker {
public:
    LinkChecker(const ContentSources &s, const ModuleModel &m, const QMap<QString, QStringList> &spots)
        : s_(s), m_(m), spots_(spots)
    {
    }

    // A target of the form TOPIC or TOPIC#anchor, as used by the exam's legal-basis links.
    void checkTarget(const QString &identifier, const QString &anchor, const SourcePlace &place) const
    {
        const int target = findTopic(s_.topics, identifier);
        if (target < 0)
            throw BuildError(place, QStringLiteral("link para um tópico desconhecido '%1'").arg(identifier));
        if (anchor.isEmpty())
            return;
        const TopicSource &t = s_.topics[target];
        if (t.kind == TopicKind::Table) {
            const TableModel *table = m_.table(t.table);
            const QStringList keys = table ? columnTexts(*table, t.jump) : QStringList();
            if (t.jump.isEmpty() || !keys.contains(anchor, Qt::CaseInsensitive))
                throw BuildError(place, QStringLiteral("a tabela do tópico '%1' não tem registro com %2 = '%3'")
                                            .arg(t.id, t.jump.isEmpty() ? QStringLiteral("JUMP") : t.jump, anchor));
            return;
        }
        const auto text = s_.texts.find(target);
        if (text == s_.texts.end() || !containsWholeWord(text->second.rendered.plainText, anchor))
            throw BuildError(place, QStringLiteral("a palavra '%1' não aparece no texto do tópico '%2'").arg(anchor, t.id));
    }

    void checkText(int topicIndex, const TopicText &text) const
    {
        const TopicSource &topic = s_.topics[topicIndex];
        const LinkScan scan = scanLinks(text.source);
        auto placeOf = [&](qsizetype offset) { return SourcePlace{text.path, lineOfOffset(text.source, offset)}; };
        if (!scan.malformed.isEmpty())
            throw BuildError(placeOf(scan.malformed.first().offset), scan.malformed.first().reason);
        if (scan.childLists.size() > 1)
            throw BuildError(placeOf(scan.childLists[1]), QStringLiteral("só o primeiro '~^' de um texto é expandido"));
        for (qsizetype c : scan.childLists)
            if (c + 2 >= text.source.size() || !text.source[c + 2].isDigit())
                throw BuildError(placeOf(c), QStringLiteral("'~^' deve ser seguido do dígito do tipo de link"));

        QStringList anchors;
        for (const MarkupLink &l : scan.links)
            if (l.digit == QLatin1Char('6'))
                anchors.append(l.identifier);
        for (const MarkupLink &l : scan.links) {
            const SourcePlace place = placeOf(l.offset);
            switch (l.digit.unicode()) {
            case '0':
                if (!l.identifier.contains(QLatin1String("://")) && !l.identifier.startsWith(QLatin1String("mailto:")))
                    throw BuildError(place, QStringLiteral("endereço externo inválido '%1'").arg(l.identifier));
                break;
            case '5': {
                if (topic.kind != TopicKind::Hot)
                    throw BuildError(place, QStringLiteral("links de legenda (5) só funcionam em tópicos de imagem"));
                const QStringList codes = spots_.value(topic.table.toUpper());
                if (!codes.contains(l.identifier.trimmed().toUpper()))
                    throw BuildError(place, QStringLiteral("nenhuma figura de '%1' tem a área '%2'").arg(topic.table, l.identifier));
                break;
            }
            case '6':
                if (l.identifier.trimmed().isEmpty())
                    throw BuildError(place, QStringLiteral("marca de âncora sem nome"));
                break;
            case '7':
                throw BuildError(place, QStringLiteral("links de comando (7) não executam nada neste programa"));
            default:
                if (l.identifier.trimmed().isEmpty()) {
                    if (l.anchor.isEmpty())
                        throw BuildError(place, QStringLiteral("link sem tópico e sem âncora"));
                    if (!anchors.contains(l.anchor))
                        throw BuildError(place, QStringLiteral("âncora '%1' não marcada neste texto (use ~«6%1»)").arg(l.anchor));
                } else {
                    checkTarget(l.identifier, l.anchor, place);
                }
                if (l.digit == QLatin1Char('4') && l.caption.trimmed().isEmpty())
                    throw BuildError(place, QStringLiteral("link do tipo 4 precisa de uma legenda depois de '~'"));
            }
        }
        if (!topic.sectionSearch.isEmpty() && !containsWholeWord(text.rendered.plainText, topic.sectionSearch))
            throw BuildError(topic.sectionPlace, QStringLiteral("a marca de seção '%1' não aparece no texto").arg(topic.sectionSearch));
    }

private:
    const ContentSources &s_;
    const ModuleModel &m_;
    const QMap<QString, QStringList> &spots_;
};

void checkSounds(const ContentSources &s)
{
    const TableSource *sons = s.table(soundTableName);
    if (!sons)
        throw BuildError({QStringLiteral("tables"), 0}, QStringLiteral("falta a tabela de sons '%1'").arg(soundTableName));
    requireColumns(*sons, {QStringLiteral("ACTION"), QStringLiteral("TOPIC"), QStringLiteral("IMAGE"),
                           QStringLiteral("DESCRIP"), QStringLiteral("FILE")},
                   sons->namePlace, QStringLiteral("tabela de sons"));
    bool hasIndex = false;
    for (const IndexSpec &i : sons->indexes)
        hasIndex |= i.name.compare(QLatin1String("ACTION"), Qt::CaseInsensitive) == 0;
    if (!hasIndex)
        throw BuildError(sons->namePlace, QStringLiteral("a tabela de sons precisa do índice 'ACTION'"));
    const int action = sons->columnIndex(QStringLiteral("ACTION"));
    const int file = sons->columnIndex(QStringLiteral("FILE"));
    for (const QString &event : programEventNames()) {
        const RecordSource *found = nullptr;
        for (const RecordSource &r : sons->records)
            if (const FieldSource *f = r.field(action); f && f->value.compare(event, Qt::CaseInsensitive) == 0)
                found = &r;
        if (!found)
            throw BuildError(sons->namePlace, QStringLiteral("falta o som do evento '%1'").arg(event));
        if (!found->field(file))
            throw BuildError(found->place, QStringLiteral("o evento '%1' não tem som (FILE)").arg(event));
    }
}

}  // namespace

void checkContent(const ContentSources &s, const ModuleModel &m, const QMap<QString, QStringList> &spotCodes)
{
    const LinkChecker links(s, m, spotCodes);
    for (const auto &[index, text] : s.texts)
        links.checkText(index, text);

    const TableModel *references = m.table(referenceTableName);
    const QStringList sources = references ? columnTexts(*references, QStringLiteral("Fonte")) : QStringList();
    for (const TopicSource &t : s.topics) {
        if (t.kind != TopicKind::Exam)
            continue;
        const TableSource &table = *s.table(t.table);
        const int jump = table.columnIndex(QStringLiteral("Jump"));
        const int fonte = table.columnIndex(QStringLiteral("FONTE"));
        const int answer = table.columnIndex(QStringLiteral("RSP_1"));
        for (const RecordSource &r : table.records) {
            if (!r.field(answer))
                throw BuildError(r.place, QStringLiteral("questão sem a resposta certa (RSP_1)"));
            if (const FieldSource *f = r.field(jump)) {
                const qsizetype hash = f->value.indexOf(QLatin1Char('#'));
                links.checkTarget(hash < 0 ? f->value : f->value.left(hash), hash < 0 ? QString() : f->value.mid(hash + 1),
                                  f->place);
            }
            if (const FieldSource *f = r.field(fonte); f && !sources.contains(f->value))
                throw BuildError(f->place, QStringLiteral("fonte '%1' não está em '%2'").arg(f->value, referenceTableName));
        }
    }
    checkSounds(s);
}

}  // namespace vl::build
