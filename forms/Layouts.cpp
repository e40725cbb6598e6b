#include "forms/Layouts.h"

namespace forms {
namespace {

// The German value, or the Polish one, of the build.
constexpr int pick(int german, int polish) { return CATALOG_POLISH ? polish : german; }

constexpr ControlLayout control(MainControl id, const char* name, ControlKind kind, Bounds bounds,
                                TextRef text, FontKind font, int tabOrder) {
  return ControlLayout{id,
                       name,
                       kind,
                       bounds.left,
                       bounds.top,
                       bounds.width,
                       bounds.height,
                       text,
                       font,
                       kColourWindowText,
                       Alignment::LeftJustify,
                       true,
                       Cursor::Default,
                       kColourFromParent,
                       ShapeKind::Rectangle,
                       false,
                       0,
                       0,
                       tabOrder};
}

constexpr ControlLayout label(MainControl id, const char* name, Bounds bounds, TextRef text, FontKind font) {
  return control(id, name, ControlKind::Label, bounds, text, font, -1);
}

// A label of fixed size with its caption centred in it.
constexpr ControlLayout centredLabel(MainControl id, const char* name, Bounds bounds, TextRef text,
                                     FontKind font) {
  ControlLayout c = label(id, name, bounds, text, font);
  c.alignment = Alignment::Center;
  c.autoSize = false;
  return c;
}

// The web address: a bold navy link with the hand cursor on the button face colour.
constexpr ControlLayout linkLabel(MainControl id, const char* name, Bounds bounds, TextRef text) {
  ControlLayout c = label(id, name, bounds, text, FontKind::Bold);
  c.fontColour = kColourNavy;
  c.cursor = Cursor::HandPoint;
  c.colour = kColourBtnFace;
  return c;
}

constexpr ControlLayout comboBox(MainControl id, const char* name, Bounds bounds, int dropDownCount,
                                 int tabOrder) {
  ControlLayout c = control(id, name, ControlKind::ComboBox, bounds, nullptr, FontKind::Bold, tabOrder);
  c.dropDownList = true;
  c.dropDownCount = dropDownCount;
  c.itemHeight = 13;
  return c;
}

constexpr ControlLayout component(MainControl id, const char* name, ControlKind kind) {
  return control(id, name, kind, Bounds{0, 0, 0, 0}, nullptr, FontKind::Window, -1);
}

}  // namespace

const AnsiString& textOf(TextRef ref) {
  static const AnsiString empty;
  return ref != nullptr ? texts().*ref : empty;
}

const WindowLayout kMainWindow = {
    &TextSet::mainCaption,
    pick(339, 379),
    pick(169, 176),
    790,
    560,
    BorderStyle::Single,
    true,
    true,
    false,
    Position::ScreenCenter,
    kColourBtnFace,
    FontKind::Window,
};

const WindowLayout kSplashWindow = {
    &TextSet::splashCaption,
    382,
    238,
    517,
    333,
    BorderStyle::None,
    true,
    true,
    true,
    Position::Designed,
    kColourBtnFace,
    FontKind::Window,
};

const Bounds kSplashImage = {0, 0, 517, 333};

using MC = MainControl;
using CK = ControlKind;

constexpr ControlLayout kMainControls[kMainControlCount] = {
    label(MC::Label1, "Label1", {13, 12, 40, 13}, &TextSet::makeLabel, FontKind::Bold),
    label(MC::Label2, "Label2", {pick(214, 216), 12, pick(42, 39), 13}, &TextSet::modelLabel, FontKind::Bold),
    label(MC::Label3, "Label3", {pick(439, 424), 12, pick(48, 86), 13}, &TextSet::yearLabel, FontKind::Bold),
    label(MC::Label4, "Label4", {pick(616, 635), 12, pick(55, 36), 13}, &TextSet::capacityLabel,
          FontKind::Bold),
    centredLabel(MC::Label5, "Label5", {2, 69, 777, 16}, &TextSet::statusHint, FontKind::LargeBold),
    centredLabel(MC::Label6, "Label6", {5, 93, 776, 13}, &TextSet::detailsInstruction, FontKind::Window),
    label(MC::Label7, "Label7", {pick(324, 418), 45, pick(244, 152), 13}, &TextSet::numberSearchLabel,
          FontKind::Bold),
    control(MC::Shape1, "Shape1", CK::Shape, {10, 308, 770, 214}, nullptr, FontKind::Window, -1),
    label(MC::Label8, "Label8", {189, 535, pick(104, 158), 13}, &TextSet::catalogueDate, FontKind::Window),
    linkLabel(MC::Label9, "Label9", {10, 535, 102, 13}, &TextSet::webSiteCaption),
    comboBox(MC::ComboBox1, "ComboBox1", {53, 8, 150, 21}, 20, 0),
    control(MC::ListView1, "ListView1", CK::ListView, {10, 112, 770, 191}, nullptr, FontKind::Window, 1),
    control(MC::Button4, "Button4", CK::Button, {635, 529, 145, 28}, &TextSet::detailsButton,
            FontKind::LargeBold, 2),
    comboBox(MC::ComboBox2, "ComboBox2", {256, 8, 150, 21}, 14, 3),
    comboBox(MC::ComboBox3, "ComboBox3", {pick(488, 510), 8, 108, 21}, 14, 4),
    comboBox(MC::ComboBox4, "ComboBox4", {673, 8, 108, 21}, 14, 5),
    control(MC::CheckBox1, "CheckBox1", CK::CheckBox, {10, 42, 97, 17}, &TextSet::catalystFilter,
            FontKind::Window, 6),
    control(MC::CheckBox2, "CheckBox2", CK::CheckBox, {122, 42, 58, 17}, &TextSet::dieselFilter,
            FontKind::Window, 7),
    control(MC::Edit1, "Edit1", CK::Edit, {570, 41, 121, 21}, nullptr, FontKind::Window, 8),
    control(MC::Button1, "Button1", CK::Button, {704, 40, 75, 25}, &TextSet::searchButton, FontKind::Window,
            9),
    component(MC::ClientSocket1, "ClientSocket1", CK::ClientSocket),
    component(MC::Timer1, "Timer1", CK::Timer),
};

namespace {

// The layout table holds each control exactly once.
constexpr bool holdsEveryControlOnce() {
  for (int id = 0; id < kMainControlCount; ++id) {
    int rows = 0;
    for (const ControlLayout& c : kMainControls) {
      if (static_cast<int>(c.id) == id) ++rows;
    }
    if (rows != 1) return false;
  }
  return true;
}
static_assert(holdsEveryControlOnce(), "every control of TForm1 has one row in the layout");

}  // namespace

const ListViewLayout kListView1 = {
    true,   // reportStyle
    true,   // rowSelect
    true,   // gridLines
    true,   // readOnly
    false,  // columnClick
    true,   // bevelKindTile
    true,   // borderNone
    {
        {&TextSet::columnSystem, 80},
        {&TextSet::columnMake, 100},
        {&TextSet::columnModel, 120},
        {&TextSet::columnBody, 110},
        {&TextSet::columnYears, 90},
        {&TextSet::columnEngine, 140},
        {&TextSet::columnCapacity, 35},
        {&TextSet::columnAdditional, 75},
    },
};

const ClientSocketLayout kClientSocket1 = {true, kWebServerHost, 80};

const TimerLayout kTimer1 = {true, 6000};

const DetailsWindowLayout kDetailsWindow = {&TextSet::detailsCaption, 730, 600, 750, 10, kColourWhite};

const Bounds kDetailsLogo = {260, 225, 462, 72};
const char* const kDetailsLogoFile = CATALOG_POLISH ? "data\\lg_pl.dat" : "data\\lg_de.dat";

const BevelLayout kDetailsLocalBevels[2] = {
    {BevelShape::BottomLine, 10, 215, 700, 10},
    {BevelShape::RightLine, 265, 232, 5, 325},
};

const BevelLayout kDetailsBevels[4] = {
    {BevelShape::BottomLine, 277, 299, 435, 5},
    {BevelShape::BottomLine, 320, 335, 358, 5},
    {BevelShape::RightLine, 400, 315, 2, 24},
    {BevelShape::RightLine, 610, 315, 2, 24},
};

const ShapeLayout kDetailsShape = {ShapeKind::Square, 610, 315, 10, 10, kColourWhite, kColourWhite};

const HeaderLabelLayout kDetailsHeaders[3] = {
    {&TextSet::headerKind, 414, 318},
    {&TextSet::headerNumber, 335, 318},
    {&TextSet::headerQuantity, 630, 318},
};

namespace {
constexpr PanelPairLayout pair(int k, TextRef caption, int resultColumn) {
  return PanelPairLayout{caption, 235 + 35 * (k - 1), 235 + 35 * (k - 1) + 18, resultColumn};
}
}  // namespace

const PanelPairLayout kPanelPairs[kPanelPairCount] = {
    pair(1, &TextSet::panelSystem, 1), pair(2, &TextSet::panelMake, 2),
    pair(3, &TextSet::panelModel, 3),  pair(4, &TextSet::panelVersion, 4),
    pair(5, &TextSet::panelBody, 5),   pair(6, &TextSet::panelYears, 6),
    pair(7, &TextSet::panelEngine, 9), pair(8, &TextSet::panelAdditional, 15),
};

const PartsColumnLayout kPartsNumberColumn = {324, 72, Alignment::Center};
const PartsColumnLayout kPartsNameColumn = {410, 200, Alignment::LeftJustify};
const PartsColumnLayout kPartsQuantityColumn = {615, 70, Alignment::Center};

}  // namespace forms
