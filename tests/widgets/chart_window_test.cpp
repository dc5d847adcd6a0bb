// The chart as pixels: the form's panel drawn through QtSurface, and the window that
// hosts a panel (paint, buffer copy, mouse, wheel, leave, cursor).
#include "tarvela/widgets/chart_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "chart/paint_test_support.h"
#include "tarvela/chart/chart.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela {
namespace {

QImage Render(TCustomZavPanel& panel) {
  QImage image(panel.Width(), panel.Height(), QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QtSurface surface(image);
    panel.PaintChart(surface, panel.ClientRect());
  }
  return image;
}

::testing::AssertionResult IsColor(const QImage& image, int x, int y, QRgb expected) {
  const QRgb got = image.pixel(x, y) & 0xFFFFFFu;
  if (got == (expected & 0xFFFFFFu)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex << got << ", expected "
                                       << (expected & 0xFFFFFFu);
}

// Blue at full strength, no red, and green within [low, high]: a shade between
// blue (green 0) and aqua (green 255).
::testing::AssertionResult IsBlueToAqua(const QImage& image, int x, int y, int low, int high) {
  const QColor c = image.pixelColor(x, y);
  if (c.red() == 0 && c.blue() == 255 && c.green() >= low && c.green() <= high)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << c.red() << "," << c.green() << ","
                                       << c.blue();
}

constexpr QRgb kHighlight = qRgb(255, 255, 255);
constexpr QRgb kShadow = qRgb(160, 160, 160);
constexpr QRgb kFace = qRgb(240, 240, 240);

// The form's chart: aqua at the top, blue at the bottom, inside a raised 5-pixel bevel
// and a 10-pixel ring in button face.
void ExpectFormChartPixels(const QImage& image) {
  ASSERT_EQ(image.size(), QSize(465, 337));
  for (int x : {5, 232, 459}) {
    EXPECT_TRUE(IsColor(image, x, 0, kHighlight));
    EXPECT_TRUE(IsColor(image, x, 4, kHighlight));
    EXPECT_TRUE(IsColor(image, x, 336, kShadow));
    EXPECT_TRUE(IsColor(image, x, 332, kShadow));
    EXPECT_TRUE(IsColor(image, x, 5, kFace));
    EXPECT_TRUE(IsColor(image, x, 14, kFace));
    EXPECT_TRUE(IsColor(image, x, 322, kFace));
    EXPECT_TRUE(IsColor(image, x, 331, kFace));
  }
  for (int y : {5, 168, 331}) {
    EXPECT_TRUE(IsColor(image, 0, y, kHighlight));
    EXPECT_TRUE(IsColor(image, 464, y, kShadow));
    EXPECT_TRUE(IsColor(image, 7, y, kFace));
    EXPECT_TRUE(IsColor(image, 457, y, kFace));
  }
  // The gradient inside the ring: nearly aqua at its top row, nearly blue at its
  // bottom row, half-way in the middle.
  EXPECT_TRUE(IsBlueToAqua(image, 15, 15, 235, 250));
  EXPECT_TRUE(IsBlueToAqua(image, 232, 15, 235, 250));
  EXPECT_TRUE(IsBlueToAqua(image, 232, 168, 120, 135));
  EXPECT_TRUE(IsBlueToAqua(image, 232, 321, 5, 20));
  EXPECT_TRUE(IsBlueToAqua(image, 449, 321, 5, 20));
}

TEST(ChartPixels, FormChartShowsGradientInsideBevelAndRing) {
  std::unique_ptr<TChart> chart = paint_test::FormChart();
  ASSERT_NE(chart, nullptr);
  ExpectFormChartPixels(Render(*chart));
}

// A chart that writes down what the window told it.
class ListeningChart : public TChart {
 public:
  ListeningChart() : TChart(nullptr) {}
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    heard.push_back("down " + std::to_string(button) + " " + std::to_string(shift) + " " + Point(x, y));
  }
  void MouseMove(TShiftState shift, int x, int y) override {
    heard.push_back("move " + std::to_string(shift) + " " + Point(x, y));
  }
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
    heard.push_back("up " + std::to_string(button) + " " + std::to_string(shift) + " " + Point(x, y));
  }
  bool MouseWheel(TShiftState shift, int delta, int x, int y) override {
    heard.push_back("wheel " + std::to_string(shift) + " " + std::to_string(delta) + " " + Point(x, y));
    return true;
  }
  std::vector<std::string> heard;

 private:
  static std::string Point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
};

TEST(ChartWindowHost, PaintsThePanelThenOnlyCopiesItsBufferUntilSomethingChanges) {
  std::unique_ptr<TChart> chart = paint_test::FormChart();
  int draws = 0;
  chart->OnAfterDraw = [&](TComponent*) { ++draws; };
  ChartWindow window(*chart, nullptr);
  EXPECT_EQ(window.Panel(), chart.get());
  EXPECT_EQ(window.geometry(), QRect(8, 48, 465, 337));

  // The first frame at a size is drawn until its layout repeats: twice at least.
  const QImage first = window.grab().toImage();
  const int settled = draws;
  EXPECT_GE(settled, 2);
  EXPECT_LE(settled, TChart::kMaxSettlePaints);
  ExpectFormChartPixels(first.convertToFormat(QImage::Format_RGB32));

  const QImage second = window.grab().toImage();
  EXPECT_EQ(draws, settled);
  EXPECT_EQ(window.PaintCount(), 2);
  EXPECT_EQ(second, first);

  chart->Gradient().SetStartColor(clRed);
  const QImage third = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(draws, settled + 1);
  EXPECT_EQ(QColor(third.pixel(232, 321)).red(), 255 - 11);

  // The window follows the control's size, and the first paint at it settles anew.
  chart->SetBounds(8, 48, 300, 200);
  EXPECT_EQ(window.size(), QSize(300, 200));
  EXPECT_EQ(window.grab().toImage().size(), QSize(300, 200));
  EXPECT_GE(draws, settled + 3);
}

TEST(ChartWindowHost, ForwardsMouseWheelAndLeaveAndShowsThePanelsCursor) {
  ListeningChart chart;
  chart.SetCursor(crCross);
  chart.Loaded();
  ChartWindow window(chart, nullptr);
  EXPECT_EQ(window.cursor().shape(), Qt::CrossCursor);

  QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 20), QPointF(10, 20), QPointF(10, 20), Qt::LeftButton,
                    Qt::LeftButton, Qt::ShiftModifier);
  QApplication::sendEvent(&window, &press);
  QMouseEvent move(QEvent::MouseMove, QPointF(30, 40), QPointF(30, 40), QPointF(30, 40), Qt::NoButton,
                   Qt::RightButton, Qt::ControlModifier);
  QApplication::sendEvent(&window, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(31, 41), QPointF(31, 41), QPointF(31, 41),
                      Qt::RightButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &release);
  QWheelEvent wheel(QPointF(50, 60), QPointF(50, 60), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::AltModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(&window, &wheel);
  EXPECT_TRUE(wheel.isAccepted());

  const TShiftState shiftLeft = (1u << ssShift) | (1u << ssLeft);
  const TShiftState ctrlRight = (1u << ssCtrl) | (1u << ssRight);
  EXPECT_EQ(chart.heard, (std::vector<std::string>{
                             "down 0 " + std::to_string(shiftLeft) + " 10,20",
                             "move " + std::to_string(ctrlRight) + " 30,40",
                             "up 1 0 31,41",
                             "wheel " + std::to_string(1u << ssAlt) + " -120 50,60",
                         }));

  // A cursor set on the panel shows at once; leaving brings the loaded one back.
  chart.SetCursor(crHandPoint);
  EXPECT_EQ(window.cursor().shape(), Qt::PointingHandCursor);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&window, &leave);
  EXPECT_EQ(chart.Cursor(), crCross);
  EXPECT_EQ(window.cursor().shape(), Qt::CrossCursor);
}

TEST(ChartWindowHost, FillsAControlThatIsNotAPanelWithItsColour) {
  TWinControl control(nullptr);
  control.SetBounds(0, 0, 20, 10);
  control.SetColor(clRed);
  ChartWindow window(control, nullptr);
  EXPECT_EQ(window.Panel(), nullptr);
  const QImage image = window.grab().toImage();
  EXPECT_TRUE(IsColor(image, 10, 5, qRgb(255, 0, 0)));
}

}  // namespace
}  // namespace tarvela
