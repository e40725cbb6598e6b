// Every SQL text that the catalogue runs, in one place, with the values filled in.
//
// Each function returns one complete, read-only SELECT statement for SqlDb::queryTable. Values
// stand between single quotes, numbers included; a value's own single quotes are doubled, so a
// value can never end its literal early or add a statement, whatever it holds. A value is taken
// as the C text it is, up to its first NUL byte. Nothing is cut to a length.
//
// The texts are the same in both programs except the details parts query, which reads the kind
// names of the build's language.
#pragma once

#include <utility>

#include "platform/AnsiString.h"

// `value` with every single quote doubled, ready to stand between two single quotes in SQL.
AnsiString sqlTextBody(const AnsiString& value);

// The make list: every distinct make, ascending.
AnsiString makeListQuery();
// The model list of one make: every distinct model, ascending.
AnsiString modelListQuery(const AnsiString& make);
// CYPR_START and CYPR_END of every application of one make and model.
AnsiString yearListQuery(const AnsiString& make, const AnsiString& model);
// The distinct capacities of one make and model, in SQLite's ascending order.
AnsiString capacityListQuery(const AnsiString& make, const AnsiString& model);

// One optional condition of the selection query. Only the helpers below make one that is not
// empty, so a selection query holds no text but its own and the quoted values.
class SqlClause {
 public:
  SqlClause() = default;  // no condition

  const AnsiString& text() const { return text_; }

 private:
  explicit SqlClause(AnsiString text) : text_(std::move(text)) {}

  friend SqlClause capacityClause(const AnsiString& capacity);
  friend SqlClause dieselClause();
  friend SqlClause yearClause(const AnsiString& year);
  friend SqlClause catalystClause();

  AnsiString text_;
};

// Only applications with exactly this capacity value.
SqlClause capacityClause(const AnsiString& capacity);
// Only diesel engines.
SqlClause dieselClause();
// Only applications produced in `year`: started in or before it and ended in or after it.
SqlClause yearClause(const AnsiString& year);
// Only applications with a catalytic converter.
SqlClause catalystClause();

// The result list in selection mode. A clause that is not chosen is passed as SqlClause(); it
// still keeps its blanks, so with no clause five blanks follow the model's closing quote.
AnsiString selectionQuery(const AnsiString& make, const AnsiString& model, const SqlClause& capacity,
                          const SqlClause& diesel, const SqlClause& year, const SqlClause& catalyst);

// The result list in search mode: `normalised` (the search text with "," and then "-" turned
// into ".") is compared for equality with the system id and number, the element, OE and part
// numbers; `raw` (the text as typed) is looked for anywhere in the list of system numbers. The
// raw text's own "%" and "_" act as wildcards there.
AnsiString numberSearchQuery(const AnsiString& normalised, const AnsiString& raw);

// Every column of the application row with this key (ID_UKLAD, ITER), for the data panel.
AnsiString systemDataQuery(const AnsiString& systemId, const AnsiString& iteration);
// The parts of the system with this row key, for the details drawing and parts list. Kind names
// (column NAME) in the build's language.
AnsiString detailsPartsQuery(const AnsiString& systemId, const AnsiString& iteration);
// The elements of one part (T_U.ID_KEY). The preview reads the same query.
AnsiString elementsQuery(const AnsiString& partKey);
// The parts of the system with this row key, for the preview; the same text in both programs.
AnsiString previewPartsQuery(const AnsiString& systemId, const AnsiString& iteration);
