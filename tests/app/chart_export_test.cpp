#include "app/chart_export.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QSvgGenerator>
#include <QXmlStreamReader>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/form1.h"
#include "chart/axes/axis.h"
#include "chart/chart.h"
#include "chart/series/line_series.h"
#include "platform/qt/qt_surface.h"

namespace tarvela {
namespace {

TEST(ChartExport, LargerRenderingPutsTheChartsSizeBackAndRedrawsItThere) {
  TChart chart(nullptr);
  chart.SetBounds(8, 48, 465, 337);
  chart.Gradient().SetVisible(true);
  int repaints = 0;
  chart.HostInvalidate = [&] { ++repaints; };

  const QImage large = RenderChartImage(chart, ChartImageSize{930, 674});
  EXPECT_EQ(large.size(), QSize(930, 674));
  EXPECT_EQ(chart.BoundsRect(), (TRect{8, 48, 473, 385}));
  // The buffer holds the large picture: the window must draw its own size again.
  EXPECT_TRUE(chart.Canvas().Dirty());
  EXPECT_GE(repaints, 2);

  const QImage own = RenderChartImage(chart);
  EXPECT_EQ(own.size(), QSize(465, 337));
  // Default gradient: white along the bottom, yellow along the top, inside the bevel.
  const QColor bottom = own.pixelColor(200, 335);
  const QColor top = own.pixelColor(200, 1);
  EXPECT_EQ(bottom.red() + bottom.green(), 510);
  EXPECT_GE(bottom.blue(), 250);
  EXPECT_EQ(top.red() + top.green(), 510);
  EXPECT_LE(top.blue(), 5);
}

// [SECTION] Text in the SVG document

// A text element of an SVG document, with the transforms of the groups around it.
struct SvgText {
  std::string text;
  std::vector<std::string> transforms;
};

// Read with an XML reader: what a viewer shows, not what the bytes happen to hold.
std::vector<SvgText> SvgTexts(const QByteArray& document) {
  std::vector<SvgText> texts;
  std::vector<std::string> transforms;
  QXmlStreamReader reader(document);
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.isStartElement() && reader.name() == QLatin1String("g")) {
      transforms.push_back(reader.attributes().value("transform").toString().toStdString());
    } else if (reader.isEndElement() && reader.name() == QLatin1String("g")) {
      transforms.pop_back();
    } else if (reader.isStartElement() && reader.name() == QLatin1String("text")) {
      SvgText text{{}, transforms};
      text.text = reader.readElementText(QXmlStreamReader::IncludeChildElements).toStdString();
      texts.push_back(std::move(text));
    }
  }
  EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  return texts;
}

std::vector<std::string> Strings(const std::vector<SvgText>& texts) {
  std::vector<std::string> strings;
  for (const SvgText& text : texts) strings.push_back(text.text);
  return strings;
}

// The Qt surface, listing every text the chart asks it to draw.
class TextListingSurface : public QtSurface {
 public:
  using QtSurface::QtSurface;
  std::vector<std::string> texts;

 protected:
  void DoTextOut(TPoint point, std::string_view text) override {
    texts.emplace_back(text);
    QtSurface::DoTextOut(point, text);
  }
};

std::unique_ptr<TForm1> GraphedForm() {
  auto form = std::make_unique<TForm1>(nullptr, [] { return LocaleSettings::Dot(); });
  form->Edit1->SetText("1");
  form->Edit2->SetText("0");
  form->Button1->Click();
  form->BitBtn1->Click();
  return form;
}

// The chart drawn into an SVG document in memory, as the export draws it, listing what
// it drew as text.
QByteArray SvgOf(TCustomZavPanel& chart, std::vector<std::string>* drawn = nullptr) {
  QByteArray document;
  QBuffer buffer(&document);
  buffer.open(QIODevice::WriteOnly);
  chart.SetBuffered(false);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(chart.Width(), chart.Height()));
  {
    TextListingSurface surface(generator);
    chart.PaintChart(surface, chart.ClientRect());
    if (drawn != nullptr) *drawn = surface.texts;
  }
  chart.SetBuffered(true);
  return document;
}

TEST(ChartExport, SvgHoldsEveryTextOfTheMainChartAsTextElements) {
  const auto form = GraphedForm();
  std::vector<std::string> drawn;
  const std::vector<SvgText> texts = SvgTexts(SvgOf(*form->Chart1, &drawn));
  EXPECT_GE(drawn.size(), 30u);
  EXPECT_EQ(Strings(texts), drawn);

  // And the command line's document, the way the user gets it: every legend title and
  // the labels of the bottom axis.
  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine({"--sigma", "1", "--second", "0", "--svg", "-"}, out, err), 0) << err.str();
  const std::vector<std::string> written = Strings(SvgTexts(QByteArray::fromStdString(out.str())));
  const auto holds = [&](const std::string& text) {
    return std::find(written.begin(), written.end(), text) != written.end();
  };
  const TChart& chart = *form->Chart1;
  int titles = 0;
  for (int row = 0; row < chart.Legend().RowCount(); ++row, ++titles)
    EXPECT_TRUE(holds(chart.LegendSeriesAt(row)->Name())) << chart.LegendSeriesAt(row)->Name();
  EXPECT_GE(titles, 11);
  for (const char* label : {"-1", "0", "1", "2"}) EXPECT_TRUE(holds(label)) << label;
}

TEST(ChartExport, SvgHoldsTheTitleAndATurnedAxisTitleAsText) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 400, 300);
  chart.Title().Text().Add("Heat front");
  chart.LeftAxis().Title().SetCaption("Height u");
  chart.BottomAxis().Title().SetCaption("Position x");
  auto* series = new TLineSeries(&chart);
  series->SetParentChart(&chart);
  for (int i = 0; i <= 10; ++i) series->AddPointXY(i, i * i);

  std::vector<std::string> drawn;
  const std::vector<SvgText> texts = SvgTexts(SvgOf(chart, &drawn));
  EXPECT_EQ(Strings(texts), drawn);
  const auto find = [&](const std::string& text) {
    return std::find_if(texts.begin(), texts.end(), [&](const SvgText& t) { return t.text == text; });
  };
  ASSERT_NE(find("Heat front"), texts.end());
  ASSERT_NE(find("Position x"), texts.end());
  const auto turned = find("Height u");
  ASSERT_NE(turned, texts.end());
  // Turned a quarter counter-clockwise: the group around it maps x onto -y.
  const bool quarterTurn = std::any_of(turned->transforms.begin(), turned->transforms.end(), [](const std::string& t) {
    return t.rfind("matrix(0,-1,1,0,", 0) == 0;
  });
  EXPECT_TRUE(quarterTurn);
}

// [SECTION] Text in the raster pictures

// The legend's titles are really drawn into the PNG the user gets (the window and the
// screenshot show the same pixels; see the window test): dark pixels in every row of
// its text column.
TEST(ChartExport, PngShowsEveryLegendTitle) {
  const auto form = GraphedForm();
  RenderChartImage(*form->Chart1);
  const TChartLegend& legend = form->Chart1->Legend();
  const TRect bounds = legend.LegendBounds();
  const int rows = legend.RowCount();
  ASSERT_GE(rows, 11);

  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine({"--sigma", "1", "--second", "0", "--png", "-"}, out, err), 0) << err.str();
  const QImage png = QImage::fromData(QByteArray::fromStdString(out.str()), "PNG");
  ASSERT_EQ(png.size(), QSize(465, 337));
  const int rowHeight = (bounds.Height() - 2) / rows;
  const int textLeft = bounds.left + 4 + legend.ColorBoxWidth() + 2;
  for (int row = 0; row < rows; ++row) {
    int dark = 0;
    for (int y = bounds.top + 1 + row * rowHeight; y < bounds.top + 1 + (row + 1) * rowHeight; ++y)
      for (int x = textLeft; x < bounds.right - 1; ++x) {
        const QColor c = png.pixelColor(x, y);
        dark += c.red() < 96 && c.green() < 96 && c.blue() < 96;
      }
    EXPECT_GE(dark, 15) << "row " << row;
  }
}

}  // namespace
}  // namespace tarvela
