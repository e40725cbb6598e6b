#include "platform/StdCtrls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>
#include <QWheelEvent>

#include "platform/CodePage.h"
#include "platform/SysUtils.h"

namespace {

QString toQt(const AnsiString& text) { return QString::fromStdString(text.ToUtf8()); }

AnsiString fromQt(const QString& text) { return AnsiString(platform::utf8ToAnsi(text.toStdString())); }

Qt::Alignment toQtAlignment(TAlignment alignment) {
  switch (alignment) {
    case taCenter:
      return Qt::AlignHCenter;
    case taRightJustify:
      return Qt::AlignRight;
    default:
      return Qt::AlignLeft;
  }
}

}  // namespace

// --- TStrings ---

const AnsiString& TStrings::Strings(int index) const {
  if (index < 0 || index >= Count())
    throw Exception(AnsiString::Format("List index out of bounds (%d)", index));
  return items_[static_cast<std::size_t>(index)].text;
}

TObject* TStrings::Objects(int index) const {
  if (index < 0 || index >= Count())
    throw Exception(AnsiString::Format("List index out of bounds (%d)", index));
  return items_[static_cast<std::size_t>(index)].object;
}

int TStrings::IndexOf(const AnsiString& text) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].text == text) return static_cast<int>(i);
  }
  return -1;
}

int TStrings::AddObject(AnsiString text, TObject* object) {
  items_.push_back(Item{std::move(text), object});
  Changed();
  return Count() - 1;
}

void TStrings::Delete(int index) {
  if (index < 0 || index >= Count())
    throw Exception(AnsiString::Format("List index out of bounds (%d)", index));
  items_.erase(items_.begin() + index);
  Changed();
}

void TStrings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void TStrings::SetCapacity(int capacity) {
  if (capacity > 0) items_.reserve(static_cast<std::size_t>(capacity));
}

void TStrings::Changed() {
  if (OnChange) OnChange();
}

// --- TLabel ---

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetParentColor(true);
  AdjustSize();
}

void TLabel::SetAutoSize(bool autoSize) {
  if (autoSize == autoSize_) return;
  autoSize_ = autoSize;
  AdjustSize();
}

void TLabel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Invalidate();
}

void TLabel::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Invalidate();
}

void TLabel::Paint(QPainter& painter) {
  if (!transparent_) painter.fillRect(0, 0, Width(), Height(), platform::toQColor(Color()));
  painter.setFont(platform::toQFont(*Font()));
  painter.setPen(platform::toQColor(Font()->Color()));
  painter.drawText(QRect(0, 0, Width(), Height()), Qt::AlignTop | toQtAlignment(alignment_), toQt(Caption()));
}

void TLabel::CaptionChanged() {
  AdjustSize();
  Invalidate();
}

void TLabel::FontChanged() {
  AdjustSize();
  Invalidate();
}

void TLabel::AdjustSize() {
  if (!autoSize_) return;
  const QFontMetrics metrics(platform::toQFont(*Font()));
  const QString text = toQt(Caption());
  const int width = metrics.horizontalAdvance(text);
  const int height = metrics.height();
  // A right-justified label grows to the left, keeping its right edge.
  const int left = alignment_ == taRightJustify ? Left() + Width() - width : Left();
  SetBounds(left, Top(), width, height);
}

// --- TComboBox ---

namespace {

// The wheel steps only the list that has the focus, as on the framework's desktop: a wheel turned
// over another list, on the way to somewhere else, must not change its entry.
class FocusWheelComboBox : public QComboBox {
 protected:
  void wheelEvent(QWheelEvent* event) override {
    if (!hasFocus()) {
      event->ignore();
      return;
    }
    QComboBox::wheelEvent(event);
  }
};

}  // namespace

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner), combo_(new FocusWheelComboBox) {
  combo_->setEditable(style_ == csDropDown);
  combo_->setMaxVisibleItems(dropDownCount_);
  SetWidget(combo_);
  items_.OnChange = [this] { ItemsChanged(); };
  // activated comes only from the user's pick, also of the entry already selected.
  QObject::connect(combo_, &QComboBox::activated, combo_, [this](int) {
    const TNotifyEvent handler = OnChange;
    platform::dispatchEvent([&] { handler(this); });
  });
}

void TComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  const QSignalBlocker blocker(combo_);
  const int index = combo_->currentIndex();
  combo_->setEditable(style_ == csDropDown);
  combo_->setCurrentIndex(index);
}

int TComboBox::ItemIndex() const { return combo_->currentIndex(); }

void TComboBox::SetItemIndex(int index) {
  const QSignalBlocker blocker(combo_);
  combo_->setCurrentIndex(index >= 0 && index < combo_->count() ? index : -1);
}

AnsiString TComboBox::Text() const {
  if (style_ == csDropDownList) {
    const int index = combo_->currentIndex();
    return index >= 0 && index < items_.Count() ? items_.Strings(index) : AnsiString();
  }
  return fromQt(combo_->currentText());
}

void TComboBox::Clear() {
  items_.Clear();
  const QSignalBlocker blocker(combo_);
  combo_->setCurrentIndex(-1);
  if (combo_->isEditable()) combo_->clearEditText();
}

void TComboBox::AddItem(const AnsiString& text, TObject* object) { items_.AddObject(text, object); }

void TComboBox::SetDropDownCount(int count) {
  dropDownCount_ = count;
  combo_->setMaxVisibleItems(std::max(1, count));
}

void TComboBox::SetItemHeight(int height) { itemHeight_ = height; }

void TComboBox::ItemsChanged() {
  const QSignalBlocker blocker(combo_);
  const int shown = combo_->count();
  const int count = items_.Count();
  // An append is the common case (filling a list entry by entry); anything else rebuilds.
  if (count == shown + 1) {
    // Qt selects the first entry of an empty list by itself; the framework keeps no selection.
    const int selected = combo_->currentIndex();
    combo_->addItem(toQt(items_.Strings(count - 1)));
    if (combo_->currentIndex() != selected) combo_->setCurrentIndex(selected);
    return;
  }
  const int index = combo_->currentIndex();
  QStringList texts;
  texts.reserve(count);
  for (int i = 0; i < count; ++i) texts.append(toQt(items_.Strings(i)));
  combo_->clear();
  combo_->addItems(texts);
  combo_->setCurrentIndex(index < count ? index : -1);
}

// --- TCheckBox ---

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner), check_(new QCheckBox) {
  SetWidget(check_);
  // clicked comes only from the user; setChecked raises toggled alone.
  QObject::connect(check_, &QCheckBox::clicked, check_, [this](bool) {
    const TNotifyEvent handler = OnClick;
    platform::dispatchEvent([&] { handler(this); });
  });
}

bool TCheckBox::Checked() const { return check_->isChecked(); }

void TCheckBox::SetChecked(bool checked) {
  const QSignalBlocker blocker(check_);
  check_->setChecked(checked);
}

void TCheckBox::CaptionChanged() { check_->setText(toQt(Caption())); }

// --- TEdit ---

namespace platform {

// Hands each typed character to the edit's OnKeyPress before the line edit takes it.
class KeyPressFilter : public QObject {
 public:
  explicit KeyPressFilter(TEdit* edit, QObject* parent) : QObject(parent), edit_(edit) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || forwarding_) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    char original = 0;
    if (!characterOf(*key, original)) return false;

    char character = original;
    const TKeyPressEvent handler = edit_->OnKeyPress;
    dispatchEvent([&] { handler(edit_, character); });
    if (character == original) return false;
    if (character != 0) Forward(watched, character);
    return true;  // the handler swallowed the key or replaced it
  }

 private:
  // The character a key gives, as an 8-bit character of the code page; Enter is 13.
  static bool characterOf(const QKeyEvent& key, char& character) {
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
      character = 13;
      return true;
    }
    const QString text = key.text();
    if (text.isEmpty()) return false;
    const std::string ansi = utf8ToAnsi(QString(text.at(0)).toStdString());
    if (ansi.size() != 1) return false;
    character = ansi[0];
    return true;
  }

  // The character the handler put in place of the typed one goes to the line edit instead.
  void Forward(QObject* watched, char character) {
    int key = Qt::Key_unknown;
    if (character == 13) key = Qt::Key_Return;
    if (character == 8) key = Qt::Key_Backspace;
    const char text[2] = {character, 0};
    QKeyEvent replacement(QEvent::KeyPress, key, Qt::NoModifier,
                          QString::fromStdString(ansiToUtf8(std::string_view(text, 1))));
    forwarding_ = true;
    QCoreApplication::sendEvent(watched, &replacement);
    forwarding_ = false;
  }

  TEdit* edit_;
  bool forwarding_ = false;
};

}  // namespace platform

TEdit::TEdit(TComponent* owner) : TWinControl(owner), edit_(new QLineEdit) {
  SetWidget(edit_);
  edit_->installEventFilter(new platform::KeyPressFilter(this, edit_));
}

AnsiString TEdit::Text() const { return fromQt(edit_->text()); }

void TEdit::SetText(const AnsiString& text) {
  const QSignalBlocker blocker(edit_);
  edit_->setText(toQt(text));
}

// --- TButton ---

TButton::TButton(TComponent* owner) : TWinControl(owner), button_(new QPushButton) {
  button_->setAutoDefault(false);
  SetWidget(button_);
  QObject::connect(button_, &QPushButton::clicked, button_, [this](bool) {
    const TNotifyEvent handler = OnClick;
    platform::dispatchEvent([&] { handler(this); });
  });
}

void TButton::CaptionChanged() { button_->setText(toQt(Caption())); }
