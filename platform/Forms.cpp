#include "platform/Forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/ControlSurface.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"

TApplication* Application = nullptr;

namespace {

// How long Update waits for the desktop to expose a window that was just shown.
constexpr int kExposeWaitMs = 1000;

}  // namespace

// --- FormWindow ---

namespace platform {

FormWindow::FormWindow(ControlSurface* surface) {
  setFrameShape(QFrame::NoFrame);
  // The window itself takes no part in the tab order; its controls do.
  setFocusPolicy(Qt::NoFocus);
  // The surface grows with the window and never shrinks below what its controls need.
  setWidgetResizable(true);
  setWidget(surface);
}

void FormWindow::closeEvent(QCloseEvent* event) {
  if (onClose) onClose();
  event->accept();
}

void FormWindow::moveEvent(QMoveEvent* event) {
  QScrollArea::moveEvent(event);
  if (onGeometryChanged) onGeometryChanged();
}

void FormWindow::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  if (onGeometryChanged) onGeometryChanged();
}

}  // namespace platform

// --- TForm ---

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  surface_ = new platform::ControlSurface(this);
  window_ = new platform::FormWindow(surface_);
  window_->onClose = [this] { Closed(); };
  window_->onGeometryChanged = [this] { SyncFromWidget(); };
  SetWidget(window_);
  icon_.OnChange = [this] { Widget()->setWindowIcon(icon_.Icon()); };
  // A form starts hidden, at the size of a form built in code.
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
  ApplyWindowFlags();
  ApplyGeometry();
}

TForm::~TForm() {
  window_->onClose = nullptr;
  window_->onGeometryChanged = nullptr;
  icon_.OnChange = nullptr;
  if (Application != nullptr && Application->mainForm_ == this) Application->mainForm_ = nullptr;
  // The owned controls go while the form is still whole.
  DestroyComponents();
}

int TForm::FrameLeft() const { return borderStyle_ == bsNone ? 0 : kFrameBorder; }

int TForm::FrameTop() const { return borderStyle_ == bsNone ? 0 : kFrameCaption; }

int TForm::FrameWidth() const { return borderStyle_ == bsNone ? 0 : 2 * kFrameBorder; }

int TForm::FrameHeight() const { return borderStyle_ == bsNone ? 0 : kFrameCaption + kFrameBorder; }

int TForm::ClientWidth() const { return std::max(0, Width() - FrameWidth()); }

int TForm::ClientHeight() const { return std::max(0, Height() - FrameHeight()); }

void TForm::SetClientWidth(int width) { SetWidth(std::max(0, width) + FrameWidth()); }

void TForm::SetClientHeight(int height) { SetHeight(std::max(0, height) + FrameHeight()); }

void TForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == borderStyle_) return;
  // The outer size stays, as when the desktop rebuilds a window with another frame.
  borderStyle_ = style;
  ApplyWindowFlags();
  ApplyGeometry();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == borderIcons_) return;
  borderIcons_ = icons;
  ApplyWindowFlags();
  ApplyGeometry();
}

void TForm::SetAutoScroll(bool autoScroll) {
  if (autoScroll == autoScroll_) return;
  autoScroll_ = autoScroll;
  const Qt::ScrollBarPolicy policy = autoScroll_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  window_->setHorizontalScrollBarPolicy(policy);
  window_->setVerticalScrollBarPolicy(policy);
}

void TForm::SetPosition(TPosition position) {
  if (position == position_) return;
  position_ = position;
  ApplyGeometry();
}

void TForm::Show() {
  if (!Visible()) {
    SetVisible(true);  // VisibleChanged shows and raises the window
  } else {
    ShowWindow();
  }
}

void TForm::Close() { Widget()->close(); }

void TForm::Update() {
  QWidget* widget = Widget();
  if (!widget->isVisible()) return;
  if (scrollRangeDirty_) UpdateScrollRange();
  // A window is painted once the desktop has exposed it; a window shown a moment ago may not be
  // yet, and without a running message loop nothing else would handle that. The wait handles
  // whatever else is queued as well, except the user's input.
  QElapsedTimer waited;
  waited.start();
  while (widget->windowHandle() != nullptr && !widget->windowHandle()->isExposed() &&
         waited.elapsed() < kExposeWaitMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
  }
  widget->repaint();
}

QWidget* TForm::ClientWidget() const { return surface_; }

void TForm::BoundsChanged() {
  if (!applyingGeometry_) ApplyGeometry();
}

void TForm::VisibleChanged() {
  if (Visible()) {
    ShowWindow();
  } else {
    Widget()->hide();
  }
}

void TForm::CaptionChanged() { Widget()->setWindowTitle(QString::fromStdString(Caption().ToUtf8())); }

void TForm::ColorChanged() { surface_->update(); }

void TForm::ControlPlaced() {
  if (scrollRangeDirty_) return;
  scrollRangeDirty_ = true;
  // A view that places hundreds of controls at once settles the range once, on the next turn of
  // the event loop (before the window paints), or when the window is shown.
  QMetaObject::invokeMethod(
      window_, [this] { UpdateScrollRange(); }, Qt::QueuedConnection);
}

void TForm::InvalidateClient(int left, int top, int width, int height) {
  // Only what the window shows: the scroll area repaints what scrolling brings into view, and the
  // region of a view's hundreds of changes below the foot costs more than painting what shows.
  const QRect shown(-surface_->x(), -surface_->y(), window_->viewport()->width(),
                    window_->viewport()->height());
  const QRect changed = QRect(left, top, width, height) & shown;
  if (!changed.isEmpty()) surface_->update(changed);
}

void TForm::UpdateScrollRange() {
  scrollRangeDirty_ = false;
  int width = 0;
  int height = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    const TControl* control = Controls(i);
    if (!control->Visible()) continue;
    width = std::max(width, control->Left() + control->Width());
    height = std::max(height, control->Top() + control->Height());
  }
  if (width == extentWidth_ && height == extentHeight_) return;
  extentWidth_ = width;
  extentHeight_ = height;
  surface_->setMinimumSize(width, height);
  // The scroll bars follow at once, not on a later turn of the event loop.
  QEvent layoutRequest(QEvent::LayoutRequest);
  QCoreApplication::sendEvent(window_, &layoutRequest);
}

void TForm::ApplyWindowFlags() {
  Qt::WindowFlags flags = Qt::Window;
  if (borderStyle_ == bsNone) {
    flags |= Qt::FramelessWindowHint;
  } else {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    // The buttons come with the system menu only, as on the desktop the program was made for.
    if ((borderIcons_ & biSystemMenu) != 0) {
      flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if ((borderIcons_ & biMinimize) != 0 && borderStyle_ != bsDialog) flags |= Qt::WindowMinimizeButtonHint;
      if ((borderIcons_ & biMaximize) != 0 && borderStyle_ != bsDialog) flags |= Qt::WindowMaximizeButtonHint;
    }
  }
  QWidget* widget = Widget();
  const bool shown = widget->isVisible();
  widget->setWindowFlags(flags);
  if (shown) widget->show();  // new flags hide a window
}

void TForm::ApplyGeometry() {
  QWidget* widget = Widget();
  applyingGeometry_ = true;
  const QSize client(ClientWidth(), ClientHeight());
  if (borderStyle_ == bsSingle || borderStyle_ == bsDialog) {
    widget->setFixedSize(client);
  } else {
    widget->setMinimumSize(0, 0);
    widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
  if (position_ == poDefault) {
    widget->resize(client);  // the desktop chooses where
  } else {
    widget->setGeometry(QRect(QPoint(Left() + FrameLeft(), Top() + FrameTop()), client));
  }
  applyingGeometry_ = false;
}

void TForm::SyncFromWidget() {
  QWidget* widget = Widget();
  if (applyingGeometry_ || !widget->isVisible()) return;
  const QRect client = widget->geometry();
  applyingGeometry_ = true;
  SetBounds(client.x() - FrameLeft(), client.y() - FrameTop(), client.width() + FrameWidth(),
            client.height() + FrameHeight());
  applyingGeometry_ = false;
}

void TForm::ShowWindow() {
  QWidget* widget = Widget();
  // A window that comes on screen does so with its scroll bars; one already there keeps them
  // until its controls have settled.
  if (!widget->isVisible() && scrollRangeDirty_) UpdateScrollRange();
  if (!widget->isVisible() && position_ == poScreenCenter) CentreOnScreen();
  widget->show();
  widget->raise();
  widget->activateWindow();
}

void TForm::CentreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  SetBounds(area.x() + (area.width() - Width()) / 2, area.y() + (area.height() - Height()) / 2, Width(),
            Height());
}

void TForm::Closed() {
  SetVisible(false);
  if (Application != nullptr && Application->MainForm() == this) Application->Terminate();
}

// --- TApplication ---

TApplication::TApplication() : TComponent(nullptr) {
  Application = this;
  platform::prepareDesktop();
}

TApplication::~TApplication() {
  DestroyComponents();
  if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {}

const AnsiString& TApplication::Title() const { return platform::applicationTitle(); }

void TApplication::SetTitle(const AnsiString& title) { platform::setApplicationTitle(title); }

void TApplication::Run() {
  if (mainForm_ == nullptr || terminated_) return;
  // The main window's closing ends the loop, not the last window's: the details window may
  // still be open.
  QApplication::setQuitOnLastWindowClosed(false);
  mainForm_->Show();
  if (terminated_) return;
  running_ = true;
  QApplication::exec();
  running_ = false;
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(); }

void TApplication::Terminate() {
  terminated_ = true;
  // Outside the loop a quit would linger and end the next modal box's loop at once.
  if (running_) QCoreApplication::quit();
}

void TApplication::ShowException(const Exception* exception) {
  platform::showExceptionBox(exception != nullptr ? exception->Message : AnsiString());
}

int TApplication::MessageBox(const char* text, const char* caption, unsigned flags) {
  platform::BoxRequest request;
  request.kind = platform::BoxKind::MessageBox;
  request.text = AnsiString(text);
  request.caption = AnsiString(caption);
  request.flags = flags;
  return platform::showBox(request);
}
