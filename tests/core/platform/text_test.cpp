#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "core/platform/cp932.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"

namespace numora {
namespace {

TEST(Cp932, RoundTripsVendorExtensionsAndHalfWidthKatakana) {
  struct Case {
    const char* utf8;
    std::string cp932;
  } cases[] = {
      {"①⑥", "\x87\x40\x87\x45"},
      {"ⅠⅢ", "\x87\x54\x87\x56"},
      {"髙﨑", "\xFB\xFC\xFA\xB1"},
      {"～", "\x81\x60"},
      {"ｸﾘｱﾎﾟｲﾝﾄ", "\xB8\xD8\xB1\xCE\xDF\xB2\xDD\xC4"},
      {"目標Time", "\x96\xDA\x95\x57Time"},
  };
  for (const auto& c : cases) {
    bool ok = false;
    EXPECT_EQ(Utf8ToCp932(c.utf8, &ok), c.cp932) << c.utf8;
    EXPECT_TRUE(ok) << c.utf8;
    EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
  }
}

TEST(Cp932, UnmappableCharacterBecomesQuestionMarkAndIsReported) {
  bool ok = true;
  EXPECT_EQ(Utf8ToCp932("a😀b", &ok), "a?b");
  EXPECT_FALSE(ok);
}

TEST(FieldReader, StreamRules) {
  // Commas and line breaks end fields; leading blanks are skipped; quotes may hold commas; an
  // empty line is one empty field; trailing line breaks make no further field.
  FieldReader r =
      FieldReader::FromBytes(Utf8ToCp932("  a , b\r\n\"x, y\"junk,12\n\n 3.5,\r\nlast\r\n\r\n"));
  const char* expected[] = {"a", "b", "x, y", "12", "", "3.5", "", "last"};
  for (const char* e : expected) {
    ASSERT_FALSE(r.AtEnd()) << e;
    EXPECT_EQ(r.NextText(), e);
  }
  EXPECT_TRUE(r.AtEnd());
  EXPECT_FALSE(r.pastEnd());
  EXPECT_EQ(r.NextText(), "");
  EXPECT_TRUE(r.pastEnd());
}

TEST(FieldReader, StandardsHeaderGivesTwelveFieldsAndNumbers) {
  FieldReader r = FieldReader::FromBytes(Utf8ToCp932(
      "目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n40,60\r\n"));
  for (int i = 0; i < 12; ++i) r.NextText();
  EXPECT_EQ(r.NextNumber(), 40);
  EXPECT_TRUE(r.NextValue() == Value(60));
  EXPECT_TRUE(r.AtEnd());
}

TEST(FieldReader, EmptyFieldsAfterTheLastCommaOfTheFileCount) {
  for (const char* text :
       {"/data/,,,,,,,,,\r\n", "/data/,,,,,,,,,", "/data/,0,0,0,0,0,0,0,0,0\r\n"}) {
    FieldReader r = FieldReader::FromBytes(text);
    for (int i = 0; i < 10; ++i) r.NextText();
    EXPECT_FALSE(r.pastEnd()) << text;
    EXPECT_TRUE(r.AtEnd()) << text;
  }
}

TEST(FieldReader, MissingFileIsReported) {
  FieldReader r("/nonexistent/新名簿.txt");
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.error().find("新名簿.txt"), std::string::npos);
}

TEST(Dates, CivilArithmetic) {
  EXPECT_EQ(MakeDate(1899, 12, 30), 0);
  EXPECT_EQ(MakeDate(2026, 12, 10), 46366);
  EXPECT_EQ(WeekdayOf(MakeDate(2026, 12, 10)), 4);  // Thursday
  CivilDate c = ToCivil(MakeDateTime(2024, 2, 29, 23, 59, 59));
  EXPECT_EQ(c.year, 2024);
  EXPECT_EQ(c.month, 2);
  EXPECT_EQ(c.day, 29);
  EXPECT_EQ(FormatShortDate(MakeDate(2026, 1, 5)), "2026/01/05");
  EXPECT_EQ(FormatTimeOfDay(MakeDateTime(2026, 1, 5, 7, 8, 9)), "07:08:09");
}

TEST(Dates, DamagedDatesStayDefined) {
  // A results record may hold any eight bytes as its date: the calendar functions must give some
  // day for them rather than overflow (the sanitizer build checks the arithmetic).
  for (double d : {std::nan(""), 1e300, -1e300, std::numeric_limits<double>::infinity(), 9.3e18}) {
    const CivilDate c = ToCivil(d);
    EXPECT_GE(c.month, 1);
    EXPECT_LE(c.month, 12);
    EXPECT_GE(WeekdayOf(d), 0);
    EXPECT_LE(WeekdayOf(d), 6);
  }
}

TEST(Dates, JapaneseEraText) {
  struct Case {
    int y, m, d;
    const char* text;
  } cases[] = {
      {2026, 12, 10, "令和8年 12月 10日（木）"},
      {2019, 4, 30, "平成31年 4月 30日（火）"},
      {2019, 5, 1, "令和1年 5月 01日（水）"},
      {2027, 3, 1, "令和9年 3月 01日（月）"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatEraDate(MakeDate(c.y, c.m, c.d)), c.text);
}

}  // namespace
}  // namespace numora
