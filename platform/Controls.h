// Controls: the framework's visual building blocks.
//
// TControl is anything placed in a window at Left/Top/Width/Height client pixels of its Parent.
// Windowed controls (TWinControl) each own one Qt widget; graphic controls (TGraphicControl) are
// no widgets: the window that is their parent paints them, in the order in which each first got
// that parent, beneath its windowed controls, and routes the mouse to the last-joined visible and
// enabled one under the pointer (else to itself).
//
// Ownership follows TComponent: the owner deletes the control. Deleting a control removes it from
// its parent; deleting a windowed parent first detaches the children it does not own.
//
// Setting a property from code never runs an event handler; only the user's own actions do.
#pragma once

#include <vector>

#include "platform/AnsiString.h"
#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/Handles.h"

class QWidget;
class QPainter;
class QRegion;
class QPoint;
class QMouseEvent;

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crHandPoint = -21;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A window's frame; a control's border is one of the first two.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
using TBorderStyle = TFormBorderStyle;

// The bevel that a control draws around itself, inside its bounds.
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };

class TWinControl;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  // Joins the parent's controls at the end the first time; setting the same parent again
  // keeps the control's place in the paint and mouse order.
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
  virtual void SetBounds(int left, int top, int width, int height);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const AnsiString& Caption() const { return caption_; }
  void SetCaption(const AnsiString& caption);

  // With ParentColor the control shows its parent's colour; setting Color clears it.
  TColor Color() const;
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool parentColor);
  TFont* Font() { return &font_; }
  const TFont* Font() const { return &font_; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);

  // Whether the control and every parent up to its window are visible.
  bool Showing() const;

  TNotifyEvent OnClick;
  TMouseMoveEvent OnMouseMove;

 protected:
  // Hooks for the concrete controls; each runs after the stored value changed.
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void CaptionChanged() {}
  virtual void ColorChanged() {}
  virtual void FontChanged() {}
  virtual void CursorChanged() {}
  virtual void ParentChanged() {}

  // Asks the window that shows this control to repaint it.
  void Invalidate();

 private:
  friend class TWinControl;

  TWinControl* parent_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  AnsiString caption_;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  TFont font_;
  TCursor cursor_ = crDefault;
};

// A control that the parent window paints. Paint draws in the control's own coordinates, clipped
// to its rectangle.
class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* owner) : TControl(owner) {}

  virtual void Paint(QPainter& painter) = 0;

 protected:
  void BoundsChanged() override { Invalidate(); }
  void VisibleChanged() override { Invalidate(); }
  void EnabledChanged() override { Invalidate(); }
  void CaptionChanged() override { Invalidate(); }
  void ColorChanged() override { Invalidate(); }
  void FontChanged() override { Invalidate(); }
};

// A control with its own Qt widget, which it owns.
class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The child controls in the order in which they joined.
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }

  void SetFocus();
  bool Focused() const;
  // The control's place in its parent's tab order, from 0: Tab goes from each windowed control
  // to the next. A control joins at the end; -1 without a parent.
  int TabOrder() const;
  void SetTabOrder(int order);
  HWND Handle() const { return reinterpret_cast<HWND>(widget_); }

  // The control's widget, and the widget that holds its children (the same for most controls).
  QWidget* Widget() const { return widget_; }
  virtual QWidget* ClientWidget() const { return widget_; }

  // Paints the visible graphic children that reach into `area` (client pixels) in join order;
  // used by the widget's paint event, which paints no more than what was invalidated.
  void PaintGraphicControls(QPainter& painter, const QRegion& area);
  // The last-joined visible and enabled graphic child containing the client point, or null.
  TGraphicControl* GraphicControlAt(const QPoint& point) const;
  // Routes a mouse move or click at a client point to that child, else to this control.
  void RouteMouseMove(const QPoint& point, TShiftState shift);
  void RouteMousePress(const QPoint& point);
  void RouteMouseRelease(const QPoint& point);

 protected:
  // The concrete control creates its widget and hands it over once, in its constructor.
  void SetWidget(QWidget* widget);

  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void FontChanged() override;
  void CursorChanged() override;
  void ParentChanged() override;
  // A child joined or left, moved, resized, showed or hid.
  virtual void ControlPlaced() {}
  // Asks for a repaint of client pixels, where a child was or is.
  virtual void InvalidateClient(int left, int top, int width, int height);

 private:
  friend class TControl;
  void AddControl(TControl* control);
  void RemoveControl(TControl* control);

  QWidget* widget_ = nullptr;
  int ownCursor_ = -1;  // the shape of the widget's own cursor, -1 for none
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabOrder_;  // the windowed children, in their tab order
  TControl* pressed_ = nullptr;         // the control a mouse press started on
};

namespace platform {

// Runs one event handler the way the message loop does: a framework exception or any other
// escaping exception is shown in the application's exception box and goes no further.
void dispatchEvent(const std::function<void()>& handler);

// Shift state of a Qt mouse event.
TShiftState shiftStateOf(const QMouseEvent& event);

}  // namespace platform
