#include "tarvela/widgets/chart_file.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <set>

#include "tarvela/chart/chart_registration.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/data/zav_function.h"
#include "tarvela/runtime/class_registry.h"
#include "tarvela/runtime/date_time.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/form_reader.h"
#include "tarvela/runtime/properties.h"
#include "tarvela/widgets/chart_picture.h"
#include "tarvela/widgets/chart_window.h"
#include "widgets/picture_test_support.h"

namespace tarvela {
namespace {

using picture_test::ExampleCharts;
using picture_test::FileText;
using picture_test::HasPixelOf;

// The reader's message for text, or "(read)" when it reads.
std::string ReadError(const std::string& text) {
  try {
    TChartForm form(nullptr, text, "");
  } catch (const EReadError& e) {
    return e.Message();
  }
  return "(read)";
}

TEST(ChartFile, PointTextsGiveNumbersDatesLabelsAndColoursInTheCLocale) {
  ChartFilePoint p = ParsePointText("1 2");
  EXPECT_EQ(p.x, 1);
  EXPECT_EQ(p.y, 2);
  EXPECT_EQ(p.label, "");
  EXPECT_EQ(p.color, clDefault);

  p = ParsePointText("\t-1.5e3   +.25 \"Jan \"\"31\"\"\" clRed ");
  EXPECT_EQ(p.x, -1500);
  EXPECT_EQ(p.y, 0.25);
  EXPECT_EQ(p.label, "Jan \"31\"");
  EXPECT_EQ(p.color, clRed);

  EXPECT_EQ(ParsePointText("1 2 $FF0000").color, clBlue);
  EXPECT_EQ(ParsePointText("1 2 16711680").color, clBlue);
  EXPECT_EQ(ParsePointText("1 2 $FF00000F").color, static_cast<TColor>(0xFF00000F));
  EXPECT_EQ(ParsePointText("1 2 clnone").color, clNone);
  EXPECT_EQ(ParsePointText("1 2 \"\"").label, "");

  EXPECT_EQ(ParsePointText("2024-03-01 7").x, EncodeDate(2024, 3, 1));
  EXPECT_EQ(ParsePointText("2024-03-01T18:00 7").x, EncodeDate(2024, 3, 1) + 0.75);
  EXPECT_EQ(ParsePointText("1 2024-03-01T00:00:30").y, EncodeDate(2024, 3, 1) + 30.0 / 86400);

  const std::pair<const char*, const char*> bad[] = {
      {"", "no X value"},
      {"  1 ", "no Y value after 1"},
      {"1 x", "'x' is not a number (Y)"},
      {"1,5 2", "'1,5' is not a number (X)"},
      {"inf 2", "'inf' is not a number (X)"},
      {"1 nan", "'nan' is not a number (Y)"},
      {"0x10 2", "'0x10' is not a number (X)"},
      {"1e400 2", "1e400 is out of range"},
      {"2024-02-30 1", "2024-02-30 is not a date of the calendar"},
      {"2024-03-01T24:00 1", "2024-03-01T24:00 is not a date of the calendar"},
      {"\"a\" 1", "the X value is \"a\", not a number"},
      {"1 2 clReed", "'clReed' is not a colour"},
      {"1 2 $1FFFFFFFF", "'$1FFFFFFFF' is not a colour"},
      {"1 2 \"open", "a label has no closing \""},
      {"1 2 clRed \"late\"", "'late' after the point's values"},
      {"1 2 \"a\" \"b\"", "'b' after the point's values"},
  };
  for (const auto& [text, message] : bad) {
    try {
      ParsePointText(text);
      ADD_FAILURE() << "accepted " << text;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), message) << text;
    }
  }
}

TEST(ChartFile, RandomWalkGeneratesTheSamePointsEveryTimeWithinItsBound) {
  const std::string text = "object C: TChart\n  object S: TFastLineSeries\n    RandomWalk = 1000\n  end\nend";
  TChartForm form(nullptr, text, "");
  const TChartSeries& series = *form.Chart().SeriesAt(0);
  ASSERT_EQ(series.PointCount(), 1000);
  EXPECT_EQ(series.XValueAt(999), 999);
  EXPECT_EQ(series.YValueAt(0), 0);
  double steps = 0;
  for (int i = 1; i < 1000; ++i) {
    const double step = series.YValueAt(i) - series.YValueAt(i - 1);
    EXPECT_TRUE(step >= -1 && step < 1) << step;
    steps += std::abs(step);
  }
  EXPECT_GT(steps, 100);  // a walk, not a flat line
  TChartForm again(nullptr, text, "");
  EXPECT_EQ(again.Chart().SeriesAt(0)->YValueAt(999), series.YValueAt(999));

  for (const auto& [value, message] : {std::pair{"0", "0 is not within 1..1000000"},
                                       {"1000001", "1000001 is not within 1..1000000"},
                                       {"'many'", "expected a number of points such as 1000000"}}) {
    try {
      TChartForm bad(nullptr, std::string("object C: TChart\n  object S: TLineSeries\n    RandomWalk = ") + value +
                                  "\n  end\nend",
                     "");
      ADD_FAILURE() << value;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), std::string("Line 3: Invalid value for property 'RandomWalk' of TLineSeries: ") + message);
    }
  }
}

TEST(ChartFile, TheWindowsFormHoldsTheChartWithItsSeriesAndPoints) {
  TChartForm form(nullptr, R"(object Chart1: TChart
  Left = 50
  Width = 300
  Height = 200
  object Series1: TLineSeries
    SeriesColor = clGreen
    Points = ('1 2' '3 4 "three" clRed'
      '2 5 clNone')
  end
  object Series2: TLineSeries
  end
end)",
                  "c.chart - Tarvela");
  TChart& chart = form.Chart();
  EXPECT_EQ(chart.Owner(), &form);
  EXPECT_EQ(chart.Parent(), &form);
  EXPECT_EQ(chart.BoundsRect(), (TRect{0, 0, 300, 200}));
  EXPECT_EQ(form.ClientWidth(), 300);
  EXPECT_EQ(form.ClientHeight(), 200);
  EXPECT_EQ(form.Caption(), "c.chart - Tarvela");
  ASSERT_EQ(chart.SeriesTotal(), 2);
  const TChartSeries& series = *chart.SeriesAt(0);
  ASSERT_EQ(series.PointCount(), 3);
  // The X values are kept in ascending order, as the series' XValues.Order says.
  EXPECT_EQ(series.XValueAt(1), 2);
  EXPECT_EQ(series.YValueAt(1), 5);
  EXPECT_EQ(series.PointColor(1), clNone);
  EXPECT_EQ(series.XValueAt(2), 3);
  EXPECT_EQ(series.PointLabel(2), "three");
  EXPECT_EQ(series.PointColor(2), clRed);
  EXPECT_EQ(chart.SeriesAt(1)->PointCount(), 0);

  // Shown on the off-screen platform the window hosts the chart and paints it.
  form.Show();
  QWidget* window = form.Widget();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->size(), QSize(300, 200));
  auto* host = window->findChild<ChartWindow*>();
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->Panel(), &chart);
  EXPECT_EQ(host->geometry(), QRect(0, 0, 300, 200));
  const QImage picture = window->grab().toImage();
  EXPECT_GT(host->PaintCount(), 0);
  EXPECT_TRUE(HasPixelOf(picture, clGreen));

  form.SetChartSize(400, 250);
  EXPECT_EQ(window->size(), QSize(400, 250));
  EXPECT_EQ(host->geometry(), QRect(0, 0, 400, 250));
}

TEST(ChartFile, OnlyChartClassesAndBoundedSettingsAreRead) {
  RegisterControlClasses();  // known to the registry, still not for a chart file
  EXPECT_EQ(ReadError("object F: TButton\nend"), "Line 1: A chart file holds one TChart, not TButton");
  EXPECT_EQ(ReadError("object C: TChart\n  object B: TButton\n  end\nend"),
            "Line 2: Class TButton cannot be used in a chart file");
  EXPECT_EQ(ReadError("object C: TChart\n  object B: TChart\n  end\nend"), "Line 2: A chart cannot hold another TChart");
  EXPECT_EQ(ReadError("object C: TChart\n  OnAfterDraw = FormCreate\nend"), "Line 2: Handler 'FormCreate' not found");
  EXPECT_EQ(ReadError("object C: TChart\n  Width = 0\nend"), "Line 2: Width 0 is not within 1..16384");
  EXPECT_EQ(ReadError("object C: TChart\n  Width = 16384\n  Height = 8193\nend"),
            "Line 3: The chart's 16384x8193 pixels are more than 67108864 in all");
  // A paint loops over some integer settings; colours and floating-point settings
  // written as integers are not bounded so.
  EXPECT_EQ(ReadError("object C: TChart\n  BevelWidth = 1000000000\nend"),
            "Line 2: Invalid value for property 'BevelWidth' of TChart: 1000000000 is beyond 16384, the bound of a "
            "chart file's integer settings");
  EXPECT_EQ(ReadError("object C: TChart\n  LeftAxis.MinorTickCount = -20000\nend"),
            "Line 2: Invalid value for property 'LeftAxis.MinorTickCount' of TChart: -20000 is beyond 16384, the bound "
            "of a chart file's integer settings");
  EXPECT_EQ(ReadError("object C: TChart\n  BevelWidth = 16384\n  Title.Font.Color = 16777215\n"
                      "  BottomAxis.Automatic = False\n  BottomAxis.Maximum = 45000000\nend"),
            "(read)");
  // Where an axis starts, ends and stands are percentages that become pixels: bounded
  // too, written as integers or not; its minimum, like any value, is not.
  EXPECT_EQ(ReadError("object C: TChart\n  BottomAxis.StartPosition = 90\n  LeftAxis.PositionPercent = 1E308\nend"),
            "Line 3: Invalid value for property 'LeftAxis.PositionPercent' of TChart: 1E+308 is beyond 16384, the "
            "bound of a chart file's percentage settings");
  EXPECT_EQ(ReadError("object C: TChart\n  TopAxis.EndPosition = -16385\nend"),
            "Line 2: Invalid value for property 'TopAxis.EndPosition' of TChart: -16385 is beyond 16384, the "
            "bound of a chart file's percentage settings");
  EXPECT_EQ(ReadError("object C: TChart\n  LeftAxis.PositionPercent = -16384\n  LeftAxis.StartPosition = 16383.5\n"
                      "  LeftAxis.Automatic = False\n  LeftAxis.Minimum = -1E308\nend"),
            "(read)");
  // A name is taken once in a file, the chart's own included; a series' function is
  // no exception, although the series owns it.
  EXPECT_EQ(ReadError("object Chart1: TChart\n  object Chart1: TLineSeries\n  end\nend"),
            "Line 2: A component named Chart1 already exists");
  EXPECT_EQ(ReadError("object C: TChart\n  object S: TLineSeries\n    object Series2: TAddZavFunction\n    end\n"
                      "  end\n  object series2: TLineSeries\n  end\nend"),
            "Line 6: A component named series2 already exists");
  EXPECT_EQ(ReadError("object C: TChart\n  object S: TLineSeries\n    Points = 'x'\n  end\nend"),
            "Line 3: Invalid value for property 'Points' of TLineSeries: expected a list of strings such as ('1 2' '2 3.5')");
}

// A series given a second function releases the first and computes with the second;
// the reader, which still knew the first, must not touch it again.
// Every floating-point path of object and of its sub-objects.
void CollectFloatSettings(TPersistent& object, const std::string& prefix, int depth, std::vector<std::string>& out) {
  for (const PropertyInfo* info : object.Properties().All()) {
    if (info->get && info->get(object).kind == PropertyValue::Kind::Float) out.push_back(prefix + info->name);
    if (info->subObject && depth < 4) {
      if (TPersistent* sub = info->subObject(object)) CollectFloatSettings(*sub, prefix + info->name + ".", depth + 1, out);
    }
  }
}

// Every floating-point setting of the chart, of each series type and of a function,
// at 1E308 and -1E308: either the file is refused at the integer settings' bound (the
// setting then reads and paints at the bound), or the setting is a value of the data
// and the chart paints with it. Under the sanitizers a pixel that overflows fails.
TEST(ChartFile, EveryFloatingPointSettingIsBoundedOrAValueThatPaints) {
  RegisterChartClasses();
  auto chartText = [](const std::string& seriesClass, const std::string& line, bool inFunction) {
    std::string text = "object C: TChart\n  View3D = False\n  Legend.Visible = True\n";
    text += "  object S: " + (inFunction ? std::string("TLineSeries") : seriesClass) + "\n";
    text += "    Marks.Visible = True\n    Points = ('1 2' '2 5' '3 -1' '4 0.5')\n";
    if (inFunction) text += "    object F: " + seriesClass + "\n    " + line + "\n    end\n";
    else if (!line.empty()) text += "    " + line + "\n";
    text += "  end\n";
    if (seriesClass == "TChart") text = "object C: TChart\n  " + line + "\n  object S: TBarSeries\n    Marks.Visible = True\n"
                                        "    Points = ('1 2' '2 5' '3 -1')\n  end\nend";
    else text += "end";
    return text;
  };
  std::set<std::string> bounded;
  int painted = 0;
  for (const std::string cls : {"TChart", "TLineSeries", "TBarSeries", "THorizBarSeries", "TAreaSeries", "TPointSeries",
                                "TFastLineSeries", "TPieSeries", "TAverageZavFunction"}) {
    const bool inFunction = cls.find("Function") != std::string::npos;
    std::unique_ptr<TComponent> sample(ClassRegistry::Instance().Create(cls, nullptr));
    std::vector<std::string> paths;
    CollectFloatSettings(*sample, "", 0, paths);
    for (const std::string& path : paths) {
      for (const std::string value : {"1E308", "-1E308", "16384", "-16384"}) {
        SCOPED_TRACE(cls + "." + path + " = " + value);
        const std::string text = chartText(cls, path + " = " + value, inFunction);
        try {
          TChartForm form(nullptr, text, "");
          EXPECT_FALSE(RenderChartImage(form.Chart()).isNull());
          ++painted;
        } catch (const EReadError& e) {
          // Refused at the bound, or by the setting's own check (a negative increment).
          if (e.Message().find("is beyond 16384, the bound of a chart file's percentage settings") == std::string::npos)
            continue;
          EXPECT_NE(value.find('E'), std::string::npos) << e.Message();
          bounded.insert(path.substr(path.rfind('.') + 1));
        } catch (const EOverflow&) {
          // Values of 1E308 multiplied or summed overflow: the paint fails with the
          // engine's own message, as any paint of such data does.
          EXPECT_NE(value.find('E'), std::string::npos);
        }
      }
    }
  }
  EXPECT_EQ(bounded, (std::set<std::string>{"EndPosition", "PositionPercent", "StartPosition"}));
  EXPECT_GT(painted, 40);
}

TEST(ChartFile, ASecondFunctionOfASeriesReplacesTheFirst) {
  TChartForm form(nullptr, R"(object Chart1: TChart
  object Source: TLineSeries
    Points = ('1 2' '2 5' '3 4')
  end
  object Target: TLineSeries
    DataSource = Source
    object F: TAddZavFunction
    end
    object G: THighZavFunction
    end
  end
end)",
                  "");
  const TChartSeries& target = *form.Chart().SeriesAt(1);
  ASSERT_NE(target.FunctionObject(), nullptr);
  EXPECT_EQ(target.FunctionObject()->Name(), "G");
  EXPECT_EQ(target.FunctionObject()->ClassName(), "THighZavFunction");
  EXPECT_FALSE(target.FunctionObject()->Loading());
  // The highest Y as a level line across the source's X range (the sum would be 11).
  ASSERT_EQ(target.PointCount(), 2);
  EXPECT_EQ(target.XValueAt(0), 1);
  EXPECT_EQ(target.YValueAt(0), 5);
  EXPECT_EQ(target.XValueAt(1), 3);
  EXPECT_EQ(target.YValueAt(1), 5);
}

// What has no size beforehand is read up to one byte past the limit and refused: an
// endless device ends the read instead of filling memory. A setting can name no file
// to read: a text that looks like a path is the text.
// A word of a point text or a class name from outside is repeated cut to 40 bytes.
TEST(ChartFile, MessagesRepeatLongWordsCut) {
  const std::string digits(1000000, '9');
  EXPECT_EQ(ReadError("object C: TChart\n  object S: TLineSeries\n    Points = ('1 " + digits + "e9999')\n  end\nend"),
            "Line 3: Point 1 of Points '1 " + digits.substr(0, 38) + "\u2026': " + digits.substr(0, 40) + "\u2026"
            " is out of range");
  EXPECT_EQ(ReadError("object C: TChart\n  object S: TLineSeries\n    Points = ('1 2 x" + digits + "')\n  end\nend"),
            "Line 3: Point 1 of Points '1 2 x" + digits.substr(0, 35) + "\u2026': 'x" + digits.substr(0, 39) +
                "\u2026' is not a colour");
  EXPECT_EQ(ReadError("object C: TChart\n  object S: T" + digits + "\n  end\nend"),
            "Line 2: Class T" + digits.substr(0, 39) + "\u2026 not found");
  EXPECT_EQ(ReadError("object C: TChart\n  LeftAxis.StartPosition = 1" + digits + "\nend"),
            "Line 2: Integer 1" + digits.substr(0, 39) + "\u2026 is out of range");
  EXPECT_EQ(ReadError("object C: TChart\n  LeftAxis.StartPosition = 1" + digits + ".5\nend"),
            "Line 2: Number 1" + digits.substr(0, 39) + "\u2026 is out of range");
}

TEST(ChartFile, EndlessInputIsRefusedAtTheLimitAndPathsStayText) {
  try {
    ReadChartFileText("/dev/zero");
    ADD_FAILURE() << "/dev/zero was read";
  } catch (const EChartFileError& e) {
    EXPECT_EQ(e.Message(), "/dev/zero: larger than 16 MiB (16777216 bytes), refused");
  }
  const std::string example = ExampleCharts().front();
  TChartForm form(nullptr, "object C: TChart\n  Title.Text.Strings = ('" + example + "')\nend", "");
  EXPECT_EQ(form.Chart().Title().Text().Lines(), std::vector<std::string>{example});
}

// A window's first frame at a size, and every picture of it, is painted until the layout
// repeats; a later paint at the same size is one paint that changes no pixel.
TEST(ChartFile, TheFirstPaintAtASizeSettlesTheLayout) {
  TChartForm form(nullptr, FileText(ExampleCharts().front()), "");
  int paints = 0;
  form.Chart().OnAfterDraw = [&](TComponent*) { ++paints; };
  const QImage settled = RenderChartImage(form.Chart());
  EXPECT_GE(paints, 2);  // one paint cannot tell that the layout has stopped moving
  EXPECT_LE(paints, TChart::kMaxSettlePaints);
  paints = 0;
  EXPECT_EQ(RenderChartImage(form.Chart()), settled);
  EXPECT_EQ(paints, 1);
  paints = 0;
  EXPECT_EQ(RenderChartImage(form.Chart(), ChartImageSize{300, 220}).size(), QSize(300, 220));
  EXPECT_GE(paints, 2) << "a new size settles anew";
  // Settling by hand (onto a surface cleared between paints) stops where the chart does.
  paints = 0;
  const int reported = SettleChart(form.Chart(), [&] { RenderChartImage(form.Chart(), ChartImageSize{200, 150}); });
  EXPECT_EQ(reported, 2);
}

}  // namespace
}  // namespace tarvela
