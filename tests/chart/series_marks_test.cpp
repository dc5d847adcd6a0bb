// Series marks: their settings and texts.

#include "chart/series_marks.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "axis_test_rig.h"
#include "chart/chart_registration.h"
#include "chart/line_series.h"
#include "runtime/form_reader.h"

namespace tarvela::test {
namespace {

using Texts = std::vector<std::string>;

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

  Texts MarkTexts() {
    Texts texts;
    for (int i = 0; i < series->PointCount(); ++i) texts.push_back(series->MarkText(i));
    return texts;
  }
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

  TLineSeries& copy = *NewLine(form);
  TSeriesMarks& to = copy.Marks();
  EXPECT_EQ(to.Arrow().Color(), clWhite);
  EXPECT_EQ(to.BackColor(), 0x80FFFF);
  EXPECT_EQ(to.Style(), smsLabel);
  EXPECT_EQ(to.Font().Name(), "Arial");
  EXPECT_EQ(to.Font().Size(), 8);
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
  marks.Frame().SetColor(clRed);
  marks.Arrow().SetVisible(false);
  marks.Font().SetSize(10);
  marks.SetBackColor(clLime);
  marks.SetTransparent(true);
  EXPECT_EQ(repaints.count, 6);
  // Copying an equal pen, or the same values again, changes nothing.
  TChartArrowPen same;
  same.SetVisible(false);
  marks.SetArrow(same);
  marks.SetBackColor(clLime);
  marks.SetTransparent(true);
  EXPECT_EQ(repaints.count, 6);
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

TEST(SeriesMarkPosition, BoundsRectAndCopyingKeepTheTargetsOwnPlacement) {
  TSeriesMarkPosition placed;
  placed.UserPlaced = true;
  TSeriesMarkPosition computed{{1, 2}, {3, 4}, false, 20, {5, 6}, 30};
  EXPECT_EQ(computed.BoundsRect(), (TRect{5, 6, 35, 26}));
  placed.Assign(computed);
  EXPECT_TRUE(placed.UserPlaced);
  EXPECT_EQ(placed.ArrowStart, (TPoint{1, 2}));
  EXPECT_EQ(placed.ArrowEnd, (TPoint{3, 4}));
  EXPECT_EQ(placed.BoundsRect(), computed.BoundsRect());
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

TEST(MarkText, OnGetMarkTextHasTheLastWord) {
  MarksRig m;
  for (int i = 0; i < 3; ++i) m.series->AddPointXY(i, 10 * (i + 1));
  m.series->OnGetMarkText = [&](TChartSeries* sender, int index, std::string& text) {
    EXPECT_EQ(sender, m.series);
    text = index == 1 ? "" : text + "!";
  };
  EXPECT_EQ(m.MarkTexts(), (Texts{"10!", "", "30!"}));
}

}  // namespace tarvela::test
