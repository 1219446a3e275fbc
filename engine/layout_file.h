// Layout files: per-resolution names, the writer, and the reader of the
// current format and of the older tab-separated one.
//
// A layout file is a profile (INI) file in code page 932:
//
//   [QVD-Fomat]            (spelled so: stored files carry this name)
//   Version=0.01
//   [QVD-Monitors]         the monitors it was saved on, where known
//   MonitorCount=m
//   MonitorId_0=...        then MonitorLeft_0, MonitorTop_0, MonitorWidth_0,
//                          MonitorHeight_0, MonitorDpi_0, MonitorPrimary_0
//                          (1 or 0), and so on to m - 1
//   [QVD-Data]
//   IconCount=n
//   IconName_0=...         then IconPosX_0, IconPosY_0, and so on to n - 1
//   IconUnicodeName_0=...  only where code page 932 cannot hold the name
//   IconParsingName_0=...  only where the shell gave one
//   IconMonitor_0=k        with several monitors: the one the icon stood on
//
// Places are the desktop's points, as earlier versions read them; an icon's
// place on its monitor is its point less the monitor's top-left corner
// (display_setup.h).
// Names are stored without quotes or escapes, as code page 932 shows them;
// numbers with "%d".  The whole name and the parsing name are UTF-8 with
// every byte beyond ASCII (and "%", quotes, controls, blanks at either end)
// written "%XX", so that any reader of code page 932 text passes them on
// unchanged (the monitors' ids too); earlier versions do not know these keys
// and the monitors' section, and read the rest as before.  The reader looks
// for the monitors' section before the data section, where the writer puts
// it.  A file whose Version is anything but "0.01" is read as the older
// text format: one icon a line, name TAB x TAB y.
#pragma once

#include "engine/displays.h"
#include "engine/icon_layout.h"
#include "framework/files/file_seam.h"

// Formats "<app data>\Brindle-Works\Tessaly\<name>.<tag>" into `buffer`
// (1024 bytes; the text is cut at 1023), `tag` being a setup's tag as
// SetupTag forms it (display_setup.h).  Returns 1, or 0 when the application-data
// folder is unknown; the buffer is then untouched.  No folder is created.
int GetLayoutFilePath(const char* name, const char* tag, char* buffer);

// Writes `layout` (names and places, in its order; not the indexes) to
// `path`, made whole in memory: the bytes that writing it value by value
// through CProfile gives.  A name is stored as the file keeps it (see
// StoredProfileValue): without surrounding blanks, and only up to a line
// break in it.  The new file is written through `files` beside the target and
// replaces it only once it was written whole, so a failed save leaves the
// previous file byte for byte.  Returns 1 when the layout is on disk, else 0
// (a folder of that name, a file that cannot be written, a missing folder, a
// full disk).
// `savedOn`: the monitors the layout was taken on, written with it (none
// written for a setup without monitors, as the second form does).
[[nodiscard]] int SaveLayoutFile(const char* path, const IconLayout& layout, const DisplaySetup& savedOn,
                                 FileSeam& files = GetRealFileSeam());
[[nodiscard]] int SaveLayoutFile(const char* path, const IconLayout& layout, FileSeam& files = GetRealFileSeam());

// Replaces `layout` with the layout stored at `path`, in file order, each
// entry's index its entry number.  The file is read once, and every value
// as CProfile would read it, straight from the file's bytes.  Returns 1 when read, 0 when
// the file is missing or cannot be opened.  Files without Version "0.01" are
// read with ReadLayoutText.  `savedOn`, when given, receives the monitors
// the file names (none for a file of an earlier version, the older format,
// or a monitors' section that is not whole), each entry's `monitor` being
// one of them or -1.
[[nodiscard]] int LoadLayoutFile(const char* path, IconLayout& layout, DisplaySetup* savedOn = nullptr);

// How many icons the layout file at `path` holds, as LoadLayoutFile would
// read them (the count of the current format, bounded as the reader bounds
// it), without reading them; -1 when it is no file of the current format.
int CountLayoutIcons(const char* path);

// The current format.  IconCount entries are read; missing names come back
// empty and missing coordinates as 0.  A count beyond what the file can hold
// is cut (see layout_file.cpp).  1 read, 0 when the file is missing or
// cannot be read.
int ReadLayoutProfile(const char* path, IconLayout& layout);

// The older format: name TAB x TAB y per line (numbers by the profile
// integer rule).  A line that does not split into exactly three fields gives
// an entry with an empty name at (0, 0).  1 read, 0 when the file cannot be
// opened.
int ReadLayoutText(const char* path, IconLayout& layout);
