// The number search: the search field and its button. A search puts the vehicle selection back
// to its first state and runs the result list in search mode, which a non-empty field selects.
#include "app/Unit1.h"
#include "forms/Texts.h"
#include "platform/Dialogs.h"

namespace {

constexpr char kEnter = 13;

}  // namespace

void TForm1::Button1Click(TObject*) {
  const TextSet& text = texts();

  // Only the exactly empty field is refused; a text of blanks is searched as it is.
  if (Edit1->Text().IsEmpty()) {
    Application->MessageBox(text.emptySearchText.c_str(), text.emptySearchCaption.c_str(),
                            MB_ICONEXCLAMATION);
    return;
  }

  // The selection as after start-up; the make list keeps its makes. Changed from code, none of
  // these runs a selection handler, so the search field keeps the text that is searched below.
  ComboBox2->Clear();
  ComboBox2->AddItem(text.modelPlaceholderWithoutMake, nullptr);
  ComboBox3->Clear();
  ComboBox3->AddItem(text.yearCapacityPlaceholder, nullptr);
  ComboBox4->Clear();
  ComboBox4->AddItem(text.yearCapacityPlaceholder, nullptr);
  ComboBox2->SetItemIndex(0);
  ComboBox3->SetItemIndex(0);
  ComboBox4->SetItemIndex(0);
  ComboBox1->SetItemIndex(0);
  ComboBox2->SetEnabled(false);
  ComboBox3->SetEnabled(false);
  ComboBox4->SetEnabled(false);
  CheckBox1->SetEnabled(false);
  CheckBox2->SetEnabled(false);
  CheckBox1->SetChecked(false);
  CheckBox2->SetChecked(false);

  getSystemList(this);
}

void TForm1::Edit1KeyPress(TObject* Sender, char& Key) {
  // The key is left as it is, so the field handles Enter as it always does.
  if (Key == kEnter) Button1Click(Sender);
}
