// Pictures: Windows bitmap files, bitmap handles lent out and back, SetDIBits on packed bitmaps,
// JPEG decoding over libjpeg, icons, and the picture that holds them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImageWriter>
#include <QTemporaryDir>
#include <chrono>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "common/ResourceUse.h"
#include "common/WidgetTesting.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"
#include "platform/WinApi.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& out, std::size_t at, std::uint16_t value) {
  out[at] = static_cast<std::uint8_t>(value);
  out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(Bytes& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::size_t strideOf(int width, int bits) {
  return ((static_cast<std::size_t>(width) * bits + 31) >> 5) << 2;
}

// Packs the pixel values (colour indexes, or 0xRRGGBB for 24 and 32 bits) of rows given top-down
// into DIB rows stored bottom-up (or top-down when asked).
Bytes packRows(int width, int height, int bits, const std::function<std::uint32_t(int x, int y)>& valueAt,
               bool topDown = false) {
  const std::size_t stride = strideOf(width, bits);
  Bytes rows(stride * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = rows.data() + stride * static_cast<std::size_t>(topDown ? y : height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = valueAt(x, y);
      switch (bits) {
        case 1:
          row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8));
          break;
        case 2:
          row[x / 4] |= static_cast<std::uint8_t>((v & 3) << (6 - 2 * (x % 4)));
          break;
        case 4:
          row[x / 2] |= static_cast<std::uint8_t>((v & 15) << (x % 2 == 0 ? 4 : 0));
          break;
        case 8:
          row[x] = static_cast<std::uint8_t>(v);
          break;
        case 16:
          row[2 * x] = static_cast<std::uint8_t>(v);
          row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
          break;
        default: {
          const std::size_t bytes = static_cast<std::size_t>(bits / 8);
          row[bytes * x] = static_cast<std::uint8_t>(v);
          row[bytes * x + 1] = static_cast<std::uint8_t>(v >> 8);
          row[bytes * x + 2] = static_cast<std::uint8_t>(v >> 16);
        }
      }
    }
  }
  return rows;
}

// A packed DIB: header, colour table (0xRRGGBB entries), rows.
Bytes makeDib(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
              std::uint32_t clrUsed, const std::function<std::uint32_t(int, int)>& valueAt) {
  Bytes block(40 + 4 * palette.size());
  put32(block, 0, 40);
  put32(block, 4, static_cast<std::uint32_t>(width));
  put32(block, 8, static_cast<std::uint32_t>(height));
  put16(block, 12, 1);
  put16(block, 14, static_cast<std::uint16_t>(bits));
  put32(block, 32, clrUsed);
  for (std::size_t i = 0; i < palette.size(); ++i) put32(block, 40 + 4 * i, palette[i]);
  const Bytes rows = packRows(width, height, bits, valueAt);
  block.insert(block.end(), rows.begin(), rows.end());
  return block;
}

// A Windows bitmap file: the file header, the info header, the colour table (with biClrUsed set
// when it is shorter than the bit count allows), the rows.
Bytes makeBitmapFile(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
                     const std::function<std::uint32_t(int, int)>& valueAt, bool topDown = false) {
  const std::size_t headers = 14 + 40 + 4 * palette.size();
  Bytes file(headers);
  file[0] = 'B';
  file[1] = 'M';
  put32(file, 10, static_cast<std::uint32_t>(headers));
  put32(file, 14, 40);
  put32(file, 18, static_cast<std::uint32_t>(width));
  put32(file, 22, static_cast<std::uint32_t>(topDown ? -height : height));
  put16(file, 26, 1);
  put16(file, 28, static_cast<std::uint16_t>(bits));
  const bool shortTable = bits <= 8 && palette.size() < (std::size_t{1} << bits);
  put32(file, 46, shortTable ? static_cast<std::uint32_t>(palette.size()) : 0);
  for (std::size_t i = 0; i < palette.size(); ++i) put32(file, 54 + 4 * i, palette[i]);
  const Bytes rows = packRows(width, height, bits, valueAt, topDown);
  file.insert(file.end(), rows.begin(), rows.end());
  put32(file, 2, static_cast<std::uint32_t>(file.size()));
  return file;
}

QRgb rgbOf(std::uint32_t value) { return qRgb((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF); }

// A working folder of its own with a "data" folder, as the program has.
class PictureFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    ASSERT_TRUE(QDir().mkdir("data"));
  }
  void TearDown() override { QDir::setCurrent(previous); }

  void write(const char* name, const Bytes& bytes) {
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  }

  // The message LoadFromFile raised, or "" when it raised nothing.
  static std::string loadError(TBitmap& bitmap, const char* name) {
    try {
      bitmap.LoadFromFile(name);
    } catch (const Exception& e) {
      return e.Message.str();
    }
    return "";
  }

  QTemporaryDir folder;
  QString previous;
};

const std::vector<std::uint32_t> kTwoColours = {0x000000, 0xFFFFFF};
const std::vector<std::uint32_t> kSixteen = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                             0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                             0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

std::uint32_t diagonal(int x, int y) { return (x + y) % 2 == 0 ? 1u : 0u; }

// --- damaged and missing files ---

struct DamagedFile {
  const char* label;
  std::function<Bytes()> bytes;
};

class DamagedBitmapFileTest : public PictureFilesTest, public ::testing::WithParamInterface<DamagedFile> {};

TEST_P(DamagedBitmapFileTest, RaisesBitmapImageIsNotValid) {
  write("data/lg_de.dat", GetParam().bytes());
  TBitmap bitmap;
  EXPECT_EQ("Bitmap image is not valid", loadError(bitmap, "data\\lg_de.dat"));
  EXPECT_EQ(0, bitmap.Width());
}

Bytes validFile() {
  return makeBitmapFile(20, 10, 24, {}, [](int, int) { return 0x123456u; });
}

const DamagedFile kDamagedFiles[] = {
    {"Empty", [] { return Bytes(); }},
    {"NotABitmap", [] { return Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'}; }},
    {"HeaderCutShort",
     [] {
       Bytes b = validFile();
       b.resize(30);
       return b;
     }},
    {"PixelsCutShort",
     [] {
       Bytes b = validFile();
       b.resize(b.size() - 7);
       return b;
     }},
    {"HugeClaimedSize",
     [] {
       Bytes b = validFile();
       put32(b, 18, 0x7FFFFFFF);
       put32(b, 22, 0x7FFFFFFF);
       return b;
     }},
    {"LargeClaimedSizeSmallFile",
     [] {
       Bytes b = validFile();
       put32(b, 18, 10000);
       put32(b, 22, 10000);
       return b;
     }},
    {"MostNegativeHeight",
     [] {
       Bytes b = validFile();
       put32(b, 22, 0x80000000u);
       return b;
     }},
    {"ZeroWidth",
     [] {
       Bytes b = validFile();
       put32(b, 18, 0);
       return b;
     }},
    {"NegativeWidth",
     [] {
       Bytes b = validFile();
       put32(b, 18, static_cast<std::uint32_t>(-20));
       return b;
     }},
    {"PixelOffsetBeyondTheFile",
     [] {
       Bytes b = validFile();
       put32(b, 10, 0xFFFFFFF0u);
       return b;
     }},
    {"InfoHeaderSizeBeyondTheFile",
     [] {
       Bytes b = validFile();
       put32(b, 14, 0xFFFFFFF0u);
       return b;
     }},
    {"CompressedRows",
     [] {
       Bytes b = makeBitmapFile(4, 4, 8, kSixteen, [](int, int) { return 1u; });
       put32(b, 30, 1);  // BI_RLE8
       return b;
     }},
    {"SixteenBitRows",
     [] {
       Bytes b = validFile();
       put16(b, 28, 16);
       return b;
     }},
    {"ColourTableBeyondTheFile",
     [] {
       Bytes b = makeBitmapFile(4, 1, 8, {0x000000}, [](int, int) { return 0u; });
       put32(b, 46, 200);  // claims 200 colours; the file holds 1 and 4 bytes of pixels
       return b;
     }},
};

INSTANTIATE_TEST_SUITE_P(Files, DamagedBitmapFileTest, ::testing::ValuesIn(kDamagedFiles),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(PictureFilesTest, MissingFileCannotBeOpenedAndIsNamedAsGiven) {
  TBitmap bitmap;
  EXPECT_EQ("Cannot open file data\\lg_de.dat", loadError(bitmap, "data\\lg_de.dat"));
  EXPECT_EQ(0, bitmap.Width());
}

TEST_F(PictureFilesTest, FolderCannotBeOpened) {
  TBitmap bitmap;
  EXPECT_EQ("Cannot open file data", loadError(bitmap, "data"));
}

// Only the headers and the pixels that they name are read: a file of 1200 MB (sparse, so it takes
// no room on the disk) with a valid picture of 20 x 10 at its start loads at once.
TEST_F(PictureFilesTest, LargeFileIsReadOnlyAsFarAsItsPicture) {
  write("data/huge.dat", validFile());
  QFile file("data/huge.dat");
  ASSERT_TRUE(file.resize(qint64{1200} * 1024 * 1024));
  TBitmap bitmap;
  const FileReadCount reads;
  EXPECT_EQ("", loadError(bitmap, "data/huge.dat"));
  EXPECT_LE(reads.bytes(), 64u * 1024);
  ASSERT_EQ(20, bitmap.Width());
  EXPECT_EQ(qRgb(0x12, 0x34, 0x56), bitmap.Image()->pixel(19, 9));
}

struct LargePicture {
  const char* label;
  int width;
  int height;
  int bits;
  bool valid;
};

const LargePicture kLargePictures[] = {
    {"16384 x 16384, 1 bit (32 MB of pixels)", 16384, 16384, 1, false},
    {"one pixel wider than the widest", 4097, 1, 24, false},
    {"one row more than the most pixels", 1024, 1025, 1, false},
    {"the widest", 4096, 256, 1, true},
    {"the most pixels, 24 bits", 1024, 1024, 24, true},
};

// A bitmap file of huge declared size, its pixels all in the file, is refused on its headers: its
// pixels are not read, nothing is held. The largest pictures still load.
TEST_F(PictureFilesTest, PictureLargerThanAnyLogoIsNotValidAndItsPixelsAreNotRead) {
  for (const LargePicture& c : kLargePictures) {
    SCOPED_TRACE(c.label);
    // The headers of a black picture; the zero pixels follow as a sparse end of the file.
    Bytes headers = makeBitmapFile(1, 1, c.bits, c.bits == 1 ? kTwoColours : std::vector<std::uint32_t>{},
                                   [](int, int) { return 0u; });
    const std::size_t pixelOffset = headers.size() - strideOf(1, c.bits);
    headers.resize(pixelOffset);
    put32(headers, 18, static_cast<std::uint32_t>(c.width));
    put32(headers, 22, static_cast<std::uint32_t>(c.height));
    write("data/large.dat", headers);
    const qint64 size = static_cast<qint64>(pixelOffset + strideOf(c.width, c.bits) * c.height);
    ASSERT_TRUE(QFile("data/large.dat").resize(size));

    TBitmap bitmap;
    const std::size_t heapBefore = heapBytesInUse();
    const FileReadCount reads;
    const std::string error = loadError(bitmap, "data/large.dat");
    if (c.valid) {
      EXPECT_EQ("", error);
      EXPECT_EQ(c.width, bitmap.Width());
      continue;
    }
    EXPECT_EQ("Bitmap image is not valid", error);
    EXPECT_LE(reads.bytes(), 64u * 1024);
    EXPECT_LE(heapBytesInUse(), heapBefore + 1024 * 1024);
    EXPECT_EQ(0, bitmap.Width());
  }
}

// Opening a named pipe waits for a writer, for ever if none comes; the logo must not wait.
TEST_F(PictureFilesTest, NamedPipeCannotBeOpenedAndIsNotWaitedFor) {
  ASSERT_EQ(0, mkfifo("data/lg_de.dat", 0600));
  auto load = std::async(std::launch::async, [] {
    TBitmap bitmap;
    return loadError(bitmap, "data\\lg_de.dat");
  });
  if (load.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    // Let the stuck open go on, so that the test fails instead of hanging.
    const int writer = open("data/lg_de.dat", O_WRONLY | O_NONBLOCK);
    ADD_FAILURE() << "the logo still waits for the pipe after 10 seconds";
    load.wait();
    if (writer >= 0) close(writer);
    return;
  }
  EXPECT_EQ("Cannot open file data\\lg_de.dat", load.get());
}

TEST_F(PictureFilesTest, FailedLoadKeepsThePreviousPicture) {
  write("data/good.dat", validFile());
  TBitmap bitmap;
  bitmap.LoadFromFile("data/good.dat");
  EXPECT_FALSE(loadError(bitmap, "data\\missing.dat").empty());
  EXPECT_EQ(20, bitmap.Width());
  EXPECT_EQ(qRgb(0x12, 0x34, 0x56), bitmap.Image()->pixel(3, 3));
}

TEST_F(PictureFilesTest, BackslashNameOpensTheFileWithSlashes) {
  write("data/lg_de.dat", validFile());
  TBitmap bitmap;
  EXPECT_EQ("", loadError(bitmap, "data\\lg_de.dat"));
  EXPECT_EQ(20, bitmap.Width());
  EXPECT_EQ(10, bitmap.Height());
}

// --- bitmap files that load ---

struct GoodFile {
  const char* label;
  std::function<Bytes()> bytes;
  int width;
  int height;
  std::function<QRgb(int x, int y)> expected;
};

class BitmapFileTest : public PictureFilesTest, public ::testing::WithParamInterface<GoodFile> {};

TEST_P(BitmapFileTest, LoadsEveryPixelInPlace) {
  write("data/picture.dat", GetParam().bytes());
  TBitmap bitmap;
  bitmap.LoadFromFile("data/picture.dat");
  ASSERT_EQ(GetParam().width, bitmap.Width());
  ASSERT_EQ(GetParam().height, bitmap.Height());
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      ASSERT_EQ(GetParam().expected(x, y), bitmap.Image()->pixel(x, y)) << x << "," << y;
    }
  }
}

std::uint32_t gradient(int x, int y) {
  return static_cast<std::uint32_t>((x * 20) << 16 | (y * 30) << 8 | 0x40);
}

const GoodFile kGoodFiles[] = {
    {"OneBit", [] { return makeBitmapFile(11, 5, 1, kTwoColours, diagonal); }, 11, 5,
     [](int x, int y) { return rgbOf(kTwoColours[diagonal(x, y)]); }},
    {"FourBits",
     [] { return makeBitmapFile(7, 3, 4, kSixteen, [](int x, int y) { return (x + 3 * y) % 16u; }); }, 7, 3,
     [](int x, int y) { return rgbOf(kSixteen[(x + 3 * y) % 16]); }},
    {"EightBitsShortTable",
     [] {
       return makeBitmapFile(5, 4, 8, {0xFF0000, 0x00FF00, 0x0000FF}, [](int x, int) { return x % 3u; });
     },
     5, 4,
     [](int x, int) {
       return rgbOf(std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x0000FF}[x % 3]);
     }},
    {"EightBitsIndexBeyondTheTableIsBlack",
     [] {
       return makeBitmapFile(4, 2, 8, {0xFF0000, 0x00FF00}, [](int x, int) { return x == 3 ? 200u : 1u; });
     },
     4, 2, [](int x, int) { return x == 3 ? qRgb(0, 0, 0) : qRgb(0, 255, 0); }},
    {"TwentyFourBitsBottomUp", [] { return makeBitmapFile(5, 3, 24, {}, gradient); }, 5, 3,
     [](int x, int y) { return rgbOf(gradient(x, y)); }},
    {"TwentyFourBitsTopDown", [] { return makeBitmapFile(5, 3, 24, {}, gradient, true); }, 5, 3,
     [](int x, int y) { return rgbOf(gradient(x, y)); }},
    {"ThirtyTwoBits", [] { return makeBitmapFile(3, 4, 32, {}, gradient); }, 3, 4,
     [](int x, int y) { return rgbOf(gradient(x, y)); }},
    {"LongerInfoHeader",
     [] {
       // A 124-byte header: the pixels lie further on, as the offset says.
       Bytes b = makeBitmapFile(3, 2, 24, {}, gradient);
       Bytes longer(b.begin(), b.begin() + 54);
       longer.insert(longer.end(), 84, 0);
       longer.insert(longer.end(), b.begin() + 54, b.end());
       put32(longer, 14, 124);
       put32(longer, 10, 14 + 124);
       return longer;
     },
     3, 2, [](int x, int y) { return rgbOf(gradient(x, y)); }},
};

INSTANTIATE_TEST_SUITE_P(Files, BitmapFileTest, ::testing::ValuesIn(kGoodFiles),
                         [](const auto& info) { return std::string(info.param.label); });

// --- handles ---

TEST(BitmapHandleTest, ReleasedHandleKeepsThePixelsAndComesBackWithSetHandle) {
  TBitmap bitmap;
  testing_support::fillBitmap(bitmap, 6, 4, [](int x, int) { return qRgb(x * 40, 0, 0); });
  HBITMAP handle = bitmap.ReleaseHandle();
  ASSERT_NE(nullptr, handle);
  EXPECT_EQ(0, bitmap.Width());
  EXPECT_EQ(nullptr, bitmap.Image());
  bitmap.SetHandle(handle);
  EXPECT_EQ(6, bitmap.Width());
  EXPECT_EQ(4, bitmap.Height());
  EXPECT_EQ(qRgb(200, 0, 0), bitmap.Image()->pixel(5, 3));
  EXPECT_EQ(handle, bitmap.Handle());
}

TEST(BitmapHandleTest, DeleteObjectFreesOnlyAReleasedHandle) {
  TBitmap bitmap;
  bitmap.SetWidth(3);
  bitmap.SetHeight(3);
  EXPECT_FALSE(DeleteObject(bitmap.Handle()));  // still the bitmap's
  EXPECT_EQ(3, bitmap.Width());
  EXPECT_TRUE(DeleteObject(bitmap.ReleaseHandle()));
  EXPECT_FALSE(DeleteObject(nullptr));
}

TEST(BitmapHandleTest, SetHandleOfNullEmptiesTheBitmap) {
  TBitmap bitmap;
  bitmap.SetWidth(3);
  bitmap.SetHeight(3);
  bitmap.SetHandle(nullptr);
  EXPECT_EQ(0, bitmap.Width());
  EXPECT_TRUE(bitmap.Empty());
}

TEST(BitmapHandleTest, AnotherBitmapsHandleIsCopiedNotShared) {
  TBitmap first;
  testing_support::fillBitmap(first, 2, 2, [](int, int) { return qRgb(1, 2, 3); });
  {
    TBitmap second;
    second.SetHandle(first.Handle());
    EXPECT_EQ(qRgb(1, 2, 3), second.Image()->pixel(1, 1));
  }
  EXPECT_EQ(qRgb(1, 2, 3), first.Image()->pixel(1, 1));
}

TEST(BitmapHandleTest, ResizingKeepsTheTopLeftPixelsAndAddsWhite) {
  TBitmap bitmap;
  testing_support::fillBitmap(bitmap, 4, 4, [](int x, int y) { return qRgb(x * 10, y * 10, 5); });
  bitmap.SetWidth(6);
  bitmap.SetHeight(2);
  ASSERT_EQ(6, bitmap.Width());
  ASSERT_EQ(2, bitmap.Height());
  EXPECT_EQ(qRgb(30, 10, 5), bitmap.Image()->pixel(3, 1));
  EXPECT_EQ(qRgb(255, 255, 255), bitmap.Image()->pixel(5, 0));
}

TEST(BitmapHandleTest, SizeThatTheBitmapCannotHoldChangesNothing) {
  TBitmap bitmap;
  testing_support::fillBitmap(bitmap, 120, 40,
                              [](int x, int) { return x < 60 ? qRgb(1, 2, 3) : qRgb(4, 5, 6); });
  EXPECT_THROW(bitmap.SetSize(1, 70000), Exception);
  EXPECT_THROW(bitmap.SetHeight(70000), Exception);
  ASSERT_EQ(120, bitmap.Width());
  ASSERT_EQ(40, bitmap.Height());
  EXPECT_EQ(qRgb(4, 5, 6), bitmap.Image()->pixel(119, 39));
  bitmap.SetSize(7, 3);
  EXPECT_EQ(7, bitmap.Width());
  EXPECT_EQ(3, bitmap.Height());
  EXPECT_EQ(qRgb(1, 2, 3), bitmap.Image()->pixel(6, 2));
}

TEST(BitmapHandleTest, ChangesOfThePixelsAreReported) {
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&changes] { ++changes; };
  TBitmap* bitmap = picture.Bitmap();
  changes = 0;
  bitmap->SetWidth(4);
  EXPECT_EQ(1, changes);
  HBITMAP handle = bitmap->ReleaseHandle();
  bitmap->SetHandle(handle);
  EXPECT_EQ(3, changes);
}

// --- SetDIBits ---

// A bitmap of 6 x 4 grey pixels, and the device context of a canvas.
class SetDIBitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::fillBitmap(bitmap, 6, 4, [](int, int) { return qRgb(9, 9, 9); });
  }

  int copy(const Bytes& block, UINT start, UINT lines, std::size_t paletteEntries) {
    return SetDIBits(canvas.Handle(), bitmap.Handle(), start, lines, block.data() + 40 + 4 * paletteEntries,
                     reinterpret_cast<const BITMAPINFO*>(block.data()), DIB_RGB_COLORS);
  }

  QRgb at(int x, int y) const { return bitmap.Image()->pixel(x, y); }

  TCanvas canvas;
  TBitmap bitmap;
};

struct DibCase {
  const char* label;
  int bits;
  std::vector<std::uint32_t> palette;
  std::uint32_t clrUsed;
  std::function<std::uint32_t(int, int)> value;
  std::function<QRgb(int, int)> expected;
};

class DibBitCountTest : public SetDIBitsTest, public ::testing::WithParamInterface<DibCase> {};

TEST_P(DibBitCountTest, CopiesEveryPixelWithRowsBottomUp) {
  const DibCase& c = GetParam();
  const Bytes block = makeDib(6, 4, c.bits, c.palette, c.clrUsed, c.value);
  EXPECT_EQ(4, copy(block, 0, 4, c.palette.size()));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) ASSERT_EQ(c.expected(x, y), at(x, y)) << x << "," << y;
  }
}

// Every row distinct, so that a row out of order shows.
std::uint32_t rowPattern(int x, int y) { return static_cast<std::uint32_t>((x + 2 * y) % 4); }

const std::vector<std::uint32_t> kFour = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};

const DibCase kDibs[] = {
    {"OneBit", 1, kTwoColours, 0, diagonal, [](int x, int y) { return rgbOf(kTwoColours[diagonal(x, y)]); }},
    {"FourBitsFullTable", 4, kSixteen, 0,
     [](int x, int y) { return static_cast<std::uint32_t>(x + 6 * y) % 16; },
     [](int x, int y) { return rgbOf(kSixteen[(x + 6 * y) % 16]); }},
    {"FourBitsShortTable", 4, kFour, 4, rowPattern,
     [](int x, int y) { return rgbOf(kFour[rowPattern(x, y)]); }},
    {"EightBitsShortTable", 8, kFour, 4, rowPattern,
     [](int x, int y) { return rgbOf(kFour[rowPattern(x, y)]); }},
    {"EightBitsIndexBeyondTheTable", 8, kFour, 4, [](int x, int) { return x == 5 ? 250u : 1u; },
     [](int x, int) { return x == 5 ? qRgb(0, 0, 0) : qRgb(0, 255, 0); }},
    {"TwentyFourBits", 24, {}, 0, gradient, [](int x, int y) { return rgbOf(gradient(x, y)); }},
};

INSTANTIATE_TEST_SUITE_P(BitCounts, DibBitCountTest, ::testing::ValuesIn(kDibs),
                         [](const auto& info) { return std::string(info.param.label); });

struct RefusedDib {
  const char* label;
  int bits;
};

class RefusedBitCountTest : public SetDIBitsTest, public ::testing::WithParamInterface<RefusedDib> {};

TEST_P(RefusedBitCountTest, CopiesNothing) {
  const Bytes block =
      makeDib(6, 4, GetParam().bits, GetParam().bits == 2 ? kFour : std::vector<std::uint32_t>{}, 0,
              [](int, int) { return 0xFFFFFFu; });
  EXPECT_EQ(0, copy(block, 0, 4, GetParam().bits == 2 ? 4 : 0));
  EXPECT_EQ(6, bitmap.Width());
  EXPECT_EQ(4, bitmap.Height());
  EXPECT_EQ(qRgb(9, 9, 9), at(0, 0));
  EXPECT_EQ(qRgb(9, 9, 9), at(5, 3));
}

INSTANTIATE_TEST_SUITE_P(BitCounts, RefusedBitCountTest,
                         ::testing::Values(RefusedDib{"TwoBits", 2}, RefusedDib{"SixteenBits", 16},
                                           RefusedDib{"ThirtyTwoBits", 32}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(SetDIBitsTest, BitmapKeepsItsSizeAndTakesTheOverlap) {
  const Bytes block = makeDib(8, 6, 24, {}, 0, [](int, int) { return 0xFF0000u; });
  EXPECT_EQ(6, copy(block, 0, 6, 0));
  EXPECT_EQ(6, bitmap.Width());
  EXPECT_EQ(4, bitmap.Height());
  EXPECT_EQ(qRgb(255, 0, 0), at(0, 0));
  EXPECT_EQ(qRgb(255, 0, 0), at(5, 3));
}

TEST_F(SetDIBitsTest, SmallerDibFillsTheTopLeftOnly) {
  const Bytes block = makeDib(2, 2, 24, {}, 0, [](int, int) { return 0x0000FFu; });
  EXPECT_EQ(2, copy(block, 0, 2, 0));
  EXPECT_EQ(qRgb(0, 0, 255), at(1, 1));
  EXPECT_EQ(qRgb(9, 9, 9), at(2, 1));
  EXPECT_EQ(qRgb(9, 9, 9), at(1, 2));
}

TEST_F(SetDIBitsTest, LinesBeyondTheDibAreCut) {
  const Bytes block = makeDib(6, 4, 24, {}, 0, [](int, int) { return 0x00FF00u; });
  EXPECT_EQ(4, copy(block, 0, 1000, 0));
  EXPECT_EQ(qRgb(0, 255, 0), at(3, 0));
}

TEST_F(SetDIBitsTest, StartScanCountsFromTheBottom) {
  // One line, scan line 1 of a 4-line DIB: the second row from the bottom.
  const Bytes block = makeDib(6, 1, 24, {}, 0, [](int, int) { return 0x00FF00u; });
  Bytes tall = block;
  put32(tall, 8, 4);
  EXPECT_EQ(1, copy(tall, 1, 1, 0));
  EXPECT_EQ(qRgb(0, 255, 0), at(0, 2));
  EXPECT_EQ(qRgb(9, 9, 9), at(0, 3));
  EXPECT_EQ(qRgb(9, 9, 9), at(0, 1));
}

TEST_F(SetDIBitsTest, InvalidArgumentsCopyNothing) {
  const Bytes block = makeDib(6, 4, 24, {}, 0, [](int, int) { return 0xFFFFFFu; });
  const auto* info = reinterpret_cast<const BITMAPINFO*>(block.data());
  const std::uint8_t* bits = block.data() + 40;
  EXPECT_EQ(0, SetDIBits(canvas.Handle(), nullptr, 0, 4, bits, info, DIB_RGB_COLORS));
  EXPECT_EQ(0, SetDIBits(canvas.Handle(), bitmap.Handle(), 0, 4, nullptr, info, DIB_RGB_COLORS));
  EXPECT_EQ(0, SetDIBits(canvas.Handle(), bitmap.Handle(), 0, 4, bits, nullptr, DIB_RGB_COLORS));
  EXPECT_EQ(0, SetDIBits(nullptr, bitmap.Handle(), 0, 4, bits, info, DIB_RGB_COLORS));
  EXPECT_EQ(0, SetDIBits(canvas.Handle(), bitmap.Handle(), 4, 1, bits, info, DIB_RGB_COLORS));
  for (const auto& [offset, value] : std::vector<std::pair<std::size_t, std::uint32_t>>{
           {4, 0}, {4, static_cast<std::uint32_t>(-6)}, {8, 0}, {0, 12}, {16, 1}}) {
    Bytes damaged = block;
    put32(damaged, offset, value);
    EXPECT_EQ(0, copy(damaged, 0, 4, 0)) << offset << "=" << value;
  }
  EXPECT_EQ(qRgb(9, 9, 9), at(0, 0));
}

TEST_F(SetDIBitsTest, TheWholePictureCopyShowsThePixels) {
  // Size the bitmap to the picture, lend the handle out, copy, give it back.
  TPicture picture;
  TBitmap* target = picture.Bitmap();
  target->SetWidth(3);
  target->SetHeight(2);
  HBITMAP handle = target->ReleaseHandle();
  const Bytes block = makeDib(3, 2, 24, {}, 0, gradient);
  SetDIBits(canvas.Handle(), handle, 0, 2, block.data() + 40,
            reinterpret_cast<const BITMAPINFO*>(block.data()), DIB_RGB_COLORS);
  target->SetHandle(handle);
  ASSERT_EQ(3, picture.Width());
  ASSERT_EQ(2, picture.Height());
  EXPECT_EQ(rgbOf(gradient(2, 1)), target->Image()->pixel(2, 1));
  EXPECT_EQ(rgbOf(gradient(0, 0)), target->Image()->pixel(0, 0));
}

// --- JPEG ---

// Compresses an RGB picture with libjpeg: the left half red, the right half blue.
Bytes makeJpeg(int width, int height, bool progressive = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
  for (int x = 0; x < width; ++x) {
    const bool left = x < width / 2;
    row[3 * x] = left ? 255 : 0;
    row[3 * x + 1] = 0;
    row[3 * x + 2] = left ? 0 : 255;
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes result(out, out + size);
  std::free(out);
  return result;
}

TEST(JpegTest, DecodesToItsSizeAndColours) {
  const Bytes jpeg = makeJpeg(48, 32);
  TJPEGImage image;
  image.LoadFromMemory(jpeg.data(), jpeg.size());
  ASSERT_EQ(48, image.Width());
  ASSERT_EQ(32, image.Height());
  EXPECT_TRUE(testing_support::near(QColor(255, 0, 0), QColor(image.Image()->pixel(5, 16)), 24));
  EXPECT_TRUE(testing_support::near(QColor(0, 0, 255), QColor(image.Image()->pixel(42, 16)), 24));
}

struct DamagedJpeg {
  const char* label;
  std::function<Bytes()> bytes;
};

class DamagedJpegTest : public ::testing::TestWithParam<DamagedJpeg> {};

TEST_P(DamagedJpegTest, RaisesAFrameworkException) {
  const Bytes bytes = GetParam().bytes();
  TJPEGImage image;
  try {
    image.LoadFromMemory(bytes.empty() ? nullptr : bytes.data(), bytes.size());
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(0, e.Message.Pos("JPEG error #") - 1) << e.Message.str();
  }
  EXPECT_EQ(0, image.Width());
}

const DamagedJpeg kDamagedJpegs[] = {
    {"Empty", [] { return Bytes(); }},
    {"NotAJpeg", [] { return Bytes{'B', 'M', 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}; }},
    {"CutInsideTheHeader",
     [] {
       Bytes b = makeJpeg(16, 16);
       b.resize(40);
       return b;
     }},
    {"DamagedFrameHeader",
     [] {
       Bytes b = makeJpeg(16, 16);
       // The frame header (FFC0) with a component count of 0.
       for (std::size_t i = 0; i + 9 < b.size(); ++i) {
         if (b[i] == 0xFF && b[i + 1] == 0xC0) {
           b[i + 9] = 0;
           break;
         }
       }
       return b;
     }},
};

INSTANTIATE_TEST_SUITE_P(Jpegs, DamagedJpegTest, ::testing::ValuesIn(kDamagedJpegs),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(JpegTest, HugeSizeInTheHeaderIsRefusedBeforeDecoding) {
  // A progressive picture of 16 x 16 pixels whose frame header (FFC2) claims 65,000 a side:
  // decoding it would buffer gigabytes before the size could be refused.
  Bytes jpeg = makeJpeg(16, 16, true);
  std::size_t frame = 0;
  while (frame + 8 < jpeg.size() && !(jpeg[frame] == 0xFF && jpeg[frame + 1] == 0xC2)) ++frame;
  ASSERT_LT(frame + 8, jpeg.size());
  for (std::size_t at : {frame + 5, frame + 7}) {  // height, then width, big-endian
    jpeg[at] = 0xFD;
    jpeg[at + 1] = 0xE8;
  }
  TJPEGImage image;
  try {
    image.LoadFromMemory(jpeg.data(), jpeg.size());
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(AnsiString("Out of system resources"), e.Message);
  }
  EXPECT_EQ(0, image.Width());
}

TEST(JpegTest, PixelsCutShortStillGiveThePictureSize) {
  // libjpeg fills in a stream that ends early; the picture keeps its size.
  Bytes jpeg = makeJpeg(64, 64);
  std::size_t scan = 0;  // the start-of-scan marker: the pixels follow it
  while (scan + 1 < jpeg.size() && !(jpeg[scan] == 0xFF && jpeg[scan + 1] == 0xDA)) ++scan;
  ASSERT_LT(scan + 1, jpeg.size());
  jpeg.resize(scan + (jpeg.size() - scan) / 2);
  TJPEGImage image;
  image.LoadFromMemory(jpeg.data(), jpeg.size());
  EXPECT_EQ(64, image.Width());
  EXPECT_EQ(64, image.Height());
}

TEST(JpegTest, FailedLoadKeepsThePreviousPicture) {
  const Bytes jpeg = makeJpeg(20, 10);
  TJPEGImage image;
  image.LoadFromMemory(jpeg.data(), jpeg.size());
  const Bytes junk(100, 0x55);
  EXPECT_THROW(image.LoadFromMemory(junk.data(), junk.size()), Exception);
  EXPECT_EQ(20, image.Width());
}

// --- icons and pictures ---

Bytes makeIco() {
  QImage picture(16, 16, QImage::Format_ARGB32);
  picture.fill(qRgba(0, 128, 0, 255));
  picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "ico");
  EXPECT_TRUE(writer.write(picture)) << writer.errorString().toStdString();
  return Bytes(bytes.begin(), bytes.end());
}

TEST(IconTest, ReadsAnIcoFile) {
  const Bytes ico = makeIco();
  TIcon icon;
  icon.LoadFromMemory(ico.data(), ico.size());
  EXPECT_EQ(16, icon.Width());
  EXPECT_EQ(16, icon.Height());
  EXPECT_FALSE(icon.Icon().isNull());
  EXPECT_FALSE(icon.IsOpaqueAt(0, 0));
  EXPECT_TRUE(icon.IsOpaqueAt(5, 5));

  TIcon copy;
  copy.Assign(icon);
  EXPECT_EQ(16, copy.Width());
}

TEST(IconTest, DamagedIcoRaisesAndKeepsTheIcon) {
  const Bytes ico = makeIco();
  TIcon icon;
  icon.LoadFromMemory(ico.data(), ico.size());
  const Bytes junk = {0, 0, 1, 0, 1, 0, 99, 99};
  EXPECT_THROW(icon.LoadFromMemory(junk.data(), junk.size()), Exception);
  EXPECT_THROW(icon.LoadFromMemory(nullptr, 0), Exception);
  EXPECT_EQ(16, icon.Width());
}

TEST(PictureTest, BitmapTurnsAnotherGraphicIntoAnEmptyBitmap) {
  const Bytes jpeg = makeJpeg(20, 10);
  TJPEGImage image;
  image.LoadFromMemory(jpeg.data(), jpeg.size());
  TPicture picture;
  picture.SetGraphic(&image);
  EXPECT_EQ(20, picture.Width());
  EXPECT_NE(nullptr, dynamic_cast<TJPEGImage*>(picture.Graphic()));

  TBitmap* bitmap = picture.Bitmap();
  EXPECT_EQ(bitmap, picture.Graphic());
  EXPECT_EQ(0, bitmap->Width());
  EXPECT_EQ(bitmap, picture.Bitmap());  // a bitmap stays
}

TEST(PictureTest, SetGraphicStoresACopy) {
  TPicture picture;
  {
    TBitmap bitmap;
    testing_support::fillBitmap(bitmap, 2, 3, [](int, int) { return qRgb(7, 7, 7); });
    picture.SetGraphic(&bitmap);
  }
  EXPECT_EQ(2, picture.Width());
  EXPECT_EQ(3, picture.Height());
  picture.SetGraphic(nullptr);
  EXPECT_EQ(nullptr, picture.Graphic());
}

TEST(PictureTest, TransparentBitmapIsOpaqueExceptItsBottomLeftColour) {
  TBitmap bitmap;
  testing_support::fillBitmap(bitmap, 3, 3,
                              [](int x, int y) { return x == 0 || y == 0 ? qRgb(1, 1, 1) : qRgb(2, 2, 2); });
  EXPECT_TRUE(bitmap.IsOpaqueAt(0, 2));
  bitmap.SetTransparent(true);
  EXPECT_FALSE(bitmap.IsOpaqueAt(0, 2));
  EXPECT_FALSE(bitmap.IsOpaqueAt(2, 0));
  EXPECT_TRUE(bitmap.IsOpaqueAt(1, 1));
  EXPECT_FALSE(bitmap.IsOpaqueAt(3, 1));
}

}  // namespace
