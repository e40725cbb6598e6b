// Writes a catalogue as the SQLite 3 database "veldo28.bgp" that the programs read: the tables
// AUTA, T_U, TLUMIK, TLUMIK_KIND and T_U_ELEMENT. Every value is stored as text, the way the
// programs receive it. AUTA's columns are ordered so that the details panel, which reads
// SELECT * by position, finds its values at positions 1 to 6, 9 and 15:
//
//   0 ID_UKLAD  1 VELDO  2 MKNM  3 TYSP  4 MDNM  5 MDCA  6 CYPR  7 CYPR_START  8 CYPR_END
//   9 CUCP  10 CUCP_VAL  11 MCAT  12 MDIE  13 ITER  14 UKLADY  15 ADDI
//
// Column names that the programs' joins leave unqualified belong to one table only: X, Y, W, H,
// ID_TLUMIK and VELDO_PIC_GRAFOS among T_U, AUTA, TLUMIK and TLUMIK_KIND lie in T_U; FA lies in
// T_U_ELEMENT and UKLADY in AUTA.
//
// Kind names are 8-bit text: NAME_DE in Windows-1252, NAME_PL in Windows-1250; all other text
// uses only characters that both code pages store alike.

#ifndef CATALOG_TOOLS_CATALOGDATABASE_H_
#define CATALOG_TOOLS_CATALOGDATABASE_H_

#include <string>

#include "tools/DemoCatalog.h"

namespace demo {

// Replaces any file at `path`. The database is built under a temporary name beside it and renamed
// into place once complete, so a failed run never leaves a half-written catalogue. Throws
// std::runtime_error with SQLite's message.
void writeCatalogDatabase(const Catalog& catalog, const std::string& path);

}  // namespace demo

#endif  // CATALOG_TOOLS_CATALOGDATABASE_H_
