#include "tools/AnsiText.h"

#include <cstdint>
#include <stdexcept>

namespace demo {
namespace {

struct Mapping {
  char32_t codePoint;
  unsigned char byte;
};

// Windows-1250 above 0x7F, as far as Polish and the shared German letters need it.
constexpr Mapping kWindows1250[] = {
    {U'Ą', 0xA5}, {U'ą', 0xB9}, {U'Ć', 0xC6}, {U'ć', 0xE6}, {U'Ę', 0xCA}, {U'ę', 0xEA}, {U'Ł', 0xA3},
    {U'ł', 0xB3}, {U'Ń', 0xD1}, {U'ń', 0xF1}, {U'Ó', 0xD3}, {U'ó', 0xF3}, {U'Ś', 0x8C}, {U'ś', 0x9C},
    {U'Ź', 0x8F}, {U'ź', 0x9F}, {U'Ż', 0xAF}, {U'ż', 0xBF}, {U'Ä', 0xC4}, {U'ä', 0xE4}, {U'Ö', 0xD6},
    {U'ö', 0xF6}, {U'Ü', 0xDC}, {U'ü', 0xFC}, {U'ß', 0xDF}, {U'é', 0xE9},
};

char32_t nextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t value = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    value = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    value = lead & 0x0F;
  } else {
    throw std::invalid_argument("unsupported UTF-8 sequence in generator text");
  }
  for (int i = 0; i < extra; ++i) {
    if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) {
      throw std::invalid_argument("malformed UTF-8 in generator text");
    }
    value = (value << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
  }
  return value;
}

// Windows-1252 equals Latin-1 from 0xA0 up, which covers every German letter.
int byteIn1252(char32_t c) { return (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) ? static_cast<int>(c) : -1; }

int byteIn1250(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  for (const Mapping& m : kWindows1250) {
    if (m.codePoint == c) return m.byte;
  }
  return -1;
}

template <typename ByteOf>
std::string convert(std::string_view utf8, ByteOf byteOf) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t c = nextCodePoint(utf8, pos);
    const int byte = byteOf(c);
    if (byte < 0) {
      throw std::invalid_argument("character U+" + std::to_string(static_cast<std::uint32_t>(c)) +
                                  " has no byte in the code page: " + std::string(utf8));
    }
    out.push_back(static_cast<char>(byte));
  }
  return out;
}

}  // namespace

std::string toWindows1252(std::string_view utf8) { return convert(utf8, byteIn1252); }

std::string toWindows1250(std::string_view utf8) { return convert(utf8, byteIn1250); }

std::string toSharedAnsi(std::string_view utf8) {
  return convert(utf8, [](char32_t c) {
    const int western = byteIn1252(c);
    return western == byteIn1250(c) ? western : -1;
  });
}

}  // namespace demo
