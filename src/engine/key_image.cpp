#include "engine/key_image.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "engine/collation.h"
#include "engine/cp1252.h"

namespace vl {

using namespace orv;

namespace {

const std::array<unsigned char, 256> kAccentTable = [] {
  std::array<unsigned char, 256> t{};
  for (unsigned i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  // cp1252: À..Å Ç È..Ë Ì..Ï Ò..Ö Ù..Ü and their lower-case forms.
  const unsigned char from[] = {0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5,
                                0xC7, 0xE7, 0xC8, 0xC9, 0xCA, 0xCB, 0xE8, 0xE9, 0xEA, 0xEB, 0xCC, 0xCD,
                                0xCE, 0xCF, 0xEC, 0xED, 0xEE, 0xEF, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xF2,
                                0xF3, 0xF4, 0xF5, 0xF6, 0xD9, 0xDA, 0xDB, 0xDC, 0xF9, 0xFA, 0xFB, 0xFC};
  const char to[] = "AAAAAAaaaaaaCcEEEEeeeeIIIIiiiiOOOOOoooooUUUUuuuu";
  for (std::size_t i = 0; i < sizeof from; ++i) t[from[i]] = static_cast<unsigned char>(to[i]);
  return t;
}();

std::size_t textLength(const std::uint8_t *p, std::size_t max) {
  const void *nul = std::memchr(p, 0, max);
  return nul ? static_cast<std::size_t>(static_cast<const std::uint8_t *>(nul) - p) : max;
}

int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

int compareBytes(const std::uint8_t *a, std::size_t la, const std::uint8_t *b, std::size_t lb) {
  const int r = std::memcmp(a, b, std::min(la, lb));
  if (r != 0) return sign(r);
  return la < lb ? -1 : la > lb ? 1 : 0;
}

template <typename T>
T load(const std::uint8_t *p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <typename T>
int compareValues(T a, T b) {
  return a < b ? -1 : b < a ? 1 : 0;  // unordered doubles compare equal
}

}  // namespace

unsigned char foldAccent(unsigned char c) { return kAccentTable[c]; }

void foldKeyText(std::uint8_t *slot, std::size_t size, std::uint8_t indexFlags) {
  if (indexFlags & kIndexAccentInsensitive)
    for (std::size_t i = 0; i < size && slot[i] != 0; ++i) slot[i] = kAccentTable[slot[i]];
  if (indexFlags & kIndexCaseInsensitive)
    for (std::size_t i = 0; i < size; ++i) slot[i] = cp1252Upper(slot[i]);
}

void buildKeyImage(const TOrvanto_iLow_Index &index, const TOrvanto_iLow_Fields &fields,
                   const std::uint8_t *record, std::uint8_t *key) {
  for (const auto &segment : index.segments) {
    const TOrvanto_iLow_Field &f = fields[segment.column];
    *key++ = isColumnNull(record, segment.column) ? 1 : 0;
    if (f.slotSize) std::memcpy(key, record + f.slotOffset, f.slotSize);
    const bool fold = (f.type == ctString && !(index.flags & kIndexLocale)) ||
                      (f.type == ctBytes && (segment.flags & kSegmentFold));
    if (fold) foldKeyText(key, f.slotSize, index.flags);
    key += f.slotSize;
  }
}

TOrvanto_Search_Spec makeSearchSpec(const TOrvanto_iLow_Index &index, const TOrvanto_iLow_Fields &fields,
                                    unsigned requestedSegments, std::uint32_t requestedPartial) {
  TOrvanto_Search_Spec spec;
  const unsigned total = static_cast<unsigned>(index.segments.size());
  spec.segments = requestedSegments != 0 && requestedSegments < total ? requestedSegments : total;
  if (requestedPartial != 0 && spec.segments > 0) {
    const TOrvanto_iLow_Field &f = fields[index.segments[spec.segments - 1].column];
    if (f.type == ctString || f.type == ctBytes) {
      spec.partial = true;
      spec.partialLength = std::min(requestedPartial, f.declaredSize);
    }
  }
  return spec;
}

int compareKeyImages(const TOrvanto_iLow_Index &index, const TOrvanto_iLow_Fields &fields,
                     const TOrvanto_Search_Spec &spec, const std::uint8_t *searchKey,
                     const std::uint8_t *recordKey, bool &prefix) {
  prefix = false;
  const unsigned n = std::min<unsigned>(spec.segments, static_cast<unsigned>(index.segments.size()));
  for (unsigned s = 0; s < n; ++s) {
    const TOrvanto_Index_Segment &segment = index.segments[s];
    const TOrvanto_iLow_Field &f = fields[segment.column];
    const std::uint8_t searchNull = *searchKey++;
    const std::uint8_t recordNull = *recordKey++;
    const std::uint8_t *a = searchKey;
    const std::uint8_t *b = recordKey;
    searchKey += f.slotSize;
    recordKey += f.slotSize;
    if (searchNull == 1 || recordNull == 1) {
      if (searchNull == recordNull) continue;
      return searchNull == 1 ? -1 : 1;
    }
    int r = 0;
    switch (f.columnClass) {
      case ColumnClass::Text:
      case ColumnClass::FixedText: {
        const bool locale = index.flags & kIndexLocale;
        const std::size_t la = textLength(a, f.slotSize);
        const std::size_t lb = textLength(b, f.slotSize);
        if (s + 1 == n && spec.partial) {
          const bool partialLocale = f.type == ctString ? locale : locale && (segment.flags & kSegmentFold);
          const std::size_t p = spec.partialLength;
          const std::size_t m = std::min(p, lb);
          const std::size_t ma = std::min(m, la);
          if (partialLocale) {
            r = KeyCollator::forIndex(index.localeId, index.flags)
                    .compare({reinterpret_cast<const char *>(a), ma}, {reinterpret_cast<const char *>(b), m});
          } else {
            r = compareBytes(a, ma, b, m);
          }
          if (r == 0 && p > lb) r = 1;
          if (r == 0 && p < lb) prefix = true;
        } else if (locale) {
          r = KeyCollator::forIndex(index.localeId, index.flags)
                  .compare({reinterpret_cast<const char *>(a), la}, {reinterpret_cast<const char *>(b), lb});
        } else {
          r = compareBytes(a, la, b, lb);
        }
        break;
      }
      case ColumnClass::Boolean: r = compareValues<unsigned>(a[0], b[0]); break;
      case ColumnClass::Integer: r = compareValues(load<std::int32_t>(a), load<std::int32_t>(b)); break;
      case ColumnClass::Float: r = compareValues(load<double>(a), load<double>(b)); break;
      case ColumnClass::DateTime:
        if (f.type == ctDateTime) r = compareValues(load<double>(a), load<double>(b));
        else r = compareValues(load<std::int32_t>(a), load<std::int32_t>(b));
        break;
      case ColumnClass::Blob:
      case ColumnClass::Invalid: r = 0; break;
    }
    if (r != 0) return r;
  }
  return 0;
}

unsigned char keyFirstCharacter(const TOrvanto_iLow_Index &index, const std::uint8_t *key) {
  if (index.segments.empty() || key[0] == 1) return 0;
  unsigned char c = key[1];
  if (index.flags & kIndexAccentInsensitive) c = foldAccent(c);
  if (index.flags & kIndexCaseInsensitive) c = cp1252Upper(c);
  return c;
}

bool keyHasSingleCharacter(const TOrvanto_iLow_Index &index, const TOrvanto_iLow_Fields &fields,
                           const std::uint8_t *key) {
  if (index.segments.empty()) return true;
  const TOrvanto_iLow_Field &f = fields[index.segments[0].column];
  return f.slotSize < 2 || key[2] == 0;
}

std::uint32_t keyLengthFor(const TOrvanto_iLow_Index &index, const TOrvanto_iLow_Fields &fields) {
  std::uint32_t length = static_cast<std::uint32_t>(index.segments.size());
  for (const auto &segment : index.segments) length += fields[segment.column].slotSize;
  return length;
}

}  // namespace vl
