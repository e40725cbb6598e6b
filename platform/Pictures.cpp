// Pictures: TBitmap with its Windows bitmap file reader, TJPEGImage over libjpeg, TIcon, TPicture,
// and the Win32 calls that work on bitmap handles (SetDIBits, DeleteObject).
#include <QBuffer>
#include <QIcon>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// libjpeg's headers take FILE and size_t from <cstdio> above.
#include <jerror.h>
#include <jpeglib.h>

#include "platform/BitmapData.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"
#include "platform/WinApi.h"

namespace {

// Pictures beyond these bounds are refused before anything is allocated: 2^28 pixels are 1 GiB
// of RGB32, far above any picture of the catalogue.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;
constexpr std::int64_t kMaxSide = 1 << 16;

bool sizeAcceptable(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) <= kMaxPixels;
}

// Bytes of one packed DIB row: whole 32-bit words.
std::uint64_t dibStride(std::uint64_t width, std::uint64_t bitCount) {
  return ((width * bitCount + 31) >> 5) << 2;
}

std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t le32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

QRgb rgbOf(const unsigned char* bgr) { return qRgb(bgr[2], bgr[1], bgr[0]); }

// The colour table of rows of 1, 4 or 8 bits: `count` entries read, then black up to every index
// the bit count can hold, so that converting a row needs no index check.
std::vector<QRgb> readPalette(const unsigned char* entries, std::size_t count, int bitCount) {
  std::vector<QRgb> palette(std::size_t{1} << bitCount, qRgb(0, 0, 0));
  for (std::size_t i = 0; i < count && i < palette.size(); ++i) palette[i] = rgbOf(entries + 4 * i);
  return palette;
}

// Converts the first `columns` pixels of a packed row, the leftmost pixel of a byte in its most
// significant bits. `palette` comes from readPalette for 1, 4 and 8 bits. One loop per bit count:
// every pixel of every picture the catalogue shows passes through here.
void convertRow(const unsigned char* row, QRgb* out, int columns, int bitCount, const QRgb* palette) {
  switch (bitCount) {
    case 32:
      for (int x = 0; x < columns; ++x, row += 4) out[x] = rgbOf(row);
      return;
    case 24:
      for (int x = 0; x < columns; ++x, row += 3) out[x] = rgbOf(row);
      return;
    case 8:
      for (int x = 0; x < columns; ++x) out[x] = palette[row[x]];
      return;
    case 4: {
      int x = 0;
      for (; x + 1 < columns; x += 2) {
        const unsigned pair = row[x >> 1];
        out[x] = palette[pair >> 4];
        out[x + 1] = palette[pair & 0x0F];
      }
      if (x < columns) out[x] = palette[row[x >> 1] >> 4];
      return;
    }
    default:
      for (int x = 0; x < columns; ++x) out[x] = palette[(row[x >> 3] >> (7 - (x & 7))) & 0x01];
      return;
  }
}

// --- Windows bitmap files ---

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

// The largest picture taken from a bitmap file: no side beyond 4096 pixels and no more than 2^20
// pixels, 4 MB as the bitmap holds it. The program's one bitmap file, the logo, has a place of
// 462 x 72 and is held for the whole run.
constexpr std::int64_t kMaxFileSide = 4096;
constexpr std::uint64_t kMaxFilePixels = std::uint64_t{1} << 20;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

// Reads `count` bytes from `offset` on; false when the file does not hold them all.
bool readAt(std::FILE* file, std::uint64_t offset, unsigned char* out, std::size_t count) {
  if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 && std::fread(out, 1, count, file) == count;
}

// Decodes a "BM" file with a BITMAPINFOHEADER (or a later, longer header) and uncompressed rows
// of 1, 4, 8, 24 or 32 bits, bottom-up or top-down. Only the headers, the colour table and the rows
// are read, each once its size is checked against the bounds and the file, so a file costs what
// its picture needs however large it is or claims to be.
std::optional<QImage> readWindowsBitmap(std::FILE* file, std::uint64_t fileSize) {
  // Step 1: the two headers.
  unsigned char headers[kFileHeaderSize + kInfoHeaderSize];
  if (fileSize < sizeof headers || !readAt(file, 0, headers, sizeof headers)) return std::nullopt;
  if (headers[0] != 'B' || headers[1] != 'M') return std::nullopt;
  const std::uint64_t pixelOffset = le32(headers + 10);
  const std::uint64_t infoSize = le32(headers + 14);
  if (infoSize < kInfoHeaderSize || kFileHeaderSize + infoSize > fileSize) return std::nullopt;
  const unsigned char* info = headers + kFileHeaderSize;
  const std::int64_t width = static_cast<std::int32_t>(le32(info + 4));
  const std::int64_t signedHeight = static_cast<std::int32_t>(le32(info + 8));
  const unsigned planes = le16(info + 12);
  const unsigned bitCount = le16(info + 14);
  const std::uint32_t compression = le32(info + 16);
  const std::uint32_t colorsUsed = le32(info + 32);

  // Step 2: what this reader takes, the size bounded before anything else is read.
  const bool topDown = signedHeight < 0;
  const std::int64_t height = topDown ? -signedHeight : signedHeight;
  if (planes != 1 || compression != BI_RGB || !sizeAcceptable(width, height)) return std::nullopt;
  if (width > kMaxFileSide || height > kMaxFileSide ||
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxFilePixels) {
    return std::nullopt;
  }
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
    return std::nullopt;

  // Step 3: the colour table follows the info header and must lie wholly in the file.
  std::vector<QRgb> palette;
  if (bitCount <= 8) {
    const std::uint64_t maxEntries = std::uint64_t{1} << bitCount;
    const std::uint64_t entries =
        colorsUsed == 0 ? maxEntries : std::min<std::uint64_t>(colorsUsed, maxEntries);
    std::vector<unsigned char> table(static_cast<std::size_t>(4 * entries));
    if (!readAt(file, kFileHeaderSize + infoSize, table.data(), table.size())) return std::nullopt;
    palette = readPalette(table.data(), static_cast<std::size_t>(entries), static_cast<int>(bitCount));
  }

  // Step 4: the rows must lie wholly in the file.
  const std::uint64_t stride = dibStride(static_cast<std::uint64_t>(width), bitCount);
  const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(height);
  if (pixelOffset < kFileHeaderSize + kInfoHeaderSize || pixelOffset > fileSize ||
      pixelBytes > fileSize - pixelOffset) {
    return std::nullopt;
  }
  std::vector<unsigned char> rows(static_cast<std::size_t>(pixelBytes));
  if (!readAt(file, pixelOffset, rows.data(), rows.size())) return std::nullopt;

  // Step 5: the pixels.
  QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
  if (image.isNull()) return std::nullopt;
  for (std::int64_t fileRow = 0; fileRow < height; ++fileRow) {
    const unsigned char* row = rows.data() + static_cast<std::uint64_t>(fileRow) * stride;
    const int y = static_cast<int>(topDown ? fileRow : height - 1 - fileRow);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    convertRow(row, out, image.width(), static_cast<int>(bitCount), palette.data());
  }
  return image;
}

// --- JPEG ---

struct JpegErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

// The state of one decode. It lives in the caller's frame, so that nothing the decode changes is
// a local of the function that calls setjmp.
struct JpegDecode {
  jpeg_decompress_struct info;
  JpegErrorManager error;
  bool created = false;
  std::vector<unsigned char> pixels;  // RGB, 3 bytes a pixel, rows top-down
  int width = 0;
  int height = 0;
  int errorCode = 0;
  bool tooLarge = false;
};

[[noreturn]] void jpegErrorExit(j_common_ptr common) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(common->err);
  std::longjmp(manager->jump, 1);
}

// libjpeg's warnings (a damaged but readable stream) go nowhere, as with the framework's decoder.
void jpegSilentMessage(j_common_ptr) {}

// Runs libjpeg over the bytes; returns false when libjpeg gave up. Holds no object with a
// destructor, since an error leaves it through longjmp.
bool runJpegDecode(JpegDecode* decode, const unsigned char* data, std::size_t size) {
  decode->info.err = jpeg_std_error(&decode->error.pub);
  decode->error.pub.error_exit = jpegErrorExit;
  decode->error.pub.output_message = jpegSilentMessage;
  if (setjmp(decode->error.jump) != 0) {
    decode->errorCode = decode->error.pub.msg_code;
    return false;
  }
  jpeg_create_decompress(&decode->info);
  decode->created = true;
  jpeg_mem_src(&decode->info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&decode->info, TRUE);
  if (decode->info.jpeg_color_space == JCS_CMYK || decode->info.jpeg_color_space == JCS_YCCK) {
    decode->errorCode = JERR_CONVERSION_NOTIMPL;
    return false;
  }
  // Refused on the header's word: starting a progressive decode buffers the whole picture's
  // coefficients, gigabytes for a header that claims 65,000 pixels a side.
  if (!sizeAcceptable(decode->info.image_width, decode->info.image_height)) {
    decode->tooLarge = true;
    return false;
  }
  decode->info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&decode->info);
  if (decode->info.output_components != 3 ||
      !sizeAcceptable(decode->info.output_width, decode->info.output_height)) {
    decode->tooLarge = true;
    return false;
  }
  decode->width = static_cast<int>(decode->info.output_width);
  decode->height = static_cast<int>(decode->info.output_height);
  const std::size_t stride = static_cast<std::size_t>(decode->width) * 3;
  decode->pixels.resize(stride * static_cast<std::size_t>(decode->height));
  while (decode->info.output_scanline < decode->info.output_height) {
    JSAMPROW row = decode->pixels.data() + stride * decode->info.output_scanline;
    jpeg_read_scanlines(&decode->info, &row, 1);
  }
  jpeg_finish_decompress(&decode->info);
  return true;
}

QImage rgbToImage(const std::vector<unsigned char>& pixels, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  const std::size_t stride = static_cast<std::size_t>(width) * 3;
  for (int y = 0; y < height; ++y) {
    const unsigned char* in = pixels.data() + stride * static_cast<std::size_t>(y);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) out[x] = qRgb(in[3 * x], in[3 * x + 1], in[3 * x + 2]);
  }
  return image;
}

Exception jpegError(int code) { return Exception(AnsiString::Format("JPEG error #%d", code)); }

// Draws an image of Format_RGB32, leaving out the colour of its bottom-left pixel when asked. Only
// the part within the painter's clip is keyed, into a temporary of that size that goes with the
// paint: a transparent picture is never held twice.
void drawImage(QPainter& painter, int x, int y, const QImage& image, bool transparent) {
  if (!transparent) {
    painter.drawImage(x, y, image);
    return;
  }
  QRect part(x, y, image.width(), image.height());
  if (painter.hasClipping()) part &= painter.clipBoundingRect().toAlignedRect();
  if (part.isEmpty()) return;
  const QRgb key = image.pixel(0, image.height() - 1) & 0xFFFFFF;
  QImage keyed(part.size(), QImage::Format_ARGB32_Premultiplied);
  if (keyed.isNull()) return;
  for (int row = 0; row < part.height(); ++row) {
    const QRgb* in = reinterpret_cast<const QRgb*>(image.constScanLine(part.y() - y + row)) + (part.x() - x);
    auto* out = reinterpret_cast<QRgb*>(keyed.scanLine(row));
    for (int column = 0; column < part.width(); ++column) {
      out[column] = (in[column] & 0xFFFFFF) == key ? 0 : (in[column] | 0xFF000000);
    }
  }
  painter.drawImage(part.topLeft(), keyed);
}

bool opaqueAt(const QImage& image, int x, int y, bool transparent) {
  if (image.isNull() || x < 0 || y < 0 || x >= image.width() || y >= image.height()) return false;
  if (!transparent) return true;
  return (image.pixel(x, y) & 0xFFFFFF) != (image.pixel(0, image.height() - 1) & 0xFFFFFF);
}

}  // namespace

// --- BitmapData ---

namespace platform {

void BitmapData::Resize(int newWidth, int newHeight) {
  newWidth = std::max(0, newWidth);
  newHeight = std::max(0, newHeight);
  if (newWidth == width && newHeight == height) return;
  if (!sizeAcceptable(std::max(newWidth, 1), std::max(newHeight, 1))) {
    throw Exception("Out of system resources");
  }
  QImage resized;
  if (newWidth > 0 && newHeight > 0) {
    resized = QImage(newWidth, newHeight, QImage::Format_RGB32);
    if (resized.isNull()) throw Exception("Out of system resources");
    resized.fill(Qt::white);
    if (!image.isNull()) {
      QPainter painter(&resized);
      painter.drawImage(0, 0, image);
    }
  }
  image = std::move(resized);
  width = newWidth;
  height = newHeight;
  PixelsChanged();
}

void BitmapData::PixelsChanged() {
  if (owner != nullptr) owner->Changed();
}

}  // namespace platform

// --- TBitmap ---

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() { delete data_; }

platform::BitmapData& TBitmap::Data() {
  if (data_ == nullptr) {
    data_ = new platform::BitmapData;
    data_->owner = this;
  }
  return *data_;
}

void TBitmap::Adopt(platform::BitmapData* data) {
  if (data != data_) {
    delete data_;
    data_ = data;
  }
  if (data_ != nullptr) data_->owner = this;
  Changed();
}

int TBitmap::Width() const { return data_ != nullptr ? data_->width : 0; }

int TBitmap::Height() const { return data_ != nullptr ? data_->height : 0; }

void TBitmap::SetWidth(int width) { Data().Resize(width, Height()); }

void TBitmap::SetHeight(int height) { Data().Resize(Width(), height); }

void TBitmap::SetSize(int width, int height) { Data().Resize(width, height); }

HBITMAP TBitmap::Handle() { return Data().Handle(); }

void TBitmap::SetHandle(HBITMAP handle) {
  platform::BitmapData* data = platform::BitmapData::From(handle);
  if (data != nullptr && data->owner != nullptr && data->owner != this) {
    // Another bitmap owns these pixels; taking them would leave two owners, so this one copies.
    auto* copy = new platform::BitmapData;
    copy->image = data->image.copy();
    copy->width = data->width;
    copy->height = data->height;
    data = copy;
  }
  Adopt(data);
}

HBITMAP TBitmap::ReleaseHandle() {
  platform::BitmapData& data = Data();
  data.owner = nullptr;
  data_ = nullptr;
  Changed();
  return data.Handle();
}

void TBitmap::LoadFromFile(const AnsiString& fileName) {
  std::string path = fileName.str();
  std::replace(path.begin(), path.end(), '\\', '/');
  std::uint64_t size = 0;
  const OpenFile file(platform::openRegularFile(path.c_str(), &size));
  if (file == nullptr) throw Exception("Cannot open file " + fileName);
  std::optional<QImage> image = readWindowsBitmap(file.get(), size);
  if (!image) throw Exception("Bitmap image is not valid");

  auto* data = new platform::BitmapData;
  data->width = image->width();
  data->height = image->height();
  data->image = std::move(*image);
  Adopt(data);
}

void TBitmap::Draw(QPainter& painter, int x, int y) const {
  if (data_ == nullptr || data_->image.isNull()) return;
  drawImage(painter, x, y, data_->image, Transparent());
}

bool TBitmap::IsOpaqueAt(int x, int y) const {
  return data_ != nullptr && opaqueAt(data_->image, x, y, Transparent());
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
  auto copy = std::make_unique<TBitmap>();
  if (data_ != nullptr) {
    platform::BitmapData& data = copy->Data();
    data.image = data_->image.copy();
    data.width = data_->width;
    data.height = data_->height;
  }
  copy->SetTransparent(Transparent());
  return copy;
}

const QImage* TBitmap::Image() const {
  return data_ != nullptr && !data_->image.isNull() ? &data_->image : nullptr;
}

// --- TJPEGImage ---

TJPEGImage::TJPEGImage() = default;

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::LoadFromMemory(const unsigned char* data, std::size_t size) {
  if (data == nullptr || size == 0 || size > std::numeric_limits<unsigned long>::max()) {
    throw jpegError(JERR_INPUT_EMPTY);
  }
  auto decode = std::make_unique<JpegDecode>();
  bool decoded = false;
  try {
    decoded = runJpegDecode(decode.get(), data, size);
  } catch (...) {
    if (decode->created) jpeg_destroy_decompress(&decode->info);
    throw;
  }
  if (decode->created) jpeg_destroy_decompress(&decode->info);
  if (decode->tooLarge) throw Exception("Out of system resources");
  if (!decoded) throw jpegError(decode->errorCode);

  image_ = std::make_unique<QImage>(rgbToImage(decode->pixels, decode->width, decode->height));
  Changed();
}

int TJPEGImage::Width() const { return image_ ? image_->width() : 0; }

int TJPEGImage::Height() const { return image_ ? image_->height() : 0; }

void TJPEGImage::Draw(QPainter& painter, int x, int y) const {
  if (image_ && !image_->isNull()) drawImage(painter, x, y, *image_, Transparent());
}

bool TJPEGImage::IsOpaqueAt(int x, int y) const { return image_ && opaqueAt(*image_, x, y, Transparent()); }

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
  auto copy = std::make_unique<TJPEGImage>();
  if (image_) copy->image_ = std::make_unique<QImage>(*image_);
  copy->SetTransparent(Transparent());
  return copy;
}

const QImage* TJPEGImage::Image() const { return image_.get(); }

// --- TIcon ---

TIcon::TIcon() = default;

TIcon::~TIcon() = default;

void TIcon::LoadFromMemory(const unsigned char* data, std::size_t size) {
  if (data == nullptr || size == 0 || size > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw Exception("Icon image is not valid");
  }
  QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "ico");
  auto icon = std::make_unique<QIcon>();
  std::unique_ptr<QImage> first;
  for (;;) {
    const QImage picture = reader.read();
    if (picture.isNull()) break;
    if (!first) first = std::make_unique<QImage>(picture);
    icon->addPixmap(QPixmap::fromImage(picture));
    if (!reader.jumpToNextImage()) break;
  }
  if (!first) throw Exception("Icon image is not valid");
  icon_ = std::move(icon);
  image_ = std::move(first);
  Changed();
}

void TIcon::Assign(const TIcon& other) {
  if (&other == this) return;
  icon_ = other.icon_ ? std::make_unique<QIcon>(*other.icon_) : nullptr;
  image_ = other.image_ ? std::make_unique<QImage>(*other.image_) : nullptr;
  Changed();
}

int TIcon::Width() const { return image_ ? image_->width() : 0; }

int TIcon::Height() const { return image_ ? image_->height() : 0; }

void TIcon::Draw(QPainter& painter, int x, int y) const {
  if (image_) painter.drawImage(x, y, *image_);
}

bool TIcon::IsOpaqueAt(int x, int y) const {
  return image_ && x >= 0 && y >= 0 && x < image_->width() && y < image_->height() &&
         qAlpha(image_->pixel(x, y)) != 0;
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
  auto copy = std::make_unique<TIcon>();
  copy->Assign(*this);
  return copy;
}

const QIcon& TIcon::Icon() const {
  static const QIcon empty;
  return icon_ ? *icon_ : empty;
}

// --- TPicture ---

TPicture::~TPicture() {
  if (graphic_) graphic_->OnChange = nullptr;
}

TBitmap* TPicture::Bitmap() {
  if (auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get())) return bitmap;
  auto bitmap = std::make_unique<TBitmap>();
  TBitmap* result = bitmap.get();
  Attach(std::move(bitmap));
  return result;
}

void TPicture::SetGraphic(const TGraphic* graphic) {
  Attach(graphic != nullptr ? graphic->Clone() : nullptr);
}

int TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }

int TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

void TPicture::Attach(std::unique_ptr<TGraphic> graphic) {
  if (graphic_) graphic_->OnChange = nullptr;
  graphic_ = std::move(graphic);
  if (graphic_) {
    graphic_->OnChange = [this] {
      if (OnChange) OnChange();
    };
  }
  if (OnChange) OnChange();
}

// --- Win32 calls on bitmap handles ---

namespace {

// Header sizes of BITMAPINFOHEADER, BITMAPV4HEADER and BITMAPV5HEADER; the colour table follows.
bool knownInfoSize(std::uint32_t size) { return size == 40 || size == 108 || size == 124; }

}  // namespace

int SetDIBits(HDC dc, HBITMAP bitmap, UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
  // Step 1: what the call takes.
  if (dc == nullptr || bitmap == nullptr || bits == nullptr || info == nullptr || usage != DIB_RGB_COLORS)
    return 0;
  const BITMAPINFOHEADER& header = info->bmiHeader;
  if (!knownInfoSize(header.biSize) || header.biCompression != BI_RGB) return 0;
  const int bitCount = header.biBitCount;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24) return 0;
  const bool topDown = header.biHeight < 0;
  const std::int64_t dibWidth = header.biWidth;
  const std::int64_t dibHeight = topDown ? -static_cast<std::int64_t>(header.biHeight) : header.biHeight;
  if (!sizeAcceptable(dibWidth, dibHeight)) return 0;

  // Step 2: the scan lines given, cut at the DIB's height and at the image size it declares.
  if (startScan >= dibHeight) return 0;
  std::uint64_t count = std::min<std::uint64_t>(lines, static_cast<std::uint64_t>(dibHeight) - startScan);
  const std::uint64_t stride =
      dibStride(static_cast<std::uint64_t>(dibWidth), static_cast<std::uint64_t>(bitCount));
  if (header.biSizeImage != 0) count = std::min<std::uint64_t>(count, header.biSizeImage / stride);
  if (count == 0) return 0;

  // Step 3: the colour table, right after the header; indexes beyond it give black.
  std::vector<QRgb> palette;
  if (bitCount <= 8) {
    const std::uint32_t maxEntries = 1u << bitCount;
    const std::uint32_t entries = header.biClrUsed == 0 ? maxEntries : std::min(header.biClrUsed, maxEntries);
    palette = readPalette(reinterpret_cast<const unsigned char*>(info) + header.biSize, entries, bitCount);
  }

  // Step 4: the rows into the overlapping part of the bitmap, which keeps its size. Scan line s
  // counts from the bottom of a bottom-up DIB and from the top of a top-down one.
  platform::BitmapData& target = *platform::BitmapData::From(bitmap);
  const auto* rows = static_cast<const unsigned char*>(bits);
  const int columns = static_cast<int>(std::min<std::int64_t>(dibWidth, target.width));
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::int64_t scan = static_cast<std::int64_t>(startScan + i);
    const std::int64_t y = topDown ? scan : dibHeight - 1 - scan;
    if (y >= target.height || target.image.isNull()) continue;
    auto* out = reinterpret_cast<QRgb*>(target.image.scanLine(static_cast<int>(y)));
    convertRow(rows + i * stride, out, columns, bitCount, palette.data());
  }
  target.PixelsChanged();
  return static_cast<int>(count);
}

bool DeleteObject(HBITMAP bitmap) {
  platform::BitmapData* data = platform::BitmapData::From(bitmap);
  // A handle that a bitmap still owns is that bitmap's to free.
  if (data == nullptr || data->owner != nullptr) return false;
  delete data;
  return true;
}
