// The standard windowed controls: only the user's own actions raise their events, the texts meet
// Qt in the build's code page, and each control's widget sits at its client-pixel bounds.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/WidgetTesting.h"
#include "platform/CodePage.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"

namespace {

using testing_support::RecordedBoxes;

// A shown window with one control of each kind, three entries in the combo box, and a count of
// every event the controls raise.
class StdControlsTest : public ::testing::Test {
 public:
  void SetUp() override {
    platform::setAnsiCodePage(1252);
    form.SetClientWidth(400);
    form.SetClientHeight(300);
    combo = new TComboBox(&form);
    combo->SetStyle(csDropDownList);
    combo->SetBounds(10, 10, 150, 21);
    combo->SetParent(&form);
    combo->AddItem("first", nullptr);
    combo->AddItem("second", nullptr);
    combo->AddItem("third", nullptr);
    check = new TCheckBox(&form);
    check->SetBounds(10, 40, 100, 17);
    check->SetCaption("Diesel");
    check->SetParent(&form);
    edit = new TEdit(&form);
    edit->SetBounds(10, 70, 120, 21);
    edit->SetParent(&form);
    button = new TButton(&form);
    button->SetBounds(10, 100, 75, 25);
    button->SetCaption("Search");
    button->SetParent(&form);

    combo->OnChange = [this](TObject* sender) { events.push_back(sender == combo ? "combo" : "combo?"); };
    check->OnClick = [this](TObject* sender) { events.push_back(sender == check ? "check" : "check?"); };
    button->OnClick = [this](TObject* sender) { events.push_back(sender == button ? "button" : "button?"); };
    edit->OnKeyPress = [this](TObject*, char& key) {
      keys.push_back(key);
      if (replaceKey) key = *replaceKey;
    };
    form.Show();
  }

  // Opens the combo box's list and picks the entry with the keyboard, as a user does.
  void pickFromList(int index) {
    QComboBox* widget = combo->ComboWidget();
    widget->showPopup();
    QAbstractItemView* view = widget->view();
    view->setCurrentIndex(view->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
  }

  TForm form{nullptr};
  TComboBox* combo = nullptr;
  TCheckBox* check = nullptr;
  TEdit* edit = nullptr;
  TButton* button = nullptr;
  std::vector<std::string> events;
  std::vector<char> keys;
  std::optional<char> replaceKey;
};

struct CodeChange {
  const char* label;
  std::function<void(StdControlsTest&)> change;
};

class CodeChangeTest : public StdControlsTest, public ::testing::WithParamInterface<CodeChange> {};

TEST_P(CodeChangeTest, RaisesNoHandler) {
  GetParam().change(*this);
  QCoreApplication::processEvents();
  EXPECT_TRUE(events.empty()) << events.front();
  EXPECT_TRUE(keys.empty());
}

const CodeChange kCodeChanges[] = {
    {"ItemIndex", [](StdControlsTest& t) { t.combo->SetItemIndex(2); }},
    {"ItemIndexToNone", [](StdControlsTest& t) { t.combo->SetItemIndex(-1); }},
    {"AddItem", [](StdControlsTest& t) { t.combo->AddItem("fourth", nullptr); }},
    {"ItemsDelete",
     [](StdControlsTest& t) {
       t.combo->SetItemIndex(2);
       t.combo->Items()->Delete(0);
     }},
    {"Clear", [](StdControlsTest& t) { t.combo->Clear(); }},
    {"Checked", [](StdControlsTest& t) { t.check->SetChecked(true); }},
    {"Unchecked",
     [](StdControlsTest& t) {
       t.check->SetChecked(true);
       t.check->SetChecked(false);
     }},
    {"EditText", [](StdControlsTest& t) { t.edit->SetText("12345"); }},
    {"Caption", [](StdControlsTest& t) { t.button->SetCaption("Details"); }},
    {"Disable", [](StdControlsTest& t) { t.check->SetEnabled(false); }},
};

INSTANTIATE_TEST_SUITE_P(Controls, CodeChangeTest, ::testing::ValuesIn(kCodeChanges),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(StdControlsTest, PickingAnEntryRaisesOnChangeWithTheNewIndex) {
  combo->SetItemIndex(0);
  int indexSeen = -2;
  combo->OnChange = [&](TObject*) { indexSeen = combo->ItemIndex(); };
  pickFromList(2);
  EXPECT_EQ(2, indexSeen);
  EXPECT_EQ(AnsiString("third"), combo->Text());
}

TEST_F(StdControlsTest, PickingTheSelectedEntryAgainRaisesOnChangeAgain) {
  pickFromList(1);
  pickFromList(1);
  EXPECT_EQ((std::vector<std::string>{"combo", "combo"}), events);
  EXPECT_EQ(1, combo->ItemIndex());
}

TEST_F(StdControlsTest, KeyboardStepInTheClosedBoxRaisesOnChange) {
  combo->SetItemIndex(0);
  QTest::keyClick(combo->ComboWidget(), Qt::Key_Down);
  EXPECT_EQ((std::vector<std::string>{"combo"}), events);
  EXPECT_EQ(1, combo->ItemIndex());
}

TEST_F(StdControlsTest, ClickingTheCheckBoxTogglesItAndRaisesOnClick) {
  QTest::mouseClick(check->CheckWidget(), Qt::LeftButton);
  EXPECT_TRUE(check->Checked());
  QTest::mouseClick(check->CheckWidget(), Qt::LeftButton);
  EXPECT_FALSE(check->Checked());
  EXPECT_EQ((std::vector<std::string>{"check", "check"}), events);
}

TEST_F(StdControlsTest, ClickingTheButtonRaisesOnClick) {
  QTest::mouseClick(button->ButtonWidget(), Qt::LeftButton);
  EXPECT_EQ((std::vector<std::string>{"button"}), events);
}

TEST_F(StdControlsTest, ClickOnADisabledButtonRaisesNothing) {
  button->SetEnabled(false);
  QTest::mouseClick(button->ButtonWidget(), Qt::LeftButton);
  EXPECT_TRUE(events.empty());
}

TEST_F(StdControlsTest, TypedCharactersReachOnKeyPressAndThenTheBox) {
  QTest::keyClicks(edit->EditWidget(), "ab1");
  EXPECT_EQ((std::vector<char>{'a', 'b', '1'}), keys);
  EXPECT_EQ(AnsiString("ab1"), edit->Text());
}

TEST_F(StdControlsTest, EnterComesAs13) {
  QTest::keyClick(edit->EditWidget(), Qt::Key_Return);
  QTest::keyClick(edit->EditWidget(), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ((std::vector<char>{13, 13}), keys);
}

TEST_F(StdControlsTest, AKeySetToZeroByTheHandlerIsSwallowed) {
  replaceKey = 0;
  QTest::keyClicks(edit->EditWidget(), "xy");
  EXPECT_EQ(2u, keys.size());
  EXPECT_EQ(AnsiString(""), edit->Text());
}

TEST_F(StdControlsTest, AKeyReplacedByTheHandlerGoesToTheBoxInstead) {
  replaceKey = 'Z';
  QTest::keyClicks(edit->EditWidget(), "ab");
  EXPECT_EQ(AnsiString("ZZ"), edit->Text());
}

TEST_F(StdControlsTest, ANonAsciiKeyComesAsItsCodePageCharacter) {
  QTest::sendKeyEvent(QTest::Click, edit->EditWidget(), Qt::Key_unknown, QString::fromUtf8("ä"),
                      Qt::NoModifier);
  ASSERT_EQ(1u, keys.size());
  EXPECT_EQ(static_cast<char>(0xE4), keys[0]);
  EXPECT_EQ(QString::fromUtf8("ä"), edit->EditWidget()->text());
  EXPECT_EQ(AnsiString("\xE4"), edit->Text());
}

TEST_F(StdControlsTest, AnExceptionFromAHandlerIsShownAndStopsThere) {
  RecordedBoxes boxes;
  button->OnClick = [](TObject*) { throw Exception("Boom"); };
  QTest::mouseClick(button->ButtonWidget(), Qt::LeftButton);
  ASSERT_EQ(1u, boxes.requests().size());
  EXPECT_EQ(platform::BoxKind::Exception, boxes.requests()[0].kind);
  EXPECT_EQ(AnsiString("Boom."), boxes.requests()[0].text);
}

struct DropDownCase {
  const char* label;
  int entries;
  int dropDownCount;
  int rowsShown;
  bool scrollBar;
};

class DropDownTest : public StdControlsTest, public ::testing::WithParamInterface<DropDownCase> {};

TEST_P(DropDownTest, ListDropsDownBelowTheBoxWithAtMostDropDownCountRows) {
  const DropDownCase& c = GetParam();
  combo->Clear();
  for (int i = 0; i < c.entries; ++i) combo->AddItem(AnsiString(1950 + i), nullptr);
  combo->SetItemIndex(0);
  combo->SetDropDownCount(c.dropDownCount);
  EXPECT_FALSE(combo->ComboWidget()->isEditable());
  const testing_support::OpenedList opened = testing_support::openDropDown(*combo);
  EXPECT_EQ(c.rowsShown, opened.rowsShown);
  EXPECT_EQ(c.scrollBar, opened.scrollBar);
  EXPECT_TRUE(opened.belowTheBox);
}

const DropDownCase kDropDowns[] = {
    {"LongerThanItsCount", 36, 14, 14, true},
    {"MakesOfALongList", 40, 20, 20, true},
    {"ExactlyItsCount", 14, 14, 14, false},
    {"ShorterThanItsCount", 5, 14, 5, false},
};

INSTANTIATE_TEST_SUITE_P(Lists, DropDownTest, ::testing::ValuesIn(kDropDowns),
                         [](const auto& info) { return std::string(info.param.label); });

// The wheel goes to the list that has the focus: turned over another list it changes nothing.
TEST_F(StdControlsTest, WheelStepsOnlyTheListThatHasTheFocus) {
  auto* other = new TComboBox(&form);
  other->SetStyle(csDropDownList);
  other->SetBounds(200, 10, 150, 21);
  other->SetParent(&form);
  other->AddItem("a", nullptr);
  other->AddItem("b", nullptr);
  other->SetItemIndex(0);
  combo->SetItemIndex(0);
  QApplication::setActiveWindow(form.Widget());

  const auto wheelDownOver = [](TComboBox* list) {
    QWidget* widget = list->ComboWidget();
    const QPointF centre = QRectF(widget->rect()).center();
    QWheelEvent wheel(centre, widget->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
  };

  other->SetFocus();
  ASSERT_TRUE(other->Focused());
  wheelDownOver(combo);
  EXPECT_EQ(0, combo->ItemIndex());
  EXPECT_TRUE(events.empty());

  combo->SetFocus();
  ASSERT_TRUE(combo->Focused());
  wheelDownOver(combo);
  EXPECT_EQ(1, combo->ItemIndex());
  EXPECT_EQ(std::vector<std::string>{"combo"}, events) << "a step of the wheel is the user's pick";
  EXPECT_EQ(0, other->ItemIndex());
}

TEST_F(StdControlsTest, AddItemKeepsTheSelection) {
  combo->SetItemIndex(1);
  combo->AddItem("fourth", nullptr);
  EXPECT_EQ(1, combo->ItemIndex());
  EXPECT_EQ(4, combo->ComboWidget()->count());
  EXPECT_EQ(QString("fourth"), combo->ComboWidget()->itemText(3));
}

TEST_F(StdControlsTest, AddItemToAnEmptyListSelectsNothing) {
  combo->Clear();
  combo->AddItem("first", nullptr);
  combo->AddItem("second", nullptr);
  EXPECT_EQ(-1, combo->ItemIndex());
  EXPECT_EQ(AnsiString(""), combo->Text());
}

TEST_F(StdControlsTest, ClearRemovesEntriesAndText) {
  combo->SetItemIndex(1);
  combo->Clear();
  EXPECT_EQ(0, combo->ComboWidget()->count());
  EXPECT_EQ(0, combo->Items()->Count());
  EXPECT_EQ(-1, combo->ItemIndex());
  EXPECT_EQ(AnsiString(""), combo->Text());
  EXPECT_EQ(QString(), combo->ComboWidget()->currentText());
}

TEST_F(StdControlsTest, ItemIndexOutsideTheListSelectsNothing) {
  combo->SetItemIndex(1);
  combo->SetItemIndex(3);
  EXPECT_EQ(-1, combo->ItemIndex());
  EXPECT_EQ(AnsiString(""), combo->Text());
}

TEST_F(StdControlsTest, ItemsOutOfBoundsRaiseTheListError) {
  try {
    combo->Items()->Strings(3);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(AnsiString("List index out of bounds (3)"), e.Message);
  }
}

TEST_F(StdControlsTest, WidgetsSitAtTheirClientPixelBounds) {
  EXPECT_EQ(QRect(10, 10, 150, 21), combo->Widget()->geometry());
  EXPECT_EQ(QRect(10, 100, 75, 25), button->Widget()->geometry());
  EXPECT_EQ(form.ClientWidget(), button->Widget()->parentWidget());
  button->SetLeft(200);
  EXPECT_EQ(QRect(200, 100, 75, 25), button->Widget()->geometry());
}

TEST_F(StdControlsTest, HiddenAndDisabledControlsHideAndDisableTheirWidgets) {
  check->SetVisible(false);
  edit->SetEnabled(false);
  EXPECT_FALSE(check->Widget()->isVisible());
  EXPECT_FALSE(edit->Widget()->isEnabled());
}

TEST_F(StdControlsTest, EditBoxKeepsItsOwnCursor) {
  EXPECT_EQ(Qt::IBeamCursor, edit->Widget()->cursor().shape());
  edit->SetCursor(crHandPoint);
  EXPECT_EQ(Qt::PointingHandCursor, edit->Widget()->cursor().shape());
}

// --- text colour ---

// One control of a kind in a shown window, with a plain Qt widget of the same kind, text, font and
// size beside it in a window of its own: what a disabled control of the desktop looks like.
struct TextColourCase {
  const char* label;
  std::function<TWinControl*(TForm&)> make;
  std::function<QWidget*()> plain;
};

void PrintTo(const TextColourCase& c, std::ostream* out) { *out << c.label; }

class TextColourTest : public ::testing::TestWithParam<TextColourCase> {
 protected:
  void SetUp() override {
    form.SetClientWidth(200);
    form.SetClientHeight(60);
    control = GetParam().make(form);
    control->SetBounds(10, 10, 120, 25);
    control->Font()->SetHeight(-13);
    control->Font()->SetStyle(fsBold);
    control->Font()->SetColor(clRed);
    control->SetParent(&form);
    form.Show();

    plainWindow.resize(200, 60);
    plain = GetParam().plain();
    plain->setParent(&plainWindow);
    plain->setGeometry(10, 10, 120, 25);
    plain->setFont(platform::toQFont(*control->Font()));
    plainWindow.show();
  }

  static QImage shot(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }

  static int redPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x)
        count += testing_support::near(image.pixelColor(x, y), Qt::red, 60);
    }
    return count;
  }

  TForm form{nullptr};
  TWinControl* control = nullptr;
  QWidget plainWindow;
  QWidget* plain = nullptr;
};

TEST_P(TextColourTest, EnabledControlShowsItsFontColour) {
  EXPECT_GT(redPixels(shot(control->Widget())), 10);
}

TEST_P(TextColourTest, DisabledControlLooksLikeAPlainDisabledOne) {
  control->SetEnabled(false);
  plain->setEnabled(false);
  const QImage disabled = shot(control->Widget());
  EXPECT_EQ(redPixels(disabled), 0);
  EXPECT_TRUE(disabled == shot(plain)) << "differs from a plain disabled widget";
}

TEST_P(TextColourTest, FontColourSetWhileDisabledShowsOnceEnabledAgain) {
  control->SetEnabled(false);
  control->Font()->SetColor(clBlue);
  plain->setEnabled(false);
  EXPECT_TRUE(shot(control->Widget()) == shot(plain));
  control->SetEnabled(true);
  const QImage enabled = shot(control->Widget());
  int blue = 0;
  for (int y = 0; y < enabled.height(); ++y) {
    for (int x = 0; x < enabled.width(); ++x)
      blue += testing_support::near(enabled.pixelColor(x, y), Qt::blue, 60);
  }
  EXPECT_GT(blue, 10);
}

const TextColourCase kTextColourCases[] = {
    {"ComboBox",
     [](TForm& form) {
       auto* combo = new TComboBox(&form);
       combo->SetStyle(csDropDownList);
       combo->AddItem("Volvo", nullptr);
       combo->SetItemIndex(0);
       return combo;
     },
     [] {
       auto* combo = new QComboBox;
       combo->addItem("Volvo");
       return combo;
     }},
    {"CheckBox",
     [](TForm& form) {
       auto* check = new TCheckBox(&form);
       check->SetCaption("Diesel");
       return check;
     },
     [] { return new QCheckBox("Diesel"); }},
    {"Button",
     [](TForm& form) {
       auto* button = new TButton(&form);
       button->SetCaption("Details");
       return button;
     },
     [] { return new QPushButton("Details"); }},
    {"Edit",
     [](TForm& form) {
       auto* edit = new TEdit(&form);
       edit->SetText("4711");
       return edit;
     },
     [] { return new QLineEdit("4711"); }},
};

INSTANTIATE_TEST_SUITE_P(Controls, TextColourTest, ::testing::ValuesIn(kTextColourCases),
                         [](const auto& info) { return std::string(info.param.label); });

// --- code pages ---

struct CodePageCase {
  const char* label;
  int codePage;
  const char* utf8;
  const char* ansi;
};

class CodePageTest : public StdControlsTest, public ::testing::WithParamInterface<CodePageCase> {
 protected:
  void TearDown() override { platform::setAnsiCodePage(1252); }
};

TEST_P(CodePageTest, ComboEntryRoundTripsThroughTheWidget) {
  platform::setAnsiCodePage(GetParam().codePage);
  const AnsiString text = AnsiString::FromUtf8(GetParam().utf8);
  ASSERT_EQ(AnsiString(GetParam().ansi), text);
  combo->Clear();
  combo->AddItem(text, nullptr);
  combo->AddItem("other", nullptr);
  EXPECT_EQ(QString::fromUtf8(GetParam().utf8), combo->ComboWidget()->itemText(0));

  pickFromList(0);
  EXPECT_EQ(text, combo->Text());
}

TEST_P(CodePageTest, CaptionsAndEditTextMeetQtInUnicode) {
  platform::setAnsiCodePage(GetParam().codePage);
  const AnsiString text(GetParam().ansi);
  check->SetCaption(text);
  button->SetCaption(text);
  edit->SetText(text);
  EXPECT_EQ(QString::fromUtf8(GetParam().utf8), check->CheckWidget()->text());
  EXPECT_EQ(QString::fromUtf8(GetParam().utf8), button->ButtonWidget()->text());
  EXPECT_EQ(QString::fromUtf8(GetParam().utf8), edit->EditWidget()->text());
  EXPECT_EQ(text, edit->Text());
}

const CodePageCase kCodePages[] = {
    {"Polish1250", 1250, "Wybierz markę", "Wybierz mark\xEA"},
    {"German1252", 1252, "Marke auswählen", "Marke ausw\xE4hlen"},
};

INSTANTIATE_TEST_SUITE_P(Builds, CodePageTest, ::testing::ValuesIn(kCodePages),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(StdControlsTest, TypedPolishLetterComesAs1250Character) {
  platform::setAnsiCodePage(1250);
  QTest::sendKeyEvent(QTest::Click, edit->EditWidget(), Qt::Key_unknown, QString::fromUtf8("ę"),
                      Qt::NoModifier);
  platform::setAnsiCodePage(1252);
  ASSERT_EQ(1u, keys.size());
  EXPECT_EQ(static_cast<char>(0xEA), keys[0]);
}

}  // namespace
