// A catalogue picture into an image control: the picture at its own size, the block released,
// and the image left as it was whenever the file cannot be shown.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <functional>
#include <string>

#include "app/ShowPng.h"
#include "app/Unit1.h"
#include "app/support/CatalogRun.h"
#include "app/support/PictureFixtures.h"
#include "platform/WinApi.h"
#include "tools/ImageFiles.h"

namespace {

constexpr QRgb kRed = qRgb(200, 0, 0);
constexpr QRgb kGreen = qRgb(0, 160, 0);
constexpr QRgb kBlue = qRgb(0, 0, 200);
constexpr QRgb kYellow = qRgb(230, 220, 0);

// Four quarters of different colours, so that a picture upside down or mirrored shows.
QImage quarters(int width, int height) {
  QImage image = pictures::filled(width, height, kRed);
  QPainter painter(&image);
  painter.fillRect(width / 2, 0, width - width / 2, height / 2, QColor(kGreen));
  painter.fillRect(0, height / 2, width / 2, height - height / 2, QColor(kBlue));
  painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, QColor(kYellow));
  return image;
}

QRgb pixelOf(TImage& image, int x, int y) {
  const QImage* pixels = image.Picture()->Bitmap()->Image();
  return pixels != nullptr ? pixels->pixel(x, y) & 0xFFFFFF : 0xFFFFFFFF;
}

class ShowPngTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.writeLogo();
    folder.writeCatalogue();
    pictures::writePng("data/data_b/quarters.dat", quarters(120, 40));
  }

  // The picture copy needs the main window, whose canvas is the device context.
  void withMainWindow(const std::function<void()>& check) {
    startup.run(check);
    EXPECT_TRUE(startup.boxes.empty());
  }

  WorkingFolder folder;
  StartupRun startup;
};

TEST_F(ShowPngTest, APictureSizesTheBitmapToItselfWhateverTheControlsSize) {
  withMainWindow([] {
    TImage image(nullptr);
    image.SetBounds(0, 0, 300, 10);
    showPngInImage(&image, "data/data_b/quarters.dat");

    TBitmap* bitmap = image.Picture()->Bitmap();
    EXPECT_EQ(bitmap->Width(), 120);
    EXPECT_EQ(bitmap->Height(), 40);
    EXPECT_EQ(image.Width(), 300);
    EXPECT_EQ(image.Height(), 10);
    EXPECT_EQ(pixelOf(image, 0, 0), kRed & 0xFFFFFF);
    EXPECT_EQ(pixelOf(image, 119, 0), kGreen & 0xFFFFFF);
    EXPECT_EQ(pixelOf(image, 0, 39), kBlue & 0xFFFFFF);
    EXPECT_EQ(pixelOf(image, 119, 39), kYellow & 0xFFFFFF);
  });
}

TEST_F(ShowPngTest, AfterSuccessTheBlockIsReleasedOnceAndTheBitmapOwnsItsHandle) {
  withMainWindow([] {
    TImage image(nullptr);
    GlobalBlockWatch watch;
    showPngInImage(&image, "data/data_b/quarters.dat");
    showPngInImage(&image, "data/data_b/quarters.dat");

    EXPECT_EQ(watch.pictureBlocks(), 2);
    EXPECT_EQ(watch.held(), 0);
    EXPECT_EQ(watch.strayReleases(), 0);
    // A handle that a bitmap owns is that bitmap's to free.
    EXPECT_FALSE(DeleteObject(image.Picture()->Bitmap()->Handle()));
    EXPECT_EQ(pixelOf(image, 119, 39), kYellow & 0xFFFFFF);
  });
}

TEST_F(ShowPngTest, AnImageHoldingAnotherKindOfPictureGetsABitmap) {
  withMainWindow([] {
    TImage image(nullptr);
    TJPEGImage empty;
    image.Picture()->SetGraphic(&empty);
    showPngInImage(&image, "data/data_b/quarters.dat");
    ASSERT_NE(dynamic_cast<TBitmap*>(image.Picture()->Graphic()), nullptr);
    EXPECT_EQ(image.Picture()->Width(), 120);
  });
}

// The same picture by a path of `length` characters: "./" in front, and "//" (the same folder as
// "/") for an odd length.
std::string paddedPath(std::size_t length) {
  std::string path = length % 2 == 0 ? "data/data_b/quarters.dat" : "data//data_b/quarters.dat";
  while (path.size() < length) path = "./" + path;
  return path;
}

TEST_F(ShowPngTest, APathOf259CharactersLoadsAndOneOf260LoadsNothing) {
  withMainWindow([] {
    const std::string fits = paddedPath(259);
    const std::string tooLong = paddedPath(260);
    ASSERT_EQ(fits.size(), 259u);
    ASSERT_EQ(tooLong.size(), 260u);

    TImage longPath(nullptr);
    showPngInImage(&longPath, tooLong.c_str());
    EXPECT_EQ(longPath.Picture()->Width(), 0);

    TImage fitting(nullptr);
    showPngInImage(&fitting, fits.c_str());
    EXPECT_EQ(fitting.Picture()->Width(), 120);
  });
}

struct UnshownFile {
  const char* label;
  const char* path;
  std::function<void(WorkingFolder&)> write;  // what lies at the path, if anything
};

TEST_F(ShowPngTest, AFileThatCannotBeShownLeavesTheImageAsItWas) {
  const UnshownFile cases[] = {
      {"missing file", "data/data_b/missing.dat", nullptr},
      {"empty path", "", nullptr},
      {"a folder", "data/data_b", nullptr},
      {"text, not a PNG", "data/data_b/text.dat",
       [](WorkingFolder& f) { f.writeFile("data/data_b/text.dat", "hello"); }},
      {"empty file", "data/data_b/empty.dat",
       [](WorkingFolder& f) { f.writeFile("data/data_b/empty.dat", ""); }},
      {"PNG cut off in its pixels", "data/data_b/cut.dat",
       [](WorkingFolder& f) {
         pictures::writePng("data/data_b/whole.dat", quarters(64, 64));
         const std::string bytes = f.readFile("data/data_b/whole.dat");
         f.writeFile("data/data_b/cut.dat", bytes.substr(0, bytes.size() / 2));
       }},
      {"too wide for a bitmap", "data/data_b/wide.dat",
       [](WorkingFolder&) { pictures::writeGreyPng("data/data_b/wide.dat", 70000, 1, 1, 1); }},
      {"too high for a bitmap", "data/data_b/high.dat",
       [](WorkingFolder&) { pictures::writeGreyPng("data/data_b/high.dat", 1, 70000, 1, 1); }},
  };
  for (const UnshownFile& c : cases) {
    if (c.write) c.write(folder);
  }

  withMainWindow([&] {
    for (const UnshownFile& c : cases) {
      SCOPED_TRACE(c.label);
      TImage image(nullptr);
      image.SetVisible(false);
      showPngInImage(&image, "data/data_b/quarters.dat");

      GlobalBlockWatch watch;
      EXPECT_NO_THROW(showPngInImage(&image, c.path));
      EXPECT_EQ(watch.held(), 0);
      EXPECT_EQ(watch.strayReleases(), 0);
      EXPECT_EQ(image.Picture()->Bitmap()->Width(), 120);
      EXPECT_EQ(image.Picture()->Bitmap()->Height(), 40);
      EXPECT_EQ(pixelOf(image, 0, 0), kRed & 0xFFFFFF);
      // Not narrowed to the picture and widened back, which would leave the far columns white.
      EXPECT_EQ(pixelOf(image, 119, 39), kYellow & 0xFFFFFF);
      EXPECT_FALSE(image.Visible());
    }
  });
}

// The catalogue names a picture in the build's code page; the desktop keeps the file under the
// same name in UTF-8.
TEST_F(ShowPngTest, APathInTheBuildsCodePageOpensTheFileOfThatName) {
#if CATALOG_POLISH
  const std::string utf8Path = "data/data_b/tłumik_końcowy.dat";
#else
  const std::string utf8Path = "data/data_b/Endschalldämpfer.dat";
#endif
  pictures::writePng(utf8Path, quarters(120, 40));
  withMainWindow([&] {
    TImage image(nullptr);
    showPngInImage(&image, AnsiString::FromUtf8(utf8Path).c_str());
    EXPECT_EQ(image.Picture()->Width(), 120);
    EXPECT_EQ(pixelOf(image, 119, 39), kYellow & 0xFFFFFF);
  });
}

TEST_F(ShowPngTest, ATwoBitPictureGivesItsSizeWithoutItsPixels) {
  // Grey level 1 of 3 is 85 in the colour table; the bitmap copy does not take 2 bits a pixel.
  pictures::writeGreyPng("data/data_b/two_bit.dat", 8, 4, 2, 1);
  withMainWindow([] {
    TImage image(nullptr);
    GlobalBlockWatch watch;
    showPngInImage(&image, "data/data_b/two_bit.dat");

    TBitmap* bitmap = image.Picture()->Bitmap();
    EXPECT_EQ(bitmap->Width(), 8);
    EXPECT_EQ(bitmap->Height(), 4);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 8; ++x)
        EXPECT_NE(pixelOf(image, x, y), qRgb(85, 85, 85) & 0xFFFFFF) << x << "," << y;
    }
    EXPECT_EQ(watch.pictureBlocks(), 1);
    EXPECT_EQ(watch.held(), 0);
    EXPECT_FALSE(DeleteObject(bitmap->Handle()));
  });
}

struct StoredFormat {
  const char* label;
  demo::PngFormat format;
};

TEST_F(ShowPngTest, EveryStoredPictureFormatShowsItsColours) {
  const StoredFormat formats[] = {
      {"grey, 4 bits", demo::PngFormat::kGrey4},         {"grey, 8 bits", demo::PngFormat::kGrey8},
      {"grey with alpha", demo::PngFormat::kGreyAlpha8}, {"palette, 4 bits", demo::PngFormat::kPalette4},
      {"palette, 8 bits", demo::PngFormat::kPalette8},   {"RGB", demo::PngFormat::kRgb8},
      {"RGB with alpha", demo::PngFormat::kRgba8},
  };
  // Black and white survive every format exactly, greys included; an odd width pads each row.
  const QImage picture = pictures::keyedLeft(13, 5, 4, qRgb(255, 255, 255), qRgb(0, 0, 0));
  folder.makeFolder("data/data_b");
  for (int i = 0; i < static_cast<int>(std::size(formats)); ++i) {
    demo::writePng("data/data_b/f" + std::to_string(i) + ".dat", picture, formats[i].format,
                   qRgb(255, 255, 255));
  }

  withMainWindow([&] {
    for (int i = 0; i < static_cast<int>(std::size(formats)); ++i) {
      SCOPED_TRACE(formats[i].label);
      TImage image(nullptr);
      showPngInImage(&image, ("data/data_b/f" + std::to_string(i) + ".dat").c_str());
      ASSERT_EQ(image.Picture()->Width(), 13);
      ASSERT_EQ(image.Picture()->Height(), 5);
      EXPECT_EQ(pixelOf(image, 0, 4), 0xFFFFFFu);
      EXPECT_EQ(pixelOf(image, 3, 0), 0xFFFFFFu);
      EXPECT_EQ(pixelOf(image, 4, 0), 0u);
      EXPECT_EQ(pixelOf(image, 12, 4), 0u);
    }
  });
}

}  // namespace
