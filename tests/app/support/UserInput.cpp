#include "app/support/UserInput.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <QWindow>

#include "platform/ComCtrls.h"
#include "platform/StdCtrls.h"

namespace user {

void chooseEntry(TComboBox* combo, int index) {
  QComboBox* widget = combo->ComboWidget();
  widget->showPopup();
  QAbstractItemView* view = widget->view();
  QApplication::processEvents();
  const QModelIndex entry = view->model()->index(index, 0);
  view->scrollTo(entry);
  // On the part of the entry that the list shows: a long entry reaches past the list's edge.
  const QPoint onEntry = view->visualRect(entry).intersected(view->viewport()->rect()).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, onEntry);
  QApplication::processEvents();
}

void click(TCheckBox* box) {
  QCheckBox* widget = box->CheckWidget();
  // On the box itself, left of the caption.
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(6, widget->height() / 2));
  QApplication::processEvents();
}

void click(TButton* button) {
  QTest::mouseClick(button->ButtonWidget(), Qt::LeftButton);
  QApplication::processEvents();
}

void clickRow(TListView* list, int row) {
  QTreeView* view = list->ViewWidget();
  const QModelIndex index = view->model()->index(row, 0);
  view->scrollTo(index);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(index).center());
  QApplication::processEvents();
}

void clickBelowRows(TListView* list) {
  QTreeView* view = list->ViewWidget();
  QWidget* viewport = view->viewport();
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier,
                    QPoint(viewport->width() / 2, viewport->height() - 2));
  QApplication::processEvents();
}

void pressKey(TWinControl* control, Qt::Key key) {
  QWidget* widget = control->Widget();
  widget->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(widget, key);
  QApplication::processEvents();
}

void type(TEdit* edit, const std::string& utf8) {
  QLineEdit* widget = edit->EditWidget();
  widget->setFocus(Qt::OtherFocusReason);
  QTest::keyClicks(widget, QString::fromStdString(utf8));
  QApplication::processEvents();
}

void moveMouse(TWinControl* window, QPoint point) {
  // Through the window system's input, as a real pointer moves: the toolkit finds the widget
  // under the point and delivers the move to it.
  QWidget* client = window->ClientWidget();
  QWindow* handle = client->window()->windowHandle();
  QTest::mouseMove(handle, handle->mapFromGlobal(client->mapToGlobal(point)));
  QApplication::processEvents();
}

}  // namespace user
