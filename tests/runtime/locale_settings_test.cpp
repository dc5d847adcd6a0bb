#include "tarvela/runtime/locale_settings.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvela {
namespace {

std::string Utf8(char32_t ch) {
  std::string text;
  AppendUtf8(text, ch);
  return text;
}

TEST(AppendUtf8, EncodesEachLengthAtItsBoundaries) {
  EXPECT_EQ(Utf8(U'A'), "A");
  EXPECT_EQ(Utf8(0x7F), "\x7F");
  EXPECT_EQ(Utf8(0x80), "\xC2\x80");
  EXPECT_EQ(Utf8(0x800), "\xE0\xA0\x80");
  EXPECT_EQ(Utf8(0x066B), "\xD9\xAB");
  EXPECT_EQ(Utf8(0xFFFF), "\xEF\xBF\xBF");
  EXPECT_EQ(Utf8(0x10000), "\xF0\x90\x80\x80");
  EXPECT_EQ(Utf8(0x10FFFF), "\xF4\x8F\xBF\xBF");
}

TEST(AppendUtf8, WritesTheReplacementCharacterForNonCharacters) {
  EXPECT_EQ(Utf8(0xD800), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8(0x110000), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tarvela
