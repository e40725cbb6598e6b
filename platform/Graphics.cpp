#include "platform/Graphics.h"

#include <QColor>
#include <QFont>
#include <QStringList>
#include <algorithm>
#include <cstdlib>

namespace {

// MulDiv as Windows rounds it: half away from zero.
int mulDiv(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

constexpr int kPixelsPerInch = 96;

// The framework's default face, which Linux desktops do not have, and how wide its stand-in is
// set, in percent of its own width.
constexpr const char* kDesignedFace = "MS Sans Serif";
constexpr int kDesignedFaceStretch = 90;

}  // namespace

TFont::TFont() : name_(kDesignedFace) {}

void TFont::SetName(const AnsiString& name) {
  name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  height_ = height;
  Changed();
}

int TFont::Size() const {
  return height_ < 0 ? mulDiv(-height_, 72, kPixelsPerInch) : mulDiv(height_, 72, kPixelsPerInch);
}

void TFont::SetSize(int points) {
  height_ = -mulDiv(points, kPixelsPerInch, 72);
  Changed();
}

void TFont::SetColor(TColor color) {
  color_ = color;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  style_ = style;
  Changed();
}

void TFont::SetCharset(TFontCharset charset) {
  charset_ = charset;
  Changed();
}

void TFont::Assign(const TFont& other) {
  name_ = other.name_;
  height_ = other.height_;
  color_ = other.color_;
  style_ = other.style_;
  charset_ = other.charset_;
  Changed();
}

void TFont::Changed() {
  if (OnChange) OnChange();
}

void TPen::SetColor(TColor color) {
  color_ = color;
  if (OnChange) OnChange();
}

void TPen::SetWidth(int width) {
  width_ = width;
  if (OnChange) OnChange();
}

void TPen::SetStyle(TPenStyle style) {
  style_ = style;
  if (OnChange) OnChange();
}

void TBrush::SetColor(TColor color) {
  color_ = color;
  if (OnChange) OnChange();
}

void TBrush::SetStyle(TBrushStyle style) {
  style_ = style;
  if (OnChange) OnChange();
}

void TGraphic::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed();
}

void TGraphic::Changed() {
  if (OnChange) OnChange();
}

namespace platform {

QColor toQColor(TColor color) {
  if (color < 0) {
    // Desktop colours are fixed here, so that what a test grabs does not depend on the theme.
    switch (color - clSystemColor) {
      case 5:
        return QColor(0xFF, 0xFF, 0xFF);  // window
      case 8:
        return QColor(0x00, 0x00, 0x00);  // window text
      case 15:
        return QColor(0xF0, 0xF0, 0xF0);  // button face
      case 16:
        return QColor(0xA0, 0xA0, 0xA0);  // button shadow
      case 20:
        return QColor(0xFF, 0xFF, 0xFF);  // button highlight
      default:
        return QColor(0x00, 0x00, 0x00);
    }
  }
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

QFont toQFont(const TFont& font) {
  QFont result;
  // "MS Sans Serif" is not on Linux desktops. Liberation Sans keeps Arial's metrics, close to
  // those of the designed face; DejaVu Sans is the desktop's face of last resort.
  const QString name = QString::fromStdString(font.Name().ToUtf8());
  result.setFamilies(QStringList{name, "Liberation Sans", "DejaVu Sans", "sans-serif"});
  result.setStyleHint(QFont::SansSerif);
  // At the designed height the stand-in runs wider than the designed places allow: the longest
  // placeholder of a 108-pixel list would be cut. Set narrower, every designed caption shows
  // whole in its designed place.
  if (name == QLatin1String(kDesignedFace)) result.setStretch(kDesignedFaceStretch);
  // A negative height is the character height without internal leading, which is Qt's pixel
  // size; a positive one is the cell height, of which the character takes about four fifths.
  const int height = font.Height();
  result.setPixelSize(std::max(1, height < 0 ? -height : height * 4 / 5));
  result.setBold((font.Style() & fsBold) != 0);
  result.setItalic((font.Style() & fsItalic) != 0);
  result.setUnderline((font.Style() & fsUnderline) != 0);
  result.setStrikeOut((font.Style() & fsStrikeOut) != 0);
  return result;
}

}  // namespace platform
