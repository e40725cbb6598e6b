#include "platform/support/widget_testing.h"

#include <QPixmap>
#include <QWidget>
#include <cstdlib>

#include "platform/Controls.h"

namespace testing_support {

QImage grabClient(const TWinControl& window) {
  return window.ClientWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor pixelAt(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

bool near(const QColor& a, const QColor& b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

RecordedBoxes::RecordedBoxes(int answer) {
  previous_ = platform::setBoxHandler([this, answer](const platform::BoxRequest& request) {
    requests_.push_back(request);
    return answer;
  });
}

RecordedBoxes::~RecordedBoxes() { platform::setBoxHandler(previous_); }

}  // namespace testing_support
