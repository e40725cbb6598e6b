// TListView in report style: the result list of the main window.
//
// Rows are items with a caption and sub-items; columns have a caption and a width. The list is
// read only, selects whole rows, shows grid lines and holds at most one selected row. The list
// owns its items; an item pointer stays valid until the item is removed or the list cleared.
//
// OnSelectItem comes only from the user: for the row that loses the selection and again for the
// row that gains it (a click on empty space deselects). Setting ItemIndex or Clear from code
// raises nothing. Thousands of rows stay fast: the rows live in a model of our own, not one Qt
// item per row.
#pragma once

#include <memory>
#include <vector>

#include "platform/AnsiString.h"
#include "platform/Controls.h"
#include "platform/StdCtrls.h"

class TListView;
class TListItems;

class TListItem : public TObject {
 public:
  const AnsiString& Caption() const { return caption_; }
  void SetCaption(const AnsiString& caption);
  TStrings* SubItems() { return &subItems_; }
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
  void Clear();

 private:
  TListView* owner_;
  std::vector<std::unique_ptr<TListItem>> items_;
};

class TListColumn {
 public:
  const AnsiString& Caption() const { return caption_; }
  void SetCaption(const AnsiString& caption);
  int Width() const { return width_; }
  void SetWidth(int width);

 private:
  friend class TListColumns;
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

  // The selected row, -1 when none.
  int ItemIndex() const;
  void SetItemIndex(int index);
  TListItem* Selected() const;
  void Clear() { items_.Clear(); }

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

  // Sender, the row, and whether it gained (true) or lost (false) the selection.
  TLVSelectItemEvent OnSelectItem;

 private:
  friend class TListItem;
  friend class TListItems;
  friend class TListColumn;
  friend class TListColumns;
  class Model;
  class View;

  TListColumns columns_;
  TListItems items_;
  std::unique_ptr<Model> model_;
  View* view_ = nullptr;
  TViewStyle viewStyle_ = vsIcon;
  bool rowSelect_ = false;
  bool gridLines_ = false;
  bool readOnly_ = false;
  bool columnClick_ = true;
};
