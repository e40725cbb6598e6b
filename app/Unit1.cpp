// The main window: its designed layout, and the constructor that prepares the selection,
// opens the catalogue, lays out the details window and fills the make list.
#include "app/Unit1.h"

#include "app/DesignedLayout.h"
#include "app/Queries.h"
#include "artwork/EmbeddedAssets.h"
#include "forms/Layouts.h"
#include "forms/Texts.h"
#include "platform/Dialogs.h"

namespace {

using forms::ControlKind;
using forms::ControlLayout;
using forms::MainControl;

void placeControl(TControl* control, const ControlLayout& layout, TWinControl* parent) {
  control->SetBounds(layout.left, layout.top, layout.width, layout.height);
  applyFont(control->Font(), layout.font, layout.fontColour);
  if (layout.colour != forms::kColourFromParent) control->SetColor(layout.colour);
  control->SetCursor(layout.cursor == forms::Cursor::HandPoint ? crHandPoint : crDefault);
  control->SetParent(parent);
}

TComponent* createLabel(TForm* form, const ControlLayout& layout) {
  auto* label = new TLabel(form);
  label->SetAutoSize(false);  // the designed size first; AutoSize then fits it to the caption
  placeControl(label, layout, form);
  label->SetAlignment(layout.alignment == forms::Alignment::Center ? taCenter : taLeftJustify);
  label->SetCaption(forms::textOf(layout.text));
  label->SetAutoSize(layout.autoSize);
  return label;
}

TComponent* createComboBox(TForm* form, const ControlLayout& layout) {
  auto* combo = new TComboBox(form);
  placeControl(combo, layout, form);
  combo->SetStyle(layout.dropDownList ? csDropDownList : csDropDown);
  combo->SetDropDownCount(layout.dropDownCount);
  combo->SetItemHeight(layout.itemHeight);
  return combo;
}

TComponent* createListView(TForm* form, const ControlLayout& layout) {
  auto* list = new TListView(form);
  placeControl(list, layout, form);
  const forms::ListViewLayout& design = forms::kListView1;
  list->SetViewStyle(design.reportStyle ? vsReport : vsList);
  list->SetRowSelect(design.rowSelect);
  list->SetGridLines(design.gridLines);
  list->SetReadOnly(design.readOnly);
  list->SetColumnClick(design.columnClick);
  list->SetBorderStyle(design.borderNone ? bsNone : bsSingle);
  list->SetBevelKind(design.bevelKindTile ? bkTile : bkNone);
  for (const forms::ListColumnLayout& columnLayout : design.columns) {
    TListColumn* column = list->Columns()->Add();
    column->SetCaption(forms::textOf(columnLayout.caption));
    column->SetWidth(columnLayout.width);
  }
  return list;
}

template <class Control>
TComponent* createCaptioned(TForm* form, const ControlLayout& layout) {
  auto* control = new Control(form);
  placeControl(control, layout, form);
  control->SetCaption(forms::textOf(layout.text));
  return control;
}

TComponent* createShape(TForm* form, const ControlLayout& layout) {
  auto* shape = new TShape(form);
  placeControl(shape, layout, form);
  shape->SetShape(layout.shape == forms::ShapeKind::Square ? stSquare : stRectangle);
  return shape;
}

TComponent* createClientSocket(TForm* form) {
  auto* socket = new TClientSocket(form);
  const forms::ClientSocketLayout& design = forms::kClientSocket1;
  socket->SetClientType(design.nonBlocking ? ctNonBlocking : ctBlocking);
  socket->SetHost(design.host);
  socket->SetPort(design.port);
  return socket;
}

TComponent* createTimer(TForm* form) {
  auto* timer = new TTimer(form);
  timer->SetInterval(forms::kTimer1.intervalMs);
  timer->SetEnabled(forms::kTimer1.enabled);
  return timer;
}

TComponent* createKind(TForm* form, const ControlLayout& layout) {
  switch (layout.kind) {
    case ControlKind::Label:
      return createLabel(form, layout);
    case ControlKind::Shape:
      return createShape(form, layout);
    case ControlKind::ComboBox:
      return createComboBox(form, layout);
    case ControlKind::ListView:
      return createListView(form, layout);
    case ControlKind::Button:
      return createCaptioned<TButton>(form, layout);
    case ControlKind::CheckBox:
      return createCaptioned<TCheckBox>(form, layout);
    case ControlKind::Edit:
      return createCaptioned<TEdit>(form, layout);
    case ControlKind::ClientSocket:
      return createClientSocket(form);
    case ControlKind::Timer:
      return createTimer(form);
  }
  return nullptr;
}

TComponent* createControl(TForm* form, const ControlLayout& layout) {
  TComponent* made = createKind(form, layout);
  if (layout.tabOrder >= 0) static_cast<TWinControl*>(made)->SetTabOrder(layout.tabOrder);
  return made;
}

void placeBevel(TBevel* bevel, const forms::BevelLayout& layout) {
  bevel->SetShape(layout.shape == forms::BevelShape::BottomLine ? bsBottomLine : bsRightLine);
  bevel->SetLeft(layout.left);
  bevel->SetTop(layout.top);
  bevel->SetHeight(layout.height);
  bevel->SetWidth(layout.width);
  bevel->SetParent(detailsForm);
  bevel->SetVisible(true);
}

}  // namespace

TForm1::TForm1(TComponent* Owner) : TForm(Owner) {
  // 1. The designed window and its controls, with their events bound. Hidden.
  CreateDesignedControls();

  // 2. to 5. The selection lists with their placeholders, everything below the make disabled.
  const TextSet& text = texts();
  ComboBox1->Clear();
  ComboBox1->AddItem(text.makePlaceholder, nullptr);
  ComboBox2->AddItem(text.modelPlaceholderWithoutMake, nullptr);
  ComboBox3->AddItem(text.yearCapacityPlaceholder, nullptr);
  ComboBox4->AddItem(text.yearCapacityPlaceholder, nullptr);
  ComboBox2->SetItemIndex(0);
  ComboBox3->SetItemIndex(0);
  ComboBox4->SetItemIndex(0);
  ComboBox2->SetEnabled(false);
  ComboBox3->SetEnabled(false);
  ComboBox4->SetEnabled(false);
  CheckBox1->SetEnabled(false);
  CheckBox2->SetEnabled(false);
  Button4->SetEnabled(false);

  // 6. The catalogue. A failure leaves the constructor: start-up shows an empty stop box.
  catalogDb.open(catalogFileName);

  // 7. to 12. The details window's fixed layout (the logo may raise the framework's exception).
  LayOutDetailsWindow();

  // 13. The makes.
  FillMakeList();
}

void TForm1::CreateDesignedControls() {
  applyWindowLayout(this, forms::kMainWindow);
  Icon()->LoadFromMemory(assets::kWindowIcon, assets::kWindowIconSize);

  TComponent* made[forms::kMainControlCount] = {};
  for (const ControlLayout& layout : forms::kMainControls) {
    made[static_cast<int>(layout.id)] = createControl(this, layout);
  }
  const auto take = [&made](MainControl id) { return made[static_cast<int>(id)]; };
  ComboBox1 = static_cast<TComboBox*>(take(MainControl::ComboBox1));
  ListView1 = static_cast<TListView*>(take(MainControl::ListView1));
  Button4 = static_cast<TButton*>(take(MainControl::Button4));
  Label1 = static_cast<TLabel*>(take(MainControl::Label1));
  Label2 = static_cast<TLabel*>(take(MainControl::Label2));
  ComboBox2 = static_cast<TComboBox*>(take(MainControl::ComboBox2));
  ComboBox3 = static_cast<TComboBox*>(take(MainControl::ComboBox3));
  ComboBox4 = static_cast<TComboBox*>(take(MainControl::ComboBox4));
  Label3 = static_cast<TLabel*>(take(MainControl::Label3));
  Label4 = static_cast<TLabel*>(take(MainControl::Label4));
  CheckBox1 = static_cast<TCheckBox*>(take(MainControl::CheckBox1));
  CheckBox2 = static_cast<TCheckBox*>(take(MainControl::CheckBox2));
  Label5 = static_cast<TLabel*>(take(MainControl::Label5));
  Label6 = static_cast<TLabel*>(take(MainControl::Label6));
  Edit1 = static_cast<TEdit*>(take(MainControl::Edit1));
  Label7 = static_cast<TLabel*>(take(MainControl::Label7));
  Button1 = static_cast<TButton*>(take(MainControl::Button1));
  Shape1 = static_cast<TShape*>(take(MainControl::Shape1));
  Label8 = static_cast<TLabel*>(take(MainControl::Label8));
  Label9 = static_cast<TLabel*>(take(MainControl::Label9));
  ClientSocket1 = static_cast<TClientSocket*>(take(MainControl::ClientSocket1));
  Timer1 = static_cast<TTimer*>(take(MainControl::Timer1));

  ComboBox1->OnChange = TNotifyEvent(this, &TForm1::ComboBox1Change);
  ComboBox2->OnChange = TNotifyEvent(this, &TForm1::ComboBox2Change);
  ComboBox3->OnChange = TNotifyEvent(this, &TForm1::ComboBox3Change);
  ComboBox4->OnChange = TNotifyEvent(this, &TForm1::ComboBox4Change);
  CheckBox1->OnClick = TNotifyEvent(this, &TForm1::CheckBox1Click);
  CheckBox2->OnClick = TNotifyEvent(this, &TForm1::CheckBox2Click);
  ListView1->OnSelectItem = TLVSelectItemEvent(this, &TForm1::ListView1SelectItem);
  Button4->OnClick = TNotifyEvent(this, &TForm1::Button4Click);
  Button1->OnClick = TNotifyEvent(this, &TForm1::Button1Click);
  Edit1->OnKeyPress = TKeyPressEvent(this, &TForm1::Edit1KeyPress);
  Label9->OnClick = TNotifyEvent(this, &TForm1::Label9Click);
  ClientSocket1->OnWrite = TSocketNotifyEvent(this, &TForm1::ClientSocket1Write);
  ClientSocket1->OnRead = TSocketNotifyEvent(this, &TForm1::ClientSocket1Read);
  Timer1->OnTimer = TNotifyEvent(this, &TForm1::Timer1Timer);
}

void TForm1::LayOutDetailsWindow() {
  // 7. The logo, from the build's bitmap file.
  detailsLogo->SetParent(detailsForm);
  detailsLogo->Picture()->Bitmap()->LoadFromFile(forms::kDetailsLogoFile);
  detailsLogo->SetEnabled(true);
  detailsLogo->SetVisible(true);
  detailsLogo->SetWidth(forms::kDetailsLogo.width);
  detailsLogo->SetHeight(forms::kDetailsLogo.height);
  detailsLogo->SetTop(forms::kDetailsLogo.top);
  detailsLogo->SetLeft(forms::kDetailsLogo.left);

  // 8. The window itself; moves over its empty area go to the hover handler.
  const forms::DetailsWindowLayout& window = forms::kDetailsWindow;
  detailsForm->SetCaption(forms::textOf(window.caption));
  detailsForm->SetWidth(window.outerWidth);
  detailsForm->SetHeight(window.outerHeight);
  detailsForm->SetColor(window.colour);
  detailsForm->Icon()->Assign(*Icon());
  detailsForm->SetTag(kDetailsTag);
  detailsForm->OnMouseMove = TMouseMoveEvent(this, &TForm1::myShapesMouseMove);

  // 9. and 10. The rules: two that nothing else refers to, then the four of detailsBevels.
  for (const forms::BevelLayout& layout : forms::kDetailsLocalBevels)
    placeBevel(new TBevel(detailsForm), layout);
  for (int i = 0; i < 4; ++i) placeBevel(detailsBevels[i], forms::kDetailsBevels[i]);

  // 11. The white square at the foot of the right-hand rule.
  const forms::ShapeLayout& square = forms::kDetailsShape;
  detailsShape->SetShape(square.shape == forms::ShapeKind::Square ? stSquare : stRectangle);
  detailsShape->SetLeft(square.left);
  detailsShape->SetTop(square.top);
  detailsShape->SetHeight(square.height);
  detailsShape->SetWidth(square.width);
  detailsShape->Pen()->SetColor(square.penColour);
  detailsShape->SetParent(detailsForm);
  detailsShape->SetVisible(true);
  detailsShape->Brush()->SetColor(square.brushColour);

  // 12. The parts list's column headers.
  for (int i = 0; i < 3; ++i) {
    const forms::HeaderLabelLayout& layout = forms::kDetailsHeaders[i];
    TLabel* header = new TLabel(detailsForm);
    detailsHeaderLabels[i] = header;
    header->SetCaption(forms::textOf(layout.caption));
    header->SetTop(layout.top);
    header->SetLeft(layout.left);
    header->SetParent(detailsForm);
    header->SetEnabled(true);
    header->SetVisible(true);
    header->Font()->SetSize(forms::kDetailsHeaderFontSize);
    header->Font()->SetStyle(fsBold);
  }
}

void TForm1::FillMakeList() {
  try {
    SqlTable makes = catalogDb.queryTable(makeListQuery().c_str());
    for (int row = 0; row < makes.rowCount(); ++row) {
      makes.selectRow(row);
      ComboBox1->AddItem(makes.valueAt(0), nullptr);
    }
    ComboBox1->SetItemIndex(0);
  } catch (const SqlException& exception) {
    ShowMessage(exception.message);
  }
}
