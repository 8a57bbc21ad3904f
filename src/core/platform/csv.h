#pragma once

// Fields of the CSV files the program exports.

#include <string>
#include <string_view>

namespace numora {

// A field as written to a CSV line: as it is, or in double quotes (inner quotes doubled) when it
// holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

}  // namespace numora
