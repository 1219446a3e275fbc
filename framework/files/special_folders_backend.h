// What the special-folder and application-path functions need from the
// system (special_folders_win.cpp, special_folders_posix.cpp).
#pragma once

namespace folderbackend {

// The full path of the program file into `buffer`; its length, 0 on failure.
// A result equal to `size` means the path was cut.
int ReadModulePath(char* buffer, int size);
// The shell folder `id` (not created) into `buffer` of `size` >= 260; 1 found.
int QueryShellFolder(void* owner, int id, char* buffer, int size);
// dwPlatformId of the running system.
unsigned long PlatformId();
// The folder-choice dialog; 1 when a folder was chosen, its path in
// `buffer` (1024 characters).
int ChooseFolder(void* owner, const char* title, char* buffer);

}  // namespace folderbackend
