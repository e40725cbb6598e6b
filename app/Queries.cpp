#include "app/Queries.h"

#ifndef CATALOG_POLISH
#error "CATALOG_POLISH must be defined: 0 for the German program, 1 for the Polish program"
#endif

#include <cassert>
#include <cstring>
#include <initializer_list>
#include <string>

namespace {

// The templates: "%s" stands for a value (or a clause), "%%" for one "%" in the SQL.

constexpr const char kMakeList[] = "select distinct MKNM from AUTA order by MKNM ASC;";

constexpr const char kModelList[] = "select distinct TYSP from AUTA WHERE MKNM = '%s' order by TYSP ASC;";

constexpr const char kYearList[] =
    "select CYPR_START, CYPR_END from AUTA WHERE MKNM = '%s' AND TYSP = '%s' %s order by ID_UKLAD "
    "ASC;";

constexpr const char kCapacityList[] =
    "select DISTINCT CUCP_VAL from AUTA WHERE MKNM = '%s' AND TYSP = '%s' %s order by CUCP_VAL ASC;";

constexpr const char kSelection[] =
    "SELECT ID_UKLAD, VELDO, MKNM, TYSP, MDCA, CYPR, CUCP, CUCP_VAL, MCAT, MDIE, ITER, ADDI FROM "
    "AUTA WHERE MKNM = '%s' AND TYSP = '%s' %s %s %s %s ORDER BY CUCP_VAL, MDCA, MCAT, MDIE ASC;";

constexpr const char kNumberSearch[] =
    "SELECT AUTA.ID_UKLAD AS ID_UKLAD, AUTA.VELDO AS VELDO, AUTA.MKNM AS MKNM, AUTA.TYSP AS TYSP, "
    "AUTA.MDCA AS MDCA, AUTA.CYPR AS CYPR, AUTA.CUCP AS CUCP, AUTA.CUCP_VAL AS CUCP_VAL, AUTA.MCAT "
    "AS MCAT, AUTA.MDIE AS MDIE, AUTA.ITER AS ITER, AUTA.ADDI AS ADDI FROM AUTA LEFT JOIN T_U ON "
    "AUTA.ID_UKLAD = T_U.ID_UKLAD LEFT JOIN T_U_ELEMENT ON T_U.ID_KEY = T_U_ELEMENT.ID_T_U WHERE "
    "(AUTA.ID_UKLAD = '%s' OR AUTA.VELDO = '%s' OR FA = '%s' OR T_U.OE = '%s' OR T_U.VELDO = '%s' "
    "OR UKLADY LIKE '%%%s%%') GROUP BY AUTA.VELDO, AUTA.ITER ORDER BY MKNM, TYSP, CUCP_VAL, MCAT, "
    "MDIE ASC;";

constexpr const char kSystemData[] = "SELECT * FROM AUTA WHERE ID_UKLAD = '%s' AND ITER = '%s';";

constexpr const char kElements[] =
    "SELECT ID_T_U, FA, FA_PIC, X, Y, W, H, ZWIELOKROTNIENIE FROM T_U_ELEMENT WHERE ID_T_U = '%s';";

constexpr const char kPreviewParts[] =
    "SELECT T_U.VISIBLE AS VISIBLE, T_U.ID_KEY AS ID_KEY, ID_TLUMIK, VELDO_PIC_GRAFOS, "
    "TLUMIK.VELDO AS VELDO, X, Y, W, H, TLUMIK_KIND.NAME_PL AS NAME, AUTA.VELDO AS VEL, AUTA.ITER "
    "AS ITER FROM T_U LEFT JOIN AUTA ON T_U.ID_UKLAD = AUTA.ID_UKLAD LEFT JOIN TLUMIK ON "
    "T_U.ID_TLUMIK = TLUMIK.ID_KEY LEFT JOIN TLUMIK_KIND ON TLUMIK.ID_TLUMIK_KIND = "
    "TLUMIK_KIND.ID_KEY WHERE T_U.ID_UKLAD = '%s' AND AUTA.ITER = '%s';";

// The kind names of the build's language.
#if CATALOG_POLISH
constexpr const char kDetailsParts[] =
    "SELECT T_U.VISIBLE AS VISIBLE, T_U.ID_KEY AS ID_KEY, ID_TLUMIK, VELDO_PIC_GRAFOS, "
    "TLUMIK.VELDO AS VELDO, X, Y, W, H, TLUMIK_KIND.NAME_PL AS NAME, AUTA.VELDO AS VEL FROM T_U "
    "LEFT JOIN AUTA ON T_U.ID_UKLAD = AUTA.ID_UKLAD LEFT JOIN TLUMIK ON T_U.ID_TLUMIK = "
    "TLUMIK.ID_KEY LEFT JOIN TLUMIK_KIND ON TLUMIK.ID_TLUMIK_KIND = TLUMIK_KIND.ID_KEY WHERE "
    "T_U.ID_UKLAD = '%s' AND AUTA.ITER = '%s';";
#else
constexpr const char kDetailsParts[] =
    "SELECT T_U.VISIBLE AS VISIBLE, T_U.ID_KEY AS ID_KEY, ID_TLUMIK, VELDO_PIC_GRAFOS, "
    "TLUMIK.VELDO AS VELDO, X, Y, W, H, TLUMIK_KIND.NAME_DE AS NAME, AUTA.VELDO AS VEL FROM T_U "
    "LEFT JOIN AUTA ON T_U.ID_UKLAD = AUTA.ID_UKLAD LEFT JOIN TLUMIK ON T_U.ID_TLUMIK = "
    "TLUMIK.ID_KEY LEFT JOIN TLUMIK_KIND ON TLUMIK.ID_TLUMIK_KIND = TLUMIK_KIND.ID_KEY WHERE "
    "T_U.ID_UKLAD = '%s' AND AUTA.ITER = '%s';";
#endif

constexpr const char kCapacityClause[] = "AND CUCP_VAL = '%s'";
constexpr const char kDieselClause[] = "AND MDIE = 'Diesel'";
constexpr const char kYearClause[] = "AND (CYPR_START <= '%s' AND CYPR_END >= '%s')";
constexpr const char kCatalystClause[] = "AND MCAT = 'CAT'";

// Fills the template's "%s" in order with `pieces`, taken as they are, and turns "%%" into "%".
// The pieces are quoted values or clauses; no piece is ever read as a template itself.
AnsiString fill(const char* sqlTemplate, std::initializer_list<std::string> pieces) {
  std::string sql;
  auto piece = pieces.begin();
  for (const char* c = sqlTemplate; *c != '\0'; ++c) {
    if (c[0] == '%' && c[1] == 's') {
      assert(piece != pieces.end());
      sql += *piece++;
      ++c;
    } else if (c[0] == '%' && c[1] == '%') {
      sql += '%';
      ++c;
    } else {
      sql += *c;
    }
  }
  assert(piece == pieces.end());
  return AnsiString(std::move(sql));
}

std::string body(const AnsiString& value) { return sqlTextBody(value).str(); }

}  // namespace

AnsiString sqlTextBody(const AnsiString& value) {
  // The value as the C text it is: the SQL goes to SQLite as a C text too, so a NUL byte inside a
  // value would otherwise cut the statement short.
  const char* text = value.c_str();
  const std::size_t length = std::strlen(text);
  std::string doubled;
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] == '\'') doubled += '\'';
    doubled += text[i];
  }
  return AnsiString(std::move(doubled));
}

AnsiString makeListQuery() { return fill(kMakeList, {}); }

AnsiString modelListQuery(const AnsiString& make) { return fill(kModelList, {body(make)}); }

// The third placeholder of the two list queries takes a further condition; the program has none.
AnsiString yearListQuery(const AnsiString& make, const AnsiString& model) {
  return fill(kYearList, {body(make), body(model), ""});
}

AnsiString capacityListQuery(const AnsiString& make, const AnsiString& model) {
  return fill(kCapacityList, {body(make), body(model), ""});
}

SqlClause capacityClause(const AnsiString& capacity) {
  return SqlClause(fill(kCapacityClause, {body(capacity)}));
}

SqlClause dieselClause() { return SqlClause(fill(kDieselClause, {})); }

SqlClause yearClause(const AnsiString& year) {
  return SqlClause(fill(kYearClause, {body(year), body(year)}));
}

SqlClause catalystClause() { return SqlClause(fill(kCatalystClause, {})); }

AnsiString selectionQuery(const AnsiString& make, const AnsiString& model, const SqlClause& capacity,
                          const SqlClause& diesel, const SqlClause& year, const SqlClause& catalyst) {
  return fill(kSelection, {body(make), body(model), capacity.text().str(), diesel.text().str(),
                           year.text().str(), catalyst.text().str()});
}

AnsiString numberSearchQuery(const AnsiString& normalised, const AnsiString& raw) {
  const std::string number = body(normalised);
  return fill(kNumberSearch, {number, number, number, number, number, body(raw)});
}

AnsiString systemDataQuery(const AnsiString& systemId, const AnsiString& iteration) {
  return fill(kSystemData, {body(systemId), body(iteration)});
}

AnsiString detailsPartsQuery(const AnsiString& systemId, const AnsiString& iteration) {
  return fill(kDetailsParts, {body(systemId), body(iteration)});
}

AnsiString elementsQuery(const AnsiString& partKey) { return fill(kElements, {body(partKey)}); }

AnsiString previewPartsQuery(const AnsiString& systemId, const AnsiString& iteration) {
  return fill(kPreviewParts, {body(systemId), body(iteration)});
}
