#include "app/language.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct LanguageCase {
  std::uint16_t uiLanguage;  // the user's display language
  const char* override;      // "Language" of Tessaly.ini
  const char* chosen;
};

const LanguageCase kCases[] = {
    {0x0411, "", "ja"},         // Japanese
    {0x0409, "", "en"},         // English (United States)
    {0x0809, "", "en"},         // English (United Kingdom)
    {0x0407, "", "en"},         // German: no texts of its own
    {0x0804, "", "en"},         // Chinese (simplified)
    {0x0000, "", "en"},         // neutral
    {0x0409, "ja", "ja"},       // the override wins
    {0x0411, "en", "en"},
    {0x0407, "JA", "ja"},       // in any case
    {0x0411, "english", "ja"},  // a broken override: the display language chooses
    {0x0409, "j", "en"},
    {0x0407, "de", "en"},       // a language without texts
};

TEST(Language, DisplayLanguageChoosesAndAKnownOverrideWins) {
  for (const LanguageCase& c : kCases) {
    const Language& chosen = ChooseLanguage(c.uiLanguage, c.override);
    EXPECT_STREQ(chosen.code, c.chosen) << std::hex << c.uiLanguage << " \"" << c.override << "\"";
  }
  EXPECT_EQ(ChooseLanguage(0x0411, "").resourceLanguage, 0x0411);
  EXPECT_EQ(ChooseLanguage(0x0407, "").resourceLanguage, 0x0409);
}

}  // namespace
