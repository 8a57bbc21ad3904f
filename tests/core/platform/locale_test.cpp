// Numbers of the files under a comma-decimal system locale (as the program runs on a German or
// French system, where the window toolkit takes the locale from the environment): read and written
// with a decimal point all the same.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/hub/hub_figures.h"
#include "core/installation/app_state.h"
#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "core/platform/value.h"
#include "core/records/evaluation.h"
#include "core/records/level_standards.h"
#include "core/records/statistics.h"
#include "support/platform.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

bool CommaDecimalIsInEffect() {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.1f", 1.5);
  return std::string(buf) == "1,5";
}

// Switches the process to a comma-decimal locale. Uses an installed one, or builds one with
// localedef into a temporary folder when none is installed.
bool EnterCommaDecimalLocale(const fs::path& scratch) {
  // POSIX names, then the names the Windows runtime knows.
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "de-DE",
                           "German_Germany.1252"}) {
    if (std::setlocale(LC_ALL, name) != nullptr && CommaDecimalIsInEffect()) {
      return true;
    }
  }
  const fs::path folder = scratch / "locales";
  fs::create_directories(folder);
  const std::string command =
      "localedef -i de_DE -f UTF-8 '" + PathText(folder / "de_DE.UTF-8") + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0 && !fs::exists(folder / "de_DE.UTF-8")) {
    return false;
  }
  testing::SetEnvironment("LOCPATH", PathText(folder));
  return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr && CommaDecimalIsInEffect();
}

class CommaDecimalLocaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testing::MakeScratchFolder("numora_locale");
    if (!EnterCommaDecimalLocale(folder_)) {
      GTEST_SKIP() << "no comma-decimal locale available (scripts/install-deps.sh installs one)";
    }
  }
  void TearDown() override {
    std::setlocale(LC_ALL, "C");
    fs::remove_all(folder_);
  }

  fs::path folder_;
};

TEST_F(CommaDecimalLocaleTest, FieldsReadWithADecimalPoint) {
  struct Case {
    const char* field;
    bool numeric;
    double number;
  } cases[] = {
      {"1.5", true, 1.5},  {" 0.25 ", true, 0.25},    {"-3.75", true, -3.75},
      {"+2.5", true, 2.5}, {"1e3", true, 1000},       {".5", true, 0.5},
      {"1,5", false, 0},   {"1e999", true, HUGE_VAL}, {"1e-999", true, 0},
      {"12", true, 12},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsNumericText(c.field), c.numeric) << c.field;
    EXPECT_EQ(NumericValue(c.field), c.number) << c.field;
    EXPECT_EQ(Value::FromField(c.field).Number(), c.number) << c.field;
  }
}

TEST_F(CommaDecimalLocaleTest, NumbersAreWrittenWithADecimalPoint) {
  EXPECT_EQ(FormatNumber(1.5), "1.5");
  EXPECT_EQ(FormatNumber(-0.25), "-0.25");
  EXPECT_EQ(FormatNumber(0.0001), "0.0001");
  EXPECT_EQ(FormatNumber(123456789012.0), "123456789012");
  EXPECT_EQ(FormatNumber(1e20), "1e+20");
  EXPECT_EQ(FormatSingle(1.1F), "1.1");
  EXPECT_EQ(FormatSingle(1.5F), "1.5");
  EXPECT_EQ(Value(2.5).Text(), "2.5");
}

TEST_F(CommaDecimalLocaleTest, StandardsFileMultiplierIsReadAndShownAsWritten) {
  const fs::path file = folder_ / "standards.txt";
  ASSERT_TRUE(WriteWholeFile(
      PathText(file),
      Utf8ToCp932("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n"
                  "40,60,100,3,1.5,10,0,7.5,1,,,\r\n")));
  AppState state;
  ASSERT_TRUE(LoadLevelStandards(state.catalogue, PathText(file)).ok);
  EXPECT_EQ(state.catalogue.standards[1].pointMultiplier, 1.5F);
  EXPECT_EQ(state.catalogue.standards[1].passPeriodDays.Number(), 7.5);
  // 20 seconds against 40 earn 11 base points, × 1.5 → 16.
  EXPECT_EQ(RunPoints(state.catalogue, 1, 20), 16);
  EXPECT_EQ(PointsLine(11, state.catalogue.standards[1].pointMultiplier, 16),
            "獲得ポイント：11点×1.5→16点");
  EXPECT_EQ(TargetLine(state.catalogue, 1), "目標=40秒 3回/100点(×1.5)");
}

}  // namespace
}  // namespace numora
