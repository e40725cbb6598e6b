// Every picture of the demo folder that the build writes, as the loader decodes it: the block that
// its own samples make, byte for byte. The bounds that refuse crafted pictures must not touch a
// picture of the catalogue.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "picture/PngDib.h"
#include "picture/support/PngFiles.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> demoPictures() {
  std::vector<std::string> files;
  for (const char* folder : {"data_p", "data_b", "data_r"}) {
    const fs::path path = fs::path(CATALOG_DEMO_FOLDER) / "data" / folder;
    if (!fs::is_directory(path)) continue;
    for (const auto& entry : fs::directory_iterator(path)) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(DemoPicturesTest, EveryPictureDecodesToTheBlockOfItsOwnSamples) {
  const std::vector<std::string> files = demoPictures();
  ASSERT_GT(files.size(), 1000u) << "the demo folder " << CATALOG_DEMO_FOLDER << " holds too few pictures";
  int faults = 0;
  for (const std::string& file : files) {
    const ReadPicture read = readPng(file);
    ASSERT_TRUE(read.ok) << file;
    const LoadedDib dib(file);
    const bool same = dib.result == pngDibOk && dib.bytes() == expectedBlock(read.picture);
    EXPECT_TRUE(same) << file << ": result " << dib.result;
    if (!same && ++faults == 10) break;
  }
}

}  // namespace
