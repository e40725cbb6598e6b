#include "common/WidgetTesting.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QCoreApplication>
#include <QPixmap>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <cstring>

#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/StdCtrls.h"
#include "platform/WinApi.h"

namespace testing_support {

QImage grabClient(const TWinControl& window) {
  // A window that scrolls holds a client larger than what it shows, as large as the farthest
  // control: only the part inside the window is on screen, and a grab of the whole could be huge.
  QWidget* client = window.ClientWidget();
  QRect shown = client->rect();
  if (const QWidget* frame = client->parentWidget()) shown &= QRect(-client->pos(), frame->size());
  return client->grab(shown).toImage().convertToFormat(QImage::Format_RGB32);
}

QColor pixelAt(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

bool near(const QColor& a, const QColor& b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

std::vector<std::uint8_t> makeDib24(int width, int height,
                                    const std::function<QRgb(int x, int y)>& colourAt) {
  const std::size_t stride = ((static_cast<std::size_t>(width) * 24 + 31) >> 5) << 2;
  std::vector<std::uint8_t> block(sizeof(BITMAPINFOHEADER) + stride * static_cast<std::size_t>(height));
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  std::memcpy(block.data(), &header, sizeof header);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = block.data() + sizeof header + stride * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const QRgb colour = colourAt(x, y);
      row[3 * x] = static_cast<std::uint8_t>(qBlue(colour));
      row[3 * x + 1] = static_cast<std::uint8_t>(qGreen(colour));
      row[3 * x + 2] = static_cast<std::uint8_t>(qRed(colour));
    }
  }
  return block;
}

void fillBitmap(TBitmap& bitmap, int width, int height, const std::function<QRgb(int x, int y)>& colourAt) {
  bitmap.SetWidth(width);
  bitmap.SetHeight(height);
  const std::vector<std::uint8_t> block = makeDib24(width, height, colourAt);
  TCanvas canvas;
  SetDIBits(canvas.Handle(), bitmap.Handle(), 0, static_cast<UINT>(height),
            block.data() + sizeof(BITMAPINFOHEADER), reinterpret_cast<const BITMAPINFO*>(block.data()),
            DIB_RGB_COLORS);
}

OpenedList openDropDown(TComboBox& combo) {
  QComboBox* widget = combo.ComboWidget();
  widget->showPopup();
  QCoreApplication::processEvents();
  QAbstractItemView* view = widget->view();
  OpenedList opened;
  const QRect shown = view->viewport()->rect();
  for (int row = 0; row < view->model()->rowCount(); ++row) {
    // Whole from top to bottom; an entry wider than the list is cut at its side, as it is shown.
    const QRect entry = view->visualRect(view->model()->index(row, 0));
    if (entry.top() >= shown.top() && entry.bottom() <= shown.bottom()) ++opened.rowsShown;
  }
  opened.scrollBar = view->verticalScrollBar()->isVisible();
  const int boxFoot = widget->mapToGlobal(QPoint(0, widget->height())).y();
  opened.belowTheBox = view->mapToGlobal(QPoint(0, 0)).y() >= boxFoot;
  widget->hidePopup();
  return opened;
}

QScrollBar* verticalScrollBar(const TWinControl& window) {
  auto* area = qobject_cast<QAbstractScrollArea*>(window.Widget());
  return area != nullptr ? area->verticalScrollBar() : nullptr;
}

bool showsScrollBar(const TWinControl& window) {
  QCoreApplication::processEvents();
  auto* area = qobject_cast<QAbstractScrollArea*>(window.Widget());
  return area != nullptr &&
         (area->verticalScrollBar()->isVisible() || area->horizontalScrollBar()->isVisible());
}

namespace {

// Clicks the vertical scroll bar's groove next to the arrow at its foot or its top until the bar
// goes no further.
bool scrollAllTheWay(const TWinControl& window, bool toTheFoot) {
  QCoreApplication::processEvents();
  QScrollBar* bar = verticalScrollBar(window);
  if (bar == nullptr || !bar->isVisible()) return false;
  // Just inside the arrow button, which is as tall as the bar is wide.
  const QPoint groove(bar->width() / 2, toTheFoot ? bar->height() - bar->width() - 2 : bar->width() + 2);
  const int end = toTheFoot ? bar->maximum() : bar->minimum();
  for (int click = 0; click < 100 && bar->value() != end; ++click) {
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, groove);
  }
  return bar->value() == end;
}

}  // namespace

bool scrollToTheFoot(const TWinControl& window) { return scrollAllTheWay(window, true); }

bool scrollToTheTop(const TWinControl& window) { return scrollAllTheWay(window, false); }

RecordedBoxes::RecordedBoxes(int answer) {
  previous_ = platform::setBoxHandler([this, answer](const platform::BoxRequest& request) {
    requests_.push_back(request);
    return answer;
  });
}

RecordedBoxes::~RecordedBoxes() { platform::setBoxHandler(previous_); }

}  // namespace testing_support
