#include "app/command_line.h"

#include <cstdio>
#include <fstream>
#include <ostream>

#include "app/form1.h"
#include "chart/chart_series.h"
#include "platform/qt/application.h"
#include "runtime/exceptions.h"

namespace tarvela {

namespace {

// Keeps the first failure the error box would have shown.
class RecordingPresenter : public ErrorPresenter {
 public:
  void ShowError(const std::string&, const std::string& text) override {
    if (!m_failed) m_text = text;
    m_failed = true;
  }
  bool Failed() const { return m_failed; }
  const std::string& Text() const { return m_text; }

 private:
  bool m_failed = false;
  std::string m_text;
};

class PresenterSwap {
 public:
  PresenterSwap(TApplication& app, ErrorPresenter* presenter) : m_app(app), m_old(app.CurrentErrorPresenter()) {
    m_app.SetErrorPresenter(presenter);
  }
  ~PresenterSwap() { m_app.SetErrorPresenter(m_old); }

 private:
  TApplication& m_app;
  ErrorPresenter* m_old;
};

void WriteLines(std::ostream& stream, const std::vector<std::string>& lines) {
  for (const auto& line : lines) stream << line << '\n';
}

// Writes to the named file, or to out for "-"; false when the file cannot be written.
bool WriteOutput(const std::string& target, const std::vector<std::string>& lines, std::ostream& out) {
  if (target == "-") {
    WriteLines(out, lines);
    out.flush();
    return static_cast<bool>(out);
  }
  std::ofstream file(target, std::ios::binary | std::ios::trunc);
  if (file) WriteLines(file, lines);
  return static_cast<bool>(file);
}

}  // namespace

std::vector<std::string> PointLines(const TCustomAxisPanel& chart) {
  std::vector<std::string> lines;
  char buffer[96];
  for (int s = 0; s < chart.SeriesTotal(); ++s) {
    const TChartSeries& series = *chart.SeriesAt(s);
    for (int i = 0; i < series.PointCount(); ++i) {
      std::snprintf(buffer, sizeof buffer, "%d %.17g %.17g %d", s, series.XValueAt(i), series.YValueAt(i),
                    static_cast<int>(series.PointColor(i)));
      lines.emplace_back(buffer);
    }
  }
  return lines;
}

std::string CommandLineUsage() {
  return "Usage: tarvela [--sigma TEXT] [--second TEXT] [--report FILE|-] [--points FILE|-]\n"
         "               [--png FILE] [--svg FILE] [--size WxH] [--screenshot FILE]\n"
         "\n"
         "Without arguments Tarvela opens its window. With arguments it works without one:\n"
         "it puts TEXT into the sigma field and the second field as a paste would, presses\n"
         "the compute button, then the graph button, and writes what was asked for.\n"
         "When only --png, --svg or --screenshot are given, no button is pressed: the\n"
         "pictures show the window as it opens.\n"
         "\n"
         "  --sigma TEXT       the exponent sigma (read with the locale's decimal separator)\n"
         "  --second TEXT      the second field; it must hold a number too\n"
         "  --report FILE      write the layer report, one line per line, to FILE ('-': standard output)\n"
         "  --points FILE      write the chart's points: for every series with points, one line per point\n"
         "                     in series order: series index, X, Y and colour ('-': standard output)\n"
         "  --png FILE         write the chart as the window shows it, as a PNG image\n"
         "  --svg FILE         write the same drawing as an SVG document\n"
         "  --size WxH         draw the chart for --png and --svg at W x H pixels (default 465x337)\n"
         "  --screenshot FILE  write the whole main window, chart included, as a PNG image\n"
         "  --help             show this text\n"
         "\n"
         "A failure prints the error box's text on standard error and exits with status 1.\n";
}

namespace {

ChartImageSize ParseSize(const std::string& text) {
  const std::size_t x = text.find('x');
  auto number = [&](std::string_view digits) {
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string_view::npos)
      return 0;
    return std::stoi(std::string(digits));
  };
  const std::string_view view(text);
  const int width = x == std::string::npos ? 0 : number(view.substr(0, x));
  const int height = x == std::string::npos ? 0 : number(view.substr(x + 1));
  if (width < 1 || height < 1) throw Exception("Option --size needs WxH, for example 930x674, not " + text);
  return {width, height};
}

}  // namespace

CommandLineOptions ParseCommandLine(const std::vector<std::string>& args) {
  CommandLineOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) throw Exception("Option " + arg + " needs a value");
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--sigma") {
      options.sigma = value();
    } else if (arg == "--second") {
      options.second = value();
    } else if (arg == "--report") {
      options.report = value();
    } else if (arg == "--points") {
      options.points = value();
    } else if (arg == "--png") {
      options.png = value();
    } else if (arg == "--svg") {
      options.svg = value();
    } else if (arg == "--screenshot") {
      options.screenshot = value();
    } else if (arg == "--size") {
      options.size = ParseSize(value());
    } else {
      throw Exception("Unknown option " + arg);
    }
  }
  return options;
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CommandLineOptions options;
  try {
    options = ParseCommandLine(args);
  } catch (const Exception& e) {
    err << "tarvela: " << e.what() << "\n\n" << CommandLineUsage();
    return 2;
  }
  if (options.help) {
    out << CommandLineUsage();
    return 0;
  }

  TApplication* app = TApplication::Instance();
  if (app == nullptr) {
    err << "tarvela: no application object\n";
    return 1;
  }
  RecordingPresenter presenter;
  PresenterSwap swap(*app, &presenter);

  std::unique_ptr<TForm1> form;
  RunHandler([&] { form = std::make_unique<TForm1>(nullptr); });
  auto failed = [&] {
    if (!presenter.Failed()) return false;
    err << presenter.Text() << '\n';
    return true;
  };
  if (failed()) return 1;

  if (options.PressesButtons()) {
    if (options.sigma) form->Edit1->Paste(*options.sigma);
    if (options.second) form->Edit2->Paste(*options.second);
    form->Button1->Click();
    if (failed()) return 1;
    form->BitBtn1->Click();
    if (failed()) return 1;
  }

  auto cannotWrite = [&](const std::string& target) {
    err << "Cannot write to " << target << '\n';
    return false;
  };
  auto write = [&](const std::optional<std::string>& target, const std::vector<std::string>& lines) {
    if (!target || WriteOutput(*target, lines, out)) return true;
    return cannotWrite(*target);
  };
  // A picture is drawn as the window would draw it: a failure while drawing is the
  // error box's, a file that cannot be written is ours.
  auto picture = [&](const std::optional<std::string>& target, auto&& writeFile) {
    if (!target) return true;
    bool written = false;
    RunHandler([&] { written = writeFile(*target); });
    if (failed()) return false;
    return written || cannotWrite(*target);
  };
  if (!write(options.report, form->Memo1->Lines().Lines())) return 1;
  if (options.points && !write(options.points, PointLines(*form->Chart1))) return 1;
  if (!picture(options.png, [&](const std::string& path) { return WriteChartPng(*form->Chart1, path, options.size); }))
    return 1;
  if (!picture(options.svg, [&](const std::string& path) { return WriteChartSvg(*form->Chart1, path, options.size); }))
    return 1;
  if (!picture(options.screenshot, [&](const std::string& path) { return WriteScreenshot(*form, path); })) return 1;
  return 0;
}

}  // namespace tarvela
