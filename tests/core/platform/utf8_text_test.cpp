// UTF-8 text counted, cut, trimmed and padded by characters: a multi-byte character is never
// split, and asking for more characters than there are gives what there is.

#include "core/platform/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace numora {
namespace {

TEST(Utf8Text, CountsAndCutsByCharacters) {
  EXPECT_EQ(CharCount("山田　太郎ab"), 7u);
  EXPECT_EQ(CharCount(""), 0u);
  EXPECT_EQ(CharOffset("山田ab", 1), 3u);
  EXPECT_EQ(CharOffset("山田ab", 9), 8u);
  struct Case {
    std::string got;
    const char* expected;
  } cases[] = {
      {LeftChars("山田太郎", 2), "山田"}, {LeftChars("山田", 5), "山田"},
      {MidChars("12345山田", 5), "山田"}, {MidChars("ａ×ｂｃ", 1, 1), "×"},
      {MidChars("ab", 4, 2), ""},         {RightChars("　　山田", 3), "　山田"},
      {RightChars("ab", 5), "ab"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.got, c.expected);
  }
}

TEST(Utf8Text, TrimsTheBlanksEachFieldAllows) {
  struct Case {
    std::string got;
    const char* expected;
  } cases[] = {
      // Half-width spaces only: a tab or an ideographic space is part of a name.
      {TrimSpaces("  山田 太郎  "), "山田 太郎"},
      {TrimSpaces("\t山田　"), "\t山田　"},
      {TrimSpaces("    "), ""},
      {TrimTrailingSpaces("  山田  "), "  山田"},
      {TrimTrailingSpaces("   "), ""},
      // Spaces and tabs, as number fields are read.
      {std::string(TrimBlanks(" \t12.5\t ")), "12.5"},
      {std::string(TrimBlanks("\t \t")), ""},
      // Any mix of half-width, tab and ideographic blanks, as typed with an input method.
      {TrimWideBlanks("　 \t小３ 　"), "小３"},
      {TrimWideBlanks("　a　b　"), "a　b"},
      {TrimWideBlanks("　　"), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.got, c.expected);
  }
}

TEST(Utf8Text, AlignsAndFitsToAWidthInCharacters) {
  struct Case {
    std::string got;
    const char* expected;
  } cases[] = {
      {AlignRight("47秒", 5), "  47秒"},
      {AlignRight("123456", 4), "3456"},  // longer: its last characters
      {AlignRight("", 2), "  "},
      {FitChars("山田", 5, kWideSpace), "山田　　　"},
      {FitChars("あいうえおか", 5, kWideSpace), "あいうえお"},
      {FitChars("ab", 4), "ab  "},
      {FitChars("", 2, kWideSpace), "　　"},
      {FitChars("山田", 0), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.got, c.expected);
  }
}

}  // namespace
}  // namespace numora
