#pragma once
// The program's pictures of its windows: a form's whole window as a screenshot, as
// the command line writes it, and Ctrl+S in a chart window, which asks where to save
// the chart it shows (chart_picture.h writes it).

#include <QIODevice>
#include <functional>
#include <optional>
#include <string>

namespace tarvela {

class ChartWindow;
class TForm;

// The whole window of form, its controls and the chart included, as a PNG; at a scale
// above 1 drawn at that many times the pixels, as the chart is.
bool WriteScreenshot(TForm& form, QIODevice& device, int scale = 1);

// Asks where to save a chart: a file name with its suffix, or nothing when cancelled.
using ChartFileNameQuestion = std::function<std::optional<std::string>(ChartWindow& window)>;
// The save dialog: PNG or SVG, the suffix added from the chosen type when not typed.
std::optional<std::string> AskChartFileName(ChartWindow& window);
// Makes Ctrl+S in every chart window ask (with ask) and save there.
void InstallChartSaving(ChartFileNameQuestion ask = AskChartFileName);

}  // namespace tarvela
