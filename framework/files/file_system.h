// File-system utilities over paths: what a path names, creating a chain of
// folders, removing files and folder trees, copying, sizes and counts.
//
// Paths are narrow code page 932 texts with a backslash (0x5C) between
// components; searches for a backslash step over two-byte characters
// (strings.h), so a second byte of 0x5C is never a separator.  On Windows the
// paths go to the system as they are.  On other systems the same form holds
// (see system_path.h): a backslash is the separator, a leading backslash
// stands for the root "/", which is the only drive root, and there are no
// drive letters; names are matched exactly (no wildcards).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Path kinds.
enum : int { kPathAbsent = 0, kPathFile = 1, kPathFolder = 2 };

// What the path names: 0 absent, 1 file, 2 folder.  A relative path is taken
// from the current folder; one closing backslash is ignored (a character
// test: the second byte of a two-byte character such as 表 is no backslash).
// A drive root ("C:", "c:\", and "\" elsewhere) is a folder when the system
// has it.
int GetPathKind(const char* path);

// Creates every missing folder of the chain that ends in `path`.  1 when no
// file stood in the way (a folder that could not be created is noticed only
// when used), 0 when a file holds the place of a folder, for a network path
// without a share ("\\server"), and for a path of 1024 bytes or more.
int CreateDirectoryTree(const char* path);

// Removes the folder with everything in it, depth first; returns the number
// of files and folders removed and sets *error to 1 (never back to 0) when
// something could not be removed.  A folder link (junction, symbolic link)
// inside it is removed itself; what it points to is not touched.
int DeleteDirectoryTree(const char* folder, int* error);

// Removes a file (1 removed), or a folder: with `recursive` the whole tree
// (the number removed), else only an empty folder (1 removed).  Sets *error
// to 0 first, then to 1 on a failure.  A missing path gives 0 with *error 0;
// a folder path of 272 bytes or more gives 0 with *error 1.
int DeletePath(const char* path, int recursive, int* error);

// Copies `source` to `target`, first creating the target's folder chain.
// Non-zero on success; 0 when the target has no folder part, when a file
// holds the place of its folder, or when the copy fails (with `failIfExists`
// also when the target exists).
int CopyFileToPath(const char* source, const char* target, int failIfExists);

// The size of the file (low 32 bits), or 0 when it cannot be opened.
std::uint32_t GetFileLength(const char* path);

// When the file was last written, in seconds since 1970-01-01 UTC; false
// when nothing stands at the path.
bool GetLastWriteTime(const char* path, std::int64_t& seconds);
// Sets that time (a copy that keeps the time of what it copies); false when
// the system refuses.
bool SetLastWriteTime(const char* path, std::int64_t seconds);

// The number of files in the folder, with `recursive` also in its
// subfolders; folders and folder links are not counted or entered.  A path
// of 272 bytes or more, and a subfolder whose path would be that long, count
// 0.
int CountFiles(const char* folder, int recursive);

// The names of the files in the folder (not of its folders), in no order;
// none when it cannot be read.
std::vector<std::string> ListFileNames(const char* folder);

// Copies the part of `path` before its last backslash into `buffer` and
// returns its length; 0 (buffer untouched) when there is no backslash, it is
// the first byte, or the part does not fit in `size`.
int GetDirectoryPart(const char* path, char* buffer, int size);
