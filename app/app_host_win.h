// The program's AppHost: message boxes, file dialogs, timers and the report
// queue of the main window (mainWindow).
#pragma once

#include "app/app_host.h"

class WinAppHost final : public AppHost {
 public:
  void ShowError(const char* text, const char* caption) override;
  bool ChooseFile(const FileDialogRequest& request, std::string& path) override;
  bool TakePendingReport(std::uint64_t& wParam, std::uint64_t& lParam) override;
  std::uint64_t NowMs() override;
  void StartTimer(unsigned id, unsigned ms) override;
  void StopTimer(unsigned id) override;
};
