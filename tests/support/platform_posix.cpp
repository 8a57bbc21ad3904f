#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

#include "core/platform/field_reader.h"
#include "support/platform.h"

extern char** environ;

namespace numora::testing {

namespace {

int Outcome(int status) {
  if (WIFSIGNALED(status)) {
    return WTERMSIG(status) == SIGKILL ? kKilled : -WTERMSIG(status);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int Spawn(const std::string& program, const std::vector<std::string>& args,
          const std::filesystem::path* outputFile) {
  std::vector<std::string> all{program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) {
    argv.push_back(a.data());
  }
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (outputFile != nullptr) {
    const std::string out = PathText(*outputFile);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  }
  std::fflush(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

}  // namespace

int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& outputFile) {
  const int pid = Spawn(program, args, &outputFile);
  if (pid < 0) {
    return -1;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return Outcome(status);
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args)
    : pid_(Spawn(program, args, nullptr)) {}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !done_) {
    Wait();
  }
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(other.pid_), done_(other.done_), outcome_(other.outcome_) {
  other.pid_ = -1;
}

bool ChildProcess::started() const {
  return pid_ > 0;
}

bool ChildProcess::Finished(int& outcome) {
  if (!done_ && pid_ > 0) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) > 0) {
      done_ = true;
      outcome_ = Outcome(status);
    }
  }
  outcome = outcome_;
  return done_;
}

int ChildProcess::Wait() {
  if (!done_ && pid_ > 0) {
    int status = 0;
    waitpid(pid_, &status, 0);
    done_ = true;
    outcome_ = Outcome(status);
  }
  return outcome_;
}

void KillThisProcess() {
  raise(SIGKILL);
  _exit(137);
}

bool PermissionBitsDoNotBind() {
  return ::geteuid() == 0;
}

void SetEnvironment(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

std::filesystem::path MakeScratchFolder(const std::string& tag) {
  static std::atomic<int> counter{0};
  const std::string name = tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / std::u8string(name.begin(), name.end());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace numora::testing
