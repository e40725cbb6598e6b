// TListView in report style: the result list of the main window.
//
// Rows are items with a caption and sub-items; columns have a caption and a width. The list is
// read only, selects whole rows, shows grid lines and holds at most one selected row. The list
// owns its items; an item pointer stays valid until the list is cleared.
//
// OnSelectItem comes only from the user: for the row that loses the selection and again for the
// row that gains it (a click on empty space deselects). While the lost row's event runs no row is
// selected (ItemIndex is -1). Setting ItemIndex, Clear and adding rows from code raise nothing.
// A handler may clear or refill the list; the row that was about to gain the selection then gets
// no event.
//
// Thousands of rows stay fast: the rows live in a model of our own that reads the items directly,
// not one Qt item per row, and rows added from code reach the view in one batch, on the next turn
// of the event loop or before anything needs them (painting, input, selecting from code).
#pragma once

#include <memory>
#include <vector>

#include "platform/AnsiString.h"
#include "platform/Controls.h"
#include "platform/StdCtrls.h"

class QTreeView;
class TListView;
class TListItems;

class TListItem : public TObject {
 public:
  const AnsiString& Caption() const { return caption_; }
  void SetCaption(const AnsiString& caption);
  // The texts of columns 1 and up; a column without a sub-item shows an empty cell.
  TStrings* SubItems() { return &subItems_; }
  const TStrings* SubItems() const { return &subItems_; }
  int Index() const { return index_; }
  bool Selected() const;

 private:
  friend class TListItems;
  TListItem(TListView* owner, int index);

  TListView* owner_;
  int index_;
  AnsiString caption_;
  TStrings subItems_;
};

class TListItems {
 public:
  explicit TListItems(TListView* owner) : owner_(owner) {}
  TListItems(const TListItems&) = delete;
  TListItems& operator=(const TListItems&) = delete;
  ~TListItems();

  // Appends an empty row and returns it, owned by the list.
  TListItem* Add();
  int Count() const { return static_cast<int>(items_.size()); }
  TListItem* Item(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }
  // Removes every row; the selection goes with them.
  void Clear();

 private:
  TListView* owner_;
  std::vector<std::unique_ptr<TListItem>> items_;
};

class TListColumn {
 public:
  TListColumn(const TListColumn&) = delete;
  TListColumn& operator=(const TListColumn&) = delete;

  const AnsiString& Caption() const { return caption_; }
  void SetCaption(const AnsiString& caption);
  // In pixels; the user may drag it wider or narrower, which Width then reports.
  int Width() const { return width_; }
  void SetWidth(int width);

 private:
  friend class TListColumns;
  friend class TListView;
  TListColumn(TListView* owner, int index) : owner_(owner), index_(index) {}

  TListView* owner_;
  int index_;
  AnsiString caption_;
  int width_ = 50;
};

class TListColumns {
 public:
  explicit TListColumns(TListView* owner) : owner_(owner) {}
  TListColumns(const TListColumns&) = delete;
  TListColumns& operator=(const TListColumns&) = delete;
  ~TListColumns();

  TListColumn* Add();
  int Count() const { return static_cast<int>(columns_.size()); }
  TListColumn* Items(int index) const { return columns_.at(static_cast<std::size_t>(index)).get(); }

 private:
  TListView* owner_;
  std::vector<std::unique_ptr<TListColumn>> columns_;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

using TLVSelectItemEvent = TClosure<TObject*, TListItem*, bool>;

class TListView : public TWinControl {
 public:
  explicit TListView(TComponent* owner);
  ~TListView() override;

  TListColumns* Columns() { return &columns_; }
  TListItems* Items() { return &items_; }

  // The selected row, -1 when none. Setting an index outside the rows selects none.
  int ItemIndex() const { return selectedRow_; }
  void SetItemIndex(int index);
  TListItem* Selected() const;
  void Clear() { items_.Clear(); }

  // Only the report style is drawn; the others show the rows without the column header.
  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle style);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool on);
  bool GridLines() const { return gridLines_; }
  void SetGridLines(bool on);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on);
  bool ColumnClick() const { return columnClick_; }
  void SetColumnClick(bool on);
  // The frame: the style's sunken edge for a bordered list (bsSingle, the default), none for
  // bsNone. A bevel (bkTile: a lowered outer and a raised inner line, an etched groove) is drawn
  // in the border's place; this program's list has the bevel and no border.
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle style);
  TBevelKind BevelKind() const { return bevelKind_; }
  void SetBevelKind(TBevelKind kind);

  // The Qt view, with every row added so far announced to it; for tests and benchmarks.
  QTreeView* ViewWidget();

  // Sender, the row, and whether it gained (true) or lost (false) the selection.
  TLVSelectItemEvent OnSelectItem;

 private:
  friend class TListItem;
  friend class TListItems;
  friend class TListColumn;
  friend class TListColumns;
  class Model;
  class View;

  // Notifications from the items and columns.
  void ItemAdded();
  void ItemChanged(int row);
  void BeginClearItems();
  void EndClearItems();
  void ColumnAdded(TListColumn* column);
  void ColumnCaptionChanged(int column);
  void ColumnWidthChanged(int column);
  void SectionResized(int column, int width);

  // Hands rows added since the last call to the view.
  void FlushRows();
  // After the user's input: raises OnSelectItem for the difference between the view's selection
  // and the list's, then makes the view show the list's selection again.
  void SelectionChangedByUser();
  void ShowSelectionInView();
  void ApplyFrame();
  int ViewSelectedRow() const;
  void RaiseSelectItem(int row, bool selected);

  TListColumns columns_;
  TListItems items_;
  std::unique_ptr<Model> model_;
  View* view_ = nullptr;  // owned by TWinControl as the control's widget
  int selectedRow_ = -1;
  // Counts clearings and selections made from code, so that a user's selection change can tell
  // whether its handler replaced the list or the selection under it.
  unsigned generation_ = 0;
  bool notifying_ = false;
  TViewStyle viewStyle_ = vsIcon;
  bool rowSelect_ = false;
  bool gridLines_ = false;
  bool readOnly_ = false;
  bool columnClick_ = true;
  TBorderStyle borderStyle_ = bsSingle;
  TBevelKind bevelKind_ = bkNone;
};
