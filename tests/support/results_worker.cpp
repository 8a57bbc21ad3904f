// A program copy without windows that works on a results file beside the tests that share it
// (shared_results_folder.h), as another classroom computer would:
//   results_worker append FOLDER PUPIL COUNT     appends COUNT runs of PUPIL on level 1 with
//                                                seconds 0, 1, 2, …
//   results_worker delete-first FOLDER TIMES     deletes record 1, TIMES times
//   results_worker delete-killed FOLDER N STEP   deletes record N and is killed right after STEP
//   results_worker browser-delete FOLDER TIMES   the teacher's results browser: TIMES times the
//                                                list is built anew and the record on line d
//                                                (d = 0, 1, …) is opened and deleted
// FOLDER is the data folder (UTF-8, any name). Exit status 0 when all went well.

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "core/admin/results_browser.h"
#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/platform/console.h"
#include "core/platform/system_clock.h"
#include "core/records/results_file.h"
#include "support/fakes.h"
#include "support/platform.h"

namespace numora {
namespace {

// Waiting really waits; a message is written to the error output and counted.
class ProcessHost : public Host {
 public:
  void ProcessEvents() override {}
  void ShowMessage(const std::string& title, const std::string& text) override {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    ++messages;
  }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void WaitResponsive(double seconds) override {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  }
  bool StartDetached(const std::string&, const std::vector<std::string>&,
                     const std::string&) override {
    return false;
  }
  void EndProgram(int status) override { std::exit(100 + status); }
  int messages = 0;
};

int Run(const std::vector<std::string>& args) {
  if (args.size() < 4) {
    std::fprintf(
        stderr,
        "usage: results_worker append|delete-first|delete-killed|browser-delete FOLDER ...\n");
    return 2;
  }
  const std::string& command = args[1];
  auto state = std::make_unique<AppState>();
  state->installation.dataFolder = WithClosingSeparator(args[2]);
  state->installation.dataRootFolder = state->installation.dataFolder;
  state->installation.schoolCode = "12345";
  SystemClock clock;
  SystemRandom random;
  RecordingSound sound;
  ProcessHost host;
  Services services{clock, random, sound, host};

  if (command == "append" && args.size() == 5) {
    const int pupil = std::stoi(args[3]);
    const int count = std::stoi(args[4]);
    for (int i = 0; i < count; ++i) {
      if (!AppendRunRecord(state->installation, services, static_cast<int16_t>(pupil), 1, i)) {
        return 1;
      }
    }
    return host.messages == 0 ? 0 : 1;
  }
  if (command == "delete-first") {
    const int times = std::stoi(args[3]);
    for (int i = 0; i < times; ++i) {
      std::string error;
      if (!DeleteResultRecord(state->installation, services, 1, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
      }
    }
    return 0;
  }
  if (command == "delete-killed" && args.size() == 5) {
    const auto n = static_cast<uint32_t>(std::stoul(args[3]));
    const int step = std::stoi(args[4]);
    std::string error;
    DeleteResultRecord(state->installation, services, n, error, [step](DeleteStep s) {
      if (static_cast<int>(s) == step) {
        testing::KillThisProcess();
      }
      return true;
    });
    return 0;
  }
  if (command == "browser-delete") {
    const int times = std::stoi(args[3]);
    for (int d = 0; d < times; ++d) {
      const BrowserList list = BuildBrowserList(state->installation, state->roster, services);
      uint32_t n = 0;
      ResultRecord buffer;
      if (OpenBrowserRecord(state->installation, services, list, static_cast<size_t>(d), n, buffer)
              .outcome != BrowserOutcome::kDone) {
        return 1;
      }
      const BrowserResult result = DeleteBrowserRecord(state->installation, services, n, buffer);
      if (result.outcome != BrowserOutcome::kDone) {
        std::fprintf(stderr, "%s\n", result.message.c_str());
        return 1;
      }
    }
    return 0;
  }
  std::fprintf(stderr, "results_worker: unknown command %s\n", command.c_str());
  return 2;
}

}  // namespace
}  // namespace numora

int main(int argc, char** argv) {
  return numora::Run(numora::CommandLineArguments(argc, argv));
}
