// Helpers of the widget tests: what a window shows, and the modal boxes answered
// and recorded instead of shown.
#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Dialogs.h"

class QScrollBar;
class TBitmap;
class TComboBox;
class TWinControl;

namespace testing_support {

// What the window shows of its client area, as the user would see it, in RGB32; pixel 0, 0 is
// the client's top-left corner while the window is not scrolled.
QImage grabClient(const TWinControl& window);

// The colour of one pixel, without alpha.
QColor pixelAt(const QImage& image, int x, int y);

// Whether two colours differ by at most `tolerance` in every channel.
bool near(const QColor& a, const QColor& b, int tolerance);

// A packed bottom-up DIB of 24 bits: the 40-byte header, then the rows, as SetDIBits takes it.
std::vector<std::uint8_t> makeDib24(int width, int height, const std::function<QRgb(int x, int y)>& colourAt);

// Sizes the bitmap and fills it with the colours, through SetDIBits on its handle.
void fillBitmap(TBitmap& bitmap, int width, int height, const std::function<QRgb(int x, int y)>& colourAt);

// What the user sees of a drop-down list once it is opened: the rows it shows whole, whether it
// offers a scroll bar for the others, and whether it dropped down below its box. The list is
// closed again.
struct OpenedList {
  int rowsShown = 0;
  bool scrollBar = false;
  bool belowTheBox = false;
};
OpenedList openDropDown(TComboBox& combo);

// The window's vertical scroll bar, or null for a window that cannot scroll.
QScrollBar* verticalScrollBar(const TWinControl& window);
// Whether the window shows a scroll bar, of either direction, once the waiting events are handled.
bool showsScrollBar(const TWinControl& window);
// Scrolls the window to its foot as a user does, by clicking the scroll bar's groove below its
// slider until it goes no further; false when the window has no scroll bar to click.
bool scrollToTheFoot(const TWinControl& window);
// The same back up to its top, clicking the groove above the slider.
bool scrollToTheTop(const TWinControl& window);

// While it lives, every box is recorded and answered with `answer` instead of being shown.
class RecordedBoxes {
 public:
  explicit RecordedBoxes(int answer = IDOK);
  RecordedBoxes(const RecordedBoxes&) = delete;
  RecordedBoxes& operator=(const RecordedBoxes&) = delete;
  ~RecordedBoxes();

  const std::vector<platform::BoxRequest>& requests() const { return requests_; }

 private:
  std::vector<platform::BoxRequest> requests_;
  platform::BoxHandler previous_;
};

}  // namespace testing_support
