// The main unit: the main window TForm1 and every object that lives for the whole run.
//
// TForm1 holds only its designed controls, owned by the window. The state of the catalogue
// session (the connection, the row keys of the result list, the details window with its
// controls and the per-item tables of its drawing) lives in the file-scope objects below:
//   - catalogDb and the text tables have static storage; freeGlobals empties the tables and
//     closes the connection after the program's main routine has returned.
//   - The controls are made by initGlobals (once the framework is usable, before WinMain) and
//     reached through pointers. Those without an owner (detailsForm, detailsImages,
//     previewImages) and everything owned by detailsForm live until the process ends; the program
//     frees none of them except where a handler replaces one, deleting the old control right
//     before creating its successor.
#pragma once

#include "db/SqlDb.h"
#include "platform/ComCtrls.h"
#include "platform/Controls.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/ImageCtrls.h"
#include "platform/ScktComp.h"
#include "platform/StdCtrls.h"

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* Owner);

  // The designed controls, in declaration order.
  TComboBox* ComboBox1 = nullptr;
  TListView* ListView1 = nullptr;
  TButton* Button4 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TComboBox* ComboBox2 = nullptr;
  TComboBox* ComboBox3 = nullptr;
  TComboBox* ComboBox4 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TCheckBox* CheckBox2 = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* Label6 = nullptr;
  TEdit* Edit1 = nullptr;
  TLabel* Label7 = nullptr;
  TButton* Button1 = nullptr;
  TShape* Shape1 = nullptr;
  TLabel* Label8 = nullptr;
  TLabel* Label9 = nullptr;
  TClientSocket* ClientSocket1 = nullptr;
  TTimer* Timer1 = nullptr;

  // Selection cascade.
  void ComboBox1Change(TObject* Sender);
  void ComboBox2Change(TObject* Sender);
  void ComboBox3Change(TObject* Sender);
  void ComboBox4Change(TObject* Sender);
  void CheckBox1Click(TObject* Sender);
  void CheckBox2Click(TObject* Sender);
  void getYears();
  void getEngines();

  // Result list and number search.
  void getSystemList(TObject* Sender);
  void Button1Click(TObject* Sender);
  void Edit1KeyPress(TObject* Sender, char& Key);

  // Preview and details.
  void ListView1SelectItem(TObject* Sender, TListItem* Item, bool Selected);
  void Button4Click(TObject* Sender);
  void myShapesMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

  // Update check and web links.
  void Timer1Timer(TObject* Sender);
  void ClientSocket1Write(TObject* Sender, TCustomWinSocket* Socket);
  void ClientSocket1Read(TObject* Sender, TCustomWinSocket* Socket);
  void ClientSocketError(TObject* Sender, TCustomWinSocket* Socket, TErrorEvent ErrorEvent, int& ErrorCode);
  void Label9Click(TObject* Sender);

 private:
  void CreateDesignedControls();
  void LayOutDetailsWindow();
  void FillMakeList();
};

// --- The file-scope objects ---

constexpr int kResultRows = 8000;             // rows of the result list the row-key tables hold
constexpr int kMaxItems = 29;                 // items of one drawing, numbered 1 to 29
constexpr int kItemSlots = kMaxItems + 1;     // detailsImages and the item text and label tables
constexpr int kItemFlags = 100;               // itemHotPicture, itemNormalPicture, itemHighlighted
constexpr int kPreviewSlots = kMaxItems + 2;  // previewImages: the items, then the background
constexpr int kDetailsTag = 55;               // Tag of detailsForm and detailsBackground

extern const char* const catalogFileName;
extern const int catalogVersion;

extern TForm1* Form1;

extern SqlDb catalogDb;
extern AnsiString rowSystemIds[kResultRows];
extern AnsiString rowIterations[kResultRows];

extern TForm* detailsForm;
extern TImage* detailsLogo;
extern TLabel* detailsHeaderLabels[3];
extern TBevel* detailsBevels[4];
extern TShape* detailsShape;
extern TImage* detailsBackground;
extern TLabel* infoLabels[16];
extern TImage* detailsImages[kItemSlots];
extern int detailsItemCount;
extern AnsiString itemNumbers[kItemSlots];
extern AnsiString itemNames[kItemSlots];
extern AnsiString itemQuantities[kItemSlots];
extern AnsiString itemHotPicture[kItemFlags];
extern AnsiString itemNormalPicture[kItemFlags];
extern AnsiString itemHighlighted[kItemFlags];
extern TLabel* numberLabels[kItemSlots];
extern TLabel* nameLabels[kItemSlots];
extern TLabel* quantityLabels[kItemSlots];
extern int hoveredItem;
extern TImage* previewImages[kPreviewSlots];
extern TImage*& previewBackground;
extern int previewItemCount;

// Builds the file-scope objects; run once after the framework is usable and before WinMain.
void initGlobals();
// Destroys the text tables and closes the connection, in the reverse order; run after WinMain.
void freeGlobals();
