#pragma once
// The splash window's progress line: a base text followed by 0..3 dots padded with blanks.
#include <QString>

namespace vl {

class ProgressDots {
 public:
  // Sets a new base text and restarts at no dots; returns the text to show at once.
  QString setBase(const QString &base) {
    m_base = base;
    m_count = 0;
    return tick();
  }
  // The text for the current dot count; the count then advances 0, 1, 2, 3, 0, ...
  QString tick() {
    const QString text = m_base + QString(m_count, u'.') + QString(3 - m_count, u' ');
    m_count = (m_count + 1) % 4;
    return text;
  }
  bool running() const { return !m_base.trimmed().isEmpty(); }
  const QString &base() const { return m_base; }

 private:
  QString m_base;
  int m_count = 0;
};

}  // namespace vl
