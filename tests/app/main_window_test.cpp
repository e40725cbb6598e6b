// The main window after its constructor: the designed layout of the build, the first state of
// every control, the event bindings and the fixed layout of the details window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QWidget>
#include <algorithm>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/support/CatalogRun.h"
#include "common/WidgetTesting.h"
#include "forms/Layouts.h"
#include "forms/Texts.h"

namespace {

// The designed font of a control: the window's, bold, or large bold.
enum class Font { Window, Bold, Large };

struct ExpectedControl {
  const char* name;
  TControl* (*control)(TForm1*);
  int left;
  int top;
  int width;  // as designed; a label that sizes itself to its caption keeps only its place
  int height;
  bool sizesItself;
  Font font;
  const char* caption;  // UTF-8; null for controls without one
};

#define CONTROL(member) #member, [](TForm1 * form) -> TControl* { return form->member; }

#if CATALOG_POLISH
const ExpectedControl kLayout[] = {
    {CONTROL(Label1), 13, 12, 40, 13, true, Font::Bold, "Marka:"},
    {CONTROL(Label2), 216, 12, 39, 13, true, Font::Bold, "Model:"},
    {CONTROL(Label3), 424, 12, 86, 13, true, Font::Bold, "Lata produkcji:"},
    {CONTROL(Label4), 635, 12, 36, 13, true, Font::Bold, "Silnik:"},
    {CONTROL(Label5), 2, 69, 777, 16, false, Font::Large,
     "Aby wyszukać interesujący Cię układ, użyj powyższego formularza."},
    {CONTROL(Label6), 5, 93, 776, 13, false, Font::Window,
     "Aby zobaczyć szczegóły interesującego Cię układu, wybierz go z poniższej listy a następnie kliknij w "
     "przycisk \"Pokaż szczegóły\""},
    {CONTROL(Label7), 418, 45, 152, 13, true, Font::Bold, "Szukaj wg numeru wyrobu:"},
    {CONTROL(Shape1), 10, 308, 770, 214, false, Font::Window, nullptr},
    {CONTROL(Label8), 189, 535, 158, 13, true, Font::Window, "Ostatnia aktualizacja: 13.11.2017"},
    {CONTROL(Label9), 10, 535, 102, 13, true, Font::Bold, "VELDO.EXAMPLE"},
    {CONTROL(ComboBox1), 53, 8, 150, 21, false, Font::Bold, nullptr},
    {CONTROL(ListView1), 10, 112, 770, 191, false, Font::Window, nullptr},
    {CONTROL(Button4), 635, 529, 145, 28, false, Font::Large, "Pokaż szczegóły"},
    {CONTROL(ComboBox2), 256, 8, 150, 21, false, Font::Bold, nullptr},
    {CONTROL(ComboBox3), 510, 8, 108, 21, false, Font::Bold, nullptr},
    {CONTROL(ComboBox4), 673, 8, 108, 21, false, Font::Bold, nullptr},
    {CONTROL(CheckBox1), 10, 42, 97, 17, false, Font::Window, "Katalizator"},
    {CONTROL(CheckBox2), 122, 42, 58, 17, false, Font::Window, "Diesel"},
    {CONTROL(Edit1), 570, 41, 121, 21, false, Font::Window, nullptr},
    {CONTROL(Button1), 704, 40, 75, 25, false, Font::Window, "Szukaj"},
};
const char* const kMainCaption = "VELDO - Katalog Produktów";
const char* const kPlaceholders[] = {"Wybierz", "Wybierz markę", "Wybierz model", "Wybierz model"};
const char* const kColumns[] = {"Układ",          "Marka",  "Model", "Nadwozie",
                                "Lata produkcji", "Silnik", "",      "Dodatkowe"};
const char* const kHeaders[] = {"Typ", "Symbol", "Ilość"};
#else
const ExpectedControl kLayout[] = {
    {CONTROL(Label1), 13, 12, 40, 13, true, Font::Bold, "Marke:"},
    {CONTROL(Label2), 214, 12, 42, 13, true, Font::Bold, "Modell:"},
    {CONTROL(Label3), 439, 12, 48, 13, true, Font::Bold, "Baujahr:"},
    {CONTROL(Label4), 616, 12, 55, 13, true, Font::Bold, "Hubraum:"},
    {CONTROL(Label5), 2, 69, 777, 16, false, Font::Large,
     "Um passende Anlage zu finden, füllen Sie einfach das obige Formular aus."},
    {CONTROL(Label6), 5, 93, 776, 13, false, Font::Window,
     "Um alle Einzelheiten der interessanten Anlage zu sehen, wählen Sie in der nachstehenden Liste und "
     "klicken Sie den Druckknopf \"Details\""},
    {CONTROL(Label7), 324, 45, 244, 13, true, Font::Bold, "Suchen Anhand der Schalldämpfernummer:"},
    {CONTROL(Shape1), 10, 308, 770, 214, false, Font::Window, nullptr},
    {CONTROL(Label8), 189, 535, 104, 13, true, Font::Window, "Aktualität: 13.11.2017"},
    {CONTROL(Label9), 10, 535, 102, 13, true, Font::Bold, "VELDO.EXAMPLE"},
    {CONTROL(ComboBox1), 53, 8, 150, 21, false, Font::Bold, nullptr},
    {CONTROL(ListView1), 10, 112, 770, 191, false, Font::Window, nullptr},
    {CONTROL(Button4), 635, 529, 145, 28, false, Font::Large, "Details"},
    {CONTROL(ComboBox2), 256, 8, 150, 21, false, Font::Bold, nullptr},
    {CONTROL(ComboBox3), 488, 8, 108, 21, false, Font::Bold, nullptr},
    {CONTROL(ComboBox4), 673, 8, 108, 21, false, Font::Bold, nullptr},
    {CONTROL(CheckBox1), 10, 42, 97, 17, false, Font::Window, "Katalysator"},
    {CONTROL(CheckBox2), 122, 42, 58, 17, false, Font::Window, "Diesel"},
    {CONTROL(Edit1), 570, 41, 121, 21, false, Font::Window, nullptr},
    {CONTROL(Button1), 704, 40, 75, 25, false, Font::Window, "Suchen"},
};
const char* const kMainCaption = "med";
const char* const kPlaceholders[] = {"Auswählen", "Marke auswählen", "Modell auswählen", "Modell auswählen"};
const char* const kColumns[] = {"Abgasanlage", "Marke", "Modell", "Ausführung",
                                "Baujahr",     "Motor", "",       "Zusatzinformation"};
const char* const kHeaders[] = {"Typ", "Artikel", "Menge"};
#endif

#undef CONTROL

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.writeCatalogue(
        "INSERT INTO AUTA (ID_UKLAD, MKNM) VALUES ('1', 'Volvo'), ('2', 'Audi'), ('3', 'Audi'), ('4', "
        "NULL);");
    folder.writeLogo();
  }

  // Runs start-up and calls `check` with the main window inside the message loop.
  void withMainWindow(const std::function<void()>& check) {
    StartupRun run;
    bool checked = false;
    EXPECT_EQ(run.run([&] {
      ASSERT_NE(Form1, nullptr);
      check();
      checked = true;
    }),
              0);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(run.boxes.empty());
  }

  WorkingFolder folder;
};

std::string itemsOf(TComboBox* combo) {
  std::string items;
  for (int i = 0; i < combo->Items()->Count(); ++i) items += utf8(combo->Items()->Strings(i).c_str()) + "|";
  return items;
}

TEST_F(MainWindowTest, ControlsStandWhereTheLayoutPutsThemInTheirDesignedFonts) {
  withMainWindow([] {
    for (const ExpectedControl& expected : kLayout) {
      SCOPED_TRACE(expected.name);
      TControl* control = expected.control(Form1);
      ASSERT_NE(control, nullptr);
      EXPECT_EQ(control->Parent(), Form1);
      EXPECT_EQ(control->Left(), expected.left);
      EXPECT_EQ(control->Top(), expected.top);
      if (expected.sizesItself) {
        EXPECT_GT(control->Width(), 0);
        EXPECT_GT(control->Height(), 0);
      } else {
        EXPECT_EQ(control->Width(), expected.width);
        EXPECT_EQ(control->Height(), expected.height);
      }
      if (expected.caption != nullptr) {
        EXPECT_EQ(utf8(control->Caption().c_str()), expected.caption);
      }

      const TFont* font = control->Font();
      EXPECT_EQ(font->Name(), "MS Sans Serif");
      EXPECT_EQ(font->Height(), expected.font == Font::Large ? -13 : -11);
      EXPECT_EQ(font->Style(), expected.font == Font::Window ? 0 : fsBold);
      EXPECT_EQ(font->Color(), control == Form1->Label9 ? clNavy : clWindowText);
      EXPECT_EQ(font->Charset(), DEFAULT_CHARSET);
    }
  });
}

// Tab goes through the windowed controls in their designed TabOrder, 0 to 9.
TEST_F(MainWindowTest, TabKeyVisitsTheWindowedControlsInTheirDesignedOrder) {
  withMainWindow([] {
    const std::vector<TWinControl*> byTabOrder = {
        Form1->ComboBox1, Form1->ListView1, Form1->Button4,   Form1->ComboBox2, Form1->ComboBox3,
        Form1->ComboBox4, Form1->CheckBox1, Form1->CheckBox2, Form1->Edit1,     Form1->Button1,
    };
    std::vector<TWinControl*> visited;
    QWidget* widget = Form1->Widget();
    for (int step = 0; step < 1000 && visited.size() < byTabOrder.size(); ++step) {
      widget = widget->nextInFocusChain();
      for (TWinControl* control : byTabOrder) {
        const bool seen = std::find(visited.begin(), visited.end(), control) != visited.end();
        if (control->Widget() == widget && !seen) visited.push_back(control);
      }
    }
    EXPECT_EQ(visited, byTabOrder);
  });
}

TEST_F(MainWindowTest, WebAddressIsALinkOnTheButtonFace) {
  withMainWindow([] {
    EXPECT_EQ(Form1->Label9->Color(), clBtnFace);
    EXPECT_FALSE(Form1->Label9->ParentColor());
    EXPECT_EQ(Form1->Label8->Cursor(), crDefault);
  });
}

// Each list opened in the real widget with more entries than its designed count: the make list
// shows 20 rows, the others 14, below the box, with a scroll bar for the rest.
TEST_F(MainWindowTest, SelectionListsDropDownTheirDesignedNumberOfRows) {
  withMainWindow([] {
    const struct {
      TComboBox* combo;
      int rows;
    } kLists[] = {
        {Form1->ComboBox1, 20}, {Form1->ComboBox2, 14}, {Form1->ComboBox3, 14}, {Form1->ComboBox4, 14}};
    for (const auto& list : kLists) {
      SCOPED_TRACE(list.rows);
      EXPECT_EQ(list.combo->Style(), csDropDownList);
      for (int i = 0; i < 40; ++i) list.combo->AddItem(AnsiString(1950 + i), nullptr);
      list.combo->SetEnabled(true);
      const testing_support::OpenedList opened = testing_support::openDropDown(*list.combo);
      EXPECT_EQ(opened.rowsShown, list.rows);
      EXPECT_TRUE(opened.scrollBar);
      EXPECT_TRUE(opened.belowTheBox);
    }
  });
}

// The width that a caption takes in the control's font, and the room that the style gives the
// text of that control at its designed size.
struct CaptionRoom {
  int width;
  int room;
};

CaptionRoom roomInComboBox(TComboBox* combo, const AnsiString& text) {
  QComboBox* widget = combo->ComboWidget();
  QStyleOptionComboBox option;
  option.initFrom(widget);
  option.editable = false;
  option.currentText = QString::fromStdString(text.ToUtf8());
  // The style draws the shown entry one pixel inside its edit field on either side.
  const QRect field =
      widget->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, widget);
  return {widget->fontMetrics().horizontalAdvance(option.currentText), field.width() - 2};
}

template <class Button>
CaptionRoom roomInButton(Button* widget, QStyle::SubElement contents) {
  QStyleOptionButton option;
  option.initFrom(widget);
  option.text = widget->text();
  const QRect room = widget->style()->subElementRect(contents, &option, widget);
  return {widget->fontMetrics().horizontalAdvance(option.text), room.width()};
}

// A label's room is its designed width: one that sizes itself must not grow past it.
CaptionRoom roomInLabel(TLabel* label, int designedWidth) {
  const QFontMetrics metrics(platform::toQFont(*label->Font()));
  return {metrics.horizontalAdvance(QString::fromStdString(label->Caption().ToUtf8())), designedWidth};
}

TEST_F(MainWindowTest, EveryCaptionShowsWholeInItsDesignedPlace) {
  withMainWindow([] {
    const TextSet& text = texts();
    const struct {
      const char* label;
      CaptionRoom (*measure)(const TextSet&);
    } kCaptions[] = {
        {"make placeholder",
         [](const TextSet& t) { return roomInComboBox(Form1->ComboBox1, t.makePlaceholder); }},
        {"model placeholder",
         [](const TextSet& t) { return roomInComboBox(Form1->ComboBox2, t.modelPlaceholder); }},
        {"model placeholder without a make",
         [](const TextSet& t) { return roomInComboBox(Form1->ComboBox2, t.modelPlaceholderWithoutMake); }},
        {"year placeholder",
         [](const TextSet& t) { return roomInComboBox(Form1->ComboBox3, t.yearCapacityPlaceholder); }},
        {"capacity placeholder",
         [](const TextSet& t) { return roomInComboBox(Form1->ComboBox4, t.yearCapacityPlaceholder); }},
        {"year entry for all", [](const TextSet& t) { return roomInComboBox(Form1->ComboBox3, t.allEntry); }},
        {"capacity entry for all",
         [](const TextSet& t) { return roomInComboBox(Form1->ComboBox4, t.allEntry); }},
        {"year entry for all, interim",
         [](const TextSet& t) { return roomInComboBox(Form1->ComboBox3, t.interimAllEntry); }},
        {"details button",
         [](const TextSet&) {
           return roomInButton(Form1->Button4->ButtonWidget(), QStyle::SE_PushButtonContents);
         }},
        {"search button",
         [](const TextSet&) {
           return roomInButton(Form1->Button1->ButtonWidget(), QStyle::SE_PushButtonContents);
         }},
        {"catalyst filter",
         [](const TextSet&) {
           return roomInButton(Form1->CheckBox1->CheckWidget(), QStyle::SE_CheckBoxContents);
         }},
        {"diesel filter",
         [](const TextSet&) {
           return roomInButton(Form1->CheckBox2->CheckWidget(), QStyle::SE_CheckBoxContents);
         }},
    };
    for (const auto& caption : kCaptions) {
      const CaptionRoom measured = caption.measure(text);
      EXPECT_LE(measured.width, measured.room) << caption.label;
    }
    for (const ExpectedControl& expected : kLayout) {
      auto* label = dynamic_cast<TLabel*>(expected.control(Form1));
      if (label == nullptr) continue;
      const CaptionRoom measured = roomInLabel(label, expected.width);
      EXPECT_LE(measured.width, measured.room) << expected.name;
    }
  });
}

TEST_F(MainWindowTest, WindowIsFixedCentredAndCaptionedForTheBuild) {
  withMainWindow([] {
    EXPECT_EQ(utf8(Form1->Caption().c_str()), kMainCaption);
    EXPECT_EQ(utf8(Application->Title().c_str()), "VELDO - Katalog Produktów");
    EXPECT_EQ(Form1->ClientWidth(), 790);
    EXPECT_EQ(Form1->ClientHeight(), 560);
    EXPECT_EQ(Form1->BorderStyle(), bsSingle);
    EXPECT_EQ(Form1->BorderIcons(), biSystemMenu | biMinimize);
    EXPECT_TRUE(Form1->Visible());

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect window = Form1->Widget()->geometry();
    EXPECT_LE(std::abs(window.center().x() - screen.center().x()), kFrameBorder + 1);
    EXPECT_LE(std::abs(window.center().y() - screen.center().y()), kFrameCaption);
    EXPECT_EQ(Form1->Widget()->minimumSize(), Form1->Widget()->maximumSize());
    EXPECT_FALSE(testing_support::showsScrollBar(*Form1)) << "its controls fit";
  });
}

TEST_F(MainWindowTest, FirstStateHasOnlyTheMakeListAndTheNumberSearchOpen) {
  withMainWindow([] {
    // SQLite sorts NULL first; it shows as an empty entry.
    EXPECT_EQ(itemsOf(Form1->ComboBox1), std::string(kPlaceholders[0]) + "||Audi|Volvo|");
    EXPECT_EQ(Form1->ComboBox1->ItemIndex(), 0);
    EXPECT_TRUE(Form1->ComboBox1->Enabled());
    TComboBox* lower[] = {Form1->ComboBox2, Form1->ComboBox3, Form1->ComboBox4};
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i + 2);
      EXPECT_EQ(itemsOf(lower[i]), std::string(kPlaceholders[i + 1]) + "|");
      EXPECT_EQ(lower[i]->ItemIndex(), 0);
      EXPECT_FALSE(lower[i]->Enabled());
      EXPECT_EQ(lower[i]->Style(), csDropDownList);
    }
    EXPECT_FALSE(Form1->CheckBox1->Enabled());
    EXPECT_FALSE(Form1->CheckBox1->Checked());
    EXPECT_FALSE(Form1->CheckBox2->Enabled());
    EXPECT_FALSE(Form1->CheckBox2->Checked());
    EXPECT_FALSE(Form1->Button4->Enabled());
    EXPECT_TRUE(Form1->Edit1->Text().IsEmpty());
    EXPECT_TRUE(Form1->Edit1->Enabled());
    EXPECT_TRUE(Form1->Button1->Enabled());
    EXPECT_TRUE(Form1->ListView1->Enabled());
    EXPECT_EQ(Form1->ListView1->Items()->Count(), 0);
    EXPECT_EQ(Form1->ListView1->ItemIndex(), -1);

    EXPECT_TRUE(Form1->Timer1->Enabled());
    EXPECT_EQ(Form1->Timer1->Interval(), 6000);
    EXPECT_FALSE(Form1->ClientSocket1->Active());
    EXPECT_EQ(Form1->ClientSocket1->Host().str(), "veldo.example");
    EXPECT_EQ(Form1->ClientSocket1->Port(), 80);
    EXPECT_EQ(Form1->ClientSocket1->ClientType(), ctNonBlocking);

    EXPECT_EQ(Form1->Label9->Cursor(), crHandPoint);
    EXPECT_EQ(Form1->Label9->Font()->Color(), clNavy);
    EXPECT_EQ(Form1->Label5->Alignment(), taCenter);
    EXPECT_EQ(Form1->Label5->Font()->Height(), -13);
    EXPECT_EQ(Form1->Label5->Font()->Style(), fsBold);
  });
}

// The darkest pixel of the control's rectangle in a picture of its window.
int darkestIn(const QImage& shot, const TControl* control) {
  int darkest = 255;
  for (int y = control->Top(); y < control->Top() + control->Height(); ++y) {
    for (int x = control->Left(); x < control->Left() + control->Width(); ++x)
      darkest = std::min(darkest, qGray(shot.pixel(x, y)));
  }
  return darkest;
}

// Text in the designed black is drawn with pixels near black; a disabled control's greyed text
// and frame have none.
constexpr int kBlackText = 80;
constexpr int kGreyedAtMost = 150;

TEST_F(MainWindowTest, DisabledControlsShowGreyedTextAndTheDesignedBlackOnceEnabled) {
  withMainWindow([] {
    const struct {
      const char* label;
      TWinControl* control;
      bool enabledAtStart;
    } kControls[] = {
        {"make", Form1->ComboBox1, true},
        {"model", Form1->ComboBox2, false},
        {"year", Form1->ComboBox3, false},
        {"capacity", Form1->ComboBox4, false},
        {"catalyst filter", Form1->CheckBox1, false},
        {"diesel filter", Form1->CheckBox2, false},
        {"details", Form1->Button4, false},
        {"search", Form1->Button1, true},
    };
    const QImage first = testing_support::grabClient(*Form1);
    for (const auto& c : kControls) {
      SCOPED_TRACE(c.label);
      if (c.enabledAtStart) {
        EXPECT_LT(darkestIn(first, c.control), kBlackText);
      } else {
        EXPECT_GT(darkestIn(first, c.control), kGreyedAtMost);
      }
      c.control->SetEnabled(true);
    }
    const QImage enabled = testing_support::grabClient(*Form1);
    for (const auto& c : kControls) {
      SCOPED_TRACE(c.label);
      EXPECT_LT(darkestIn(enabled, c.control), kBlackText);
    }
  });
}

TEST_F(MainWindowTest, ResultListHasTheColumnsOfTheBuild) {
  const int widths[] = {80, 100, 120, 110, 90, 140, 35, 75};
  withMainWindow([&] {
    TListColumns* columns = Form1->ListView1->Columns();
    ASSERT_EQ(columns->Count(), 8);
    for (int i = 0; i < 8; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(utf8(columns->Items(i)->Caption().c_str()), kColumns[i]);
      EXPECT_EQ(columns->Items(i)->Width(), widths[i]);
    }
    EXPECT_EQ(Form1->ListView1->ViewStyle(), vsReport);
    EXPECT_TRUE(Form1->ListView1->RowSelect());
    EXPECT_TRUE(Form1->ListView1->GridLines());
    EXPECT_TRUE(Form1->ListView1->ReadOnly());
    EXPECT_FALSE(Form1->ListView1->ColumnClick());
  });
}

TEST_F(MainWindowTest, EveryDesignedEventRunsItsOwnHandlerOfTheMainWindow) {
  withMainWindow([] {
    TForm1* form = Form1;
    const struct {
      const char* label;
      bool bound;
    } kBindings[] = {
        {"ComboBox1 OnChange", form->ComboBox1->OnChange.Is(form, &TForm1::ComboBox1Change)},
        {"ComboBox2 OnChange", form->ComboBox2->OnChange.Is(form, &TForm1::ComboBox2Change)},
        {"ComboBox3 OnChange", form->ComboBox3->OnChange.Is(form, &TForm1::ComboBox3Change)},
        {"ComboBox4 OnChange", form->ComboBox4->OnChange.Is(form, &TForm1::ComboBox4Change)},
        {"CheckBox1 OnClick", form->CheckBox1->OnClick.Is(form, &TForm1::CheckBox1Click)},
        {"CheckBox2 OnClick", form->CheckBox2->OnClick.Is(form, &TForm1::CheckBox2Click)},
        {"ListView1 OnSelectItem", form->ListView1->OnSelectItem.Is(form, &TForm1::ListView1SelectItem)},
        {"Button4 OnClick", form->Button4->OnClick.Is(form, &TForm1::Button4Click)},
        {"Button1 OnClick", form->Button1->OnClick.Is(form, &TForm1::Button1Click)},
        {"Edit1 OnKeyPress", form->Edit1->OnKeyPress.Is(form, &TForm1::Edit1KeyPress)},
        {"Label9 OnClick", form->Label9->OnClick.Is(form, &TForm1::Label9Click)},
        {"ClientSocket1 OnWrite", form->ClientSocket1->OnWrite.Is(form, &TForm1::ClientSocket1Write)},
        {"ClientSocket1 OnRead", form->ClientSocket1->OnRead.Is(form, &TForm1::ClientSocket1Read)},
        {"Timer1 OnTimer", form->Timer1->OnTimer.Is(form, &TForm1::Timer1Timer)},
        {"details window OnMouseMove", detailsForm->OnMouseMove.Is(form, &TForm1::myShapesMouseMove)},
    };
    for (const auto& binding : kBindings) EXPECT_TRUE(binding.bound) << binding.label;
    EXPECT_FALSE(form->ClientSocket1->OnError) << "bound only when the update check starts";
  });
}

TEST_F(MainWindowTest, DetailsWindowHasItsFixedLayoutAndStaysHidden) {
  withMainWindow([] {
    EXPECT_FALSE(detailsForm->Visible());
    EXPECT_EQ(utf8(detailsForm->Caption().c_str()), "VELDO");
    EXPECT_EQ(detailsForm->Width(), 730);
    EXPECT_EQ(detailsForm->Height(), 600);
    EXPECT_EQ(detailsForm->Color(), clWhite);
    EXPECT_EQ(detailsForm->Tag(), 55);
    EXPECT_FALSE(detailsForm->Icon()->Empty());

    EXPECT_EQ(detailsLogo->Parent(), detailsForm);
    EXPECT_EQ(detailsLogo->Left(), 260);
    EXPECT_EQ(detailsLogo->Top(), 225);
    EXPECT_EQ(detailsLogo->Width(), 462);
    EXPECT_EQ(detailsLogo->Height(), 72);
    EXPECT_EQ(detailsLogo->Picture()->Width(), 462);

    struct Bevel {
      TBevel* bevel;
      TBevelShape shape;
      int left, top, width, height;
    };
    const Bevel bevels[] = {
        {detailsBevels[0], bsBottomLine, 277, 299, 435, 5},
        {detailsBevels[1], bsBottomLine, 320, 335, 358, 5},
        {detailsBevels[2], bsRightLine, 400, 315, 2, 24},
        {detailsBevels[3], bsRightLine, 610, 315, 2, 24},
    };
    for (const Bevel& expected : bevels) {
      SCOPED_TRACE(expected.left);
      EXPECT_EQ(expected.bevel->Parent(), detailsForm);
      EXPECT_EQ(expected.bevel->Shape(), expected.shape);
      EXPECT_EQ(expected.bevel->Left(), expected.left);
      EXPECT_EQ(expected.bevel->Top(), expected.top);
      EXPECT_EQ(expected.bevel->Width(), expected.width);
      EXPECT_EQ(expected.bevel->Height(), expected.height);
    }
    EXPECT_EQ(detailsShape->Shape(), stSquare);
    EXPECT_EQ(detailsShape->Left(), 610);
    EXPECT_EQ(detailsShape->Top(), 315);
    EXPECT_EQ(detailsShape->Pen()->Color(), clWhite);
    EXPECT_EQ(detailsShape->Brush()->Color(), clWhite);

    const int headerLefts[] = {414, 335, 630};
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      TLabel* header = detailsHeaderLabels[i];
      ASSERT_NE(header, nullptr);
      EXPECT_EQ(utf8(header->Caption().c_str()), kHeaders[i]);
      EXPECT_EQ(header->Left(), headerLefts[i]);
      EXPECT_EQ(header->Top(), 318);
      EXPECT_EQ(header->Font()->Size(), 11);
      EXPECT_EQ(header->Font()->Style(), fsBold);
      EXPECT_TRUE(header->Visible());
    }
  });
}

// The details window's controls join it in the order the constructor places them, which is the
// order they are painted in and the mouse looks for them in reverse: the logo, the line under the
// drawing, the divider, the four rules, the white square, the three headers.
TEST_F(MainWindowTest, DetailsWindowControlsJoinInTheOrderTheyArePlaced) {
  withMainWindow([] {
    ASSERT_EQ(detailsForm->ControlCount(), 11);
    EXPECT_EQ(detailsForm->Controls(0), detailsLogo);
    struct Bevel {
      TBevelShape shape;
      int left, top, width, height;
    };
    const Bevel localBevels[] = {{bsBottomLine, 10, 215, 700, 10}, {bsRightLine, 265, 232, 5, 325}};
    for (int i = 0; i < 2; ++i) {
      SCOPED_TRACE(i);
      auto* bevel = dynamic_cast<TBevel*>(detailsForm->Controls(1 + i));
      ASSERT_NE(bevel, nullptr);
      EXPECT_EQ(bevel->Owner(), detailsForm);
      EXPECT_TRUE(bevel->Visible());
      EXPECT_EQ(bevel->Shape(), localBevels[i].shape);
      EXPECT_EQ(bevel->Left(), localBevels[i].left);
      EXPECT_EQ(bevel->Top(), localBevels[i].top);
      EXPECT_EQ(bevel->Width(), localBevels[i].width);
      EXPECT_EQ(bevel->Height(), localBevels[i].height);
    }
    for (int i = 0; i < 4; ++i) EXPECT_EQ(detailsForm->Controls(3 + i), detailsBevels[i]) << i;
    EXPECT_EQ(detailsForm->Controls(7), detailsShape);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(detailsForm->Controls(8 + i), detailsHeaderLabels[i]) << i;

    EXPECT_EQ(detailsShape->Width(), 10);
    EXPECT_EQ(detailsShape->Height(), 10);
    EXPECT_TRUE(detailsShape->Visible());
    EXPECT_TRUE(detailsLogo->Visible());
    EXPECT_TRUE(detailsLogo->Enabled());
    // Everything but the fixed layout keeps the defaults of a form built in code.
    EXPECT_EQ(detailsForm->BorderStyle(), bsSizeable);
    EXPECT_EQ(detailsForm->Owner(), nullptr);
  });
}

// A form built in code is placed by the desktop: shown, it hands the window system no position of
// its own (Qt marks a window whose place the program chose as moved), unlike the centred main
// window.
TEST_F(MainWindowTest, DetailsWindowIsPlacedByTheDesktop) {
  withMainWindow([] {
    detailsForm->Show();
    EXPECT_FALSE(detailsForm->Widget()->testAttribute(Qt::WA_Moved));
    EXPECT_TRUE(Form1->Widget()->testAttribute(Qt::WA_Moved));
    detailsForm->Close();
  });
}

TEST_F(MainWindowTest, FileScopeObjectsStartAsDescribed) {
  withMainWindow([] {
    EXPECT_EQ(rowSystemIds[0], "0");
    EXPECT_EQ(rowIterations[0], "0");
    EXPECT_TRUE(rowSystemIds[1].IsEmpty());
    EXPECT_TRUE(rowIterations[kResultRows - 1].IsEmpty());
    EXPECT_EQ(itemHighlighted[0], "0");
    EXPECT_TRUE(itemHighlighted[55].IsEmpty());
    EXPECT_EQ(hoveredItem, 0);
    EXPECT_EQ(detailsItemCount, 0);
    EXPECT_EQ(previewItemCount, 0);
    for (TLabel* label : infoLabels) EXPECT_EQ(label, nullptr);
    EXPECT_NE(numberLabels[0], nullptr);
    EXPECT_EQ(numberLabels[1], nullptr);
    EXPECT_EQ(previewBackground, previewImages[30]);
    EXPECT_EQ(previewBackground->Parent(), nullptr);
    EXPECT_EQ(detailsImages[1]->Owner(), nullptr);
  });
}

}  // namespace
