#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace numora {

// CP932 bytes to UTF-8 with every invalid byte sequence replaced by U+FFFD; the byte offsets of
// those sequences go to invalidOffsets when given. Built on ICU, or on the Windows code page
// tables where ICU is missing.
std::string DecodeCp932(std::string_view cp932, std::vector<size_t>* invalidOffsets);

}  // namespace numora
