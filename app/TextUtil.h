// Small text routines of the catalogue: the in-place replacement that normalises a search number,
// and the reading of numbers that the catalogue and the update server deliver as text.
#pragma once

#include <string>

// Replaces every occurrence of `pattern` in `subject`, left to right and without overlap; the
// inserted replacement is never scanned again ("aaa" with "aa" -> "b" gives "ba"). An empty
// pattern leaves the subject as it is. Returns `subject`.
std::string& replaceAll(const std::string& pattern, const std::string& replacement, std::string& subject);

// Reads a decimal integer as atol does: leading white space skipped, one optional sign, then the
// digits up to the first other character. No digits, or a null text, give 0; a value beyond the
// int range gives the nearest end of the range.
int readNumber(const char* text);
