#include "tarvela/chart/chart.h"

#include <gtest/gtest.h>

#include <memory>

#include "paint_test_support.h"
#include "tarvela/chart/chart_registration.h"
#include "tarvela/runtime/form_reader.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {
namespace {

TEST(ChartWalls, ConstructionDefaults) {
  TChart chart(nullptr);
  EXPECT_EQ(chart.BackWall().Color(), clDefault);
  EXPECT_EQ(chart.BackWall().Brush().Style(), bsClear);
  EXPECT_EQ(chart.LeftWall().Color(), 0x80FFFF);
  EXPECT_EQ(chart.BottomWall().Color(), clWhite);
  for (const TChartWall* wall : {&chart.BackWall(), &chart.LeftWall(), &chart.BottomWall()}) {
    EXPECT_EQ(wall->ParentChart(), &chart);
    EXPECT_EQ(wall->Brush().Color(), clDefault);
    EXPECT_TRUE(wall->Dark3D());
    EXPECT_EQ(wall->Size(), 0);
    EXPECT_EQ(wall->Pen().Color(), clBlack);
    EXPECT_EQ(wall->Pen().Width(), 1);
    EXPECT_EQ(wall->Pen().Style(), psSolid);
    EXPECT_EQ(wall->Pen().Mode(), pmCopy);
    EXPECT_TRUE(wall->Pen().Visible());
    EXPECT_FALSE(wall->Pen().SmallDots());
  }
  EXPECT_NE(chart.LeftWall().Brush().Style(), bsClear);
  EXPECT_EQ(&chart.Frame(), &chart.BackWall().Pen());
}

TEST(ChartWalls, ColorIsStoredOnlyWhenItDiffersFromTheWallsOwnDefault) {
  TChart chart(nullptr);
  const PropertyInfo* color = chart.LeftWall().Properties().Find("Color");
  ASSERT_NE(color, nullptr);
  EXPECT_FALSE(IsStored(chart.LeftWall(), *color));
  chart.LeftWall().SetColor(clDefault);
  EXPECT_TRUE(IsStored(chart.LeftWall(), *color));
  EXPECT_FALSE(IsStored(chart.BottomWall(), *color));
  chart.BottomWall().SetColor(9175110);
  EXPECT_TRUE(IsStored(chart.BottomWall(), *color));
}

TEST(ChartTitles, ConstructionDefaults) {
  TChart chart(nullptr);
  for (const TChartTitle* title : {&chart.Title(), &chart.Foot()}) {
    EXPECT_EQ(title->ParentChart(), &chart);
    EXPECT_TRUE(title->AdjustFrame());
    EXPECT_EQ(title->Alignment(), taCenter);
    EXPECT_EQ(title->Brush().Color(), clDefault);
    EXPECT_EQ(title->Color(), clDefault);
    EXPECT_EQ(title->Font().Name(), "Arial");
    EXPECT_EQ(title->Font().Size(), 8);
    EXPECT_EQ(title->Font().Color(), clBlue);
    EXPECT_EQ(title->Font().Style(), 0u);
    EXPECT_FALSE(title->Frame().Visible());
    EXPECT_EQ(title->Text().Count(), 0);
    EXPECT_TRUE(title->Visible());
    EXPECT_FALSE(title->IsFontStored());
  }
}

TEST(ChartTitles, FontIsStoredOnceNameSizeColourOrStyleDiffers) {
  TChart chart(nullptr);
  TChartTitle& title = chart.Title();
  const PropertyInfo* font = title.Properties().Find("Font");
  ASSERT_NE(font, nullptr);
  EXPECT_FALSE(IsStored(title, *font));
  title.Font().SetStyle(FontStyleBit(fsItalic));
  EXPECT_TRUE(IsStored(title, *font));
  title.Font().SetStyle(0);
  title.Font().SetSize(12);
  EXPECT_TRUE(IsStored(title, *font));
  title.Font().SetSize(8);
  title.Font().SetColor(clBlack);
  EXPECT_TRUE(IsStored(title, *font));
}

TEST(ChartBackColor, ReadsAndWritesTheBackWallColour) {
  TChart chart(nullptr);
  EXPECT_EQ(chart.BackColor(), clDefault);
  chart.SetBackColor(-1);
  EXPECT_EQ(chart.BackWall().Color(), -1);
  chart.BackWall().SetColor(clTeal);
  EXPECT_EQ(chart.BackColor(), clTeal);
  // Without a parent window the brush is left alone.
  EXPECT_EQ(chart.BackWall().Brush().Style(), bsClear);
}

TEST(ChartBackColor, MakesTheBackWallBrushSolidOnlyAtRunTimeInAWindow) {
  TWinControl form(nullptr);
  TChart chart(nullptr);
  chart.SetParent(&form);

  chart.SetLoading(true);
  chart.SetBackColor(clWhite);
  EXPECT_EQ(chart.BackWall().Brush().Style(), bsClear);
  chart.SetLoading(false);

  // Even an unchanged colour asks for the solid fill.
  chart.SetBackColor(clWhite);
  EXPECT_EQ(chart.BackWall().Brush().Style(), bsSolid);
}

TEST(ChartAssign, SubObjectCopiesKeepTheirOwner) {
  TChart source(nullptr);
  source.Title().Text().SetLines({"a", "b"});
  source.Title().SetAlignment(taRightJustify);
  source.Title().Font().SetColor(clRed);
  source.LeftWall().SetSize(6);
  source.LeftWall().Pen().SetVisible(false);

  TChart target(nullptr);
  int repaints = 0;
  target.HostInvalidate = [&] { ++repaints; };
  target.SetTitle(source.Title());
  target.SetLeftWall(source.LeftWall());
  EXPECT_GE(repaints, 1);
  EXPECT_EQ(target.Title().Text().Lines(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(target.Title().Alignment(), taRightJustify);
  EXPECT_EQ(target.Title().Font().Color(), clRed);
  EXPECT_EQ(target.Title().ParentChart(), &target);
  EXPECT_EQ(target.LeftWall().Size(), 6);
  EXPECT_FALSE(target.LeftWall().Pen().Visible());
  EXPECT_EQ(target.LeftWall().ParentChart(), &target);

  // The copy is the target's own: changing it repaints the target only.
  int sourceRepaints = 0;
  source.HostInvalidate = [&] { ++sourceRepaints; };
  target.Title().Text().Clear();
  EXPECT_EQ(sourceRepaints, 0);
  EXPECT_EQ(source.Title().Text().Count(), 2);
}

TEST(ChartDescription, MainFormChartReadsIntoItsSettings) {
  RegisterChartClasses();
  std::unique_ptr<TComponent> root = ReadRootComponent(paint_test::kFormChart);
  auto* chart = dynamic_cast<TChart*>(root.get());
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->Name(), "Chart1");
  EXPECT_FALSE(chart->Loading());
  EXPECT_EQ(chart->BoundsRect(), (TRect{8, 48, 473, 385}));
  EXPECT_EQ(chart->BackWall().Brush().Color(), clWhite);
  EXPECT_EQ(chart->BackWall().Brush().Style(), bsClear);
  EXPECT_EQ(chart->BackWall().Color(), -1);
  EXPECT_EQ(chart->BackColor(), -1);
  EXPECT_EQ(chart->BottomWall().Brush().Color(), clWhite);
  EXPECT_EQ(chart->BottomWall().Color(), RGBColor(70, 0, 140));
  EXPECT_EQ(chart->LeftWall().Brush().Color(), clWhite);
  EXPECT_EQ(chart->LeftWall().Color(), RGBColor(158, 62, 255));
  EXPECT_EQ(chart->Gradient().EndColor(), clAqua);
  EXPECT_EQ(chart->Gradient().StartColor(), clBlue);
  EXPECT_TRUE(chart->Gradient().Visible());
  EXPECT_EQ(chart->Gradient().Direction(), gdTopBottom);
  EXPECT_EQ(chart->Title().Text().Lines(), std::vector<std::string>{""});
  EXPECT_EQ(chart->Foot().Text().Count(), 0);
  EXPECT_EQ(chart->Chart3DPercent(), 5);
  EXPECT_EQ(chart->View3DOptions().Elevation(), 343);
  EXPECT_EQ(chart->View3DOptions().Zoom(), 101);
  EXPECT_EQ(chart->View3DOptions().Rotation(), 345);
  EXPECT_TRUE(chart->View3DOptions().Orthogonal());
  EXPECT_FALSE(chart->View3DWalls());
  EXPECT_TRUE(chart->View3D());
  EXPECT_EQ(chart->BevelWidth(), 5);
  EXPECT_EQ(chart->BorderWidth(), 10);
  EXPECT_EQ(chart->BevelOuter(), bvRaised);
  EXPECT_EQ(chart->Color(), clBtnFace);
  EXPECT_EQ(chart->TabOrder(), 2);
  EXPECT_EQ(GetPropertyPath(*chart, "BottomWall.Color"), PropertyValue::Integer(9175110));
}

TEST(ChartDescription, OutOfRangeChart3DPercentFailsTheRead) {
  RegisterChartClasses();
  constexpr const char* kBad = "object Chart1: TChart\n  Chart3DPercent = 0\nend\n";
  try {
    ReadRootComponent(kBad);
    FAIL() << "read accepted Chart3DPercent = 0";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("3D effect percent must be between 1 and 100"), std::string::npos)
        << e.what();
  }
}

}  // namespace
}  // namespace tarvela
