// The synthetic catalogue that the demo generator writes: makes, models, production periods and
// engines of vehicle applications, the exhaust systems they fit with their parts and elements
// placed on a 700 x 204 drawing, and the pictures those name. Everything is built from a fixed
// seed, so two runs give the same catalogue byte for byte. Texts are UTF-8 here; the database
// writer turns them into the code pages the programs read.

#ifndef CATALOG_TOOLS_DEMOCATALOG_H_
#define CATALOG_TOOLS_DEMOCATALOG_H_

#include <QRgb>
#include <cstddef>
#include <string>
#include <vector>

#include "tools/ImageFiles.h"

namespace demo {

// Size of the system drawing that parts and elements are placed on.
constexpr int kDrawingWidth = 700;
constexpr int kDrawingHeight = 204;

// The programs number at most 29 items (drawn parts and elements) per system.
constexpr int kMaxItemsPerSystem = 29;

// What a part or element picture shows.
enum class ItemShape {
  kFrontPipe,
  kCatalyst,
  kParticleFilter,
  kFlexPipe,
  kFrontSilencer,
  kMiddleSilencer,
  kPipe,
  kRearSilencer,
  kTailPipe,
  kSingleSilencer,
  kMountingKit,
  kClamp,
  kMount,
  kGasket,
  kBracket,
};

// One picture of a part or element, written as data/data_b/<name>.dat and, in red, as
// data/data_r/<name>.dat. The picture is exactly width x height; everything outside the shape
// is the plain `background`, which is also its bottom-left pixel.
struct ItemPicture {
  std::string name;
  ItemShape shape = ItemShape::kPipe;
  int width = 0;
  int height = 0;
  int variant = 0;  // small differences in detail between pictures of one shape
  QRgb background = 0xFFFFFFFF;
  PngFormat normalFormat = PngFormat::kRgb8;
  PngFormat highlightFormat = PngFormat::kRgb8;
};

// A row of TLUMIK_KIND.
struct PartKind {
  std::string id;
  std::string nameDe;
  std::string namePl;
};

// A row of TLUMIK: an article that parts of several systems can be.
struct Silencer {
  std::string id;
  std::string kindId;
  std::string veldo;
  std::string oe;           // the vehicle maker's number; empty for kits
  std::size_t picture = 0;  // index into Catalog::pictures
};

// An article that parts carry as elements (clamps, mounts, gaskets, brackets).
struct ElementArticle {
  std::string fa;
  std::size_t picture = 0;
};

// A row of T_U_ELEMENT, without its part key.
struct Element {
  std::size_t article = 0;  // index into Catalog::articles
  int x = 0;
  int y = 0;
  int quantity = 1;
};

// A row of T_U, without its system key, and the elements that belong to it.
struct Part {
  std::string id;
  std::size_t silencer = 0;  // index into Catalog::silencers
  bool visible = true;
  int x = 0;
  int y = 0;
  std::vector<Element> elements;
};

// A row of AUTA, without the columns that come from its system.
struct Application {
  std::string iteration;
  std::string make;
  std::string model;
  std::string version;
  std::string body;
  std::string period;
  int startYear = 0;
  int endYear = 0;  // 3000: still produced
  std::string engine;
  std::string capacity;
  bool catalyst = false;
  bool diesel = false;
  std::string additional;
};

struct ExhaustSystem {
  std::string id;
  std::string veldo;
  std::string uklady;  // the numbers the system went by, as the number search matches them
  std::vector<Application> applications;
  std::vector<Part> parts;
  // The system whose background drawing this one shares (same parts in the same places); the
  // system's own index when it has a drawing of its own.
  std::size_t drawingOf = 0;
};

struct Catalog {
  std::vector<PartKind> kinds;
  std::vector<ItemPicture> pictures;
  std::vector<Silencer> silencers;
  std::vector<ElementArticle> articles;
  std::vector<ExhaustSystem> systems;
};

// The demo catalogue: a dozen makes, a few hundred systems, several hundred applications.
Catalog buildDemoCatalog();

// The demo catalogue grown to about 200,000 applications for benchmarks, one make and model
// holding more than 8,000 of them. The added systems copy the parts of demo systems and share
// their pictures and drawings.
Catalog buildScaleCatalog();

// Picture and drawing sizes of an item.
const ItemPicture& pictureOf(const Catalog& catalog, const Part& part);
const ItemPicture& pictureOf(const Catalog& catalog, const Element& element);

// Drawn parts plus elements, the count the programs number items by.
int itemCount(const ExhaustSystem& system);

}  // namespace demo

#endif  // CATALOG_TOOLS_DEMOCATALOG_H_
