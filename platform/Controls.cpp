#include "platform/Controls.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QWidget>
#include <algorithm>

#include "platform/ControlSurface.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

namespace {

Qt::CursorShape toQtCursor(TCursor cursor) {
  switch (cursor) {
    case crHandPoint:
      return Qt::PointingHandCursor;
    case crIBeam:
      return Qt::IBeamCursor;
    case crCross:
      return Qt::CrossCursor;
    case crHourGlass:
      return Qt::WaitCursor;
    default:
      return Qt::ArrowCursor;
  }
}

// crDefault gives the widget back its own cursor (the I-beam of an edit box, for instance);
// ownCursor is that cursor's shape, or -1 when the widget has none of its own.
void applyCursor(QWidget* widget, TCursor cursor, int ownCursor) {
  if (cursor != crDefault) {
    widget->setCursor(toQtCursor(cursor));
  } else if (ownCursor >= 0) {
    widget->setCursor(static_cast<Qt::CursorShape>(ownCursor));
  } else {
    widget->unsetCursor();
  }
}

}  // namespace

// --- TControl ---

TControl::TControl(TComponent* owner) : TComponent(owner) {
  font_.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  font_.OnChange = nullptr;
  if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_ != nullptr) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_ != nullptr) parent_->AddControl(this);
  ParentChanged();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();  // the area it leaves
  left_ = left;
  top_ = top;
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  BoundsChanged();
  if (parent_ != nullptr) parent_->ControlPlaced();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
  if (parent_ != nullptr) parent_->ControlPlaced();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

void TControl::SetCaption(const AnsiString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  CaptionChanged();
}

TColor TControl::Color() const { return parentColor_ && parent_ != nullptr ? parent_->Color() : color_; }

void TControl::SetColor(TColor color) {
  if (color == color_ && !parentColor_) return;
  color_ = color;
  parentColor_ = false;
  ColorChanged();
}

void TControl::SetParentColor(bool parentColor) {
  if (parentColor == parentColor_) return;
  parentColor_ = parentColor;
  ColorChanged();
}

void TControl::SetCursor(TCursor cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  CursorChanged();
}

bool TControl::Showing() const {
  if (!visible_) return false;
  return parent_ == nullptr || parent_->Showing();
}

void TControl::Invalidate() {
  if (parent_ != nullptr) parent_->InvalidateClient(left_, top_, width_, height_);
}

// --- TWinControl ---

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
  // The style and Qt's texts are set before the first widget is made.
  platform::prepareDesktop();
}

TWinControl::~TWinControl() {
  // Owned children go while this widget still exists; the others are detached, so that the
  // widget's destruction cannot take their widgets with it.
  DestroyComponents();
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    child->SetParent(nullptr);
  }
  delete widget_;
  widget_ = nullptr;
}

void TWinControl::SetWidget(QWidget* widget) {
  widget_ = widget;
  // Only the size: a position given to a widget that is still a window of its own would mark it
  // as placed by the program. It gets its place with its parent.
  widget_->resize(Width(), Height());
  widget_->setEnabled(Enabled());
  ownCursor_ = widget_->testAttribute(Qt::WA_SetCursor) ? static_cast<int>(widget_->cursor().shape()) : -1;
  applyCursor(widget_, Cursor(), ownCursor_);
  // The control's own font and text colour, so that nothing comes from the parent widget.
  FontChanged();
}

void TWinControl::InvalidateClient(int left, int top, int width, int height) {
  if (QWidget* surface = ClientWidget()) surface->update(left, top, width, height);
}

void TWinControl::SetFocus() {
  if (widget_ != nullptr) widget_->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const { return widget_ != nullptr && widget_->hasFocus(); }

int TWinControl::TabOrder() const {
  if (Parent() == nullptr) return -1;
  const std::vector<TWinControl*>& order = Parent()->tabOrder_;
  return static_cast<int>(std::find(order.begin(), order.end(), this) - order.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (Parent() == nullptr) return;
  std::vector<TWinControl*>& list = Parent()->tabOrder_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  const auto place = static_cast<std::size_t>(std::clamp(order, 0, static_cast<int>(list.size())));
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(place), this);
  for (std::size_t i = 1; i < list.size(); ++i) QWidget::setTabOrder(list[i - 1]->widget_, list[i]->widget_);
}

void TWinControl::BoundsChanged() {
  if (widget_ == nullptr) return;
  if (Parent() != nullptr) {
    widget_->setGeometry(Left(), Top(), Width(), Height());
  } else {
    widget_->resize(Width(), Height());  // placed with its parent, see SetWidget
  }
}

void TWinControl::VisibleChanged() {
  // A widget without a parent would become a window of its own; it shows once it has one.
  if (widget_ != nullptr && Parent() != nullptr) widget_->setVisible(Visible());
}

void TWinControl::EnabledChanged() {
  if (widget_ != nullptr) widget_->setEnabled(Enabled());
}

void TWinControl::FontChanged() {
  if (widget_ == nullptr) return;
  widget_->setFont(platform::toQFont(*Font()));
  // The font colour is the text of an enabled control only: a disabled one keeps the greyed
  // text of the style, which it takes from its parent, as any disabled control of the desktop.
  QPalette palette = widget_->palette();
  const QColor color = platform::toQColor(Font()->Color());
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::WindowText, color);
    palette.setColor(group, QPalette::Text, color);
    palette.setColor(group, QPalette::ButtonText, color);
  }
  widget_->setPalette(palette);
}

void TWinControl::CursorChanged() {
  if (widget_ != nullptr) applyCursor(widget_, Cursor(), ownCursor_);
}

void TWinControl::ParentChanged() {
  if (widget_ == nullptr) return;
  if (Parent() != nullptr) {
    widget_->setParent(Parent()->ClientWidget());
    widget_->setGeometry(Left(), Top(), Width(), Height());
    widget_->setVisible(Visible());
  } else {
    widget_->hide();
    widget_->setParent(nullptr);
  }
}

void TWinControl::AddControl(TControl* control) {
  controls_.push_back(control);
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) tabOrder_.push_back(windowed);
  control->Invalidate();
  ControlPlaced();
}

void TWinControl::RemoveControl(TControl* control) {
  control->Invalidate();
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  tabOrder_.erase(std::remove(tabOrder_.begin(), tabOrder_.end(), control), tabOrder_.end());
  if (pressed_ == control) pressed_ = nullptr;
  ControlPlaced();
}

void TWinControl::PaintGraphicControls(QPainter& painter, const QRegion& area) {
  for (TControl* control : controls_) {
    auto* graphic = dynamic_cast<TGraphicControl*>(control);
    if (graphic == nullptr || !graphic->Visible() || graphic->Width() == 0 || graphic->Height() == 0)
      continue;
    // A control outside the area would be clipped away whole; laying out its text or picture
    // for nothing made every small repaint cost a full one.
    if (!area.intersects(QRect(graphic->Left(), graphic->Top(), graphic->Width(), graphic->Height())))
      continue;
    painter.save();
    painter.translate(graphic->Left(), graphic->Top());
    painter.setClipRect(0, 0, graphic->Width(), graphic->Height());
    graphic->Paint(painter);
    painter.restore();
  }
}

TGraphicControl* TWinControl::GraphicControlAt(const QPoint& point) const {
  // The place first, the kind of control last: a move looks through every control of the window.
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    const TControl* control = *it;
    if (!control->Visible() || !control->Enabled()) continue;
    if (!QRect(control->Left(), control->Top(), control->Width(), control->Height()).contains(point))
      continue;
    if (auto* graphic = dynamic_cast<TGraphicControl*>(*it)) return graphic;
  }
  return nullptr;
}

void TWinControl::RouteMouseMove(const QPoint& point, TShiftState shift) {
  TControl* target = GraphicControlAt(point);
  if (target == nullptr) target = this;
  if (QWidget* surface = ClientWidget()) applyCursor(surface, target->Cursor(), -1);
  // The handler may delete the control, so the closure and the coordinates are taken first.
  const TMouseMoveEvent handler = target->OnMouseMove;
  const int x = target == this ? point.x() : point.x() - target->Left();
  const int y = target == this ? point.y() : point.y() - target->Top();
  platform::dispatchEvent([&] { handler(target, shift, x, y); });
}

void TWinControl::RouteMousePress(const QPoint& point) {
  TControl* target = GraphicControlAt(point);
  pressed_ = target != nullptr ? target : this;
}

void TWinControl::RouteMouseRelease(const QPoint& point) {
  TControl* target = GraphicControlAt(point);
  if (target == nullptr) target = this;
  const bool clicked = target == pressed_;
  pressed_ = nullptr;
  if (!clicked) return;
  const TNotifyEvent handler = target->OnClick;
  platform::dispatchEvent([&] { handler(target); });
}

// --- ControlSurface ---

namespace platform {

ControlSurface::ControlSurface(TWinControl* control, QWidget* parent) : QWidget(parent), control_(control) {
  setMouseTracking(true);
  setAutoFillBackground(false);
}

void ControlSurface::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(rect(), toQColor(control_->Color()));
  control_->PaintGraphicControls(painter, event->region());
}

void ControlSurface::mouseMoveEvent(QMouseEvent* event) {
  control_->RouteMouseMove(event->position().toPoint(), shiftStateOf(*event));
}

void ControlSurface::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) control_->RouteMousePress(event->position().toPoint());
}

void ControlSurface::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) control_->RouteMouseRelease(event->position().toPoint());
}

void dispatchEvent(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const Exception& exception) {
    showExceptionBox(exception.Message);
  } catch (const std::exception& exception) {
    showExceptionBox(AnsiString(exception.what()));
  } catch (...) {
    showExceptionBox(AnsiString());
  }
}

TShiftState shiftStateOf(const QMouseEvent& event) {
  TShiftState shift = 0;
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if (modifiers & Qt::ShiftModifier) shift |= ssShift;
  if (modifiers & Qt::AltModifier) shift |= ssAlt;
  if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
  const Qt::MouseButtons buttons = event.buttons();
  if (buttons & Qt::LeftButton) shift |= ssLeft;
  if (buttons & Qt::RightButton) shift |= ssRight;
  if (buttons & Qt::MiddleButton) shift |= ssMiddle;
  return shift;
}

}  // namespace platform
