#pragma once
// Bounds-checked little-endian reads over the bytes of a metafile. Reads past the end yield zero.
#include <QByteArrayView>
#include <cstdint>
#include <cstring>

namespace vl::mf {

class Bytes {
 public:
  Bytes() = default;
  explicit Bytes(QByteArrayView data) : data_(data) {}

  qsizetype size() const { return data_.size(); }
  bool has(qint64 offset, qint64 length) const {
    return offset >= 0 && length >= 0 && offset <= data_.size() && length <= data_.size() - offset;
  }
  const uchar *at(qint64 offset) const { return reinterpret_cast<const uchar *>(data_.data()) + offset; }
  QByteArrayView view(qint64 offset, qint64 length) const {
    return has(offset, length) ? data_.sliced(offset, length) : QByteArrayView();
  }

  quint8 u8(qint64 o) const { return has(o, 1) ? at(o)[0] : 0; }
  quint16 u16(qint64 o) const { return has(o, 2) ? quint16(at(o)[0] | (at(o)[1] << 8)) : 0; }
  qint16 i16(qint64 o) const { return qint16(u16(o)); }
  quint32 u32(qint64 o) const {
    if (!has(o, 4)) return 0;
    const uchar *p = at(o);
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
  }
  qint32 i32(qint64 o) const { return qint32(u32(o)); }
  float f32(qint64 o) const {
    const quint32 bits = u32(o);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }

 private:
  QByteArrayView data_;
};

}  // namespace vl::mf
