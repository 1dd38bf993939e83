#pragma once
// The data of one RTF \pict group and its decoding into an image for the document.
#include "common/rtf_metafile.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QVariant>

#include <optional>
#include <string_view>

namespace vl::rtf {

enum class PictureFormat { Unknown, Png, Jpeg, Wmf, Emf, Dib };

struct PictureData {
  PictureFormat format = PictureFormat::Unknown;
  QByteArray bytes;
  int mappingMode = 8;
  int width = 0;  // \picw, \pich: pixels for bitmaps, 0.01 mm for metafiles
  int height = 0;
  int goalWidth = 0;  // \picwgoal, \pichgoal: twips
  int goalHeight = 0;
  int scaleX = 100;  // \picscalex, \picscaley: percent
  int scaleY = 100;

  // Hexadecimal picture data; whitespace and other characters are skipped, an odd digit waits
  // for its partner.
  void appendHex(std::string_view text);
  void appendBinary(std::string_view bytes);

 private:
  int pendingNibble_ = -1;
};

struct DecodedPicture {
  // The document resource: PNG and JPEG stay encoded (QByteArray; the document decodes them when
  // drawn), other pictures are a QImage. Never empty: a blank image when nothing could be drawn.
  QVariant image;
  QSize displaySize;                    // in document pixels
  std::optional<RtfMetafile> metafile;  // WMF or EMF pictures
  bool placeholder = false;             // `image` is blank because the picture could not be drawn
};

// Largest side of a displayed picture and of the image made for it, in pixels.
constexpr int kMaxPictureSide = 16384;
constexpr int kMaxImageSide = 4096;
// Pixels a document may spend on decoded and drawn pictures; beyond, pictures stay blank (their
// data is kept) so that damaged files cannot exhaust memory.
constexpr qint64 kPicturePixelBudget = qint64{16} * 1024 * 1024;

// Decodes a picture, spending from `pixelBudget` what it draws.
DecodedPicture decodePicture(const PictureData &picture, const RtfMetafileRasterizer &rasterizer,
                             qint64 &pixelBudget);

// A transparent image of `size` (sides clamped to kMaxImageSide), cheap in memory.
QImage blankImage(QSize size);

}  // namespace vl::rtf
