#pragma once

#include <functional>

#include "core/platform/services.h"

namespace numora {

// The real host on Qt: message boxes, event processing, a responsive wait and process start.
class QtHost : public Host {
 public:
  void ProcessEvents() override;
  void ShowMessage(const std::string& title, const std::string& text) override;
  bool AskYesNo(const std::string& title, const std::string& text) override;
  bool AskOkCancel(const std::string& title, const std::string& text) override;
  void WaitResponsive(double seconds) override;
  bool StartDetached(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workingFolder) override;
  // Runs the unload hook (every window, most recent first), then ends the process.
  void EndProgram(int status) override;

  std::function<void()> unloadAllWindows;
};

}  // namespace numora
