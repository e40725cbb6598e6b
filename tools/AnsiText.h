// Conversion of the generator's UTF-8 texts into the 8-bit Windows code pages that the catalogue
// stores: 1252 for the German texts, 1250 for the Polish ones. Only the letters that the demo
// catalogue uses are known; any other character is a mistake in the generator and throws.

#ifndef CATALOG_TOOLS_ANSITEXT_H_
#define CATALOG_TOOLS_ANSITEXT_H_

#include <string>
#include <string_view>

namespace demo {

// Throws std::invalid_argument for malformed UTF-8 or a character the code page lacks.
std::string toWindows1252(std::string_view utf8);
std::string toWindows1250(std::string_view utf8);

// For text that both programs show from the same column (makes, models, engines): the bytes must
// mean the same in both code pages, so a character whose bytes differ throws as well.
std::string toSharedAnsi(std::string_view utf8);

}  // namespace demo

#endif  // CATALOG_TOOLS_ANSITEXT_H_
