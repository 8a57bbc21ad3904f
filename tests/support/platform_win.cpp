#include <windows.h>

#include <atomic>
#include <cstdio>

#include "core/platform/field_reader.h"
#include "core/platform/wide_text_win.h"
#include "support/platform.h"

namespace numora::testing {

namespace {

// The exit code KillThisProcess gives; no program of the tests exits with it otherwise.
constexpr UINT kKilledExitCode = 0xDEAD;

// One argument quoted for the command line so that CommandLineToArgvW gives it back unchanged.
std::wstring Quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return arg;
  }
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      out.append(backslashes * 2 + 1, L'\\');
    } else {
      out.append(backslashes, L'\\');
    }
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  out += L'"';
  return out;
}

HANDLE Spawn(const std::string& program, const std::vector<std::string>& args,
             const std::filesystem::path* outputFile) {
  std::wstring commandLine = Quoted(WideFromUtf8(program));
  for (const auto& a : args) {
    commandLine += L' ';
    commandLine += Quoted(WideFromUtf8(a));
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  HANDLE output = INVALID_HANDLE_VALUE;
  if (outputFile != nullptr) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    output = CreateFileW(outputFile->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) {
      return nullptr;
    }
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
  }
  std::fflush(nullptr);
  PROCESS_INFORMATION info{};
  const BOOL ok =
      CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr,
                     outputFile != nullptr ? TRUE : FALSE, 0, nullptr, nullptr, &startup, &info);
  if (output != INVALID_HANDLE_VALUE) {
    CloseHandle(output);
  }
  if (!ok) {
    return nullptr;
  }
  CloseHandle(info.hThread);
  return info.hProcess;
}

int Outcome(HANDLE process) {
  DWORD code = 0;
  if (!GetExitCodeProcess(process, &code)) {
    return -1;
  }
  return code == kKilledExitCode ? kKilled : static_cast<int>(code);
}

}  // namespace

int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& outputFile) {
  HANDLE process = Spawn(program, args, &outputFile);
  if (process == nullptr) {
    return -1;
  }
  WaitForSingleObject(process, INFINITE);
  const int outcome = Outcome(process);
  CloseHandle(process);
  return outcome;
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args)
    : process_(Spawn(program, args, nullptr)) {}

ChildProcess::~ChildProcess() {
  if (process_ != nullptr) {
    if (!done_) {
      Wait();
    }
    CloseHandle(static_cast<HANDLE>(process_));
  }
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(other.process_), done_(other.done_), outcome_(other.outcome_) {
  other.process_ = nullptr;
}

bool ChildProcess::started() const {
  return process_ != nullptr;
}

bool ChildProcess::Finished(int& outcome) {
  if (!done_ && process_ != nullptr &&
      WaitForSingleObject(static_cast<HANDLE>(process_), 0) == WAIT_OBJECT_0) {
    done_ = true;
    outcome_ = Outcome(static_cast<HANDLE>(process_));
  }
  outcome = outcome_;
  return done_;
}

int ChildProcess::Wait() {
  if (!done_ && process_ != nullptr) {
    WaitForSingleObject(static_cast<HANDLE>(process_), INFINITE);
    done_ = true;
    outcome_ = Outcome(static_cast<HANDLE>(process_));
  }
  return outcome_;
}

void KillThisProcess() {
  TerminateProcess(GetCurrentProcess(), kKilledExitCode);
  ExitProcess(kKilledExitCode);
}

bool PermissionBitsDoNotBind() {
  return true;
}

void SetEnvironment(const std::string& name, const std::string& value) {
  _wputenv_s(WideFromUtf8(name).c_str(), WideFromUtf8(value).c_str());
}

std::filesystem::path MakeScratchFolder(const std::string& tag) {
  static std::atomic<int> counter{0};
  std::filesystem::path folder = std::filesystem::temp_directory_path() / WideFromUtf8(tag);
  folder += L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace numora::testing
