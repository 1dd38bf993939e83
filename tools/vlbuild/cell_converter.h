#pragma once
// Turns the text an author wrote for one field into the stored value of its column.
//
// Blob fields name what to store:
//   svg PATH      the SVG picture converted to a placeable WMF
//   hot PATH      the same, with the spots of PATH's .spots file appended as a "VLhot" block
//   bmp PATH WxH  the SVG picture as a 24-bit bitmap file of that size (list icons)
//   tone SPEC     a synthesised RIFF WAVE sound (see wave_synth.h)
//   speech TEXT   the text read aloud by the Brazilian Portuguese voice, as RIFF WAVE
//   text PATH     a topic-markup file converted to RTF
//   file PATH     the file's bytes as they are
#include "content_sources.h"
#include "converters.h"
#include "hot_spots.h"
#include "table_model.h"

#include <QColor>
#include <QSize>

namespace vl::build {

class CellConverter {
public:
    CellConverter(const ContentSources &sources, const Converters &converters);

    CellValue convert(const ColumnSpec &column, const FieldSource &field);

    // Spot codes of every hot picture converted so far, by table name (upper-cased codes).
    const QMap<QString, QStringList> &spotCodes() const { return spotCodes_; }
    void setCurrentTable(const QString &name) { currentTable_ = name; }
    // The absolute path of a valid SVG named in a source; an error at `place` otherwise.
    QString svgFile(const QString &path, const SourcePlace &place) const;

private:
    QString existingFile(const QString &path, const SourcePlace &place, const QString &what) const;
    QByteArray picture(const QString &path, const SourcePlace &place) const;
    CellValue blob(const FieldSource &field);

    const ContentSources &sources_;
    const Converters &converters_;
    QMap<QString, QStringList> spotCodes_;
    QString currentTable_;
};

// A 24-bit bitmap file of the SVG drawn over `background`; with `transparentKey` the background
// is the colour the program treats as transparent, kept only where the picture leaves it.
QByteArray svgBitmap(const QString &svgPath, QSize size, const QColor &background, bool transparentKey);

// The text must be representable in code page 1252, the encoding of every stored text.
void requireCp1252(const QString &text, const SourcePlace &place);

}  // namespace vl::build
