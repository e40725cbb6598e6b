// The user-visible texts of one program: every caption, placeholder, status line and message box
// text of the German program (CATALOG_POLISH=0, Windows-1252) or of the Polish one
// (CATALOG_POLISH=1, Windows-1250).
//
// The texts are written in UTF-8 in Texts.cpp and become 8-bit text in the build's code page on
// the first call of texts(). That first call must come after the program (or test) has called
// platform::setAnsiCodePage(kCodePage); a debug build checks it. The set then lives, unchanged,
// until the program ends; the references that texts() hands out stay valid throughout.
//
// Texts are byte for byte the program's own: their quotation marks, blanks and full stops are
// part of them. Texts that hold a printf conversion ("%d", "%s") are formats; the two status-line
// helpers below fill them the way each build needs.
#pragma once

#include "platform/AnsiString.h"

#ifndef CATALOG_POLISH
#error "CATALOG_POLISH must be defined: 0 for the German program, 1 for the Polish program"
#endif

// Windows code page of the build's texts, of its SQL and of the catalogue it reads.
constexpr int kCodePage = CATALOG_POLISH ? 1250 : 1252;

struct TextSet {
  TextSet() = default;
  TextSet(const TextSet&) = delete;
  TextSet& operator=(const TextSet&) = delete;
  TextSet(TextSet&&) = default;

  // Application and windows.
  AnsiString applicationTitle;  // "VELDO - Katalog Produktów" in both programs
  AnsiString mainCaption;       // caption of the main window: "med" / the application title
  AnsiString splashCaption;     // "Form3"; the splash window has no caption bar to show it
  AnsiString detailsCaption;    // "VELDO"

  // Main window: labels (Label1 to Label4, Label5 to Label9).
  AnsiString makeLabel;           // Label1
  AnsiString modelLabel;          // Label2
  AnsiString yearLabel;           // Label3
  AnsiString capacityLabel;       // Label4
  AnsiString statusHint;          // Label5 as designed, and again after every make change
  AnsiString detailsInstruction;  // Label6; its quotation marks are part of the text
  AnsiString numberSearchLabel;   // Label7
  AnsiString catalogueDate;       // Label8
  AnsiString webSiteCaption;      // Label9: kWebSiteAddress in capitals, without its scheme

  // Main window: buttons and check boxes.
  AnsiString detailsButton;   // Button4
  AnsiString searchButton;    // Button1
  AnsiString catalystFilter;  // CheckBox1
  AnsiString dieselFilter;    // CheckBox2: "Diesel" in both programs

  // Column captions of the result list ListView1, left to right; column 6 has no caption.
  AnsiString columnSystem;
  AnsiString columnMake;
  AnsiString columnModel;
  AnsiString columnBody;
  AnsiString columnYears;
  AnsiString columnEngine;
  AnsiString columnCapacity;  // the empty text
  AnsiString columnAdditional;

  // Entries of the four selection lists.
  AnsiString makePlaceholder;              // ComboBox1, entry 0
  AnsiString modelPlaceholder;             // ComboBox2, entry 0 once a make is chosen
  AnsiString modelPlaceholderWithoutMake;  // ComboBox2 while no make is chosen
  AnsiString yearCapacityPlaceholder;      // ComboBox3 and ComboBox4 until a model is chosen
  AnsiString interimAllEntry;              // "Wszystkie" in both programs, while a model change runs
  AnsiString allEntry;                     // entry 0 of the filled year and capacity lists

  // Status line Label5 after a result query.
  AnsiString noHitsStatus;
  AnsiString selectionHitsFormat;  // one %d: the number of hits
  AnsiString searchHitsFormat;     // German: one %s (the search text); Polish: %d, then %s

  // Number search with an empty search field (flags 0x30).
  AnsiString emptySearchText;
  AnsiString emptySearchCaption;

  // Details with no row selected (flags 0x30); English in both programs.
  AnsiString noSelectionText;
  AnsiString noSelectionCaption;

  // Details window: the captions of the eight pairs of the system data panel, top to bottom.
  AnsiString panelSystem;
  AnsiString panelMake;
  AnsiString panelModel;
  AnsiString panelVersion;
  AnsiString panelBody;
  AnsiString panelYears;
  AnsiString panelEngine;
  AnsiString panelAdditional;
  // The value of the last pair when its column is SQL NULL: "(null)", as a C library prints a
  // null text. The other pairs show NULL as the empty text.
  AnsiString panelNullAdditional;

  // Details window: the column headers of the parts list.
  AnsiString headerKind;      // header 1, above the kind names: "Typ"
  AnsiString headerNumber;    // header 2, above the article numbers
  AnsiString headerQuantity;  // header 3, above the quantities

  // Update check: texts and captions of its four message boxes.
  AnsiString updateAskText;  // flags 0x24
  AnsiString updateAskCaption;
  AnsiString updateNewerText;  // flags 0x24
  AnsiString updateNewerCaption;
  AnsiString updateNoneText;  // flags 0x40
  AnsiString updateNoneCaption;
  AnsiString noConnectionText;  // flags 0x30
  AnsiString noConnectionCaption;

  // getField's messages. Polish in both programs, and the same Windows-1250 bytes in both, so
  // the German program shows them as those bytes read in its own code page.
  AnsiString fieldNumberNotPositive;
  AnsiString tooFewFieldsPrefix;  // then the pass number in decimal, then tooFewFieldsSuffix
  AnsiString tooFewFieldsSuffix;
};

// The build's text set, converted on first use (see above).
const TextSet& texts();

// The status line after a selection query with `count` hits.
AnsiString selectionHitsStatus(int count);
// The status line after a number search with `count` hits for `searchText` as typed. The German
// text names the search text only; the Polish text states the count, then the search text.
AnsiString searchHitsStatus(int count, const AnsiString& searchText);

// The maker's web server, which serves the version file and the update pages, and the maker's web
// site, which Label9 shows and opens. Plain ASCII. Both lie under the reserved ".example" domain,
// which no one can register, so that no build sends its request to a stranger's server.
constexpr const char* kWebServerHost = "veldo.example";
constexpr const char* kWebSiteAddress = "http://veldo.example";
constexpr const char* kUpdatePagePath =
    CATALOG_POLISH ? "/veldo2007/katalog/cat_update_pl" : "/veldo2007/katalog/cat_update_de";

// The update page of the build's language on the maker's web server: "http://", the host, the path.
AnsiString updatePageAddress();
