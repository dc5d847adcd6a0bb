// Pixel tests of QtSurface on images: what only the picture shows (exact coverage,
// pen modes, hatches, clipping, text really drawn, bitmap copies).
#include "tarvela/widgets/qt_surface.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QSvgGenerator>
#include <array>
#include <functional>
#include <vector>

namespace tarvela {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kRed = 0xFFFF0000u;

QImage Filled(int width, int height, QRgb color = kWhite) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

// The pixels that differ from the background: their bounding box and their number.
struct Ink {
  QRect bounds;
  int count = 0;
};

Ink InkOf(const QImage& image, QRgb background = kWhite, QRect area = QRect()) {
  Ink ink;
  if (area.isNull()) area = image.rect();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixel(x, y) == background) continue;
      ink.bounds |= QRect(x, y, 1, 1);
      ++ink.count;
    }
  }
  return ink;
}

QImage Draw(int width, int height, const std::function<void(QtSurface&)>& draw, QRgb background = kWhite) {
  QImage image = Filled(width, height, background);
  {
    QtSurface surface(image);
    draw(surface);
  }
  return image;
}

TEST(QtSurface, RectangleCoversLeftToRightMinusOneWithItsOutline) {
  const auto drawRectangle = [](int l, int t, int r, int b) {
    return Draw(14, 14, [&](QtSurface& s) {
      s.SetBrushColor(clRed);
      s.Rectangle(l, t, r, b);
    });
  };
  const QImage image = drawRectangle(2, 3, 12, 13);
  const Ink ink = InkOf(image);
  EXPECT_EQ(ink.bounds, QRect(QPoint(2, 3), QPoint(11, 12)));
  EXPECT_EQ(ink.count, 100);
  for (const QPoint corner : {QPoint(2, 3), QPoint(11, 3), QPoint(11, 12), QPoint(2, 12)}) {
    EXPECT_EQ(image.pixel(corner), kBlack) << corner.x() << "," << corner.y();
  }
  EXPECT_EQ(image.pixel(3, 4), kRed);
  EXPECT_EQ(image.pixel(10, 11), kRed);
  EXPECT_EQ(drawRectangle(12, 13, 2, 3), image);

  const QImage single = Draw(5, 5, [](QtSurface& s) { s.Rectangle(1, 1, 2, 4); });
  EXPECT_EQ(InkOf(single).bounds, QRect(1, 1, 1, 3));

  const QImage insideFrame = Draw(14, 14, [](QtSurface& s) {
    s.SetPen({clBlack, 3, psInsideFrame, pmCopy, false});
    s.SetBrushColor(clRed);
    s.Rectangle(2, 3, 12, 13);
  });
  EXPECT_EQ(InkOf(insideFrame).bounds, QRect(QPoint(2, 3), QPoint(11, 12)));
  EXPECT_EQ(insideFrame.pixel(4, 7), kBlack);
  EXPECT_EQ(insideFrame.pixel(5, 7), kRed);
  EXPECT_EQ(insideFrame.pixel(9, 7), kBlack);
  EXPECT_EQ(insideFrame.pixel(8, 7), kRed);
}

TEST(QtSurface, FillsCoverExactlyTheNormalisedRectangle) {
  const QImage image = Draw(20, 20, [](QtSurface& s) {
    s.SetPenColor(clBlue);  // fills have no outline
    s.SetBrushColor(clRed);
    s.FillRect({7, 9, 2, 3});
    s.SetBrushColor(clLime);
    s.PatternFill(18, 18, -4, -3);
  });
  const Ink red = InkOf(image, kWhite, QRect(0, 0, 10, 12));
  EXPECT_EQ(red.bounds, QRect(2, 3, 5, 6));
  EXPECT_EQ(red.count, 30);
  const Ink green = InkOf(image, kWhite, QRect(10, 12, 10, 8));
  EXPECT_EQ(green.bounds, QRect(14, 15, 4, 3));
  EXPECT_EQ(green.count, 12);
  EXPECT_EQ(image.pixel(14, 15), 0xFF00FF00u);
}

TEST(QtSurface, LineToLeavesOutItsEndPointInEveryDirection) {
  for (int dx = -1; dx <= 1; ++dx) {
    for (int dy = -1; dy <= 1; ++dy) {
      if (dx == 0 && dy == 0) continue;
      const QImage image = Draw(21, 21, [&](QtSurface& s) { s.Line(10, 10, 10 + 5 * dx, 10 + 5 * dy); });
      SCOPED_TRACE(testing::Message() << "direction " << dx << "," << dy);
      EXPECT_EQ(image.pixel(10, 10), kBlack);
      EXPECT_EQ(image.pixel(10 + 4 * dx, 10 + 4 * dy), kBlack);
      EXPECT_EQ(image.pixel(10 + 5 * dx, 10 + 5 * dy), kWhite);
      EXPECT_EQ(InkOf(image).count, 5);
    }
  }
  const QImage shallow = Draw(21, 21, [](QtSurface& s) { s.Line(2, 2, 17, 7); });
  EXPECT_EQ(InkOf(shallow).count, 15);
  EXPECT_EQ(shallow.pixel(17, 7), kWhite);

  EXPECT_EQ(InkOf(Draw(9, 9, [](QtSurface& s) { s.Line(4, 4, 4, 4); })).count, 0);
  const QImage dot = Draw(9, 9, [](QtSurface& s) {
    s.SetPenWidth(3);
    s.Line(4, 4, 4, 4);
  });
  EXPECT_GT(InkOf(dot).count, 0);
  EXPECT_TRUE(QRect(2, 2, 5, 5).contains(InkOf(dot).bounds));
}

TEST(QtSurface, LinesFarBeyondTheDeviceDrawOnlyTheirVisiblePart) {
  const QImage image = Draw(20, 20, [](QtSurface& s) {
    s.Line(-2000000000, 5, 2000000000, 5);
    s.Line(7, -1500000, 7, 1500000);
    s.Line(-3000000, -3000000, 3000000, 3000000);
    s.Line(-50, 40, 50, 40);  // entirely below the image
    s.SetPenMode(pmNotXor);
    s.SetBrushStyle(bsClear);
    s.Rectangle(-2000000000, -2000000000, 2000000000, 2000000000);  // outline outside: nothing
    s.SetPenMode(pmCopy);
    s.PatternFill(2147483600, 0, 100, 100);                          // extent clamped, far away
  });
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(image.pixel(i, 5), kBlack) << i;
    EXPECT_EQ(image.pixel(7, i), kBlack) << i;
    EXPECT_EQ(image.pixel(i, i), kBlack) << i;
  }
  EXPECT_EQ(InkOf(image).count, 20 + 19 + 18);
}

TEST(QtSurface, PolylineLeavesOutOnlyItsLastPoint) {
  const std::array<TPoint, 4> points{TPoint{1, 1}, TPoint{8, 1}, TPoint{8, 8}, TPoint{1, 8}};
  const QImage image = Draw(10, 10, [&](QtSurface& s) { s.Polyline(points); });
  EXPECT_EQ(InkOf(image).count, 21);
  EXPECT_EQ(image.pixel(8, 1), kBlack);
  EXPECT_EQ(image.pixel(8, 8), kBlack);
  EXPECT_EQ(image.pixel(2, 8), kBlack);
  EXPECT_EQ(image.pixel(1, 8), kWhite);
}

TEST(QtSurface, PolygonFillsByTheAlternateRuleAndOutlinesEveryVertex) {
  // An outer and an inner ring in the same direction: the alternate rule leaves a hole
  // where the winding rule would fill.
  const std::vector<TPoint> rings{{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0}, {5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}};
  const QImage image = Draw(22, 22, [&](QtSurface& s) {
    s.SetPenStyle(psClear);
    s.SetBrushColor(clRed);
    s.Polygon(rings);
  });
  EXPECT_EQ(image.pixel(10, 10), kWhite);
  EXPECT_EQ(image.pixel(2, 10), kRed);
  EXPECT_EQ(image.pixel(17, 10), kRed);

  const std::array<TPoint, 3> triangle{TPoint{2, 2}, TPoint{12, 2}, TPoint{2, 12}};
  const QImage outlined = Draw(15, 15, [&](QtSurface& s) {
    s.SetBrushColor(clRed);
    s.Polygon(triangle);
  });
  EXPECT_EQ(outlined.pixel(12, 2), kBlack);
  EXPECT_EQ(outlined.pixel(2, 12), kBlack);
  EXPECT_EQ(outlined.pixel(4, 4), kRed);
  EXPECT_EQ(InkOf(outlined).bounds, QRect(QPoint(2, 2), QPoint(12, 12)));
}

TEST(QtSurface, EveryPenModeCombinesPenAndDestinationOnce) {
  const std::uint32_t destination = 0x0FF055, pen = 0x3333CC;
  const std::array<std::pair<TPenMode, std::function<std::uint32_t(std::uint32_t, std::uint32_t)>>, 16> modes{{
      {pmBlack, [](auto, auto) { return 0u; }},
      {pmWhite, [](auto, auto) { return ~0u; }},
      {pmNop, [](auto, auto d) { return d; }},
      {pmNot, [](auto, auto d) { return ~d; }},
      {pmCopy, [](auto p, auto) { return p; }},
      {pmNotCopy, [](auto p, auto) { return ~p; }},
      {pmMergePenNot, [](auto p, auto d) { return p | ~d; }},
      {pmMaskPenNot, [](auto p, auto d) { return p & ~d; }},
      {pmMergeNotPen, [](auto p, auto d) { return ~p | d; }},
      {pmMaskNotPen, [](auto p, auto d) { return ~p & d; }},
      {pmMerge, [](auto p, auto d) { return p | d; }},
      {pmNotMerge, [](auto p, auto d) { return ~(p | d); }},
      {pmMask, [](auto p, auto d) { return p & d; }},
      {pmNotMask, [](auto p, auto d) { return ~(p & d); }},
      {pmXor, [](auto p, auto d) { return p ^ d; }},
      {pmNotXor, [](auto p, auto d) { return ~(p ^ d); }},
  }};
  for (const auto& entry : modes) {
    const TPenMode mode = entry.first;
    const auto& op = entry.second;
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    const QImage image = Draw(
        6, 6,
        [&](QtSurface& s) {
          s.SetPen({RGBColor(0x33, 0x33, 0xCC), 1, psSolid, mode, false});
          s.SetBrushColor(RGBColor(0x33, 0x33, 0xCC));
          s.Line(0, 1, 4, 1);
          s.Rectangle(1, 2, 5, 6);  // outline and fill over each other: still combined once
        },
        0xFF000000u | destination);
    const QRgb expected = 0xFF000000u | (op(pen, destination) & 0xFFFFFFu);
    EXPECT_EQ(image.pixel(1, 1), expected);
    EXPECT_EQ(image.pixel(4, 1), 0xFF000000u | destination);  // end point excluded
    EXPECT_EQ(image.pixel(1, 2), expected);                    // outline
    EXPECT_EQ(image.pixel(2, 3), expected);                    // fill
  }
}

TEST(QtSurface, NotXorDrawnTwiceRestoresTheImage) {
  QImage original(40, 40, QImage::Format_RGB32);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) original.setPixel(x, y, qRgb(x * 6, y * 6, (x + y) * 3));
  }
  const std::array<TPoint, 4> quad{TPoint{3, 30}, TPoint{20, 22}, TPoint{35, 38}, TPoint{10, 39}};
  const auto drawAll = [&](QtSurface& s) {
    s.SetPen({clGray, 1, psSolid, pmNotXor, false});
    s.SetBrushStyle(bsClear);
    s.Rectangle(30, 25, 2, 3);  // the zoom band, dragged toward the upper left
    s.SetBrush({clRed, bsDiagCross, std::nullopt});
    s.Rectangle(5, 5, 15, 15);
    s.SetBrush({clYellow, bsSolid, std::nullopt});
    s.Ellipse(10, 10, 30, 24);
    s.RoundRect(0, 20, 18, 36, 6, 6);
    s.Pie(20, 0, 40, 20, 40, 10, 30, 0);
    s.Polygon(quad);
    s.Polyline(quad);
    s.SetPen({clBlue, 3, psSolid, pmNotXor, false});
    s.Line(0, 39, 39, 0);
    s.SetAlternatePen(clGreen);
    s.Line(0, 2, 39, 2);
  };
  QImage image = original;
  {
    QtSurface surface(image);
    drawAll(surface);
  }
  EXPECT_NE(image, original);
  {
    QtSurface surface(image);
    drawAll(surface);
  }
  EXPECT_EQ(image, original);

  // The band alone changes its outline and nothing else.
  QImage band = original;
  {
    QtSurface surface(band);
    surface.SetPen({clBlack, 1, psSolid, pmNotXor, false});
    surface.SetBrushStyle(bsClear);
    surface.Rectangle(2, 3, 30, 25);
  }
  int changed = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) changed += band.pixel(x, y) != original.pixel(x, y) ? 1 : 0;
  }
  EXPECT_EQ(changed, 2 * (28 + 22) - 4);
}

TEST(QtSurface, HatchBrushesDrawTheirLinesAndShowTheBackgroundOnlyWhenOpaque) {
  const auto hatch = [](TBrushStyle style, BkMode mode) {
    return Draw(
        16, 16,
        [&](QtSurface& s) {
          s.SetBrush({clBlack, style, std::nullopt});
          s.SetBackgroundColor(clWhite);
          s.SetBackgroundMode(mode);
          s.FillRect({0, 0, 16, 16});
        },
        kRed);
  };
  const auto rowFull = [](const QImage& image, int y) {
    for (int x = 0; x < 16; ++x) {
      if (image.pixel(x, y) != kBlack) return false;
    }
    return true;
  };
  const auto columnFull = [](const QImage& image, int x) {
    for (int y = 0; y < 16; ++y) {
      if (image.pixel(x, y) != kBlack) return false;
    }
    return true;
  };
  const auto followsDiagonal = [](const QImage& image, int step) {
    int lit = 0;
    for (int y = 1; y < 15; ++y) {
      for (int x = 0; x < 15; ++x) {
        if (image.pixel(x, y) != kBlack) continue;
        ++lit;
        if (image.pixel(x + 1, y + step) != kBlack) return false;
      }
    }
    return lit > 0;
  };

  const QImage horizontal = hatch(bsHorizontal, BkMode::Transparent);
  int fullRows = 0;
  for (int y = 0; y < 16; ++y) {
    fullRows += rowFull(horizontal, y) ? 1 : 0;
    for (int x = 1; x < 16; ++x) EXPECT_EQ(horizontal.pixel(x, y), horizontal.pixel(0, y));
  }
  EXPECT_GT(fullRows, 0);
  EXPECT_EQ(InkOf(horizontal, kBlack).count > 0 && InkOf(horizontal, kRed).count > 0, true);
  EXPECT_EQ(InkOf(horizontal, kBlack).count + InkOf(horizontal, kRed).count, 256);  // gaps kept red

  const QImage vertical = hatch(bsVertical, BkMode::Transparent);
  int fullColumns = 0;
  for (int x = 0; x < 16; ++x) fullColumns += columnFull(vertical, x) ? 1 : 0;
  EXPECT_GT(fullColumns, 0);
  EXPECT_LT(fullColumns, 16);

  EXPECT_TRUE(followsDiagonal(hatch(bsFDiagonal, BkMode::Transparent), +1));   // down to the right
  EXPECT_TRUE(followsDiagonal(hatch(bsBDiagonal, BkMode::Transparent), -1));   // up to the right
  EXPECT_FALSE(followsDiagonal(hatch(bsFDiagonal, BkMode::Transparent), -1));

  const QImage cross = hatch(bsCross, BkMode::Transparent);
  bool anyRow = false, anyColumn = false;
  for (int i = 0; i < 16; ++i) {
    anyRow = anyRow || rowFull(cross, i);
    anyColumn = anyColumn || columnFull(cross, i);
  }
  EXPECT_TRUE(anyRow && anyColumn);

  const QImage opaque = hatch(bsDiagCross, BkMode::Opaque);
  EXPECT_EQ(InkOf(opaque, kRed).count, 256);  // no red left: gaps in the background colour
  EXPECT_GT(InkOf(opaque, kBlack).count, 0);
  EXPECT_GT(InkOf(opaque, kWhite).count, 0);
}

TEST(QtSurface, AlternatePenSetsEveryOtherPixelAndStyledPensLeaveGaps) {
  const QImage image = Draw(24, 24, [](QtSurface& s) {
    s.SetAlternatePen(clBlack);
    s.Line(0, 2, 20, 2);
    s.Line(22, 0, 22, 20);
  });
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(image.pixel(i, 2), i % 2 == 0 ? kBlack : kWhite) << i;
    EXPECT_EQ(image.pixel(22, i), i % 2 == 0 ? kBlack : kWhite) << i;
  }

  const QImage dotted = Draw(
      30, 3,
      [](QtSurface& s) {
        s.SetPenStyle(psDot);
        s.SetBackgroundColor(clWhite);
        s.SetBackgroundMode(BkMode::Transparent);
        s.Line(0, 0, 30, 0);
        s.SetBackgroundMode(BkMode::Opaque);
        s.Line(0, 1, 30, 1);
      },
      kRed);
  const Ink transparentGaps = InkOf(dotted, kRed, QRect(0, 0, 30, 1));
  EXPECT_GT(transparentGaps.count, 5);
  EXPECT_LT(transparentGaps.count, 25);
  EXPECT_EQ(InkOf(dotted, kRed, QRect(0, 1, 30, 1)).count, 30);  // gaps in the background colour
}

TEST(QtSurface, ClippingLimitsDrawingUntilRemoved) {
  const auto filledAfter = [](const std::function<void(QtSurface&)>& clip) {
    return InkOf(Draw(20, 20, [&](QtSurface& s) {
      s.SetBrushColor(clRed);
      clip(s);
      s.FillRect({0, 0, 20, 20});
      s.SetPixel(0, 0, clBlue);
    }));
  };
  EXPECT_EQ(filledAfter([](QtSurface& s) {
              s.IntersectClipRect({5, 5, 15, 15});
              s.IntersectClipRect({20, 0, 10, 20});
            }).bounds,
            QRect(10, 5, 5, 10));
  EXPECT_EQ(filledAfter([](QtSurface& s) {
              s.IntersectClipRect({5, 5, 15, 15});
              s.SelectClipRect({0, 0, 3, 3});
            }).count,
            9);
  EXPECT_EQ(filledAfter([](QtSurface& s) { s.IntersectClipRect({4, 4, 4, 4}); }).count, 0);
  EXPECT_EQ(filledAfter([](QtSurface& s) {
              s.IntersectClipRect({5, 5, 15, 15});
              s.RemoveClipping();
            }).count,
            400);

  const std::vector<TPoint> rings{{2, 2}, {18, 2}, {18, 18}, {2, 18}, {2, 2}, {6, 6}, {14, 6}, {14, 14}, {6, 14}, {6, 6}};
  const QImage framed = Draw(20, 20, [&](QtSurface& s) {
    s.SetBrushColor(clRed);
    s.SelectClipPolygon(rings);
    s.FillRect({0, 0, 20, 20});
  });
  EXPECT_EQ(InkOf(framed).bounds, QRect(2, 2, 16, 16));
  EXPECT_EQ(InkOf(framed).count, 16 * 16 - 8 * 8);
  EXPECT_EQ(framed.pixel(10, 10), kWhite);
}

TEST(QtSurface, TextIsDrawnInsideTheCellItMeasures) {
  QImage image = Filled(200, 120);
  TextSize size;
  {
    QtSurface s(image);
    SurfaceFont font;
    font.height = -16;
    s.SetFont(font);
    s.SetBackgroundMode(BkMode::Transparent);
    size = s.TextExtent("Hello");
    EXPECT_GT(s.TextWidth("WWWW"), s.TextWidth("iiii"));
    s.TextOut(20, 10, "Hello");
    s.SetTextAlign(kTextAlignRight | kTextAlignBaseline);
    s.TextOut(180, 80, "Hello");
    s.SetTextAlign(kTextAlignCenter | kTextAlignBottom);
    s.SetBackgroundMode(BkMode::Opaque);
    s.SetBackgroundColor(clRed);
    s.TextOut(100, 118, "Hello");
  }
  ASSERT_GT(size.width, 20);
  ASSERT_GE(size.height, 16);
  ASSERT_LT(size.height, 40);

  const Ink topLeft = InkOf(image, kWhite, QRect(0, 0, 200, 50));
  EXPECT_GT(topLeft.count, 20);
  EXPECT_TRUE(QRect(20, 10, size.width, size.height).contains(topLeft.bounds));

  const Ink baseline = InkOf(image, kWhite, QRect(0, 50, 200, 32));
  EXPECT_GT(baseline.count, 20);
  EXPECT_GE(baseline.bounds.left(), 180 - size.width);
  EXPECT_LE(baseline.bounds.right(), 180);
  EXPECT_LE(baseline.bounds.bottom(), 80);  // "Hello" has no descender
  EXPECT_GE(baseline.bounds.bottom(), 77);

  // The opaque cell: exactly width × height above the bottom reference, centred.
  const Ink cell = InkOf(image, kWhite, QRect(0, 82, 200, 38));
  EXPECT_EQ(cell.bounds, QRect(100 - size.width / 2, 118 - size.height, size.width, size.height));
  EXPECT_GT(InkOf(image, kRed, cell.bounds).count, 0);  // the text itself is not red
}

TEST(QtSurface, EscapementTurnsTextCounterClockwise) {
  QImage image = Filled(100, 100);
  TextSize size;
  {
    QtSurface s(image);
    SurfaceFont font;
    font.height = -14;
    font.escapement = 900;
    s.SetFont(font);
    s.SetBackgroundMode(BkMode::Transparent);
    size = s.TextExtent("Hello");  // measured along the text, as unturned
    s.TextOut(40, 90, "Hello");
  }
  const Ink ink = InkOf(image);
  ASSERT_GT(ink.count, 20);
  EXPECT_GT(ink.bounds.height(), ink.bounds.width());
  EXPECT_TRUE(QRect(40, 90 - size.width, size.height, size.width).contains(ink.bounds));
}

// Turned axis labels in one font, then unturned ones: each text looks as it does alone
// on a fresh surface, whatever was drawn before it (a turned text once left the painter
// with an older font while the surface took it to hold the label's).
TEST(QtSurface, TextAfterTurnedTextIsDrawnInItsOwnFont) {
  const auto draw = [](QImage& image, const std::vector<std::pair<int, TPoint>>& texts) {
    QtSurface s(image);
    s.SetBackgroundMode(BkMode::Transparent);
    for (const auto& [escapement, at] : texts) {
      SurfaceFont font;
      font.name = "Liberation Serif";
      font.height = -20;
      font.style = fsBold;
      font.escapement = escapement;
      s.SetFont(font);
      s.TextOut(at.x, at.y, "Ab");
    }
  };
  const std::vector<std::pair<int, TPoint>> texts = {{900, {10, 60}}, {900, {40, 60}}, {0, {70, 30}}};
  QImage together = Filled(120, 70);
  draw(together, texts);
  QImage alone = Filled(120, 70);
  for (const auto& text : texts) draw(alone, {text});
  EXPECT_GT(InkOf(alone).count, 60);
  EXPECT_EQ(together, alone);
}

TEST(QtSurface, ShapesStayInsideTheirBoxAndPiesFollowTheirRays) {
  const QImage ellipse = Draw(16, 16, [](QtSurface& s) {
    s.SetBrushColor(clRed);
    s.Ellipse(2, 3, 14, 10);
  });
  EXPECT_EQ(InkOf(ellipse).bounds, QRect(QPoint(2, 3), QPoint(13, 9)));
  EXPECT_EQ(ellipse.pixel(8, 6), kRed);

  const QImage round = Draw(16, 16, [](QtSurface& s) { s.RoundRect(1, 1, 15, 12, 6, 6); });
  EXPECT_EQ(InkOf(round).bounds, QRect(QPoint(1, 1), QPoint(14, 11)));
  EXPECT_EQ(round.pixel(1, 1), kWhite);  // the corner is cut
  EXPECT_EQ(round.pixel(7, 1), kBlack);

  // From the ray to the right, counter-clockwise, to the ray upward: the top-right quarter.
  const QImage pie = Draw(22, 22, [](QtSurface& s) {
    s.SetBrushColor(clRed);
    s.Pie(0, 0, 21, 21, 21, 10, 10, 0);
  });
  EXPECT_EQ(pie.pixel(15, 5), kRed);
  EXPECT_EQ(InkOf(pie, kWhite, QRect(0, 0, 9, 22)).count, 0);
  EXPECT_EQ(InkOf(pie, kWhite, QRect(0, 12, 22, 10)).count, 0);

  // The other three quarters as an arc.
  const QImage arc = Draw(22, 22, [](QtSurface& s) { s.Arc(0, 0, 21, 21, 10, 0, 21, 10); });
  EXPECT_EQ(InkOf(arc, kWhite, QRect(13, 0, 9, 8)).count, 0);
  EXPECT_GT(InkOf(arc, kWhite, QRect(0, 13, 8, 9)).count, 0);
  EXPECT_GT(InkOf(arc, kWhite, QRect(0, 0, 8, 8)).count, 0);
}

TEST(QtSurface, PicturesDrawAtTheirSizeStretchedAndAsPatternBrushes) {
  Picture picture(2, 2);
  picture.SetColor(0, 0, clRed);
  picture.SetColor(1, 0, clLime);
  picture.SetColor(0, 1, clBlue);
  picture.SetColor(1, 1, clBlack);
  const QImage image = Draw(20, 20, [&](QtSurface& s) {
    s.DrawPicture(3, 3, picture);
    s.StretchPicture({14, 14, 10, 10}, picture);
  });
  EXPECT_EQ(image.pixel(3, 3), kRed);
  EXPECT_EQ(image.pixel(4, 4), kBlack);
  EXPECT_EQ(InkOf(image, kWhite, QRect(0, 0, 8, 8)).count, 4);
  EXPECT_EQ(image.pixel(11, 11), kRed);
  EXPECT_EQ(image.pixel(12, 10), 0xFF00FF00u);
  EXPECT_EQ(image.pixel(13, 11), 0xFF00FF00u);
  EXPECT_EQ(image.pixel(10, 13), 0xFF0000FFu);
  EXPECT_EQ(image.pixel(13, 13), kBlack);

  const QImage patterned = Draw(8, 8, [&](QtSurface& s) {
    s.SetBrushPattern(picture);
    s.FillRect({1, 1, 5, 5});
  });
  for (int y = 1; y < 5; ++y) {
    for (int x = 1; x < 5; ++x) EXPECT_EQ(patterned.pixel(x, y), picture.Pixel(x % 2, y % 2)) << x << "," << y;
  }
  EXPECT_EQ(patterned.pixel(5, 5), kWhite);
}

// A bitmap whose pixels cannot be had must say so: drawn into, it would take every
// shape and show nothing, and a picture made with it would come out blank.
TEST(QtSurface, OffscreenBitmapWithoutMemoryFailsInsteadOfStayingBlank) {
  QImage target(4, 4, QImage::Format_RGB32);
  QtSurface window(target);
  EXPECT_THROW(window.CreateOffscreen(1 << 30, 1 << 30, false), std::bad_alloc);
}

TEST(QtSurface, OffscreenBitmapIsCopiedPlainlyOntoAnotherSurface) {
  QImage target = Filled(30, 30, 0xFF0000FFu);
  {
    QtSurface window(target);
    std::unique_ptr<OffscreenBitmap> bitmap = window.CreateOffscreen(10, 8, false);
    Surface& buffer = bitmap->DrawingSurface();
    buffer.SetBrushColor(clRed);
    buffer.FillRect({2, 2, 5, 5});
    EXPECT_EQ(bitmap->Snapshot().ColorAt(2, 2), clRed);
    EXPECT_EQ(bitmap->Snapshot().ColorAt(0, 0), clWhite);
    window.SetPenMode(pmXor);  // a copy ignores the pen mode
    window.CopyBitmap(5, 6, *bitmap);

    std::unique_ptr<OffscreenBitmap> mono = window.CreateOffscreen(4, 1, true);
    EXPECT_TRUE(mono->Monochrome());
    Surface& monoSurface = mono->DrawingSurface();
    monoSurface.SetPixel(0, 0, clMaroon);
    monoSurface.SetPixel(1, 0, clYellow);
    monoSurface.SetPixel(2, 0, clSilver);
    const Picture monoPixels = mono->Snapshot();
    EXPECT_EQ(monoPixels.ColorAt(0, 0), clBlack);
    EXPECT_EQ(monoPixels.ColorAt(1, 0), clWhite);
    EXPECT_EQ(monoPixels.ColorAt(2, 0), clWhite);
    EXPECT_EQ(monoPixels.ColorAt(3, 0), clWhite);
    window.CopyBitmap(0, 29, *mono);
  }
  EXPECT_EQ(target.pixel(5, 6), kWhite);
  EXPECT_EQ(target.pixel(14, 13), kWhite);
  EXPECT_EQ(target.pixel(7, 8), kRed);
  EXPECT_EQ(target.pixel(15, 6), 0xFF0000FFu);
  EXPECT_EQ(target.pixel(5, 14), 0xFF0000FFu);
  EXPECT_EQ(target.pixel(0, 29), kBlack);
  EXPECT_EQ(target.pixel(1, 29), kWhite);
  EXPECT_EQ(target.pixel(4, 29), 0xFF0000FFu);
}

TEST(QtSurface, PixelsReadBackOnImagesOnly) {
  QImage image = Filled(8, 8);
  QtSurface surface(image);
  EXPECT_TRUE(surface.SupportsPenModes());
  surface.SetPixel(3, 4, clRed);
  surface.SetPixel(4, 4, clBtnFace);
  EXPECT_EQ(surface.GetPixel(3, 4), clRed);
  EXPECT_EQ(surface.GetPixel(4, 4), static_cast<TColor>(ColorToRGB(clBtnFace)));
  EXPECT_EQ(surface.GetPixel(8, 0), clNone);
  EXPECT_EQ(surface.GetPixel(-1, 0), clNone);
}

TEST(QtSurface, VectorDevicesFallBackForPenModesAndPixels) {
  const auto svgOf = [](TPenMode mode) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(40, 40));
    {
      QtSurface surface(generator);
      EXPECT_FALSE(surface.SupportsPenModes());
      EXPECT_EQ(surface.GetPixel(1, 1), clNone);
      surface.SetPenMode(mode);
      surface.SetBrushStyle(bsClear);
      surface.Rectangle(5, 5, 30, 30);
    }
    return buffer.data();
  };
  const QByteArray nothing = svgOf(pmNop);
  const QByteArray notXor = svgOf(pmNotXor);
  const QByteArray black = svgOf(pmBlack);
  EXPECT_GT(notXor.size(), nothing.size());  // drawn as copy rather than dropped
  EXPECT_TRUE(notXor.contains("#000000"));
  EXPECT_TRUE(black.contains("#000000"));
  const QByteArray white = svgOf(pmWhite);
  EXPECT_TRUE(white.contains("#ffffff"));
}

// A viewer at the document's scale then covers whole pixels: one row per line, the
// corner of a polyline and its ends included.
TEST(QtSurface, VectorLinesRunThroughPixelCentresWithSquareEnds) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(40, 40));
  {
    QtSurface surface(generator);
    const std::array<TPoint, 3> corner = {TPoint{2, 30}, {2, 2}, {30, 2}};
    surface.Polyline(corner);
  }
  const QByteArray svg = buffer.data();
  EXPECT_TRUE(svg.contains("points=\"2.5,30.5 2.5,2.5 30.5,2.5 \"")) << svg.constData();
  EXPECT_TRUE(svg.contains("stroke-linecap=\"square\""));
}

// [SECTION] Devices with more pixels than coordinates

// The axis-parallel drawing of a chart (frames, axes, grids, ticks, walls, fills) on a
// denser device covers exactly the device pixels of the pixels it covers unscaled; a
// slope is drawn at the device's pixels, not as a staircase of enlarged pixels.
TEST(QtSurface, ScaledDevicesCoverTheDevicePixelsOfEveryPixelAndDrawSlopesFiner) {
  const auto drawing = [](QtSurface& s) {
    s.SetPenColor(clBlack);
    s.Line(2, 3, 30, 3);  // end left out
    s.Line(4, 30, 4, 6);  // upward
    s.Line(33, 5, 34, 5);  // a single pixel
    s.SetPenStyle(psDot);
    s.Line(6, 36, 38, 36);
    s.SetAlternatePen(clBlue);
    s.Line(8, 38, 8, 20);
    s.SetPen(SurfacePen{});
    s.SetPenColor(clGreen);
    s.SetBrushColor(clYellow);
    s.Rectangle(10, 8, 16, 15);
    const std::array<TPoint, 6> ell = {TPoint{10, 28}, {16, 28}, {16, 31}, {13, 31}, {13, 34}, {10, 34}};
    s.Polygon(ell);
    const std::array<TPoint, 4> corner = {TPoint{36, 8}, {38, 8}, {38, 16}, {36, 16}};
    s.Polyline(corner);
    s.SetBrushColor(clRed);
    s.FillRect(TRect{33, 20, 37, 23});
    // Wide pens, where a chart has them straight: axes and frames.
    for (const int width : {2, 3}) {
      s.SetPenWidth(width);
      const int x = 9 * width;
      s.Line(x, 18, x + 7, 18);
      s.Line(x + 3, 22, x + 3, 28);
    }
  };
  const QImage plain = Draw(40, 40, drawing);
  // Round ends of wide pens are rounder at more pixels: only their straight middles count.
  const auto counted = [](int x, int y) {
    const bool middles = y == 25 || ((x == 22 || x == 31) && y <= 20);
    return !(x >= 16 && x <= 36 && y >= 15 && y <= 30) || middles;
  };
  for (const int scale : {2, 3}) {
    QImage dense = Filled(40 * scale, 40 * scale);
    dense.setDevicePixelRatio(scale);
    {
      QtSurface surface(dense);
      EXPECT_TRUE(surface.Scaled());
      EXPECT_EQ(surface.PixelScale(), scale);
      drawing(surface);
      EXPECT_EQ(surface.GetPixel(34, 21), clRed);
    }
    int differing = 0;
    for (int y = 0; y < dense.height(); ++y)
      for (int x = 0; x < dense.width(); ++x)
        differing += counted(x / scale, y / scale) && dense.pixel(x, y) != plain.pixel(x / scale, y / scale);
    EXPECT_EQ(differing, 0) << "at scale " << scale;
  }

  // A slope is drawn at the device's pixels: an enlarged one-pixel line would fill whole
  // 2x2 blocks, the finer line leaves many blocks partly covered.
  const auto slope = [](QtSurface& s) { s.Line(2, 2, 37, 30); };
  QImage dense = Filled(80, 80);
  dense.setDevicePixelRatio(2);
  {
    QtSurface surface(dense);
    slope(surface);
  }
  int partlyCovered = 0;
  for (int y = 0; y < 80; y += 2) {
    for (int x = 0; x < 80; x += 2) {
      const int ink = (dense.pixel(x, y) != kWhite) + (dense.pixel(x + 1, y) != kWhite) +
                      (dense.pixel(x, y + 1) != kWhite) + (dense.pixel(x + 1, y + 1) != kWhite);
      partlyCovered += ink > 0 && ink < 4;
    }
  }
  EXPECT_GT(partlyCovered, 35);
  EXPECT_EQ(InkOf(dense).bounds, QRect(4, 4, 70, 56));
}

}  // namespace
}  // namespace tarvela
