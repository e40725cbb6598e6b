// The designed layouts of the build, as plain data: the main window TForm1 with its 22 controls,
// the splash window TForm3, and the fixed layout of the details window with the places of its
// data panel and parts list.
//
// Nothing here creates a control. The code that builds the windows reads these tables and sets
// the framework's properties from them; the enums below are this folder's own and name the
// framework values they stand for. Captions are not stored here but named as members of the
// build's TextSet (Texts.h), so each text exists once; read them with textOf() or
// texts().*member, after the code page has been set.
//
// All tables are constant data with static storage; the build's differences (CATALOG_POLISH)
// are already applied.
#pragma once

#include <cstdint>

#include "forms/Texts.h"

namespace forms {

// A member of TextSet that holds a control's caption; null for a control without one.
using TextRef = AnsiString TextSet::*;

// The caption that `ref` names in the build's text set, or an empty text for a null `ref`.
const AnsiString& textOf(TextRef ref);

// Colours as the framework's colour values: 0x00BBGGRR, or 0xFF0000nn for the desktop colour nn.
using Colour = std::int32_t;
constexpr Colour kColourBlack = 0x000000;
constexpr Colour kColourRed = 0x0000FF;
constexpr Colour kColourNavy = 0x800000;
constexpr Colour kColourWhite = 0xFFFFFF;
constexpr Colour kColourWindowText = static_cast<Colour>(0xFF000008);  // clWindowText
constexpr Colour kColourBtnFace = static_cast<Colour>(0xFF00000F);     // clBtnFace
// Not a colour: the control keeps the colour it takes from its parent.
constexpr Colour kColourFromParent = 0x1FFFFFFF;

// The designed fonts. Every control uses one of these three.
enum class FontKind {
  Window,     // the window's font: "MS Sans Serif", Height -11, clWindowText, DEFAULT_CHARSET
  Bold,       // the same in fsBold, set on the control rather than taken from the window
  LargeBold,  // the same in fsBold with Height -13
};

struct FontLayout {
  const char* name;
  int height;  // the framework's Font->Height: negative, the character height in pixels
  Colour colour;
  bool bold;
  int charset;  // DEFAULT_CHARSET (1)
};

constexpr FontLayout fontOf(FontKind kind) {
  return FontLayout{"MS Sans Serif", kind == FontKind::LargeBold ? -13 : -11, kColourWindowText,
                    kind != FontKind::Window, 1};
}

// ---------------------------------------------------------------------------------------------
// Windows

enum class BorderStyle { None, Single };         // bsNone, bsSingle
enum class Position { Designed, ScreenCenter };  // poDesigned, poScreenCenter

struct WindowLayout {
  TextRef caption;
  int left;  // designed screen position; the main window's is overridden by ScreenCenter
  int top;
  int clientWidth;
  int clientHeight;
  BorderStyle borderStyle;
  bool systemMenu;  // BorderIcons
  bool minimizeBox;
  bool maximizeBox;
  Position position;
  Colour colour;
  FontKind font;
};

// TForm1: fixed size, centred, with the system menu and the minimise button only.
extern const WindowLayout kMainWindow;
// TForm3: borderless at its designed screen position.
extern const WindowLayout kSplashWindow;

struct Bounds {
  int left;
  int top;
  int width;
  int height;
};

// TForm3's one control, Image1 (its JPEG picture is supplied with each program).
extern const Bounds kSplashImage;

// ---------------------------------------------------------------------------------------------
// The main window's controls

// TForm1's controls in declaration order, which is the order of the enumerators.
enum class MainControl {
  ComboBox1,
  ListView1,
  Button4,
  Label1,
  Label2,
  ComboBox2,
  ComboBox3,
  ComboBox4,
  Label3,
  Label4,
  CheckBox1,
  CheckBox2,
  Label5,
  Label6,
  Edit1,
  Label7,
  Button1,
  Shape1,
  Label8,
  Label9,
  ClientSocket1,
  Timer1,
};
constexpr int kMainControlCount = 22;

// The framework class of a control. ClientSocket and Timer are not visual.
enum class ControlKind { Label, Shape, ComboBox, ListView, Button, CheckBox, Edit, ClientSocket, Timer };

enum class Alignment { LeftJustify, Center };  // taLeftJustify, taCenter
enum class Cursor { Default, HandPoint };      // crDefault, crHandPoint
enum class ShapeKind { Rectangle, Square };    // stRectangle, stSquare

// One designed control. Properties that do not apply to the control's kind keep the defaults
// given here. Check boxes start unchecked, the edit box empty, every combo box empty.
struct ControlLayout {
  MainControl id;
  const char* name;  // the layout name, as the member of TForm1 is called
  ControlKind kind;
  int left;  // client pixels of the main window; 0 for the two components that are not visual
  int top;
  int width;
  int height;
  TextRef text;  // Caption or Text; null when the control shows none
  FontKind font;
  Colour fontColour;    // kColourWindowText unless the layout sets another
  Alignment alignment;  // labels
  bool autoSize;        // labels: true sizes the label to its caption
  Cursor cursor;
  Colour colour;      // kColourFromParent unless the layout sets one
  ShapeKind shape;    // shapes: default pen and brush
  bool dropDownList;  // combo boxes: csDropDownList, the user can only pick an entry
  int dropDownCount;  // combo boxes; 0 otherwise
  int itemHeight;     // combo boxes; 0 otherwise
  int tabOrder;       // windowed controls; -1 for graphic controls and components
};

// The 22 controls in the order of the layout, which is also the order in which the window
// creates them and paints its graphic controls (Label1 ... Label9, ComboBox1 ... Button1, then
// ClientSocket1 and Timer1).
extern const ControlLayout kMainControls[kMainControlCount];

// ListView1: a report view without column clicks.
struct ListColumnLayout {
  TextRef caption;
  int width;
};
constexpr int kResultColumnCount = 8;

struct ListViewLayout {
  bool reportStyle;  // ViewStyle vsReport
  bool rowSelect;
  bool gridLines;
  bool readOnly;
  bool columnClick;
  bool bevelKindTile;  // BevelKind bkTile
  bool borderNone;     // BorderStyle bsNone
  ListColumnLayout columns[kResultColumnCount];
};
extern const ListViewLayout kListView1;

// ClientSocket1: non-blocking, to the maker's web server; inactive until the update check opens it.
struct ClientSocketLayout {
  bool nonBlocking;  // ClientType ctNonBlocking
  const char* host;
  int port;
};
extern const ClientSocketLayout kClientSocket1;

// Timer1: enabled from creation.
struct TimerLayout {
  bool enabled;
  int intervalMs;
};
extern const TimerLayout kTimer1;

// ---------------------------------------------------------------------------------------------
// The details window: fixed layout, set once by the main window's constructor

struct DetailsWindowLayout {
  TextRef caption;
  int outerWidth;  // Width and Height: the outer size, frame included
  int outerHeight;
  int wideWidth;       // the width once a view draws more than wideAboveItems items
  int wideAboveItems;  // 10
  Colour colour;
};
extern const DetailsWindowLayout kDetailsWindow;

// detailsLogo: a Windows bitmap file of the build's language, named relative to the working
// folder, shown at its own size (not stretched or centred).
extern const Bounds kDetailsLogo;
extern const char* const kDetailsLogoFile;

enum class BevelShape { BottomLine, RightLine };  // bsBottomLine, bsRightLine

struct BevelLayout {
  BevelShape shape;
  int left;
  int top;
  int width;
  int height;
};

// The two bevels that no file-scope object holds: the line under the drawing, then the divider
// between the data panel and the parts table.
extern const BevelLayout kDetailsLocalBevels[2];
// detailsBevels[0] to [3]. [2] and [3] are the parts table's column rules; their heights follow
// the item count (partsRuleHeight).
extern const BevelLayout kDetailsBevels[4];

// detailsShape: a white square that covers the foot of the right-hand rule.
struct ShapeLayout {
  ShapeKind shape;
  int left;
  int top;
  int width;
  int height;
  Colour penColour;
  Colour brushColour;
};
extern const ShapeLayout kDetailsShape;

// detailsHeaderLabels[0] to [2], in the order the window creates them: the kind, the number, the
// quantity header. Window font face at Font->Size 11, style exactly fsBold; each sizes itself.
struct HeaderLabelLayout {
  TextRef caption;
  int left;
  int top;
};
extern const HeaderLabelLayout kDetailsHeaders[3];
constexpr int kDetailsHeaderFontSize = 11;

// The system data panel: eight pairs of a caption (bold) and a value (plain) label, Font->Size
// 11, captions at Left 15, values at Left 29, caption k (1..8) at Top 235 + 35 * (k - 1) and its
// value 18 pixels lower. The value is the text of `resultColumn` (counted from 0) of the first
// row of the system data query.
struct PanelPairLayout {
  TextRef caption;
  int captionTop;
  int valueTop;
  int resultColumn;
};
constexpr int kPanelPairCount = 8;
extern const PanelPairLayout kPanelPairs[kPanelPairCount];
constexpr int kPanelCaptionLeft = 15;
constexpr int kPanelValueLeft = 29;
constexpr int kPanelFontSize = 11;

// The parts list: one row of three labels per item i (1..29) at Top 325 + 18 * i, Font->Size 10,
// black, transparent, fixed width.
struct PartsColumnLayout {
  int left;
  int width;
  Alignment alignment;
};
extern const PartsColumnLayout kPartsNumberColumn;    // under headerNumber
extern const PartsColumnLayout kPartsNameColumn;      // under headerKind
extern const PartsColumnLayout kPartsQuantityColumn;  // under headerQuantity
constexpr int kPartsFontSize = 10;
constexpr Colour kPartsFontColour = kColourBlack;
constexpr int kPartsRowPitch = 18;

constexpr int partsRowTop(int item) { return 325 + kPartsRowPitch * item; }
// Height of the two column rules for `items` items; from their Top 315 they end at 342 + 18 * items.
constexpr int partsRuleHeight(int items) { return kPartsRowPitch * items + 27; }

}  // namespace forms
