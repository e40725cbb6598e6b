#include "app/DesignedLayout.h"

void applyFont(TFont* font, forms::FontKind kind, TColor colour) {
  const forms::FontLayout layout = forms::fontOf(kind);
  font->SetName(layout.name);
  font->SetHeight(layout.height);
  font->SetColor(colour);
  font->SetStyle(layout.bold ? fsBold : 0);
  font->SetCharset(static_cast<TFontCharset>(layout.charset));
}

void applyWindowLayout(TForm* form, const forms::WindowLayout& layout) {
  form->SetCaption(forms::textOf(layout.caption));
  form->SetBorderStyle(layout.borderStyle == forms::BorderStyle::None ? bsNone : bsSingle);
  TBorderIcons icons = 0;
  if (layout.systemMenu) icons |= biSystemMenu;
  if (layout.minimizeBox) icons |= biMinimize;
  if (layout.maximizeBox) icons |= biMaximize;
  form->SetBorderIcons(icons);
  form->SetLeft(layout.left);
  form->SetTop(layout.top);
  form->SetClientWidth(layout.clientWidth);
  form->SetClientHeight(layout.clientHeight);
  form->SetPosition(layout.position == forms::Position::ScreenCenter ? poScreenCenter : poDesigned);
  form->SetColor(layout.colour);
  applyFont(form->Font(), layout.font, forms::fontOf(layout.font).colour);
}
