// The reader's pictures: PNG, JPEG, DIB, metafiles with and without a rasterizer, alternatives.
#include "common/rtf_hidden_text.h"
#include "common/rtf_metafile.h"
#include "common/rtf_reader.h"
#include "test_rtf_helpers.h"

#include <QTextDocument>
#include <QUrl>

namespace {

using vl::test::formatAt;
using vl::test::hexOf;

class ReaderPictures : public ::testing::Test {
 protected:
  void SetUp() override { vl::test::ensureApplication(); }

  // The image format of the picture at `position`.
  QTextImageFormat pictureAt(int position) const { return formatAt(document, position).toImageFormat(); }
  QImage imageAt(int position) const {
    return vl::test::resourceImage(document, pictureAt(position).name());
  }
  std::optional<vl::RtfMetafile> metafileAt(int position) const {
    return vl::rtfMetafileFromResource(document.resource(vl::RtfMetafileResource, vl::rtfMetafileUrl(pictureAt(position).name())));
  }

  static bool isBlank(const QImage &image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
      for (int x = 0; x < argb.width(); ++x)
        if (qAlpha(argb.pixel(x, y)) != 0) return false;
    return true;
  }

  QTextDocument document;
  const QImage picture = vl::test::testImage({4, 3});
  const QByteArray wmf = vl::test::tinyWmf(200, 100);
};

TEST_F(ReaderPictures, PngAtItsNaturalSize) {
  const auto result =
      vl::readRtf("{\\rtf1 a{\\pict\\pngblip\\picw4\\pich3 " + hexOf(vl::test::encodeImage(picture, "PNG")) + "}}",
                  &document);
  EXPECT_EQ(result.pictures, 1);
  EXPECT_EQ(result.blankPictures, 0);
  const QTextImageFormat format = pictureAt(1);
  ASSERT_TRUE(format.isValid());
  EXPECT_DOUBLE_EQ(format.width(), 4.0);
  EXPECT_DOUBLE_EQ(format.height(), 3.0);
  EXPECT_EQ(imageAt(1).convertToFormat(QImage::Format_ARGB32), picture);
}

TEST_F(ReaderPictures, GoalSizeAndScale) {
  const QByteArray png = hexOf(vl::test::encodeImage(picture, "PNG"));
  vl::readRtf("{\\rtf1{\\pict\\pngblip\\picwgoal300\\pichgoal150 " + png + "}"
              "{\\pict\\pngblip\\picscalex50\\picscaley200 " + png + "}}",
              &document);
  EXPECT_DOUBLE_EQ(pictureAt(0).width(), 20.0);
  EXPECT_DOUBLE_EQ(pictureAt(0).height(), 10.0);
  EXPECT_DOUBLE_EQ(pictureAt(1).width(), 2.0);
  EXPECT_DOUBLE_EQ(pictureAt(1).height(), 6.0);
}

TEST_F(ReaderPictures, JpegDibAndBinaryData) {
  const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
  const QByteArray jpeg = vl::test::encodeImage(opaque, "JPEG");
  const QByteArray dib = vl::test::encodeImage(opaque, "BMP").mid(14);
  const QByteArray png = vl::test::encodeImage(picture, "PNG");
  vl::readRtf("{\\rtf1{\\pict\\jpegblip " + hexOf(jpeg) + "}{\\pict\\dibitmap0 " + hexOf(dib) +
                  "}{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png + "}}",
              &document);
  EXPECT_EQ(imageAt(0).size(), QSize(4, 3));
  EXPECT_EQ(imageAt(1).convertToFormat(QImage::Format_RGB32), opaque);
  EXPECT_EQ(imageAt(2).convertToFormat(QImage::Format_ARGB32), picture);
}

TEST_F(ReaderPictures, MetafileWithoutRasterizerIsBlankAndKept) {
  const auto result = vl::readRtf(
      "{\\rtf1{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 " + hexOf(wmf) + "}}", &document);
  EXPECT_EQ(result.blankPictures, 1);
  EXPECT_DOUBLE_EQ(pictureAt(0).width(), 96.0);
  EXPECT_DOUBLE_EQ(pictureAt(0).height(), 48.0);
  EXPECT_TRUE(pictureAt(0).boolProperty(vl::RtfBlankPictureProperty));
  EXPECT_EQ(imageAt(0).size(), QSize(96, 48));
  EXPECT_TRUE(isBlank(imageAt(0)));
  const auto metafile = metafileAt(0);
  ASSERT_TRUE(metafile.has_value());
  EXPECT_EQ(metafile->kind, vl::RtfMetafileKind::Wmf);
  EXPECT_EQ(metafile->bytes, wmf);
  EXPECT_EQ(metafile->mappingMode, 8);
  EXPECT_EQ(metafile->extent, QSize(2540, 1270));
}

TEST_F(ReaderPictures, MetafileSizeFromItsExtent) {
  vl::readRtf("{\\rtf1{\\pict\\wmetafile8\\picw2540\\pich1270 " + hexOf(wmf) + "}}", &document);
  EXPECT_DOUBLE_EQ(pictureAt(0).width(), 96.0);
  EXPECT_DOUBLE_EQ(pictureAt(0).height(), 48.0);
}

TEST_F(ReaderPictures, RasterizerFromTheOptions) {
  vl::RtfReadOptions options;
  vl::RtfMetafile seen;
  QSize seenSize;
  options.metafileRasterizer = [&](const vl::RtfMetafile &m, QSize size) {
    seen = m;
    seenSize = size;
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
  };
  const auto result = vl::readRtf(
      "{\\rtf1{\\pict\\emfblip\\picw2540\\pich2540\\picwgoal720\\pichgoal720 " + hexOf(wmf) + "}}", &document, options);
  EXPECT_EQ(result.blankPictures, 0);
  EXPECT_EQ(seen.kind, vl::RtfMetafileKind::Emf);
  EXPECT_EQ(seen.bytes, wmf);
  EXPECT_EQ(seenSize, QSize(48, 48));
  EXPECT_EQ(imageAt(0).pixel(0, 0), QColor(Qt::red).rgb());
  EXPECT_FALSE(pictureAt(0).hasProperty(vl::RtfBlankPictureProperty));
}

TEST_F(ReaderPictures, RegisteredRasterizerAndFailingRasterizer) {
  int calls = 0;
  vl::setRtfMetafileRasterizer([&](const vl::RtfMetafile &, QSize size) {
    ++calls;
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    return image;
  });
  const QByteArray rtf = "{\\rtf1{\\pict\\wmetafile8\\picwgoal150\\pichgoal150 " + hexOf(wmf) + "}}";
  EXPECT_EQ(vl::readRtf(rtf, &document).blankPictures, 0);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(imageAt(0).pixel(0, 0), QColor(Qt::blue).rgb());
  vl::setRtfMetafileRasterizer([](const vl::RtfMetafile &, QSize) -> QImage { throw std::runtime_error("x"); });
  EXPECT_EQ(vl::readRtf(rtf, &document).blankPictures, 1);
  vl::setRtfMetafileRasterizer({});
  EXPECT_EQ(vl::readRtf(rtf, &document).blankPictures, 1);
  EXPECT_EQ(imageAt(0).size(), QSize(10, 10));
}

TEST_F(ReaderPictures, ShapePictureWithMetafileAlternative) {
  const QByteArray png = hexOf(vl::test::encodeImage(picture, "PNG"));
  const auto result = vl::readRtf("{\\rtf1{\\*\\shppict{\\pict\\pngblip " + png + "}}{\\nonshppict{\\pict\\wmetafile8 " +
                                      hexOf(wmf) + "}}x}",
                                  &document);
  EXPECT_EQ(result.pictures, 1);
  EXPECT_EQ(vl::test::blockTexts(document), u"\uFFFCx");
  EXPECT_EQ(imageAt(0).convertToFormat(QImage::Format_ARGB32), picture);
  ASSERT_TRUE(metafileAt(0).has_value());
  EXPECT_EQ(metafileAt(0)->bytes, wmf);
}

TEST_F(ReaderPictures, AlternativeImageReplacesABlankOne) {
  const QByteArray png = hexOf(vl::test::encodeImage(picture, "PNG"));
  const auto result = vl::readRtf("{\\rtf1{\\*\\shppict{\\pict\\emfblip " + hexOf(wmf) +
                                      "}}{\\nonshppict{\\pict\\pngblip " + png + "}}}",
                                  &document);
  EXPECT_EQ(result.pictures, 1);
  EXPECT_EQ(result.blankPictures, 0);
  EXPECT_EQ(imageAt(0).convertToFormat(QImage::Format_ARGB32), picture);
  EXPECT_FALSE(pictureAt(0).hasProperty(vl::RtfBlankPictureProperty));
  ASSERT_TRUE(metafileAt(0).has_value());
  EXPECT_EQ(metafileAt(0)->kind, vl::RtfMetafileKind::Emf);
}

TEST_F(ReaderPictures, NonShapePictureAloneIsRead) {
  const QByteArray png = hexOf(vl::test::encodeImage(picture, "PNG"));
  EXPECT_EQ(vl::readRtf("{\\rtf1 a{\\nonshppict{\\pict\\pngblip " + png + "}}}", &document).pictures, 1);
  EXPECT_EQ(imageAt(1).size(), QSize(4, 3));
}

TEST_F(ReaderPictures, UnreadablePicturesBecomeBlankAtTheirSize) {
  const auto result = vl::readRtf(
      "{\\rtf1{\\pict\\wbitmap0\\picw30\\pich20 00ff}{\\pict\\pngblip\\picw5\\pich6 0102030405}"
      "{\\pict\\wmetafile8\\picwgoal99999999\\pichgoal99999999 00}{\\pict 0}}",
      &document);
  EXPECT_EQ(result.pictures, 4);
  EXPECT_EQ(result.blankPictures, 4);
  EXPECT_DOUBLE_EQ(pictureAt(0).width(), 30.0);
  EXPECT_DOUBLE_EQ(pictureAt(1).height(), 6.0);
  EXPECT_DOUBLE_EQ(pictureAt(2).width(), 16384.0);
  EXPECT_LE(imageAt(2).width(), 4096);
  EXPECT_TRUE(isBlank(imageAt(1)));
}

TEST_F(ReaderPictures, HiddenTextBeforeAPicture) {
  const QByteArray png = hexOf(vl::test::encodeImage(picture, "PNG"));
  vl::readRtf("{\\rtf1{\\v oculto}{\\pict\\pngblip " + png + "}}", &document);
  EXPECT_EQ(pictureAt(0).stringProperty(vl::RtfHiddenTextProperty), "oculto");
}

}  // namespace

namespace {

TEST(ReaderPictureMemory, HugePicturesStayWithinABudget) {
  vl::test::ensureApplication();
  QByteArray rtf = "{\\rtf1 ";
  for (int i = 0; i < 300; ++i) rtf += "{\\pict\\wmetafile8\\picwgoal999999\\pichgoal999999 0100}";
  rtf += "}";
  qint64 drawnPixels = 0;
  vl::RtfReadOptions options;
  options.metafileRasterizer = [&](const vl::RtfMetafile &, QSize size) {
    drawnPixels += qint64{size.width()} * size.height();
    return QImage();  // cannot draw: blank stand-ins
  };
  QTextDocument document;
  EXPECT_EQ(vl::readRtf(rtf, &document, options).pictures, 300);
  qint64 bytes = 0;
  for (int i = 0; i < 300; ++i) {
    const QTextImageFormat format = vl::test::formatAt(document, i).toImageFormat();
    EXPECT_DOUBLE_EQ(format.width(), 16384.0);
    bytes += vl::test::resourceImage(document, format.name()).sizeInBytes();
  }
  EXPECT_LT(bytes, qint64{64} << 20);
  EXPECT_LT(drawnPixels, qint64{64} << 20);  // the rasterizer is not asked beyond the budget
}

}  // namespace
