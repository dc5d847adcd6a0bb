// The public operations of Surface normalise before any implementation sees the call;
// the recording surface shows what reached the hook.
#include "tarvela/platform/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "tarvela/platform/recording_surface.h"
#include "tarvela/runtime/rounding.h"

namespace tarvela {
namespace {

// The line without its pen and brush fields.
std::string Command(const std::string& line) {
  return line.substr(0, std::min(line.find(" pen="), line.find(" brush=")));
}

TEST(Surface, RectanglesGivenInAnyCornerOrderReachTheHookInOrder) {
  RecordingSurface surface;
  surface.Rectangle(10, 20, 0, 5);
  surface.Ellipse(10, 5, 0, 20);
  surface.RoundRect(0, 20, 10, 5, -4, -6);
  surface.FillRect({10, 20, 0, 5});
  surface.Arc(10, 20, 0, 5, 10, 12, 5, 5);
  surface.StretchPicture({10, 20, 0, 5}, Picture(2, 2));
  surface.IntersectClipRect({10, 20, 0, 5});
  const std::vector<std::string>& lines = surface.Lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(Command(lines[0]), "Rectangle 0,5,10,20");
  EXPECT_EQ(Command(lines[1]), "Ellipse 0,5,10,20");
  EXPECT_EQ(Command(lines[2]), "RoundRect 0,5,10,20 corner=4,6");
  EXPECT_EQ(Command(lines[3]), "FillRect 0,5,10,20");
  EXPECT_EQ(Command(lines[4]), "Arc 0,5,10,20 start=10,12 end=5,5");
  EXPECT_EQ(lines[5].rfind("StretchPicture 0,5,10,20 ", 0), 0u);
  EXPECT_EQ(lines[6], "IntersectClipRect 0,5,10,20");
}

TEST(Surface, NegativePatternFillExtentsCoverTowardSmallerCoordinates) {
  RecordingSurface surface;
  surface.PatternFill(10, 20, -4, -3);
  surface.PatternFill(10, 20, 4, -3);
  surface.PatternFill(10, 20, 4, 3);
  // Gradient bands from the bottom edge upward: offsets 0..2 and 2..5 of a 337-pixel rect.
  surface.PatternFill(0, 337 - 0, 465, -2);
  surface.PatternFill(0, 337 - 2, 465, -3);
  const std::vector<std::string>& lines = surface.Lines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(Command(lines[0]), "PatternFill 6,17,10,20");
  EXPECT_EQ(Command(lines[1]), "PatternFill 10,17,14,20");
  EXPECT_EQ(Command(lines[2]), "PatternFill 10,20,14,23");
  EXPECT_EQ(Command(lines[3]), "PatternFill 0,335,465,337");
  EXPECT_EQ(Command(lines[4]), "PatternFill 0,332,465,335");
}

TEST(Surface, CallsThatCanCoverNoPixelReachNoHookButClippingAlwaysDoes) {
  RecordingSurface surface;
  const std::array<TPoint, 1> onePoint{TPoint{3, 3}};
  surface.Rectangle(5, 0, 5, 10);
  surface.Ellipse(0, 5, 10, 5);
  surface.FillRect({3, 3, 3, 9});
  surface.PatternFill(3, 3, 0, 9);
  surface.Polyline(onePoint);
  surface.Polygon(onePoint);
  surface.TextOut(1, 1, "");
  surface.DrawPicture(0, 0, Picture());
  surface.StretchPicture({0, 0, 0, 10}, Picture(2, 2));
  EXPECT_TRUE(surface.Lines().empty()) << surface.Text();

  surface.IntersectClipRect({4, 4, 4, 4});
  surface.SelectClipPolygon({});
  surface.MoveTo(2, 2);
  surface.LineTo(2, 2);
  EXPECT_EQ(surface.Text(),
            "IntersectClipRect 4,4,4,4\nSelectClipPolygon\nLineTo 2,2 2,2 pen=#000000/1/solid/copy\n");
}

TEST(Surface, LineToDrawsFromThePenPositionAndMovesIt) {
  RecordingSurface surface;
  surface.MoveTo(1, 2);
  surface.LineTo(5, 6);
  surface.LineTo(-3, 7);
  surface.Line(10, 10, 20, 10);
  EXPECT_EQ(surface.PenPos(), (TPoint{20, 10}));
  ASSERT_EQ(surface.Lines().size(), 3u);
  EXPECT_EQ(Command(surface.Lines()[0]), "LineTo 1,2 5,6");
  EXPECT_EQ(Command(surface.Lines()[1]), "LineTo 5,6 -3,7");
  EXPECT_EQ(Command(surface.Lines()[2]), "LineTo 10,10 20,10");
}

TEST(Surface, StateIsResolvedWhenSetAndKeptAsResolved) {
  RecordingSurface surface;
  surface.SetPen({clBtnShadow, 0, psDash, pmNotXor, false});
  EXPECT_EQ(surface.Pen().color, static_cast<TColor>(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(surface.Pen().width, 1);
  surface.SetPenWidth(-4);
  EXPECT_EQ(surface.Pen().width, 1);

  surface.SetPenWidth(3);
  surface.SetAlternatePen(clRed);
  EXPECT_TRUE(surface.Pen().alternate);
  EXPECT_EQ(surface.Pen().width, 1);
  EXPECT_EQ(surface.Pen().mode, pmNotXor);
  surface.SetPenWidth(5);
  EXPECT_EQ(surface.Pen().width, 1);
  surface.SetPenStyle(psDot);
  EXPECT_FALSE(surface.Pen().alternate);

  surface.SetBrush({clBtnFace, bsCross, Picture()});
  EXPECT_EQ(surface.Brush().color, static_cast<TColor>(ColorToRGB(clBtnFace)));
  EXPECT_FALSE(surface.Brush().pattern.has_value());
  surface.SetBrushPattern(Picture(8, 8));
  EXPECT_TRUE(surface.Brush().pattern.has_value());
  surface.ClearBrushPattern();
  EXPECT_FALSE(surface.Brush().pattern.has_value());

  SurfaceFont font;
  font.height = 0;
  font.pixelsPerInch = 0;
  font.color = clWindowText;
  font.escapement = 7200;
  surface.SetFont(font);
  EXPECT_EQ(surface.Font().pixelsPerInch, 96);
  EXPECT_EQ(surface.Font().height, -13);
  EXPECT_EQ(surface.Font().color, static_cast<TColor>(ColorToRGB(clWindowText)));
  EXPECT_EQ(surface.Font().escapement, 7200);

  surface.SetBackgroundColor(clBtnHighlight);
  EXPECT_EQ(surface.BackgroundColor(), static_cast<TColor>(ColorToRGB(clBtnHighlight)));
}

TEST(SurfaceFont, SizeAndHeightConvertThroughMulDiv) {
  SurfaceFont font;
  font.pixelsPerInch = 96;
  font.SetSize(8);
  EXPECT_EQ(font.height, -11);
  EXPECT_EQ(font.Size(), 8);
  font.pixelsPerInch = 120;
  font.SetSize(8);
  EXPECT_EQ(font.height, -MulDiv(8, 120, 72));
  font.height = 15;  // a cell height reads as a negative size
  EXPECT_EQ(font.Size(), -MulDiv(15, 72, 120));
}

TEST(Surface, TextAlignmentFlagsSplitIntoHorizontalAndVerticalParts) {
  EXPECT_EQ(HorizontalAlignOf(kTextAlignLeft), HorizontalAlign::Left);
  EXPECT_EQ(HorizontalAlignOf(kTextAlignRight | kTextAlignBottom), HorizontalAlign::Right);
  EXPECT_EQ(HorizontalAlignOf(kTextAlignCenter | kTextAlignBaseline), HorizontalAlign::Center);
  EXPECT_EQ(VerticalAlignOf(kTextAlignCenter), VerticalAlign::Top);
  EXPECT_EQ(VerticalAlignOf(kTextAlignRight | kTextAlignBottom), VerticalAlign::Bottom);
  EXPECT_EQ(VerticalAlignOf(kTextAlignBaseline), VerticalAlign::Baseline);
}

TEST(Surface, OffscreenSizesBelowOneBecomeOne) {
  RecordingSurface surface;
  const auto bitmap = surface.CreateOffscreen(0, -5, false);
  EXPECT_EQ(bitmap->Width(), 1);
  EXPECT_EQ(bitmap->Height(), 1);
  EXPECT_EQ(surface.Lines().back(), "CreateOffscreen bitmap1 1x1 color");
}

}  // namespace
}  // namespace tarvela
