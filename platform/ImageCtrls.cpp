#include "platform/ImageCtrls.h"

#include <QPainter>
#include <algorithm>

// --- TImage ---

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  picture_.OnChange = [this] {
    // The image's transparency belongs to whatever graphic the picture holds now.
    if (TGraphic* graphic = picture_.Graphic()) graphic->SetTransparent(transparent_);
    Invalidate();
  };
}

TImage::~TImage() { picture_.OnChange = nullptr; }

void TImage::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  if (TGraphic* graphic = picture_.Graphic()) graphic->SetTransparent(transparent_);
  Invalidate();
}

void TImage::Paint(QPainter& painter) {
  // At its own size from the top-left corner; the parent has clipped to the control's rectangle.
  const TGraphic* graphic = picture_.Graphic();
  if (graphic != nullptr && !graphic->Empty()) graphic->Draw(painter, 0, 0);
}

// --- TShape ---

namespace {

QPen toQPen(const TPen& pen) {
  if (pen.Style() == psClear || pen.Width() <= 0) return QPen(Qt::NoPen);
  QPen result(platform::toQColor(pen.Color()));
  result.setWidth(pen.Width());
  result.setJoinStyle(Qt::MiterJoin);
  if (pen.Style() == psDash) result.setStyle(Qt::DashLine);
  if (pen.Style() == psDot) result.setStyle(Qt::DotLine);
  return result;
}

QBrush toQBrush(const TBrush& brush) {
  if (brush.Style() == bsClear) return QBrush(Qt::NoBrush);
  return QBrush(platform::toQColor(brush.Color()));
}

}  // namespace

TShape::TShape(TComponent* owner) : TGraphicControl(owner) {
  pen_.OnChange = [this] { Invalidate(); };
  brush_.OnChange = [this] { Invalidate(); };
}

void TShape::SetShape(TShapeType shape) {
  if (shape == shape_) return;
  shape_ = shape;
  Invalidate();
}

void TShape::Paint(QPainter& painter) {
  // The outline's box: inset by half the pen, so that the whole pen lies inside the control; the
  // square kinds use the smaller side, centred.
  const int penWidth = pen_.Style() == psClear ? 0 : pen_.Width();
  int x = penWidth / 2;
  int y = x;
  int w = Width() - penWidth + 1;
  int h = Height() - penWidth + 1;
  if (penWidth == 0) {
    --w;
    --h;
  }
  const int side = std::min(w, h);
  if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
    x += (w - side) / 2;
    y += (h - side) / 2;
    w = side;
    h = side;
  }
  if (w <= 0 || h <= 0) return;

  painter.setPen(toQPen(pen_));
  painter.setBrush(toQBrush(brush_));
  // Qt's outline of QRect(x, y, w - 1, h - 1) covers the pixels x to x + w - 1, like the
  // desktop's rectangle from (x, y) to (x + w, y + h).
  const QRect box(x, y, w - 1, h - 1);
  switch (shape_) {
    case stRectangle:
    case stSquare:
      painter.drawRect(box);
      break;
    case stRoundRect:
    case stRoundSquare: {
      const int radius = std::min(w, h) / 8;
      painter.drawRoundedRect(box, radius, radius);
      break;
    }
    case stEllipse:
    case stCircle:
      painter.drawEllipse(box);
      break;
  }
}

// --- TBevel ---

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {}

void TBevel::SetShape(TBevelShape shape) {
  if (shape == shape_) return;
  shape_ = shape;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle style) {
  if (style == style_) return;
  style_ = style;
  Invalidate();
}

namespace {

// The top and left edges in the first colour, the bottom and right edges in the second.
void bevelRect(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight) {
  painter.fillRect(rect.left(), rect.top(), rect.width(), 1, topLeft);
  painter.fillRect(rect.left(), rect.top(), 1, rect.height(), topLeft);
  painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, bottomRight);
  painter.fillRect(rect.right(), rect.top(), 1, rect.height(), bottomRight);
}

}  // namespace

void TBevel::Paint(QPainter& painter) {
  // A lowered bevel is a dark line with a light one below or right of it; a raised one the reverse.
  const QColor shadow = platform::toQColor(clBtnShadow);
  const QColor highlight = platform::toQColor(clBtnHighlight);
  const QColor first = style_ == bsLowered ? shadow : highlight;
  const QColor second = style_ == bsLowered ? highlight : shadow;
  const int w = Width();
  const int h = Height();
  switch (shape_) {
    case bsBox:
      bevelRect(painter, QRect(0, 0, w, h), first, second);
      break;
    case bsFrame:
      bevelRect(painter, QRect(1, 1, w - 1, h - 1), second, second);
      bevelRect(painter, QRect(0, 0, w - 1, h - 1), first, first);
      break;
    case bsTopLine:
      painter.fillRect(0, 0, w, 1, first);
      painter.fillRect(0, 1, w, 1, second);
      break;
    case bsBottomLine:
      painter.fillRect(0, h - 2, w, 1, first);
      painter.fillRect(0, h - 1, w, 1, second);
      break;
    case bsLeftLine:
      painter.fillRect(0, 0, 1, h, first);
      painter.fillRect(1, 0, 1, h, second);
      break;
    case bsRightLine:
      painter.fillRect(w - 2, 0, 1, h, first);
      painter.fillRect(w - 1, 0, 1, h, second);
      break;
    case bsSpacer:
      break;
  }
}
