#include "core/installation/sound_cues.h"

#include <cmath>
#include <string>

#include "core/platform/field_reader.h"
#include "core/platform/system_error.h"

namespace numora {

namespace {

const char* const kCueNames[11] = {
    "",        "正解音1",     "正解音2",     "間違い音1",   "間違い音2", "最高音1",
    "最高音2", "自己最高音1", "自己最高音2", "自己最高音3", "不合格音1"};

// Plays one file of the sound folder to the end. A cue without a file name plays nothing and
// fails. Returns the error text of a failure ("" on success).
std::string SendPlay(const InstallationSettings& installation, Services& services,
                     const std::string& fileName) {
  const std::string folder = installation.soundFolder;
  std::string error;
  bool ok = false;
  if (fileName == ".wav") {
    error = "音声ファイル名がありません。";
  } else {
    ok = services.sound.PlayWait(folder + fileName, error);
  }
  if (!ok && error.empty()) {
    error = "再生できません: " + folder + fileName;
  }
  return ok ? std::string() : error;
}

std::string RandomVariant(const SoundTable& sound, Services& services, int cue) {
  if (cue < 1 || cue > 10) {
    return {};
  }
  const int n = static_cast<int>(NumericValue(sound.table[cue][21]));
  int v = static_cast<int>(std::floor(services.random.Next() * n + 1));
  if (v < 1) {
    v = 1;
  }
  if (v > 20) {
    v = 20;
  }
  return sound.table[cue][v];
}

}  // namespace

bool LoadSoundTable(const InstallationSettings& installation, SoundTable& sound,
                    std::string& error) {
  for (int k = 1; k <= 10; ++k) {
    sound.table[k][0] = kCueNames[k];
  }
  const std::string path = installation.soundFolder + "新音ファイル.txt";
  FieldReader in(path);
  if (!in.ok()) {
    error = "音声一覧ファイル「新音ファイル.txt」が見つからないか読めません（" +
            SystemErrorText(in.errorNumber()) +
            "）。ファイルの場所と読み取りの権限を確かめてください。\n" + ShownPath(path);
    return false;
  }
  while (!in.AtEnd()) {
    std::string x = in.NextText();
    for (int k = 1; k <= 10; ++k) {
      if (x != sound.table[k][0]) {
        continue;
      }
      for (int j = 1; j <= 20; ++j) {
        x = in.NextText();
        if (x == "*") {
          sound.table[k][21] = std::to_string(j - 1);
          break;
        }
        sound.table[k][j] = x;
      }
    }
  }
  return true;
}

void PlayCuePlain(const InstallationSettings& installation, const SoundTable& sound,
                  Services& services, int cue) {
  SendPlay(installation, services, RandomVariant(sound, services, cue) + ".wav");
}

void PlayCueWatched(const InstallationSettings& installation, SoundTable& sound, Services& services,
                    int cue) {
  const std::string error =
      SendPlay(installation, services, RandomVariant(sound, services, cue) + ".wav");
  if (error.empty()) {
    sound.failures = 0;
    return;
  }
  if (sound.failures < 3) {
    ++sound.failures;
    return;
  }
  services.host.ShowMessage("音声エラー", "音声がでません。先生を呼びなさい。\r\n" + error);
  services.host.EndProgram(1);
}

void PlayFixedSound(const InstallationSettings& installation, Services& services,
                    const char* fileName) {
  SendPlay(installation, services, fileName);
}

}  // namespace numora
