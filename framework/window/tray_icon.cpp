#include "framework/window/tray_icon.h"

#include <cstring>

namespace {

HICON LoadSmallIcon(HINSTANCE instance, int iconId) {
  return static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(iconId & 0xFFFF), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
}

// Copies at most `longest` bytes of `tip` into `target` and zeroes the rest of
// its `longest` + 1 bytes; a double-byte character that does not fit whole is
// left out.
void CopyText(char* target, const char* tip, int longest) {
  std::memset(target, 0, longest + 1);
  if (!tip) return;
  int length = 0;
  while (length < longest && tip[length]) {
    if (IsDBCSLeadByte(static_cast<BYTE>(tip[length]))) {
      if (length + 1 >= longest || !tip[length + 1]) break;
      length += 2;
    } else {
      length += 1;
    }
  }
  std::memcpy(target, tip, length);
}

// Into szTip, the 64 bytes that the first version of the data has.
// The same for UTF-16: at most `longest` units, never half a surrogate pair.
void CopyWideText(wchar_t* target, const wchar_t* text, int longest) {
  std::memset(target, 0, (longest + 1) * sizeof(wchar_t));
  if (!text) return;
  int length = 0;
  while (length < longest && text[length]) ++length;
  if (length == longest && length > 0 && text[length] && IS_HIGH_SURROGATE(text[length - 1])) --length;
  std::memcpy(target, text, length * sizeof(wchar_t));
}

void CopyTip(char* target, const char* tip) { CopyText(target, tip, CTrayIcon::kMaxTip); }

}  // namespace

CTrayIcon::CTrayIcon() { std::memset(&data_, 0, sizeof data_); }

CTrayIcon::CTrayIcon(int iconId, HINSTANCE instance, HWND owner, const char* tip) : CTrayIcon() {
  Create(iconId, instance, owner, tip);
}

CTrayIcon::~CTrayIcon() { Delete(); }

void CTrayIcon::OnTaskbarCreated() {}

BOOL CTrayIcon::Create(int iconId, HINSTANCE instance, HWND owner, const char* tip) {
  std::memset(&data_, 0, sizeof data_);
  iconId_ = iconId;
  instance_ = instance;
  owner_ = owner;
  taskbarMessage_ = RegisterWindowMessageA("TaskbarCreated");
  data_.cbSize = kNotifyDataSize;
  data_.hWnd = owner;
  data_.uID = static_cast<UINT>(iconId);
  data_.uCallbackMessage = kCallbackMessage;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.hIcon = LoadSmallIcon(instance, iconId);
  CopyTip(data_.szTip, tip);
  return Shell_NotifyIconA(NIM_ADD, &data_);
}

BOOL CTrayIcon::Modify(int iconId, const char* tip) {
  if (iconId) data_.hIcon = LoadSmallIcon(instance_, iconId);
  if (tip) CopyTip(data_.szTip, tip);
  return Shell_NotifyIconA(NIM_MODIFY, &data_);
}

BOOL CTrayIcon::Add() { return Shell_NotifyIconA(NIM_ADD, &data_); }

// Deletes through a copy: the stored data keeps its flags, so that Add or a
// re-created taskbar brings back the whole icon, not a blank one.
BOOL CTrayIcon::Delete() {
  NOTIFYICONDATAA removal = data_;
  removal.cbSize = kNotifyDataSize;
  removal.hWnd = owner_;
  removal.uID = static_cast<UINT>(iconId_);
  removal.uFlags = 0;
  return Shell_NotifyIconA(NIM_DELETE, &removal);
}

LRESULT CTrayIcon::HandleMessage(UINT message, WPARAM, LPARAM) {
  if (!taskbarMessage_ || message != taskbarMessage_) return 0;
  OnTaskbarCreated();
  return Shell_NotifyIconA(NIM_ADD, &data_);
}

// A balloon needs the whole notification data; the icon's own data stays of
// the first version, whose tip the system reads in full.
BOOL CTrayIcon::ShowBalloon(const wchar_t* title, const wchar_t* text) {
  NOTIFYICONDATAW balloon;
  std::memset(&balloon, 0, sizeof balloon);
  balloon.cbSize = sizeof balloon;
  balloon.hWnd = owner_;
  balloon.uID = static_cast<UINT>(iconId_);
  balloon.uFlags = NIF_INFO;
  CopyWideText(balloon.szInfoTitle, title, ARRAYSIZE(balloon.szInfoTitle) - 1);
  CopyWideText(balloon.szInfo, text, ARRAYSIZE(balloon.szInfo) - 1);
  balloon.dwInfoFlags = NIIF_INFO;
  return Shell_NotifyIconW(NIM_MODIFY, &balloon);
}
