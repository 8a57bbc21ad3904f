#include "core/platform/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace numora {

namespace {

std::string_view TrimBlanks(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) {
    t.remove_prefix(1);
  }
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) {
    t.remove_suffix(1);
  }
  return t;
}

}  // namespace

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

double NumericValue(std::string_view text) {
  if (!IsNumericText(text)) {
    return 0;
  }
  std::string t(TrimBlanks(text));
  if (!t.empty() && t.front() == '+') {
    t.erase(0, 1);
  }
  return std::strtod(t.c_str(), nullptr);
}

std::string FormatNumber(double number) {
  if (number == 0) {
    return "0";
  }
  char buf[64];
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, number);
    if (std::strtod(buf, nullptr) == number) {
      break;
    }
  }
  std::string s(buf);
  // Plain decimal notation for the magnitudes this program shows.
  if (s.find('e') != std::string::npos && std::fabs(number) < 1e15 && std::fabs(number) >= 1e-6) {
    std::snprintf(buf, sizeof buf, "%.10f", number);
    s = buf;
    while (!s.empty() && s.back() == '0') {
      s.pop_back();
    }
    if (!s.empty() && s.back() == '.') {
      s.pop_back();
    }
  }
  return s;
}

std::string FormatSingle(float number) {
  if (number == 0) {
    return "0";
  }
  char buf[64];
  for (int precision = 1; precision <= 9; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, static_cast<double>(number));
    if (std::strtof(buf, nullptr) == number) {
      break;
    }
  }
  return FormatNumber(std::strtod(buf, nullptr));
}

}  // namespace numora
