// Extreme settings painted through both surfaces: axes zoomed to 1e-300 and 1e300,
// logarithmic axes over zero and negative data, labels of ten thousand characters,
// number patterns at the length limit, MinorTickCount at its bound, bars at the limits
// of BarWidthPercent, and every enumeration setting of the chart and its series at
// each of its values.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "extreme_support.h"
#include "tarvela/chart/messages.h"
#include "tarvela/chart/series/bar_series.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/properties.h"

namespace tarvela::extreme {
namespace {

// A 3D chart with a legend, a line series with pointers and a bar series, both with
// marks; the line's points labelled labelPrefix + "a", "b", ...
std::unique_ptr<TChart> LineAndBars(const std::string& labelPrefix = "") {
  std::unique_ptr<TChart> chart = ChartOf(R"(object C: TChart
  Legend.Visible = True
  object Line: TLineSeries
    Marks.Visible = True
    Pointer.Visible = True
  end
  object Bars: TBarSeries
    Marks.Visible = True
  end
end)");
  const double xs[] = {-5, 0, 1, 2, 3};
  const double lineYs[] = {-2, 0, 3, 1e-3, 7};
  const double barYs[] = {1, 2, 0, -4, 9};
  for (int i = 0; i < 5; ++i) {
    chart->SeriesAt(0)->AddPointXY(xs[i], lineYs[i], labelPrefix + static_cast<char>('a' + i));
    chart->SeriesAt(1)->AddPointXY(xs[i], barYs[i]);
  }
  return chart;
}

TEST(ExtremeSettings, AxesZoomedToRangesOf1eMinus300And1e300Paint) {
  struct Zoom {
    double minimum, maximum;
  };
  for (const Zoom zoom : {Zoom{0, 1e-300}, Zoom{1e-300, 2e-300}, Zoom{0, 1e300}, Zoom{-1e300, 1e300},
                          Zoom{-1.7e308, 1.7e308}, Zoom{1, 1}}) {
    for (const bool view3D : {false, true}) {
      std::unique_ptr<TChart> chart = LineAndBars();
      chart->SetView3D(view3D);
      for (TChartAxis* axis : {&chart->LeftAxis(), &chart->BottomAxis()}) {
        axis->SetAutomatic(false);
        axis->SetMaximum(zoom.maximum);
        axis->SetMinimum(zoom.minimum);
      }
      ExpectBoundedPaint(*chart, "zoomed to " + std::to_string(zoom.minimum) + ".." + std::to_string(zoom.maximum));
    }
  }
}

// An axis refuses to turn logarithmic over negative values, but data added later may
// be zero or negative, and a manual range may start at zero.
TEST(ExtremeSettings, LogarithmicAxesOverZeroAndNegativeDataPaint) {
  for (const bool automatic : {true, false}) {
    std::unique_ptr<TChart> chart = ChartOf(
        "object C: TChart\n  object L: TLineSeries\n    Pointer.Visible = True\n    Marks.Visible = True\n  end\n"
        "  object B: TBarSeries\n  end\nend");
    chart->SeriesAt(0)->AddPointXY(1, 10);
    for (TChartAxis* axis : {&chart->LeftAxis(), &chart->BottomAxis()}) {
      if (!automatic) {
        axis->SetAutomatic(false);
        axis->SetMaximum(1000);
        axis->SetMinimum(0);
      }
      axis->SetLogarithmic(true);
      axis->SetMinorTickCount(kMaxMinorTickCount);
    }
    for (const double value : {0.0, -1.0, -1e300, 1e-300, 1e300}) {
      chart->SeriesAt(0)->AddPointXY(value, value);
      chart->SeriesAt(1)->AddPointXY(value, value);
    }
    ExpectBoundedPaint(*chart, automatic ? "automatic logarithmic axes" : "logarithmic axes from 0");
  }
}

TEST(ExtremeSettings, LabelsOfTenThousandCharactersPaintEverywhereALabelShows) {
  const std::string label(10000, 'W');
  std::unique_ptr<TChart> chart = LineAndBars(label);
  chart->Title().Text().SetLines({label, label});
  chart->LeftAxis().Title().SetCaption(label);
  chart->BottomAxis().SetLabelStyle(talText);
  chart->Legend().SetLegendStyle(lsValues);
  ExpectBoundedPaint(*chart, "labels of 10,000 characters");
}

// 224 characters are the longest pattern: it paints; one more fails the paint with the
// pattern's own message, and the chart paints as before once the pattern is mended.
TEST(ExtremeSettings, NumberPatternsOf224CharactersPaintAnd225FailThePaintOnly) {
  const std::string longest = std::string(220, '#') + "0.00";
  std::unique_ptr<TChart> chart = LineAndBars();
  chart->LeftAxis().SetAxisValuesFormat(longest);
  const Painted before = PaintBoth(*chart);
  EXPECT_LE(before.commands, kMaxPaintCommands);

  chart->LeftAxis().SetAxisValuesFormat(longest + "0");
  RecordingSurface surface;
  ForgetBuffer(*chart);
  try {
    chart->PaintChart(surface, chart->ClientRect());
    ADD_FAILURE() << "a pattern of 225 characters painted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), messages::kFormatTooLong);
  }

  chart->LeftAxis().SetAxisValuesFormat(longest);
  EXPECT_EQ(PaintBoth(*chart).commands, before.commands);
}

TEST(ExtremeSettings, MinorTickCountIsBoundedAndPaintsAtItsBound) {
  std::unique_ptr<TChart> chart = LineAndBars();
  TChartAxis& left = chart->LeftAxis();
  try {
    left.SetMinorTickCount(INT_MAX);
    ADD_FAILURE() << "MinorTickCount took 2^31 - 1";
  } catch (const AxisException& e) {
    EXPECT_EQ(e.Message(), messages::kAxisMinorTickCount);
  }
  EXPECT_EQ(left.MinorTickCount(), 3);
  EXPECT_THROW(left.SetMinorTickCount(kMaxMinorTickCount + 1), AxisException);

  // At the bound, with a label every 2e-3 over 13 (more labels than an axis keeps
  // positions for), the marks on pixels already marked are skipped: at most one a
  // pixel of the axis.
  left.SetMinorTickCount(kMaxMinorTickCount);
  left.MinorGrid().SetVisible(true);
  left.SetIncrement(2e-3);
  chart->BottomAxis().SetMinorTickCount(kMaxMinorTickCount);
  EXPECT_EQ(left.MinorTickCount(), kMaxMinorTickCount);
  ExpectBoundedPaint(*chart, "MinorTickCount at its bound");
}

// A chart file bounds integer settings; a program may set anything. Bevels and a border
// of 2^31 - 1 pixels draw what a chart-wide one draws, and no sum of them wraps.
TEST(ExtremeSettings, BevelsAndBorderOfTheLargestIntegerPaintWithinTheBound) {
  for (const int width : {INT_MAX, -INT_MAX}) {
    std::unique_ptr<TChart> chart = LineAndBars();
    chart->SetBevelOuter(bvRaised);
    chart->SetBevelInner(bvLowered);
    chart->SetBevelWidth(width);
    chart->SetBorderWidth(width);
    ExpectBoundedPaint(*chart, "bevels and border of " + std::to_string(width));
  }
}

// The percentages that place an axis: a chart file bounds them as it bounds integer
// settings, a program may set anything. An axis line pushed past any picture beside a
// span turned round (start 90, end 10), and spans reaching past any picture, with
// ticks, inner ticks, minor ticks, grids and titles drawn, compute no pixel that wraps.
TEST(ExtremeSettings, AxisPositionsAtAndFarBeyondTheChartFilesBoundPaint) {
  const double bound = static_cast<double>(kMaxPictureSide);
  for (const double percent : {bound, -bound, 1e308, -1e308}) {
    for (const bool spansToo : {false, true}) {
      std::unique_ptr<TChart> chart = LineAndBars();
      chart->SetView3D(spansToo);
      for (TChartAxis* axis : {&chart->LeftAxis(), &chart->RightAxis(), &chart->TopAxis(), &chart->BottomAxis()}) {
        axis->SetVisible(true);
        axis->TicksInner().SetVisible(true);
        axis->MinorTicks().SetVisible(true);
        axis->Title().SetCaption("title");
        if (axis != &chart->BottomAxis()) axis->SetPositionPercent(percent);
      }
      chart->BottomAxis().SetStartPosition(90);
      chart->BottomAxis().SetEndPosition(10);
      if (spansToo) {
        chart->LeftAxis().SetStartPosition(-percent);
        chart->TopAxis().SetEndPosition(percent);
      }
      ExpectBoundedPaint(*chart, "PositionPercent " + std::to_string(percent) + (spansToo ? " with spans" : ""));
    }
  }
}

// [SECTION] Settings at the bound together

// The charts of every series type that draws from the settings: bars both ways with
// marks, a pie, areas and points, each with a legend.
std::vector<std::unique_ptr<TChart>> ChartsOfEveryKind() {
  std::vector<std::unique_ptr<TChart>> charts;
  charts.push_back(LineAndBars());
  for (const char* type : {"THorizBarSeries", "TPieSeries", "TAreaSeries", "TPointSeries"}) {
    charts.push_back(ChartOf(std::string("object C: TChart\n  Legend.Visible = True\n  object S: ") + type +
                             "\n    Marks.Visible = True\n  end\nend"));
    for (int i = 0; i < 6; ++i) charts.back()->SeriesAt(0)->AddPointXY(i, i % 3 == 1 ? -1 - i : 2 + i, "p");
  }
  return charts;
}

// Sets path to value unless the setting refuses it (a setter's own range check).
bool TrySet(TPersistent& object, const std::string& path, const PropertyValue& value) {
  try {
    SetPropertyPath(object, path, value);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

// Every integer path of object and its sub-objects (colours and the chart's own place
// and size aside).
std::vector<std::string> IntegerSettingPaths(TPersistent& object) {
  std::vector<std::string> paths;
  std::function<void(TPersistent&, const std::string&, int)> collect = [&](TPersistent& o, const std::string& prefix,
                                                                           int depth) {
    for (const PropertyInfo* info : o.Properties().All()) {
      const bool geometry = prefix.empty() && (info->name == "Width" || info->name == "Height" ||
                                               info->name == "Left" || info->name == "Top");
      if (info->get && !geometry && info->name.find("Color") == std::string::npos &&
          info->get(o).kind == PropertyValue::Kind::Integer)
        paths.push_back(prefix + info->name);
      if (info->subObject && depth < 4) {
        if (TPersistent* sub = info->subObject(o)) collect(*sub, prefix + info->name + ".", depth + 1);
      }
    }
  };
  collect(object, "", 0);
  return paths;
}

// A bar's width comes from the length of its axis, which the axis' start and end
// percentages make as long as 2 * 16384 % of the chart, or as 1e308 % through the
// program; bars side by side, stacked and alone, upright and lying.
TEST(ExtremeSettings, BarsOnAxesSpanningFarBeyondThePicturePaint) {
  const double bound = static_cast<double>(kMaxPictureSide);
  for (const double far : {bound, -bound, 1e308, -1e308}) {
    for (const TMultiBar multiBar : {mbNone, mbSide, mbStacked}) {
      for (const bool horizontal : {false, true}) {
        std::unique_ptr<TChart> chart = ChartOf(std::string("object C: TChart\n  object A: ") +
                                                (horizontal ? "THorizBarSeries" : "TBarSeries") +
                                                "\n    Marks.Visible = True\n  end\n  object B: " +
                                                (horizontal ? "THorizBarSeries" : "TBarSeries") + "\n  end\nend");
        for (int i = 0; i < 4; ++i) {
          chart->SeriesAt(0)->AddPointXY(i, 1 + i);
          chart->SeriesAt(1)->AddPointXY(i, 3 - i);
        }
        SeriesOf<TCustomBarSeries>(*chart, 0).SetMultiBar(multiBar);
        TChartAxis& axis = horizontal ? chart->LeftAxis() : chart->BottomAxis();
        axis.SetStartPosition(far);
        axis.SetEndPosition(-far);
        ExpectBoundedPaint(*chart, "start " + std::to_string(far) + (horizontal ? " lying" : " upright"));
        axis.SetStartPosition(-far);
        axis.SetEndPosition(far);
        ExpectBoundedPaint(*chart, "end " + std::to_string(far) + (horizontal ? " lying" : " upright"));
      }
    }
  }
}

// The settings that move a mark's box: the legend's shadow, the span of the axis, the
// chart's margin and the 3D zoom, at -16384 each alone and all at once, for each
// series type; the sums of them would wrap an int.
TEST(ExtremeSettings, MarksWithTheirPlaceSettingsAtTheNegativeBoundPaint) {
  const std::int64_t bound = kMaxPictureSide;
  const std::vector<std::string> paths = {"Legend.ShadowSize", "BottomAxis.StartPosition", "BottomAxis.EndPosition",
                                          "MarginRight", "View3DOptions.Zoom", "LeftAxis.EndPosition",
                                          "MarginTop", "Legend.HorizMargin"};
  for (std::unique_ptr<TChart>& chart : ChartsOfEveryKind()) {
    for (const std::int64_t value : {-bound, bound}) {
      for (const std::string& path : paths) {
        const PropertyValue original = GetPropertyPath(*chart, path);
        if (TrySet(*chart, path, PropertyValue::Integer(value))) {
          SCOPED_TRACE(path + " = " + std::to_string(value));
          // A zoom of 16384 % may leave nothing on the image: only the bound is asked.
          EXPECT_LE(PaintBoth(*chart, 1).commands, kMaxPaintCommands);
        }
        SetPropertyPath(*chart, path, original);
      }
      for (const bool view3D : {false, true}) {
        chart->SetView3D(view3D);
        for (const std::string& path : paths) TrySet(*chart, path, PropertyValue::Integer(value));
        SCOPED_TRACE("all at " + std::to_string(value) + (view3D ? " in 3D" : ""));
        EXPECT_LE(PaintBoth(*chart, 1).commands, kMaxPaintCommands);
      }
    }
  }
}

// Every integer setting of the chart and its series at the bound at once, with the
// axes' percentages at the bound of the same or the other sign, for every series
// type, flat and in 3D: no sum of settings computes a pixel that wraps.
TEST(ExtremeSettings, AllSettingsAtTheBoundAtOncePaintForEverySeriesType) {
  const std::int64_t bound = kMaxPictureSide;
  int painted = 0;
  for (const std::int64_t integers : {bound, -bound}) {
    for (const std::int64_t percents : {bound, -bound}) {
      for (std::unique_ptr<TChart>& chart : ChartsOfEveryKind()) {
        for (TPersistent* object : {static_cast<TPersistent*>(chart.get()), static_cast<TPersistent*>(chart->SeriesAt(0))})
          for (const std::string& path : IntegerSettingPaths(*object))
            TrySet(*object, path, PropertyValue::Integer(integers));
        for (TChartAxis* axis : {&chart->LeftAxis(), &chart->RightAxis(), &chart->TopAxis(), &chart->BottomAxis()}) {
          axis->SetVisible(true);
          axis->SetStartPosition(static_cast<double>(percents));
          axis->SetEndPosition(static_cast<double>(-percents));
          axis->SetPositionPercent(static_cast<double>(percents));
        }
        for (const bool view3D : {false, true}) {
          chart->SetView3D(view3D);
          const std::string what = "integers " + std::to_string(integers) + ", percentages " + std::to_string(percents) +
                                   " in " + std::string(chart->SeriesAt(0)->ClassName()) + (view3D ? ", 3D" : "");
          SCOPED_TRACE(what);
          const Painted both = PaintBoth(*chart, 1);
          EXPECT_LE(both.commands, kMaxPaintCommands);
          ++painted;
        }
      }
    }
  }
  EXPECT_EQ(painted, 2 * 2 * 5 * 2);
}

TEST(ExtremeSettings, BarsAtTheLimitsOfBarWidthPercentPaint) {
  for (const int percent : {1, 100}) {
    for (const TMultiBar multiBar : {mbNone, mbSide, mbStacked, mbStacked100}) {
      std::unique_ptr<TChart> chart = LineAndBars();
      auto& bars = SeriesOf<TBarSeries>(*chart, 1);
      bars.SetBarWidthPercent(percent);
      bars.SetMultiBar(multiBar);
      EXPECT_EQ(bars.BarWidthPercent(), percent);
      ExpectBoundedPaint(*chart, "BarWidthPercent " + std::to_string(percent));
    }
  }
  std::unique_ptr<TChart> chart = LineAndBars();
  EXPECT_THROW(SeriesOf<TBarSeries>(*chart, 1).SetBarWidthPercent(0), BarException);
  EXPECT_THROW(SeriesOf<TBarSeries>(*chart, 1).SetBarWidthPercent(101), BarException);
}

// [SECTION] Every enumeration at each value

struct EnumSetting {
  std::string path;
  std::vector<std::string> values;
};

// Every enumeration property of object and of its sub-objects, by dotted path.
void CollectEnumSettings(TPersistent& object, const std::string& prefix, int depth, std::vector<EnumSetting>& out) {
  for (const PropertyInfo* info : object.Properties().All()) {
    if (!info->identifiers.empty()) out.push_back({prefix + info->name, info->identifiers});
    if (info->subObject && depth < 4) {
      if (TPersistent* sub = info->subObject(object)) CollectEnumSettings(*sub, prefix + info->name + ".", depth + 1, out);
    }
  }
}

// Sets each value of every enumeration in turn, the others as they were, and paints.
// A value the object refuses in its state (a setter's range check) is left out.
void PaintEveryEnumValue(TChart& chart, TPersistent& object, const std::string& what, int& painted) {
  std::vector<EnumSetting> settings;
  CollectEnumSettings(object, "", 0, settings);
  ASSERT_FALSE(settings.empty());
  for (const EnumSetting& setting : settings) {
    const PropertyValue original = GetPropertyPath(object, setting.path);
    for (const std::string& value : setting.values) {
      try {
        SetPropertyPath(object, setting.path, PropertyValue::Identifier(value));
      } catch (const Exception&) {
        continue;
      }
      ExpectBoundedPaint(chart, what + "." + setting.path + " = " + value, 1);
      ++painted;
    }
    SetPropertyPath(object, setting.path, original);
  }
}

// Every integer setting of the chart and its series (colours and the chart's own size
// aside) at the bound a chart file puts on integer settings, both signs: the counts,
// widths, sizes, offsets and angles that a file from outside can reach.
TEST(ExtremeSettings, EveryIntegerSettingPaintsAtTheChartFilesBound) {
  std::unique_ptr<TChart> chart = LineAndBars();
  int painted = 0;
  for (TPersistent* object : {static_cast<TPersistent*>(chart.get()), static_cast<TPersistent*>(chart->SeriesAt(0)),
                              static_cast<TPersistent*>(chart->SeriesAt(1))}) {
    const std::vector<std::string> paths = IntegerSettingPaths(*object);
    for (const std::string& path : paths) {
      const PropertyValue original = GetPropertyPath(*object, path);
      for (const std::int64_t value : {kMaxPictureSide, -kMaxPictureSide}) {
        try {
          SetPropertyPath(*object, path, PropertyValue::Integer(value));
        } catch (const Exception&) {
          continue;  // refused by the setting's own range check
        }
        ExpectBoundedPaint(*chart, path + " = " + std::to_string(value), 1);
        ++painted;
      }
      SetPropertyPath(*object, path, original);
    }
  }
  EXPECT_GT(painted, 150);
}

TEST(ExtremeSettings, EveryEnumerationSettingPaintsAtEachValue) {
  int painted = 0;
  std::unique_ptr<TChart> chart = LineAndBars();
  PaintEveryEnumValue(*chart, *chart, "chart", painted);
  PaintEveryEnumValue(*chart, *chart->SeriesAt(0), "line", painted);
  PaintEveryEnumValue(*chart, *chart->SeriesAt(1), "bars", painted);
  std::unique_ptr<TChart> pieChart = ChartOf("object C: TChart\n  object P: TPieSeries\n  end\nend");
  for (int i = 0; i < 8; ++i) pieChart->SeriesAt(0)->AddPointXY(i, 1 + i, "slice");
  PaintEveryEnumValue(*pieChart, *pieChart->SeriesAt(0), "pie", painted);
  // Enumerations of the axes, legend, titles, walls, pens, brushes, marks, pointers and
  // bars: some two hundred values in all.
  EXPECT_GT(painted, 150);
}

}  // namespace
}  // namespace tarvela::extreme
