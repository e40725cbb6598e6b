// Small text routines of the catalogue: the in-place replacement that normalises a search number,
// the field cut out of the update server's reply, and the reading of numbers that the catalogue
// and the update server deliver as text.
#pragma once

#include <string>

#include "platform/AnsiString.h"

// Replaces every occurrence of `pattern` in `subject`, left to right and without overlap; the
// inserted replacement is never scanned again ("aaa" with "aa" -> "b" gives "ba"). An empty
// pattern leaves the subject as it is. Returns `subject`.
std::string& replaceAll(const std::string& pattern, const std::string& replacement, std::string& subject);

// Field `n` (from 1) of `text` cut at `separator`, without leading and trailing bytes of 0x20 or
// below. Field 1 is everything before the first separator. For a later field the text loses, at
// each of n - 1 passes, everything up to its first separator together with the separator's first
// character and the one character after it: a two-character separator goes exactly, a longer one
// leaves its rest at the front of the field, a one-character one takes the next character along.
// The field then ends before the next separator, which is looked for in the text with its blanks
// and control bytes trimmed off.
// A field number of 0 or less, or a text that runs out of separators at pass k, is shown in a
// ShowMessage box (the Polish messages of both programs, with k as the count) and gives "".
// `text` is taken by value: a caller that moves a large text in lets it go before any box opens.
AnsiString getField(AnsiString text, const AnsiString& separator, int n);

// Reads a decimal integer as atol does: leading white space skipped, one optional sign, then the
// digits up to the first other character. No digits, or a null text, give 0; a value beyond the
// int range gives the nearest end of the range.
int readNumber(const char* text);
