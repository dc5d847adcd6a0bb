#pragma once
// What the tests of chart files and pictures share, here and in the program's tests:
// the example charts, a file's bytes, a colour looked for in a picture, and the texts
// of an SVG document as a viewer reads them.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QSvgGenerator>
#include <QXmlStreamReader>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tarvela/chart/panel/panel.h"
#include "tarvela/runtime/colors.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/qt_surface.h"

namespace tarvela::picture_test {

// Takes the error box's place, so that a failure is seen by the test and no box waits
// for a click.
class CollectedErrors : public ErrorPresenter {
 public:
  CollectedErrors() : m_old(TApplication::Instance()->CurrentErrorPresenter()) {
    TApplication::Instance()->SetErrorPresenter(this);
  }
  ~CollectedErrors() override { TApplication::Instance()->SetErrorPresenter(m_old); }
  CollectedErrors(const CollectedErrors&) = delete;
  CollectedErrors& operator=(const CollectedErrors&) = delete;
  void ShowError(const std::string&, const std::string& text) override { texts += text; }
  std::string texts;

 private:
  ErrorPresenter* m_old;
};

// The example chart files, in name order.
inline std::vector<std::string> ExampleCharts() {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(TARVELA_EXAMPLES_DIR))
    if (entry.path().extension() == ".chart") paths.push_back(entry.path().string());
  std::sort(paths.begin(), paths.end());
  return paths;
}

inline std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline bool HasPixelOf(const QImage& image, TColor color) {
  const QRgb wanted = qRgb(RedOf(ColorToRGB(color)), GreenOf(ColorToRGB(color)), BlueOf(ColorToRGB(color)));
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF)) return true;
  return false;
}

// A text element of an SVG document, with the transforms of the groups around it.
struct SvgText {
  std::string text;
  std::vector<std::string> transforms;
};

// Read with an XML reader: what a viewer shows, not what the bytes happen to hold.
inline std::vector<SvgText> SvgTexts(const QByteArray& document) {
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

inline std::vector<std::string> Strings(const std::vector<SvgText>& texts) {
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

// The chart drawn into an SVG document in memory, as the export draws it, listing what
// it drew as text.
inline QByteArray SvgOf(TCustomZavPanel& chart, std::vector<std::string>* drawn = nullptr) {
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

}  // namespace tarvela::picture_test
