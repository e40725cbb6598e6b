// Colours, fonts, pens, brushes, canvases and pictures of the framework.
//
// TBitmap holds its pixels behind an HBITMAP handle that it owns. ReleaseHandle lends the handle
// out (the bitmap then owns nothing) and SetHandle takes ownership of one, which is how the
// picture copy hands a bitmap's pixels to SetDIBits and back. TPicture owns the graphic it holds.
// Transparent graphics leave out, when painted, every pixel of the colour of their bottom-left
// pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/AnsiString.h"
#include "platform/Classes.h"
#include "platform/Handles.h"

class QImage;
class QPainter;
class QFont;
class QColor;
class QIcon;
class QPoint;

// 0x00BBGGRR, or a system colour (0xFF0000nn, the index of a desktop colour).
using TColor = std::int32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSystemColor = -16777216;  // 0xFF000000
constexpr TColor clWindowText = clSystemColor + 8;
constexpr TColor clBtnFace = clSystemColor + 15;
constexpr TColor clWindow = clSystemColor + 5;
constexpr TColor clBtnShadow = clSystemColor + 16;
constexpr TColor clBtnHighlight = clSystemColor + 20;

using TFontStyles = std::uint8_t;
constexpr TFontStyles fsBold = 0x01;
constexpr TFontStyles fsItalic = 0x02;
constexpr TFontStyles fsUnderline = 0x04;
constexpr TFontStyles fsStrikeOut = 0x08;

using TFontCharset = std::uint8_t;
constexpr TFontCharset DEFAULT_CHARSET = 1;

class TFont {
 public:
  TFont();
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  const AnsiString& Name() const { return name_; }
  void SetName(const AnsiString& name);
  // Negative: the character height in pixels; positive: the cell height.
  int Height() const { return height_; }
  void SetHeight(int height);
  // Points at 96 pixels per inch; Size and Height are two views of one value.
  int Size() const;
  void SetSize(int points);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset charset);

  void Assign(const TFont& other);

  // Called after every change; the owning control repaints or restyles itself.
  std::function<void()> OnChange;

 private:
  void Changed();

  AnsiString name_;
  int height_ = -11;
  TColor color_ = clWindowText;
  TFontStyles style_ = 0;
  TFontCharset charset_ = DEFAULT_CHARSET;
};

enum TPenStyle { psSolid, psDash, psDot, psClear };
enum TBrushStyle { bsSolid, bsClear };

class TPen {
 public:
  TPen() = default;
  TPen(const TPen&) = delete;
  TPen& operator=(const TPen&) = delete;

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Width() const { return width_; }
  void SetWidth(int width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);

  std::function<void()> OnChange;

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
};

class TBrush {
 public:
  TBrush() = default;
  TBrush(const TBrush&) = delete;
  TBrush& operator=(const TBrush&) = delete;

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);

  std::function<void()> OnChange;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

// A drawing surface. Handle() names it as a device context for SetDIBits, which needs no more
// of it than its existence.
class TCanvas {
 public:
  TCanvas() = default;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle() { return reinterpret_cast<HDC>(this); }
};

// Base of the pictures a TPicture can hold.
class TGraphic : public TObject {
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const { return Width() == 0 || Height() == 0; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

  // Paints the graphic at its own size with its top-left corner at (x, y).
  virtual void Draw(QPainter& painter, int x, int y) const = 0;
  // Whether the pixel at (x, y) of the graphic would be painted (false outside it, and for
  // a transparent graphic's transparent colour).
  virtual bool IsOpaqueAt(int x, int y) const = 0;
  virtual std::unique_ptr<TGraphic> Clone() const = 0;

  std::function<void()> OnChange;

 protected:
  void Changed();

 private:
  bool transparent_ = false;
};

namespace platform {
struct BitmapData;  // the pixels behind an HBITMAP
}

class TBitmap : public TGraphic {
 public:
  TBitmap();
  ~TBitmap() override;

  int Width() const override;
  int Height() const override;
  // Resizing keeps the pixels that still fit, top-left aligned; new pixels are white. A size that
  // the bitmap cannot hold raises Exception "Out of system resources" and changes nothing.
  void SetWidth(int width);
  void SetHeight(int height);
  // Both at once, so that no size between the old and the new one is ever made.
  void SetSize(int width, int height);

  // The bitmap keeps ownership of the returned handle.
  HBITMAP Handle();
  // Takes ownership of the handle (the current pixels are released); null empties the bitmap.
  void SetHandle(HBITMAP handle);
  // Gives up ownership of the handle; the caller returns it with SetHandle or DeleteObject.
  HBITMAP ReleaseHandle();

  // Reads a Windows bitmap file. A name written with a backslash opens the file with a slash, and
  // the name is in the program's code page (platform/Files.h). A file that cannot be opened (also
  // a folder, a device or a pipe) raises Exception "Cannot open file <name as given>"; one that is
  // no bitmap this reader takes (damaged, cut short, compressed, larger than 4096 pixels a side or
  // 2^20 pixels) raises Exception "Bitmap image is not valid", its pixels unread. Only what the
  // headers say the picture needs is read, however large the file. Either way the bitmap keeps
  // what it held.
  void LoadFromFile(const AnsiString& fileName);

  void Draw(QPainter& painter, int x, int y) const override;
  bool IsOpaqueAt(int x, int y) const override;
  std::unique_ptr<TGraphic> Clone() const override;

  // The pixels, for painting and tests; null when the bitmap is empty.
  const QImage* Image() const;

 private:
  friend struct platform::BitmapData;  // reports pixels written through the handle

  // The pixels behind the handle, created empty when the bitmap has none.
  platform::BitmapData& Data();
  void Adopt(platform::BitmapData* data);

  platform::BitmapData* data_ = nullptr;
};

// A JPEG picture, decoded with libjpeg.
class TJPEGImage : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;

  // Raises Exception when the bytes are no JPEG libjpeg can decode.
  void LoadFromMemory(const unsigned char* data, std::size_t size);

  int Width() const override;
  int Height() const override;
  void Draw(QPainter& painter, int x, int y) const override;
  bool IsOpaqueAt(int x, int y) const override;
  std::unique_ptr<TGraphic> Clone() const override;

  const QImage* Image() const;

 private:
  std::unique_ptr<QImage> image_;
};

class TIcon : public TGraphic {
 public:
  TIcon();
  ~TIcon() override;

  // Reads a Windows .ico file held in memory; raises Exception when it cannot.
  void LoadFromMemory(const unsigned char* data, std::size_t size);
  void Assign(const TIcon& other);

  int Width() const override;
  int Height() const override;
  void Draw(QPainter& painter, int x, int y) const override;
  bool IsOpaqueAt(int x, int y) const override;
  std::unique_ptr<TGraphic> Clone() const override;

  const QIcon& Icon() const;

 private:
  std::unique_ptr<QIcon> icon_;
  std::unique_ptr<QImage> image_;  // the first picture of the file: size, painting, hit test
};

// Holds one graphic, owned. OnChange reports every change of the graphic or its pixels.
class TPicture {
 public:
  TPicture() = default;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;
  ~TPicture();

  // The picture as a bitmap; a picture holding another kind of graphic, or none, is turned
  // into an empty bitmap first.
  TBitmap* Bitmap();
  TGraphic* Graphic() const { return graphic_.get(); }
  // Stores a copy of the graphic (null empties the picture).
  void SetGraphic(const TGraphic* graphic);
  int Width() const;
  int Height() const;

  std::function<void()> OnChange;

 private:
  void Attach(std::unique_ptr<TGraphic> graphic);

  std::unique_ptr<TGraphic> graphic_;
};

namespace platform {

QColor toQColor(TColor color);
// The toolkit font for a TFont: "MS Sans Serif" and other absent faces fall back to the
// desktop's sans-serif face.
QFont toQFont(const TFont& font);

}  // namespace platform
