#include "core/platform/value.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/platform/utf8_text.h"

namespace numora {

Value Value::Date(double days) {
  Value v(days);
  v.kind_ = Kind::Date;
  return v;
}

Value Value::FromField(std::string_view field) {
  if (field.empty()) {
    return {};
  }
  if (IsNumericText(field)) {
    return Value(NumericValue(field));
  }
  return Value(std::string(field));
}

double Value::Number() const {
  switch (kind_) {
    case Kind::Number:
    case Kind::Date:
      return number_;
    case Kind::Text:
      return NumericValue(text_);
    case Kind::Empty:
      return 0;
  }
  return 0;
}

std::string Value::Text() const {
  switch (kind_) {
    case Kind::Number:
    case Kind::Date:
      return FormatNumber(number_);
    case Kind::Text:
      return text_;
    case Kind::Empty:
      return {};
  }
  return {};
}

bool operator==(const Value& a, const Value& b) {
  using K = Value::Kind;
  if (a.IsEmpty() && b.IsEmpty()) {
    return true;
  }
  if (a.IsEmpty()) {
    return b.kind_ == K::Text ? b.text_.empty() : b.number_ == 0;
  }
  if (b.IsEmpty()) {
    return b == a;
  }
  if (a.kind_ == K::Text && b.kind_ == K::Text) {
    return a.text_ == b.text_;
  }
  if (a.kind_ == K::Text) {
    return IsNumericText(a.text_) && NumericValue(a.text_) == b.number_;
  }
  if (b.kind_ == K::Text) {
    return b == a;
  }
  return a.number_ == b.number_;
}

bool IsNumericText(std::string_view text) {
  std::string_view t = TrimBlanks(text);
  if (t.empty()) {
    return false;
  }
  size_t i = 0;
  if (t[i] == '+' || t[i] == '-') {
    ++i;
  }
  bool digits = false;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
    ++i, digits = true;
  }
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
      ++i, digits = true;
    }
  }
  if (!digits) {
    return false;
  }
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
      ++i;
    }
    bool exp = false;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
      ++i, exp = true;
    }
    if (!exp) {
      return false;
    }
  }
  return i == t.size();
}

namespace {

// Whether a decimal text that is too large or too small for a double is too large: its first
// significant digit lies left of the decimal point once the exponent is applied.
bool BeyondTheLargest(std::string_view t) {
  long long position = 0;  // decimal exponent of the first significant digit, plus one
  bool seenPoint = false;
  bool significant = false;
  size_t i = 0;
  for (; i < t.size() && t[i] != 'e' && t[i] != 'E'; ++i) {
    if (t[i] == '.') {
      seenPoint = true;
    } else if (t[i] >= '1' && t[i] <= '9' && !significant) {
      significant = true;
      if (!seenPoint) {
        ++position;
      }
    } else if (t[i] >= '0' && t[i] <= '9') {
      if (significant && !seenPoint) {
        ++position;
      } else if (!significant && seenPoint) {
        --position;
      }
    }
  }
  long long exponent = 0;
  if (i < t.size()) {
    std::from_chars(t.data() + i + 1 + (t[i + 1] == '+' ? 1 : 0), t.data() + t.size(), exponent);
  }
  return position + exponent > 0;
}

}  // namespace

double NumericValue(std::string_view text) {
  if (!IsNumericText(text)) {
    return 0;
  }
  // Always a decimal point, whatever the system's number format: std::from_chars ignores the
  // locale, where strtod would read "1.5" as 1 under a comma-decimal locale.
  std::string_view t = TrimBlanks(text);
  if (t.front() == '+') {
    t.remove_prefix(1);
  }
  double value = 0;
  const auto result = std::from_chars(t.data(), t.data() + t.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    const bool negative = t.front() == '-';
    if (BeyondTheLargest(negative ? t.substr(1) : t)) {
      return negative ? -HUGE_VAL : HUGE_VAL;
    }
    return negative ? -0.0 : 0.0;
  }
  return value;
}

std::string FormatNumber(double number) {
  if (number == 0) {
    return "0";
  }
  // The shortest text that reads back as the same number, with a decimal point in any locale.
  // Plain decimal notation for the magnitudes this program shows, else the exponent form.
  char buf[400];
  const bool plain = std::fabs(number) < 1e15 && std::fabs(number) >= 1e-6;
  const auto result =
      plain ? std::to_chars(buf, buf + sizeof buf, number, std::chars_format::fixed)
            : std::to_chars(buf, buf + sizeof buf, number, std::chars_format::general);
  return {buf, result.ptr};
}

std::string FormatSingle(float number) {
  if (number == 0) {
    return "0";
  }
  // The shortest text of the single-precision value (1.1f gives "1.1", not 1.10000002384...).
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, number);
  double value = 0;
  std::from_chars(buf, result.ptr, value);
  return FormatNumber(value);
}

}  // namespace numora
