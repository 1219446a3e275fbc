#include "app/desktop_folders_win.h"

#include <shlobj.h>

#include <initializer_list>

void DesktopFolderWatch::Start() {
  if (count_ > 0) return;
  for (int folder : {CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY}) {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, folder, FALSE)) continue;
    HANDLE change =
        FindFirstChangeNotificationA(path, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
    if (change != INVALID_HANDLE_VALUE) handles_[count_++] = change;
  }
}

void DesktopFolderWatch::Stop() {
  for (DWORD i = 0; i < count_; ++i) FindCloseChangeNotification(handles_[i]);
  count_ = 0;
}

void DesktopFolderWatch::Rearm(DWORD index) {
  if (index >= count_) return;
  if (FindNextChangeNotification(handles_[index])) return;
  // The folder went away: it is watched no more.
  FindCloseChangeNotification(handles_[index]);
  handles_[index] = handles_[--count_];
}
