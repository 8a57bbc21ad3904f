#include "core/installation/demo_installation.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "core/installation/wav_synth.h"
#include "core/platform/cp932.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/platform/paths.h"

namespace numora {

namespace {

namespace fs = std::filesystem;

fs::path P(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) {
    text += l + "\r\n";
  }
  return text;
}

bool WriteText(const fs::path& file, const std::string& utf8, std::string& error) {
  bool convertible = true;
  const std::string bytes = Utf8ToCp932(utf8, &convertible);
  if (!convertible || !WriteWholeFile(PathText(file), bytes)) {
    error = "ファイルを書き込めません: " + PathText(file);
    return false;
  }
  return true;
}

bool CopyProgram(const std::string& programExecutable, const fs::path& programFolder,
                 std::string& error) {
  const fs::path source = P(programExecutable);
  std::error_code ec;
  if (!fs::is_regular_file(source, ec)) {
    error = "プログラム本体が見つかりません: " + programExecutable;
    return false;
  }
  fs::create_directories(programFolder, ec);
  const fs::path target = programFolder / source.filename();
  fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
  if (!ec) {
    fs::permissions(target,
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec,
                    ec);
  }
  if (ec) {
    error = "プログラム本体をコピーできません: " + PathText(target) + "（" + ec.message() + "）";
    return false;
  }
  return true;
}

// The made-up roster: pupils spread over the grades 幼3 (grade 0) to 中3 (grade 9) of the current
// school year, a few not listed (status 1) or listed only where status 2 counts (status 2), and
// two teachers.
std::string RosterText(double today) {
  static const char* const kNames[] = {
      "佐藤　はると", "鈴木　ゆい",     "髙橋　そうた",   "田中　ひまり",  "伊藤　れん",
      "渡辺　さくら", "山本　ゆうと",   "中村　あおい",   "小林　みなと",  "加藤　りん",
      "吉田　いつき", "山田　こはる",   "佐々木　あさひ", "山口　めい",    "松本　たくみ",
      "井上　ゆな",   "木村　りく",     "林　　ことね",   "清水　かいと",  "山﨑　ひなた",
      "森　　ゆうな", "池田　そら",     "橋本　みお",     "阿部　はやと",  "石川　えま",
      "山下　りょう", "中島　あかり",   "石井　けんた",   "小川　ちひろ",  "前田　こうき",
      "岡田　まゆ",   "長谷川　しょう", "藤田　ななみ",   "後藤　だいち",  "近藤　のあ",
      "村上　ゆうま", "遠藤　かのん",   "青木　しゅん",   "坂本　あやね",  "斉藤　こうた",
      "福田　つむぎ", "太田　はるき",   "西村　みゆ",     "藤井　けいすけ"};
  const CivilDate d = ToCivil(today);
  const int schoolYear = d.month < 4 ? d.year - 1 : d.year;
  std::vector<std::string> lines;
  int number = 0;
  for (const char* name : kNames) {
    ++number;
    const int grade = (number - 1) % 10;  // 0 幼3 … 9 中3
    const int birthYear = schoolYear - 6 - grade;
    int status = 0;
    if (number == 7 || number == 19) {
      status = 1;
    }
    if (number == 26 || number == 38) {
      status = 2;
    }
    lines.push_back(std::to_string(number) + "," + std::to_string(birthYear) + ",0,0," + name +
                    "," + std::to_string(status) + ",,");
  }
  lines.push_back("901,1978,0,0,山田先生,0,,");
  lines.push_back("902,1985,0,0,★小野　みどり,0,,");
  return Lines(lines);
}

struct DemoSound {
  const char* baseName;
  std::vector<SynthNote> notes;
};

SynthNote N(int semitone, double seconds, double loudness = 0.5) {
  return {SemitoneFrequency(semitone), seconds, loudness};
}
SynthNote Rest(double seconds) {
  return {0, seconds, 0};
}

struct DemoCue {
  const char* name;
  std::vector<DemoSound> sounds;
};

// Every cue with a few variants: bright rising figures for right answers and records, a soft low
// figure for wrong answers, a gentle falling one for a missed pass line.
std::vector<DemoCue> DemoCues() {
  return {
      {"正解音1",
       {{"ピンポン1", {N(7, 0.12), N(12, 0.22)}}, {"ピンポン2", {N(5, 0.12), N(9, 0.22)}}}},
      {"正解音2",
       {{"正解A", {N(3, 0.10), N(10, 0.20)}},
        {"正解B", {N(5, 0.08), N(9, 0.08), N(12, 0.18)}},
        {"正解C", {N(15, 0.10), N(22, 0.18, 0.4)}}}},
      {"間違い音1",
       {{"ブブー1", {N(-17, 0.18, 0.45), N(-18, 0.22, 0.45)}}, {"ブブー2", {N(-14, 0.35, 0.45)}}}},
      {"間違い音2",
       {{"間違いA", {N(-12, 0.16, 0.45), N(-15, 0.24, 0.45)}},
        {"間違いB", {N(-10, 0.12, 0.45), N(-16, 0.26, 0.45)}},
        {"間違いC", {N(-13, 0.32, 0.45)}}}},
      {"最高音1", {{"ファンファーレ1", {N(3, 0.12), N(7, 0.12), N(10, 0.12), N(15, 0.36)}}}},
      {"最高音2", {{"ファンファーレ2", {N(0, 0.12), N(4, 0.12), N(7, 0.12), N(12, 0.36)}}}},
      {"自己最高音1", {{"きらり1", {N(12, 0.08), N(16, 0.08), N(19, 0.08), N(24, 0.24, 0.4)}}}},
      {"自己最高音2",
       {{"きらりA", {N(7, 0.09), N(11, 0.09), N(14, 0.09), N(19, 0.30, 0.4)}},
        {"きらりB", {N(5, 0.09), N(9, 0.09), N(12, 0.09), N(17, 0.30, 0.4)}}}},
      {"自己最高音3", {{"きらり3", {N(10, 0.10), N(14, 0.10), N(17, 0.28, 0.4)}}}},
      {"不合格音1",
       {{"ざんねんA", {N(-2, 0.18, 0.4), N(-5, 0.18, 0.4), N(-9, 0.34, 0.4)}},
        {"ざんねんB", {N(0, 0.2, 0.4), N(-3, 0.36, 0.4)}}}},
  };
}

bool WriteSounds(const fs::path& soundFolder, std::string& error) {
  std::vector<std::string> table;
  for (const DemoCue& cue : DemoCues()) {
    table.emplace_back(cue.name);
    for (const DemoSound& s : cue.sounds) {
      table.emplace_back(s.baseName);
      if (!WriteWholeFile(PathText(soundFolder / P(std::string(s.baseName) + ".wav")),
                          SynthesiseWav(s.notes))) {
        error = "音声ファイルを書き込めません: " + PathText(soundFolder) + s.baseName + ".wav";
        return false;
      }
    }
    table.emplace_back("*");
  }
  const std::vector<std::pair<const char*, std::vector<SynthNote>>> fixed = {
      {"最高1.wav",
       {N(3, 0.12), N(7, 0.12), N(10, 0.12), N(15, 0.2), Rest(0.04), N(10, 0.1), N(15, 0.45)}},
      {"合格.wav", {N(0, 0.14), N(4, 0.14), N(7, 0.14), N(12, 0.14), N(16, 0.5, 0.4)}},
  };
  for (const auto& [name, notes] : fixed) {
    if (!WriteWholeFile(PathText(soundFolder / P(name)), SynthesiseWav(notes))) {
      error = "音声ファイルを書き込めません: " + PathText(soundFolder / P(name));
      return false;
    }
  }
  return WriteText(soundFolder / P("新音ファイル.txt"), Lines(table), error);
}

}  // namespace

bool HoldsInstallation(const std::string& dir) {
  std::error_code ec;
  const fs::path base = P(dir);
  return fs::exists(base / "apps" / P("パスデータ.txt"), ec) || fs::exists(base / "data", ec);
}

bool CreateDemoInstallation(const std::string& dir, const std::string& programExecutable,
                            double today, std::string& programFolder, std::string& error) {
  std::error_code ec;
  const fs::path base = fs::absolute(P(dir), ec).lexically_normal();
  const fs::path apps = base / "apps";
  const fs::path program = apps / "numora";
  const fs::path data = base / "data";
  const fs::path sounds = data / P("音フォルダ");
  const fs::path dataFolder = data / "numora";
  for (const fs::path& folder : {program, sounds, dataFolder}) {
    fs::create_directories(folder, ec);
    if (ec) {
      error = "フォルダを作れません: " + PathText(folder) + "（" + ec.message() + "）";
      return false;
    }
  }
  if (!CopyProgram(programExecutable, program, error)) {
    return false;
  }

  // One field per line, so that empty fields never stand at the end of a line.
  const std::string dataRoot = PathText(data) + FolderSeparator();
  std::vector<std::string> pathFields = {dataRoot};
  for (int i = 2; i <= 10; ++i) {
    pathFields.emplace_back("0");
  }
  if (!WriteText(apps / P("パスデータ.txt"), Lines(pathFields), error)) {
    return false;
  }

  const std::vector<std::string> common = {
      "4", "12345みどりが丘小学校", "0", "0", "0", "1234", "0", "0", "0", "0"};
  if (!WriteText(data / P("共通データ.txt"), Lines(common), error)) {
    return false;
  }
  if (!WriteText(data / P("新名簿.txt"), RosterText(today), error)) {
    return false;
  }

  const std::vector<std::string> standards = {
      "目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,",
      "40,60,100,3,1,10,0,7,1,,,", "50,75,120,3,1.2,10,0,7,1,,,", "60,90,150,3,1.3,10,0,7,1,,,",
      "70,105,200,4,1.5,10,0,14,1,,,"};
  if (!WriteText(dataFolder / P("タイム回数データ.txt"), Lines(standards), error)) {
    return false;
  }
  if (!WriteSounds(sounds, error)) {
    return false;
  }

  programFolder = PathText(program) + FolderSeparator();
  return true;
}

bool RefreshDemoProgram(const std::string& dir, const std::string& programExecutable,
                        std::string& programFolder, std::string& error) {
  std::error_code ec;
  const fs::path program = fs::absolute(P(dir), ec).lexically_normal() / "apps" / "numora";
  if (!fs::is_directory(program, ec)) {
    error = "プログラムフォルダが見つかりません: " + PathText(program);
    return false;
  }
  if (!CopyProgram(programExecutable, program, error)) {
    return false;
  }
  programFolder = PathText(program) + FolderSeparator();
  return true;
}

}  // namespace numora
