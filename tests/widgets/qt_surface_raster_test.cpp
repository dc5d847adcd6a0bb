// QtSurface's direct path against QPainter: the same calls drawn both ways
// (SetDirectRaster) must give the same image, pixel for pixel, for random polygons,
// lines, rectangles and fills under every kind of clip, on every 32-bit format; plus
// the tie rule of the polygon fill at exact coordinates, and the clip handed to QPainter.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <array>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kRed = 0xFFFF0000u;

using Drawing = std::function<void(QtSurface&)>;

// A background of many colours, so that a pixel written where none should be shows.
QImage Noise(QSize size, QImage::Format format, unsigned seed) {
  QImage image(size, format);
  std::mt19937 random(seed);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      // Non-premultiplied ARGB32 keeps any alpha; the other formats need valid pixels.
      const QRgb alpha = format == QImage::Format_ARGB32 ? (random() & 0xFF) << 24 : 0xFF000000u;
      image.setPixel(x, y, alpha | (random() & 0xFFFFFF));
    }
  }
  return image;
}

QImage DrawOneWay(const QImage& background, bool direct, const Drawing& draw) {
  QImage image = background.copy();
  {
    QtSurface surface(image);
    surface.SetDirectRaster(direct);
    EXPECT_EQ(surface.DrawsDirectly(), direct);
    draw(surface);
  }
  return image;
}

// Where the two images differ first, for the failure message.
std::string FirstDifference(const QImage& direct, const QImage& painter) {
  for (int y = 0; y < direct.height(); ++y) {
    for (int x = 0; x < direct.width(); ++x) {
      if (direct.pixel(x, y) != painter.pixel(x, y)) {
        std::ostringstream text;
        text << "first difference at " << x << "," << y << ": direct " << std::hex << direct.pixel(x, y)
             << ", QPainter " << painter.pixel(x, y);
        return text.str();
      }
    }
  }
  return "none";
}

// Draws both ways on the same background; true when the images are equal.
::testing::AssertionResult SameBothWays(QSize size, QImage::Format format, unsigned seed, const Drawing& draw) {
  const QImage background = Noise(size, format, seed);
  const QImage direct = DrawOneWay(background, true, draw);
  const QImage painter = DrawOneWay(background, false, draw);
  if (direct == painter) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << FirstDifference(direct, painter);
}

// Random scenes: coordinates mostly around the image, some far outside it, a few at the
// ends of the int range; repeated and collinear points on purpose.
class Scenes {
 public:
  explicit Scenes(unsigned seed) : m_random(seed) {}

  int Below(int n) { return static_cast<int>(m_random() % static_cast<unsigned>(n)); }
  bool OneIn(int n) { return Below(n) == 0; }
  int Between(int low, int high) { return low + Below(high - low + 1); }

  QSize Size() { return QSize(Between(8, 48), Between(8, 40)); }

  int Coordinate(int extent) {
    switch (Below(12)) {
      case 0: return Between(-20000, 20000);
      case 1: return OneIn(2) ? Between(-2000000000, -1000000000) : Between(1000000000, 2000000000);
      case 2: return Between(-PolygonScanner::kExactLimit, PolygonScanner::kExactLimit);
      default: return Between(-4, extent + 4);
    }
  }

  std::vector<TPoint> Points(QSize size, int low, int high) {
    std::vector<TPoint> points;
    const int count = Between(low, high);
    for (int i = 0; i < count; ++i) {
      TPoint p{Coordinate(size.width()), Coordinate(size.height())};
      if (!points.empty() && OneIn(6)) p.x = points.back().x;
      if (!points.empty() && OneIn(6)) p.y = points.back().y;
      if (!points.empty() && OneIn(10)) p = points.back();
      if (points.size() >= 2 && OneIn(10)) {
        // On the line through the last two points.
        const TPoint a = points[points.size() - 2], b = points.back();
        const long long x = 2LL * b.x - a.x, y = 2LL * b.y - a.y;
        if (x > -2000000000 && x < 2000000000 && y > -2000000000 && y < 2000000000)
          p = {static_cast<int>(x), static_cast<int>(y)};
      }
      points.push_back(p);
    }
    return points;
  }

  TColor Color() { return static_cast<TColor>(m_random() & 0xFFFFFF); }

  SurfacePen Pen(bool oneMostly = true) {
    SurfacePen pen;
    pen.color = Color();
    pen.style = static_cast<TPenStyle>(Below(7));
    pen.width = oneMostly && !OneIn(8) ? 1 : Between(1, 3);
    pen.mode = OneIn(10) ? static_cast<TPenMode>(Below(16)) : pmCopy;
    pen.alternate = OneIn(6);
    return pen;
  }

  SurfaceBrush Brush() {
    SurfaceBrush brush;
    brush.color = Color();
    brush.style = OneIn(8) ? static_cast<TBrushStyle>(Below(8)) : (OneIn(4) ? bsClear : bsSolid);
    return brush;
  }

  // Pen, brush and background as random as the drawing allows.
  void State(QtSurface& surface, const SurfacePen& pen, const SurfaceBrush& brush, bool opaque, TColor background) {
    surface.SetPen(pen);
    surface.SetBrush(brush);
    surface.SetBackgroundMode(opaque ? BkMode::Opaque : BkMode::Transparent);
    surface.SetBackgroundColor(background);
  }

  enum class Clip { None, Rect, Polygon, PolygonAndRect, TwoRects, Replaced, Removed };

  // A clip of the given kind; the description goes into the failure message.
  std::function<void(QtSurface&)> MakeClip(Clip kind, QSize size, std::string& text) {
    const TRect a = Rect(size), b = Rect(size);
    const std::vector<TPoint> polygon = Points(size, 2, 7);
    std::ostringstream out;
    out << "clip " << static_cast<int>(kind) << " rects " << Describe(a) << " " << Describe(b) << " polygon "
        << Describe(polygon);
    text = out.str();
    return [=](QtSurface& s) {
      switch (kind) {
        case Clip::None: break;
        case Clip::Rect: s.IntersectClipRect(a); break;
        case Clip::Polygon: s.SelectClipPolygon(polygon); break;
        case Clip::PolygonAndRect:
          s.SelectClipPolygon(polygon);
          s.IntersectClipRect(a);
          break;
        case Clip::TwoRects:
          s.IntersectClipRect(a);
          s.IntersectClipRect(b);
          break;
        case Clip::Replaced:
          s.SelectClipPolygon(polygon);
          s.SelectClipRect(a);
          break;
        case Clip::Removed:
          s.SelectClipPolygon(polygon);
          s.RemoveClipping();
          s.IntersectClipRect(b);
          break;
      }
    };
  }

  TRect Rect(QSize size) {
    return {Between(-3, size.width() + 3), Between(-3, size.height() + 3), Between(-3, size.width() + 3),
            Between(-3, size.height() + 3)};
  }

  static std::string Describe(const std::vector<TPoint>& points) {
    std::ostringstream out;
    for (const TPoint& p : points) out << p.x << "," << p.y << " ";
    return out.str();
  }
  static std::string Describe(const TRect& r) {
    std::ostringstream out;
    out << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    return out.str();
  }
  static std::string Describe(const SurfacePen& pen) {
    std::ostringstream out;
    out << "pen style " << pen.style << " width " << pen.width << " mode " << pen.mode << " alternate "
        << pen.alternate;
    return out.str();
  }

 private:
  std::mt19937 m_random;
};

constexpr std::array kFormats{QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied};
constexpr std::array kClips{Scenes::Clip::None,    Scenes::Clip::Rect,     Scenes::Clip::Polygon,
                            Scenes::Clip::PolygonAndRect, Scenes::Clip::TwoRects, Scenes::Clip::Replaced,
                            Scenes::Clip::Removed};

TEST(QtSurfaceDirect, IsUsedOnThirtyTwoBitImagesWithoutTransformOnly) {
  const auto directOn = [](QImage image) {
    QtSurface surface(image);
    return surface.DrawsDirectly();
  };
  for (const QImage::Format format : kFormats) EXPECT_TRUE(directOn(QImage(8, 8, format))) << format;
  EXPECT_FALSE(directOn(QImage(8, 8, QImage::Format_RGB16)));
  EXPECT_FALSE(directOn(QImage(8, 8, QImage::Format_RGB888)));
  EXPECT_FALSE(directOn(QImage(8, 8, QImage::Format_MonoLSB)));
  QImage scaled(16, 16, QImage::Format_RGB32);
  scaled.setDevicePixelRatio(2);
  EXPECT_FALSE(directOn(scaled));
  EXPECT_FALSE(directOn(QImage(QtSurface::kMaxDirectSide + 1, 1, QImage::Format_RGB32)));

  QImage image(8, 8, QImage::Format_RGB32);
  QPainter turned(&image);
  turned.rotate(10);
  EXPECT_FALSE(QtSurface(turned).DrawsDirectly());

  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(10, 10));
  QtSurface svg(generator);
  EXPECT_FALSE(svg.DrawsDirectly());
}

TEST(QtSurfaceDirect, PolygonsMatchQPainterUnderEveryClip) {
  Scenes scenes(20240611);
  for (int trial = 0; trial < 2100; ++trial) {
    const QSize size = scenes.Size();
    const QImage::Format format = kFormats[trial % kFormats.size()];
    const Scenes::Clip clipKind = kClips[(trial / 3) % kClips.size()];
    std::string clipText;
    const auto clip = scenes.MakeClip(clipKind, size, clipText);
    SurfacePen pen = scenes.Pen();
    SurfaceBrush brush = scenes.Brush();
    // Fill and outline, fill only, outline only.
    if (trial % 3 == 1) {
      pen.style = psClear;
      pen.alternate = false;
    }
    if (trial % 3 == 2) brush.style = bsClear;
    const bool opaque = scenes.OneIn(2);
    const TColor background = scenes.Color();
    const std::vector<TPoint> first = scenes.Points(size, 2, 9), second = scenes.Points(size, 3, 5);
    SCOPED_TRACE(testing::Message() << "trial " << trial << " " << Scenes::Describe(pen) << " brush " << brush.style
                                    << " opaque " << opaque << " " << clipText << " polygons "
                                    << Scenes::Describe(first) << "| " << Scenes::Describe(second));
    ASSERT_TRUE(SameBothWays(size, format, trial, [&](QtSurface& s) {
      scenes.State(s, pen, brush, opaque, background);
      clip(s);
      s.Polygon(first);
      // Over the first, so that the order of fills and outlines shows.
      s.Polygon(second);
    }));
  }
}

TEST(QtSurfaceDirect, SmallPolygonsNearTheImageMatchQPainter) {
  // Many ties: small integer polygons whose edges pass through pixel centres.
  std::mt19937 random(77);
  for (int trial = 0; trial < 1500; ++trial) {
    std::vector<TPoint> points;
    const int count = 3 + static_cast<int>(random() % 6);
    for (int i = 0; i < count; ++i) {
      points.push_back({static_cast<int>(random() % 24) - 2, static_cast<int>(random() % 24) - 2});
    }
    SCOPED_TRACE(testing::Message() << "trial " << trial << " polygon " << Scenes::Describe(points));
    ASSERT_TRUE(SameBothWays(QSize(20, 20), QImage::Format_RGB32, trial, [&](QtSurface& s) {
      // Fill only, outline only, both: an outline hides the fill's edge pixels.
      s.SetBrushColor(clRed);
      s.SetPenColor(clBlue);
      if (trial % 3 == 0) s.SetPenStyle(psClear);
      if (trial % 3 == 1) s.SetBrushStyle(bsClear);
      if (trial % 3 == 2 && trial % 5 < 4) s.SetPenStyle(static_cast<TPenStyle>(1 + trial % 5));
      s.Polygon(points);
    }));
  }
}

TEST(QtSurfaceDirect, LinesMatchQPainterInEveryPenStyle) {
  Scenes scenes(4242);
  for (int trial = 0; trial < 1400; ++trial) {
    const QSize size = scenes.Size();
    const QImage::Format format = kFormats[trial % kFormats.size()];
    std::string clipText;
    const auto clip = scenes.MakeClip(kClips[trial % kClips.size()], size, clipText);
    SurfacePen pen = scenes.Pen();
    pen.style = static_cast<TPenStyle>(trial / kClips.size() % 7);
    const bool opaque = scenes.OneIn(2);
    const TColor background = scenes.Color();
    const std::vector<TPoint> path = scenes.Points(size, 2, 7);
    const std::vector<TPoint> line = scenes.Points(size, 2, 2);
    // Grid lines: straight across, either way, often in the window.
    std::vector<TPoint> straight = scenes.Points(size, 2, 2);
    if (scenes.OneIn(2)) {
      straight[1].y = straight[0].y;
    } else {
      straight[1].x = straight[0].x;
    }
    SCOPED_TRACE(testing::Message() << "trial " << trial << " " << Scenes::Describe(pen) << " opaque " << opaque << " "
                                    << clipText << " polyline " << Scenes::Describe(path) << "| line "
                                    << Scenes::Describe(line) << "| straight " << Scenes::Describe(straight));
    ASSERT_TRUE(SameBothWays(size, format, trial, [&](QtSurface& s) {
      scenes.State(s, pen, SurfaceBrush{}, opaque, background);
      clip(s);
      s.Polyline(path);
      s.MoveTo(line[0].x, line[0].y);
      s.LineTo(line[1].x, line[1].y);
      s.LineTo(line[0].x, line[0].y);
      s.MoveTo(straight[0].x, straight[0].y);
      s.LineTo(straight[1].x, straight[1].y);
    }));
  }
}

// Gradients: strips across a random area, either way, in either direction of their
// extents, under every clip; filled row by row directly, band by band through QPainter.
TEST(QtSurfaceDirect, BandsMatchQPainterBandByBand) {
  Scenes scenes(77);
  for (int trial = 0; trial < 700; ++trial) {
    const QSize size = scenes.Size();
    std::string clipText;
    const auto clip = scenes.MakeClip(kClips[trial % kClips.size()], size, clipText);
    const TRect area = scenes.Rect(size);
    const bool vertical = scenes.OneIn(2), backwards = scenes.OneIn(2);
    const int extent = std::abs(vertical ? area.bottom - area.top : area.right - area.left);
    const int count = scenes.Between(1, std::max(1, extent));
    std::vector<Surface::Band> bands;
    for (int i = 0; i < count; ++i) {
      const int from = extent * i / count, to = extent * (i + 1) / count;
      const TColor color = scenes.Color();
      if (vertical) {
        bands.push_back(backwards ? Surface::Band{area.left, area.bottom - from, area.right - area.left, from - to, color}
                                  : Surface::Band{area.left, area.top + from, area.right - area.left, to - from, color});
      } else {
        bands.push_back(backwards ? Surface::Band{area.right - from, area.top, from - to, area.bottom - area.top, color}
                                  : Surface::Band{area.left + from, area.top, to - from, area.bottom - area.top, color});
      }
    }
    SCOPED_TRACE(testing::Message() << "trial " << trial << " " << clipText << " area " << Scenes::Describe(area)
                                    << " vertical " << vertical << " backwards " << backwards << " bands " << count);
    ASSERT_TRUE(SameBothWays(size, kFormats[trial % kFormats.size()], trial, [&](QtSurface& s) {
      clip(s);
      s.FillBands(bands);
      EXPECT_EQ(s.Brush().color, bands.back().color);
      EXPECT_EQ(s.Brush().style, bsSolid);
    }));
  }
}

TEST(QtSurfaceDirect, RectanglesFillsAndPixelsMatchQPainter) {
  Scenes scenes(99);
  for (int trial = 0; trial < 1400; ++trial) {
    const QSize size = scenes.Size();
    const QImage::Format format = kFormats[trial % kFormats.size()];
    std::string clipText;
    const auto clip = scenes.MakeClip(kClips[trial % kClips.size()], size, clipText);
    const SurfacePen pen = scenes.Pen();
    const SurfaceBrush brush = scenes.Brush();
    const bool opaque = scenes.OneIn(2);
    const TColor background = scenes.Color();
    const TRect rectangle = scenes.Rect(size), fill = scenes.Rect(size);
    const int x = scenes.Between(-2, size.width() + 1), y = scenes.Between(-2, size.height() + 1);
    const int width = scenes.Between(-12, 12), height = scenes.Between(-12, 12);
    const TColor pixel = scenes.Color();
    SCOPED_TRACE(testing::Message() << "trial " << trial << " " << Scenes::Describe(pen) << " brush " << brush.style
                                    << " opaque " << opaque << " " << clipText << " rectangle "
                                    << Scenes::Describe(rectangle) << " fill " << Scenes::Describe(fill));
    ASSERT_TRUE(SameBothWays(size, format, trial, [&](QtSurface& s) {
      scenes.State(s, pen, brush, opaque, background);
      clip(s);
      s.Rectangle(rectangle);
      s.FillRect(fill);
      s.PatternFill(x, y, width, height);
      s.SetPixel(x, y, pixel);
      s.SetPixel(y, x, pixel);
    }));
  }
}

// Direct drawing and QPainter drawing mixed in one paint: the painter must get the clip
// the direct path used, and neither may see state the other left behind.
TEST(QtSurfaceDirect, MixedPaintsMatchQPainter) {
  Scenes scenes(31337);
  for (int trial = 0; trial < 500; ++trial) {
    const QSize size = scenes.Size();
    const QImage::Format format = kFormats[trial % kFormats.size()];
    struct Step {
      std::string text;
      std::function<void(QtSurface&)> draw;
    };
    std::vector<Step> steps;
    for (int i = 0; i < 8; ++i) {
      const SurfacePen pen = scenes.Pen(false);
      const SurfaceBrush brush = scenes.Brush();
      const bool opaque = scenes.OneIn(2);
      const TColor background = scenes.Color();
      const std::vector<TPoint> points = scenes.Points(size, 2, 6);
      const TRect rect = scenes.Rect(size);
      const int kind = scenes.Below(9);
      std::string clipText;
      const auto clipKind = kClips[static_cast<std::size_t>(scenes.Below(static_cast<int>(kClips.size())))];
      const auto clip = scenes.MakeClip(clipKind, size, clipText);
      std::ostringstream text;
      text << "[" << kind << " " << Scenes::Describe(pen) << " brush " << brush.style << " "
           << Scenes::Describe(points) << Scenes::Describe(rect) << "] ";
      steps.push_back({text.str(), [=, &scenes](QtSurface& s) {
                         scenes.State(s, pen, brush, opaque, background);
                         switch (kind) {
                           case 0: s.Polygon(points); break;
                           case 1: s.Polyline(points); break;
                           case 2: s.Rectangle(rect); break;
                           case 3: s.Ellipse(rect.left, rect.top, rect.right, rect.bottom); break;
                           case 4: s.FillRect(rect); break;
                           case 5: s.Pie(rect.left, rect.top, rect.right, rect.bottom, points[0].x, points[0].y,
                                         points[1].x, points[1].y);
                             break;
                           case 6: s.RoundRect(rect.left, rect.top, rect.right, rect.bottom, 5, 4); break;
                           case 7: s.TextOut(rect.left, rect.top, "Ag"); break;
                           default: clip(s); break;
                         }
                       }});
    }
    std::string all;
    for (const Step& step : steps) all += step.text;
    SCOPED_TRACE(testing::Message() << "trial " << trial << " " << all);
    ASSERT_TRUE(SameBothWays(size, format, trial, [&](QtSurface& s) {
      s.SetTextAntialiasing(false);
      for (const Step& step : steps) step.draw(s);
    }));
  }
}

// The pixels of row y from left to right: 1 where the colour is, 0 elsewhere.
std::string RowOf(const QImage& image, int y, QRgb color) {
  std::string row;
  for (int x = 0; x < image.width(); ++x) row += image.pixel(x, y) == color ? '1' : '0';
  return row;
}

QImage FillBothWaysChecked(QSize size, const std::vector<TPoint>& polygon) {
  const QImage white = [&] {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kWhite);
    return image;
  }();
  const Drawing fill = [&](QtSurface& s) {
    s.SetPenStyle(psClear);
    s.SetBrushColor(clRed);
    s.Polygon(polygon);
  };
  const QImage direct = DrawOneWay(white, true, fill);
  const QImage painter = DrawOneWay(white, false, fill);
  EXPECT_EQ(direct, painter) << FirstDifference(direct, painter);
  return direct;
}

// A pixel whose centre lies exactly on an edge counts as lying left of the edge: it is
// filled where the edge ends a span and not where it starts one.
TEST(QtSurfaceDirect, CentresOnAnEdgeCountAsLeftOfIt) {
  // The diagonal through the centres (k + 0.5, k + 0.5) as the left edge, then the right.
  const QImage leftEdge = FillBothWaysChecked(QSize(6, 6), {{0, 0}, {6, 0}, {6, 6}});
  const QImage rightEdge = FillBothWaysChecked(QSize(6, 6), {{0, 0}, {0, 6}, {6, 6}});
  for (int k = 0; k < 6; ++k) {
    EXPECT_NE(leftEdge.pixel(k, k), kRed) << k;
    EXPECT_EQ(rightEdge.pixel(k, k), kRed) << k;
  }
  EXPECT_EQ(RowOf(leftEdge, 2, kRed), "000111");
  EXPECT_EQ(RowOf(rightEdge, 2, kRed), "111000");

  // A slope of 3 across: centres (1.5, 0.5) and (4.5, 1.5) lie on the edge from (0, 0)
  // to (6, 2), which starts the spans.
  const QImage shallow = FillBothWaysChecked(QSize(8, 2), {{0, 0}, {6, 2}, {8, 2}, {8, 0}});
  EXPECT_EQ(RowOf(shallow, 0, kRed), "00111111");
  EXPECT_EQ(RowOf(shallow, 1, kRed), "00000111");
}

// Qt steps edges in 16.16 fixed point with the slope cut toward zero: on an edge whose
// slope is not a whole number of 1/65536ths the crossing comes out just left of a centre
// that lies exactly on the edge, and that pixel is filled although the edge starts the span.
TEST(QtSurfaceDirect, AnInexactSlopeDecidesTiesByItsFixedPointCrossing) {
  // Edge (0, 0)–(1, 3), slope 1/3: centre (0.5, 1.5) lies on it.
  const QImage third = FillBothWaysChecked(QSize(4, 3), {{0, 0}, {1, 3}, {4, 3}, {4, 0}});
  EXPECT_EQ(RowOf(third, 1, kRed), "1111");
  // The same edge going the other way (slope −1/3, exact after the cut): the rule holds.
  const QImage mirrored = FillBothWaysChecked(QSize(4, 3), {{1, 0}, {0, 3}, {4, 3}, {4, 0}});
  EXPECT_EQ(RowOf(mirrored, 1, kRed), "0111");
  // Slope 5/3 from (0, 0): centre (2.5, 1.5) lies on it; 5/3 is cut too, so it is filled.
  const QImage steep = FillBothWaysChecked(QSize(6, 3), {{0, 0}, {5, 3}, {6, 3}, {6, 0}});
  EXPECT_EQ(RowOf(steep, 1, kRed), "001111");
}

// Qt's rasteriser cuts edges at the sides of the device and clip box, and rounds the row
// where a very flat edge crosses a side toward the outside: here the edge from
// (-971128, 9) to (971166, 16) crosses row 12 at x = 19.0, yet under a clip from x = 16
// that row is put on the side and stays empty.
TEST(QtSurfaceDirect, AVeryFlatEdgeIsCutAtTheClipSideAsQtCutsIt) {
  const std::vector<TPoint> polygon{{971166, 16}, {971166, -3}, {971166, 9}, {971166, 21},
                                    {971166, 33}, {19, 21},      {-971128, 9}};
  ASSERT_TRUE(PolygonScanner::Exact(polygon));
  const auto fill = [&](bool clipped) {
    return [=](QtSurface& s) {
      s.SetPenStyle(psClear);
      s.SetBrushColor(clRed);
      if (clipped) s.IntersectClipRect({16, 0, 25, 21});
      s.Polygon(polygon);
    };
  };
  QImage white(30, 30, QImage::Format_RGB32);
  white.fill(kWhite);
  const QImage whole = DrawOneWay(white, true, fill(false));
  const QImage clipped = DrawOneWay(white, true, fill(true));
  EXPECT_EQ(whole, DrawOneWay(white, false, fill(false)));
  EXPECT_EQ(clipped, DrawOneWay(white, false, fill(true)));
  EXPECT_EQ(RowOf(whole, 12, kRed), std::string(19, '1') + std::string(11, '0'));
  EXPECT_EQ(RowOf(clipped, 12, kRed), std::string(30, '0'));
  EXPECT_EQ(RowOf(clipped, 13, kRed), std::string(16, '0') + std::string(9, '1') + std::string(5, '0'));
}

TEST(QtSurfaceDirect, AClipPolygonCoversWhatAFillOfItCovers) {
  Scenes scenes(5);
  for (int trial = 0; trial < 300; ++trial) {
    const QSize size = scenes.Size();
    const std::vector<TPoint> polygon = scenes.Points(size, 3, 8);
    if (!PolygonScanner::Exact(polygon)) continue;
    SCOPED_TRACE(testing::Message() << "trial " << trial << " polygon " << Scenes::Describe(polygon));
    for (const bool direct : {true, false}) {
      const auto draw = [&](bool asClip) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(kWhite);
        QtSurface surface(image);
        surface.SetDirectRaster(direct);
        surface.SetBrushColor(clRed);
        surface.SetPenStyle(psClear);
        if (asClip) {
          surface.SelectClipPolygon(polygon);
          surface.FillRect({0, 0, size.width(), size.height()});
        } else {
          surface.Polygon(polygon);
        }
        return image;
      };
      ASSERT_EQ(draw(true), draw(false)) << "direct " << direct;
    }
  }
}

// A painter begun elsewhere keeps its clip until the surface replaces it, intersects with
// it, and is left with the surface's last clip.
TEST(QtSurfaceDirect, ThePainterOfSomeoneElseKeepsItsClipUntilReplaced) {
  for (const bool direct : {true, false}) {
    SCOPED_TRACE(direct ? "direct" : "QPainter");
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(kWhite);
    QPainter painter(&image);
    painter.setClipRect(QRect(2, 2, 10, 10));
    {
      QtSurface surface(painter);
      surface.SetDirectRaster(direct);
      surface.SetBrushColor(clRed);
      surface.FillRect({0, 0, 20, 20});
      surface.IntersectClipRect({5, 0, 20, 20});
      surface.SetBrushColor(clBlue);
      surface.FillRect({0, 0, 20, 20});
      surface.SelectClipRect({14, 14, 18, 18});
    }
    EXPECT_EQ(painter.clipBoundingRect().toRect(), QRect(14, 14, 4, 4));
    painter.end();
    EXPECT_EQ(image.pixel(2, 2), kRed);
    EXPECT_EQ(image.pixel(11, 11), 0xFF0000FFu);
    EXPECT_EQ(image.pixel(5, 2), 0xFF0000FFu);
    EXPECT_EQ(image.pixel(1, 1), kWhite);
    EXPECT_EQ(image.pixel(12, 12), kWhite);
  }
}

// Cached pens, brushes, fonts and widths must follow every change of state: a sequence
// drawn on one surface equals each piece drawn on a surface of its own.
TEST(QtSurfaceDirect, TextAndStateChangesLookAsOnAFreshSurface) {
  SurfaceFont small;
  small.height = -11;
  SurfaceFont large = small;
  large.height = -17;
  large.style = FontStyleBit(fsBold);
  large.color = clBlue;
  SurfaceFont turned = small;
  turned.escapement = 900;
  const std::vector<std::function<void(QtSurface&)>> pieces{
      [&](QtSurface& s) { s.SetFont(small); s.TextOut(3, 4, "Series1"); },
      [&](QtSurface& s) {
        s.SetFont(large);
        s.SetTextAlign(kTextAlignRight | kTextAlignBaseline);
        s.TextOut(90, 40, "0.12");
      },
      [&](QtSurface& s) { s.SetPen({clGreen, 1, psDot, pmCopy, false}); s.Line(0, 45, 100, 45); },
      [&](QtSurface& s) { s.SetFont(turned); s.SetBackgroundColor(clYellow); s.TextOut(20, 58, "Ag"); },
      [&](QtSurface& s) {
        s.SetFont(small);
        s.SetTextAlign(kTextAlignCenter | kTextAlignBottom);
        s.TextOut(50, 60, "Series1");
      },
      [&](QtSurface& s) { s.SetBrush({clMaroon, bsCross, std::nullopt}); s.Rectangle(60, 2, 95, 20); },
      [&](QtSurface& s) { s.SetFont(large); s.SetBackgroundMode(BkMode::Transparent); s.TextOut(60, 2, "Series1"); },
  };
  const auto fresh = [](QImage& image, const std::function<void(QtSurface&)>& piece) {
    QtSurface surface(image);
    piece(surface);
  };
  for (const bool direct : {true, false}) {
    QImage together(100, 64, QImage::Format_RGB32), apart(100, 64, QImage::Format_RGB32);
    together.fill(kWhite);
    apart.fill(kWhite);
    {
      QtSurface surface(together);
      surface.SetDirectRaster(direct);
      for (const auto& piece : pieces) {
        // Each piece starts from the default state, as on a fresh surface.
        surface.SetPen(SurfacePen{});
        surface.SetBrush(SurfaceBrush{});
        surface.SetFont(SurfaceFont{});
        surface.SetBackgroundMode(BkMode::Opaque);
        surface.SetBackgroundColor(clWhite);
        surface.SetTextAlign(kTextAlignLeft | kTextAlignTop);
        piece(surface);
      }
    }
    for (const auto& piece : pieces) fresh(apart, piece);
    EXPECT_EQ(together, apart) << (direct ? "direct " : "QPainter ") << FirstDifference(together, apart);
  }
}

// The surface keeps the widths and glyphs of the texts it draws; what it draws must stay
// the pixels of drawText at the cell's baseline, the first time and the next.
TEST(QtSurfaceDirect, TextIsThePixelsOfDrawTextAtTheCellsBaseline) {
  const std::vector<std::string> texts{"Series12", "0.06",        "-1",   "Ag Wy",
                                       "Тест",     "abc שלום 12", "a\tb", "x\ny"};
  const std::vector<TFontStyles> styles{0, FontStyleBit(fsBold), FontStyleBit(fsItalic), FontStyleBit(fsUnderline),
                                        FontStyleBit(fsStrikeOut)};
  const std::vector<int> alignments{kTextAlignLeft | kTextAlignTop, kTextAlignRight | kTextAlignBaseline,
                                    kTextAlignCenter | kTextAlignBottom};
  for (const bool antialiased : {true, false}) {
    for (const TFontStyles style : styles) {
      for (const int height : {-11, -16, 15}) {
        SurfaceFont font;
        font.height = height;
        font.style = style;
        font.color = clNavy;
        QImage drawn(160, 90, QImage::Format_RGB32), expected(160, 90, QImage::Format_RGB32);
        drawn.fill(kWhite);
        expected.fill(kWhite);
        std::vector<std::pair<QPoint, std::string>> placed;
        {
          QtSurface surface(drawn);
          surface.SetTextAntialiasing(antialiased);
          surface.SetFont(font);
          surface.SetBackgroundMode(BkMode::Transparent);
          QPainter painter(&expected);
          painter.setRenderHint(QPainter::TextAntialiasing, antialiased);
          painter.setPen(QColor(0, 0, 0x80));
          int row = 0;
          for (int round = 0; round < 2; ++round) {
            for (const std::string& text : texts) {
              const int align = alignments[static_cast<std::size_t>(row) % alignments.size()];
              const QPoint at(20 + 37 * (row % 4), 20 + 23 * (row / 4 % 3));
              ++row;
              surface.SetTextAlign(align);
              surface.TextOut(at.x(), at.y(), text);
              // The cell's corner from the surface's own measure, then drawText on its baseline.
              const TextSize size = surface.TextExtent(text);
              painter.setFont(surface.RealisedFont());
              const QFontMetrics metrics(painter.font(), &expected);
              int left = 0, top = 0;
              if (HorizontalAlignOf(align) == HorizontalAlign::Right) left = -size.width;
              if (HorizontalAlignOf(align) == HorizontalAlign::Center) left = -(size.width / 2);
              if (VerticalAlignOf(align) == VerticalAlign::Bottom) top = -size.height;
              if (VerticalAlignOf(align) == VerticalAlign::Baseline) top = -metrics.ascent();
              painter.drawText(QPoint(at.x() + left, at.y() + top + metrics.ascent()), QString::fromStdString(text));
            }
          }
        }
        EXPECT_EQ(drawn, expected) << "antialiased " << antialiased << " style " << style << " height " << height << " "
                                   << FirstDifference(drawn, expected);
      }
    }
  }
}

// A one-pixel frame in a raster mode is drawn edge by edge (straight into the pixels of
// an RGB32 image, through the painter elsewhere); it must touch exactly the pixels of
// the same outline drawn as a path through the painter, each once, under a clip too.
TEST(QtSurfaceRasterModes, OnePixelFrameMatchesItsOutlineAsAPath) {
  const QImage background = Noise(QSize(40, 30), QImage::Format_RGB32, 5);
  const std::vector<TRect> frames = {{5, 6, 30, 20}, {3, 3, 4, 20}, {2, 9, 33, 10}, {7, 7, 9, 9}, {-5, -4, 60, 50}};
  for (TPenMode mode : {pmBlack, pmWhite, pmNot, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen, pmMaskNotPen,
                        pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor}) {
    for (const TRect& r : frames) {
      for (bool clip : {false, true}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode << " frame " << r.left << "," << r.top << "," << r.right
                                        << "," << r.bottom << " clip " << clip);
        auto draw = [&](bool asPath) {
          QImage image = background.copy();
          {
            QtSurface surface(image);
            surface.SetPen(SurfacePen{0x3366CC, 1, psSolid, mode, false});
            surface.SetBrushStyle(bsClear);
            if (clip) surface.IntersectClipRect({8, 4, 25, 26});
            if (!asPath) {
              surface.Rectangle(r);
            } else if (r.right - r.left == 1 || r.bottom - r.top == 1) {
              const std::vector<TPoint> line = {{r.left, r.top}, {r.right - r.left == 1 ? r.left : r.right,
                                                                  r.right - r.left == 1 ? r.bottom : r.top}};
              surface.Polyline(line);
            } else {
              const std::vector<TPoint> outline = {{r.left, r.top},
                                                   {r.right - 1, r.top},
                                                   {r.right - 1, r.bottom - 1},
                                                   {r.left, r.bottom - 1},
                                                   {r.left, r.top}};
              surface.Polyline(outline);
            }
          }
          return image;
        };
        const QImage frame = draw(false), path = draw(true);
        // The last frame lies outside the image, the one-column frame outside the clip.
        if (!clip && r.left >= 0) {
          EXPECT_NE(frame, background);
        }
        EXPECT_EQ(frame, path) << FirstDifference(frame, path);
      }
    }
  }
}

}  // namespace
}  // namespace tarvela
