// A file's bytes, and the little-endian numbers of the Windows file formats read from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Every byte of the file; empty when it cannot be read.
std::vector<unsigned char> readBytes(const std::string& path);

// The number at `at`; 0 when it reaches past the end.
std::uint32_t le16(const std::vector<unsigned char>& bytes, std::size_t at);
std::uint32_t le32(const std::vector<unsigned char>& bytes, std::size_t at);
