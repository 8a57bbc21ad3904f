#pragma once

#include <string>
#include <string_view>

namespace numora {

// The order of every sorted list: UTF-16 code-unit order of the lines (so blanks come before
// digits and full-width characters after both), except that "-" sorts right after "9", which puts
// a ranking's "--" lines at the bottom. Lines are UTF-8.
bool ListLineLess(std::string_view a, std::string_view b);

}  // namespace numora
