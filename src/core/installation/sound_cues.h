#pragma once

#include "core/installation/installation_settings.h"
#include "core/installation/sound_table.h"
#include "core/platform/services.h"

namespace numora {

// Cue numbers of the sound table.
enum Cue : int {
  kCueCorrect = 2,       // 正解音2, watched
  kCueWrong = 4,         // 間違い音2, watched
  kCuePersonalBest = 8,  // 自己最高音2, plain
  kCueNotPassed = 10,    // 不合格音1, plain
};

// Loads 新音ファイル.txt from the sound folder into the sound table. False (with a Japanese error
// text naming the file and its full path) when the file is missing or unreadable.
bool LoadSoundTable(const InstallationSettings& installation, SoundTable& sound,
                    std::string& error);

// Plays a random variant of cue k and waits until it has finished. The watched player counts
// failures in the sound table and, at the fourth failure in a row, shows "音声エラー" and ends the
// program through the host.
void PlayCuePlain(const InstallationSettings& installation, const SoundTable& sound,
                  Services& services, int cue);
void PlayCueWatched(const InstallationSettings& installation, SoundTable& sound, Services& services,
                    int cue);
// Plays "最高1.wav" or "合格.wav" from the sound folder (no failure handling).
void PlayFixedSound(const InstallationSettings& installation, Services& services,
                    const char* fileName);

}  // namespace numora
