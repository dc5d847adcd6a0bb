#include "app/gallery.h"

#include <QImage>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <ostream>
#include <sstream>

#include "app/chart_export.h"
#include "app/chart_file.h"
#include "app/png_file.h"
#include "app/output_file.h"
#include "chart/data/chart_series.h"
#include "chart/data/zav_function.h"
#include "chart/series/circled_series.h"
#include "chart/series/line_series.h"
#include "platform/qt/qt_convert.h"

namespace tarvela {

namespace {

constexpr int kSamplePoints = 8;

// Sample k of a fixed set: a gentle wave, positive, different for each series, so that
// bars, areas and pies all have something to show.
double SampleValue(int series, int i) {
  return 4.0 + 2.5 * std::sin(0.8 * i + 1.3 * series) + series + 0.25 * (i % 3);
}

// The samples are values at places 0, 1, 2, ...: along X for most types, along Y for
// those whose value runs along X (horizontal bars).
void FillSamples(TChartSeries& series, int k) {
  for (int i = 0; i < kSamplePoints; ++i) {
    if (series.YIsMandatory())
      series.AddPointXY(i, SampleValue(k, i));
    else
      series.AddPointXY(SampleValue(k, i), i);
  }
}

TChartSeries* NewSeries(TChart& chart, const TZavClassRef& type) {
  auto* series = dynamic_cast<TChartSeries*>(type.Create(&chart));
  if (series == nullptr) return nullptr;
  series->SetParentChart(&chart);
  // At 300 x 220 the marks some types show by default would hide the chart itself.
  series->Marks().SetVisible(false);
  // A pie fills the plot, which is wider than high; the picture shows it round.
  if (auto* circled = dynamic_cast<TCircledSeries*>(series)) circled->SetCircled(true);
  return series;
}

std::string Slug(std::string_view text) {
  std::string slug;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      slug += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    } else if (!slug.empty() && slug.back() != '-') {
      slug += '-';
    }
  }
  while (!slug.empty() && slug.back() == '-') slug.pop_back();
  return slug;
}

std::string Html(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

bool WriteBytes(const std::string& path, const std::string& bytes, std::ostream& err) {
  std::ostringstream unused;
  std::string reason;
  const bool written = WriteOutput(path, unused, BytesWriter(bytes), &reason);
  if (!written) err << CannotWriteMessage(path, reason) << '\n';
  return written;
}

}  // namespace

std::unique_ptr<TChart> GalleryChart(const TZavSeriesType& entry, bool view3D) {
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, kGalleryWidth, kGalleryHeight);
  chart->SetView3D(view3D);
  chart->Title().Text().Add(entry.Description);
  chart->Legend().SetVisible(false);
  if (entry.FunctionClass.IsNone()) {
    for (int k = 0; k < std::max(1, entry.GallerySeriesCount); ++k)
      if (TChartSeries* series = NewSeries(*chart, entry.SeriesClass)) FillSamples(*series, k);
    return chart;
  }
  // A function is shown over its sample series: the sources, then the series it computes.
  const TZavClassRef line = TZavClassRef::Of<TLineSeries>("TLineSeries");
  const TZavClassRef& type = entry.SeriesClass.IsNone() ? line : entry.SeriesClass;
  std::vector<TChartSeries*> sources;
  for (int k = 0; k < std::max(1, entry.GallerySeriesCount); ++k) {
    if (TChartSeries* source = NewSeries(*chart, line)) {
      FillSamples(*source, k);
      sources.push_back(source);
    }
  }
  TChartSeries* computed = NewSeries(*chart, type);
  if (computed == nullptr) return chart;
  computed->SetSeriesColor(clBlack);
  std::unique_ptr<TZavFunction> function(dynamic_cast<TZavFunction*>(entry.FunctionClass.Create(nullptr)));
  if (function == nullptr) return chart;
  computed->SetFunction(std::move(function));
  for (TChartSeries* source : sources) computed->AddDataSource(source);
  return chart;
}

std::string GalleryFileName(int index, const TZavSeriesType& entry, bool view3D) {
  std::string number = std::to_string(index + 1);
  if (number.size() < 2) number.insert(0, 1, '0');
  return number + "-" + Slug(entry.Description) + (view3D ? "-3d.png" : "-2d.png");
}

bool WriteGallery(const std::string& folder, std::ostream& err) {
  std::string reason;
  if (!MakeFolders(folder, &reason)) {
    err << CannotWriteMessage(folder, reason) << '\n';
    return false;
  }
  const std::vector<TZavSeriesType>& entries = TZavSeriesTypes::Instance().Entries();
  std::string page =
      "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head><meta charset=\"utf-8\"/>"
      "<title>Tarvela chart types</title>\n<style>body{font-family:sans-serif}"
      "main{display:grid;grid-template-columns:repeat(auto-fill,minmax(620px,1fr));gap:16px}"
      "figure{margin:0}</style></head>\n<body>\n<h1>Chart types</h1>\n<main>\n";
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    const TZavSeriesType& entry = entries[static_cast<std::size_t>(i)];
    page += "<figure class=\"entry\"><figcaption><span class=\"page\">" + Html(entry.GalleryPage) +
            "</span>: <span class=\"description\">" + Html(entry.Description) + "</span></figcaption>";
    for (bool view3D : {true, false}) {
      const std::string name = GalleryFileName(i, entry, view3D);
      const std::unique_ptr<TChart> chart = GalleryChart(entry, view3D);
      // The picture a window of this chart shows.
      const QImage image = RenderChartImage(*chart);
      std::ostringstream unused;
      const std::string path = folder + "/" + name;
      if (image.isNull()) reason = "not enough memory to draw the picture";
      if (image.isNull() ||
          !WriteOutput(path, unused, [&](QIODevice& device) { return WritePng(image, device); }, &reason)) {
        err << CannotWriteMessage(path, reason) << '\n';
        return false;
      }
      page += "<img src=\"" + Html(name) + "\" width=\"" + std::to_string(kGalleryWidth) + "\" height=\"" +
              std::to_string(kGalleryHeight) + "\" alt=\"" + Html(entry.Description) +
              (view3D ? " in 3D" : " in 2D") + "\"/>";
    }
    page += "</figure>\n";
  }
  page += "</main>\n</body>\n</html>\n";
  return WriteBytes(folder + "/index.html", page, err);
}

}  // namespace tarvela
