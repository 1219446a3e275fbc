// The About dialog (resource 104): name and version, the maker's copyright
// line, and buttons that open the maker's home page and a mail to the maker.
#pragma once

#include <windows.h>

#include "about_addresses.h"

// The maker's texts, shown and opened as they are.  The two addresses are the
// build's (see the README); an empty one leaves its button disabled.
inline constexpr const char* kMakerCopyright = "(C) 2026 Brindle-Works";
inline constexpr const char* kMakerHomePage = TESSALY_HOME_PAGE;
inline constexpr const char* kMakerMailAddress = TESSALY_MAIL_ADDRESS;
inline constexpr const char* kMakerMailUrl = "mailto:" TESSALY_MAIL_ADDRESS;

// Ends with 1 (OK) or 2 (close box).  Escape does not close it.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
