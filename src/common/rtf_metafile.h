#pragma once
// Windows metafile pictures in RTF documents (\wmetafileN and \emfblip).
//
// The reader cannot draw metafiles itself. It hands them to the rasterizer set here (or the one in
// its options); without one, or when it returns a null image, the picture gets a blank image of
// the right size. Either way the document keeps the metafile: a resource of type
// RtfMetafileResource named rtfMetafileUrl(image name), holding an RtfMetafile. The writer writes
// such a resource back as \wmetafile8 (WMF) or \emfblip (EMF) next to the image; a caller that
// wants a metafile in the RTF adds the resource the same way (an RtfMetafile or the file's bytes).
#include <QByteArray>
#include <QImage>
#include <QMetaType>
#include <QSize>
#include <QTextDocument>
#include <QTextFormat>
#include <QUrl>

#include <functional>
#include <optional>

namespace vl {

enum class RtfMetafileKind { Wmf, Emf };

struct RtfMetafile {
  RtfMetafileKind kind = RtfMetafileKind::Wmf;
  // WMF: the metafile without placeable header, as RTF stores it; EMF: the whole file.
  QByteArray bytes;
  // N of \wmetafileN: the mapping mode (8 = anisotropic, the usual one).
  int mappingMode = 8;
  // The picture's natural size in 0.01 mm (\picw, \pich); empty when unknown.
  QSize extent;
  bool operator==(const RtfMetafile &) const = default;
};

constexpr int RtfMetafileResource = QTextDocument::UserResource + 0x52;

// The name of the metafile resource of the image `imageName` (a document keeps one resource per
// name, whatever its type, so the metafile needs a name of its own).
QUrl rtfMetafileUrl(const QString &imageName);

// Set (true) on the QTextImageFormat of a picture whose image is only a blank stand-in; the writer
// never writes such an image, only the metafile behind it.
constexpr int RtfBlankPictureProperty = QTextFormat::UserProperty + 0x5202;

// Draws a metafile into an image of `pixelSize`; a null image means it could not.
using RtfMetafileRasterizer = std::function<QImage(const RtfMetafile &metafile, QSize pixelSize)>;

// The rasterizer used by readers whose options name none. Not thread-safe: set it at start-up.
void setRtfMetafileRasterizer(RtfMetafileRasterizer rasterizer);
const RtfMetafileRasterizer &rtfMetafileRasterizer();

// A metafile from the bytes of a file: a placeable WMF (its header gives the extent and is
// removed), a WMF without placeable header, or an EMF (extent from its frame). nullopt for
// anything else.
std::optional<RtfMetafile> rtfMetafileFromFile(const QByteArray &bytes);

// The metafile of a QTextDocument resource: an RtfMetafile, or raw file bytes as above.
std::optional<RtfMetafile> rtfMetafileFromResource(const QVariant &resource);

// A placeable WMF of an RtfMetafile (for renderers that read placeable files): the bounding box
// comes from the metafile's window origin and extent, the units per inch from `extent`. Empty for
// an EMF or when the WMF sets no window extent.
QByteArray rtfPlaceableWmf(const RtfMetafile &metafile);

}  // namespace vl

Q_DECLARE_METATYPE(vl::RtfMetafile)
