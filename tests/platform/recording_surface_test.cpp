// The draw log format and the fixed text metrics that geometry tests and golden draw
// logs rely on.
#include "tarvela/platform/recording_surface.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <memory>

namespace tarvela {
namespace {

TEST(RecordingSurface, RecordsEachDrawingCommandWithTheStateItUses) {
  RecordingSurface surface;
  surface.SetPen({clBlack, 1, psSolid, pmCopy, false});
  surface.SetBrush({clRed, bsSolid, std::nullopt});
  surface.Rectangle(24, 23, 441, 314);
  surface.SetPen({clBlue, 2, psClear, pmNotXor, false});
  surface.SetBrush({clBtnFace, bsClear, std::nullopt});
  const std::array<TPoint, 3> points{TPoint{1, 2}, TPoint{3, -4}, TPoint{5, 6}};
  surface.Polygon(points);
  surface.SetPen({clGreen, 3, psInsideFrame, pmXor, false});
  surface.Polyline(points);
  surface.Ellipse(0, 0, 10, 8);
  surface.RoundRect(0, 0, 10, 8, 4, 2);
  surface.Arc(0, 0, 10, 10, 10, 5, 5, 0);
  surface.Pie(0, 0, 10, 10, 10, 5, 5, 0);
  surface.SetPixel(3, 4, clYellow);
  surface.FillRect({0, 0, 4, 4});
  surface.SelectClipRect({1, 1, 5, 5});
  surface.SelectClipPolygon(points);
  surface.RemoveClipping();
  EXPECT_EQ(surface.Text(),
            "Rectangle 24,23,441,314 pen=#000000/1/solid/copy brush=#FF0000/solid\n"
            "Polygon 1,2 3,-4 5,6 pen=#0000FF/2/clear/notxor brush=#F0F0F0/clear\n"
            "Polyline 1,2 3,-4 5,6 pen=#008000/3/insideframe/xor\n"
            "Ellipse 0,0,10,8 pen=#008000/3/insideframe/xor brush=#F0F0F0/clear\n"
            "RoundRect 0,0,10,8 corner=4,2 pen=#008000/3/insideframe/xor brush=#F0F0F0/clear\n"
            "Arc 0,0,10,10 start=10,5 end=5,0 pen=#008000/3/insideframe/xor\n"
            "Pie 0,0,10,10 start=10,5 end=5,0 pen=#008000/3/insideframe/xor brush=#F0F0F0/clear\n"
            "SetPixel 3,4 #FFFF00\n"
            "FillRect 0,0,4,4 brush=#F0F0F0/clear\n"
            "SelectClipRect 1,1,5,5\n"
            "SelectClipPolygon 1,2 3,-4 5,6\n"
            "RemoveClipping\n");
}

TEST(RecordingSurface, BackgroundIsRecordedWhereItShowsAndOnlyThere) {
  RecordingSurface surface;
  surface.SetBackgroundColor(clAqua);
  surface.SetBackgroundMode(BkMode::Opaque);
  surface.Line(0, 0, 5, 0);
  surface.SetPenStyle(psDot);
  surface.Line(0, 0, 5, 0);
  surface.SetAlternatePen(clRed);
  surface.SetBackgroundMode(BkMode::Transparent);
  surface.Line(0, 0, 5, 0);
  surface.SetBrush({clNavy, bsDiagCross, std::nullopt});
  surface.FillRect({0, 0, 2, 2});
  surface.Rectangle(0, 0, 2, 2);
  surface.SetBrushPattern(Picture(2, 1, Picture::kOpaqueBlack));
  surface.PatternFill(0, 0, 2, 2);
  EXPECT_EQ(surface.Text(),
            "LineTo 0,0 5,0 pen=#000000/1/solid/copy\n"
            "LineTo 0,0 5,0 pen=#000000/1/dot/copy bk=#00FFFF\n"
            "LineTo 0,0 5,0 pen=#FF0000/1/alternate/copy bk=transparent\n"
            "FillRect 0,0,2,2 brush=#000080/diagcross bk=transparent\n"
            "Rectangle 0,0,2,2 pen=#FF0000/1/alternate/copy brush=#000080/diagcross bk=transparent\n"
            "PatternFill 0,0,2,2 brush=pattern/2x1/" +
                [] {
                  char digest[9];
                  std::snprintf(digest, sizeof digest, "%08X", Picture(2, 1, Picture::kOpaqueBlack).Checksum());
                  return std::string(digest);
                }() +
                "\n");
}

TEST(RecordingSurface, TextLinesQuoteTheTextAndCarryFontAlignmentAndBackground) {
  RecordingSurface surface;
  SurfaceFont font;
  font.name = "Times New Roman";
  font.SetSize(8);
  font.style = FontStyleBit(fsBold) | FontStyleBit(fsItalic);
  font.color = clMaroon;
  font.escapement = 4500;  // kept as given, not reduced
  surface.SetFont(font);
  surface.SetTextAlign(kTextAlignCenter | kTextAlignBaseline);
  surface.SetBackgroundMode(BkMode::Transparent);
  surface.TextOut(10, 20, "a \"b\"\\\r\x01");
  surface.SetFont(SurfaceFont());
  surface.SetTextAlign(kTextAlignRight | kTextAlignBottom);
  surface.SetBackgroundMode(BkMode::Opaque);
  surface.TextOut(-1, 0, "x");
  EXPECT_EQ(surface.Text(),
            "TextOut 10,20 \"a \\\"b\\\"\\\\\\r\\x01\" font=\"Times New Roman\"/-11/bold+italic/#800000/4500 "
            "align=center|baseline bk=transparent\n"
            "TextOut -1,0 \"x\" font=\"Arial\"/-13/regular/#000000/0 align=right|bottom bk=#FFFFFF\n");
}

TEST(RecordingSurface, TextMetricsFollowTheDocumentedIntegerRules) {
  RecordingSurface surface;
  SurfaceFont font;
  font.SetSize(8);  // -11 at 96 pixels per inch
  surface.SetFont(font);
  EXPECT_EQ(surface.TextExtent("Hello"), (TextSize{30, 13}));
  EXPECT_EQ(surface.TextExtent(""), (TextSize{0, 13}));
  EXPECT_EQ(surface.TextWidth("\xC3\xA4\xE2\x82\xAC"), 12);  // two characters, five bytes

  font.height = -13;
  surface.SetFont(font);
  EXPECT_EQ(surface.TextExtent("W"), (TextSize{7, 15}));
  font.style = FontStyleBit(fsBold);
  surface.SetFont(font);
  EXPECT_EQ(surface.TextWidth("W"), 7);

  font.height = 13;  // a cell height
  surface.SetFont(font);
  EXPECT_EQ(RecordingSurface::CharacterHeight(surface.Font()), 11);
  EXPECT_EQ(surface.TextExtent("ab"), (TextSize{12, 13}));

  font.height = -1;
  surface.SetFont(font);
  EXPECT_EQ(surface.TextExtent("ab"), (TextSize{2, 1}));
  EXPECT_TRUE(surface.Lines().empty());
}

TEST(RecordingSurface, BitmapCommandsArePrefixedAndTheCopyNamesTheBitmap) {
  RecordingSurface window;
  window.SetBrush({clBlue, bsSolid, std::nullopt});
  std::unique_ptr<OffscreenBitmap> bitmap = window.CreateOffscreen(465, 337, false);
  Surface& buffer = bitmap->DrawingSurface();
  EXPECT_EQ(buffer.Brush().color, clWhite);  // a bitmap's surface starts with its own state
  buffer.FillRect({0, 0, 465, 337});
  const std::unique_ptr<OffscreenBitmap> mask = buffer.CreateOffscreen(4, 4, true);
  mask->DrawingSurface().SetPixel(1, 1, clBlack);
  window.CopyBitmap(8, 48, *bitmap);
  EXPECT_EQ(window.Text(),
            "CreateOffscreen bitmap1 465x337 color\n"
            "bitmap1: FillRect 0,0,465,337 brush=#FFFFFF/solid\n"
            "bitmap1: CreateOffscreen bitmap2 4x4 mono\n"
            "bitmap2: SetPixel 1,1 #000000\n"
            "CopyBitmap 8,48 bitmap1 465x337\n");
  EXPECT_EQ(static_cast<RecordingSurface&>(buffer).Lines(), window.Lines());
  EXPECT_EQ(bitmap->Snapshot(), Picture(465, 337));
  EXPECT_EQ(window.GetPixel(1, 1), clNone);

  static_cast<RecordingSurface&>(buffer).Clear();
  EXPECT_TRUE(window.Lines().empty());
}

// A paint of millions of commands is counted without keeping its text; the limit and
// the count are the log's, so a bitmap's commands count with the surface's.
TEST(RecordingSurface, LineLimitKeepsTheFirstLinesAndCountsEveryCommand) {
  RecordingSurface window;
  window.SetLineLimit(2);
  std::unique_ptr<OffscreenBitmap> bitmap = window.CreateOffscreen(4, 4, false);
  for (int i = 0; i < 3; ++i) bitmap->DrawingSurface().SetPixel(i, 0, clBlack);
  window.CopyBitmap(0, 0, *bitmap);
  EXPECT_EQ(window.Text(), "CreateOffscreen bitmap1 4x4 color\nbitmap1: SetPixel 0,0 #000000\n");
  EXPECT_EQ(window.CommandCount(), 5u);
  window.Clear();
  EXPECT_EQ(window.CommandCount(), 0u);
  window.SetPixel(9, 9, clBlack);
  EXPECT_EQ(window.Text(), "SetPixel 9,9 #000000\n");
}

TEST(RecordingSurface, BitmapOutlivesTheSurfaceThatMadeIt) {
  std::unique_ptr<OffscreenBitmap> bitmap;
  {
    RecordingSurface firstPaint;
    bitmap = firstPaint.CreateOffscreen(10, 10, false);
  }
  bitmap->DrawingSurface().FillRect({0, 0, 10, 10});
  RecordingSurface secondPaint;
  secondPaint.CopyBitmap(0, 0, *bitmap);
  EXPECT_EQ(secondPaint.Text(), "CopyBitmap 0,0 bitmap1 10x10\n");
  EXPECT_EQ(static_cast<RecordingSurface&>(bitmap->DrawingSurface()).Lines().back(),
            "bitmap1: FillRect 0,0,10,10 brush=#FFFFFF/solid");
}

TEST(RecordingSurface, PicturesAreNamedBySizeAndContent) {
  Picture picture(3, 2, Picture::kOpaqueWhite);
  Picture other = picture;
  other.SetColor(2, 1, clRed);
  Picture transposed(2, 3, Picture::kOpaqueWhite);
  EXPECT_NE(picture.Checksum(), other.Checksum());
  EXPECT_NE(picture.Checksum(), transposed.Checksum());
  EXPECT_EQ(other.ColorAt(2, 1), clRed);
  EXPECT_EQ(other.Pixel(2, 1), 0xFFFF0000u);

  RecordingSurface surface;
  surface.DrawPicture(1, 2, picture);
  surface.DrawPicture(1, 2, Picture(3, 2, Picture::kOpaqueWhite));
  ASSERT_EQ(surface.Lines().size(), 2u);
  EXPECT_EQ(surface.Lines()[0], surface.Lines()[1]);
  EXPECT_EQ(surface.Lines()[0].rfind("DrawPicture 1,2 picture=3x2/", 0), 0u);
}

}  // namespace
}  // namespace tarvela
