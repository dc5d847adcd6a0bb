#include "tarvela/runtime/colors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvela {
namespace {

TEST(Colors, RgbKeepsRedInTheLowByte) {
  EXPECT_EQ(RGBColor(255, 0, 0), clRed);
  EXPECT_EQ(RGBColor(0, 0, 255), clBlue);
  EXPECT_EQ(RGBColor(0x12, 0x34, 0x56), 0x563412);
  const std::uint32_t rgb = ColorToRGB(RGBColor(10, 20, 30));
  EXPECT_EQ(RedOf(rgb), 10);
  EXPECT_EQ(GreenOf(rgb), 20);
  EXPECT_EQ(BlueOf(rgb), 30);
}

TEST(Colors, SystemColoursResolveThroughTheDesktopScheme) {
  EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<std::uint32_t>(RGBColor(240, 240, 240)));
  EXPECT_EQ(ColorToRGB(clBtnHighlight), static_cast<std::uint32_t>(clWhite));
  EXPECT_EQ(ColorToRGB(clWindowText), static_cast<std::uint32_t>(clBlack));
  EXPECT_EQ(ColorToRGB(clInfoBk), static_cast<std::uint32_t>(RGBColor(255, 255, 225)));
  const std::uint32_t highlight = ColorToRGB(clHighlight);
  EXPECT_EQ(RedOf(highlight), 0);
  EXPECT_EQ(GreenOf(highlight), 120);
  EXPECT_EQ(BlueOf(highlight), 215);
}

TEST(Colors, NonSystemValuesLoseTheHighByte) {
  EXPECT_EQ(ColorToRGB(0x01123456), 0x123456u);
  EXPECT_EQ(ColorToRGB(clWhite), 0xFFFFFFu);
  // A system index the scheme lacks.
  EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF0000FFu)), 0u);
}

TEST(Colors, NoneAndDefaultAreDistinctMarkers) {
  EXPECT_NE(clNone, clDefault);
  EXPECT_NE(clNone, clWhite);
  EXPECT_NE(clDefault, clBlack);
  EXPECT_EQ(ColorToIdent(clNone), "clNone");
  EXPECT_EQ(ColorToIdent(clDefault), "clDefault");
}

TEST(Colors, IdentifiersRoundTrip) {
  const std::vector<std::string> names{
      "clBlack", "clMaroon", "clGreen", "clOlive", "clNavy", "clPurple", "clTeal", "clGray",
      "clSilver", "clRed", "clLime", "clYellow", "clBlue", "clFuchsia", "clAqua", "clWhite",
      "clNone", "clDefault", "clScrollBar", "clBackground", "clActiveCaption",
      "clInactiveCaption", "clMenu", "clWindow", "clWindowFrame", "clMenuText", "clWindowText",
      "clCaptionText", "clActiveBorder", "clInactiveBorder", "clAppWorkSpace", "clHighlight",
      "clHighlightText", "clBtnFace", "clBtnShadow", "clGrayText", "clBtnText",
      "clInactiveCaptionText", "clBtnHighlight", "cl3DDkShadow", "cl3DLight", "clInfoText",
      "clInfoBk"};
  for (const std::string& name : names) {
    TColor c = -1;
    ASSERT_TRUE(ColorFromIdent(name, c)) << name;
    EXPECT_EQ(ColorToIdent(c), name);
  }
}

TEST(Colors, ReadsIdentifiersWhateverTheirLetterCase) {
  TColor c = 0;
  ASSERT_TRUE(ColorFromIdent("CLWHITE", c));
  EXPECT_EQ(c, clWhite);
  ASSERT_TRUE(ColorFromIdent("clbtnface", c));
  EXPECT_EQ(c, clBtnFace);
}

TEST(Colors, RejectsUnknownIdentifiersAndKeepsTheValue) {
  TColor c = clRed;
  EXPECT_FALSE(ColorFromIdent("clPink", c));
  EXPECT_FALSE(ColorFromIdent("", c));
  EXPECT_FALSE(ColorFromIdent("clWhite ", c));
  EXPECT_EQ(c, clRed);
}

TEST(Colors, UnnamedColourIdentIsItsDecimalValue) {
  EXPECT_EQ(ColorToIdent(RGBColor(1, 2, 3)), "197121");  // 1 + 2*256 + 3*65536
  EXPECT_EQ(ColorToIdent(static_cast<TColor>(0xFF0000FFu)), "-16776961");
}

}  // namespace
}  // namespace tarvela
