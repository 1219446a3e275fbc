// The languages Tessaly speaks, and which of them it speaks to this user.
// Windows' way: the user's display language if Tessaly has texts in it, else
// English; "Language" in Tessaly.ini ("ja", "en") overrides.  Each language's
// menus, dialogs and texts are resources under its LANGUAGE
// (resources/texts_<code>.rc).
#pragma once

#include <cstdint>
#include <string>

struct Language {
  const char* code;                // the value of "Language" in Tessaly.ini
  std::uint16_t primaryLanguage;   // the primary language of the display languages it serves (LANG_JAPANESE)
  std::uint16_t resourceLanguage;  // the LANGUAGE its resources are held under (0x0411)
};

/// The language of the texts for a user whose display language is
/// `uiLanguage` (a LANGID, as GetUserDefaultUILanguage gives it), with
/// `override` the "Language" of the settings file: a known code (any case)
/// wins; empty or unknown, the display language chooses, English where
/// Tessaly has no texts in it.
const Language& ChooseLanguage(std::uint16_t uiLanguage, const std::string& override);

/// The language of every display language without texts of its own.
const Language& FallbackLanguage();
