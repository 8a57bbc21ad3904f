#include "core/installation/sound_cues.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "audio/sdl_sound.h"
#include "core/installation/app_state.h"
#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "core/platform/system_clock.h"
#include "support/fakes.h"

namespace numora {
namespace {

class SoundCues : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("numora_sound_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    state.installation.soundFolder = dir.string() + "/";
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  void WriteTable(const std::string& utf8) {
    ASSERT_TRUE(
        WriteWholeFile(state.installation.soundFolder + "新音ファイル.txt", Utf8ToCp932(utf8)));
  }
  std::filesystem::path dir;
  AppState state;
  FakeServices f;
};

TEST_F(SoundCues, BlocksFillTheTableAndVariantsAreChosenUniformly) {
  WriteTable("正解音2\r\na\r\nb\r\nc\r\n*\r\nどれでもない\r\n間違い音2,x,*\r\n");
  std::string error;
  ASSERT_TRUE(LoadSoundTable(state.installation, state.sound, error));
  EXPECT_EQ(state.sound.table[2][21], "3");
  EXPECT_EQ(state.sound.table[4][21], "1");
  EXPECT_EQ(state.sound.table[10][0], "不合格音1");
  f.random.script = {0.0, 0.34, 0.99};
  for (int i = 0; i < 3; ++i)
    PlayCueWatched(state.installation, state.sound, f.services, kCueCorrect);
  const std::string folder = state.installation.soundFolder;
  EXPECT_EQ(f.sound.played,
            (std::vector<std::string>{folder + "a.wav", folder + "b.wav", folder + "c.wav"}));
  EXPECT_EQ(state.sound.failures, 0);
}

TEST_F(SoundCues, BlockOfMoreThanTwentyNamesKeepsTwentyAndNoCount) {
  std::string table = "正解音2\r\n";
  for (int i = 1; i <= 21; ++i) table += "f" + std::to_string(i) + "\r\n";
  table += "*\r\n";
  WriteTable(table);
  std::string error;
  ASSERT_TRUE(LoadSoundTable(state.installation, state.sound, error));
  EXPECT_EQ(state.sound.table[2][20], "f20");
  EXPECT_EQ(state.sound.table[2][21], "");
}

TEST_F(SoundCues, FourthWatchedFailureInARowShowsTheBoxAndEnds) {
  WriteTable("正解音2\r\nok\r\n*\r\n");  // no block for the wrong cue
  std::string error;
  ASSERT_TRUE(LoadSoundTable(state.installation, state.sound, error));
  for (int i = 0; i < 3; ++i)
    PlayCueWatched(state.installation, state.sound, f.services, kCueWrong);
  EXPECT_EQ(state.sound.failures, 3);
  EXPECT_TRUE(f.sound.played.empty()) << "a cue without a file name plays nothing";
  PlayCueWatched(state.installation, state.sound, f.services,
                 kCueCorrect);  // a success resets the count
  EXPECT_EQ(state.sound.failures, 0);
  for (int i = 0; i < 3; ++i)
    PlayCueWatched(state.installation, state.sound, f.services, kCueWrong);
  EXPECT_TRUE(f.host.endedWith.empty());
  PlayCueWatched(state.installation, state.sound, f.services, kCueWrong);
  ASSERT_EQ(f.host.messages.size(), 1u);
  EXPECT_EQ(f.host.messages[0].rfind("音声エラー|音声がでません。先生を呼びなさい。\r\n", 0), 0u);
  EXPECT_EQ(f.host.endedWith, std::vector<int>{1});
}

TEST_F(SoundCues, PlainAndFixedSoundFailuresAreNeverCounted) {
  WriteTable("");
  std::string error;
  ASSERT_TRUE(LoadSoundTable(state.installation, state.sound, error));
  f.sound.fail = true;
  for (int i = 0; i < 6; ++i) {
    PlayCuePlain(state.installation, state.sound, f.services, kCuePersonalBest);
    PlayCuePlain(state.installation, state.sound, f.services, kCueNotPassed);
    PlayFixedSound(state.installation, f.services, "最高1.wav");
  }
  EXPECT_EQ(state.sound.failures, 0);
  EXPECT_TRUE(f.host.messages.empty());
  ASSERT_FALSE(f.sound.played.empty());
  EXPECT_EQ(f.sound.played.back(), state.installation.soundFolder + "最高1.wav");
}

TEST_F(SoundCues, MissingTableNamesTheFile) {
  std::string error;
  EXPECT_FALSE(LoadSoundTable(state.installation, state.sound, error));
  EXPECT_NE(error.find(state.installation.soundFolder + "新音ファイル.txt"), std::string::npos);
}

// The real SDL output with the dummy driver: a generated WAV plays for about its length.
TEST_F(SoundCues, SdlOutputPlaysToTheEndAndReportsMissingFiles) {
  const int rate = 22050;
  const int frames = rate / 5;  // 0.2 s
  std::string wav = "RIFF";
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) wav += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto u16 = [&](uint16_t v) {
    wav += static_cast<char>(v & 0xFF);
    wav += static_cast<char>(v >> 8);
  };
  u32(36 + frames * 2);
  wav += "WAVEfmt ";
  u32(16);
  u16(1);
  u16(1);
  u32(rate);
  u32(rate * 2);
  u16(2);
  u16(16);
  wav += "data";
  u32(frames * 2);
  for (int i = 0; i < frames; ++i) u16(static_cast<uint16_t>((i % 50) * 300));
  const std::string path = state.installation.soundFolder + "tone.wav";
  ASSERT_TRUE(WriteWholeFile(path, wav));

  SdlSound sound;
  std::string error;
  const uint32_t before = SystemClock().TickCount();
  ASSERT_TRUE(sound.PlayWait(path, error)) << error;
  EXPECT_GE(SystemClock().TickCount() - before, 180u);
  // Failures are told in Japanese; a pipe under a sound's name is refused, never waited on.
  struct Case {
    std::string name;
    const char* said;
  } cases[] = {
      {"missing.wav", "音声ファイルを読めません（ファイルまたはフォルダが見つかりません）"},
      {"pipe.wav", "音声ファイルを読めません（ファイルではありません"},
      {"text.wav", "音声ファイルを読めません（WAV 形式でないか、壊れています）"},
  };
  ASSERT_EQ(::mkfifo((state.installation.soundFolder + "pipe.wav").c_str(), 0600), 0);
  ASSERT_TRUE(WriteWholeFile(state.installation.soundFolder + "text.wav", "not a sound"));
  for (const Case& c : cases) {
    EXPECT_FALSE(sound.PlayWait(state.installation.soundFolder + c.name, error));
    EXPECT_EQ(error.rfind(c.said, 0), 0U) << error;
  }
}

}  // namespace
}  // namespace numora
