#pragma once

// What tests need from the platform: other programs started (a command whose output is
// collected, program copies that run beside the test on a shared results file), scratch folders,
// and UTF-8 paths as filesystem paths. POSIX and Windows halves live in platform_posix.cpp and
// platform_win.cpp.

#include <filesystem>
#include <string>
#include <vector>

namespace numora::testing {

// The outcome of a program that ended: its exit status, or kKilled when it was killed.
inline constexpr int kKilled = -9;

// Runs program with args (each passed as one argument, UTF-8) and waits for it; its standard
// output and error go together into outputFile. Returns the outcome.
int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& outputFile);

// A program started beside the test; waited for (or left running) by the test.
class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& args);
  ~ChildProcess();
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ChildProcess& operator=(ChildProcess&&) = delete;

  bool started() const;
  // True once the program has ended, with its outcome; does not wait.
  bool Finished(int& outcome);
  // Waits for the program to end and returns its outcome.
  int Wait();

 private:
#ifdef _WIN32
  void* process_ = nullptr;
#else
  int pid_ = -1;
#endif
  bool done_ = false;
  int outcome_ = -1;
};

// Ends the calling process at once, as a power cut or the task manager would: no destructor,
// no buffer flush, no handler runs. Its parent sees kKilled.
[[noreturn]] void KillThisProcess();

// A UTF-8 path as a filesystem path (a plain std::string would be taken in the system code page
// on Windows).
inline std::filesystem::path NativePath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// True when file permission bits do not keep this process out: it runs as root (POSIX), or the
// bits are only a read-only attribute that folders ignore (Windows). Tests of unreadable or
// unwritable files skip then.
bool PermissionBitsDoNotBind();

// Sets an environment variable of this process (for the programs and libraries it uses).
void SetEnvironment(const std::string& name, const std::string& value);

// A new empty folder under the system's temporary folder, its name made of tag, the process and
// a counter (tag may hold Japanese).
std::filesystem::path MakeScratchFolder(const std::string& tag);

}  // namespace numora::testing
