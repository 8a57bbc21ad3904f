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

// The code stored in mciResult when a play command fails (the device could not play the file).
constexpr const char* kPlayFailedCode = "275";

// Sends one play command: builds the command text, plays the file to the end and stores the
// result code. Returns the error text of a failure ("" on success).
std::string SendPlay(SharedState& state, Services& services, const std::string& fileName) {
  const std::string folder = state.soundFolder.Text();
  state.mciCommand = "play " + folder + fileName + " wait";
  std::string error;
  bool ok = false;
  if (fileName == ".wav") {
    error = "音声ファイル名がありません。";
  } else {
    ok = services.sound.PlayWait(folder + fileName, error);
  }
  state.mciResult = ok ? "0" : kPlayFailedCode;
  if (!ok && error.empty()) {
    error = "再生できません: " + folder + fileName;
  }
  return ok ? std::string() : error;
}

std::string RandomVariant(SharedState& state, Services& services, int cue) {
  if (cue < 1 || cue > 10) {
    return {};
  }
  const int n = static_cast<int>(NumericValue(state.soundTable[cue][21]));
  int v = static_cast<int>(std::floor(services.random.Next() * n + 1));
  if (v < 1) {
    v = 1;
  }
  if (v > 20) {
    v = 20;
  }
  return state.soundTable[cue][v];
}

}  // namespace

bool LoadSoundTable(SharedState& state, std::string& error) {
  for (int k = 1; k <= 10; ++k) {
    state.soundTable[k][0] = kCueNames[k];
  }
  const std::string path = state.soundFolder.Text() + "新音ファイル.txt";
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
      if (x != state.soundTable[k][0]) {
        continue;
      }
      for (int j = 1; j <= 20; ++j) {
        x = in.NextText();
        if (x == "*") {
          state.soundTable[k][21] = std::to_string(j - 1);
          break;
        }
        state.soundTable[k][j] = x;
      }
    }
  }
  return true;
}

void PlayCuePlain(SharedState& state, Services& services, int cue) {
  SendPlay(state, services, RandomVariant(state, services, cue) + ".wav");
}

void PlayCueWatched(SharedState& state, Services& services, int cue) {
  const std::string error = SendPlay(state, services, RandomVariant(state, services, cue) + ".wav");
  if (NumericValue(state.mciResult) == 0) {
    state.soundFailures = 0;
    return;
  }
  if (state.soundFailures < 3) {
    ++state.soundFailures;
    return;
  }
  services.host.ShowMessage("音声エラー", "音声がでません。先生を呼びなさい。\r\n" + error);
  services.host.EndProgram(1);
}

void PlayFixedSound(SharedState& state, Services& services, const char* fileName) {
  SendPlay(state, services, fileName);
}

}  // namespace numora
