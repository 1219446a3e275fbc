// The About dialog (resource 104): name and version, the maker's copyright
// line, and buttons that open the maker's home page and a mail to the maker.
#pragma once

#include <windows.h>

// The maker's texts, shown and opened as they are.
inline constexpr const char* kMakerCopyright = "(C) 2026 Brindle-Works";
inline constexpr const char* kMakerHomePage = "https://brindle-works.example/tessaly/";
inline constexpr const char* kMakerMailAddress = "tessaly@brindle-works.example";
inline constexpr const char* kMakerMailUrl = "mailto:tessaly@brindle-works.example";

// Ends with 1 (OK) or 2 (close box).  Escape does not close it.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
