#include "platform/ComCtrls.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTreeView>
#include <algorithm>
#include <limits>

#include "platform/CodePage.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"

namespace {

QString toQString(const AnsiString& text) { return QString::fromStdString(platform::ansiToUtf8(text.str())); }

}  // namespace

// --- Model ---

// Reads the rows straight from the list's items; texts become QStrings only when the view asks
// for a cell. Rows appended from code are announced in one batch by Flush, posted once per batch,
// so that filling thousands of rows costs the view one insertion instead of one per row.
class TListView::Model : public QAbstractTableModel {
 public:
  explicit Model(TListView* list) : list_(list) {}

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : shownRows_; }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : shownColumns_; }

  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const TListItem* item = list_->items_.Item(index.row());
    if (index.column() == 0) return toQString(item->Caption());
    const TStrings* subItems = item->SubItems();
    const int subItem = index.column() - 1;
    if (subItem >= subItems->Count()) return QString();
    return toQString(subItems->Strings(subItem));
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= list_->columns_.Count()) return {};
    return toQString(list_->columns_.Items(section)->Caption());
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  }

  // Called for every appended row; the view learns of the batch later.
  void RowAdded() { Schedule(); }

  // A row that the view already knows has new texts.
  void RowChanged(int row) {
    if (row >= shownRows_) return;  // its insertion is still to come and covers the texts
    dirtyFirst_ = dirtyFirst_ < 0 ? row : std::min(dirtyFirst_, row);
    dirtyLast_ = std::max(dirtyLast_, row);
    Schedule();
  }

  void Flush() {
    if (resetting_) return;
    if (dirtyFirst_ >= 0) {
      const int first = dirtyFirst_;
      const int last = dirtyLast_;
      dirtyFirst_ = dirtyLast_ = -1;
      if (shownColumns_ > 0) emit dataChanged(index(first, 0), index(last, shownColumns_ - 1));
    }
    const int count = list_->items_.Count();
    if (count > shownRows_) {
      beginInsertRows(QModelIndex(), shownRows_, count - 1);
      shownRows_ = count;
      endInsertRows();
    }
  }

  void BeginClear() {
    resetting_ = true;
    beginResetModel();
  }

  void EndClear() {
    shownRows_ = 0;
    dirtyFirst_ = dirtyLast_ = -1;
    endResetModel();
    resetting_ = false;
  }

  void ColumnAdded() {
    Flush();
    const int column = shownColumns_;
    beginInsertColumns(QModelIndex(), column, column);
    shownColumns_ = column + 1;
    endInsertColumns();
  }

  void ColumnCaptionChanged(int column) { emit headerDataChanged(Qt::Horizontal, column, column); }

 private:
  void Schedule() {
    if (flushPosted_) return;
    flushPosted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          flushPosted_ = false;
          Flush();
        },
        Qt::QueuedConnection);
  }

  TListView* list_;
  int shownRows_ = 0;
  int shownColumns_ = 0;
  int dirtyFirst_ = -1;
  int dirtyLast_ = -1;
  bool flushPosted_ = false;
  bool resetting_ = false;
};

// --- View ---

// The tree view as a report list. Every event that reads rows (painting, the mouse, the keys)
// first hands the pending rows to the view. Selection changes by the user are reported after Qt
// has finished with the input event, so that a handler may clear or refill the list safely.
class TListView::View : public QTreeView {
 public:
  explicit View(TListView* list) : list_(list) {}

  // The list is going away; from now on the view only draws what it still has.
  void Detach() { list_ = nullptr; }

  void SetGridLines(bool on) {
    gridLines_ = on;
    viewport()->update();
  }

 protected:
  bool event(QEvent* event) override {
    PrepareFor(event);
    return QTreeView::event(event);
  }

  bool viewportEvent(QEvent* event) override {
    PrepareFor(event);
    return QTreeView::viewportEvent(event);
  }

  void mousePressEvent(QMouseEvent* event) override {
    const bool onRow = indexAt(event->position().toPoint()).isValid();
    QTreeView::mousePressEvent(event);
    // A press beside the rows drops the selection; not every Qt version does that by itself.
    if (!onRow && selectionModel() != nullptr) selectionModel()->clearSelection();
    UserActed();
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    // Dragging over the rows does not move the selection, as in the framework's list.
    if (event->buttons() != Qt::NoButton) return;
    QTreeView::mouseMoveEvent(event);
  }

  void mouseReleaseEvent(QMouseEvent* event) override {
    QTreeView::mouseReleaseEvent(event);
    UserActed();
  }

  void mouseDoubleClickEvent(QMouseEvent* event) override {
    QTreeView::mouseDoubleClickEvent(event);
    UserActed();
  }

  void keyPressEvent(QKeyEvent* event) override {
    QTreeView::keyPressEvent(event);
    UserActed();
  }

  void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
    QTreeView::drawRow(painter, option, index);
    const QHeaderView* head = header();
    if (!gridLines_ || head->count() == 0) return;
    // Lines along the right edge of every column and the bottom of the row, across the columns.
    painter->save();
    painter->setPen(platform::toQColor(clSilver));
    const int top = option.rect.top();
    const int bottom = option.rect.bottom();
    for (int logical = 0; logical < head->count(); ++logical) {
      if (head->isSectionHidden(logical)) continue;
      const int x = head->sectionViewportPosition(logical) + head->sectionSize(logical) - 1;
      painter->drawLine(x, top, x, bottom);
    }
    painter->drawLine(option.rect.left(), bottom, head->length() - head->offset() - 1, bottom);
    painter->restore();
  }

 private:
  void PrepareFor(QEvent* event) {
    if (list_ == nullptr) return;
    switch (event->type()) {
      case QEvent::Paint:
      case QEvent::Show:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::KeyPress:
        list_->FlushRows();
        break;
      default:
        break;
    }
  }

  void UserActed() {
    if (list_ != nullptr) list_->SelectionChangedByUser();
  }

  TListView* list_;
  bool gridLines_ = false;
};

// --- TListItem ---

TListItem::TListItem(TListView* owner, int index) : owner_(owner), index_(index) {
  // A row usually gets one sub-item per column after the first; room for them at once spares
  // every row of a long result its reallocations.
  subItems_.SetCapacity(owner->Columns()->Count() - 1);
  subItems_.OnChange = [owner, index] { owner->ItemChanged(index); };
}

void TListItem::SetCaption(const AnsiString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  owner_->ItemChanged(index_);
}

bool TListItem::Selected() const { return owner_->ItemIndex() == index_; }

// --- TListItems ---

TListItems::~TListItems() = default;

TListItem* TListItems::Add() {
  // Rows are numbered with int, as ItemIndex and Index report them.
  if (items_.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw Exception("List capacity out of bounds (" + AnsiString(Count()) + ")");
  }
  const int index = Count();
  items_.push_back(std::unique_ptr<TListItem>(new TListItem(owner_, index)));
  owner_->ItemAdded();
  return items_.back().get();
}

void TListItems::Clear() {
  owner_->BeginClearItems();
  items_.clear();
  owner_->EndClearItems();
}

// --- TListColumn, TListColumns ---

void TListColumn::SetCaption(const AnsiString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  owner_->ColumnCaptionChanged(index_);
}

void TListColumn::SetWidth(int width) {
  width = std::max(0, width);
  if (width == width_) return;
  width_ = width;
  owner_->ColumnWidthChanged(index_);
}

TListColumns::~TListColumns() = default;

TListColumn* TListColumns::Add() {
  if (columns_.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw Exception("List capacity out of bounds (" + AnsiString(Count()) + ")");
  }
  columns_.push_back(std::unique_ptr<TListColumn>(new TListColumn(owner_, Count())));
  TListColumn* column = columns_.back().get();
  owner_->ColumnAdded(column);
  return column;
}

// --- TListView ---

TListView::TListView(TComponent* owner)
    : TWinControl(owner), columns_(this), items_(this), model_(std::make_unique<Model>(this)) {
  view_ = new View(this);
  view_->setModel(model_.get());
  view_->setRootIsDecorated(false);
  view_->setItemsExpandable(false);
  view_->setUniformRowHeights(true);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setDragEnabled(false);
  view_->setAllColumnsShowFocus(rowSelect_);
  QHeaderView* header = view_->header();
  header->setStretchLastSection(false);
  header->setSectionsMovable(false);
  header->setSectionsClickable(columnClick_);
  header->setHighlightSections(false);
  header->setSortIndicatorShown(false);
  header->setVisible(viewStyle_ == vsReport);
  QObject::connect(header, &QHeaderView::sectionResized, model_.get(),
                   [this](int logical, int, int size) { SectionResized(logical, size); });
  SetWidget(view_);
}

TListView::~TListView() {
  // The widget outlives this object's members (TWinControl deletes it), so it lets go of the
  // list and the model first.
  view_->Detach();
  QObject::disconnect(view_->header(), nullptr, model_.get(), nullptr);
  view_->setModel(nullptr);
}

void TListView::SetItemIndex(int index) {
  FlushRows();
  ++generation_;
  selectedRow_ = index >= 0 && index < items_.Count() ? index : -1;
  ShowSelectionInView();
}

TListItem* TListView::Selected() const { return selectedRow_ >= 0 ? items_.Item(selectedRow_) : nullptr; }

void TListView::SetViewStyle(TViewStyle style) {
  viewStyle_ = style;
  view_->header()->setVisible(style == vsReport);
}

void TListView::SetRowSelect(bool on) {
  rowSelect_ = on;
  view_->setAllColumnsShowFocus(on);
}

void TListView::SetGridLines(bool on) {
  gridLines_ = on;
  view_->SetGridLines(on);
}

void TListView::SetReadOnly(bool on) { readOnly_ = on; }  // the rows are never edited in place

void TListView::SetColumnClick(bool on) {
  columnClick_ = on;
  view_->header()->setSectionsClickable(on);
}

void TListView::SetBorderStyle(TBorderStyle style) {
  borderStyle_ = style;
  ApplyFrame();
}

void TListView::SetBevelKind(TBevelKind kind) {
  bevelKind_ = kind;
  ApplyFrame();
}

void TListView::ApplyFrame() {
  if (bevelKind_ != bkNone) {
    // The designed bevel, a lowered outer and a raised inner line, is Qt's sunken box of one-pixel
    // lines; the other kinds, which this program does not use, are drawn the same.
    view_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    view_->setLineWidth(1);
    view_->setMidLineWidth(0);
  } else if (borderStyle_ == bsNone) {
    view_->setFrameStyle(QFrame::NoFrame);
  } else {
    view_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  }
}

QTreeView* TListView::ViewWidget() {
  FlushRows();
  return view_;
}

void TListView::ItemAdded() { model_->RowAdded(); }

void TListView::ItemChanged(int row) { model_->RowChanged(row); }

void TListView::BeginClearItems() { model_->BeginClear(); }

void TListView::EndClearItems() {
  model_->EndClear();
  selectedRow_ = -1;
  ++generation_;
}

void TListView::ColumnAdded(TListColumn* column) {
  model_->ColumnAdded();
  view_->header()->resizeSection(column->index_, column->width_);
}

void TListView::ColumnCaptionChanged(int column) { model_->ColumnCaptionChanged(column); }

void TListView::ColumnWidthChanged(int column) {
  view_->header()->resizeSection(column, columns_.Items(column)->width_);
}

void TListView::SectionResized(int column, int width) {
  if (column >= 0 && column < columns_.Count()) columns_.Items(column)->width_ = width;
}

void TListView::FlushRows() { model_->Flush(); }

int TListView::ViewSelectedRow() const {
  const QItemSelectionModel* selection = view_->selectionModel();
  if (selection == nullptr || !selection->hasSelection()) return -1;
  return selection->selection().first().top();
}

void TListView::ShowSelectionInView() {
  QItemSelectionModel* selection = view_->selectionModel();
  if (selection == nullptr || ViewSelectedRow() == selectedRow_) return;
  if (selectedRow_ < 0) {
    selection->clearSelection();
    return;
  }
  selection->setCurrentIndex(model_->index(selectedRow_, 0),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TListView::SelectionChangedByUser() {
  // A handler's own nested event loop must not start a second round; this round settles it.
  if (notifying_ || columns_.Count() == 0) return;
  const int gained = ViewSelectedRow();
  if (gained == selectedRow_) return;
  notifying_ = true;
  const int lost = selectedRow_;
  const unsigned generation = generation_;
  if (lost >= 0) {
    selectedRow_ = -1;
    RaiseSelectItem(lost, false);
  }
  // A handler that cleared the list or selected from code has the last word.
  if (gained >= 0 && generation == generation_ && gained < items_.Count()) {
    selectedRow_ = gained;
    RaiseSelectItem(gained, true);
  }
  notifying_ = false;
  ShowSelectionInView();
}

void TListView::RaiseSelectItem(int row, bool selected) {
  // The handler may replace the event or clear the list, so neither is read after it.
  const TLVSelectItemEvent handler = OnSelectItem;
  TListItem* item = items_.Item(row);
  platform::dispatchEvent([&] { handler(this, item, selected); });
}
