#include "core/installation/installation.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <vector>

#include "core/installation/app_state.h"
#include "core/installation/installation_check.h"
#include "core/installation/sound_cues.h"
#include "core/platform/field_reader.h"
#include "core/platform/paths.h"
#include "core/platform/system_error.h"
#include "core/platform/utf8_text.h"
#include "core/platform/value.h"
#include "core/records/level_standards.h"

namespace numora {

namespace {

constexpr const char* kPathFileName = "パスデータ.txt";
constexpr const char* kCommonFileName = "共通データ.txt";
constexpr int kFieldsPerSettingsFile = 10;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

std::string UnreadableText(const char* what, const char* fileName, const std::string& path,
                           int errorNumber) {
  return std::string(what) + "「" + fileName + "」が見つからないか読めません（" +
         SystemErrorText(errorNumber) + "）。ファイルの場所と読み取りの権限を確かめてください。\n" +
         ShownPath(path);
}

std::string TooShortText(const char* what, const char* fileName, const std::string& path) {
  return std::string(what) + "「" + fileName + "」の項目が足りません（" +
         std::to_string(kFieldsPerSettingsFile) + "項目必要です）。\n" + ShownPath(path);
}

std::filesystem::path U8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The path with links and "." / ".." resolved as far as it exists.
std::filesystem::path Resolved(const std::string& utf8) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::weakly_canonical(U8(utf8), ec);
  if (ec) {
    p = std::filesystem::absolute(U8(utf8), ec).lexically_normal();
  }
  // A folder written with its closing separator names the same place as without it.
  if (!p.has_filename() && p.has_parent_path()) {
    p = p.parent_path();
  }
  return p;
}

bool SamePlace(const std::string& a, const std::filesystem::path& resolvedA, const std::string& b) {
  std::error_code ec;
  if (std::filesystem::equivalent(U8(a), U8(b), ec) && !ec) {
    return true;
  }
  return resolvedA == Resolved(b);
}

}  // namespace

bool IsInstallationPath(const InstallationSettings& installation, const SoundTable& sound,
                        const std::string& utf8Path) {
  const std::filesystem::path target = Resolved(utf8Path);
  const std::string programFolder = installation.programFolder;
  const std::string dataRoot = installation.dataRootFolder;
  const std::string dataFolder = installation.dataFolder;
  const std::string soundFolder = installation.soundFolder;
  std::vector<std::string> own = {
      programFolder,
      dataRoot,
      dataFolder,
      soundFolder,
      programFolder + ".." + kFolderSeparator + kPathFileName,
      dataRoot + kCommonFileName,
      dataRoot + "新名簿.txt",
      soundFolder + "新音ファイル.txt",
      soundFolder + "最高1.wav",
      soundFolder + "合格.wav",
      dataFolder + "タイム回数データ.txt",
      dataFolder + "成績累積データ.dat",
      dataFolder + "成績累積データtemp.dat",
      dataFolder + "成績累積データnew.dat",
  };
  for (int cue = 1; cue <= 10; ++cue) {
    for (int j = 1; j <= 20; ++j) {
      const std::string& name = sound.table[cue][j];
      if (!name.empty()) {
        own.push_back(soundFolder + name + ".wav");
      }
    }
  }
  for (const std::string& path : own) {
    if (!path.empty() && SamePlace(utf8Path, target, path)) {
      return true;
    }
  }
  // The program, data and sound folders hold only the installation's own files.
  std::error_code ec;
  if (std::filesystem::exists(U8(utf8Path), ec)) {
    for (const std::string& folder : {programFolder, dataFolder, soundFolder}) {
      if (!folder.empty() && target.parent_path() == Resolved(folder)) {
        return true;
      }
    }
  }
  return false;
}

bool DevelopmentLayoutFor(const std::string& folderPath) {
  const std::string upper = Upper(folderPath);
  return upper.find("KT0042") != std::string::npos && upper.find("ZELANTO") == std::string::npos;
}

void SplitSchoolLine(const std::string& line, std::string& schoolCode, std::string& schoolName) {
  const std::string head = LeftChars(line, 5);
  if (NumericValue(head) != 0) {
    schoolCode = head;
    schoolName = MidChars(line, 5);
  } else {
    schoolCode.clear();
    schoolName = line;
  }
}

bool SetUpPathsAndSettings(AppState& state, const std::string& programFolder, std::string& error,
                           std::string* notice) {
  // The executable's folder.
  state.installation.programFolder = WithClosingSeparator(programFolder);
  const std::string exeFolderPath = WithoutClosingSeparator(state.installation.programFolder);
  state.installation.developmentLayout = DevelopmentLayoutFor(exeFolderPath);

  // The path file one folder above the program folder: field 1 is the data root.
  const std::string pathFile =
      state.installation.programFolder + ".." + kFolderSeparator + kPathFileName;
  {
    FieldReader in(pathFile);
    if (!in.ok()) {
      error = UnreadableText("パスデータファイル", kPathFileName, pathFile, in.errorNumber());
      return false;
    }
    std::string root = in.NextText();
    for (int i = 2; i <= kFieldsPerSettingsFile; ++i) {
      in.NextText();
    }
    if (in.pastEnd()) {
      error = TooShortText("パスデータファイル", kPathFileName, pathFile);
      return false;
    }
    if (root.empty()) {
      error = std::string("パスデータファイル「") + kPathFileName +
              "」の1番目の項目（データフォルダ）が空です。\n" + ShownPath(pathFile);
      return false;
    }
    // A folder written without its closing separator still names the folder.
    state.installation.dataRootFolder = WithClosingSeparator(root);
  }

  // The development layout keeps its data in a fixed folder at the root of the drive (of the
  // network share, for a program on one).
  if (state.installation.developmentLayout) {
    state.installation.dataRootFolder =
        RootOf(exeFolderPath) + "KT0042" + kFolderSeparator + "ネブロなし" + kFolderSeparator;
  }

  // The common settings file in the data root.
  const std::string dataRoot = state.installation.dataRootFolder;
  const std::string commonFile = dataRoot + kCommonFileName;
  {
    FieldReader in(commonFile);
    if (!in.ok()) {
      error = UnreadableText("共通設定ファイル", kCommonFileName, commonFile, in.errorNumber());
      return false;
    }
    Value fields[kFieldsPerSettingsFile + 1];
    std::string schoolLine;
    for (int i = 1; i <= kFieldsPerSettingsFile; ++i) {
      if (i == 2) {
        schoolLine = in.NextText();
      } else {
        fields[i] = in.NextValue();
      }
    }
    if (in.pastEnd()) {
      error = TooShortText("共通設定ファイル", kCommonFileName, commonFile);
      return false;
    }
    state.installation.schoolYearStartMonth = fields[1];
    state.installation.rosterStatusTwoActive = fields[3].Number() == 1;
    state.installation.dataChangePassword = fields[6];
    std::string code;
    SplitSchoolLine(schoolLine, code, state.installation.schoolName);
    state.installation.schoolCode = code;
  }

  // The last component of the executable's folder path.
  state.installation.programFolderName = LastComponent(exeFolderPath);

  // The program's own data folder and the shared sound folder.
  state.installation.dataFolder =
      state.installation.developmentLayout
          ? state.installation.programFolder
          : dataRoot + state.installation.programFolderName + kFolderSeparator;
  state.installation.soundFolder = dataRoot + "音フォルダ" + kFolderSeparator;

  // Identity.
  InitialiseIdentity(state.catalogue);

  // Level standards.
  const StandardsLoadResult standards =
      LoadLevelStandards(state.catalogue, LevelStandardsPath(state.installation));
  if (!standards.ok) {
    error = standards.error;
    return false;
  }
  if (standards.incompleteLastEntry) {
    // The last level would run with empty standards in its missing columns.
    error =
        "基準データファイル「タイム回数データ."
        "txt」の項目が足りません（レベルの行ごとに12項目必要です）。\n" +
        ShownPath(LevelStandardsPath(state.installation));
    return false;
  }
  if (notice != nullptr) {
    // One word at start-up for everything the program then goes on with: the levels of the
    // catalogue that would run without a time limit, and the lines that are not loaded.
    const std::string path = LevelStandardsPath(state.installation);
    std::string text =
        StandardsGapsNotice(FindStandardsGaps(state.catalogue, standards, kCatalogueLevels), path);
    if (standards.tooManyLevels) {
      text += (text.empty() ? "" : "\n\n") + TooManyLevelsNotice(path);
    }
    *notice = text;
  }
  // Standards outside sane bounds give figures nobody meant: the user hears of them at once.
  std::ostringstream bounds;
  // The levels the program plays (its catalogue fixes four), as far as the file holds them.
  const int playedInFile = std::min(4, standards.entriesRead - 1);
  if (CheckStandardsValues(state.installation, state.catalogue, playedInFile, bounds) > 0 &&
      notice != nullptr) {
    std::string lines = bounds.str();
    for (size_t at = 0; (at = lines.find("✗ ", at)) != std::string::npos;) {
      lines.erase(at, std::string("✗ ").size());
    }
    *notice += (notice->empty() ? "" : "\n\n") + lines;
    while (!notice->empty() && notice->back() == '\n') {
      notice->pop_back();
    }
  }

  // Sound table.
  return LoadSoundTable(state.installation, state.sound, error);
}

void InitialiseIdentity(LevelCatalogue& catalogue) {
  catalogue.title = "ヌモラ";
}

void SetUpCatalogue(LevelCatalogue& catalogue) {
  catalogue.levelCount = kCatalogueLevels;
  catalogue.finalLevel = kCatalogueLevels;
  for (int level = 1; level <= kCatalogueLevels; ++level) {
    catalogue.levelNames[static_cast<size_t>(level)].clear();
    catalogue.levelIsTimed[static_cast<size_t>(level)] = true;
  }
  for (int level = 1; level <= kCatalogueLevels; ++level) {
    std::string& name = catalogue.levelNames[static_cast<size_t>(level)];
    if (name.empty()) {
      name = "ﾚﾍﾞﾙ" + std::to_string(level);
    }
  }
}

}  // namespace numora
