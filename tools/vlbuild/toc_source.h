#pragma once
// The contents tree (toc.txt) and the module properties (module.txt).
//
//   [1] Sinalização                    level in brackets, then the caption
//   id = SINA0001
//   kind = text                         heading, text, table, game, exam, hot
//   text = texts/sinalizacao.txt
//   icon = pictures/icones/x.svg        optional tree and title picture
#include "stanza_file.h"

#include <QUuid>
#include <array>
#include <cstdint>

namespace vl::build {

enum class TopicKind { Heading, Text, Table, Game, Exam, Hot };

struct TopicSource {
    SourcePlace place;
    int level = 1;
    QString caption;
    QString id;  // upper-cased
    SourcePlace idPlace;
    QString title;
    TopicKind kind = TopicKind::Heading;
    QString textPath;  // relative to the content folder; empty when none
    SourcePlace textPlace;
    QString sectionSearch, sectionShow;
    SourcePlace sectionPlace;
    QString table, aux;
    SourcePlace tablePlace, auxPlace;
    QString fields, orders, jump;
    SourcePlace fieldsPlace, ordersPlace, jumpPlace;
    int setOrder = 0;
    SourcePlace setOrderPlace;
    int gameLevel = 0;
    SourcePlace gameLevelPlace;
    bool canRevise = false;
    QString iconPath;  // SVG drawn as the tree (20x16) and title (24x24) pictures
    SourcePlace iconPlace;

    // Characters 5 to 24 of the identifier as a decimal number, 0 when they are not one.
    int topicNumber() const;
};

constexpr int maxTopicLevel = 19;

QList<TopicSource> parseToc(const StanzaFile &file);
QList<TopicSource> readToc(const QString &filePath, const QString &displayPath);

struct ModuleSource {
    QString title;
    QString description;
    std::array<std::uint8_t, 4> version{1, 0, 0, 0};
    QUuid guid;
};

ModuleSource parseModule(const StanzaFile &file);

// yes/no in Portuguese or English, true/false, 1/0; anything else is an error at `place`.
bool parseYesNo(const QString &value, const SourcePlace &place);
int parseInteger(const QString &value, const SourcePlace &place);

}  // namespace vl::build
