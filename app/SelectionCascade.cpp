// The selection cascade: make, model, year and capacity lists and the two filters.
#include "app/Unit1.h"

void TForm1::ComboBox1Change(TObject*) {}
void TForm1::ComboBox2Change(TObject*) {}
void TForm1::ComboBox3Change(TObject*) {}
void TForm1::ComboBox4Change(TObject*) {}
void TForm1::CheckBox1Click(TObject*) {}
void TForm1::CheckBox2Click(TObject*) {}
void TForm1::getYears() {}
void TForm1::getEngines() {}
