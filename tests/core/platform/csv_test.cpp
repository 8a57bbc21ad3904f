// CSV fields: quoted only when they must be, inner quotes doubled, so that a name with a comma
// or a quote stays one field.

#include "core/platform/csv.h"

#include <gtest/gtest.h>

namespace numora {
namespace {

TEST(CsvField, QuotesOnlyFieldsThatWouldBreakTheLine) {
  struct Case {
    const char* text;
    const char* field;
  } cases[] = {
      {"山田太郎", "山田太郎"},
      {"", ""},
      {"山田,太郎", "\"山田,太郎\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {"one\nline", "\"one\nline\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CsvField(c.text), c.field) << c.text;
  }
}

}  // namespace
}  // namespace numora
