#include "core/hub/chart_svg.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "core/platform/colour.h"

namespace numora {

namespace {

constexpr double kPixelsPerPoint = 96.0 / 72.0;

// A coordinate with at most two decimals, written the same in every locale.
std::string Number(double v) {
  std::array<char, 32> buf{};
  const auto [end, ec] =
      std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, 2);
  if (ec != std::errc()) {
    return "0";
  }
  std::string s(buf.data(), end);
  // "12.50" → "12.5", "12.00" → "12".
  while (!s.empty() && s.back() == '0') {
    s.pop_back();
  }
  if (!s.empty() && s.back() == '.') {
    s.pop_back();
  }
  return s == "-0" || s.empty() ? "0" : s;
}

std::string Escaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::string SvgColour(uint32_t bbggrr) {
  const Rgb rgb = FromBgr(bbggrr);
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", rgb.red, rgb.green, rgb.blue);
  return buf;
}

std::string ChartSvg(const Chart& chart) {
  const double w = kSvgPageWidth;
  const double h = kSvgPageHeight;
  const double f = w / 2;
  const double c = h / 3;
  const int pages = chart.pages > 0 ? chart.pages : 1;
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" xml:space=\"preserve\" width=\"" + Number(w) +
         "\" height=\"" + Number(h * pages) + "\" viewBox=\"0 0 " + Number(w) + " " +
         Number(h * pages) + "\" font-family=\"'Noto Sans CJK JP', 'MS Gothic', sans-serif\">\n";
  svg += "<title>" + Escaped(chart.pupilName) + "</title>\n";
  for (int page = 0; page < pages; ++page) {
    svg += "<g id=\"page" + std::to_string(page + 1) + "\" transform=\"translate(0 " +
           Number(h * page) + ")\">\n";
    svg += "<rect x=\"0\" y=\"0\" width=\"" + Number(w) + "\" height=\"" + Number(h) +
           "\" fill=\"#FFFFFF\" stroke=\"#C0C0C0\"/>\n";
    for (const ChartBand& band : chart.bands) {
      if (band.page != page) {
        continue;
      }
      const double top = band.top * h;
      svg += "<g class=\"band\" data-level=\"" + std::to_string(band.level) + "\">\n";
      for (const ChartLine& l : band.lines) {
        svg += "<line x1=\"" + Number(l.x1 * f) + "\" y1=\"" + Number(top + l.y1 * c) + "\" x2=\"" +
               Number(l.x2 * f) + "\" y2=\"" + Number(top + l.y2 * c) + "\" stroke=\"" +
               SvgColour(l.colour) + "\" stroke-width=\"" + Number(l.width) + "\"/>\n";
      }
      for (const ChartPoint& p : band.points) {
        svg += "<circle cx=\"" + Number(p.x * f) + "\" cy=\"" + Number(top + p.y * c) + "\" r=\"" +
               Number(kChartPointWidth / 2) + "\" fill=\"" + SvgColour(p.colour) + "\"/>\n";
      }
      for (const ChartText& t : band.texts) {
        const double y = (t.fromPageTop ? 0 : top) + t.y * c;
        svg += "<text x=\"" + Number(t.x * f) + "\" y=\"" + Number(y) + "\" font-size=\"" +
               Number(t.fontSize * kPixelsPerPoint) + "\" fill=\"" + SvgColour(t.colour) +
               "\" dominant-baseline=\"hanging\"";
        if (t.cells) {
          svg += " font-family=\"'Noto Sans Mono CJK JP', 'MS Gothic', monospace\"";
        }
        svg += '>';
        svg += Escaped(t.text);
        svg += "</text>\n";
      }
      svg += "</g>\n";
    }
    svg += "</g>\n";
  }
  svg += "</svg>\n";
  return svg;
}

}  // namespace numora
