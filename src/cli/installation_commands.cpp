// numora-data demo and check: creating a demonstration installation and checking the start-up
// files of an installation with the program's own set-up code.

#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>
#include <system_error>

#include "cli/data_commands.h"
#include "core/installation/app_state.h"
#include "core/installation/demo_history.h"
#include "core/installation/demo_installation.h"
#include "core/installation/installation.h"
#include "core/installation/installation_check.h"
#include "core/installation/sound_cues.h"
#include "core/platform/field_reader.h"
#include "core/platform/system_clock.h"
#include "core/records/level_standards.h"
#include "core/records/results_check.h"
#include "core/roster/roster_check.h"

namespace numora {

namespace {

namespace fs = std::filesystem;

const std::string kProgramFileName = std::string("numora") + kExecutableSuffix;

fs::path P(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// A sound file the program will play: present, and a RIFF WAVE file.
bool IsWaveFile(const std::string& path, std::string& problem) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    problem = "音声ファイルがありません: " + path;
    return false;
  }
  if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
    problem = "音声ファイルが WAV 形式ではありません: " + path;
    return false;
  }
  return true;
}

// The details the set-up itself does not judge: the standards of the four levels and the sound
// files the table names.
int CheckLoadedFiles(AppState& state, std::ostream& out) {
  int problems = 0;
  auto report = [&](const std::string& line) {
    out << "✗ " << line << "\n";
    ++problems;
  };

  const std::string standardsPath = LevelStandardsPath(state.installation);
  AppState scratch;
  const StandardsLoadResult standards = LoadLevelStandards(scratch.catalogue, standardsPath);
  if (standards.ok) {
    for (const StandardsGap& gap :
         FindStandardsGaps(state.catalogue, standards, kCatalogueLevels)) {
      report(StandardsGapLine(gap, standardsPath));
    }
    if (standards.tooManyLevels) {
      report(TooManyLevelsNotice(standardsPath));
    }
  }

  const std::string soundFolder = state.installation.soundFolder;
  for (int cue = 1; cue <= 10; ++cue) {
    const int count = static_cast<int>(NumericValue(state.sound.table[cue][21]));
    if (count == 0 && (cue == kCueCorrect || cue == kCueWrong || cue == kCuePersonalBest ||
                       cue == kCueNotPassed)) {
      report("音声一覧ファイル「新音ファイル.txt」に「" + state.sound.table[cue][0] +
             "」の音がありません: " + soundFolder + "新音ファイル.txt");
    }
    for (int j = 1; j <= count && j <= 20; ++j) {
      std::string problem;
      if (!IsWaveFile(soundFolder + state.sound.table[cue][j] + ".wav", problem)) {
        report(problem);
      }
    }
  }
  for (const char* fixed : {"最高1.wav", "合格.wav"}) {
    std::string problem;
    if (!IsWaveFile(soundFolder + fixed, problem)) {
      report(problem);
    }
  }
  return problems;
}

}  // namespace

int RunDemoCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  const char* usage = "demo DIR [--refresh-program]";
  DataOptions options;
  std::string refused;
  if (!ParseDataOptions(args, {{}, {"refresh-program"}, 1}, options, refused)) {
    return RefuseCommandLine(refused, usage, err);
  }
  const std::string dir = options[""];
  if (dir.empty()) {
    return RefuseCommandLine("作成するフォルダを指定してください。", usage, err);
  }
  const std::string programExecutable = ExecutableFolder() + kProgramFileName;
  std::string programFolder;
  std::string error;
  if (options.count("refresh-program") != 0) {
    if (!RefreshDemoProgram(dir, programExecutable, programFolder, error)) {
      err << error << "\n";
      return 1;
    }
    out << programFolder << "\n";
    return 0;
  }
  if (HoldsInstallation(dir)) {
    err << "「" << dir
        << "」には既にインストールがあります。データを守るため作成しません。"
           "プログラムだけを入れ替えるときは --refresh-program を付けてください。\n";
    return 1;
  }
  SystemClock clock;
  const double now = clock.Now();
  const double today = std::floor(now);
  if (!CreateDemoInstallation(dir, programExecutable, today, programFolder, error)) {
    err << error << "\n";
    return 1;
  }
  // The results history is seeded through the same set-up the program runs.
  auto state = std::make_unique<AppState>();
  if (!SetUpPathsAndSettings(*state, programFolder, error)) {
    err << error << "\n";
    return 1;
  }
  std::ostringstream rosterReport;
  CheckRosterFile(state->installation, state->roster, today, rosterReport);
  SeedDemoHistory(state->installation, state->catalogue, now);
  out << programFolder << "\n";
  return 0;
}

int RunCheckCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  const char* usage = "check --program-folder DIR";
  DataOptions options;
  std::string refused;
  if (!ParseDataOptions(args, {{"program-folder"}, {}, 0}, options, refused)) {
    return RefuseCommandLine(refused, usage, err);
  }
  auto folder = options.find("program-folder");
  if (folder == options.end() || folder->second.empty()) {
    return RefuseCommandLine("--program-folder にプログラムのフォルダを指定してください。", usage,
                             err);
  }
  const std::string programFolder = WithClosingSeparator(folder->second);
  std::error_code ec;
  if (!fs::is_directory(P(programFolder), ec)) {
    out << "✗ プログラムフォルダがありません: " << programFolder << "\n";
    out << "問題が 1 件あります。\n";
    return 1;
  }

  auto state = std::make_unique<AppState>();
  int problems = 0;
  std::string error;
  if (!SetUpPathsAndSettings(*state, programFolder, error)) {
    out << "✗ " << error << "\n";
    out << "問題が 1 件あります（これより後の起動用ファイルは確かめられません）。\n";
    return 1;
  }
  // The start-up's notice says what CheckLoadedFiles reports line by line.
  problems += CheckLoadedFiles(*state, out);
  problems += CheckInstallationTexts(state->installation, out);

  std::ostringstream results;
  if (!CheckResultsFile(state->installation, results)) {
    ++problems;
  }
  out << results.str();
  SystemClock clock;
  std::ostringstream roster;
  if (!CheckRosterFile(state->installation, state->roster, clock.Today(), roster)) {
    ++problems;
  }
  out << roster.str();

  if (problems == 0) {
    out << "問題はありません: " << programFolder << "\n";
    return 0;
  }
  out << "問題が " << problems << " 件あります。\n";
  return 1;
}

}  // namespace numora
