// The build turns the UTF-8 sources' literals into code page 932 bytes, on
// both compilers: every message and stored key of the program relies on it.
#include <gtest/gtest.h>

#include <cstring>

TEST(ExecutionCharset, JapaneseLiteralsAreCodePage932) {
  // "エラー": katakana E, katakana RA, the long-vowel mark.
  EXPECT_STREQ("エラー", "\x83\x47\x83\x89\x81\x5b");
  // "表" is the classic character whose second byte is a backslash.
  EXPECT_STREQ("表", "\x95\x5c");
  EXPECT_EQ(std::strlen("アイコン位置を保存する(&S)"), 26u);
}
