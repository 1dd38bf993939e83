#pragma once
// Field instructions of RTF \field groups: the HYPERLINK field.
#include <QString>
#include <QStringView>

#include <optional>

namespace vl::rtf {

struct HyperlinkField {
  QString href;     // the address; "#name" for a link to a bookmark (\l), address#name with both
  QString toolTip;  // \o
};

// Parses `HYPERLINK "address" [\l "bookmark"] [\o "tip"] ...`; nullopt for other fields.
std::optional<HyperlinkField> parseHyperlinkInstruction(QStringView instruction);

// The instruction text the writer stores for a link to `href`.
QString hyperlinkInstruction(const QString &href, const QString &toolTip = {});

}  // namespace vl::rtf
