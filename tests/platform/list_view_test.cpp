// The report list: selection events only from the user, in the lost-then-gained order, cells and
// columns as filled from code, large fills, and handlers that replace the list under the event.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTest>
#include <QTreeView>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/ComCtrls.h"
#include "platform/Forms.h"

namespace {

struct SelectEvent {
  int row;  // the item's index when the event came
  bool selected;
  int itemIndex;  // the list's ItemIndex inside the handler
  bool operator==(const SelectEvent& other) const {
    return row == other.row && selected == other.selected && itemIndex == other.itemIndex;
  }
};

void PrintTo(const SelectEvent& event, std::ostream* out) {
  *out << "{row " << event.row << (event.selected ? ", gained" : ", lost") << ", ItemIndex "
       << event.itemIndex << "}";
}

class ListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.SetClientWidth(790);
    form_.SetClientHeight(320);
    list_->SetBounds(10, 10, 770, 191);
    list_->SetParent(&form_);
    list_->SetViewStyle(vsReport);
    list_->SetRowSelect(true);
    list_->SetGridLines(true);
    list_->SetReadOnly(true);
    list_->SetColumnClick(false);
    for (int width : {80, 100, 120}) list_->Columns()->Add()->SetWidth(width);
    list_->OnSelectItem = [this](TObject* sender, TListItem* item, bool selected) {
      EXPECT_EQ(sender, list_);
      events_.push_back({item->Index(), selected, list_->ItemIndex()});
    };
    form_.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.Widget()));
  }

  void Fill(int rows) {
    for (int r = 0; r < rows; ++r) {
      TListItem* item = list_->Items()->Add();
      item->SetCaption(AnsiString("row ") + AnsiString(r));
      item->SubItems()->Add(AnsiString("make ") + AnsiString(r));
      item->SubItems()->Add(AnsiString("model ") + AnsiString(r));
    }
  }

  QTreeView* View() { return list_->ViewWidget(); }

  QPoint RowCenter(int row) { return View()->visualRect(View()->model()->index(row, 1)).center(); }

  void ClickRow(int row) { QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, RowCenter(row)); }

  void ClickBelowRows() {
    QWidget* viewport = View()->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(40, viewport->height() - 4));
  }

  QString Cell(int row, int column) { return View()->model()->index(row, column).data().toString(); }

  TForm form_{nullptr};
  TListView* list_ = new TListView(&form_);  // owned by the form
  std::vector<SelectEvent> events_;
};

TEST_F(ListViewTest, ChangesFromCodeRaiseNoSelectItem) {
  Fill(6);
  list_->SetItemIndex(3);
  EXPECT_EQ(list_->ItemIndex(), 3);
  EXPECT_EQ(list_->Selected(), list_->Items()->Item(3));
  EXPECT_TRUE(list_->Items()->Item(3)->Selected());
  list_->SetItemIndex(-1);
  EXPECT_EQ(list_->Selected(), nullptr);
  list_->SetItemIndex(2);
  list_->Clear();
  EXPECT_EQ(list_->ItemIndex(), -1);
  Fill(6);
  QApplication::processEvents();
  EXPECT_TRUE(events_.empty());
}

TEST_F(ListViewTest, IndexOutsideTheRowsSelectsNone) {
  Fill(3);
  for (int index : {3, 99, -2}) {
    list_->SetItemIndex(1);
    list_->SetItemIndex(index);
    EXPECT_EQ(list_->ItemIndex(), -1) << index;
    EXPECT_FALSE(View()->selectionModel()->hasSelection()) << index;
  }
}

TEST_F(ListViewTest, ClickOnRowRaisesItsGain) {
  Fill(6);
  ClickRow(2);
  EXPECT_EQ(events_, (std::vector<SelectEvent>{{2, true, 2}}));
  EXPECT_EQ(list_->ItemIndex(), 2);
}

TEST_F(ListViewTest, ClickOnAnotherRowRaisesLossWithNoRowSelectedThenGain) {
  Fill(6);
  ClickRow(2);
  ClickRow(5);
  EXPECT_EQ(events_, (std::vector<SelectEvent>{{2, true, 2}, {2, false, -1}, {5, true, 5}}));
  EXPECT_EQ(list_->ItemIndex(), 5);
}

TEST_F(ListViewTest, ClickOnTheSelectedRowRaisesNothing) {
  Fill(6);
  ClickRow(2);
  events_.clear();
  ClickRow(2);
  EXPECT_TRUE(events_.empty());
  EXPECT_EQ(list_->ItemIndex(), 2);
}

TEST_F(ListViewTest, ClickAfterSelectingFromCodeReportsTheCodeSelectionAsLost) {
  Fill(6);  // not yet shown: selecting must hand the rows to the view first
  list_->SetItemIndex(1);
  ClickRow(4);
  EXPECT_EQ(events_, (std::vector<SelectEvent>{{1, false, -1}, {4, true, 4}}));
}

TEST_F(ListViewTest, ClickAfterClearFromCodeRaisesOnlyTheGain) {
  Fill(6);
  ClickRow(2);
  list_->Clear();
  Fill(6);
  events_.clear();
  ClickRow(3);
  EXPECT_EQ(events_, (std::vector<SelectEvent>{{3, true, 3}}));
}

TEST_F(ListViewTest, KeyDownMovesTheSelectionLikeAClick) {
  Fill(6);
  ClickRow(2);
  events_.clear();
  QTest::keyClick(View(), Qt::Key_Down);
  EXPECT_EQ(events_, (std::vector<SelectEvent>{{2, false, -1}, {3, true, 3}}));
  EXPECT_EQ(list_->ItemIndex(), 3);
}

TEST_F(ListViewTest, ClickOnEmptySpaceDeselects) {
  Fill(4);
  ClickRow(2);
  events_.clear();
  ClickBelowRows();
  EXPECT_EQ(events_, (std::vector<SelectEvent>{{2, false, -1}}));
  EXPECT_EQ(list_->ItemIndex(), -1);
  EXPECT_FALSE(View()->selectionModel()->hasSelection());

  events_.clear();
  ClickBelowRows();
  EXPECT_TRUE(events_.empty());
}

TEST_F(ListViewTest, DraggingOverRowsKeepsTheSelection) {
  Fill(6);
  QWidget* viewport = View()->viewport();
  QTest::mousePress(viewport, Qt::LeftButton, {}, RowCenter(1));
  QMouseEvent move(QEvent::MouseMove, RowCenter(4), viewport->mapToGlobal(RowCenter(4)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, RowCenter(4));
  EXPECT_EQ(events_, (std::vector<SelectEvent>{{1, true, 1}}));
}

TEST_F(ListViewTest, CellsShowCaptionAndSubItemsInTheCodePage) {
  struct Case {
    const char* label;
    int codePage;
    const char* utf8;
  };
  const Case cases[] = {
      {"Polish", 1250, "Układ"},
      {"German", 1252, "Ausführung"},
  };
  for (const Case& c : cases) {
    platform::setAnsiCodePage(c.codePage);
    list_->Clear();
    TListItem* item = list_->Items()->Add();
    item->SetCaption(AnsiString::FromUtf8(c.utf8));
    item->SubItems()->Add("plain");
    item->SubItems()->Add(AnsiString::FromUtf8(c.utf8) + " 2");
    EXPECT_EQ(Cell(0, 0), QString::fromUtf8(c.utf8)) << c.label;
    EXPECT_EQ(Cell(0, 1), "plain") << c.label;
    EXPECT_EQ(Cell(0, 2), QString::fromUtf8(c.utf8) + " 2") << c.label;
  }
  platform::setAnsiCodePage(1252);
}

TEST_F(ListViewTest, MissingSubItemIsAnEmptyCellAndExtraOnesAreNotShown) {
  TListItem* item = list_->Items()->Add();
  item->SetCaption("caption only");
  TListItem* wide = list_->Items()->Add();
  for (const char* text : {"a", "b", "c", "d"}) wide->SubItems()->Add(text);
  EXPECT_EQ(View()->model()->columnCount(), 3);
  EXPECT_EQ(Cell(0, 1), "");
  EXPECT_EQ(Cell(0, 2), "");
  EXPECT_EQ(Cell(1, 2), "b");
}

TEST_F(ListViewTest, TextsChangedOnAShownRowAreAnnouncedToTheView) {
  TListItem* item = list_->Items()->Add();
  item->SetCaption("first");
  QApplication::processEvents();
  QSignalSpy changed(View()->model(), &QAbstractItemModel::dataChanged);
  item->SubItems()->Add("later");
  item->SetCaption("renamed");
  QApplication::processEvents();
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].toModelIndex().row(), 0);
  EXPECT_EQ(Cell(0, 0), "renamed");
  EXPECT_EQ(Cell(0, 1), "later");
}

TEST_F(ListViewTest, RowsAddedFromCodeArePaintedWithoutAnEventLoopTurn) {
  const QImage empty = list_->Widget()->grab().toImage();
  Fill(3);
  const QImage filled = list_->Widget()->grab().toImage();
  EXPECT_NE(empty, filled);
  EXPECT_EQ(View()->model()->rowCount(), 3);
}

TEST_F(ListViewTest, ColumnsHaveCaptionsAndWidthsAndAFixedHeader) {
  list_->Columns()->Items(0)->SetCaption(AnsiString::FromUtf8("Abgasanlage"));
  list_->Columns()->Items(2)->SetCaption("Modell");
  list_->Columns()->Items(1)->SetWidth(140);
  QHeaderView* header = View()->header();
  EXPECT_TRUE(header->isVisible());
  EXPECT_EQ(View()->model()->headerData(0, Qt::Horizontal).toString(), "Abgasanlage");
  EXPECT_EQ(View()->model()->headerData(1, Qt::Horizontal).toString(), "");
  EXPECT_EQ(View()->model()->headerData(2, Qt::Horizontal).toString(), "Modell");
  EXPECT_EQ(header->sectionSize(0), 80);
  EXPECT_EQ(header->sectionSize(1), 140);
  EXPECT_EQ(header->sectionSize(2), 120);
  EXPECT_FALSE(header->sectionsClickable());
  EXPECT_FALSE(header->stretchLastSection());
}

// The header section of a column as the user sees it.
QImage headerSection(QTreeView* view, int column) {
  QHeaderView* header = view->header();
  return header
      ->grab(QRect(header->sectionViewportPosition(column), 0, header->sectionSize(column), header->height()))
      .toImage();
}

TEST_F(ListViewTest, CaptionWiderThanItsColumnIsCutWithAnEllipsis) {
  const QString caption = "Zusatzinformation";
  list_->Columns()->Items(0)->SetCaption(caption.toStdString().c_str());
  list_->Columns()->Items(0)->SetWidth(75);
  QHeaderView* header = View()->header();
  QStyleOptionHeader option;
  option.initFrom(header);
  option.rect = QRect(0, 0, 75, header->height());
  const int room = header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header).width();
  const QString cut = header->fontMetrics().elidedText(caption, Qt::ElideRight, room);
  ASSERT_TRUE(cut.endsWith(QChar(0x2026))) << "the caption must be wider than its column";
  const QImage shown = headerSection(View(), 0);

  list_->Columns()->Items(0)->SetCaption(AnsiString::FromUtf8(cut.toStdString()));
  EXPECT_EQ(shown, headerSection(View(), 0));
}

struct FrameCase {
  const char* label;
  TBorderStyle border;
  TBevelKind bevel;
  int frameWidth;  // -1: the style's sunken edge, of its own width
  bool etched;     // a darker line outside a lighter one on every side
};

class ListFrameTest : public ListViewTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(ListFrameTest, FrameIsDrawnInsideTheListsBounds) {
  list_->SetBorderStyle(GetParam().border);
  list_->SetBevelKind(GetParam().bevel);
  if (GetParam().frameWidth < 0) {
    EXPECT_GT(View()->frameWidth(), 0);
  } else {
    EXPECT_EQ(GetParam().frameWidth, View()->frameWidth());
  }
  if (!GetParam().etched) return;
  const QImage shot = list_->Widget()->grab().toImage();
  const int right = shot.width() - 1;
  const int bottom = shot.height() - 1;
  const int middleX = shot.width() / 2;
  const int middleY = shot.height() / 2;
  // Top and left: the lowered line outside, the raised one inside; bottom and right the reverse,
  // so that the groove looks cut into the window.
  EXPECT_LT(qGray(shot.pixel(0, middleY)) + 40, qGray(shot.pixel(1, middleY)));
  EXPECT_LT(qGray(shot.pixel(middleX, 0)) + 40, qGray(shot.pixel(middleX, 1)));
  EXPECT_LT(qGray(shot.pixel(right - 1, middleY)) + 40, qGray(shot.pixel(right, middleY)));
  EXPECT_LT(qGray(shot.pixel(middleX, bottom - 1)) + 40, qGray(shot.pixel(middleX, bottom)));
}

const FrameCase kFrames[] = {
    {"SunkenBorderByDefault", bsSingle, bkNone, -1, false},
    {"DesignedTileBevelWithoutBorder", bsNone, bkTile, 2, true},
    {"NoBorderNoBevel", bsNone, bkNone, 0, false},
};

INSTANTIATE_TEST_SUITE_P(Frames, ListFrameTest, ::testing::ValuesIn(kFrames),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ListViewTest, ColumnWidthFollowsTheUsersResize) {
  View()->header()->resizeSection(2, 75);
  EXPECT_EQ(list_->Columns()->Items(2)->Width(), 75);
}

TEST_F(ListViewTest, EightThousandRowsOfEightColumnsFillCompletely) {
  for (int width : {110, 90, 140, 35, 75}) list_->Columns()->Add()->SetWidth(width);
  constexpr int kRows = 8000;
  for (int r = 0; r < kRows; ++r) {
    TListItem* item = list_->Items()->Add();
    item->SetCaption(AnsiString(r));
    for (int c = 1; c < 8; ++c) item->SubItems()->Add(AnsiString::Format("%d:%d", r, c));
  }
  EXPECT_EQ(list_->Items()->Count(), kRows);
  ASSERT_EQ(View()->model()->rowCount(), kRows);
  EXPECT_EQ(Cell(kRows - 1, 0), "7999");
  for (int c = 1; c < 8; ++c) EXPECT_EQ(Cell(kRows - 1, c), QString("7999:%1").arg(c)) << c;
  ClickRow(0);
  QTest::keyClick(View(), Qt::Key_End);
  EXPECT_EQ(events_, (std::vector<SelectEvent>{{0, true, 0}, {0, false, -1}, {kRows - 1, true, kRows - 1}}));
  EXPECT_FALSE(list_->Widget()->grab().isNull());
}

TEST_F(ListViewTest, HandlerMayClearTheListWhenARowGains) {
  Fill(6);
  list_->OnSelectItem = [this](TObject*, TListItem* item, bool selected) {
    events_.push_back({item->Index(), selected, list_->ItemIndex()});
    list_->Clear();
  };
  ClickRow(2);
  EXPECT_EQ(events_, (std::vector<SelectEvent>{{2, true, 2}}));
  EXPECT_EQ(list_->Items()->Count(), 0);
  EXPECT_EQ(list_->ItemIndex(), -1);
  EXPECT_FALSE(View()->selectionModel()->hasSelection());
}

TEST_F(ListViewTest, HandlerThatRefillsTheListOnALossEndsTheChange) {
  Fill(6);
  ClickRow(1);
  list_->OnSelectItem = [this](TObject*, TListItem* item, bool selected) {
    events_.push_back({item->Index(), selected, list_->ItemIndex()});
    list_->Clear();
    Fill(8);
  };
  events_.clear();
  ClickRow(4);
  // The row clicked belonged to the list that the handler threw away.
  EXPECT_EQ(events_, (std::vector<SelectEvent>{{1, false, -1}}));
  EXPECT_EQ(list_->Items()->Count(), 8);
  EXPECT_EQ(list_->ItemIndex(), -1);
  EXPECT_FALSE(View()->selectionModel()->hasSelection());

  list_->OnSelectItem = [this](TObject*, TListItem* item, bool selected) {
    events_.push_back({item->Index(), selected, list_->ItemIndex()});
  };
  events_.clear();
  ClickRow(7);
  EXPECT_EQ(events_, (std::vector<SelectEvent>{{7, true, 7}}));
}

TEST_F(ListViewTest, HandlerThatSelectsFromCodeHasTheLastWord) {
  Fill(6);
  ClickRow(1);
  list_->OnSelectItem = [this](TObject*, TListItem* item, bool selected) {
    events_.push_back({item->Index(), selected, list_->ItemIndex()});
    if (!selected) list_->SetItemIndex(0);
  };
  events_.clear();
  ClickRow(4);
  EXPECT_EQ(events_, (std::vector<SelectEvent>{{1, false, -1}}));
  EXPECT_EQ(list_->ItemIndex(), 0);
  EXPECT_EQ(View()->selectionModel()->selectedRows().value(0).row(), 0);
}

}  // namespace
