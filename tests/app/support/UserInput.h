// What a user does with the main window and the details window, through the real widgets: the
// toolkit's own mouse and key events, so that every control raises its events as it would for a
// person at the screen. Each call returns once the toolkit has handled the input.
#pragma once

#include <QPoint>
#include <Qt>
#include <string>

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TListView;
class TWinControl;

namespace user {

// Opens the drop-down list and clicks entry `index`, also the one already shown.
void chooseEntry(TComboBox* combo, int index);
// Clicks the box or the button.
void click(TCheckBox* box);
void click(TButton* button);
// Clicks a row of the list (scrolled into view first), or the list's empty space below its rows.
void clickRow(TListView* list, int row);
void clickBelowRows(TListView* list);
// A key pressed in the control that has the focus after the control is given it.
void pressKey(TWinControl* control, Qt::Key key);
// Types the UTF-8 text into the edit box, character by character.
void type(TEdit* edit, const std::string& utf8);
// Moves the mouse, with no button pressed, to a point of the window's client area.
void moveMouse(TWinControl* window, QPoint point);

}  // namespace user
