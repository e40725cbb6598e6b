#include "common/FileBytes.h"

#include <fstream>
#include <iterator>

std::vector<unsigned char> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t le16(const std::vector<unsigned char>& bytes, std::size_t at) {
  return at + 2 > bytes.size() ? 0 : bytes[at] | (std::uint32_t{bytes[at + 1]} << 8);
}

std::uint32_t le32(const std::vector<unsigned char>& bytes, std::size_t at) {
  return at + 4 > bytes.size() ? 0 : le16(bytes, at) | (le16(bytes, at + 2) << 16);
}
