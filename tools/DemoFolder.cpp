#include "tools/DemoFolder.h"

#include <filesystem>
#include <stdexcept>

#include "artwork/PictureFiles.h"
#include "tools/Artwork.h"
#include "tools/CatalogDatabase.h"
#include "tools/ImageFiles.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

constexpr PngFormat kDrawingFormats[] = {PngFormat::kPalette4, PngFormat::kRgb8, PngFormat::kPalette8,
                                         PngFormat::kGrey8};

fs::path dataFolder(const std::string& folder, const char* name) {
  const fs::path path = fs::path(folder) / "data" / name;
  std::error_code error;
  fs::create_directories(path, error);
  if (error) throw std::runtime_error("cannot create " + path.string() + ": " + error.message());
  return path;
}

std::string pictureFile(const fs::path& folder, const std::string& name) {
  return (folder / (name + ".dat")).string();
}

// Systems that copy another's parts share its drawing; a hard link keeps the large catalogue small
// on disk, a copy serves where links are not possible.
void shareDrawing(const std::string& from, const std::string& to) {
  std::error_code error;
  fs::remove(to, error);
  fs::create_hard_link(from, to, error);
  if (!error) return;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
  if (error) throw std::runtime_error("cannot write " + to + ": " + error.message());
}

}  // namespace

void writeCatalogPictures(const Catalog& catalog, const std::string& folder) {
  const fs::path normal = dataFolder(folder, "data_b");
  const fs::path highlighted = dataFolder(folder, "data_r");
  const fs::path drawings = dataFolder(folder, "data_p");

  for (const ItemPicture& picture : catalog.pictures) {
    writePng(pictureFile(normal, picture.name), drawItemPicture(picture, false), picture.normalFormat,
             picture.background);
    writePng(pictureFile(highlighted, picture.name), drawItemPicture(picture, true), picture.highlightFormat,
             picture.background);
  }

  for (std::size_t i = 0; i < catalog.systems.size(); ++i) {
    const ExhaustSystem& system = catalog.systems[i];
    const std::string file = pictureFile(drawings, system.veldo);
    if (system.drawingOf == i) {
      writePng(file, drawSystemDrawing(catalog, system), kDrawingFormats[i % std::size(kDrawingFormats)], 0);
    } else {
      shareDrawing(pictureFile(drawings, catalog.systems[system.drawingOf].veldo), file);
    }
  }
}

void writeLogos(const std::string& folder) {
  const fs::path data = dataFolder(folder, ".");
  artwork::writeBitmapFile((data / "lg_de.dat").string(), drawLogo(artwork::Language::kGerman));
  artwork::writeBitmapFile((data / "lg_pl.dat").string(), drawLogo(artwork::Language::kPolish));
}

void writeDemoFolder(const std::string& folder, CatalogSize size) {
  const Catalog catalog = size == CatalogSize::kScale ? buildScaleCatalog() : buildDemoCatalog();
  writeCatalogPictures(catalog, folder);
  writeLogos(folder);
  // Last, so that the database's time stamp tells a complete folder.
  writeCatalogDatabase(catalog, (fs::path(folder) / "veldo28.bgp").string());
}

}  // namespace demo
