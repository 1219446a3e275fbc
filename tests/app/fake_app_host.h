// An AppHost for tests: records the message boxes and file dialogs, answers
// the dialogs from a script, holds a queue of pending hook reports, keeps a
// clock that moves only when the test says and the timers that are running,
// gives the user's input that the test gives, and keeps the "default" layout
// files in a folder of the test's own.  Its texts are short stand-ins of its
// own: which text is shown is told by its id, and the texts themselves are the
// resources' (tests/app/resources_test.cpp).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/app_host.h"
#include "engine/display_setup.h"
#include "resources/resource.h"

class FakeAppHost final : public AppHost {
 public:
  struct Message {
    unsigned text;  // IDS_...
    unsigned caption;
    int number;     // in place of the text's "%d"
  };

  // `folder` in the program's form (tests/files/temp_folder.h).
  explicit FakeAppHost(std::string folder) : folder_(std::move(folder)) {}

  // --- Setting up.
  // One monitor of that size, at the scale set.
  void SetResolution(int width, int height) { setup_ = SingleMonitorSetup({width, height, dpi_}); }
  void SetScale(int dpi) {
    dpi_ = dpi;
    for (Monitor& monitor : setup_.monitors) monitor.dpi = dpi;
  }
  void SetDisplays(DisplaySetup setup) { setup_ = std::move(setup); }
  void Advance(std::uint64_t ms) { now_ += ms; }
  // Without an application-data folder no "default" path can be formed.
  void SetAppDataKnown(bool known) { appDataKnown_ = known; }
  // The next file dialog returns this path; an empty path cancels it.
  void AnswerFileDialog(const std::string& path) { fileAnswer_ = path; }
  void QueueReport(std::uint64_t wParam, std::uint64_t lParam) { reports_.push_back({wParam, lParam}); }
  // Whether the host can report the next input (WakeOnInput).
  void SetWakesOnInput(bool wakes) { wakesOnInput_ = wakes; }
  // The user gives input, to the desktop or to another window in front.
  void GiveInput(bool toDesktop) {
    input_.lastInput = static_cast<std::uint32_t>(now_);
    input_.desktopInFront = toDesktop;
  }
  // Runs while a message box is open, as a modal loop would dispatch messages.
  void WhileMessageOpen(std::function<void()> action) { whileMessageOpen_ = std::move(action); }

  // --- Inspecting.
  const std::vector<Message>& Messages() const { return messages_; }
  const std::vector<FileDialogRequest>& FileDialogs() const { return fileDialogs_; }
  size_t PendingReports() const { return reports_.size(); }
  bool WatchingFolders() const { return watchingFolders_; }
  // What the tray icon shows of the lock, and the balloons told so far.
  bool LockShown() const { return lockShown_; }
  const std::vector<unsigned>& Balloons() const { return balloons_; }
  // The desktop watch waits for the host to report the next input.
  bool WakingOnInput() const { return wakingOnInput_; }
  bool TimerRunning(unsigned id) const { return timers_.count(id) != 0; }
  // Handles each running timer whose period has passed since it started or
  // last went off, as the message loop would.
  void RunDueTimers(const std::function<void(unsigned id)>& onTimer) {
    const std::map<unsigned, unsigned> running = timers_;
    for (const auto& [id, period] : running) {
      if (timers_.count(id) == 0 || now_ < due_[id]) continue;
      due_[id] = now_ + period;
      onTimer(id);
    }
  }
  std::string PathFor(const DisplaySetup& setup) const { return folder_ + "\\default." + SetupTag(setup); }
  std::string PathFor(int width, int height, int dpi = kPlainDpi) const {
    const std::string scale = dpi == kPlainDpi ? "" : "." + std::to_string(dpi) + "dpi";
    return folder_ + "\\default." + std::to_string(width) + "x" + std::to_string(height) + scale + ".qvd";
  }

  // --- AppHost.
  void ShowError(unsigned text, unsigned caption, int number) override {
    messages_.push_back({text, caption, number});
    if (whileMessageOpen_) whileMessageOpen_();
  }
  std::string Text(unsigned id) override {
    switch (id) {
      case IDS_FILE_DIALOG_TITLE: return "Title";
      case IDS_FILTER_LAYOUTS: return "Layouts";
      case IDS_FILTER_ALL: return "All";
      case IDS_KEPT_ICONS: return "  %d icons";
      case IDS_KEPT_CURRENT: return " (current)";
      case IDS_KEPT_NONE: return "(none)";
      default: return "<" + std::to_string(id) + ">";
    }
  }
  bool ChooseFile(const FileDialogRequest& request, std::string& path) override {
    fileDialogs_.push_back(request);
    if (fileAnswer_.empty()) return false;
    path = fileAnswer_;
    return true;
  }
  bool TakePendingReport(std::uint64_t& wParam, std::uint64_t& lParam) override {
    if (reports_.empty()) return false;
    wParam = reports_.front().first;
    lParam = reports_.front().second;
    reports_.pop_front();
    return true;
  }
  std::uint64_t NowMs() override { return now_; }
  void StartTimer(unsigned id, unsigned ms) override {
    timers_[id] = ms;
    due_[id] = now_ + ms;
  }
  void StopTimer(unsigned id) override { timers_.erase(id); }
  InputReading ReadInput() override { return input_; }
  bool WakeOnInput(bool on) override {
    wakingOnInput_ = on && wakesOnInput_;
    return wakesOnInput_;
  }
  void WatchDesktopFolders(bool on) override { watchingFolders_ = on; }
  void ShowLock(bool on) override { lockShown_ = on; }
  void ShowBalloon(unsigned text) override { balloons_.push_back(text); }
  bool LayoutPathFor(const std::string& tag, std::string& path) override {
    if (!appDataKnown_) return false;
    path = folder_ + "\\default." + tag;
    return true;
  }
  bool SettingsFilePath(const char* name, std::string& path) override {
    if (!appDataKnown_) return false;
    path = folder_ + "\\" + name;
    return true;
  }
  DisplaySetup Displays() override { return setup_; }

 private:
  std::string folder_;
  int dpi_ = kPlainDpi;
  DisplaySetup setup_ = SingleMonitorSetup({1024, 768});
  std::uint64_t now_ = 1000000;
  std::map<unsigned, unsigned> timers_;
  std::map<unsigned, std::uint64_t> due_;
  bool appDataKnown_ = true;
  InputReading input_;
  bool wakesOnInput_ = true;
  bool wakingOnInput_ = false;
  bool watchingFolders_ = false;
  bool lockShown_ = false;
  std::vector<unsigned> balloons_;  // their text ids
  std::string fileAnswer_;
  std::deque<std::pair<std::uint64_t, std::uint64_t>> reports_;
  std::function<void()> whileMessageOpen_;
  std::vector<Message> messages_;
  std::vector<FileDialogRequest> fileDialogs_;
};
