#pragma once

#include <string>
#include <string_view>

namespace numora {

// A general value: empty, a number, a text or a date (days since 30 December 1899).
// Empty compares equal to 0 and to the empty text and counts as 0 in arithmetic. Values read
// from text files become numbers when their text is numeric (see FromField).
class Value {
 public:
  enum class Kind { Empty, Number, Text, Date };

  Value() = default;
  Value(double number) : kind_(Kind::Number), number_(number) {}  // NOLINT: implicit by design
  Value(int number) : kind_(Kind::Number), number_(number) {}     // NOLINT
  Value(std::string text) : kind_(Kind::Text), text_(std::move(text)) {}  // NOLINT
  Value(const char* text) : kind_(Kind::Text), text_(text) {}             // NOLINT
  static Value Date(double days);

  // A field read from a text file: empty stays empty, numeric text becomes a number, anything
  // else stays text.
  static Value FromField(std::string_view field);

  Kind kind() const { return kind_; }
  bool IsEmpty() const { return kind_ == Kind::Empty; }
  bool IsNumber() const { return kind_ == Kind::Number || kind_ == Kind::Date; }

  // Numeric value: a number or date as is, empty as 0, numeric text as its number, other text 0.
  double Number() const;
  // Text form: a text as is, empty as "", a number in its shortest decimal form (1.5, 12, -3).
  std::string Text() const;

  // Empty equals 0 and ""; a number and a text compare numerically when the text is numeric.
  friend bool operator==(const Value& a, const Value& b);

 private:
  Kind kind_ = Kind::Empty;
  double number_ = 0;
  std::string text_;
};

// True when text (after skipping leading and trailing blanks) is a decimal number: optional sign,
// digits with an optional decimal point and optional exponent. The empty text is not numeric.
bool IsNumericText(std::string_view text);

// The numeric value of text, 0 when it is not numeric.
double NumericValue(std::string_view text);

// Shortest decimal form of a number as the program shows it: 12, 1.5, 0.25, -3. Numbers stored as
// single precision are formatted from their single-precision value (1.5f gives "1.5").
std::string FormatNumber(double number);
std::string FormatSingle(float number);

}  // namespace numora
