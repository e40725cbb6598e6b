// Test helpers for the details window: a small catalogue of exhaust systems with their parts and
// elements, the pictures those name, and the user's way from a system number to the open window.
#pragma once

#include <QPoint>
#include <QRgb>
#include <string>
#include <vector>

#include "app/support/CatalogRun.h"

namespace details_testing {

// One row of T_U_ELEMENT. Null texts are SQL NULL.
struct TestElement {
  const char* number;  // FA
  const char* picture;
  int x, y, width, height;
  const char* quantity;  // ZWIELOKROTNIENIE
};

// One row of T_U with its silencer (TLUMIK), its kind (TLUMIK_KIND) and its elements. A null
// `number` leaves the silencer row out, so the part's number reads as SQL NULL.
struct TestPart {
  const char* key;  // T_U.ID_KEY
  const char* visible;
  const char* number;  // TLUMIK.VELDO
  const char* picture;
  int x, y, width, height;
  const char* kindDe = "Schalldämpfer";
  const char* kindPl = "Tłumik";
  std::vector<TestElement> elements = {};
};

// The SQL (UTF-8 written, turned into the build's code page) of one system: its AUTA row, key
// (`id`, ITER "1"), system number `veldo`, make "Make <id>" and model "Model <id>", then its parts
// in the order given.
std::string systemSql(const std::string& id, const std::string& veldo, const std::vector<TestPart>& parts);

// An SQL literal: the text between single quotes, or NULL for a null text.
std::string sqlText(const char* value);

// Picture files in the working folder: the normal picture data/data_b/<name>.dat and the
// highlight picture data/data_r/<name>.dat, `width` x `height` of one fill colour inside a
// two-pixel white frame (the frame's colour is the bottom-left pixel's, so a transparent image
// lets the background show there).
void writeItemPicture(WorkingFolder& folder, const std::string& name, int width, int height, QRgb normal);
void writeHotPicture(WorkingFolder& folder, const std::string& name, int width, int height, QRgb hot);
// The drawing data/data_p/<veldo>.dat: 700 x 204 of one colour.
void writeBackground(WorkingFolder& folder, const std::string& veldo, QRgb colour);

// What the user does: the number search's list for `searchText` (filled as the search button
// fills it), row 0 clicked (which draws its preview), then "Details" clicked.
void listSystems(const char* searchText);
void selectSystem(const char* searchText);
void showDetailsOf(const char* searchText);
// The same through the selection of make and model instead of the number search (whose query
// reads every table of the catalogue): the make "Make <id>" and model "Model <id>" of systemSql.
void selectSystemBySelection(const std::string& id);
void showDetailsOfSelected(const std::string& id);

// The centre of item n's picture, and of its parts-list row's name label, in detailsForm's
// client area.
QPoint itemCentre(int item);
QPoint rowPoint(int item);

// Whether a pixel of the details window, grabbed now, is near the colour.
bool detailsPixelIs(QPoint point, QRgb colour);

}  // namespace details_testing
