// What the commands and the automatic behaviours need from the world around
// them besides the desktop: message boxes, file dialogs, the queue of hook
// reports, timers, the user's input, the watch on the Desktop folders, the
// display setup and the per-setup file names.  The program's implementation
// works with the main window (main_window.h) and measures the platform's
// displays; tests record the calls and choose the setup.
#pragma once

#include <cstdint>
#include <string>

#include "engine/displays.h"

// One Save as or Restore from file dialog.
struct FileDialogRequest {
  bool save = false;         // a Save as dialog, else an open dialog
  std::string filter;        // pairs of NUL-terminated texts, ending in two NULs
  std::string defaultExtension;
  std::string title;
  bool fileMustExist = false;  // only a file that exists may be chosen
  std::string initialFolder;   // where the dialog opens; empty: where the system chooses
};

// The user's input as the system counts it, read without asking the shell.
struct InputReading {
  std::uint32_t lastInput = 0;  // the system's tick count at the latest input (it wraps)
  bool desktopInFront = false;  // the foreground window is one of the desktop's process
};

class AppHost {
 public:
  virtual ~AppHost() = default;

  /// Shows an error message box owned by the main window, with the texts
  /// `text` and `caption` (IDS_... of resources/resource.h) and `number` in
  /// place of the text's "%d", if it has one; returns when the user has
  /// closed it (other messages are dispatched meanwhile).
  virtual void ShowError(unsigned text, unsigned caption, int number = 0) = 0;
  /// The text `id` (IDS_...) in the language of the texts and the ANSI code
  /// page, for what joins it with file names and times.
  virtual std::string Text(unsigned id) = 0;
  /// Runs a file dialog; true with the chosen path, false when cancelled.
  virtual bool ChooseFile(const FileDialogRequest& request, std::string& path) = 0;
  /// Removes the next hook report waiting for the main window, if any.
  virtual bool TakePendingReport(std::uint64_t& wParam, std::uint64_t& lParam) = 0;
  /// Milliseconds from a fixed moment; never goes back.
  virtual std::uint64_t NowMs() = 0;
  /// Starts, or restarts, the main window's timer `id`, due every `ms`
  /// milliseconds; it is handled on the program's thread like any message.
  virtual void StartTimer(unsigned id, unsigned ms) = 0;
  virtual void StopTimer(unsigned id) = 0;
  /// The user's latest input and the window in front (desktop_watch.h); by
  /// default no input ever comes.
  virtual InputReading ReadInput() { return {}; }
  /// While `on`, the user's next input reaches the desktop watch
  /// (DesktopWatch::OnInputArrived), so that it need not read the input
  /// meanwhile.  False when the host cannot tell: the watch reads on.
  virtual bool WakeOnInput(bool on) {
    (void)on;
    return false;
  }
  /// While `on`, a change in the folders the desktop shows (the user's and
  /// the public Desktop) reaches the desktop watch (desktop_watch.h).
  virtual void WatchDesktopFolders(bool on) { (void)on; }
  /// The tray icon and its tip show whether the lock is on (icon_lock.h).
  virtual void ShowLock(bool on) { (void)on; }
  /// A balloon of the tray icon tells the text `text` (IDS_... of
  /// resources/resource.h).
  virtual void ShowBalloon(unsigned text) { (void)text; }

  /// The path of the "default" layout file of the setup `tag` (as
  /// "1024x768.qvd", SetupTag); false when the application-data folder is
  /// unknown.
  virtual bool LayoutPathFor(const std::string& tag, std::string& path);
  /// The path of a file of the program's own in the settings folder (no
  /// folder is created); false when the application-data folder is unknown.
  virtual bool SettingsFilePath(const char* name, std::string& path);
  /// The same for the current setup.
  bool DefaultLayoutPath(std::string& path) { return LayoutPathFor(ResolutionTag(), path); }
  /// The current setup's tag, as "1024x768.qvd" (SetupTag of Displays).
  std::string ResolutionTag();
  /// The desktop's monitors, measured afresh (by default the platform's,
  /// QueryDisplaySetup): they name the layout files and bound the restores.
  virtual DisplaySetup Displays();
  /// The size of the rectangle that holds them.
  ScreenSize DesktopSize() { return DesktopSizeOf(Displays()); }
};
