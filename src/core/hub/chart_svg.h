#pragma once

// The time chart as an SVG document: every page of the chart one below the other, each a
// landscape A4 sheet at 96 pixels to the inch, drawn from the same display list as the screen and
// the printer. Points are circles filled #FF0000 (a new best) or #0000FF (any other run); texts
// hold the chart's strings unchanged, blanks included.

#include <string>

#include "core/hub/chart_model.h"

namespace numora {

inline constexpr double kSvgPageWidth = 1123;  // A4 landscape, pixels
inline constexpr double kSvgPageHeight = 794;

// "#RRGGBB" of a colour written &H00BBGGRR.
std::string SvgColour(uint32_t bbggrr);

// The whole document, UTF-8.
std::string ChartSvg(const Chart& chart);

}  // namespace numora
