// The program's AppHost: message boxes, file dialogs, timers and the report
// queue of the main window, the user's input (the next of which comes to the
// main window as WM_INPUT while asked for), and the watch on the Desktop
// folders, whose handles the message loop waits on.
#pragma once

#include "app/app_host.h"
#include "app/desktop_folders_win.h"
#include "framework/window/window.h"

class WinAppHost final : public AppHost {
 public:
  // `window` holds the main window object once it exists (null before and
  // after); the host does not own it.
  explicit WinAppHost(flib::CWindow* const* window) : window_(window) {}

  void ShowError(unsigned text, unsigned caption, int number) override;
  std::string Text(unsigned id) override;
  bool ChooseFile(const FileDialogRequest& request, std::string& path) override;
  bool TakePendingReport(std::uint64_t& wParam, std::uint64_t& lParam) override;
  std::uint64_t NowMs() override;
  void StartTimer(unsigned id, unsigned ms) override;
  void StopTimer(unsigned id) override;
  InputReading ReadInput() override;
  bool WakeOnInput(bool on) override;
  void WatchDesktopFolders(bool on) override;
  void ShowLock(bool on) override;
  void ShowBalloon(unsigned text) override;

  DesktopFolderWatch& Folders() { return folders_; }

 private:
  HWND MainWindowHandle() const { return *window_ ? (*window_)->window : nullptr; }
  HINSTANCE MainWindowInstance() const;

  flib::CWindow* const* window_;
  DesktopFolderWatch folders_;
  InputReading input_;  // the latest reading
  bool inputRead_ = false;
};
