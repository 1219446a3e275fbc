#include "app/texts_win.h"

#include "app/language.h"

namespace {

WORD textLanguage = 0x0409;

// The resource `name` of `type` in the language chosen, else in the language
// that serves every other display language.
const void* FindInLanguage(LPCWSTR type, LPCWSTR name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceExW(module, type, name, textLanguage);
  if (!found) found = FindResourceExW(module, type, name, FallbackLanguage().resourceLanguage);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  return loaded ? LockResource(loaded) : nullptr;
}

}  // namespace

void UseTextLanguage(WORD resourceLanguage) { textLanguage = resourceLanguage; }

// A string table holds its texts in blocks of 16, block id / 16 + 1, each
// text a length and that many UTF-16 units.
std::wstring LoadText(UINT id) {
  const auto* block =
      static_cast<const WCHAR*>(FindInLanguage(MAKEINTRESOURCEW(6), MAKEINTRESOURCEW((id >> 4) + 1)));  // RT_STRING
  if (!block) return std::wstring();
  for (UINT i = 0; i < (id & 15); ++i) block += 1 + *block;
  return std::wstring(block + 1, *block);
}

std::string LoadAnsiText(UINT id) {
  const std::wstring text = LoadText(id);
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

HMENU LoadLanguageMenu(UINT id) {
  const void* menu = FindInLanguage(MAKEINTRESOURCEW(4), MAKEINTRESOURCEW(id));  // RT_MENU
  return menu ? LoadMenuIndirectW(menu) : nullptr;
}

const DLGTEMPLATE* FindLanguageDialog(UINT id) {
  return static_cast<const DLGTEMPLATE*>(FindInLanguage(MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(id)));  // RT_DIALOG
}

int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) {
  return MessageBoxW(owner, text.c_str(), caption.c_str(), style);
}
