// Two ways to a picture with the installed engine:
//
//   chart_example built.png                          a chart built in code, as a PNG image
//   chart_example built.png FILE.chart FILE.png      and FILE's chart too, the picture
//                                                    `tarvela --chart FILE.chart --png` writes

#include <tarvela/chart/chart.h>
#include <tarvela/chart/series/line_series.h>
#include <tarvela/widgets/application.h>
#include <tarvela/widgets/chart_file.h>
#include <tarvela/widgets/chart_picture.h>
#include <tarvela/widgets/output_file.h>

#include <cmath>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <numbers>
#include <string>

using namespace tarvela;

// Writes the chart as a PNG image of its own size; "-" is standard output.
bool WritePng(TChart& chart, const std::string& path) {
  return WriteOutput(path, std::cout, [&](QIODevice& device) { return WriteChartPng(chart, device, std::nullopt); });
}

// A sine and a cosine over one turn, flat, with a title and the legend.
bool WriteBuiltChart(const std::string& path) {
  TComponent owner(nullptr);  // owns the series, as a form owns its controls
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 480, 320);
  chart.SetView3D(false);
  chart.Title().Text().Add("One turn");

  auto* sine = new TLineSeries(&owner);
  auto* cosine = new TLineSeries(&owner);
  sine->SetTitle("sin");
  cosine->SetTitle("cos");
  sine->SetParentChart(&chart);  // the chart gives each a colour of its palette
  cosine->SetParentChart(&chart);
  for (int i = 0; i <= 48; ++i) {
    const double x = 2 * std::numbers::pi * i / 48;
    sine->AddPointXY(x, std::sin(x));
    cosine->AddPointXY(x, std::cos(x));
  }
  return WritePng(chart, path);
}

// The chart a description file holds, drawn as the program draws it.
bool WriteChartFile(const std::string& file, const std::string& path) {
  TChartForm form(nullptr, ReadChartFileText(file), file);
  return WritePng(form.Chart(), path);
}

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    std::cerr << "usage: chart_example BUILT.png [FILE.chart FILE.png]\n";
    return 2;
  }
  // Pictures need no screen: without one, Qt's off-screen platform stands in.
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TApplication app(argc, argv);  // fonts and images need Qt's application object
  try {
    if (!WriteBuiltChart(argv[1])) throw Exception(std::string("cannot write ") + argv[1]);
    if (argc == 4 && !WriteChartFile(argv[2], argv[3])) throw Exception(std::string("cannot write ") + argv[3]);
  } catch (const std::exception& e) {
    std::cerr << "chart_example: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
