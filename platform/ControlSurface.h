// The Qt widgets of a window that hosts graphic controls.
//
// ControlSurface fills itself with the window's colour, paints the window's graphic controls in
// join order (its child widgets, the windowed controls, lie above them) and hands mouse moves and
// clicks to the window's routing, with mouse tracking on so that moves come without a button
// pressed. Its coordinates are the window's client pixels.
//
// FormWindow is a form's top-level window: a scroll area whose content is the form's surface, so
// that the window scrolls when its controls reach past it. Scrolling moves the surface under the
// window, and the surface's own coordinates stay the client pixels that the controls are placed
// in: painting and the mouse need no offset of their own.
#pragma once

#include <QScrollArea>
#include <QWidget>
#include <functional>

class TWinControl;

namespace platform {

class ControlSurface : public QWidget {
 public:
  // The control must outlive the widget; it owns it.
  explicit ControlSurface(TWinControl* control, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TWinControl* control_;
};

class FormWindow : public QScrollArea {
 public:
  // Takes the surface as its content, which it owns.
  explicit FormWindow(ControlSurface* surface);

  // Called when the window is closed by the user or the desktop; the default accepts.
  std::function<void()> onClose;
  // Called after the window was moved or resized, by the user or the desktop as well.
  std::function<void()> onGeometryChanged;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
};

}  // namespace platform
