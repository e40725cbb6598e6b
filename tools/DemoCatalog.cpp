#include "tools/DemoCatalog.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <tuple>

namespace demo {
namespace {

// splitmix64: the same numbers on every platform and standard library, unlike the std
// distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int below(int n) { return n <= 1 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
  int between(int low, int high) { return low + below(high - low + 1); }
  bool chance(int percent) { return below(100) < percent; }

 private:
  std::uint64_t state_;
};

constexpr std::uint64_t kSeed = 20171113;
constexpr int kStillProduced = 3000;

// ---- Vehicle data ------------------------------------------------------------------------------

struct GenerationSpec {
  const char* version;
  int start;
  int end;
  std::vector<const char*> bodies;
};

struct ModelSpec {
  const char* model;
  std::vector<GenerationSpec> generations;
};

struct MakeSpec {
  const char* make;
  const char* dieselTag;
  const char* oePrefix;
  std::vector<ModelSpec> models;
};

const std::vector<MakeSpec>& makes() {
  static const std::vector<MakeSpec> kMakes = {
      {"Audi",
       "TDI",
       "8D0",
       {
           {"80",
            {{"80 (B3)", 1986, 1991, {"Limousine"}},
             {"80 (B4)", 1991, 1996, {"Limousine", "Kombi", "Cabrio"}}}},
           {"A3",
            {{"A3 (8L)", 1996, 2003, {"Hatchback"}},
             {"A3 (8P)", 2003, 2012, {"Hatchback", "Sportback"}},
             {"A3 (8V)", 2012, kStillProduced, {"Hatchback", "Limousine"}}}},
           {"A4",
            {{"A4 (B5)", 1994, 2001, {"Limousine", "Kombi"}},
             {"A4 (B6)", 2000, 2004, {"Limousine", "Kombi"}},
             {"A4 (B8)", 2007, 2015, {"Limousine", "Kombi"}}}},
           {"A6", {{"A6 (C5)", 1997, 2004, {"Limousine", "Kombi"}}}},
       }},
      {"BMW",
       "d",
       "1817",
       {
           {"1er", {{"1er (E87)", 2004, 2011, {"Hatchback"}}}},
           {"3er",
            {{"3er (E30)", 1982, 1994, {"Limousine", "Kombi", "Cabrio"}},
             {"3er (E36)", 1990, 2000, {"Limousine", "Coupe"}},
             {"3er (E46)", 1998, 2006, {"Limousine", "Kombi", "Coupe"}},
             {"3er (F30)", 2011, kStillProduced, {"Limousine", "Kombi"}}}},
           {"5er",
            {{"5er (E34)", 1988, 1996, {"Limousine", "Kombi"}},
             {"5er (E39)", 1995, 2004, {"Limousine", "Kombi"}}}},
       }},
      {"Citroen",
       "HDi",
       "1730",
       {
           {"2CV", {{"2CV 6", 1949, 1990, {"Limousine"}}}},
           {"Berlingo",
            {{"Berlingo (M49)", 1996, 2008, {"Van"}}, {"Berlingo (B9)", 2008, kStillProduced, {"Van"}}}},
           {"C3", {{"C3 I", 2002, 2009, {"Hatchback"}}, {"C3 II", 2009, 2016, {"Hatchback"}}}},
           {"Xsara", {{"Xsara (N1)", 1997, 2005, {"Hatchback", "Kombi"}}}},
       }},
      {"Fiat",
       "JTD",
       "4643",
       {
           {"500",
            {{"500 (110)", 1957, 1975, {"Limousine"}},
             {"500 (312)", 2007, kStillProduced, {"Hatchback", "Cabrio"}}}},
           {"Panda",
            {{"Panda (141)", 1980, 2003, {"Hatchback"}}, {"Panda (169)", 2003, 2012, {"Hatchback"}}}},
           {"Punto",
            {{"Punto (176)", 1993, 1999, {"Hatchback", "Cabrio"}},
             {"Punto (188)", 1999, 2010, {"Hatchback"}}}},
           {"Uno", {{"Uno (146)", 1983, 2002, {"Hatchback"}}}},
       }},
      {"Ford",
       "TDCi",
       "1S7",
       {
           {"Fiesta",
            {{"Fiesta III", 1989, 1997, {"Hatchback"}},
             {"Fiesta V", 2001, 2008, {"Hatchback"}},
             {"Fiesta VI", 2008, 2017, {"Hatchback"}}}},
           {"Focus",
            {{"Focus I", 1998, 2004, {"Hatchback", "Kombi", "Limousine"}},
             {"Focus II", 2004, 2011, {"Hatchback", "Kombi"}},
             {"Focus III", 2011, kStillProduced, {"Hatchback", "Kombi"}}}},
           {"Mondeo", {{"Mondeo III", 2000, 2007, {"Limousine", "Kombi"}}}},
           {"Transit", {{"Transit (V184)", 2000, 2006, {"Van", "Pick-up"}}}},
       }},
      {"Opel",
       "CDTI",
       "5852",
       {
           {"Astra",
            {{"Astra F", 1991, 1998, {"Hatchback", "Kombi", "Limousine"}},
             {"Astra G", 1998, 2004, {"Hatchback", "Kombi"}},
             {"Astra H", 2004, 2010, {"Hatchback", "Kombi"}},
             {"Astra J", 2009, 2015, {"Hatchback", "Kombi"}}}},
           {"Corsa",
            {{"Corsa B", 1993, 2000, {"Hatchback"}},
             {"Corsa C", 2000, 2006, {"Hatchback"}},
             {"Corsa D", 2006, 2014, {"Hatchback"}}}},
           {"Kadett", {{"Kadett E", 1984, 1991, {"Hatchback", "Kombi"}}}},
           {"Vectra",
            {{"Vectra B", 1995, 2002, {"Limousine", "Kombi"}},
             {"Vectra C", 2002, 2008, {"Limousine", "Kombi"}}}},
       }},
      {"Peugeot",
       "HDi",
       "1726",
       {
           {"206", {{"206 (2A/C)", 1998, 2012, {"Hatchback", "Kombi"}}}},
           {"307", {{"307 (3A/C)", 2000, 2008, {"Hatchback", "Kombi"}}}},
           {"405", {{"405 (15B)", 1987, 1996, {"Limousine", "Kombi"}}}},
           {"Partner", {{"Partner (5)", 1996, 2008, {"Van"}}}},
       }},
      {"Renault",
       "dCi",
       "8200",
       {
           {"Clio",
            {{"Clio I", 1990, 1998, {"Hatchback"}},
             {"Clio II", 1998, 2005, {"Hatchback"}},
             {"Clio III", 2005, 2012, {"Hatchback", "Kombi"}}}},
           {"Kangoo", {{"Kangoo (KC)", 1997, 2008, {"Van"}}}},
           {"Megane",
            {{"Megane I", 1995, 2002, {"Hatchback", "Cabrio"}},
             {"Megane II", 2002, 2008, {"Hatchback", "Kombi"}}}},
           {"Twingo", {{"Twingo (C06)", 1993, 2007, {"Hatchback"}}}},
       }},
      {"Seat",
       "TDI",
       "6K0",
       {
           {"Ibiza", {{"Ibiza (6K)", 1993, 2002, {"Hatchback"}}, {"Ibiza (6L)", 2002, 2008, {"Hatchback"}}}},
           {"Leon", {{"Leon (1M)", 1999, 2006, {"Hatchback"}}, {"Leon (1P)", 2005, 2012, {"Hatchback"}}}},
           {"Toledo", {{"Toledo (1L)", 1991, 1999, {"Limousine"}}}},
       }},
      {"Skoda",
       "TDI",
       "1U0",
       {
           {"Fabia",
            {{"Fabia (6Y)", 1999, 2008, {"Hatchback", "Kombi"}},
             {"Fabia (5J)", 2007, 2014, {"Hatchback", "Kombi"}}}},
           {"Felicia", {{"Felicia (6U)", 1994, 2001, {"Hatchback", "Kombi", "Pick-up"}}}},
           {"Octavia",
            {{"Octavia (1U)", 1996, 2010, {"Limousine", "Kombi"}},
             {"Octavia (1Z)", 2004, 2013, {"Limousine", "Kombi"}},
             {"Octavia (5E)", 2013, kStillProduced, {"Limousine", "Kombi"}}}},
       }},
      {"Toyota",
       "D-4D",
       "17430",
       {
           {"Avensis", {{"Avensis (T25)", 2003, 2008, {"Limousine", "Kombi"}}}},
           {"Corolla",
            {{"Corolla (E10)", 1992, 1997, {"Limousine", "Kombi"}},
             {"Corolla (E12)", 2002, 2007, {"Hatchback", "Kombi"}}}},
           {"Yaris",
            {{"Yaris (P1)", 1999, 2005, {"Hatchback"}},
             {"Yaris (P2)", 2005, 2011, {"Hatchback"}},
             {"Yaris (P13)", 2011, kStillProduced, {"Hatchback"}}}},
       }},
      {"Volkswagen",
       "TDI",
       "1J0",
       {
           {"Golf",
            {{"Golf II (19E)", 1983, 1992, {"Hatchback"}},
             {"Golf III (1H)", 1991, 1998, {"Hatchback", "Kombi", "Cabrio"}},
             {"Golf IV (1J)", 1997, 2006, {"Hatchback", "Kombi"}},
             {"Golf V (1K)", 2003, 2009, {"Hatchback", "Kombi"}},
             {"Golf VI (5K)", 2008, 2013, {"Hatchback", "Kombi"}},
             {"Golf VII (5G)", 2012, kStillProduced, {"Hatchback", "Kombi"}}}},
           {"Käfer", {{"Käfer 1200", 1946, 1985, {"Limousine", "Cabrio"}}}},
           {"Passat",
            {{"Passat (B3)", 1988, 1993, {"Limousine", "Kombi"}},
             {"Passat (B5)", 1996, 2005, {"Limousine", "Kombi"}}}},
           {"Polo", {{"Polo (6N)", 1994, 2001, {"Hatchback"}}, {"Polo (9N)", 2001, 2009, {"Hatchback"}}}},
           {"Transporter", {{"Transporter (T4)", 1990, 2003, {"Van", "Pick-up"}}}},
       }},
  };
  return kMakes;
}

// Generations that started before this year get the engines of their time and the simple route
// of a single silencer.
constexpr int kClassicBefore = 1960;

struct EngineSpec {
  const char* capacity;
  const char* text;  // "{D}" stands for the make's diesel name
  bool diesel;
  bool classic;
  int from;
  int to;
};

const std::vector<EngineSpec>& engines() {
  static const std::vector<EngineSpec> kEngines = {
      {"0.5", "0.5 13kW", false, true, 1946, 1975},
      {"0.6", "0.6 21kW", false, true, 1949, 1990},
      {"1.2", "1.2 25kW", false, true, 1946, 1985},
      {"1.3", "1.3 29kW", false, true, 1965, 1985},
      {"1.0", "1.0 33kW", false, false, 1983, 1998},
      {"1.1", "1.1 40kW", false, false, 1980, 1996},
      {"1.2", "1.2 44kW", false, false, 1995, 2012},
      {"1.3", "1.3 44kW", false, false, 1982, 1995},
      {"1.4", "1.4 16V 55kW", false, false, 1995, 2010},
      {"1.4", "1.4 Turbo 90kW", false, false, 2008, kStillProduced},
      {"1.6", "1.6 55kW", false, false, 1982, 1996},
      {"1.6", "1.6 16V 74kW", false, false, 1996, 2012},
      {"1.6", "1.6 Turbo 110kW", false, false, 2010, kStillProduced},
      {"1.8", "1.8 66kW", false, false, 1982, 1996},
      {"1.8", "1.8 16V 92kW", false, false, 1993, 2006},
      {"2.0", "2.0 85kW", false, false, 1986, 1998},
      {"2.0", "2.0 16V 110kW", false, false, 1996, 2010},
      {"2.0", "2.0 Turbo 147kW", false, false, 2005, kStillProduced},
      {"2.5", "2.5 V6 125kW", false, false, 1992, 2006},
      {"2.8", "2.8 V6 142kW", false, false, 1991, 2001},
      {"1.6", "1.6 D 40kW", true, false, 1980, 1993},
      {"1.9", "1.9 D 47kW", true, false, 1985, 1998},
      {"1.9", "1.9 {D} 66kW", true, false, 1995, 2010},
      {"1.5", "1.5 {D} 63kW", true, false, 2002, kStillProduced},
      {"1.6", "1.6 {D} 77kW", true, false, 2008, kStillProduced},
      {"2.0", "2.0 {D} 103kW", true, false, 2003, kStillProduced},
      {"2.2", "2.2 {D} 100kW", true, false, 2000, 2012},
  };
  return kEngines;
}

const char* const kAdditional[] = {"", "", "", "", "", "4x4", "LPG", "Sport", "Automatik"};

// ---- Part kinds and articles -------------------------------------------------------------------

struct KindSpec {
  ItemShape shape;
  const char* nameDe;
  const char* namePl;
  int minWidth, maxWidth, minHeight, maxHeight;
};

const std::vector<KindSpec>& kindSpecs() {
  static const std::vector<KindSpec> kKinds = {
      {ItemShape::kFrontPipe, "Vorderrohr", "Rura przednia", 100, 128, 56, 70},
      {ItemShape::kCatalyst, "Katalysator", "Katalizator", 80, 96, 36, 44},
      {ItemShape::kParticleFilter, "Dieselpartikelfilter", "Filtr cząstek stałych", 100, 116, 40, 46},
      {ItemShape::kFlexPipe, "Flexrohr", "Łącznik elastyczny", 44, 56, 18, 22},
      {ItemShape::kFrontSilencer, "Vorschalldämpfer", "Tłumik przedni", 60, 76, 30, 36},
      {ItemShape::kMiddleSilencer, "Mittelschalldämpfer", "Tłumik środkowy", 100, 128, 36, 48},
      {ItemShape::kPipe, "Rohr", "Rura", 60, 96, 14, 18},
      {ItemShape::kRearSilencer, "Endschalldämpfer", "Tłumik końcowy", 130, 168, 46, 64},
      {ItemShape::kTailPipe, "Endrohr", "Końcówka wydechu", 36, 50, 18, 22},
      {ItemShape::kSingleSilencer, "Schalldämpfer", "Tłumik", 150, 190, 56, 70},
      {ItemShape::kMountingKit, "Montagesatz", "Zestaw montażowy", 40, 40, 30, 30},
      {ItemShape::kBracket, "Halter", "Wieszak", 20, 26, 24, 30},
      {ItemShape::kClamp, "Rohrschelle", "Obejma", 22, 24, 22, 24},
  };
  return kKinds;
}

struct ArticleSpec {
  const char* fa;
  ItemShape shape;
  int width;
  int height;
};

const std::vector<ArticleSpec>& articleSpecs() {
  static const std::vector<ArticleSpec> kArticles = {
      {"91.040", ItemShape::kClamp, 18, 18},   {"91.045", ItemShape::kClamp, 20, 20},
      {"91.050", ItemShape::kClamp, 20, 22},   {"91.055", ItemShape::kClamp, 22, 22},
      {"91.060", ItemShape::kClamp, 24, 24},   {"92.101", ItemShape::kMount, 16, 22},
      {"92.102", ItemShape::kMount, 16, 24},   {"92.103", ItemShape::kMount, 18, 24},
      {"92.104", ItemShape::kMount, 18, 26},   {"92.105", ItemShape::kMount, 20, 26},
      {"92.106", ItemShape::kMount, 20, 28},   {"93.201", ItemShape::kGasket, 16, 16},
      {"93.202", ItemShape::kGasket, 18, 18},  {"93.203", ItemShape::kGasket, 20, 20},
      {"93.204", ItemShape::kGasket, 20, 18},  {"94.301", ItemShape::kBracket, 20, 16},
      {"94.302", ItemShape::kBracket, 22, 18}, {"94.303", ItemShape::kBracket, 26, 22},
  };
  return kArticles;
}

// Normal pictures take every layout in turn; the red ones only those that can hold red.
constexpr PngFormat kNormalFormats[] = {PngFormat::kGrey8,     PngFormat::kGrey4, PngFormat::kPalette4,
                                        PngFormat::kPalette8,  PngFormat::kRgb8,  PngFormat::kRgba8,
                                        PngFormat::kGreyAlpha8};
constexpr PngFormat kHighlightFormats[] = {PngFormat::kPalette8, PngFormat::kRgb8, PngFormat::kPalette4,
                                           PngFormat::kPalette8, PngFormat::kRgb8, PngFormat::kRgba8,
                                           PngFormat::kRgba8};
constexpr QRgb kColourBackgrounds[] = {0xFFFFFFFF, 0xFFFFFFE0, 0xFFE0FFFF, 0xFFFFF0F5};

bool isGrey(PngFormat format) {
  return format == PngFormat::kGrey4 || format == PngFormat::kGrey8 || format == PngFormat::kGreyAlpha8;
}

// "30017" -> "30.017": the catalogue's article numbers.
std::string articleNumber(int serial) {
  char text[24];
  std::snprintf(text, sizeof text, "%d.%03d", serial / 1000, serial % 1000);
  return text;
}

// ---- Building ----------------------------------------------------------------------------------

constexpr int kRouteY = 104;    // the drawing's exhaust line
constexpr int kRouteLeft = 48;  // the engine sits left of it
constexpr int kRouteWidth = 644;
constexpr int kFirstSystemSerial = 10001;
constexpr int kFirstSilencerSerial = 30001;

class Builder {
 public:
  Builder() : random_(kSeed) {}

  Catalog build() {
    addKinds();
    addArticles();
    for (const MakeSpec& make : makes()) {
      for (const ModelSpec& model : make.models) {
        for (const GenerationSpec& generation : model.generations) {
          addGeneration(make, model, generation);
          ++generationIndex_;
        }
      }
    }
    fillLargestSystem();
    return std::move(catalog_);
  }

 private:
  void addKinds() {
    int id = 1;
    for (const KindSpec& spec : kindSpecs()) {
      catalog_.kinds.push_back(PartKind{std::to_string(id++), spec.nameDe, spec.namePl});
    }
  }

  void addArticles() {
    for (const ArticleSpec& spec : articleSpecs()) {
      std::string name = "e" + std::string(spec.fa);
      name.erase(std::remove(name.begin(), name.end(), '.'), name.end());
      const std::size_t picture = addPicture(name, spec.shape, spec.width, spec.height);
      catalog_.articles.push_back(ElementArticle{spec.fa, picture});
    }
  }

  std::size_t addPicture(const std::string& name, ItemShape shape, int width, int height) {
    const std::size_t index = catalog_.pictures.size();
    ItemPicture picture;
    picture.name = name;
    picture.shape = shape;
    picture.width = width;
    picture.height = height;
    picture.variant = random_.below(4);
    picture.normalFormat = kNormalFormats[index % std::size(kNormalFormats)];
    picture.highlightFormat = kHighlightFormats[index % std::size(kHighlightFormats)];
    // A grey picture keeps white; the others vary, so a program that assumes white is caught.
    picture.background =
        isGrey(picture.normalFormat)
            ? 0xFFFFFFFF
            : kColourBackgrounds[(index / std::size(kNormalFormats)) % std::size(kColourBackgrounds)];
    catalog_.pictures.push_back(picture);
    return index;
  }

  static std::size_t kindIndex(ItemShape shape) {
    const auto& kinds = kindSpecs();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      if (kinds[i].shape == shape) return i;
    }
    throw std::logic_error("part shape without a kind");
  }

  // Systems of one generation share an article where the engine class is the same.
  std::size_t silencerFor(const MakeSpec& make, ItemShape shape, char engineClass) {
    const auto key = std::make_tuple(generationIndex_, shape, engineClass);
    const auto found = silencerByKey_.find(key);
    if (found != silencerByKey_.end()) return found->second;

    const KindSpec& kind = kindSpecs()[kindIndex(shape)];
    const int serial = kFirstSilencerSerial + static_cast<int>(catalog_.silencers.size());
    Silencer silencer;
    silencer.id = std::to_string(2001 + catalog_.silencers.size());
    silencer.kindId = catalog_.kinds[kindIndex(shape)].id;
    silencer.veldo = articleNumber(serial);
    if (shape != ItemShape::kMountingKit) {
      silencer.oe = std::string(make.oePrefix) + std::to_string(random_.between(100000, 999999));
    }
    std::string name = "t" + std::to_string(serial);
    silencer.picture = addPicture(name, shape, random_.between(kind.minWidth, kind.maxWidth),
                                  random_.between(kind.minHeight, kind.maxHeight));
    catalog_.silencers.push_back(silencer);
    silencerByKey_.emplace(key, catalog_.silencers.size() - 1);
    return catalog_.silencers.size() - 1;
  }

  std::vector<const EngineSpec*> chooseEngines(const GenerationSpec& generation) {
    const bool classic = generation.start < kClassicBefore;
    std::vector<const EngineSpec*> fitting;
    for (const EngineSpec& engine : engines()) {
      // At least a year in common, so no application lasts less than a year.
      if (engine.classic == classic && engine.from < generation.end && engine.to > generation.start) {
        fitting.push_back(&engine);
      }
    }
    std::vector<const EngineSpec*> chosen;
    const int wanted = std::min<int>(static_cast<int>(fitting.size()), random_.between(3, 5));
    while (static_cast<int>(chosen.size()) < wanted) {
      const EngineSpec* engine =
          fitting[static_cast<std::size_t>(random_.below(static_cast<int>(fitting.size())))];
      if (std::find(chosen.begin(), chosen.end(), engine) == chosen.end()) chosen.push_back(engine);
    }
    std::sort(chosen.begin(), chosen.end());  // back into the order of the engine table
    return chosen;
  }

  void addGeneration(const MakeSpec& make, const ModelSpec& model, const GenerationSpec& generation) {
    for (const EngineSpec* engine : chooseEngines(generation)) {
      const int start = std::max(generation.start, engine->from);
      const int end = std::min(generation.end, engine->to);
      // Petrol engines of the late eighties came with and without a catalytic converter.
      std::vector<bool> catalysts;
      if (engine->classic || start < 1986) {
        catalysts = {false};
      } else if (engine->diesel) {
        catalysts = {start >= 1996};
      } else if (start >= 1993) {
        catalysts = {true};
      } else {
        catalysts = random_.chance(50) ? std::vector<bool>{false, true} : std::vector<bool>{true};
      }
      for (bool catalyst : catalysts) addSystem(make, model, generation, *engine, start, end, catalyst);
    }
  }

  void addSystem(const MakeSpec& make, const ModelSpec& model, const GenerationSpec& generation,
                 const EngineSpec& engine, int start, int end, bool catalyst) {
    const int serial = kFirstSystemSerial + static_cast<int>(catalog_.systems.size());
    ExhaustSystem system;
    system.id = std::to_string(50000 + serial - kFirstSystemSerial + 1);
    system.veldo = articleNumber(serial);
    system.uklady = system.veldo + ";VA-" + std::to_string(serial);
    system.drawingOf = catalog_.systems.size();

    std::string engineText = engine.text;
    const auto tag = engineText.find("{D}");
    if (tag != std::string::npos) engineText.replace(tag, 3, make.dieselTag);

    addApplications(system, make, model, generation, engine, engineText, start, end, catalyst);
    addParts(system, make, engine, start, catalyst);
    catalog_.systems.push_back(std::move(system));
  }

  static std::string period(int startYear, int startMonth, int endYear, int endMonth) {
    char text[40];
    if (endYear == kStillProduced) {
      std::snprintf(text, sizeof text, "%02d/%04d -", startMonth, startYear);
    } else {
      std::snprintf(text, sizeof text, "%02d/%04d - %02d/%04d", startMonth, startYear, endMonth, endYear);
    }
    return text;
  }

  void addApplications(ExhaustSystem& system, const MakeSpec& make, const ModelSpec& model,
                       const GenerationSpec& generation, const EngineSpec& engine,
                       const std::string& engineText, int start, int end, bool catalyst) {
    std::vector<const char*> bodies = generation.bodies;
    if (bodies.size() > 1 && random_.chance(20)) bodies.resize(1);
    int iteration = 1;
    for (const char* body : bodies) {
      // A facelift within the period gives a second row of the same body.
      const bool facelift = end != kStillProduced && end - start >= 4 && random_.chance(25);
      const int split = facelift ? random_.between(start + 1, end - 1) : end;
      for (int half = 0; half < (facelift ? 2 : 1); ++half) {
        Application row;
        row.iteration = std::to_string(iteration++);
        row.make = make.make;
        row.model = model.model;
        row.version = generation.version;
        row.body = body;
        row.startYear = half == 0 ? start : split;
        row.endYear = half == 0 ? split : end;
        const int startMonth = random_.between(1, 12);
        const int endMonth =
            row.startYear == row.endYear ? random_.between(startMonth, 12) : random_.between(1, 12);
        row.period = period(row.startYear, startMonth, row.endYear, endMonth);
        row.engine = engineText;
        row.capacity = engine.capacity;
        row.catalyst = catalyst;
        row.diesel = engine.diesel;
        row.additional =
            half == 1 ? "Facelift" : kAdditional[random_.below(static_cast<int>(std::size(kAdditional)))];
        system.applications.push_back(std::move(row));
      }
    }
  }

  std::vector<ItemShape> chooseRoute(bool classic, bool diesel, bool catalyst, int start) {
    if (classic) return {ItemShape::kSingleSilencer, ItemShape::kTailPipe};
    std::vector<ItemShape> route = {ItemShape::kFrontPipe};
    if (catalyst) route.push_back(ItemShape::kCatalyst);
    if (diesel && start >= 2009) route.push_back(ItemShape::kParticleFilter);
    if (random_.chance(35)) route.push_back(ItemShape::kFlexPipe);
    if (random_.chance(55)) {
      route.push_back(start < 1995 && random_.chance(40) ? ItemShape::kFrontSilencer
                                                         : ItemShape::kMiddleSilencer);
    }
    if (random_.chance(35)) route.push_back(ItemShape::kPipe);
    route.push_back(ItemShape::kRearSilencer);
    if (random_.chance(25)) route.push_back(ItemShape::kTailPipe);
    return route;
  }

  const ItemPicture& silencerPicture(std::size_t silencer) const {
    return catalog_.pictures[catalog_.silencers[silencer].picture];
  }

  int widthOf(const std::vector<std::size_t>& silencers) const {
    int total = 0;
    for (std::size_t s : silencers) total += silencerPicture(s).width;
    return total;
  }

  std::size_t article(ItemShape shape) {
    std::vector<std::size_t> matching;
    for (std::size_t i = 0; i < catalog_.articles.size(); ++i) {
      if (catalog_.pictures[catalog_.articles[i].picture].shape == shape) matching.push_back(i);
    }
    return matching[static_cast<std::size_t>(random_.below(static_cast<int>(matching.size())))];
  }

  // An element centred on (centreX, top), kept inside the drawing.
  Element element(std::size_t articleIndex, int centreX, int top, int quantity) const {
    const ItemPicture& picture = catalog_.pictures[catalog_.articles[articleIndex].picture];
    Element e;
    e.article = articleIndex;
    e.x = std::clamp(centreX - picture.width / 2, 0, kDrawingWidth - picture.width);
    e.y = std::clamp(top, 0, kDrawingHeight - picture.height);
    e.quantity = quantity;
    return e;
  }

  std::string nextPartId() { return std::to_string(100001 + partCount_++); }

  void addParts(ExhaustSystem& system, const MakeSpec& make, const EngineSpec& engine, int start,
                bool catalyst) {
    const char engineClass = engine.diesel ? 'd' : (engine.capacity[0] >= '2' ? 'b' : 's');
    std::vector<ItemShape> route = chooseRoute(engine.classic, engine.diesel, catalyst, start);
    std::vector<std::size_t> silencers;
    for (ItemShape shape : route) silencers.push_back(silencerFor(make, shape, engineClass));

    // Leave out the small optional pieces until the route fits the drawing with some room.
    for (ItemShape optional : {ItemShape::kTailPipe, ItemShape::kPipe, ItemShape::kFlexPipe}) {
      if (widthOf(silencers) <= kRouteWidth - 40) break;
      for (std::size_t i = 0; i < route.size(); ++i) {
        if (route[i] == optional) {
          route.erase(route.begin() + static_cast<std::ptrdiff_t>(i));
          silencers.erase(silencers.begin() + static_cast<std::ptrdiff_t>(i));
          break;
        }
      }
    }

    // Place the parts left to right along the exhaust line, spread evenly.
    const int count = static_cast<int>(silencers.size());
    const int spare = kRouteWidth - widthOf(silencers);
    const int gap = count > 1 ? std::min(30, spare / (count - 1)) : 0;
    int x = kRouteLeft + std::max(0, (spare - gap * (count - 1)) / 2);
    for (int i = 0; i < count; ++i) {
      const ItemPicture& picture = silencerPicture(silencers[static_cast<std::size_t>(i)]);
      Part part;
      part.id = nextPartId();
      part.silencer = silencers[static_cast<std::size_t>(i)];
      part.x = x;
      part.y = route[static_cast<std::size_t>(i)] == ItemShape::kFrontPipe ? kRouteY - picture.height + 8
                                                                           : kRouteY - picture.height / 2;
      addElements(part, route[static_cast<std::size_t>(i)], picture, i > 0);
      system.parts.push_back(std::move(part));
      x += picture.width + gap;
    }

    addExtras(system, make, engineClass);
    trimToItemLimit(system);
  }

  void addElements(Part& part, ItemShape shape, const ItemPicture& picture, bool hasJoint) {
    const int below = kRouteY + 24;
    if (hasJoint) {
      const bool sealed = shape == ItemShape::kCatalyst || shape == ItemShape::kParticleFilter;
      part.elements.push_back(element(article(sealed ? ItemShape::kGasket : ItemShape::kClamp), part.x, below,
                                      random_.chance(20) ? 2 : 1));
    }
    switch (shape) {
      case ItemShape::kFrontPipe:
        part.elements.push_back(
            element(article(ItemShape::kGasket), part.x + 12, part.y - 20, random_.between(1, 2)));
        if (random_.chance(50)) {
          part.elements.push_back(
              element(article(ItemShape::kBracket), part.x + picture.width / 2, below, 1));
        }
        break;
      case ItemShape::kMiddleSilencer:
      case ItemShape::kFrontSilencer:
      case ItemShape::kParticleFilter:
        part.elements.push_back(element(article(ItemShape::kMount), part.x + picture.width / 2, part.y - 30,
                                        random_.between(1, 2)));
        break;
      case ItemShape::kRearSilencer:
      case ItemShape::kSingleSilencer:
        part.elements.push_back(element(article(ItemShape::kMount), part.x + picture.width / 3, part.y - 30,
                                        random_.between(2, 3)));
        if (random_.chance(40)) {
          part.elements.push_back(
              element(article(ItemShape::kMount), part.x + 2 * picture.width / 3, part.y - 30, 1));
        }
        break;
      default:
        break;
    }
  }

  // A bracket or clamp drawn as a part of its own, and a mounting kit that is listed in the
  // catalogue but not drawn (its elements are).
  void addExtras(ExhaustSystem& system, const MakeSpec& make, char engineClass) {
    // Copies: adding parts and articles below moves the vectors these live in.
    const int lastX = system.parts.back().x;
    const int lastY = system.parts.back().y;
    const int lastWidth = silencerPicture(system.parts.back().silencer).width;
    if (random_.chance(15)) {
      Part bracket;
      bracket.id = nextPartId();
      bracket.silencer = silencerFor(make, ItemShape::kBracket, engineClass);
      const ItemPicture& picture = silencerPicture(bracket.silencer);
      bracket.x = std::min(lastX + lastWidth - picture.width - 4, kDrawingWidth - picture.width);
      bracket.y = std::max(0, lastY - picture.height - 6);
      system.parts.push_back(std::move(bracket));
    }
    if (random_.chance(10)) {
      Part clamp;
      clamp.id = nextPartId();
      clamp.silencer = silencerFor(make, ItemShape::kClamp, engineClass);
      const ItemPicture& picture = silencerPicture(clamp.silencer);
      clamp.x = std::clamp(lastX - picture.width / 2, 0, kDrawingWidth - picture.width);
      clamp.y = kRouteY + 48;
      system.parts.push_back(std::move(clamp));
    }
    if (random_.chance(30)) addMountingKit(system, make, engineClass, random_.between(1, 3));
  }

  void addMountingKit(ExhaustSystem& system, const MakeSpec& make, char engineClass, int elements) {
    Part kit;
    kit.id = nextPartId();
    kit.silencer = silencerFor(make, ItemShape::kMountingKit, engineClass);
    kit.visible = false;
    const ItemPicture& picture = silencerPicture(kit.silencer);
    kit.x = kDrawingWidth - picture.width - 6;
    kit.y = kDrawingHeight - picture.height - 4;
    system.parts.push_back(std::move(kit));
    addKitElements(system.parts.back(), elements);
  }

  // Kit elements sit in a row along the bottom of the drawing.
  void addKitElements(Part& kit, int count) {
    for (int i = 0; i < count; ++i) {
      const int slot = static_cast<int>(kit.elements.size());
      const ItemShape shape = slot % 3 == 2 ? ItemShape::kClamp : ItemShape::kBracket;
      kit.elements.push_back(
          element(article(shape), 20 + slot * 23, kDrawingHeight - 28, random_.between(2, 4)));
    }
  }

  static void trimToItemLimit(ExhaustSystem& system) {
    for (auto part = system.parts.rbegin();
         part != system.parts.rend() && itemCount(system) > kMaxItemsPerSystem; ++part) {
      while (!part->elements.empty() && itemCount(system) > kMaxItemsPerSystem) part->elements.pop_back();
    }
  }

  // One system shows a full drawing: exactly the 29 items the programs can number.
  void fillLargestSystem() {
    auto largest = std::max_element(
        catalog_.systems.begin(), catalog_.systems.end(),
        [](const ExhaustSystem& a, const ExhaustSystem& b) { return itemCount(a) < itemCount(b); });
    const MakeSpec* make = nullptr;
    for (const MakeSpec& spec : makes()) {
      if (largest->applications.front().make == spec.make) make = &spec;
    }
    auto kit =
        std::find_if(largest->parts.begin(), largest->parts.end(), [](const Part& p) { return !p.visible; });
    if (kit == largest->parts.end()) {
      addMountingKit(*largest, *make, 'k', 0);
      kit = largest->parts.end() - 1;
    }
    addKitElements(*kit, kMaxItemsPerSystem - itemCount(*largest));
  }

  Random random_;
  Catalog catalog_;
  int generationIndex_ = 0;
  int partCount_ = 0;
  std::map<std::tuple<int, ItemShape, char>, std::size_t> silencerByKey_;
};

// ---- The benchmark catalogue -------------------------------------------------------------------

constexpr std::size_t kScaleApplications = 200000;
constexpr std::size_t kScaleLargestModel = 8500;  // more rows than the result list can hold

ExhaustSystem copySystem(const ExhaustSystem& from, int serial, int& partSerial, std::size_t rows) {
  ExhaustSystem system;
  system.id = std::to_string(500000 + serial);
  system.veldo = articleNumber(serial);
  system.uklady = system.veldo + ";VA-" + std::to_string(serial);
  system.drawingOf = from.drawingOf;
  for (std::size_t i = 0; i < rows; ++i) {
    Application row = from.applications[i % from.applications.size()];
    row.iteration = std::to_string(i + 1);
    if (i >= from.applications.size())
      row.additional = "Serie " + std::to_string(i / from.applications.size() + 1);
    system.applications.push_back(std::move(row));
  }
  system.parts = from.parts;
  for (Part& part : system.parts) part.id = std::to_string(partSerial++);
  return system;
}

}  // namespace

Catalog buildDemoCatalog() { return Builder().build(); }

Catalog buildScaleCatalog() {
  Catalog catalog = buildDemoCatalog();
  const std::size_t demoSystems = catalog.systems.size();
  std::size_t applications = 0;
  std::vector<std::size_t> golf;
  for (std::size_t i = 0; i < demoSystems; ++i) {
    applications += catalog.systems[i].applications.size();
    if (catalog.systems[i].applications.front().model == "Golf") golf.push_back(i);
  }

  int serial = 100001;
  int partSerial = 1000001;
  constexpr std::size_t kGolfRows = 10;
  constexpr std::size_t kOtherRows = 8;
  for (std::size_t added = 0; added * kGolfRows < kScaleLargestModel; ++added) {
    catalog.systems.push_back(
        copySystem(catalog.systems[golf[added % golf.size()]], serial++, partSerial, kGolfRows));
    applications += kGolfRows;
  }
  for (std::size_t added = 0; applications < kScaleApplications; ++added) {
    catalog.systems.push_back(
        copySystem(catalog.systems[added % demoSystems], serial++, partSerial, kOtherRows));
    applications += kOtherRows;
  }
  return catalog;
}

const ItemPicture& pictureOf(const Catalog& catalog, const Part& part) {
  return catalog.pictures[catalog.silencers[part.silencer].picture];
}

const ItemPicture& pictureOf(const Catalog& catalog, const Element& element) {
  return catalog.pictures[catalog.articles[element.article].picture];
}

int itemCount(const ExhaustSystem& system) {
  int count = 0;
  for (const Part& part : system.parts) {
    count += (part.visible ? 1 : 0) + static_cast<int>(part.elements.size());
  }
  return count;
}

}  // namespace demo
