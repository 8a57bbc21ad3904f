#include "core/platform/value.h"

#include <gtest/gtest.h>

#include "core/installation/app_state.h"
#include "core/platform/collation.h"

namespace numora {
namespace {

TEST(Value, EmptyEqualsZeroAndEmptyText) {
  Value empty;
  EXPECT_TRUE(empty == Value(0));
  EXPECT_TRUE(empty == Value(""));
  EXPECT_FALSE(empty == Value(1));
  EXPECT_EQ(empty.Number(), 0);
  EXPECT_EQ(empty.Text(), "");
}

TEST(Value, FieldsBecomeNumbersWhenNumeric) {
  struct Case {
    const char* field;
    Value::Kind kind;
    double number;
    const char* text;
  } cases[] = {
      {"", Value::Kind::Empty, 0, ""},
      {"12", Value::Kind::Number, 12, "12"},
      {"1.5", Value::Kind::Number, 1.5, "1.5"},
      {"-3", Value::Kind::Number, -3, "-3"},
      {"目標Time", Value::Kind::Text, 0, "目標Time"},
      {"12a", Value::Kind::Text, 0, "12a"},
  };
  for (const auto& c : cases) {
    Value v = Value::FromField(c.field);
    EXPECT_EQ(v.kind(), c.kind) << c.field;
    EXPECT_EQ(v.Number(), c.number) << c.field;
    EXPECT_EQ(v.Text(), c.text) << c.field;
  }
}

TEST(Value, SingleFormatsShortest) {
  EXPECT_EQ(FormatSingle(1.5f), "1.5");
  EXPECT_EQ(FormatSingle(1.1f), "1.1");
  EXPECT_EQ(FormatNumber(16), "16");
}

TEST(AppState, FlatIndexOfLevelAndPupil) {
  EXPECT_EQ(LevelPupilIndex(3, 12), 15015u);
  AppState s;
  EXPECT_EQ(s.stats.totalRuns(4, 5000), 0);
  s.stats.totalRuns(3, 12) = 7;
  EXPECT_EQ(s.stats.totalRuns[15015], 7);
}

TEST(Collation, BlanksDigitsFullWidthAndDashLast) {
  EXPECT_TRUE(ListLineLess(" 9", "10"));
  EXPECT_TRUE(ListLineLess("10", "９"));
  EXPECT_TRUE(ListLineLess("99", "--"));
  EXPECT_TRUE(ListLineLess("9", "-"));
  EXPECT_FALSE(ListLineLess("-", "9"));
  EXPECT_TRUE(ListLineLess("-", "A"));
  EXPECT_TRUE(ListLineLess("ab", "abc"));
  EXPECT_FALSE(ListLineLess("abc", "abc"));
}

}  // namespace
}  // namespace numora
