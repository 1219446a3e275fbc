#include "app/language.h"

#include <cstddef>
#include <iterator>

namespace {

// One line a language; the first serves every display language not listed.
const Language kLanguages[] = {
    {"en", 0x09, 0x0409},  // LANG_ENGLISH, SUBLANG_ENGLISH_US
    {"ja", 0x11, 0x0411},  // LANG_JAPANESE, SUBLANG_DEFAULT
};

bool SameCode(const std::string& text, const char* code) {
  std::size_t i = 0;
  for (; i < text.size() && code[i]; ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != code[i]) return false;
  }
  return i == text.size() && !code[i];
}

}  // namespace

const Language& FallbackLanguage() { return kLanguages[0]; }

const Language& ChooseLanguage(std::uint16_t uiLanguage, const std::string& override) {
  for (const Language& language : kLanguages) {
    if (SameCode(override, language.code)) return language;
  }
  const std::uint16_t primary = uiLanguage & 0x3FF;  // PRIMARYLANGID
  for (const Language& language : kLanguages) {
    if (language.primaryLanguage == primary) return language;
  }
  return FallbackLanguage();
}
