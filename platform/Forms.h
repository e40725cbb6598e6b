// Windows and the application object.
//
// TForm is a top-level window that paints its graphic controls and routes the mouse to them
// (Controls.h). Left, Top, Width and Height are the outer frame in screen pixels; ClientWidth and
// ClientHeight the inside. The frame is a fixed notional one (see kFrame*), so that sizes are the
// same on every desktop. Show is modeless and brings the window to the front.
//
// A form built in code is placed by the desktop: its widget is only ever sized, never moved, so
// that the window system sees no position chosen by the program. Position poScreenCenter and
// poDesigned place the window themselves.
//
// With AutoScroll (the default) the window shows scroll bars while its visible controls reach
// past its client area; scrolling moves the client area under the window, and the controls keep
// their Left and Top. The scroll bars follow the controls on the next turn of the event loop and
// whenever the window is shown.
//
// TApplication is the one application object, `Application`. Its construction sets up the
// desktop's look and language on the toolkit (Desktop.h). CreateForm stores the new form in
// the caller's pointer before the form's constructor runs and clears it again when the
// constructor throws; the first form so created is the main window, which Run shows and whose
// closing ends Run. The application owns the forms it creates.
#pragma once

#include <memory>
#include <new>

#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"

namespace platform {
class ControlSurface;
class FormWindow;
}  // namespace platform

using TBorderIcons = std::uint8_t;
constexpr TBorderIcons biSystemMenu = 0x01;
constexpr TBorderIcons biMinimize = 0x02;
constexpr TBorderIcons biMaximize = 0x04;
constexpr TBorderIcons biHelp = 0x08;

enum TPosition { poDesigned, poDefault, poScreenCenter };

// The notional frame of a bordered window: the side and bottom border and the caption bar.
constexpr int kFrameBorder = 4;
constexpr int kFrameCaption = 23;

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  int ClientWidth() const;
  int ClientHeight() const;
  void SetClientWidth(int width);
  void SetClientHeight(int height);

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position);

  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool autoScroll);

  TIcon* Icon() { return &icon_; }
  TCanvas* Canvas() { return &canvas_; }

  // Modeless: makes the window visible and brings it to the front.
  void Show();
  void Close();
  // Paints the window at once, without the message loop; a window just shown is first given up
  // to a second to be exposed by the desktop.
  void Update();

  QWidget* ClientWidget() const override;

 protected:
  void BoundsChanged() override;
  void VisibleChanged() override;
  void CaptionChanged() override;
  void ColorChanged() override;
  void ControlPlaced() override;
  void InvalidateClient(int left, int top, int width, int height) override;

 private:
  void ApplyWindowFlags();
  // Puts the widget where Left/Top/Width/Height say, the notional frame taken off.
  void ApplyGeometry();
  // Takes over a position or size that the user or the desktop gave the window.
  void SyncFromWidget();
  void ShowWindow();
  void CentreOnScreen();
  // Lets the client area grow to hold every visible control, and the scroll bars follow.
  void UpdateScrollRange();
  // The window was closed by the user, the desktop or Close.
  void Closed();
  int FrameLeft() const;
  int FrameTop() const;
  int FrameWidth() const;
  int FrameHeight() const;

  platform::FormWindow* window_ = nullptr;       // the control's widget, owned by TWinControl
  platform::ControlSurface* surface_ = nullptr;  // the client area, owned by the window
  int extentWidth_ = 0;                          // the client pixels that the visible controls reach
  int extentHeight_ = 0;
  bool scrollRangeDirty_ = false;  // a control was placed since the last UpdateScrollRange
  bool applyingGeometry_ = false;
  bool autoScroll_ = true;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = poDefault;
  TIcon icon_;
  TCanvas canvas_;
};

class TApplication : public TComponent {
 public:
  // Becomes `Application`; the forms it owns go with it.
  TApplication();
  ~TApplication() override;

  void Initialize();

  const AnsiString& Title() const;
  void SetTitle(const AnsiString& title);

  TForm* MainForm() const { return mainForm_; }

  template <class Form>
  void CreateForm(Form*& reference) {
    // The pointer names the form from before its constructor runs, as handlers called during
    // construction expect.
    void* memory = ::operator new(sizeof(Form));
    reference = static_cast<Form*>(memory);
    try {
      new (memory) Form(this);
    } catch (...) {
      reference = nullptr;
      ::operator delete(memory);
      throw;
    }
    if (mainForm_ == nullptr) mainForm_ = reference;
  }

  // Shows the main window and runs the message loop until it closes; returns at once when there
  // is no main window or Terminate came first.
  void Run();
  // Handles the events that are waiting, then returns.
  void ProcessMessages();
  // Ends Run: at once when it runs, else before it starts.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The exception box for the exception: its message, stop icon, the application title.
  void ShowException(const Exception* exception);
  // A message box with the flags' buttons and icon; returns IDOK, IDYES or IDNO.
  int MessageBox(const char* text, const char* caption, unsigned flags);

 private:
  friend class TForm;  // a main window deleted early stops being the main window

  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool running_ = false;  // inside Run's message loop
};

// The application object: the TApplication that the program creates (after the QApplication,
// before any other object of the framework) sets it, and its destructor clears it.
extern TApplication* Application;
