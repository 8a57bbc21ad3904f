// The demo installation written by numora-data, checked through the program's own set-up, and the
// check command on a complete and on a broken installation.

#include "core/installation/demo_installation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/installation/wav_synth.h"
#include "core/platform/cp932.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/platform/paths.h"
#include "support/platform.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int status = -1;
  std::string output;
};

std::string BuiltProgram(const char* name) {
  return std::string(NUMORA_BINARY_DIR) + "/" + name + kExecutableSuffix;
}

// Runs numora-data with the given arguments; stdout and stderr together.
ToolRun RunTool(const std::vector<std::string>& args, const fs::path& scratch) {
  const fs::path log = scratch / "tool-output.txt";
  ToolRun run;
  run.status = testing::RunProgram(BuiltProgram("numora-data"), args, log);
  ReadWholeFile(PathText(log), run.output);
  return run;
}

class DemoInstallationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = fs::temp_directory_path() /
            (std::string("numora_demo_") +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(base_);
    fs::create_directories(base_);
  }
  void TearDown() override { fs::remove_all(base_); }
  fs::path base_;
};

TEST_F(DemoInstallationTest, WritesACompleteInstallationTheProgramCanStartFrom) {
  // Any file serves as the program to copy here.
  const fs::path fakeProgram = base_ / "numora";
  ASSERT_TRUE(WriteWholeFile(PathText(fakeProgram), "#!/bin/sh\n"));
  std::string programFolder, error;
  const double today = MakeDate(2026, 3, 15);  // school year 2025 with start month 4
  ASSERT_TRUE(CreateDemoInstallation(PathText(base_ / "demo"), PathText(fakeProgram), today,
                                     programFolder, error))
      << error;
  EXPECT_EQ(programFolder, PathText(base_ / "demo" / "apps" / "numora") + kFolderSeparator);
  EXPECT_TRUE(fs::exists(base_ / "demo" / "apps" / "numora" / "numora"));
  EXPECT_TRUE(HoldsInstallation(PathText(base_ / "demo")));

  AppState s;
  ASSERT_TRUE(SetUpPathsAndSettings(s, programFolder, error)) << error;
  EXPECT_EQ(s.installation.dataRootFolder, PathText(base_ / "demo" / "data") + kFolderSeparator);
  EXPECT_EQ(s.installation.schoolCode, "12345");
  EXPECT_FALSE(s.installation.schoolName.empty());
  EXPECT_EQ(s.installation.schoolYearStartMonth.Number(), 4);
  EXPECT_EQ(s.installation.dataChangePassword.Text(), "1234");
  for (int level = 1; level <= 4; ++level) {
    EXPECT_GT(s.catalogue.standards[level].targetTime, 0);
    EXPECT_GT(s.catalogue.standards[level].minimumTime, s.catalogue.standards[level].targetTime);
  }
  EXPECT_EQ(s.catalogue.standards[4].pointMultiplier, 1.5f);

  // Every cue has several variants, each a 16-bit mono 22050 Hz WAV file; the sounds differ.
  std::set<std::string> distinct;
  for (int cue = 1; cue <= 10; ++cue) {
    const int n = static_cast<int>(NumericValue(s.sound.table[cue][21]));
    EXPECT_GE(n, 1) << s.sound.table[cue][0];
    if (cue == 2 || cue == 4 || cue == 8 || cue == 10) {
      EXPECT_GE(n, 2) << s.sound.table[cue][0];
    }
    for (int j = 1; j <= n; ++j) {
      std::string wav;
      ASSERT_TRUE(ReadWholeFile(s.installation.soundFolder + s.sound.table[cue][j] + ".wav", wav));
      ASSERT_GT(wav.size(), 44u);
      EXPECT_EQ(wav.substr(0, 4), "RIFF");
      EXPECT_EQ(wav[22], 1);                                 // mono
      EXPECT_EQ(static_cast<unsigned char>(wav[24]), 0x22);  // 22050 = 0x5622
      EXPECT_EQ(wav[34], 16);                                // bits per sample
      const double seconds = (wav.size() - 44) / 2.0 / 22050;
      EXPECT_GT(seconds, 0.1);
      EXPECT_LT(seconds, 1.5);
      distinct.insert(wav);
    }
  }
  EXPECT_GE(distinct.size(), 15u);
  for (const char* fixed : {"最高1.wav", "合格.wav"}) {
    EXPECT_TRUE(fs::exists(fs::u8path(s.installation.soundFolder + fixed))) << fixed;
  }

  // Roster: 40 pupils or more over 幼3 … 中3 of school year 2025, statuses 1 and 2, two teachers.
  FieldReader roster(s.installation.dataRootFolder + "新名簿.txt");
  ASSERT_TRUE(roster.ok());
  int pupils = 0, teachers = 0;
  std::set<int> grades, statuses;
  while (!roster.AtEnd()) {
    roster.NextNumber();
    const int birthYear = static_cast<int>(roster.NextNumber());
    roster.NextText();
    roster.NextText();
    const std::string name = roster.NextText();
    statuses.insert(static_cast<int>(roster.NextNumber()));
    roster.NextText();
    roster.NextText();
    if (name.find("先生") != std::string::npos || name.find("★") != std::string::npos) {
      ++teachers;
    } else {
      ++pupils;
      grades.insert(2025 - birthYear - 6);
    }
  }
  EXPECT_FALSE(roster.pastEnd());
  EXPECT_GE(pupils, 40);
  EXPECT_EQ(teachers, 2);
  EXPECT_EQ(grades, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(statuses, (std::set<int>{0, 1, 2}));

  // Text files are CP932 with CR LF line ends only.
  for (const fs::path& f :
       {base_ / "demo" / "apps" / fs::u8path("パスデータ.txt"),
        base_ / "demo" / "data" / fs::u8path("共通データ.txt"),
        base_ / "demo" / "data" / fs::u8path("新名簿.txt"),
        base_ / "demo" / "data" / "numora" / fs::u8path("タイム回数データ.txt"),
        base_ / "demo" / "data" / fs::u8path("音フォルダ") / fs::u8path("新音ファイル.txt")}) {
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(PathText(f), bytes)) << PathText(f);
    EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8(bytes)), bytes) << PathText(f);
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\n') {
        EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << PathText(f);
      }
    }
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << PathText(f);
  }
}

TEST_F(DemoInstallationTest, MissingProgramIsAnError) {
  std::string programFolder, error;
  EXPECT_FALSE(CreateDemoInstallation(PathText(base_ / "demo"), PathText(base_ / "nothing"),
                                      MakeDate(2026, 5, 1), programFolder, error));
  EXPECT_NE(error.find("プログラム本体"), std::string::npos) << error;
}

TEST_F(DemoInstallationTest, ToolCreatesRefusesRefreshesAndChecks) {
  if (!fs::exists(BuiltProgram("numora"))) {
    GTEST_SKIP() << "the demo copies the program, which this build does not make";
  }
  const fs::path demo = base_ / "demo";
  ToolRun created = RunTool({"demo", PathText(demo)}, base_);
  ASSERT_EQ(created.status, 0) << created.output;
  EXPECT_NE(created.output.find(PathText(demo / "apps" / "numora") + kFolderSeparator),
            std::string::npos)
      << created.output;
  ASSERT_TRUE(fs::exists(demo / "apps" / "numora" / (std::string("numora") + kExecutableSuffix)));

  const std::vector<std::string> check{"check", "--program-folder",
                                       PathText(demo / "apps" / "numora")};
  ToolRun healthy = RunTool(check, base_);
  EXPECT_EQ(healthy.status, 0) << healthy.output;

  // A second demo into the same folder keeps the data; only the program may be refreshed.
  const fs::path common = demo / "data" / fs::u8path("共通データ.txt");
  std::string before, after;
  ASSERT_TRUE(ReadWholeFile(PathText(common), before));
  ToolRun again = RunTool({"demo", PathText(demo)}, base_);
  EXPECT_EQ(again.status, 1) << again.output;
  EXPECT_NE(again.output.find("--refresh-program"), std::string::npos) << again.output;
  ToolRun refreshed = RunTool({"demo", PathText(demo), "--refresh-program"}, base_);
  EXPECT_EQ(refreshed.status, 0) << refreshed.output;
  ASSERT_TRUE(ReadWholeFile(PathText(common), after));
  EXPECT_EQ(before, after);

  // Broken installations: each named in the report, exit status 1.
  const fs::path sounds = demo / "data" / fs::u8path("音フォルダ");
  fs::remove(sounds / fs::u8path("合格.wav"));
  ToolRun noFanfare = RunTool(check, base_);
  EXPECT_EQ(noFanfare.status, 1) << noFanfare.output;
  EXPECT_NE(noFanfare.output.find(PathText(sounds / fs::u8path("合格.wav"))), std::string::npos)
      << noFanfare.output;

  fs::remove(demo / "apps" / fs::u8path("パスデータ.txt"));
  ToolRun noPathFile = RunTool(check, base_);
  EXPECT_EQ(noPathFile.status, 1) << noPathFile.output;
  EXPECT_NE(noPathFile.output.find(PathText(demo / "apps" / fs::u8path("パスデータ.txt"))),
            std::string::npos)
      << noPathFile.output;
}

TEST(WavSynth, HeaderAndLength) {
  const std::string wav = SynthesiseWav({{440, 0.5, 0.5}, {0, 0.25, 0}});
  ASSERT_EQ(wav.size(), 44u + 2u * (11025u + 5513u));
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(wav.substr(36, 4), "data");
  // Starts and ends silent (no click), and is loud in between.
  auto sample = [&](size_t i) {
    return static_cast<int16_t>(static_cast<unsigned char>(wav[44 + 2 * i]) |
                                (static_cast<unsigned char>(wav[45 + 2 * i]) << 8));
  };
  EXPECT_EQ(sample(0), 0);
  EXPECT_EQ(sample(11024), 0);
  int peak = 0;
  for (size_t i = 0; i < 2000; ++i) peak = std::max(peak, std::abs(static_cast<int>(sample(i))));
  EXPECT_GT(peak, 8000);
}

}  // namespace
}  // namespace numora
