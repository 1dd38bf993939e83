#pragma once
// Every event sound the program plays; the "Sons" table must hold one record for each.
#include <QStringList>

namespace vl::build {

inline QStringList programEventNames()
{
    return {QStringLiteral("CLICK"),       QStringLiteral("OPEN_TOPIC"), QStringLiteral("LINK"),
            QStringLiteral("NOT_FOUND"),   QStringLiteral("DEFINITION"), QStringLiteral("WIN_OPEN"),
            QStringLiteral("GAME_DENY"),   QStringLiteral("EXAM_DENY"),  QStringLiteral("GAME_START"),
            QStringLiteral("GAME_END"),    QStringLiteral("RANK_FISRT"), QStringLiteral("RANK_IN"),
            QStringLiteral("RANK_ALMOST"), QStringLiteral("RANK_NO"),    QStringLiteral("CARD_FLIP"),
            QStringLiteral("CARDS_HIDE"),  QStringLiteral("SHUFFLE"),    QStringLiteral("CARD_OK"),
            QStringLiteral("CARD_ERR"),    QStringLiteral("EXAM_START"), QStringLiteral("EXAM_OK"),
            QStringLiteral("EXAM_ERR"),    QStringLiteral("HALL_FIRST"), QStringLiteral("HALL_IN"),
            QStringLiteral("HALL_ALMOST"), QStringLiteral("HALL_NO")};
}

}  // namespace vl::build
