// Writes a complete working folder for the catalogue programs:
//
//   veldo28.bgp            the catalogue database (see CatalogDatabase.h)
//   data/data_p/<VELDO>.dat    each system's 700 x 204 background drawing (PNG)
//   data/data_b/<name>.dat     each part and element picture (PNG)
//   data/data_r/<name>.dat     the same pictures in red, for the hover highlight (PNG)
//   data/lg_de.dat, data/lg_pl.dat   the details window's logos (Windows bitmap files, 462 x 72)
//
// The pictures use every PNG layout the programs decode (grey, grey with alpha, palette, RGB,
// RGB with alpha; depths 4 and 8). Needs a QGuiApplication for the lettering.

#ifndef CATALOG_TOOLS_DEMOFOLDER_H_
#define CATALOG_TOOLS_DEMOFOLDER_H_

#include <string>

#include "tools/DemoCatalog.h"

namespace demo {

enum class CatalogSize {
  kDemo,   // a few hundred systems, for trying the programs and for their tests
  kScale,  // about 200,000 applications, for benchmarks
};

// Creates the folder if needed and overwrites what an earlier run wrote there. Throws
// std::runtime_error naming the file that could not be written.
void writeDemoFolder(const std::string& folder, CatalogSize size);

// The parts of writeDemoFolder, for callers that bring their own catalogue.
void writeCatalogPictures(const Catalog& catalog, const std::string& folder);
void writeLogos(const std::string& folder);

}  // namespace demo

#endif  // CATALOG_TOOLS_DEMOFOLDER_H_
