// One icon in the notification area, put back when the taskbar is re-created.
#pragma once

#include <windows.h>
#include <shellapi.h>

// Adds the icon with its callback message and tip, removes it, and adds it
// again when the taskbar announces itself with the registered message
// "TaskbarCreated" (Explorer restarted), after calling OnTaskbarCreated.  The
// loaded icon handle is kept in the notification data and not destroyed.
class CTrayIcon {
 public:
  // The owner receives clicks on the icon as this message, wParam the icon
  // id and lParam the mouse message.
  static constexpr UINT kCallbackMessage = WM_APP + 0x65;
  // The first version of NOTIFYICONDATAA, up to and including szTip[64].
  static constexpr DWORD kNotifyDataSize = 104;
  // Tips are cut to this many bytes, never inside a double-byte character.
  static constexpr int kMaxTip = 63;

  CTrayIcon();
  CTrayIcon(int iconId, HINSTANCE instance, HWND owner, const char* tip);
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;
  // Removes the icon (a second removal fails silently).
  virtual ~CTrayIcon();

  // Called by HandleMessage after the taskbar was re-created and before the
  // icon is added again.  Does nothing here.
  virtual void OnTaskbarCreated();

  // Fills the notification data (icon resource `iconId` of `instance`, 16 x 16;
  // callback message to `owner`; the tip) and adds the icon.  Returns the
  // result of Shell_NotifyIconA.
  BOOL Create(int iconId, HINSTANCE instance, HWND owner, const char* tip);
  // Loads another icon when `iconId` is not 0 and takes another tip when `tip`
  // is not null, then updates the icon.
  BOOL Modify(int iconId, const char* tip);
  BOOL Add();
  BOOL Delete();
  // Shows a balloon with `title` and `text` (cut to 63 and 255 UTF-16 units,
  // never inside a surrogate pair) at the icon; the icon stays as it is.
  // Wide, so that the texts are whole on any ANSI code page.
  BOOL ShowBalloon(const wchar_t* title, const wchar_t* text);
  // For the owner's window procedure: on "TaskbarCreated" calls
  // OnTaskbarCreated and adds the icon again, returning that result; returns
  // 0 for every other message and before Create.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  const NOTIFYICONDATAA& GetNotifyData() const { return data_; }
  UINT GetTaskbarMessage() const { return taskbarMessage_; }

 private:
  int iconId_ = 0;
  HINSTANCE instance_ = nullptr;
  HWND owner_ = nullptr;
  NOTIFYICONDATAA data_;
  UINT taskbarMessage_ = 0;
};
