// The texts Tessaly shows are resources: a string table per language
// (resources/texts_<code>.rc), each text under its id of resources/resource.h
// (IDS_...).  The host (app_host.h) gives them in the language chosen at start
// (language.h); this file holds what is done with them.
#pragma once

#include <string>

// The name the program shows itself by: the title of its windows and boxes.
inline constexpr const char* kDisplayName = "Pavane";

/// `text` with its first "%d" replaced by `number`; a text without one is
/// given back as it is.  (The texts are no format strings: a translation that
/// holds another "%" cannot make the program read what is not there.)
template <class Text>
Text WithNumber(Text text, int number) {
  using Char = typename Text::value_type;
  const Char mark[] = {Char('%'), Char('d'), Char(0)};
  const typename Text::size_type at = text.find(mark);
  if (at == Text::npos) return text;
  const std::string digits = std::to_string(number);
  return text.replace(at, 2, Text(digits.begin(), digits.end()));
}
