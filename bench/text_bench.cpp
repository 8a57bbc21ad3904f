// Reading 10 MiB text files of hostile shapes: every text file of an installation goes through
// the one field reader, so each shape must be read in time linear in the file's size (well under
// a second for 10 MiB). The sound table, roster and standards loaders read the same bytes from a
// file as the program does at start-up.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/installation/app_state.h"
#include "core/installation/sound_cues.h"
#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "core/records/level_standards.h"
#include "core/roster/roster.h"

namespace {

namespace fs = std::filesystem;
constexpr size_t kSize = size_t{10} << 20;

std::string Repeat(const std::string& unit, const std::string& tail = "") {
  std::string s;
  s.reserve(kSize + unit.size() + tail.size());
  while (s.size() < kSize) {
    s += unit;
  }
  return s + tail;
}

// The shapes: index → bytes.
std::string Shape(int shape) {
  switch (shape) {
    case 0:
      return Repeat("\r\n", "field\r\n");  // blank lines before a field
    case 1:
      return Repeat("        ", "x");  // blanks only, then one field
    case 2:
      return Repeat(",");  // empty fields
    case 3:
      return "\"" + Repeat("abc, ");  // a quote that never closes
    case 4:
      return Repeat("x");  // one endless field
    case 5:
      return Repeat(numora::Utf8ToCp932("12,1997,0,0,山田　太郎,0,,\r\n"));  // a roster
    case 6:
      return Repeat("\xFF\xFE\r\n");  // bytes invalid in CP932 on every line
    default:
      return Repeat(
          "\xEF\xBB\xBF"
          "正解音2\r\nあ\r\n*\r\n");  // UTF-8 saved by an editor
  }
}

void BM_FieldReader(benchmark::State& state) {
  const std::string bytes = Shape(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    numora::FieldReader in = numora::FieldReader::FromBytes(bytes);
    size_t fields = 0;
    while (!in.AtEnd()) {
      benchmark::DoNotOptimize(in.NextText());
      ++fields;
    }
    benchmark::DoNotOptimize(fields);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_FieldReader)->DenseRange(0, 7)->Unit(benchmark::kMillisecond)->MinTime(0.5);

// The loaders from files on disk: a 10 MiB sound table of blank lines, a 10 MiB roster and a
// 10 MiB standards file.
struct Files {
  Files() {
    folder = fs::temp_directory_path() / ("numora_text_bench_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string base = folder.string() + "/";
    state = std::make_unique<numora::AppState>();
    state->installation.soundFolder = base;
    state->installation.dataRootFolder = base;
    std::ofstream(folder / "新音ファイル.txt", std::ios::binary)
        << numora::Utf8ToCp932("正解音2") << Repeat("\r\n", "a\r\n*\r\n");
    std::ofstream(folder / "新名簿.txt", std::ios::binary) << Shape(5);
    std::ofstream(folder / "standards.txt", std::ios::binary)
        << Repeat("40,60,100,5,1,0,0,7,3,,,\r\n");
  }
  ~Files() { fs::remove_all(folder); }
  fs::path folder;
  std::unique_ptr<numora::AppState> state;
};

Files& TheFiles() {
  static Files files;
  return files;
}

void BM_LoadSoundTable(benchmark::State& state) {
  Files& f = TheFiles();
  for (auto _ : state) {
    std::string error;
    benchmark::DoNotOptimize(numora::LoadSoundTable(f.state->installation, f.state->sound, error));
  }
}
BENCHMARK(BM_LoadSoundTable)->Unit(benchmark::kMillisecond)->MinTime(0.5);

void BM_ReadRoster(benchmark::State& state) {
  Files& f = TheFiles();
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        numora::ReadRoster(f.state->installation, f.state->roster, 46366).listed.size());
  }
}
BENCHMARK(BM_ReadRoster)->Unit(benchmark::kMillisecond)->MinTime(0.5);

void BM_LoadLevelStandards(benchmark::State& state) {
  Files& f = TheFiles();
  const std::string path = (f.folder / "standards.txt").string();
  for (auto _ : state) {
    benchmark::DoNotOptimize(numora::LoadLevelStandards(f.state->catalogue, path).entriesRead);
  }
}
BENCHMARK(BM_LoadLevelStandards)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace
