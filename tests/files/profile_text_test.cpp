// Properties of the portable profile engine over many generated files: the
// written form reads back as itself, a write changes only its own value, and
// no read writes past its buffer.  Deterministic (fixed seed), so a failure
// prints the file that shows it.
#include "framework/files/profile_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/files/escaped_text.h"

namespace {

// Pieces that cross every rule of the format.
const char* const kPieces[] = {"[", "]", "=", ";", " ", "\t", "\r", "\n", "\r\n", "\"", "'", "a", "B", "k",
                               "S", "表", "ソ", "ｱ", "x=1", "[S]", "[s]", "\n[T]\n", "\nk=v\n", "\xEF\xBB\xBF"};

std::string RandomFile(std::mt19937& random) {
  std::uniform_int_distribution<size_t> pieceCount(0, 40);
  std::uniform_int_distribution<size_t> piece(0, sizeof kPieces / sizeof kPieces[0] - 1);
  std::string text;
  for (size_t n = pieceCount(random); n > 0; --n) text += kPieces[piece(random)];
  return text;
}

using testfiles::Escaped;

std::string Get(const ProfileText& text, const char* section, const char* key) {
  char buffer[512];
  int n = text.Get(section, key, "<absent>", buffer, sizeof buffer);
  return std::string(buffer, static_cast<size_t>(n));
}

TEST(ProfileText, WrittenFormReadsBackAsItself) {
  std::mt19937 random(20261207);
  for (int i = 0; i < 3000; ++i) {
    std::string file = RandomFile(random);
    std::string once = ProfileText::Parse(file).Format();
    std::string twice = ProfileText::Parse(once).Format();
    ASSERT_EQ(twice, once) << "file: " << Escaped(file);
  }
}

TEST(ProfileText, AWriteChangesOnlyItsOwnValue) {
  std::mt19937 random(7);
  const char* sections[] = {"S", "s", "T", "表", ""};
  const char* keys[] = {"k", "K", "x", "ソフト", "a b"};
  const char* values[] = {"v", "", "a=b", " padded ", "\"q\"", "表\\", ";c"};
  std::uniform_int_distribution<size_t> pick(0, 4);
  std::uniform_int_distribution<size_t> pickValue(0, 6);
  for (int i = 0; i < 2000; ++i) {
    std::string file = RandomFile(random);
    ProfileText text = ProfileText::Parse(file);
    const char* section = sections[pick(random)];
    const char* key = keys[pick(random)];
    const char* value = values[pickValue(random)];

    std::vector<std::string> before;
    for (const char* s : sections)
      for (const char* k : keys) before.push_back(Get(text, s, k));

    text.Set(section, key, value);
    ProfileText reread = ProfileText::Parse(text.Format());
    ProfileText expected = ProfileText::Parse("[x]\nv=" + std::string(value));
    ASSERT_EQ(Get(reread, section, key), Get(expected, "x", "v")) << "file: " << Escaped(file);

    size_t n = 0;
    for (const char* s : sections)
      for (const char* k : keys) {
        bool same = (std::strcmp(s, section) == 0 || (s[0] == 's' && section[0] == 'S') ||
                     (s[0] == 'S' && section[0] == 's')) &&
                    (std::strcmp(k, key) == 0 || (k[0] == 'k' && key[0] == 'K') || (k[0] == 'K' && key[0] == 'k'));
        if (!same) {
          EXPECT_EQ(Get(reread, s, k), before[n]) << s << "/" << k << " file: " << Escaped(file);
        }
        ++n;
      }
  }
}

TEST(ProfileText, ReadsStayInsideTheirBuffers) {
  std::mt19937 random(99);
  for (int i = 0; i < 2000; ++i) {
    ProfileText text = ProfileText::Parse(RandomFile(random));
    for (int size = 0; size < 6; ++size) {
      for (int kind = 0; kind < 3; ++kind) {
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        const char* section = kind == 2 ? nullptr : "S";
        const char* key = kind == 0 ? "k" : nullptr;
        int n = text.Get(section, key, "default", buffer, size);
        ASSERT_GE(n, 0);
        ASSERT_LE(n, size > 0 ? size - 1 : 0);
        for (int b = size; b < 16; ++b) ASSERT_EQ(buffer[b], '#') << "size " << size;
      }
    }
  }
}

}  // namespace
