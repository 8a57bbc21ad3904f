// numora-data chart on a demo installation with a few runs: the SVG file holds the chart model's
// points, lines and texts; --all writes one file per listed pupil; bad options are refused.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/data_commands.h"
#include "core/hub/chart_model.h"
#include "core/hub/chart_svg.h"
#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/platform/dates.h"
#include "core/records/results_file.h"
#include "core/records/statistics.h"
#include "core/roster/roster.h"
#include "support/demo_folder.h"
#include "support/fakes.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

constexpr int kPupil = 3;  // 髙橋　そうた in the demo roster
const char* const kNow = "2026-12-10 12:00:00";

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

size_t Count(const std::string& text, const std::string& piece) {
  size_t n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) {
    ++n;
  }
  return n;
}

class ChartCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    demo_ = std::make_unique<testing::DemoFolder>(
        "chart_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::string error;
    ASSERT_TRUE(demo_->Create(MakeDate(2026, 12, 10), error)) << error;
    programFolder_ = demo_->programFolder();
    auto setup = std::make_unique<AppState>();
    ASSERT_TRUE(SetUpPathsAndSettings(*setup, programFolder_, error)) << error;
    // Pupil 3 on level 1: 40, 35, 38 s and a time-out; on level 2 one run.
    struct Run {
      int day, pupil, level, seconds;
    } runs[] = {{7, 3, 1, 40},  {8, 3, 1, 35},  {9, 3, 1, 99999},
                {10, 3, 1, 38}, {10, 4, 1, 30}, {10, 3, 2, 70}};
    FakeServices fake;
    for (const Run& r : runs) {
      fake.clock.Set(2026, 12, r.day, 9, 0);
      ASSERT_TRUE(AppendRunRecord(setup->installation, fake.services, static_cast<int16_t>(r.pupil),
                                  static_cast<int16_t>(r.level), r.seconds));
    }
  }

  int Run(DataCommandArgs args) {
    out_.str("");
    err_.str("");
    args.insert(args.begin(), {"--program-folder", programFolder_});
    return RunChartCommand(args, out_, err_);
  }

  // The chart the program draws of the pupil at kNow, built as the hub builds it.
  Chart Expected(int pupil, std::vector<int> levels) {
    auto s = std::make_unique<AppState>();
    std::string error;
    EXPECT_TRUE(SetUpPathsAndSettings(*s, programFolder_, error)) << error;
    FakeServices fake;
    fake.clock.Set(2026, 12, 10, 12, 0);
    ReadRoster(s->installation, s->roster, fake.clock.Today());
    SetUpCatalogue(s->catalogue);
    RebuildStatistics(*s, fake.services);
    ChartRequest r;
    r.pupil = pupil;
    r.currentPupil = pupil;
    r.levels = std::move(levels);
    r.filterText = kAllGrades;
    r.now = fake.clock.Now();
    r.target = ChartTarget::kPaper;
    return BuildChart(s->catalogue, s->roster, s->stats,
                      ReadChartRecords(s->installation, s->stats, fake.services), r);
  }

  std::unique_ptr<testing::DemoFolder> demo_;
  std::string programFolder_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(ChartCommandTest, WritesTheChartModelAsSvg) {
  const fs::path file = demo_->base() / "chart.svg";
  ASSERT_EQ(Run({"--pupil", "3", "--now", kNow, "--output", file.string()}), 0) << err_.str();
  EXPECT_EQ(err_.str(), "");
  const std::string svg = ReadText(file);
  EXPECT_EQ(svg, ChartSvg(Expected(kPupil, {1, 2, 3})));

  // Level 1: two red bests (40, 35) and one blue run (38); the time-out is not drawn. Level 2:
  // one red best. The demo history adds runs of the pupil on other days: count at least these.
  EXPECT_GE(Count(svg, "fill=\"#FF0000\""), 3U);
  EXPECT_GE(Count(svg, "fill=\"#0000FF\""), 1U);
  EXPECT_NE(svg.find("xml:space=\"preserve\""), std::string::npos);
  EXPECT_NE(svg.find(">ヌモラ ﾚﾍﾞﾙ1</text>"), std::string::npos);
  EXPECT_NE(svg.find(">タイム  　　 　    本人 / 塾全体</text>"), std::string::npos);
  EXPECT_NE(svg.find(">　　　　　　　　　　　　 (塾平均)</text>"), std::string::npos);
  EXPECT_NE(svg.find(">髙橋　そうた</text>"), std::string::npos);
  EXPECT_EQ(Count(svg, "<g class=\"band\""), 3U);
  EXPECT_EQ(Count(svg, "<g id=\"page"), 1U);

  // Every circle of the file is one of the model's points, in order and in place.
  const Chart chart = Expected(kPupil, {1, 2, 3});
  std::vector<std::string> circles;
  const std::regex circle(
      "<circle cx=\"([0-9.]+)\" cy=\"([0-9.]+)\" r=\"2.5\" fill=\"(#[0-9A-F]+)\"/>");
  for (std::sregex_iterator it(svg.begin(), svg.end(), circle), end; it != end; ++it) {
    circles.push_back((*it)[3]);
  }
  std::vector<std::string> want;
  for (const ChartBand& band : chart.bands) {
    for (const ChartPoint& p : band.points) {
      want.push_back(p.newBest ? "#FF0000" : "#0000FF");
    }
  }
  EXPECT_EQ(circles, want);
}

TEST_F(ChartCommandTest, FourLevelsMakeASecondPage) {
  const fs::path file = demo_->base() / "four.svg";
  ASSERT_EQ(Run({"--pupil", "3", "--now", kNow, "--levels", "4,1,2,3", "--output", file.string()}),
            0)
      << err_.str();
  const std::string svg = ReadText(file);
  EXPECT_EQ(Count(svg, "<g id=\"page"), 2U);
  EXPECT_EQ(Count(svg, ">髙橋　そうた</text>"), 2U);  // the name heads each page
  EXPECT_NE(svg.find("height=\"1588\""), std::string::npos);
}

TEST_F(ChartCommandTest, AllWritesOneFilePerListedPupil) {
  const fs::path folder = demo_->base() / "class report";
  ASSERT_EQ(Run({"--all", "--now", kNow, "--levels", "1", "--output", folder.string()}), 0)
      << err_.str();
  auto s = std::make_unique<AppState>();
  std::string error;
  ASSERT_TRUE(SetUpPathsAndSettings(*s, programFolder_, error));
  const RosterReading reading = ReadRoster(s->installation, s->roster, MakeDate(2026, 12, 10));
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    EXPECT_EQ(entry.path().extension(), ".svg");
    ++files;
  }
  EXPECT_EQ(files, reading.listed.size());
  const fs::path own = folder / fs::path(u8"0003_髙橋　そうた.svg");
  ASSERT_TRUE(fs::exists(own));
  EXPECT_EQ(ReadText(own), ChartSvg(Expected(kPupil, {1})));
}

TEST_F(ChartCommandTest, BadOptionsAreRefusedWithAJapaneseMessage) {
  const std::string file = (demo_->base() / "x.svg").string();
  const std::vector<DataCommandArgs> bad = {
      {"--pupil", "3", "--output", file, "--colour", "red"},
      {"--pupil", "3", "--output", file, "stray"},
      {"--output", file},
      {"--pupil", "3", "--all", "--output", file},
      {"--pupil", "3"},
      {"--pupil", "0", "--output", file},
      {"--pupil", "3", "--levels", "1,5", "--output", file},
      {"--pupil", "3", "--levels", "1,,2", "--output", file},
      {"--pupil", "3", "--levels", "", "--output", file},
      {"--pupil", "3", "--filter", "高１", "--output", file},
      {"--pupil", "3", "--now", "2026-12-10", "--output", file},
  };
  for (const DataCommandArgs& args : bad) {
    EXPECT_EQ(Run(args), 2) << ::testing::PrintToString(args);
    EXPECT_EQ(out_.str(), "");
    EXPECT_NE(err_.str().find("使い方"), std::string::npos) << err_.str();
    EXPECT_FALSE(fs::exists(file));
  }
  // A pupil who is not in the roster, and a file that cannot be written.
  EXPECT_EQ(Run({"--pupil", "4999", "--now", kNow, "--output", file}), 1);
  EXPECT_NE(err_.str().find("名簿"), std::string::npos);
  EXPECT_EQ(Run({"--pupil", "3", "--now", kNow, "--output",
                 (demo_->base() / "no such folder" / "x.svg").string()}),
            1);
  EXPECT_NE(err_.str().find("書き込めません"), std::string::npos);
}

}  // namespace
}  // namespace numora
