// Paths of the program's own files: beside the program file, and under the
// per-user application-data folder (special_folders.h).  Paths are in the
// program's form (file_system.h) and joined with one backslash; `out` must
// hold 1024 bytes, and a joined path that would not fit in them is no path.
#pragma once

// The folder of the program file, without a closing backslash; its length,
// or 0 with the buffer untouched when it cannot be told (also when the
// program's path did not fit the 360-character buffer it is read into, or
// the folder does not fit `size`).
int GetModuleDirectory(char* buffer, int size);
// The folder part of a program path by the same rule (the part before the
// last backslash at a character start, which must not be the first byte).
int ModuleDirectoryOf(const char* modulePath, char* buffer, int size);
// ModuleDirectoryOf for a path read into a buffer of `readSize` characters,
// `readLength` of them filled (as GetModuleFileNameA reports it): 0 when the
// path filled the buffer and so may have been cut.
int ModuleDirectoryOfRead(const char* modulePath, int readLength, int readSize, char* buffer, int size);

// "<program folder>\<fileName>" in `out`; an empty text when the program
// folder cannot be told or the path does not fit.  Returns `out`.
char* MakeModulePath(const char* fileName, char* out);
// "<application data>\<maker>\<product>\<fileName>" in `out`, or null
// (`out` untouched) when the application-data folder is unknown or the path
// does not fit.
char* MakeAppDataPath(const char* maker, const char* product, const char* fileName, char* out);
// 1 when "<application data>\<maker>\<product>" exists (also as a file) or
// was created (CreateDirectoryTree), else 0.
int EnsureAppDataFolder(const char* maker, const char* product);
