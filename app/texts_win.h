// The menus, dialogs and texts of Tessaly.exe in the language chosen at start
// (language.h), found by that language: the resources of each language are
// held under its LANGUAGE, and Windows' own choice follows the thread's UI
// language, which not every system lets a program set.  Everything comes as
// UTF-16 and is shown through the wide calls, so that a text reaches the
// screen whole on any ANSI code page.
#pragma once

#include <windows.h>

#include <string>

/// From now on, the resources of `resourceLanguage` (as 0x0411).
void UseTextLanguage(WORD resourceLanguage);

/// The text `id` (IDS_... of resources/resource.h); empty when neither the
/// language chosen nor English has it.
std::wstring LoadText(UINT id);
/// The same in the ANSI code page, for what joins it with file names.
std::string LoadAnsiText(UINT id);

/// The menu `id`, loaded; the caller destroys it.  Null when missing.
HMENU LoadLanguageMenu(UINT id);
/// The template of the dialog `id`; null when missing.
const DLGTEMPLATE* FindLanguageDialog(UINT id);

/// A message box with the texts as they are (MessageBoxW).
int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style);
