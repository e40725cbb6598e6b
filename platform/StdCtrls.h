// The standard controls: labels, combo boxes, check boxes, edit boxes, buttons, and TStrings.
//
// TLabel is a graphic control painted by its window; the others each own a Qt widget. Their
// events come only from the user (a pick in the list, a click, a typed key); setting ItemIndex,
// Checked, Text or Caption, or editing Items from code, raises nothing.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "platform/AnsiString.h"
#include "platform/Controls.h"

class QComboBox;
class QCheckBox;
class QLineEdit;
class QPushButton;

// An ordered list of texts, each with an optional object pointer (not owned).
class TStrings {
 public:
  TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;
  virtual ~TStrings() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  // Raises Exception "List index out of bounds (<index>)" outside 0 to Count - 1.
  const AnsiString& Strings(int index) const;
  const AnsiString& operator[](int index) const { return Strings(index); }
  TObject* Objects(int index) const;
  // The first entry equal to the text, byte for byte; -1 when there is none.
  int IndexOf(const AnsiString& text) const;

  // The text is taken by value, so that a temporary moves in instead of being copied.
  int Add(AnsiString text) { return AddObject(std::move(text), nullptr); }
  int AddObject(AnsiString text, TObject* object);
  void Delete(int index);
  void Clear();
  // Room for this many entries without growing; the entries are unchanged.
  void SetCapacity(int capacity);

  // Called after every change, for the control that shows the list.
  std::function<void()> OnChange;

 private:
  struct Item {
    AnsiString text;
    TObject* object = nullptr;
  };
  void Changed();

  std::vector<Item> items_;
};

class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* owner);

  // With AutoSize (the default) the label sizes itself to its caption in its font.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  // A transparent label paints only its text; otherwise it fills its rectangle with Color, which
  // is the parent's colour until the label is given one of its own (ParentColor).
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

  void Paint(QPainter& painter) override;

 protected:
  void CaptionChanged() override;
  void FontChanged() override;

 private:
  void AdjustSize();

  bool autoSize_ = true;
  TAlignment alignment_ = taLeftJustify;
  bool transparent_ = false;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* owner);

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  TStrings* Items() { return &items_; }
  // -1 when no entry is selected.
  int ItemIndex() const;
  void SetItemIndex(int index);
  // The selected entry's text, or the empty text.
  AnsiString Text() const;
  // Removes every entry and the text.
  void Clear();
  // Appends an entry; the selection is unchanged.
  void AddItem(const AnsiString& text, TObject* object);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int count);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int height);

  // Raised when the user picks an entry, also the one already selected.
  TNotifyEvent OnChange;

  QComboBox* ComboWidget() const { return combo_; }

 private:
  void ItemsChanged();

  QComboBox* combo_ = nullptr;
  TStrings items_;
  TComboBoxStyle style_ = csDropDown;
  int dropDownCount_ = 8;
  int itemHeight_ = 13;
};

class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* owner);

  bool Checked() const;
  void SetChecked(bool checked);

  QCheckBox* CheckWidget() const { return check_; }

 protected:
  void CaptionChanged() override;

 private:
  QCheckBox* check_ = nullptr;
};

class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* owner);

  AnsiString Text() const;
  void SetText(const AnsiString& text);

  // Raised for every character the user types, as a character of the code page, before the box
  // takes it; Enter comes as 13. The handler may replace the character, or set it to 0 so that
  // the box never sees the key.
  TKeyPressEvent OnKeyPress;

  QLineEdit* EditWidget() const { return edit_; }

 private:
  QLineEdit* edit_ = nullptr;
};

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* owner);

  QPushButton* ButtonWidget() const { return button_; }

 protected:
  void CaptionChanged() override;

 private:
  QPushButton* button_ = nullptr;
};
