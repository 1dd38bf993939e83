#pragma once
// Window services: counting main windows, taskbar flashing, opacity.
class QWidget;

namespace vl {

// The number of top-level windows of this program whose class name equals, ignoring case, that of
// `mainWindow`. Throws std::logic_error when mainWindow is null.
int RunningMainWindows(const QWidget *mainWindow);

// on: asks the window manager to flash the window's taskbar entry for about five blinks;
// off: ends the request. Does nothing without a window or where the platform cannot flash.
void FlashTaskbar(QWidget *window, bool on);

// percent 0-100: opacity percent * 255 / 100 (of 255); above 100: fully opaque. Does nothing
// where the platform has no window transparency.
void SetWindowOpacity(QWidget *window, int percent);
// The opacity SetWindowOpacity sets, as a fraction 0.0-1.0.
double opacityForPercent(int percent);

}  // namespace vl
