// The programs' embedded artwork: the splash picture, the window icon, and the byte arrays that
// the build makes of them.
#include "tools/Artwork.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <string>
#include <vector>

#include "tools/EmbeddedAssets.h"
#include "tools/ImageFiles.h"
#include "tools/support/ToolFiles.h"

namespace {

// The frame type of a JPEG: the marker of its first start-of-frame segment (0xC0 is baseline).
int frameMarker(const std::vector<unsigned char>& jpeg) {
  std::size_t at = 2;  // past SOI
  while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
    const int marker = jpeg[at + 1];
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) return marker;
    at += 2 + ((jpeg[at + 2] << 8) | jpeg[at + 3]);
  }
  return -1;
}

void expectSplash(const std::vector<unsigned char>& jpeg) {
  EXPECT_EQ(frameMarker(jpeg), 0xC0);
  const JpegPicture picture = decodeJpeg(jpeg.data(), jpeg.size());
  ASSERT_TRUE(picture.ok);
  EXPECT_EQ(picture.width, 517);
  EXPECT_EQ(picture.height, 333);
  EXPECT_EQ(picture.components, 3);
  EXPECT_FALSE(picture.progressive);
  // Dark blue round the edge, white lettering inside.
  const unsigned char* corner = &picture.rgb[0];
  EXPECT_GT(corner[2], corner[0] + 40);
  EXPECT_LT(corner[2], 160);
  std::size_t white = 0;
  for (std::size_t i = 0; i + 2 < picture.rgb.size(); i += 3) {
    if (picture.rgb[i] > 230 && picture.rgb[i + 1] > 230 && picture.rgb[i + 2] > 230) ++white;
  }
  EXPECT_GT(white, 2000u);
}

TEST(SplashTest, EachLanguageGetsABaselineJpegOfTheSplashWindow) {
  TempFolder folder;
  std::vector<std::vector<unsigned char>> decoded;
  for (demo::Language language : {demo::Language::kGerman, demo::Language::kPolish}) {
    const std::string path = folder.file("splash.jpg");
    demo::writeBaselineJpeg(path, demo::drawSplash(language), 92);
    const std::vector<unsigned char> jpeg = readBytes(path);
    expectSplash(jpeg);
    decoded.push_back(decodeJpeg(jpeg.data(), jpeg.size()).rgb);
  }
  EXPECT_NE(decoded[0], decoded[1]) << "the title is not in the build's language";
}

TEST(WindowIconTest, IconHoldsOneSixteenColourPictureOfSixteenPixels) {
  TempFolder folder;
  const std::string path = folder.file("icon.ico");
  demo::writeIcon16(path, demo::windowIconPixels(), demo::windowIconPalette());
  const std::vector<unsigned char> ico = readBytes(path);
  constexpr std::uint32_t kImageBytes = 40 + 64 + 128 + 64;
  ASSERT_EQ(ico.size(), 22 + kImageBytes);
  EXPECT_EQ(le16(ico, 0), 0u);
  EXPECT_EQ(le16(ico, 2), 1u);  // icon, not cursor
  EXPECT_EQ(le16(ico, 4), 1u);
  EXPECT_EQ(ico[6], 16);
  EXPECT_EQ(ico[7], 16);
  EXPECT_EQ(ico[8], 16);
  EXPECT_EQ(le16(ico, 12), 4u);
  EXPECT_EQ(le32(ico, 14), kImageBytes);
  EXPECT_EQ(le32(ico, 18), 22u);
  EXPECT_EQ(le32(ico, 22 + 4), 16u);
  EXPECT_EQ(le32(ico, 22 + 8), 32u);  // colour picture and mask
  EXPECT_EQ(le16(ico, 22 + 14), 4u);

  const QImage image(QString::fromStdString(path));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(16, 16));
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "corner not masked";
  EXPECT_EQ(image.pixel(2, 2) | 0xFF000000u, 0xFFFFFFFFu) << "the V is not white";
  EXPECT_EQ(image.pixel(7, 7) | 0xFF000000u, 0xFF000080u) << "the ground is not navy";
}

TEST(EmbeddedAssetsTest, ArraysHoldTheArtworkThatTheGeneratorWrites) {
  expectSplash(
      std::vector<unsigned char>(assets::kSplashJpeg, assets::kSplashJpeg + assets::kSplashJpegSize));

  TempFolder folder;
  demo::writeIcon16(folder.file("icon.ico"), demo::windowIconPixels(), demo::windowIconPalette());
  EXPECT_EQ(std::vector<unsigned char>(assets::kWindowIcon, assets::kWindowIcon + assets::kWindowIconSize),
            readBytes(folder.file("icon.ico")));
}

}  // namespace
