// The look and the language of the desktop the framework's programs were made for, set up once on
// the toolkit before the first window is made.
//
// The style is the desktop's own Qt style under a proxy that gives it the framework's metrics
// and habits where the designed layouts depend on them: a combo box's list drops down below the
// box with its DropDownCount rows, its text has the room of a box with a 2-pixel edge and a
// drop-down button of about 17 pixels, a window's scroll bar is 17 pixels thick, and a list's
// column caption too long for its column is cut with an ellipsis. Qt's own texts (the buttons of
// the boxes, the edit box's context menu) come from the translations that Qt ships, in the
// desktop's language; a language without a translation keeps English.
//
// TApplication's constructor and every windowed control's creation call prepareDesktop, so that
// the programs, the tests and the benchmarks all look alike, however they start.
#pragma once

namespace platform {

// Sets the style and installs Qt's translations on the running QApplication; once for each
// QApplication, later calls return at once. Needs a QApplication.
void prepareDesktop();

// The framework's metrics that the style gives the designed controls.
constexpr int kComboEdge = 2;          // the edge around a combo box's text and button
constexpr int kComboButtonWidth = 16;  // the drop-down button inside the edge
constexpr int kScrollBarExtent = 17;   // a window's scroll bar

}  // namespace platform
