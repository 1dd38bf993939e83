#pragma once
// The two picture lists that grow in step while topics are loaded: tree pictures (20×16)
// and title-bar pictures (24×24), plus the title bar's state pictures.
#include <QByteArray>
#include <QList>
#include <QPixmap>

namespace vl {

class PictureLists {
 public:
  PictureLists();  // the default tree pictures and the initial title pictures

  int contentsCount() const { return static_cast<int>(m_contents.size()); }
  int titleCount() const { return static_cast<int>(m_titles.size()); }
  QPixmap contentsPicture(int index) const;
  // The title picture that belongs to a tree picture index; null when there is none.
  QPixmap titlePictureFor(int imageIndex) const;
  QPixmap statePicture(int index) const;  // 0 read, 1 favorites, 2 both
  QPixmap commentPicture() const { return m_comment; }

  // Adds a topic's own pictures (bitmap file streams) and returns its tree picture index,
  // or -1 when either picture is missing or unreadable.
  int addTopicPictures(const QByteArray &treeBitmap, const QByteArray &titleBitmap);
  // Drops the pictures added after the given counts (clean-up of a failed load).
  void truncate(int contentsCount, int titleCount);

  // A bitmap file stream as a picture whose transparent colour is its bottom-left pixel.
  static QPixmap transparentBitmap(const QByteArray &bitmap);

 private:
  QList<QPixmap> m_contents;
  QList<QPixmap> m_titles;
  QList<QPixmap> m_states;
  QPixmap m_comment;
  int m_offset = 0;  // initial contents count − initial title count
};

}  // namespace vl
