#pragma once
// Show/hide rules of a pane whose size is remembered while it is hidden: the navigation
// bar (height) and the left tree pane (width).
namespace vl {

class PaneToggle {
 public:
  PaneToggle(int size, int fallback) : m_size(size), m_fallback(fallback) {}

  int size() const { return m_size; }
  bool shown() const { return m_size > 0; }
  int remembered() const { return m_remembered > 0 ? m_remembered : m_fallback; }
  void setRemembered(int size) { m_remembered = size; }
  void setSize(int size) { m_size = size < 0 ? 0 : size; }  // the user moved a splitter
  // Hides the pane remembering its size, or restores the remembered size; returns the new size.
  int toggle() {
    if (shown()) {
      m_remembered = m_size;
      m_size = 0;
    } else {
      m_size = remembered();
    }
    return m_size;
  }
  // The size to store: the current one when shown, else the remembered one.
  int persistentSize() const { return shown() ? m_size : remembered(); }

 private:
  int m_size;
  int m_fallback;
  int m_remembered = 0;
};

// The navigation splitter accepts a drag only while the new height stays below 3 × 23.
constexpr int kNavBarHeight = 23;
constexpr bool navBarDragAccepted(int newHeight) { return newHeight < 3 * kNavBarHeight; }

}  // namespace vl
