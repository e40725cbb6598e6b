// The Qt widget of a window that hosts graphic controls.
//
// It fills itself with the window's colour, paints the window's graphic controls in join order
// (its child widgets, the windowed controls, lie above them) and hands mouse moves and clicks to
// the window's routing, with mouse tracking on so that moves come without a button pressed.
#pragma once

#include <QWidget>
#include <functional>

class TWinControl;

namespace platform {

class ControlSurface : public QWidget {
 public:
  // The control must outlive the widget; it owns it.
  explicit ControlSurface(TWinControl* control, QWidget* parent = nullptr);

  // Called when the window is closed by the user or the desktop; the default accepts.
  std::function<void()> onClose;
  // Called after the widget was moved or resized, by the user or the desktop as well.
  std::function<void()> onGeometryChanged;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  TWinControl* control_;
};

}  // namespace platform
