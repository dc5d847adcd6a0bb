#include "tarvela/chart/panel/panel.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tarvela/chart/chart.h"
#include "tarvela/runtime/exceptions.h"

namespace tarvela {
namespace {

// Counts the repaint requests that reach the hosting window.
struct RepaintCounter {
  explicit RepaintCounter(TCustomZavPanel& panel) {
    panel.HostInvalidate = [this] { ++count; };
  }
  int count = 0;
};

TEST(PanelSettings, ConstructionDefaults) {
  TChart chart(nullptr);
  EXPECT_EQ(chart.Width(), 400);
  EXPECT_EQ(chart.Height(), 250);
  EXPECT_EQ(chart.BevelInner(), bvNone);
  EXPECT_EQ(chart.BevelOuter(), bvRaised);
  EXPECT_EQ(chart.BevelWidth(), 1);
  EXPECT_EQ(chart.BorderWidth(), 0);
  EXPECT_EQ(chart.BorderStyle(), bsNone);
  EXPECT_EQ(chart.Color(), clBtnFace);
  EXPECT_EQ(chart.MarginLeft(), 3);
  EXPECT_EQ(chart.MarginTop(), 4);
  EXPECT_EQ(chart.MarginRight(), 3);
  EXPECT_EQ(chart.MarginBottom(), 4);
  EXPECT_EQ(chart.Chart3DPercent(), 15);
  EXPECT_TRUE(chart.View3D());
  EXPECT_FALSE(chart.Monochrome());
  EXPECT_TRUE(chart.PrintProportional());
  EXPECT_TRUE(chart.Buffered());
  EXPECT_EQ(chart.PrintMargins(), (TRect{15, 15, 15, 15}));
  EXPECT_EQ(chart.PrintResolution(), 0);
  EXPECT_TRUE(chart.AutoRepaint());

  EXPECT_EQ(chart.Gradient().Direction(), gdTopBottom);
  EXPECT_EQ(chart.Gradient().StartColor(), clWhite);
  EXPECT_EQ(chart.Gradient().EndColor(), clYellow);
  EXPECT_FALSE(chart.Gradient().Visible());
  EXPECT_EQ(chart.BackImageMode(), pbmStretch);
  EXPECT_TRUE(chart.AllowZoom());
  EXPECT_EQ(chart.AllowPanning(), pmBoth);
  EXPECT_FALSE(chart.AnimatedZoom());
  EXPECT_EQ(chart.AnimatedZoomSteps(), 8);

  EXPECT_TRUE(chart.AxisVisible());
  EXPECT_TRUE(chart.ClipPoints());
  EXPECT_TRUE(chart.View3DWalls());
  EXPECT_TRUE(chart.ScaleLastPage());

  const TView3DOptions& view = chart.View3DOptions();
  EXPECT_EQ(view.Owner(), &chart);
  EXPECT_EQ(view.Elevation(), 345);
  EXPECT_EQ(view.HorizOffset(), 0);
  EXPECT_TRUE(view.Orthogonal());
  EXPECT_EQ(view.Perspective(), 15);
  EXPECT_EQ(view.Rotation(), 345);
  EXPECT_EQ(view.Tilt(), 0);
  EXPECT_EQ(view.VertOffset(), 0);
  EXPECT_EQ(view.Zoom(), 100);
  EXPECT_TRUE(view.ZoomText());
}

TEST(PanelSettings, Chart3DPercentOutOfRangeKeepsOldValue) {
  TChart chart(nullptr);
  chart.SetChart3DPercent(40);
  RepaintCounter repaints(chart);
  for (int bad : {0, 101, -1}) {
    try {
      chart.SetChart3DPercent(bad);
      FAIL() << "accepted " << bad;
    } catch (const ChartException& e) {
      EXPECT_STREQ(e.what(), "3D effect percent must be between 1 and 100");
    }
    EXPECT_EQ(chart.Chart3DPercent(), 40);
  }
  EXPECT_EQ(repaints.count, 0);
  chart.SetChart3DPercent(1);
  EXPECT_EQ(chart.Chart3DPercent(), 1);
  chart.SetChart3DPercent(100);
  EXPECT_EQ(chart.Chart3DPercent(), 100);
  EXPECT_EQ(repaints.count, 2);
}

// Each setting, the chart's own and those of the sub-objects it owns, asks for no
// repaint when given its current value and for exactly one when given another.
TEST(PanelSettings, ChangeRuleRepaintsOnlyOnDifferingValues) {
  struct Case {
    std::string name;
    std::function<void(TChart&)> same;
    std::function<void(TChart&)> other;
  };
  const std::vector<Case> cases = {
      {"BevelWidth", [](TChart& c) { c.SetBevelWidth(1); }, [](TChart& c) { c.SetBevelWidth(5); }},
      {"BorderWidth", [](TChart& c) { c.SetBorderWidth(0); }, [](TChart& c) { c.SetBorderWidth(10); }},
      {"BevelInner", [](TChart& c) { c.SetBevelInner(bvNone); }, [](TChart& c) { c.SetBevelInner(bvLowered); }},
      {"MarginTop", [](TChart& c) { c.SetMarginTop(4); }, [](TChart& c) { c.SetMarginTop(7); }},
      {"Chart3DPercent", [](TChart& c) { c.SetChart3DPercent(15); }, [](TChart& c) { c.SetChart3DPercent(5); }},
      {"Color", [](TChart& c) { c.SetColor(clBtnFace); }, [](TChart& c) { c.SetColor(clRed); }},
      {"View3D", [](TChart& c) { c.SetView3D(true); }, [](TChart& c) { c.SetView3D(false); }},
      {"View3DWalls", [](TChart& c) { c.SetView3DWalls(true); }, [](TChart& c) { c.SetView3DWalls(false); }},
      {"Gradient.StartColor", [](TChart& c) { c.Gradient().SetStartColor(clWhite); },
       [](TChart& c) { c.Gradient().SetStartColor(clBlue); }},
      {"Gradient.Visible", [](TChart& c) { c.Gradient().SetVisible(false); },
       [](TChart& c) { c.Gradient().SetVisible(true); }},
      {"View3DOptions.Elevation", [](TChart& c) { c.View3DOptions().SetElevation(345); },
       [](TChart& c) { c.View3DOptions().SetElevation(343); }},
      {"View3DOptions.Zoom", [](TChart& c) { c.View3DOptions().SetZoom(100); },
       [](TChart& c) { c.View3DOptions().SetZoom(101); }},
      {"LeftWall.Color", [](TChart& c) { c.LeftWall().SetColor(0x80FFFF); },
       [](TChart& c) { c.LeftWall().SetColor(16727710); }},
      {"BackWall.Brush.Style", [](TChart& c) { c.BackWall().Brush().SetStyle(bsClear); },
       [](TChart& c) { c.BackWall().Brush().SetStyle(bsSolid); }},
      {"BottomWall.Pen.Width", [](TChart& c) { c.BottomWall().Pen().SetWidth(1); },
       [](TChart& c) { c.BottomWall().Pen().SetWidth(3); }},
      {"BottomWall.Size", [](TChart& c) { c.BottomWall().SetSize(0); }, [](TChart& c) { c.BottomWall().SetSize(4); }},
      {"Title.Font.Color", [](TChart& c) { c.Title().Font().SetColor(clBlue); },
       [](TChart& c) { c.Title().Font().SetColor(clRed); }},
      {"Title.Frame.Visible", [](TChart& c) { c.Title().Frame().SetVisible(false); },
       [](TChart& c) { c.Title().Frame().SetVisible(true); }},
      {"Foot.Alignment", [](TChart& c) { c.Foot().SetAlignment(taCenter); },
       [](TChart& c) { c.Foot().SetAlignment(taLeftJustify); }},
      {"Title.Text", [](TChart& c) { c.Title().Text().SetLines({}); },
       [](TChart& c) { c.Title().Text().SetLines({""}); }},
  };
  for (const Case& testCase : cases) {
    SCOPED_TRACE(testCase.name);
    TChart chart(nullptr);
    RepaintCounter repaints(chart);
    testCase.same(chart);
    EXPECT_EQ(repaints.count, 0);
    testCase.other(chart);
    EXPECT_EQ(repaints.count, 1);
    testCase.other(chart);
    EXPECT_EQ(repaints.count, 1);
  }
}

TEST(PanelSettings, NoRepaintRequestWhileAutoRepaintIsOff) {
  TChart chart(nullptr);
  RepaintCounter repaints(chart);
  chart.SetAutoRepaint(false);
  chart.SetBevelWidth(3);
  chart.Gradient().SetVisible(true);
  EXPECT_EQ(repaints.count, 0);
  EXPECT_EQ(chart.BevelWidth(), 3);
}

TEST(PanelSettings, MarginsAreOneIndexedSetting) {
  TChart chart(nullptr);
  chart.SetMargin(kMarginLeft, 10);
  chart.SetMargin(kMarginBottom, 20);
  EXPECT_EQ(chart.MarginLeft(), 10);
  EXPECT_EQ(chart.MarginBottom(), 20);
  chart.SetMarginTop(7);
  EXPECT_EQ(chart.Margin(kMarginTop), 7);
  EXPECT_THROW(chart.SetMargin(4, 1), EListError);
  EXPECT_THROW(chart.Margin(-1), EListError);
}

TEST(PanelSettings, AssignCopiesPanelSettingsButNotTheFrame) {
  TChart source(nullptr);
  source.SetMarginRight(9);
  source.SetChart3DPercent(5);
  source.SetView3D(false);
  source.SetColor(clNavy);
  source.SetMonochrome(true);
  source.SetPrintProportional(false);
  source.View3DOptions().SetElevation(343);
  source.View3DOptions().SetZoom(101);
  source.Gradient().SetVisible(true);
  source.Gradient().SetStartColor(clBlue);
  source.Gradient().SetDirection(gdFromCenter);
  source.SetAllowPanning(pmVertical);
  source.SetAnimatedZoomSteps(3);
  source.SetView3DWalls(false);
  source.SetBevelWidth(5);
  source.SetBorderWidth(10);

  TChart target(nullptr);
  RepaintCounter repaints(target);
  target.Assign(source);
  EXPECT_GE(repaints.count, 1);
  EXPECT_EQ(target.MarginRight(), 9);
  EXPECT_EQ(target.Chart3DPercent(), 5);
  EXPECT_FALSE(target.View3D());
  EXPECT_EQ(target.Color(), clNavy);
  EXPECT_TRUE(target.Monochrome());
  EXPECT_FALSE(target.PrintProportional());
  EXPECT_EQ(target.View3DOptions().Elevation(), 343);
  EXPECT_EQ(target.View3DOptions().Zoom(), 101);
  EXPECT_EQ(target.View3DOptions().Owner(), &target);
  EXPECT_TRUE(target.Gradient().Visible());
  EXPECT_EQ(target.Gradient().StartColor(), clBlue);
  EXPECT_EQ(target.Gradient().Direction(), gdFromCenter);
  EXPECT_EQ(target.AllowPanning(), pmVertical);
  EXPECT_EQ(target.AnimatedZoomSteps(), 3);
  EXPECT_FALSE(target.View3DWalls());
  // Bevels and border are the panel's frame, not part of what a copy carries.
  EXPECT_EQ(target.BevelWidth(), 1);
  EXPECT_EQ(target.BorderWidth(), 0);
}

TEST(View3DOptionsSettings, NotificationsFollowOffsetsAndPrecedeZoom) {
  TChart chart(nullptr);
  TView3DOptions& view = chart.View3DOptions();
  std::vector<std::string> events;
  chart.HostInvalidate = [&] { events.push_back("repaint"); };
  view.NotifyScrolled = [&](bool horizontal) { events.push_back(horizontal ? "horizontal" : "vertical"); };
  view.NotifyZooming = [&](int zoom) {
    events.push_back("zoom " + std::to_string(zoom) + " from " + std::to_string(view.Zoom()));
  };

  view.SetHorizOffset(0);
  view.SetVertOffset(0);
  view.SetZoom(100);
  EXPECT_TRUE(events.empty());

  view.SetHorizOffset(-12);
  view.SetVertOffset(7);
  view.SetZoom(101);
  EXPECT_EQ(events, (std::vector<std::string>{"repaint", "horizontal", "repaint", "vertical", "zoom 101 from 100",
                                              "repaint"}));
}

TEST(View3DOptionsSettings, AssignCopiesAllNineValuesWithoutNotifications) {
  TView3DOptions source(nullptr);
  source.SetElevation(1);
  source.SetHorizOffset(2);
  source.SetOrthogonal(false);
  source.SetPerspective(3);
  source.SetRotation(4);
  source.SetTilt(5);
  source.SetVertOffset(6);
  source.SetZoom(7);
  source.SetZoomText(false);

  TView3DOptions target(nullptr);
  int notifications = 0;
  target.NotifyScrolled = [&](bool) { ++notifications; };
  target.NotifyZooming = [&](int) { ++notifications; };
  target.Assign(source);
  EXPECT_EQ(notifications, 0);
  EXPECT_EQ(target.Elevation(), 1);
  EXPECT_EQ(target.HorizOffset(), 2);
  EXPECT_FALSE(target.Orthogonal());
  EXPECT_EQ(target.Perspective(), 3);
  EXPECT_EQ(target.Rotation(), 4);
  EXPECT_EQ(target.Tilt(), 5);
  EXPECT_EQ(target.VertOffset(), 6);
  EXPECT_EQ(target.Zoom(), 7);
  EXPECT_FALSE(target.ZoomText());
}

}  // namespace
}  // namespace tarvela
