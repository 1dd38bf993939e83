#include "toc_source.h"


namespace vl::build {

int TopicSource::topicNumber() const
{
    const QString digits = id.mid(4, 20);
    if (digits.isEmpty())
        return 0;
    for (QChar c : digits)
        if (!c.isDigit() || c.unicode() > 127)
            return 0;
    bool ok = false;
    const int n = digits.toInt(&ok);
    return ok ? n : 0;
}

bool parseYesNo(const QString &value, const SourcePlace &place)
{
    const QString v = value.trimmed().toLower();
    if (v == QLatin1String("sim") || v == QLatin1String("yes") || v == QLatin1String("true") || v == QLatin1String("1"))
        return true;
    if (v == QStringLiteral("não") || v == QLatin1String("nao") || v == QLatin1String("no") ||
        v == QLatin1String("false") || v == QLatin1String("0"))
        return false;
    throw BuildError(place, QStringLiteral("esperava sim ou não e encontrei '%1'").arg(value));
}

int parseInteger(const QString &value, const SourcePlace &place)
{
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    if (!ok)
        throw BuildError(place, QStringLiteral("esperava um número inteiro e encontrei '%1'").arg(value));
    return n;
}

static TopicKind parseKind(const StanzaEntry &e)
{
    static const QList<std::pair<QString, TopicKind>> kinds = {
        {QStringLiteral("heading"), TopicKind::Heading}, {QStringLiteral("text"), TopicKind::Text},
        {QStringLiteral("table"), TopicKind::Table},     {QStringLiteral("game"), TopicKind::Game},
        {QStringLiteral("exam"), TopicKind::Exam},       {QStringLiteral("hot"), TopicKind::Hot}};
    for (const auto &[name, kind] : kinds)
        if (e.value.compare(name, Qt::CaseInsensitive) == 0)
            return kind;
    throw BuildError(e.place, QStringLiteral("tipo de tópico desconhecido '%1' (válidos: heading, text, table, "
                                             "game, exam, hot)")
                                  .arg(e.value));
}

static TopicSource parseTopic(const Stanza &s, int previousLevel)
{
    bool numeric = false;
    const int level = s.header.toInt(&numeric);
    if (!numeric || s.title.isEmpty())
        throw BuildError(s.place, QStringLiteral("cabeçalho de tópico deve ser '[nível] Legenda'"));
    TopicSource t;
    t.place = s.place;
    t.level = level;
    t.caption = s.title;
    if (t.level < 1 || t.level > maxTopicLevel)
        throw BuildError(s.place, QStringLiteral("nível %1 fora de 1 a %2").arg(t.level).arg(maxTopicLevel));
    if (t.level > previousLevel + 1)
        throw BuildError(s.place, QStringLiteral("salto de nível: de %1 para %2 (um tópico só pode descer um nível)")
                                      .arg(previousLevel)
                                      .arg(t.level));

    requireKnownKeys(s, {QStringLiteral("id"), QStringLiteral("title"), QStringLiteral("kind"), QStringLiteral("text"),
                         QStringLiteral("section"), QStringLiteral("section_caption"), QStringLiteral("table"),
                         QStringLiteral("aux"), QStringLiteral("fields"), QStringLiteral("orders"),
                         QStringLiteral("jump"), QStringLiteral("set_order"), QStringLiteral("game_level"),
                         QStringLiteral("revise"), QStringLiteral("icon")});
    const auto id = singleEntry(s, QStringLiteral("id"));
    if (!id || id->value.isEmpty())
        throw BuildError(s.place, QStringLiteral("o tópico '%1' não tem 'id'").arg(t.caption));
    if (id->value.size() > 24 || id->value.contains(QLatin1Char(' ')))
        throw BuildError(id->place, QStringLiteral("identificador inválido '%1': até 24 caracteres, sem espaços")
                                        .arg(id->value));
    t.id = id->value.toUpper();
    t.idPlace = id->place;
    if (const auto e = singleEntry(s, QStringLiteral("title")))
        t.title = e->value;
    if (const auto e = singleEntry(s, QStringLiteral("kind")))
        t.kind = parseKind(*e);
    else
        throw BuildError(s.place, QStringLiteral("o tópico '%1' não tem 'kind'").arg(t.caption));
    if (const auto e = singleEntry(s, QStringLiteral("text"))) {
        t.textPath = e->value;
        t.textPlace = e->place;
    }
    if (const auto e = singleEntry(s, QStringLiteral("section"))) {
        t.sectionSearch = e->value;
        t.sectionPlace = e->place;
    }
    if (const auto e = singleEntry(s, QStringLiteral("section_caption")))
        t.sectionShow = e->value;
    if (const auto e = singleEntry(s, QStringLiteral("table"))) {
        t.table = e->value;
        t.tablePlace = e->place;
    }
    if (const auto e = singleEntry(s, QStringLiteral("aux"))) {
        t.aux = e->value;
        t.auxPlace = e->place;
    }
    if (const auto e = singleEntry(s, QStringLiteral("fields"))) {
        t.fields = e->value;
        t.fieldsPlace = e->place;
    }
    if (const auto e = singleEntry(s, QStringLiteral("orders"))) {
        t.orders = e->value;
        t.ordersPlace = e->place;
    }
    if (const auto e = singleEntry(s, QStringLiteral("jump"))) {
        t.jump = e->value;
        t.jumpPlace = e->place;
    }
    if (const auto e = singleEntry(s, QStringLiteral("set_order"))) {
        t.setOrder = parseInteger(e->value, e->place);
        t.setOrderPlace = e->place;
    }
    if (const auto e = singleEntry(s, QStringLiteral("game_level"))) {
        t.gameLevel = parseInteger(e->value, e->place);
        t.gameLevelPlace = e->place;
        if (t.gameLevel < 0)
            throw BuildError(e->place, QStringLiteral("game_level não pode ser negativo"));
    }
    if (const auto e = singleEntry(s, QStringLiteral("icon"))) {
        t.iconPath = e->value;
        t.iconPlace = e->place;
    }
    if (const auto e = singleEntry(s, QStringLiteral("revise")))
        t.canRevise = parseYesNo(e->value, e->place);

    // Keys that belong to another kind of topic are a mistake of the author.
    auto onlyFor = [&](const QString &key, std::initializer_list<TopicKind> kinds) {
        if (const StanzaEntry *e = s.find(key)) {
            for (TopicKind k : kinds)
                if (k == t.kind)
                    return;
            throw BuildError(e->place, QStringLiteral("'%1' não se aplica a um tópico do tipo deste").arg(key));
        }
    };
    onlyFor(QStringLiteral("table"), {TopicKind::Table, TopicKind::Exam, TopicKind::Hot});
    onlyFor(QStringLiteral("aux"), {TopicKind::Hot});
    for (const char *k : {"fields", "orders", "jump", "set_order", "game_level"})
        onlyFor(QString::fromLatin1(k), {TopicKind::Table});
    onlyFor(QStringLiteral("text"), {TopicKind::Heading, TopicKind::Text, TopicKind::Game, TopicKind::Hot});
    onlyFor(QStringLiteral("section"), {TopicKind::Text});
    onlyFor(QStringLiteral("section_caption"), {TopicKind::Text});

    const bool needsText = t.kind == TopicKind::Text || t.kind == TopicKind::Game || t.kind == TopicKind::Hot;
    if (needsText && t.textPath.isEmpty())
        throw BuildError(s.place, QStringLiteral("o tópico '%1' precisa de 'text'").arg(t.caption));
    const bool needsTable = t.kind == TopicKind::Table || t.kind == TopicKind::Exam || t.kind == TopicKind::Hot;
    if (needsTable && t.table.isEmpty())
        throw BuildError(s.place, QStringLiteral("o tópico '%1' precisa de 'table'").arg(t.caption));
    if (t.kind == TopicKind::Hot && t.aux.isEmpty())
        throw BuildError(s.place, QStringLiteral("o tópico '%1' precisa de 'aux' (a tabela da legenda)").arg(t.caption));
    if (!t.sectionShow.isEmpty() && t.sectionSearch.isEmpty())
        throw BuildError(s.place, QStringLiteral("'section_caption' sem 'section'"));
    return t;
}

QList<TopicSource> parseToc(const StanzaFile &file)
{
    if (!file.preamble.entries.isEmpty())
        throw BuildError(file.preamble.entries.first().place,
                         QStringLiteral("chave fora de um tópico: comece cada tópico com '[nível] Legenda'"));
    QList<TopicSource> topics;
    int previousLevel = 0;
    for (const Stanza &s : file.stanzas) {
        TopicSource t = parseTopic(s, previousLevel);
        for (const TopicSource &other : topics)
            if (other.id == t.id)
                throw BuildError(t.idPlace, QStringLiteral("TOPIC_ID '%1' repetido (já usado na linha %2)")
                                                .arg(t.id)
                                                .arg(other.idPlace.line));
        previousLevel = t.level;
        topics.append(t);
    }
    if (topics.isEmpty())
        throw BuildError({file.path, 0}, QStringLiteral("o sumário não tem nenhum tópico"));
    return topics;
}

QList<TopicSource> readToc(const QString &filePath, const QString &displayPath)
{
    return parseToc(readStanzaFile(filePath, displayPath));
}

ModuleSource parseModule(const StanzaFile &file)
{
    const Stanza &pre = file.preamble;
    if (!file.stanzas.isEmpty())
        throw BuildError(file.stanzas.first().place, QStringLiteral("o arquivo do módulo não tem seções"));
    requireKnownKeys(pre, {QStringLiteral("title"), QStringLiteral("description"), QStringLiteral("version"),
                           QStringLiteral("guid")});
    ModuleSource m;
    const auto title = singleEntry(pre, QStringLiteral("title"));
    if (!title || title->value.isEmpty())
        throw BuildError({file.path, 0}, QStringLiteral("falta 'title'"));
    m.title = title->value;
    if (const auto d = singleEntry(pre, QStringLiteral("description")))
        m.description = d->value;
    if (const auto v = singleEntry(pre, QStringLiteral("version"))) {
        const QStringList parts = v->value.split(QLatin1Char('.'));
        bool good = parts.size() == 4;
        for (int i = 0; good && i < 4; ++i) {
            bool ok = false;
            const int n = parts[i].toInt(&ok);
            good = ok && n >= 0 && n <= 255;
            if (good)
                m.version[size_t(i)] = std::uint8_t(n);
        }
        if (!good)
            throw BuildError(v->place, QStringLiteral("versão deve ter a forma a.b.c.d com números de 0 a 255"));
    }
    const auto g = singleEntry(pre, QStringLiteral("guid"));
    if (!g)
        throw BuildError({file.path, 0}, QStringLiteral("falta 'guid'"));
    m.guid = QUuid::fromString(g->value);
    if (m.guid.isNull())
        throw BuildError(g->place, QStringLiteral("guid inválido '%1'").arg(g->value));
    return m;
}

}  // namespace vl::build
