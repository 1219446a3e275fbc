#include "framework/files/special_folders.h"

#include <cstring>

#include "framework/files/app_paths.h"
#include "framework/files/special_folders_backend.h"

namespace {

// Folder queries refuse buffers below MAX_PATH without asking the system.
constexpr int kMinimumBuffer = 260;
constexpr int CSIDL_PROGRAMS_ID = 0x02;
constexpr int CSIDL_DESKTOPDIRECTORY_ID = 0x10;
constexpr int CSIDL_COMMON_PROGRAMS_ID = 0x17;
constexpr int CSIDL_COMMON_DESKTOPDIRECTORY_ID = 0x19;

int QueryFolder(void* owner, int id, char* buffer, int size) {
  if (size < kMinimumBuffer) return 0;
  return folderbackend::QueryShellFolder(owner, id, buffer, size);
}

}  // namespace

const SpecialFolderName kSpecialFolders[kSpecialFolderCount] = {
    {"CSIDL_DESKTOP", 0x00},
    {"CSIDL_INTERNET", 0x01},
    {"CSIDL_PROGRAMS", 0x02},
    {"CSIDL_CONTROLS", 0x03},
    {"CSIDL_PRINTERS", 0x04},
    {"CSIDL_PERSONAL", 0x05},
    {"CSIDL_FAVORITES", 0x06},
    {"CSIDL_STARTUP", 0x07},
    {"CSIDL_RECENT", 0x08},
    {"CSIDL_SENDTO", 0x09},
    {"CSIDL_BITBUCKET", 0x0a},
    {"CSIDL_STARTMENU", 0x0b},
    {"CSIDL_MYDOCUMENTS", 0x0c},
    {"CSIDL_MYMUSIC", 0x0d},
    {"CSIDL_MYVIDEO", 0x0e},
    {"CSIDL_DESKTOPDIRECTORY", 0x10},
    {"CSIDL_DRIVES", 0x11},
    {"CSIDL_NETWORK", 0x12},
    {"CSIDL_NETHOOD", 0x13},
    {"CSIDL_FONTS", 0x14},
    {"CSIDL_TEMPLATES", 0x15},
    {"CSIDL_COMMON_STARTMENU", 0x16},
    {"CSIDL_COMMON_PROGRAMS", 0x17},
    {"CSIDL_COMMON_STARTUP", 0x18},
    {"CSIDL_COMMON_DESKTOPDIRECTORY", 0x19},
    {"CSIDL_APPDATA", 0x1a},
    {"CSIDL_PRINTHOOD", 0x1b},
    {"CSIDL_LOCAL_APPDATA", 0x1c},
    {"CSIDL_ALTSTARTUP", 0x1d},
    {"CSIDL_COMMON_ALTSTARTUP", 0x1e},
    {"CSIDL_COMMON_FAVORITES", 0x1f},
    {"CSIDL_INTERNET_CACHE", 0x20},
    {"CSIDL_COOKIES", 0x21},
    {"CSIDL_HISTORY", 0x22},
    {"CSIDL_COMMON_APPDATA", 0x23},
    {"CSIDL_WINDOWS", 0x24},
    {"CSIDL_SYSTEM", 0x25},
    {"CSIDL_PROGRAM_FILES", 0x26},
    {"CSIDL_MYPICTURES", 0x27},
    {"CSIDL_PROFILE", 0x28},
    {"CSIDL_SYSTEMX86", 0x29},
    {"CSIDL_PROGRAM_FILESX86", 0x2a},
    {"CSIDL_PROGRAM_FILES_COMMON", 0x2b},
    {"CSIDL_PROGRAM_FILES_COMMONX86", 0x2c},
    {"CSIDL_COMMON_TEMPLATES", 0x2d},
    {"CSIDL_COMMON_DOCUMENTS", 0x2e},
    {"CSIDL_COMMON_ADMINTOOLS", 0x2f},
    {"CSIDL_ADMINTOOLS", 0x30},
    {"CSIDL_CONNECTIONS", 0x31},
    {"CSIDL_COMMON_MUSIC", 0x35},
    {"CSIDL_COMMON_PICTURES", 0x36},
    {"CSIDL_COMMON_VIDEO", 0x37},
    {"CSIDL_RESOURCES", 0x38},
    {"CSIDL_RESOURCES_LOCALIZED", 0x39},
    {"CSIDL_COMMON_OEM_LINKS", 0x3a},
    {"CSIDL_CDBURN_AREA", 0x3b},
    {"CSIDL_COMPUTERSNEARME", 0x3d},
    {"APPLICATION_PATH", APPLICATION_PATH},
};

int GetSpecialFolder(void* owner, int id, char* buffer, int size) {
  if (size < kMinimumBuffer) return 0;
  if (id == APPLICATION_PATH) return GetModuleDirectory(buffer, size) > 0 ? 1 : 0;
  return folderbackend::QueryShellFolder(owner, id, buffer, size);
}

int GetSpecialFolderByName(void* owner, const char* name, char* buffer, int size) {
  for (const SpecialFolderName& row : kSpecialFolders)
    if (std::strcmp(row.name, name) == 0) return GetSpecialFolder(owner, MapFolderIdForPlatform(row.id), buffer, size);
  return 0;
}

int MapFolderIdForPlatformId(int id, unsigned long platformId) {
  if (platformId != 1) return id;
  if (id == CSIDL_COMMON_PROGRAMS_ID) return CSIDL_PROGRAMS_ID;
  if (id == CSIDL_COMMON_DESKTOPDIRECTORY_ID) return CSIDL_DESKTOPDIRECTORY_ID;
  return id;
}

int MapFolderIdForPlatform(int id) { return MapFolderIdForPlatformId(id, folderbackend::PlatformId()); }

int BrowseForFolder(void* owner, const char* title, char* buffer, int size) {
  char chosen[1024];
  if (!folderbackend::ChooseFolder(owner, title, chosen)) return 0;
  size_t length = std::strlen(chosen);
  if (size <= 0 || length >= static_cast<size_t>(size)) return 0;
  std::memcpy(buffer, chosen, length + 1);
  return 1;
}

#define TESSALY_FOLDER_ACCESSOR(Name, id) \
  int Name(void* owner, char* buffer, int size) { return QueryFolder(owner, id, buffer, size); }

TESSALY_FOLDER_ACCESSOR(GetDesktopFolder, 0x00)
TESSALY_FOLDER_ACCESSOR(GetInternetFolder, 0x01)
TESSALY_FOLDER_ACCESSOR(GetProgramsFolder, 0x02)
TESSALY_FOLDER_ACCESSOR(GetControlsFolder, 0x03)
TESSALY_FOLDER_ACCESSOR(GetPrintersFolder, 0x04)
TESSALY_FOLDER_ACCESSOR(GetPersonalFolder, 0x05)
TESSALY_FOLDER_ACCESSOR(GetFavoritesFolder, 0x06)
TESSALY_FOLDER_ACCESSOR(GetStartupFolder, 0x07)
TESSALY_FOLDER_ACCESSOR(GetRecentFolder, 0x08)
TESSALY_FOLDER_ACCESSOR(GetSendToFolder, 0x09)
TESSALY_FOLDER_ACCESSOR(GetBitBucketFolder, 0x0a)
TESSALY_FOLDER_ACCESSOR(GetStartMenuFolder, 0x0b)
TESSALY_FOLDER_ACCESSOR(GetDesktopDirectoryFolder, 0x10)
TESSALY_FOLDER_ACCESSOR(GetDrivesFolder, 0x11)
TESSALY_FOLDER_ACCESSOR(GetNetworkFolder, 0x12)
TESSALY_FOLDER_ACCESSOR(GetNetHoodFolder, 0x13)
TESSALY_FOLDER_ACCESSOR(GetFontsFolder, 0x14)
TESSALY_FOLDER_ACCESSOR(GetTemplatesFolder, 0x15)
TESSALY_FOLDER_ACCESSOR(GetCommonStartMenuFolder, 0x16)
TESSALY_FOLDER_ACCESSOR(GetCommonProgramsFolder, 0x17)
TESSALY_FOLDER_ACCESSOR(GetCommonStartupFolder, 0x18)
TESSALY_FOLDER_ACCESSOR(GetCommonDesktopDirectoryFolder, 0x19)
TESSALY_FOLDER_ACCESSOR(GetAppDataFolder, 0x1a)
TESSALY_FOLDER_ACCESSOR(GetPrintHoodFolder, 0x1b)
TESSALY_FOLDER_ACCESSOR(GetAltStartupFolder, 0x1d)
TESSALY_FOLDER_ACCESSOR(GetCommonAltStartupFolder, 0x1e)
TESSALY_FOLDER_ACCESSOR(GetCommonFavoritesFolder, 0x1f)
TESSALY_FOLDER_ACCESSOR(GetInternetCacheFolder, 0x20)
TESSALY_FOLDER_ACCESSOR(GetCookiesFolder, 0x21)
TESSALY_FOLDER_ACCESSOR(GetHistoryFolder, 0x22)
TESSALY_FOLDER_ACCESSOR(GetCommonAppDataFolder, 0x23)
TESSALY_FOLDER_ACCESSOR(GetWindowsFolder, 0x24)
TESSALY_FOLDER_ACCESSOR(GetSystemFolder, 0x25)
TESSALY_FOLDER_ACCESSOR(GetProgramFilesFolder, 0x26)
TESSALY_FOLDER_ACCESSOR(GetMyPicturesFolder, 0x27)
TESSALY_FOLDER_ACCESSOR(GetProfileFolder, 0x28)
TESSALY_FOLDER_ACCESSOR(GetSystemX86Folder, 0x29)
TESSALY_FOLDER_ACCESSOR(GetProgramFilesX86Folder, 0x2a)
TESSALY_FOLDER_ACCESSOR(GetProgramFilesCommonFolder, 0x2b)
TESSALY_FOLDER_ACCESSOR(GetProgramFilesCommonX86Folder, 0x2c)
TESSALY_FOLDER_ACCESSOR(GetCommonTemplatesFolder, 0x2d)
TESSALY_FOLDER_ACCESSOR(GetCommonDocumentsFolder, 0x2e)
TESSALY_FOLDER_ACCESSOR(GetCommonAdminToolsFolder, 0x2f)
TESSALY_FOLDER_ACCESSOR(GetAdminToolsFolder, 0x30)
TESSALY_FOLDER_ACCESSOR(GetConnectionsFolder, 0x31)
TESSALY_FOLDER_ACCESSOR(GetCommonMusicFolder, 0x35)
TESSALY_FOLDER_ACCESSOR(GetCommonPicturesFolder, 0x36)
TESSALY_FOLDER_ACCESSOR(GetCommonVideoFolder, 0x37)
TESSALY_FOLDER_ACCESSOR(GetResourcesFolder, 0x38)
TESSALY_FOLDER_ACCESSOR(GetResourcesLocalizedFolder, 0x39)
TESSALY_FOLDER_ACCESSOR(GetCommonOemLinksFolder, 0x3a)
TESSALY_FOLDER_ACCESSOR(GetCDBurnAreaFolder, 0x3b)
TESSALY_FOLDER_ACCESSOR(GetComputersNearMeFolder, 0x3d)

#undef TESSALY_FOLDER_ACCESSOR
