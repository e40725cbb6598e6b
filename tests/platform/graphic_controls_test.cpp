// Graphic controls as the user sees them: painted by their window in join order beneath the
// windowed controls, the mouse routed to the last-joined one under the pointer, transparent
// pictures, shapes, bevel lines, labels and fonts.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPalette>
#include <QWidget>
#include <QtTest/QTest>
#include <functional>
#include <string>
#include <vector>

#include "common/ResourceUse.h"
#include "common/WidgetTesting.h"
#include "platform/Forms.h"
#include "platform/ImageCtrls.h"
#include "platform/StdCtrls.h"
#include "platform/WinApi.h"

namespace {

using testing_support::fillBitmap;
using testing_support::grabClient;
using testing_support::near;
using testing_support::pixelAt;

const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 255, 0);
const QColor kBlack(0, 0, 0);
const QColor kShadow = platform::toQColor(clBtnShadow);
const QColor kHighlight = platform::toQColor(clBtnHighlight);
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clLime = 0x00FF00;

// A windowed control of plain green, to show what lies above the graphic controls.
class GreenPanel : public TWinControl {
 public:
  explicit GreenPanel(TComponent* owner) : TWinControl(owner) {
    auto* widget = new QWidget;
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, kGreen);
    widget->setPalette(palette);
    SetWidget(widget);
  }
};

// A white window of 200 x 120 client pixels, shown.
class GraphicControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.SetBorderStyle(bsNone);
    form.SetClientWidth(200);
    form.SetClientHeight(120);
    form.SetColor(clWhite);
    form.Show();
  }

  // A label of one solid colour: an opaque rectangle that is easy to find in a grab.
  TLabel* block(int left, int top, int width, int height, TColor colour) {
    auto* label = new TLabel(&form);
    label->SetAutoSize(false);
    label->SetBounds(left, top, width, height);
    label->SetColor(colour);
    label->SetParent(&form);
    return label;
  }

  TImage* image(int left, int top, int width, int height) {
    auto* result = new TImage(&form);
    result->SetBounds(left, top, width, height);
    result->SetParent(&form);
    return result;
  }

  QColor shown(int x, int y) { return pixelAt(grabClient(form), x, y); }

  TForm form{nullptr};
};

// --- paint order ---

TEST_F(GraphicControlsTest, LaterJoinedGraphicControlCoversAnEarlierOne) {
  block(10, 10, 50, 30, clRed);
  block(30, 20, 50, 30, clBlue);
  EXPECT_EQ(kRed, shown(15, 15));
  EXPECT_EQ(kBlue, shown(40, 25));
  EXPECT_EQ(kBlue, shown(75, 45));
  EXPECT_EQ(kWhite, shown(150, 100));
}

TEST_F(GraphicControlsTest, WindowedControlCoversGraphicControlsJoinedAfterIt) {
  auto* panel = new GreenPanel(&form);
  panel->SetBounds(35, 15, 10, 10);
  panel->SetParent(&form);
  block(10, 10, 50, 30, clRed);
  block(30, 20, 50, 30, clBlue);
  EXPECT_EQ(kGreen, shown(37, 17));  // over the red one
  EXPECT_EQ(kGreen, shown(40, 22));  // over both
}

TEST_F(GraphicControlsTest, SettingTheSameParentAgainKeepsThePlace) {
  TLabel* first = block(10, 10, 50, 30, clRed);
  block(30, 20, 50, 30, clBlue);
  first->SetParent(&form);
  EXPECT_EQ(kBlue, shown(40, 25));
}

TEST_F(GraphicControlsTest, RejoiningAParentPutsTheControlOnTop) {
  TLabel* first = block(10, 10, 50, 30, clRed);
  block(30, 20, 50, 30, clBlue);
  first->SetParent(nullptr);
  first->SetParent(&form);
  EXPECT_EQ(kRed, shown(40, 25));
}

TEST_F(GraphicControlsTest, HiddenControlIsNotPainted) {
  block(10, 10, 50, 30, clRed);
  TLabel* second = block(30, 20, 50, 30, clBlue);
  second->SetVisible(false);
  EXPECT_EQ(kRed, shown(40, 25));
  EXPECT_EQ(kWhite, shown(75, 45));
}

TEST_F(GraphicControlsTest, DisabledControlIsStillPainted) {
  block(10, 10, 50, 30, clRed)->SetEnabled(false);
  EXPECT_EQ(kRed, shown(15, 15));
}

// A repaint of part of the window, as after one control changed: every control that reaches into
// the part is painted there in its order, also one that lies mostly outside it.
TEST_F(GraphicControlsTest, PartialRepaintPaintsEveryControlThatReachesIntoIt) {
  block(10, 10, 50, 30, clRed);
  block(60, 20, 50, 30, clBlue);
  block(55, 45, 10, 30, clYellow);
  QImage shot(200, 120, QImage::Format_RGB32);
  shot.fill(Qt::black);
  const QRegion part(QRect(50, 30, 30, 30));
  form.Widget()->render(&shot, QPoint(50, 30), part, QWidget::DrawWindowBackground | QWidget::DrawChildren);
  EXPECT_EQ(kRed, pixelAt(shot, 55, 35)) << "a corner of the red block";
  EXPECT_EQ(kBlue, pixelAt(shot, 75, 35));
  EXPECT_EQ(QColor(255, 255, 0), pixelAt(shot, 60, 50)) << "the yellow block covers the blue one";
  EXPECT_EQ(kWhite, pixelAt(shot, 52, 55));
  EXPECT_EQ(kBlack, pixelAt(shot, 100, 35)) << "outside the part nothing is painted";
}

// --- mouse routing ---

struct Move {
  TObject* sender = nullptr;
  int x = -1;
  int y = -1;
};

class MouseRoutingTest : public GraphicControlsTest {
 protected:
  void SetUp() override {
    GraphicControlsTest::SetUp();
    lower = image(10, 10, 60, 40);
    upper = image(40, 20, 60, 40);
    // The upper image's picture is transparent all over: it still takes the mouse.
    fillBitmap(*upper->Picture()->Bitmap(), 60, 40, [](int, int) { return qRgb(255, 0, 255); });
    upper->SetTransparent(true);
    for (TControl* control : std::vector<TControl*>{&form, lower, upper}) {
      control->OnMouseMove = [this](TObject* sender, TShiftState, int x, int y) {
        moves.push_back({sender, x, y});
      };
    }
  }

  Move moveTo(int x, int y) {
    moves.clear();
    QTest::mouseMove(form.ClientWidget(), QPoint(x, y));
    EXPECT_EQ(1u, moves.size());
    return moves.empty() ? Move{} : moves.back();
  }

  TImage* lower = nullptr;
  TImage* upper = nullptr;
  std::vector<Move> moves;
};

class RouteTest;

struct RouteCase {
  const char* label;
  std::function<void(RouteTest&)> prepare;
  int x;
  int y;
  const char* expectedTarget;  // "lower", "upper" or "form"
  int expectedX;
  int expectedY;
};

class RouteTest : public MouseRoutingTest, public ::testing::WithParamInterface<RouteCase> {
 public:
  TImage* Upper() { return upper; }
};

TEST_P(RouteTest, MoveReachesTheExpectedControlInItsCoordinates) {
  const RouteCase& c = GetParam();
  c.prepare(*this);
  const Move move = moveTo(c.x, c.y);
  const std::string target = c.expectedTarget;
  TObject* expected = target == "lower"   ? static_cast<TObject*>(lower)
                      : target == "upper" ? static_cast<TObject*>(upper)
                                          : static_cast<TObject*>(&form);
  EXPECT_EQ(expected, move.sender);
  EXPECT_EQ(c.expectedX, move.x);
  EXPECT_EQ(c.expectedY, move.y);
}

const RouteCase kRoutes[] = {
    {"OnlyTheLowerUnderThePointer", [](RouteTest&) {}, 15, 15, "lower", 5, 5},
    {"OverlapGoesToTheLastJoined", [](RouteTest&) {}, 50, 30, "upper", 10, 10},
    {"TransparentPixelsTakeTheMouse", [](RouteTest&) {}, 90, 50, "upper", 50, 30},
    {"BareWindowGoesToTheWindow", [](RouteTest&) {}, 150, 100, "form", 150, 100},
    {"DisabledUpperPassesToTheLower", [](RouteTest& t) { t.Upper()->SetEnabled(false); }, 50, 30, "lower", 40,
     20},
    {"DisabledAloneGoesToTheWindow", [](RouteTest& t) { t.Upper()->SetEnabled(false); }, 90, 50, "form", 90,
     50},
    {"HiddenUpperPassesToTheLower", [](RouteTest& t) { t.Upper()->SetVisible(false); }, 50, 30, "lower", 40,
     20},
    {"RightAndBottomEdgesAreOutside", [](RouteTest&) {}, 100, 60, "form", 100, 60},
};

INSTANTIATE_TEST_SUITE_P(Routing, RouteTest, ::testing::ValuesIn(kRoutes),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(MouseRoutingTest, PointerTakesTheCursorOfTheControlUnderIt) {
  upper->SetCursor(crHandPoint);
  moveTo(50, 30);
  EXPECT_EQ(Qt::PointingHandCursor, form.ClientWidget()->cursor().shape());
  moveTo(15, 15);
  EXPECT_EQ(Qt::ArrowCursor, form.ClientWidget()->cursor().shape());
  form.SetCursor(crCross);
  moveTo(150, 100);
  EXPECT_EQ(Qt::CrossCursor, form.ClientWidget()->cursor().shape());
}

TEST_F(MouseRoutingTest, HandlerThatDeletesItsControlIsSafe) {
  upper->OnMouseMove = [this](TObject*, TShiftState, int, int) {
    delete upper;
    upper = nullptr;
  };
  QTest::mouseMove(form.ClientWidget(), QPoint(50, 30));
  EXPECT_EQ(nullptr, upper);
  EXPECT_EQ(1, form.ControlCount());
  EXPECT_EQ(lower, form.Controls(0));
}

TEST_F(GraphicControlsTest, ClickOnAGraphicControlRaisesItsOnClick) {
  TLabel* label = block(10, 10, 50, 20, clRed);
  std::vector<TObject*> clicks;
  label->OnClick = [&](TObject* sender) { clicks.push_back(sender); };
  form.OnClick = [&](TObject* sender) { clicks.push_back(sender); };
  QTest::mouseClick(form.ClientWidget(), Qt::LeftButton, {}, QPoint(20, 15));
  QTest::mouseClick(form.ClientWidget(), Qt::LeftButton, {}, QPoint(150, 100));
  EXPECT_EQ((std::vector<TObject*>{label, &form}), clicks);
}

// --- pictures in images ---

// Magenta at the bottom-left corner and down the left column, blue elsewhere.
QRgb keyedPicture(int x, int) { return x == 0 ? qRgb(255, 0, 255) : qRgb(0, 0, 255); }

TEST_F(GraphicControlsTest, TransparentImageLeavesOutTheBottomLeftColour) {
  block(0, 0, 200, 120, clRed);
  TImage* picture = image(20, 20, 10, 10);
  picture->SetTransparent(true);  // before the picture exists, as the drawings do
  fillBitmap(*picture->Picture()->Bitmap(), 10, 10, keyedPicture);
  EXPECT_EQ(kRed, shown(20, 20));   // magenta, left out
  EXPECT_EQ(kRed, shown(20, 29));   // the bottom-left pixel itself
  EXPECT_EQ(kBlue, shown(21, 20));  // drawn
  EXPECT_EQ(kBlue, shown(29, 29));
}

// A transparent picture is painted with its key colour left out, yet holds its pixels once: a
// second, keyed copy of a 2048 x 2048 picture would hold 16 MB for as long as the picture.
TEST_F(GraphicControlsTest, TransparentImageKeepsNoSecondCopyOfItsPicture) {
  block(0, 0, 200, 120, clRed);
  TImage* picture = image(20, 20, 150, 90);
  picture->SetTransparent(true);
  fillBitmap(*picture->Picture()->Bitmap(), 2048, 2048, keyedPicture);
  const std::size_t heapBefore = heapBytesInUse();
  const QImage screen = grabClient(form);
  EXPECT_EQ(kRed, pixelAt(screen, 20, 60));
  EXPECT_EQ(kBlue, pixelAt(screen, 21, 20));
  EXPECT_EQ(kBlue, pixelAt(screen, 169, 109));
  EXPECT_EQ(kRed, pixelAt(screen, 170, 109)) << "cut at the control's edge";
  EXPECT_LE(heapBytesInUse(), heapBefore + 4 * 1024 * 1024);
}

TEST_F(GraphicControlsTest, OpaqueImageDrawsEveryPixel) {
  block(0, 0, 200, 120, clRed);
  TImage* picture = image(20, 20, 10, 10);
  fillBitmap(*picture->Picture()->Bitmap(), 10, 10, keyedPicture);
  EXPECT_EQ(QColor(255, 0, 255), shown(20, 29));
  EXPECT_EQ(kBlue, shown(21, 20));
}

TEST_F(GraphicControlsTest, ImageDrawsAtItsOwnSizeFromTheTopLeftCutAtItsEdges) {
  TImage* small = image(10, 10, 4, 3);
  fillBitmap(*small->Picture()->Bitmap(), 8, 8, [](int, int) { return qRgb(0, 0, 255); });
  TImage* large = image(100, 10, 30, 30);
  fillBitmap(*large->Picture()->Bitmap(), 8, 8, [](int, int) { return qRgb(0, 0, 255); });
  EXPECT_EQ(kBlue, shown(13, 12));
  EXPECT_EQ(kWhite, shown(14, 12));  // cut at the control's width
  EXPECT_EQ(kWhite, shown(13, 13));  // and height
  EXPECT_EQ(kBlue, shown(107, 17));  // not stretched
  EXPECT_EQ(kWhite, shown(108, 17));
  EXPECT_EQ(kWhite, shown(115, 25));
}

TEST_F(GraphicControlsTest, ImageRepaintsWhenItsBitmapHandleComesBack) {
  TImage* picture = image(20, 20, 10, 10);
  TBitmap* bitmap = picture->Picture()->Bitmap();
  fillBitmap(*bitmap, 10, 10, [](int, int) { return qRgb(0, 0, 255); });
  QCoreApplication::processEvents();

  // What the picture copy does: lend the handle out, write the pixels, give it back.
  QRegion repainted;
  struct PaintSpy : QObject {
    QRegion* region;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) *region += static_cast<QPaintEvent*>(event)->region();
      return false;
    }
  } spy;
  spy.region = &repainted;
  form.ClientWidget()->installEventFilter(&spy);
  HBITMAP handle = bitmap->ReleaseHandle();
  QCoreApplication::processEvents();
  repainted = QRegion();
  const std::vector<std::uint8_t> dib =
      testing_support::makeDib24(10, 10, [](int, int) { return qRgb(255, 0, 0); });
  SetDIBits(form.Canvas()->Handle(), handle, 0, 10, dib.data() + sizeof(BITMAPINFOHEADER),
            reinterpret_cast<const BITMAPINFO*>(dib.data()), DIB_RGB_COLORS);
  bitmap->SetHandle(handle);
  QCoreApplication::processEvents();
  form.ClientWidget()->removeEventFilter(&spy);

  EXPECT_TRUE(repainted.contains(QRect(20, 20, 10, 10)));
  EXPECT_EQ(kRed, shown(25, 25));
}

// --- shapes and bevels ---

TEST_F(GraphicControlsTest, DefaultShapeIsABlackFramedWhiteRectangle) {
  form.SetColor(clLime);
  auto* shape = new TShape(&form);
  shape->SetBounds(10, 10, 20, 10);
  shape->SetParent(&form);
  EXPECT_EQ(kBlack, shown(10, 10));
  EXPECT_EQ(kBlack, shown(29, 19));
  EXPECT_EQ(kBlack, shown(29, 10));
  EXPECT_EQ(kWhite, shown(11, 11));
  EXPECT_EQ(kWhite, shown(28, 18));
  EXPECT_EQ(kGreen, shown(30, 15));
  EXPECT_EQ(kGreen, shown(15, 20));
}

TEST_F(GraphicControlsTest, SquareUsesTheSmallerSideCentred) {
  form.SetColor(clLime);
  auto* shape = new TShape(&form);
  shape->SetShape(stSquare);
  shape->SetBounds(10, 10, 20, 10);
  shape->SetParent(&form);
  EXPECT_EQ(kGreen, shown(14, 15));
  EXPECT_EQ(kBlack, shown(15, 15));  // left edge of the 10 x 10 square
  EXPECT_EQ(kBlack, shown(24, 19));
  EXPECT_EQ(kWhite, shown(20, 15));
  EXPECT_EQ(kGreen, shown(25, 15));
}

TEST_F(GraphicControlsTest, ShapeWithWhitePenAndBrushIsAllWhite) {
  form.SetColor(clLime);
  auto* shape = new TShape(&form);
  shape->SetShape(stSquare);
  shape->SetBounds(50, 50, 10, 10);
  shape->Pen()->SetColor(clWhite);
  shape->SetParent(&form);
  shape->Brush()->SetColor(clWhite);
  const QImage grab = grabClient(form);
  for (int y = 50; y < 60; ++y) {
    for (int x = 50; x < 60; ++x) ASSERT_EQ(kWhite, pixelAt(grab, x, y)) << x << "," << y;
  }
  EXPECT_EQ(kGreen, pixelAt(grab, 60, 55));
}

struct BevelCase {
  const char* label;
  TBevelShape shape;
  TBevelStyle style;
  QPoint darkPixel;
  QPoint lightPixel;
  QPoint plainPixel;  // inside the bevel, but not on a line
};

class BevelTest : public GraphicControlsTest, public ::testing::WithParamInterface<BevelCase> {};

// The bevel lies at 10, 10 with 20 x 10 pixels on a lime window.
TEST_P(BevelTest, LinesLieAtTheirEdge) {
  const BevelCase& c = GetParam();
  form.SetColor(clLime);
  auto* bevel = new TBevel(&form);
  bevel->SetShape(c.shape);
  bevel->SetStyle(c.style);
  bevel->SetBounds(10, 10, 20, 10);
  bevel->SetParent(&form);
  const QImage grab = grabClient(form);
  EXPECT_EQ(kShadow, pixelAt(grab, c.darkPixel.x(), c.darkPixel.y()));
  EXPECT_EQ(kHighlight, pixelAt(grab, c.lightPixel.x(), c.lightPixel.y()));
  EXPECT_EQ(kGreen, pixelAt(grab, c.plainPixel.x(), c.plainPixel.y()));
}

const BevelCase kBevels[] = {
    {"BottomLineLowered", bsBottomLine, bsLowered, {15, 18}, {15, 19}, {15, 17}},
    {"BottomLineRaised", bsBottomLine, bsRaised, {29, 19}, {10, 18}, {29, 17}},
    {"RightLineLowered", bsRightLine, bsLowered, {28, 15}, {29, 15}, {27, 15}},
    {"RightLineRaised", bsRightLine, bsRaised, {29, 10}, {28, 19}, {27, 10}},
    {"TopLineLowered", bsTopLine, bsLowered, {15, 10}, {15, 11}, {15, 12}},
    {"BoxLowered", bsBox, bsLowered, {10, 15}, {29, 15}, {20, 15}},
};

INSTANTIATE_TEST_SUITE_P(Bevels, BevelTest, ::testing::ValuesIn(kBevels),
                         [](const auto& info) { return std::string(info.param.label); });

// --- labels ---

// The columns in which the grab has pixels near the colour, within the rectangle.
std::vector<int> columnsWith(const QImage& grab, const QRect& rect, const QColor& colour, int tolerance) {
  std::vector<int> columns;
  for (int x = rect.left(); x <= rect.right(); ++x) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      if (near(pixelAt(grab, x, y), colour, tolerance)) {
        columns.push_back(x);
        break;
      }
    }
  }
  return columns;
}

struct AlignmentCase {
  const char* label;
  TAlignment alignment;
};

class LabelAlignmentTest : public GraphicControlsTest, public ::testing::WithParamInterface<AlignmentCase> {};

TEST_P(LabelAlignmentTest, TextStandsInsideItsWidthAsAligned) {
  auto* label = new TLabel(&form);
  label->SetAutoSize(false);
  label->SetBounds(0, 10, 200, 16);
  label->SetCaption("WWW");
  label->Font()->SetColor(clRed);
  label->SetAlignment(GetParam().alignment);
  label->SetParent(&form);
  const QFontMetrics metrics(platform::toQFont(*label->Font()));
  const int textWidth = metrics.horizontalAdvance("WWW");

  const std::vector<int> columns = columnsWith(grabClient(form), QRect(0, 10, 200, 16), kRed, 90);
  ASSERT_FALSE(columns.empty());
  const int left = GetParam().alignment == taLeftJustify ? 0
                   : GetParam().alignment == taCenter    ? (200 - textWidth) / 2
                                                         : 200 - textWidth;
  EXPECT_GE(columns.front(), left - 1);
  EXPECT_LE(columns.back(), left + textWidth + 1);
  EXPECT_LE(columns.front(), left + 3);
  EXPECT_GE(columns.back(), left + textWidth - 3);
}

const AlignmentCase kAlignments[] = {
    {"Left", taLeftJustify},
    {"Centre", taCenter},
    {"Right", taRightJustify},
};

INSTANTIATE_TEST_SUITE_P(Labels, LabelAlignmentTest, ::testing::ValuesIn(kAlignments),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(GraphicControlsTest, OpaqueLabelFillsWithItsColourAndWritesInItsFontColour) {
  auto* label = new TLabel(&form);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 100, 20);
  label->SetColor(clYellow);
  label->Font()->SetColor(clBlue);
  label->SetCaption("HHHH");
  label->SetParent(&form);
  const QImage grab = grabClient(form);
  EXPECT_EQ(QColor(255, 255, 0), pixelAt(grab, 105, 25));
  EXPECT_FALSE(columnsWith(grab, QRect(10, 10, 100, 20), kBlue, 60).empty());
  EXPECT_TRUE(columnsWith(grab, QRect(10, 10, 100, 20), kRed, 60).empty());
}

TEST_F(GraphicControlsTest, TransparentLabelLeavesWhatLiesBeneath) {
  block(0, 0, 200, 120, clRed);
  auto* label = new TLabel(&form);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 100, 20);
  label->SetColor(clYellow);
  label->SetTransparent(true);
  label->SetCaption("x");
  label->SetParent(&form);
  EXPECT_EQ(kRed, shown(105, 25));
}

TEST_F(GraphicControlsTest, LabelWithoutAColourOfItsOwnTakesTheWindowColour) {
  auto* label = new TLabel(&form);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 100, 20);
  label->SetParent(&form);
  EXPECT_EQ(clWhite, label->Color());
  EXPECT_EQ(kWhite, shown(105, 25));
  label->SetColor(clBtnFace);
  EXPECT_EQ(platform::toQColor(clBtnFace), shown(105, 25));
}

TEST_F(GraphicControlsTest, AutoSizeLabelFitsItsCaptionInItsFont) {
  auto* label = new TLabel(&form);
  label->Font()->SetStyle(fsBold);
  label->SetCaption("Marke:");
  const QFontMetrics metrics(platform::toQFont(*label->Font()));
  EXPECT_EQ(metrics.horizontalAdvance("Marke:"), label->Width());
  EXPECT_EQ(metrics.height(), label->Height());
  EXPECT_GE(label->Height(), 12);
  EXPECT_LE(label->Height(), 14);

  const int narrow = label->Width();
  label->Font()->SetSize(11);
  EXPECT_GT(label->Width(), narrow);
  const int sized = label->Width();
  label->SetAutoSize(false);
  label->SetCaption("A much longer caption than before");
  EXPECT_EQ(sized, label->Width());
}

TEST_F(GraphicControlsTest, LabelPaintsInItsOwnFontNotTheWindows) {
  form.Font()->SetColor(clRed);
  form.Font()->SetStyle(fsBold);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  EXPECT_EQ(AnsiString("MS Sans Serif"), label->Font()->Name());
  EXPECT_EQ(-11, label->Font()->Height());
  EXPECT_EQ(clWindowText, label->Font()->Color());
  EXPECT_EQ(0, label->Font()->Style());
}

// --- fonts ---

TEST(FontTest, HeightMinus11IsAnElevenPixelFont) {
  TFont font;
  EXPECT_EQ(-11, font.Height());
  EXPECT_EQ(11, platform::toQFont(font).pixelSize());
  EXPECT_EQ(8, font.Size());
}

struct FontSizeCase {
  const char* label;
  int size;
  int height;
};

class FontSizeTest : public ::testing::TestWithParam<FontSizeCase> {};

TEST_P(FontSizeTest, SizeAndHeightAreTwoViewsOfOneValue) {
  TFont bySize;
  bySize.SetSize(GetParam().size);
  EXPECT_EQ(GetParam().height, bySize.Height());
  TFont byHeight;
  byHeight.SetHeight(GetParam().height);
  EXPECT_EQ(GetParam().size, byHeight.Size());
  EXPECT_EQ(-GetParam().height, platform::toQFont(byHeight).pixelSize());
}

const FontSizeCase kFontSizes[] = {
    {"Eight", 8, -11},
    {"Ten", 10, -13},
    {"Eleven", 11, -15},
};

INSTANTIATE_TEST_SUITE_P(Fonts, FontSizeTest, ::testing::ValuesIn(kFontSizes),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(FontTest, MsSansSerifFallsBackToLiberationSansThenDejaVuSans) {
  TFont font;
  const QFontInfo info(platform::toQFont(font));
  // Liberation Sans keeps the designed captions inside their places; the setup installs it, and
  // DejaVu Sans stands in only on a desktop without it.
  const QString expected = QFontDatabase::hasFamily("Liberation Sans") ? "Liberation Sans" : "DejaVu Sans";
  EXPECT_EQ(expected, info.family());
  EXPECT_EQ(11, info.pixelSize());
}

TEST(FontTest, AFaceThatIsInstalledIsUsedAsNamed) {
  ASSERT_TRUE(QFontDatabase::hasFamily("DejaVu Sans"));
  TFont font;
  font.SetName("DejaVu Sans");
  EXPECT_EQ(QString("DejaVu Sans"), QFontInfo(platform::toQFont(font)).family());
}

}  // namespace
