// The artwork that the program of the build's language carries inside itself: its splash picture
// and the window icon, as the program loads them.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "artwork/EmbeddedAssets.h"
#include "artwork/support/JpegPicture.h"
#include "common/FileBytes.h"

namespace {

std::vector<unsigned char> splashBytes() {
  return std::vector<unsigned char>(assets::kSplashJpeg, assets::kSplashJpeg + assets::kSplashJpegSize);
}

std::vector<unsigned char> iconBytes() {
  return std::vector<unsigned char>(assets::kWindowIcon, assets::kWindowIcon + assets::kWindowIconSize);
}

std::string sha256(const unsigned char* bytes, std::size_t size) {
  return QCryptographicHash::hash(
             QByteArrayView(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size)),
             QCryptographicHash::Sha256)
      .toHex()
      .toStdString();
}

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

TEST(SplashPictureTest, IsABaselineJpegOfTheSplashWindowWithWhiteLetteringOnDarkBlue) {
  const std::vector<unsigned char> jpeg = splashBytes();
  EXPECT_EQ(frameMarker(jpeg), 0xC0);
  const JpegPicture picture = decodeJpeg(jpeg.data(), jpeg.size());
  ASSERT_TRUE(picture.ok);
  EXPECT_EQ(picture.width, 517);
  EXPECT_EQ(picture.height, 333);
  EXPECT_EQ(picture.components, 3);
  EXPECT_FALSE(picture.progressive);
  const unsigned char* corner = &picture.rgb[0];
  EXPECT_GT(corner[2], corner[0] + 40);
  EXPECT_LT(corner[2], 160);
  std::size_t white = 0;
  for (std::size_t i = 0; i + 2 < picture.rgb.size(); i += 3) {
    if (picture.rgb[i] > 230 && picture.rgb[i + 1] > 230 && picture.rgb[i + 2] > 230) ++white;
  }
  EXPECT_GT(white, 2000u);
}

TEST(WindowIconTest, HoldsOneSixteenColourPictureOfSixteenPixels) {
  const std::vector<unsigned char> ico = iconBytes();
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

  const QImage image = QImage::fromData(ico.data(), static_cast<int>(ico.size()), "ICO");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(16, 16));
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "corner not masked";
  EXPECT_EQ(image.pixel(2, 2) | 0xFF000000u, 0xFFFFFFFFu) << "the V is not white";
  EXPECT_EQ(image.pixel(7, 7) | 0xFF000000u, 0xFF000080u) << "the ground is not navy";
}

// The pictures of the released programs, byte for byte. Drawing them again must not change
// them: a change here comes from the drawing code, the fonts (fonts-dejavu-core) or libjpeg, and
// wants a deliberate new release of the artwork rather than a quiet one.
TEST(EmbeddedArtworkTest, BytesAreThoseOfTheReleasedPictures) {
#if CATALOG_POLISH
  const std::string splash = "e93cb47fbd397eb98cbec71229cb938c5cc9de3c9411ea12eacf45883c1a9356";
#else
  const std::string splash = "579773dbfe2729acea4b4ec11a93fd953ff63904877c89583ee570e8695b9f27";
#endif
  EXPECT_EQ(sha256(assets::kSplashJpeg, assets::kSplashJpegSize), splash);
  EXPECT_EQ(sha256(assets::kWindowIcon, assets::kWindowIconSize),
            std::string("677182cece06064d5b97a8d4d1cf61c783dea2224ad4370da8daa33bb575eb80"));
}

}  // namespace
