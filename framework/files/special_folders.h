// The shell's special folders, by identifier (the CSIDL numbers) or by
// name, plus the folder of the program file.
//
// Every query needs a buffer of at least 260 characters (the program passes
// 1024) and answers 1 found, 0 not.  Paths are in the program's form
// (file_system.h).  `owner` is the window that owns any user interface the
// system shows (an HWND on Windows; the program passes null).
//
// On other systems the folders come from the XDG base directories and the
// home folder ($HOME):
//   CSIDL_APPDATA            $XDG_CONFIG_HOME, else $HOME/.config
//   CSIDL_LOCAL_APPDATA      $XDG_DATA_HOME, else $HOME/.local/share
//   CSIDL_INTERNET_CACHE     $XDG_CACHE_HOME, else $HOME/.cache
//   CSIDL_PROFILE            $HOME
//   CSIDL_DESKTOP, CSIDL_DESKTOPDIRECTORY   $HOME/Desktop
//   CSIDL_PERSONAL, CSIDL_MYDOCUMENTS       $HOME/Documents
//   CSIDL_MYMUSIC, CSIDL_MYVIDEO, CSIDL_MYPICTURES, CSIDL_TEMPLATES
//                            $HOME/Music, Videos, Pictures, Templates
//   CSIDL_FONTS              $XDG_DATA_HOME/fonts (as above)
//   CSIDL_COMMON_APPDATA     /etc/xdg
// An XDG variable counts only when it holds an absolute path.  Every other
// identifier is not found there, and there is no folder-choice dialog.
#pragma once

// The program's own identifier: the folder of the program file.
constexpr int APPLICATION_PATH = 0x80;

struct SpecialFolderName {
  const char* name;
  int id;
};

// The 58 rows of names and identifiers, in ascending order of identifier.
constexpr int kSpecialFolderCount = 58;
extern const SpecialFolderName kSpecialFolders[kSpecialFolderCount];

// The folder of `id` (a CSIDL number, or APPLICATION_PATH), not created.
int GetSpecialFolder(void* owner, int id, char* buffer, int size);
// As GetSpecialFolder for the table row named `name` (case-sensitive), with
// MapFolderIdForPlatform applied; 0 for a name not in the table.
int GetSpecialFolderByName(void* owner, const char* name, char* buffer, int size);
// On the older consumer systems (platform id 1) the common programs and
// common desktop folders become the per-user ones; elsewhere `id` unchanged.
int MapFolderIdForPlatform(int id);
// The same rule for a given platform id (VER_PLATFORM_WIN32_WINDOWS = 1).
int MapFolderIdForPlatformId(int id, unsigned long platformId);
// Lets the user choose a folder; 1 when one was chosen and its path fits.
int BrowseForFolder(void* owner, const char* title, char* buffer, int size);

// One accessor per shell folder; none applies MapFolderIdForPlatform.
int GetDesktopFolder(void* owner, char* buffer, int size);
int GetInternetFolder(void* owner, char* buffer, int size);
int GetProgramsFolder(void* owner, char* buffer, int size);
int GetControlsFolder(void* owner, char* buffer, int size);
int GetPrintersFolder(void* owner, char* buffer, int size);
int GetPersonalFolder(void* owner, char* buffer, int size);
int GetFavoritesFolder(void* owner, char* buffer, int size);
int GetStartupFolder(void* owner, char* buffer, int size);
int GetRecentFolder(void* owner, char* buffer, int size);
int GetSendToFolder(void* owner, char* buffer, int size);
int GetBitBucketFolder(void* owner, char* buffer, int size);
int GetStartMenuFolder(void* owner, char* buffer, int size);
int GetDesktopDirectoryFolder(void* owner, char* buffer, int size);
int GetDrivesFolder(void* owner, char* buffer, int size);
int GetNetworkFolder(void* owner, char* buffer, int size);
int GetNetHoodFolder(void* owner, char* buffer, int size);
int GetFontsFolder(void* owner, char* buffer, int size);
int GetTemplatesFolder(void* owner, char* buffer, int size);
int GetCommonStartMenuFolder(void* owner, char* buffer, int size);
int GetCommonProgramsFolder(void* owner, char* buffer, int size);
int GetCommonStartupFolder(void* owner, char* buffer, int size);
int GetCommonDesktopDirectoryFolder(void* owner, char* buffer, int size);
int GetAppDataFolder(void* owner, char* buffer, int size);
int GetPrintHoodFolder(void* owner, char* buffer, int size);
int GetAltStartupFolder(void* owner, char* buffer, int size);
int GetCommonAltStartupFolder(void* owner, char* buffer, int size);
int GetCommonFavoritesFolder(void* owner, char* buffer, int size);
int GetInternetCacheFolder(void* owner, char* buffer, int size);
int GetCookiesFolder(void* owner, char* buffer, int size);
int GetHistoryFolder(void* owner, char* buffer, int size);
int GetCommonAppDataFolder(void* owner, char* buffer, int size);
int GetWindowsFolder(void* owner, char* buffer, int size);
int GetSystemFolder(void* owner, char* buffer, int size);
int GetProgramFilesFolder(void* owner, char* buffer, int size);
int GetMyPicturesFolder(void* owner, char* buffer, int size);
int GetProfileFolder(void* owner, char* buffer, int size);
int GetSystemX86Folder(void* owner, char* buffer, int size);
int GetProgramFilesX86Folder(void* owner, char* buffer, int size);
int GetProgramFilesCommonFolder(void* owner, char* buffer, int size);
int GetProgramFilesCommonX86Folder(void* owner, char* buffer, int size);
int GetCommonTemplatesFolder(void* owner, char* buffer, int size);
int GetCommonDocumentsFolder(void* owner, char* buffer, int size);
int GetCommonAdminToolsFolder(void* owner, char* buffer, int size);
int GetAdminToolsFolder(void* owner, char* buffer, int size);
int GetConnectionsFolder(void* owner, char* buffer, int size);
int GetCommonMusicFolder(void* owner, char* buffer, int size);
int GetCommonPicturesFolder(void* owner, char* buffer, int size);
int GetCommonVideoFolder(void* owner, char* buffer, int size);
int GetResourcesFolder(void* owner, char* buffer, int size);
int GetResourcesLocalizedFolder(void* owner, char* buffer, int size);
int GetCommonOemLinksFolder(void* owner, char* buffer, int size);
int GetCDBurnAreaFolder(void* owner, char* buffer, int size);
int GetComputersNearMeFolder(void* owner, char* buffer, int size);
