// Series marks: their settings, texts and drawing through a recording surface.
//
// The plot is 500 x 250 pixels at (10, 20): X 0..10 maps to pixels 10..510 (50 a
// unit) and Y 0..100 to 270..20 (2.5 a unit). The marks font is 8 points: characters
// 6 pixels wide, lines 13 high. A mark's box is as wide as its text plus "W" plus the
// frame on both sides, so "50" makes a box of 12 + 6 + 2 = 20 by 13 + 2 = 15 pixels.

#include "tarvela/chart/data/series_marks.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "axis_test_rig.h"
#include "paint_test_support.h"
#include "tarvela/chart/chart_registration.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/runtime/form_reader.h"

namespace tarvela::test {
namespace {

using Texts = std::vector<std::string>;
using Segments = std::vector<std::pair<TPoint, TPoint>>;

struct MarksRig {
  AxisRig rig;
  TLineSeries* series = rig.Line();

  MarksRig() {
    rig.chart.SetView3D(false);
    series->SetSeriesColor(clRed);
    series->Marks().SetVisible(true);
    Lay(0, 100);
  }

  void Lay(double yMin, double yMax) {
    AxisRig::Lay(rig.chart.BottomAxis(), 0, 10);
    AxisRig::Lay(rig.chart.LeftAxis(), yMin, yMax);
  }

  // The marks of the visible range, as the chart's paint draws them after the points.
  void Draw() {
    rig.surface.Clear();
    series->FindVisibleRange();
    series->DrawAllMarks();
  }

  Texts MarkTexts() {
    Texts texts;
    for (int i = 0; i < series->PointCount(); ++i) texts.push_back(series->MarkText(i));
    return texts;
  }

  std::vector<TRect> Boxes() const {
    std::vector<TRect> boxes;
    for (const std::string& line : rig.Of("Rectangle")) boxes.push_back(canvas_test::RectOf(line));
    return boxes;
  }
  Segments Arrows() const { return SegmentsOf(rig.Of("LineTo")); }
  std::vector<DrawnText> Written() const { return TextsOf(rig.surface); }
};

// A box of w x h hung ArrowLength 8 above the pixel (x, y): its bottom edge (excluded)
// at y - 7.
TRect BoxAbove(int x, int y, int w, int h) { return {x - w / 2, y - h - 7, x - w / 2 + w, y - 7}; }

std::string Pen(const std::string& line) { return canvas_test::FieldOf(line, "pen"); }

// ContrastMarkArrows is program-wide: a test that switches it puts it back.
struct ContrastGuard {
  bool saved = ContrastMarkArrows;
  ~ContrastGuard() { ContrastMarkArrows = saved; }
};

}  // namespace

// [SECTION] Settings

TEST(SeriesMarks, CopyTakesEverySettingButNotThePositions) {
  TComponent form(nullptr);
  TLineSeries& source = *NewLine(form);
  TSeriesMarks& from = source.Marks();
  from.Arrow().SetColor(clBlue);
  from.SetArrowLength(20);
  from.SetBackColor(clAqua);
  from.SetClip(true);
  from.Font().SetSize(12);
  from.Frame().SetWidth(3);
  from.SetStyle(smsXValue);
  from.SetTransparent(true);
  from.SetVisible(true);
  auto placed = std::make_unique<TSeriesMarkPosition>();
  placed->UserPlaced = true;
  from.PositionList().SetPosition(0, std::move(placed));

  TSeriesMarks& to = NewLine(form)->Marks();
  to.Assign(from);
  EXPECT_EQ(to.Arrow().Color(), clBlue);
  EXPECT_EQ(to.ArrowLength(), 20);
  EXPECT_EQ(to.BackColor(), clAqua);
  EXPECT_TRUE(to.Clip());
  EXPECT_EQ(to.Font().Size(), 12);
  EXPECT_EQ(to.Frame().Width(), 3);
  EXPECT_EQ(to.Style(), smsXValue);
  EXPECT_TRUE(to.Transparent());
  EXPECT_TRUE(to.Visible());
  EXPECT_EQ(to.PositionList().Count(), 0);
  EXPECT_EQ(from.PositionList().Count(), 1);
}

TEST(SeriesMarks, ChangingASettingRepaintsSettingTheSameValueDoesNot) {
  MarksRig m;
  RepaintCounter repaints(m.rig.chart);
  TSeriesMarks& marks = m.series->Marks();
  marks.SetStyle(smsValue);
  EXPECT_EQ(repaints.count, 1);
  marks.SetStyle(smsValue);
  EXPECT_EQ(repaints.count, 1);
  // The owned pens and font repaint too; copying an equal pen changes nothing.
  marks.Arrow().SetVisible(false);
  marks.Font().SetSize(10);
  EXPECT_EQ(repaints.count, 3);
  TChartArrowPen same;
  same.SetVisible(false);
  marks.SetArrow(same);
  EXPECT_EQ(repaints.count, 3);
}

TEST(SeriesMarks, FormDescriptionSetsNestedMarksProperties) {
  RegisterChartClasses();
  std::unique_ptr<TComponent> root = ReadRootComponent(R"(object Chart1: TChart
  object Series1: TLineSeries
    Marks.Arrow.Color = clBlue
    Marks.ArrowLength = 12
    Marks.BackColor = clYellow
    Marks.Clip = True
    Marks.Font.Color = clRed
    Marks.Font.Height = -13
    Marks.Frame.Color = clGreen
    Marks.Frame.Width = 2
    Marks.Style = smsPercentTotal
    Marks.Transparent = True
    Marks.Visible = True
  end
end
)");
  auto* chart = dynamic_cast<TChart*>(root.get());
  ASSERT_NE(chart, nullptr);
  const TSeriesMarks& marks = chart->SeriesAt(0)->Marks();
  EXPECT_EQ(marks.Arrow().Color(), clBlue);
  EXPECT_EQ(marks.ArrowLength(), 12);
  EXPECT_EQ(marks.BackColor(), clYellow);
  EXPECT_TRUE(marks.Clip());
  EXPECT_EQ(marks.Font().Color(), clRed);
  EXPECT_EQ(marks.Font().Height(), -13);
  EXPECT_EQ(marks.Frame().Color(), clGreen);
  EXPECT_EQ(marks.Frame().Width(), 2);
  EXPECT_EQ(marks.Style(), smsPercentTotal);
  EXPECT_TRUE(marks.Transparent());
  EXPECT_TRUE(marks.Visible());
}

TEST(SeriesMarks, FontIsStoredOnlyWhenItDiffersFromTheChartDefault) {
  TComponent form(nullptr);
  TSeriesMarks& marks = NewLine(form)->Marks();
  const PropertyInfo* font = marks.Properties().Find("Font");
  const PropertyInfo* arrowLength = marks.Properties().Find("ArrowLength");
  ASSERT_NE(font, nullptr);
  ASSERT_NE(arrowLength, nullptr);
  EXPECT_FALSE(IsStored(marks, *font));
  EXPECT_TRUE(IsStored(marks, *arrowLength));  // written even at its default
  marks.Font().SetStyle(FontStyleBit(fsBold));
  EXPECT_TRUE(IsStored(marks, *font));
}

// [SECTION] Mark text

TEST(MarkText, EachStyleWithAbsolutePercentagesAndTotals) {
  MarksRig m;
  m.series->AddPointXY(0, 10, "a");
  m.series->AddPointXY(1, -30);
  m.series->AddPointXY(2, 60, "c");
  TSeriesMarks& marks = m.series->Marks();
  auto texts = [&](TSeriesMarksStyle style) {
    marks.SetStyle(style);
    return m.MarkTexts();
  };
  EXPECT_EQ(texts(smsValue), (Texts{"10", "-30", "60"}));
  // The size of a negative value counts: no negative percentage.
  EXPECT_EQ(texts(smsPercent), (Texts{"10 %", "30 %", "60 %"}));
  EXPECT_EQ(texts(smsLabel), (Texts{"a", "-30", "c"}));
  EXPECT_EQ(texts(smsLabelPercent), (Texts{"a 10 %", "-30 30 %", "c 60 %"}));
  EXPECT_EQ(texts(smsLabelValue), (Texts{"a 10", "-30 -30", "c 60"}));
  EXPECT_EQ(texts(smsPercentTotal), (Texts{"10 % of 100", "30 % of 100", "60 % of 100"}));
  EXPECT_EQ(texts(smsLabelPercentTotal), (Texts{"a 10 % of 100", "-30 30 % of 100", "c 60 % of 100"}));
  EXPECT_EQ(texts(smsXValue), (Texts{"0", "1", "2"}));
  // The legend's texts, whose percentages keep the sign.
  EXPECT_EQ(texts(smsLegend), (Texts{"10 a", "-30 ", "60 c"}));
  m.rig.chart.Legend().SetTextStyle(ltsRightPercent);
  EXPECT_EQ(m.MarkTexts(), (Texts{"a 10 %", " -30 %", "c 60 %"}));

  // The series' own patterns, and the chart's locale.
  m.series->SetValueFormat("0.00");
  m.series->SetPercentFormat("0.0'%'");
  m.rig.chart.SetLocaleProvider(LocaleSettings::Comma);
  EXPECT_EQ(texts(smsLabelPercentTotal), (Texts{"a 10,0% of 100,00", "-30,00 30,0% of 100,00", "c 60,0% of 100,00"}));
}

TEST(MarkText, ZeroSumIsAHundredPercentAndXValuesFollowTheHorizontalAxis) {
  MarksRig m;
  m.series->AddPointXY(1.5, 0);
  m.series->AddPointXY(2.25, 0);
  m.series->Marks().SetStyle(smsPercent);
  EXPECT_EQ(m.MarkTexts(), (Texts{"100 %", "100 %"}));

  m.series->Marks().SetStyle(smsXValue);
  m.series->SetValueFormat("0.000");
  m.rig.chart.BottomAxis().SetAxisValuesFormat("0.0");
  EXPECT_EQ(m.MarkTexts(), (Texts{"1.5", "2.3"}));
  // Without a chart there is no horizontal axis: the value pattern writes it.
  m.series->SetParentChart(nullptr);
  EXPECT_EQ(m.MarkTexts(), (Texts{"1.500", "2.250"}));
}

TEST(MarkText, OnGetMarkTextChangesTheTextAndAnEmptyTextDrawsNoMark) {
  MarksRig m;
  for (int i = 0; i < 3; ++i) m.series->AddPointXY(i, 10 * (i + 1));
  std::vector<int> asked;
  m.series->OnGetMarkText = [&](TChartSeries* sender, int index, std::string& text) {
    EXPECT_EQ(sender, m.series);
    asked.push_back(index);
    text = index == 1 ? "" : text + "!";
  };
  EXPECT_EQ(m.MarkTexts(), (Texts{"10!", "", "30!"}));
  asked.clear();
  m.Draw();
  EXPECT_EQ(asked, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(TextStrings(m.rig.surface), (Texts{"10!", "30!"}));
  EXPECT_EQ(m.Boxes().size(), 2u);
  EXPECT_EQ(m.Arrows().size(), 2u);
}

// [SECTION] Drawing

TEST(DrawAllMarks, LineSeriesMarkHangsArrowLengthAbovePointInArrowFrameFillAndTextOrder) {
  MarksRig m;
  m.series->AddPointXY(5, 50);  // pixel (260, 145)
  m.Draw();
  const std::vector<std::string>& lines = m.rig.surface.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(canvas_test::CommandOf(lines[0]), "LineTo");
  EXPECT_EQ(canvas_test::CommandOf(lines[1]), "Rectangle");
  EXPECT_EQ(canvas_test::CommandOf(lines[2]), "TextOut");

  EXPECT_EQ(m.Arrows(), (Segments{{{260, 145}, {260, 137}}}));
  EXPECT_EQ(Pen(lines[0]), "#FFFFFF/1/solid/copy");
  EXPECT_EQ(m.Boxes(), (std::vector<TRect>{BoxAbove(260, 145, 20, 15)}));
  EXPECT_EQ(m.Boxes()[0].bottom, 145 - 7);
  EXPECT_EQ(canvas_test::FieldOf(lines[1], "brush"), "#FFFF80/solid");
  EXPECT_EQ(Pen(lines[1]), "#000000/1/solid/copy");
  const DrawnText text = m.Written().at(0);
  EXPECT_EQ(text.text, "50");
  EXPECT_EQ(text.at, (TPoint{260, 124}));  // centred, one frame width below the top
  EXPECT_EQ(text.align, "center|top");
  EXPECT_EQ(canvas_test::FieldOf(lines[2], "bk"), "transparent");
  EXPECT_EQ(text.font, "\"Arial\"/-11/regular/#000000/0");
  // The alignment does not leak into later text.
  EXPECT_EQ(m.rig.chart.Canvas().TextAlignFlags(), kTextAlignLeft | kTextAlignTop);
}

TEST(DrawAllMarks, MultiLineMarkIsItsLinesHighAndAsWideAsTheWiderLinePlusW) {
  MarksRig m;
  m.series->AddPointXY(2, 40, "ab\rcdef");  // pixel (110, 170)
  m.Draw();
  // 4 x 6 + 6 + 2 wide, 2 x 13 + 2 high.
  EXPECT_EQ(m.Boxes(), (std::vector<TRect>{BoxAbove(110, 170, 32, 28)}));
  std::vector<DrawnText> written = m.Written();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[0].text, "ab");
  EXPECT_EQ(written[0].at, (TPoint{110, 136}));
  EXPECT_EQ(written[1].text, "cdef");
  EXPECT_EQ(written[1].at, (TPoint{110, 149}));

  // A final line break opens no line; a long rest after a break is cut to 255 characters.
  m.series->ClearPoints();
  m.series->AddPointXY(2, 40, "ab\r");
  m.series->AddPointXY(4, 40, "x\r" + std::string(300, 'y'));
  m.Draw();
  written = m.Written();
  EXPECT_EQ(m.Boxes().at(0), BoxAbove(110, 170, 20, 15));
  ASSERT_EQ(written.size(), 3u);
  EXPECT_EQ(written[0].text, "ab");
  EXPECT_EQ(written[2].text, std::string(255, 'y'));
}

TEST(DrawAllMarks, UserPlacedPositionIsUsedUnchangedWhileTheOthersFollowTheirPoints) {
  MarksRig m;
  for (int i = 0; i < 5; ++i) m.series->AddPointXY(i, 10 * (i + 1));
  auto placed = std::make_unique<TSeriesMarkPosition>();
  *placed = {{300, 100}, {300, 50}, true, 20, {400, 30}, 40};
  m.series->Marks().PositionList().SetPosition(3, std::move(placed));

  auto expectedBoxes = [](int pixelsPerTen) {
    std::vector<TRect> boxes;
    for (int i = 0; i < 5; ++i)
      boxes.push_back(i == 3 ? TRect{400, 30, 440, 50} : BoxAbove(10 + 50 * i, 270 - pixelsPerTen * (i + 1), 20, 15));
    return boxes;
  };
  m.Draw();
  EXPECT_EQ(m.Boxes(), expectedBoxes(25));
  EXPECT_EQ(m.Arrows().at(3), (std::pair<TPoint, TPoint>{{300, 100}, {300, 50}}));
  EXPECT_EQ(m.Written().at(3).at, (TPoint{420, 31}));
  // The list remembers where the computed marks went.
  const TSeriesMarksPositions& list = m.series->Marks().PositionList();
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(list.Position(1)->BoundsRect(), BoxAbove(60, 220, 20, 15));
  EXPECT_FALSE(list.Position(1)->UserPlaced);

  // The points move on the screen; the placed mark does not.
  m.Lay(0, 50);
  m.Draw();
  EXPECT_EQ(m.Boxes(), expectedBoxes(50));
  EXPECT_TRUE(list.Position(3)->UserPlaced);

  // Deleting a point takes its position along; clearing the points forgets them all.
  m.series->DeletePoint(0);
  EXPECT_TRUE(list.Position(2)->UserPlaced);
  m.series->ClearPoints();
  EXPECT_EQ(list.Count(), 0);
}

TEST(DrawAllMarks, NullPointsFramesAndTransparentBoxes) {
  MarksRig m;
  m.series->AddPointXY(2, 40);  // pixel (110, 170)
  m.series->AddNullPointXY(4, 40);
  TSeriesMarks& marks = m.series->Marks();
  marks.Frame().SetWidth(2);
  m.Draw();
  // The frame widens the box by twice its width and lowers the text by it.
  EXPECT_EQ(m.Boxes(), (std::vector<TRect>{BoxAbove(110, 170, 22, 17)}));
  EXPECT_EQ(m.Written().at(0).at, (TPoint{110, 170 - 7 - 17 + 2}));

  marks.SetTransparent(true);
  m.Draw();
  EXPECT_EQ(canvas_test::FieldOf(m.rig.Of("Rectangle").at(0), "brush"), "#FFFF80/clear");
  marks.Frame().SetVisible(false);
  m.Draw();
  EXPECT_TRUE(m.Boxes().empty());
  ASSERT_EQ(m.Written().size(), 1u);
  EXPECT_EQ(m.Written().at(0).at, (TPoint{110, 170 - 7 - 13}));
  // A fill without a frame: the box no longer counts the frame.
  marks.SetTransparent(false);
  m.Draw();
  EXPECT_EQ(m.Boxes(), (std::vector<TRect>{BoxAbove(110, 170, 18, 13)}));
  EXPECT_NE(Pen(m.rig.Of("Rectangle").at(0)).find("/clear/"), std::string::npos);
}

TEST(DrawAllMarks, ArrowsThatWouldVanishAreDrawnInContrast) {
  ContrastGuard guard;
  MarksRig m;
  m.series->AddPointXY(5, 50);
  TSeriesMarks& marks = m.series->Marks();
  auto arrowPen = [&] {
    m.Draw();
    return Pen(m.rig.Of("LineTo").at(0)).substr(0, 7);
  };
  marks.Arrow().SetColor(clRed);  // the point's colour
  EXPECT_EQ(arrowPen(), "#000000");
  m.rig.chart.SetColor(clBlack);
  EXPECT_EQ(arrowPen(), "#FFFFFF");
  marks.Arrow().SetColor(clBlack);  // the chart's colour
  EXPECT_EQ(arrowPen(), "#FFFFFF");
  m.rig.chart.SetColor(clSilver);
  marks.Arrow().SetColor(clSilver);
  EXPECT_EQ(arrowPen(), "#000000");
  marks.Arrow().SetColor(clBlue);
  EXPECT_EQ(arrowPen(), "#0000FF");

  ContrastMarkArrows = false;
  marks.Arrow().SetColor(clRed);
  EXPECT_EQ(arrowPen(), "#FF0000");
  marks.Arrow().SetVisible(false);
  m.Draw();
  EXPECT_TRUE(m.Arrows().empty());
  EXPECT_EQ(m.Boxes().size(), 1u);
}

TEST(DrawAllMarks, InThreeDTheArrowLiesAtTheFrontOfTheSlabAndTheBoxHangsAtItsProjectedEnd) {
  MarksRig m;
  TLineSeries* front = m.rig.Line();
  front->AddPointXY(1, 10);
  m.series->AddPointXY(5, 50);  // pixel (260, 145), at the back
  m.rig.chart.SetView3D(true);
  m.rig.chart.AssignDepthSlots();
  m.rig.Project3D(10);  // P(x, y, z) = (x + z, y - z)
  m.rig.chart.SetSeriesDepths();
  const int d = m.series->DepthFront();
  ASSERT_GT(d, 0);
  EXPECT_EQ(m.series->Marks().MarksDepth(), m.series->DepthMiddle());

  m.Draw();
  EXPECT_EQ(m.series->Marks().MarksDepth(), d);
  EXPECT_EQ(m.Arrows(), (Segments{{{260 + d, 145 - d}, {260 + d, 137 - d}}}));
  const TRect flat = BoxAbove(260, 145, 20, 15);
  EXPECT_EQ(m.Boxes(), (std::vector<TRect>{{flat.left + d, flat.top - d, flat.right + d, flat.bottom - d}}));
  EXPECT_EQ(m.Written().at(0).at, (TPoint{260 + d, flat.top + 1 - d}));
  // The stored position is the unprojected one.
  EXPECT_EQ(m.series->Marks().PositionList().Position(0)->BoundsRect(), flat);

  // Zoomed text: 8 points at 150 % are 12 (characters 8 wide, lines 19 high).
  m.rig.chart.View3DOptions().SetZoom(150);
  m.Draw();
  EXPECT_EQ(m.Written().at(0).font, "\"Arial\"/-16/regular/#000000/0");
  const TRect zoomed = m.Boxes().at(0);
  EXPECT_EQ(zoomed.right - zoomed.left, 2 * 8 + 8 + 2);
  EXPECT_EQ(zoomed.bottom - zoomed.top, 19 + 2);
  m.rig.chart.View3DOptions().SetZoomText(false);
  m.Draw();
  EXPECT_EQ(m.Written().at(0).font, "\"Arial\"/-11/regular/#000000/0");
}

// [SECTION] In the chart's paint

TEST(SeriesMarksPaint, HiddenMarksAreNeitherMeasuredNorDrawnShownOnesComeAfterThePoints) {
  paint_test::Recorder record;
  TComponent form(nullptr);
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 400, 300);
  chart.SetView3D(false);
  TLineSeries* series = NewLine(form, &chart);
  series->SetSeriesColor(clRed);
  series->AddPointXY(0, 10);
  series->AddPointXY(1, 20);
  int asked = 0;
  series->OnGetMarkText = [&](TChartSeries*, int, std::string&) { ++asked; };

  paint_test::Paint paint = record(chart);
  EXPECT_EQ(asked, 0);
  auto markBoxes = [](const paint_test::Paint& p) {
    int count = 0;
    for (const std::string& line : p.Of("Rectangle")) count += canvas_test::FieldOf(line, "brush") == "#FFFF80/solid";
    return count;
  };
  EXPECT_EQ(markBoxes(paint), 0);

  series->Marks().SetVisible(true);
  paint = record(chart);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(markBoxes(paint), 2);
  // The series line first, its marks on top of it.
  std::size_t lastLine = 0;
  std::size_t firstBox = paint.lines.size();
  for (std::size_t i = 0; i < paint.lines.size(); ++i) {
    const std::string& line = paint.lines[i];
    const std::string command = canvas_test::CommandOf(line);
    if ((command == "LineTo" || command == "Polyline") && Pen(line).rfind("#FF0000", 0) == 0) lastLine = i;
    if (canvas_test::FieldOf(line, "brush") == "#FFFF80/solid") firstBox = std::min(firstBox, i);
  }
  EXPECT_GT(lastLine, 0u);
  EXPECT_LT(lastLine, firstBox);
}

}  // namespace tarvela::test
