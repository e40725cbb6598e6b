// Windows and the application object: frame and size rules, centring, modeless Show, painting
// before the message loop, CreateForm, Run and the modal boxes.
#include "platform/Forms.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest/QTest>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/WidgetTesting.h"
#include "platform/CodePage.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/ImageCtrls.h"
#include "platform/StdCtrls.h"

namespace {

using testing_support::grabClient;
using testing_support::RecordedBoxes;
using testing_support::showsScrollBar;
using testing_support::verticalScrollBar;

// A graphic control that counts how often its window painted it.
class PaintCounter : public TGraphicControl {
 public:
  explicit PaintCounter(TComponent* owner) : TGraphicControl(owner) {}
  void Paint(QPainter&) override { ++paints; }
  int paints = 0;
};

// --- frame, size and position ---

TEST(FormTest, NewFormIsHiddenAndSizeable) {
  TForm form(nullptr);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.Widget()->isVisible());
  EXPECT_EQ(bsSizeable, form.BorderStyle());
  EXPECT_EQ(form.Widget(), reinterpret_cast<QWidget*>(form.Handle()));
  EXPECT_NE(nullptr, form.Canvas()->Handle());
}

TEST(FormTest, OuterSizeIncludesTheFrame) {
  TForm form(nullptr);
  form.SetClientWidth(790);
  form.SetClientHeight(560);
  EXPECT_EQ(790 + 2 * kFrameBorder, form.Width());
  EXPECT_EQ(560 + kFrameCaption + kFrameBorder, form.Height());
  EXPECT_EQ(QSize(790, 560), form.Widget()->size());

  form.SetWidth(730);
  form.SetHeight(600);
  EXPECT_EQ(730 - 2 * kFrameBorder, form.ClientWidth());
  EXPECT_EQ(600 - kFrameCaption - kFrameBorder, form.ClientHeight());
  EXPECT_EQ(QSize(form.ClientWidth(), form.ClientHeight()), form.Widget()->size());
}

TEST(FormTest, BorderlessFormHasNoFrame) {
  TForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.SetLeft(382);
  form.SetTop(238);
  form.SetClientWidth(517);
  form.SetClientHeight(333);
  form.SetPosition(poDesigned);
  EXPECT_EQ(517, form.Width());
  EXPECT_EQ(333, form.Height());
  EXPECT_TRUE(form.Widget()->windowFlags() & Qt::FramelessWindowHint);
  form.Show();
  EXPECT_EQ(QRect(382, 238, 517, 333), form.Widget()->geometry());
}

TEST(FormTest, SingleBorderWithoutMaximiseCannotBeResized) {
  TForm form(nullptr);
  form.SetBorderStyle(bsSingle);
  form.SetBorderIcons(biSystemMenu | biMinimize);
  form.SetClientWidth(300);
  form.SetClientHeight(200);
  form.Show();
  QWidget* widget = form.Widget();
  EXPECT_EQ(QSize(300, 200), widget->minimumSize());
  EXPECT_EQ(QSize(300, 200), widget->maximumSize());
  EXPECT_FALSE(widget->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(widget->windowFlags() & Qt::WindowMinimizeButtonHint);
  widget->resize(500, 400);  // what a drag of the frame asks for
  EXPECT_EQ(QSize(300, 200), widget->size());
  EXPECT_EQ(300, form.ClientWidth());
}

TEST(FormTest, SizeableFormFollowsTheUsersResize) {
  TForm form(nullptr);
  form.SetClientWidth(300);
  form.SetClientHeight(200);
  form.Show();
  form.Widget()->resize(350, 260);
  QCoreApplication::processEvents();
  EXPECT_EQ(350, form.ClientWidth());
  EXPECT_EQ(260, form.ClientHeight());
  EXPECT_EQ(350 + 2 * kFrameBorder, form.Width());
}

TEST(FormTest, ScreenCentredFormIsCentredWhenShown) {
  TForm form(nullptr);
  form.SetBorderStyle(bsSingle);
  form.SetLeft(339);
  form.SetTop(169);
  form.SetClientWidth(400);
  form.SetClientHeight(300);
  form.SetPosition(poScreenCenter);
  form.Show();
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(area.x() + (area.width() - form.Width()) / 2, form.Left());
  EXPECT_EQ(area.y() + (area.height() - form.Height()) / 2, form.Top());
  EXPECT_EQ(QPoint(form.Left() + kFrameBorder, form.Top() + kFrameCaption),
            form.Widget()->geometry().topLeft());
}

// Qt hands the window system a position, as one the program chose, only for a widget that was
// moved; without one the desktop places the window.
TEST(FormTest, FormBuiltInCodeIsPlacedByTheDesktop) {
  TForm form(nullptr);
  form.SetWidth(730);
  form.SetHeight(600);
  form.SetColor(clWhite);
  form.Show();
  form.SetWidth(750);
  EXPECT_FALSE(form.Widget()->testAttribute(Qt::WA_Moved));
  EXPECT_EQ(QSize(750 - 2 * kFrameBorder, 600 - kFrameCaption - kFrameBorder), form.Widget()->size());
}

TEST(FormTest, CentredAndDesignedFormsChooseTheirPlace) {
  for (const TPosition position : {poScreenCenter, poDesigned}) {
    SCOPED_TRACE(position);
    TForm form(nullptr);
    form.SetLeft(100);
    form.SetTop(80);
    form.SetPosition(position);
    form.Show();
    EXPECT_TRUE(form.Widget()->testAttribute(Qt::WA_Moved));
  }
}

TEST(FormTest, TabGoesThroughTheWindowedControlsInTheirTabOrder) {
  TForm form(nullptr);
  TEdit* edits[3];
  for (int i = 0; i < 3; ++i) {
    edits[i] = new TEdit(&form);
    edits[i]->SetBounds(10, 10 + 30 * i, 100, 21);
    edits[i]->SetParent(&form);
    EXPECT_EQ(i, edits[i]->TabOrder()) << "joins at the end";
  }
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  edits[2]->SetTabOrder(0);
  EXPECT_EQ(0, edits[2]->TabOrder());
  EXPECT_EQ(1, edits[0]->TabOrder());
  EXPECT_EQ(2, edits[1]->TabOrder());
  form.Show();
  QApplication::setActiveWindow(form.Widget());
  edits[2]->SetFocus();
  QTest::keyClick(edits[2]->Widget(), Qt::Key_Tab);
  EXPECT_TRUE(edits[0]->Focused());
  QTest::keyClick(edits[0]->Widget(), Qt::Key_Tab);
  EXPECT_TRUE(edits[1]->Focused());

  delete edits[0];
  EXPECT_EQ(1, edits[1]->TabOrder());
  TEdit orphan(nullptr);
  EXPECT_EQ(-1, orphan.TabOrder());
}

TEST(FormTest, CaptionIsTheWindowTitleInUnicode) {
  platform::setAnsiCodePage(1250);
  TForm form(nullptr);
  form.SetCaption(AnsiString::FromUtf8("VELDO - Katalog Produktów"));
  EXPECT_EQ(QString::fromUtf8("VELDO - Katalog Produktów"), form.Widget()->windowTitle());
  platform::setAnsiCodePage(1252);
}

TEST(FormTest, ColourFillsTheClientArea) {
  TForm form(nullptr);
  form.SetClientWidth(50);
  form.SetClientHeight(40);
  form.Show();
  EXPECT_EQ(platform::toQColor(clBtnFace), testing_support::pixelAt(grabClient(form), 25, 20));
  form.SetColor(clWhite);
  EXPECT_EQ(QColor(255, 255, 255), testing_support::pixelAt(grabClient(form), 49, 39));
}

TEST(FormTest, DefaultFontIsMsSansSerifElevenPixels) {
  TForm form(nullptr);
  EXPECT_EQ(AnsiString("MS Sans Serif"), form.Font()->Name());
  EXPECT_EQ(-11, form.Font()->Height());
  EXPECT_EQ(clWindowText, form.Font()->Color());
}

TEST(FormTest, IconBecomesTheWindowIcon) {
  QImage picture(16, 16, QImage::Format_ARGB32);
  picture.fill(Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(picture.save(&buffer, "ico"));

  TForm form(nullptr);
  form.Icon()->LoadFromMemory(reinterpret_cast<const unsigned char*>(bytes.constData()),
                              static_cast<std::size_t>(bytes.size()));
  EXPECT_FALSE(form.Widget()->windowIcon().isNull());
  TForm other(nullptr);
  other.Icon()->Assign(*form.Icon());
  EXPECT_FALSE(other.Widget()->windowIcon().isNull());
}

// --- showing and painting ---

TEST(FormTest, ShowIsModelessAndBringsTheWindowToTheFront) {
  TForm first(nullptr);
  TForm second(nullptr);
  first.Show();
  second.Show();
  EXPECT_TRUE(first.Widget()->isVisible());
  EXPECT_TRUE(second.Widget()->isVisible());
  first.Show();  // already visible: comes to the front again
  QCoreApplication::processEvents();
  EXPECT_EQ(first.Widget(), QApplication::activeWindow());
  EXPECT_TRUE(second.Widget()->isVisible());
}

TEST(FormTest, HideAndCloseHideTheWindow) {
  TForm form(nullptr);
  form.Show();
  form.SetVisible(false);
  EXPECT_FALSE(form.Widget()->isVisible());
  form.Show();
  form.Close();
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.Widget()->isVisible());
}

TEST(FormTest, UpdatePaintsAtOnceWithoutTheMessageLoop) {
  TForm form(nullptr);
  form.SetClientWidth(60);
  form.SetClientHeight(40);
  auto* counter = new PaintCounter(&form);
  counter->SetBounds(0, 0, 60, 40);
  counter->SetParent(&form);
  form.Show();
  const int beforeUpdate = counter->paints;
  form.Update();
  EXPECT_GT(counter->paints, beforeUpdate);
}

TEST(FormTest, DeletingAFormDeletesItsControlsAndLetsOthersGo) {
  auto* form = new TForm(nullptr);
  auto* owned = new TLabel(form);
  owned->SetParent(form);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  auto* unowned = new TImage(nullptr);  // like the pictures made before the window existed
  unowned->SetParent(form);
  auto* unownedEdit = new TEdit(nullptr);
  unownedEdit->SetParent(form);
  form->Show();
  delete form;
  EXPECT_EQ(nullptr, unowned->Parent());
  EXPECT_EQ(nullptr, unownedEdit->Parent());
  EXPECT_EQ(nullptr, unownedEdit->Widget()->parentWidget());
  delete unowned;
  delete unownedEdit;
}

TEST(FormTest, DeletingAControlTakesItOffItsWindow) {
  TForm form(nullptr);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  delete label;
  delete edit;
  EXPECT_EQ(0, form.ControlCount());
  EXPECT_EQ(0, form.ComponentCount());
}

// --- scrolling ---

// A sizeable window of 300 x 200 client pixels, shown, with a red square near its top.
class ScrollingFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.SetClientWidth(300);
    form.SetClientHeight(200);
    form.SetColor(clWhite);
    top = square(10, 10, clRed);
    form.Show();
  }

  TShape* square(int left, int top, TColor colour) {
    auto* shape = new TShape(&form);
    shape->SetBounds(left, top, 40, 40);
    shape->Brush()->SetColor(colour);
    shape->Pen()->SetColor(colour);
    shape->SetParent(&form);
    shape->OnMouseMove = [this](TObject* sender, TShiftState, int x, int y) {
      moves.push_back({sender, QPoint(x, y)});
    };
    return shape;
  }

  // Where a client point of the window shows in the window the user sees.
  QPoint onScreen(QPoint client) const { return form.ClientWidget()->mapTo(form.Widget(), client); }

  struct Move {
    TObject* sender;
    QPoint at;
  };

  TForm form{nullptr};
  TShape* top = nullptr;
  std::vector<Move> moves;
};

TEST_F(ScrollingFormTest, ControlsThatFitShowNoScrollBar) {
  square(250, 150, clBlue);
  EXPECT_FALSE(showsScrollBar(form));
}

TEST_F(ScrollingFormTest, VerticalScrollBarComesWhileAControlReachesPastTheFoot) {
  TShape* low = square(10, 350, clBlue);
  EXPECT_TRUE(showsScrollBar(form));
  QScrollBar* vertical = verticalScrollBar(form);
  ASSERT_NE(nullptr, vertical);
  EXPECT_TRUE(vertical->isVisible());
  EXPECT_EQ(platform::kScrollBarExtent, vertical->width()) << "the framework's scroll bar";
  EXPECT_EQ(390 - 200, vertical->maximum());
  low->SetVisible(false);
  EXPECT_FALSE(showsScrollBar(form)) << "a hidden control needs no room";
  low->SetVisible(true);
  low->SetTop(100);
  EXPECT_FALSE(showsScrollBar(form));
  low->SetTop(350);
  EXPECT_TRUE(showsScrollBar(form));
  delete low;
  EXPECT_FALSE(showsScrollBar(form));
}

// The vertical bar takes its width from the client area; controls that still fit beside it bring
// no horizontal bar.
TEST_F(ScrollingFormTest, ControlsBesideTheVerticalBarBringNoHorizontalOne) {
  square(300 - platform::kScrollBarExtent - 40, 350, clBlue);
  ASSERT_TRUE(showsScrollBar(form));
  EXPECT_TRUE(verticalScrollBar(form)->isVisible());
  EXPECT_FALSE(static_cast<QAbstractScrollArea*>(form.Widget())->horizontalScrollBar()->isVisible());
}

TEST_F(ScrollingFormTest, WithoutAutoScrollTheWindowNeverScrolls) {
  form.SetAutoScroll(false);
  square(10, 350, clBlue);
  EXPECT_FALSE(showsScrollBar(form));
}

TEST_F(ScrollingFormTest, ScrolledWindowShowsAndRoutesTheControlsBelowItsFoot) {
  TShape* low = square(10, 350, clBlue);
  ASSERT_TRUE(testing_support::scrollToTheFoot(form));
  const QPoint lowCentre = onScreen(QPoint(30, 370));
  ASSERT_TRUE(QRect(0, 0, 300, 200).contains(lowCentre)) << "scrolled into view";
  const QImage shown = form.Widget()->grab().toImage();
  EXPECT_EQ(QColor(0, 0, 255), testing_support::pixelAt(shown, lowCentre.x(), lowCentre.y()));

  // The pointer comes through the window system, at the place where the square shows.
  QWindow* window = form.Widget()->windowHandle();
  QTest::mouseMove(window, onScreen(QPoint(5, 300)));
  moves.clear();
  QTest::mouseMove(window, onScreen(QPoint(15, 355)));
  ASSERT_EQ(1u, moves.size());
  EXPECT_EQ(low, moves[0].sender);
  EXPECT_EQ(QPoint(5, 5), moves[0].at);
}

// --- the application object ---

class ApplicationTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::setApplicationTitle(""); }
  TApplication application;
};

TEST_F(ApplicationTest, ConstructorMakesItTheApplication) { EXPECT_EQ(&application, Application); }

// Records, from inside its constructor, what the caller's pointer held at that moment.
struct SeenForm : TForm {
  static SeenForm* reference;
  static bool referenceWasThis;
  static bool throwFromConstructor;
  explicit SeenForm(TComponent* owner) : TForm(owner) {
    referenceWasThis = reference == this;
    auto* label = new TLabel(this);  // owned: must not leak when the constructor throws
    label->SetParent(this);
    if (throwFromConstructor) throw std::runtime_error("cannot open");
  }
};
SeenForm* SeenForm::reference = nullptr;
bool SeenForm::referenceWasThis = false;
bool SeenForm::throwFromConstructor = false;

TEST_F(ApplicationTest, CreateFormStoresThePointerBeforeTheConstructorRuns) {
  SeenForm::throwFromConstructor = false;
  application.CreateForm(SeenForm::reference);
  EXPECT_TRUE(SeenForm::referenceWasThis);
  EXPECT_EQ(SeenForm::reference, application.MainForm());
  EXPECT_EQ(1, application.ComponentCount());
  EXPECT_FALSE(SeenForm::reference->Visible());

  TForm* second = nullptr;
  application.CreateForm(second);
  EXPECT_EQ(SeenForm::reference, application.MainForm());
  EXPECT_EQ(2, application.ComponentCount());
}

TEST_F(ApplicationTest, CreateFormClearsThePointerWhenTheConstructorThrows) {
  SeenForm::throwFromConstructor = true;
  SeenForm::reference = nullptr;
  EXPECT_THROW(application.CreateForm(SeenForm::reference), std::runtime_error);
  SeenForm::throwFromConstructor = false;
  EXPECT_TRUE(SeenForm::referenceWasThis);
  EXPECT_EQ(nullptr, SeenForm::reference);
  EXPECT_EQ(nullptr, application.MainForm());
  EXPECT_EQ(0, application.ComponentCount());
}

TEST_F(ApplicationTest, RunShowsTheMainWindowAndEndsWhenItCloses) {
  TForm* main = nullptr;
  TForm* details = nullptr;
  application.CreateForm(main);
  application.CreateForm(details);
  std::vector<std::string> seen;
  QTimer::singleShot(0, [&] {
    seen.push_back(main->Widget()->isVisible() ? "main shown" : "main hidden");
    details->Show();
    details->Close();  // another window's closing goes on
    QTimer::singleShot(0, [&] {
      seen.push_back("still running");
      main->Close();
    });
  });
  application.Run();
  EXPECT_EQ((std::vector<std::string>{"main shown", "still running"}), seen);
  EXPECT_FALSE(main->Visible());
}

TEST_F(ApplicationTest, RunWithoutAMainWindowReturnsAtOnce) { application.Run(); }

TEST_F(ApplicationTest, TerminateBeforeRunEndsItAtOnce) {
  TForm* main = nullptr;
  application.CreateForm(main);
  application.Terminate();
  application.Run();
  EXPECT_TRUE(application.Terminated());
}

TEST_F(ApplicationTest, DeletedMainWindowStopsBeingTheMainWindow) {
  TForm* main = nullptr;
  application.CreateForm(main);
  delete main;
  EXPECT_EQ(nullptr, application.MainForm());
  EXPECT_EQ(0, application.ComponentCount());
}

TEST_F(ApplicationTest, TitleIsTheCaptionOfTheBoxes) {
  RecordedBoxes boxes;
  application.SetTitle("VELDO - Katalog Produkt\xF3w");
  EXPECT_EQ(AnsiString("VELDO - Katalog Produkt\xF3w"), application.Title());
  ShowMessage("Hello");
  const Exception exception("Cannot open file data\\lg_de.dat");
  application.ShowException(&exception);
  ASSERT_EQ(2u, boxes.requests().size());
  EXPECT_EQ(platform::BoxKind::Message, boxes.requests()[0].kind);
  EXPECT_EQ(AnsiString("VELDO - Katalog Produkt\xF3w"), boxes.requests()[0].caption);
  EXPECT_EQ(AnsiString("VELDO - Katalog Produkt\xF3w"), boxes.requests()[1].caption);
}

struct ExceptionTextCase {
  const char* label;
  const char* message;
  const char* shown;
};

class ExceptionBoxTest : public ApplicationTest, public ::testing::WithParamInterface<ExceptionTextCase> {};

TEST_P(ExceptionBoxTest, ShowsTheMessageWithAStopIconAndTheDotRule) {
  RecordedBoxes boxes;
  const Exception exception(GetParam().message);
  application.ShowException(&exception);
  ASSERT_EQ(1u, boxes.requests().size());
  EXPECT_EQ(platform::BoxKind::Exception, boxes.requests()[0].kind);
  EXPECT_EQ(MB_ICONSTOP, boxes.requests()[0].flags & 0xF0);
  EXPECT_EQ(AnsiString(GetParam().shown), boxes.requests()[0].text);
}

const ExceptionTextCase kExceptionTexts[] = {
    {"FileName", "Cannot open file data\\lg_de.dat", "Cannot open file data\\lg_de.dat."},
    {"InvalidBitmap", "Bitmap image is not valid", "Bitmap image is not valid."},
    {"Empty", "", ""},
    {"EndsWithDot", "Done.", "Done."},
    {"EndsWithQuestionMark", "Why?", "Why?."},
    {"EndsWithComma", "one,", "one,"},
    {"EndsWithHyphen", "a-", "a-"},
    {"EndsWithLetterAboveAscii", "Ilo\x9C\xE6", "Ilo\x9C\xE6."},
};

INSTANTIATE_TEST_SUITE_P(Texts, ExceptionBoxTest, ::testing::ValuesIn(kExceptionTexts),
                         [](const auto& info) { return std::string(info.param.label); });

struct MessageBoxCase {
  const char* label;
  unsigned flags;
  int answer;
};

class MessageBoxTest : public ApplicationTest, public ::testing::WithParamInterface<MessageBoxCase> {};

TEST_P(MessageBoxTest, PassesTextCaptionAndFlagsAndReturnsTheAnswer) {
  RecordedBoxes boxes(GetParam().answer);
  EXPECT_EQ(GetParam().answer, application.MessageBox("Select exhaust system before viewing details.",
                                                      "ERROR", GetParam().flags));
  ASSERT_EQ(1u, boxes.requests().size());
  const platform::BoxRequest& request = boxes.requests()[0];
  EXPECT_EQ(platform::BoxKind::MessageBox, request.kind);
  EXPECT_EQ(GetParam().flags, request.flags);
  EXPECT_EQ(AnsiString("Select exhaust system before viewing details."), request.text);
  EXPECT_EQ(AnsiString("ERROR"), request.caption);
}

const MessageBoxCase kMessageBoxes[] = {
    {"Warning", MB_OK | MB_ICONEXCLAMATION, IDOK},
    {"QuestionYes", MB_YESNO | MB_ICONQUESTION, IDYES},
    {"QuestionNo", MB_YESNO | MB_ICONQUESTION, IDNO},
    {"Information", MB_OK | MB_ICONINFORMATION, IDOK},
};

INSTANTIATE_TEST_SUITE_P(Flags, MessageBoxTest, ::testing::ValuesIn(kMessageBoxes),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ApplicationTest, NullTextsGiveEmptyBoxTexts) {
  RecordedBoxes boxes;
  application.MessageBox(nullptr, nullptr, MB_OK);
  application.ShowException(nullptr);
  ASSERT_EQ(2u, boxes.requests().size());
  EXPECT_EQ(AnsiString(""), boxes.requests()[0].text);
  EXPECT_EQ(AnsiString(""), boxes.requests()[1].text);
}

// --- the real boxes keep the event loop running ---

// How long a test waits for a box to open, or holds one open for something to happen.
constexpr int kBoxWaitMs = 10000;

// Presses the button of the open modal box whose text is given, once one opens within the
// deadline. A box without that button fails the test and is answered with its first button
// instead: nothing else would close it, and the test would wait in its loop for ever.
void pressWhenOpen(const QString& buttonText, bool* pressed,
                   QDeadlineTimer deadline = QDeadlineTimer(kBoxWaitMs)) {
  QTimer::singleShot(20, [buttonText, pressed, deadline] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      if (!deadline.hasExpired()) pressWhenOpen(buttonText, pressed, deadline);
      return;
    }
    QStringList seen;
    for (QAbstractButton* button : box->buttons()) {
      if (button->text().remove('&') == buttonText) {
        *pressed = true;
        button->click();
        return;
      }
      seen << button->text();
    }
    ADD_FAILURE() << "the box has no button " << buttonText.toStdString() << ", only "
                  << seen.join(", ").toStdString();
    box->buttons().value(0)->click();
  });
}

TEST_F(ApplicationTest, TimersRunWhileARealBoxIsOpen) {
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
  timer.start(5);
  bool pressed = false;
  // The box is answered once the timer has ticked while it is open, or when the ticks have not
  // come in time.
  const QDeadlineTimer deadline(kBoxWaitMs);
  std::function<void()> answer = [&] {
    if (ticks < 3 && !deadline.hasExpired()) {
      QTimer::singleShot(10, answer);
      return;
    }
    pressWhenOpen("OK", &pressed);
  };
  QTimer::singleShot(0, answer);
  ShowMessage("Busy");
  EXPECT_TRUE(pressed);
  EXPECT_GE(ticks, 3);
}

// What the open modal box showed, read once it is open; the box is then answered with its first
// button.
struct ShownBox {
  bool seen = false;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  Qt::TextFormat format = Qt::AutoText;
  QString title;
  QString text;
};

void readWhenOpen(ShownBox* shown, QDeadlineTimer deadline = QDeadlineTimer(kBoxWaitMs)) {
  QTimer::singleShot(20, [shown, deadline] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      if (!deadline.hasExpired()) readWhenOpen(shown, deadline);
      return;
    }
    shown->seen = true;
    shown->icon = box->icon();
    shown->buttons = box->standardButtons();
    shown->format = box->textFormat();
    shown->title = box->windowTitle();
    shown->text = box->text();
    box->buttons().value(0)->click();
  });
}

// A text that Qt would take for markup; the box must show it as it is.
constexpr const char* kMarkupText = "<b>Katalog</b> 1 < 2";

struct RealBoxCase {
  const char* label;
  std::function<void(TApplication&)> show;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
  const char* title;
  const char* text;
};

class RealBoxTest : public ApplicationTest, public ::testing::WithParamInterface<RealBoxCase> {};

TEST_P(RealBoxTest, ShowsTheIconButtonsAndPlainTextOfItsKind) {
  const RealBoxCase& c = GetParam();
  application.SetTitle("Katalog");
  ShownBox shown;
  readWhenOpen(&shown);
  c.show(application);
  ASSERT_TRUE(shown.seen);
  EXPECT_EQ(c.icon, shown.icon);
  EXPECT_EQ(c.buttons, shown.buttons);
  EXPECT_EQ(Qt::PlainText, shown.format);
  EXPECT_EQ(QString(c.title), shown.title);
  EXPECT_EQ(QString(c.text), shown.text);
}

const RealBoxCase kRealBoxes[] = {
    {"ShowMessage", [](TApplication&) { ShowMessage(kMarkupText); }, QMessageBox::NoIcon, QMessageBox::Ok,
     "Katalog", kMarkupText},
    {"Warning", [](TApplication& a) { a.MessageBox(kMarkupText, "ERROR", 0x30); }, QMessageBox::Warning,
     QMessageBox::Ok, "ERROR", kMarkupText},
    {"Question", [](TApplication& a) { a.MessageBox(kMarkupText, "Update", 0x24); }, QMessageBox::Question,
     QMessageBox::Yes | QMessageBox::No, "Update", kMarkupText},
    {"Information", [](TApplication& a) { a.MessageBox(kMarkupText, "Info", 0x40); },
     QMessageBox::Information, QMessageBox::Ok, "Info", kMarkupText},
    {"Exception",
     [](TApplication& a) {
       const Exception exception(kMarkupText);
       a.ShowException(&exception);
     },
     QMessageBox::Critical, QMessageBox::Ok, "Katalog", "<b>Katalog</b> 1 < 2."},
};

INSTANTIATE_TEST_SUITE_P(Kinds, RealBoxTest, ::testing::ValuesIn(kRealBoxes),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ApplicationTest, BoxHandlerMayReplaceItselfWhileItRuns) {
  std::vector<std::string> shown;
  const std::string name = "first handler, long enough to live on the heap";
  const platform::BoxHandler previous =
      platform::setBoxHandler([&shown, name](const platform::BoxRequest& request) {
        platform::setBoxHandler([&shown](const platform::BoxRequest& next) {
          shown.push_back("second: " + next.text.str());
          return IDOK;
        });
        shown.push_back(name + ": " + request.text.str());
        return IDYES;
      });
  EXPECT_EQ(IDYES, application.MessageBox("one", "", MB_YESNO));
  ShowMessage("two");
  platform::setBoxHandler(previous);
  EXPECT_EQ((std::vector<std::string>{name + ": one", "second: two"}), shown);
}

TEST_F(ApplicationTest, RealMessageBoxReturnsTheButtonPressed) {
  bool pressed = false;
  pressWhenOpen("Yes", &pressed);
  EXPECT_EQ(IDYES, application.MessageBox("Really?", "Question", MB_YESNO | MB_ICONQUESTION));
  EXPECT_TRUE(pressed);
  pressed = false;
  pressWhenOpen("No", &pressed);
  EXPECT_EQ(IDNO, application.MessageBox("Really?", "Question", MB_YESNO | MB_ICONQUESTION));
  EXPECT_TRUE(pressed);
}

}  // namespace
