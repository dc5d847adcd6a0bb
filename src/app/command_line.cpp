#include "app/command_line.h"

#include <QByteArray>
#include <QFileInfo>
#include <QWidget>
#include <charconv>
#include <new>
#include <ostream>

#include "app/chart_file.h"
#include "app/form1.h"
#include "app/gallery.h"
#include "app/output_file.h"
#include "app/results_export.h"
#include "chart/chart_registration.h"
#include "chart/data/chart_series.h"
#include "platform/qt/application.h"
#include "runtime/exceptions.h"
#include "runtime/form_reader.h"

namespace tarvela {

namespace {

// "chart.txt - Tarvela": the file's name, without its folder.
std::string ChartWindowCaption(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).fileName().toStdString() + " - Tarvela";
}

// "tarvela: FILE:12: what is wrong", as compilers name a place in a file.
std::string ReadErrorText(const std::string& path, const EReadError& error) {
  return "tarvela: " + path + ':' + std::to_string(error.Line()) + ": " + error.Detail();
}

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

}  // namespace

std::vector<std::string> PointLines(const TCustomAxisPanel& chart) {
  std::vector<std::string> lines;
  for (int s = 0; s < chart.SeriesTotal(); ++s) {
    const TChartSeries& series = *chart.SeriesAt(s);
    for (int i = 0; i < series.PointCount(); ++i) {
      std::string line = std::to_string(s);
      line += ' ';
      line += DataNumber(series.XValueAt(i));
      line += ' ';
      line += DataNumber(series.YValueAt(i));
      line += ' ';
      line += std::to_string(static_cast<int>(series.PointColor(i)));
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

std::string CommandLineUsage() {
  return "Usage: tarvela [--sigma TEXT] [--second TEXT] [--report FILE] [--points FILE]\n"
         "               [--csv FILE] [--json FILE] [--errors FILE] [--errors-png FILE]\n"
         "               [--png FILE] [--svg FILE] [--size WxH] [--scale N] [--screenshot FILE]\n"
         "       tarvela --chart FILE [--png FILE] [--svg FILE] [--points FILE] [--screenshot FILE]\n"
         "               [--size WxH] [--scale N]\n"
         "\n"
         "Without arguments Tarvela opens its window. With arguments it works without one:\n"
         "it puts TEXT into the sigma field and the second field as a paste would, presses\n"
         "the compute button, then the graph button, and writes what was asked for.\n"
         "Pictures show what the window shows after the same steps: the chart painted as\n"
         "the window opens, then the buttons pressed, then the picture. When only --png,\n"
         "--svg or --screenshot are given, no button is pressed: the pictures show the\n"
         "window as it opens.\n"
         "\n"
         "  --sigma TEXT       the exponent sigma (read with the locale's decimal separator)\n"
         "  --second TEXT      the second field; it must hold a number too\n"
         "  --report FILE      write the layer report, one line per line, to FILE\n"
         "  --points FILE      write the chart's points: for every series with points, one line per point\n"
         "                     in series order: series index, X, Y and colour; numbers in the C locale\n"
         "                     (a full stop before the decimals), whatever the user's locale\n"
         "  --csv FILE         write the computed layers as a table: a header row x,u0,...,u10,y10, then\n"
         "                     one row per grid node: x, u of every layer and the exact y of the last\n"
         "                     layer; numbers in the C locale with 17 significant digits\n"
         "  --json FILE        write sigma, the grid and every layer (its time, its fixed-point\n"
         "                     iterations, u and the exact y at every node) as a JSON document\n"
         "  --errors FILE      write per layer the maximum and the discrete L2 norm of u - y, where the\n"
         "                     fronts of u and y stand (the largest x whose value exceeds 1e-6) and the\n"
         "                     fixed-point iterations, as a table like --csv\n"
         "  --errors-png FILE  draw the two norms per layer on a logarithmic axis, as a PNG image\n"
         "  --png FILE         write the chart as the window shows it, as a PNG image\n"
         "  --svg FILE         write the same drawing as an SVG document\n"
         "  --size WxH         draw the chart for --png and --svg at W x H pixels (default 465x337);\n"
         "                     at most 16384 pixels a side and 67108864 pixels in all (8192x8192)\n"
         "  --scale N          draw --png, --errors-png and --screenshot at N times the pixels each way\n"
         "                     (N from 1 to 4), lines and text at that resolution, for a sharp picture\n"
         "                     on a dense screen or in print; the SVG document needs no scale\n"
         "  --screenshot FILE  write the whole main window, chart included, as a PNG image\n"
         "  --gallery FOLDER   draw every chart type of the catalogue, each with a small fixed data set,\n"
         "                     in 3D and in 2D at 300x220 (NN-type-3d.png, NN-type-2d.png), and an\n"
         "                     index.html that shows them in a grid; alone, with no other option\n"
         "  --help             show this text\n"
         "  --version          show the program's version\n"
         "  --man              write this text as the manual page (roff) that man tarvela shows\n"
         "\n"
         "  --chart FILE       the chart that FILE describes instead of the form's: a form description\n"
         "                     holding one TChart with its series and their Points (see README.md);\n"
         "                     RandomWalk = N in a series generates N points (at most 1000000).\n"
         "                     Without an output option it opens a window showing the chart at its\n"
         "                     Width x Height. --png and --svg write the chart as that window shows\n"
         "                     it once its layout has settled, --points writes its points,\n"
         "                     --screenshot its window, and --size sets the chart's size for all of\n"
         "                     them and for the window. --sigma, --second, --report, --csv,\n"
         "                     --json, --errors and --errors-png belong to the form and are\n"
         "                     refused with it. A bad file is reported as FILE:LINE: what is\n"
         "                     wrong, with status 1; a file larger than 16 MiB is refused.\n"
         "\n"
         "FILE '-' is standard output, for every option. A file is written whole or not at all:\n"
         "an existing file is replaced only once the new one is complete.\n"
         "\n"
         "A failure prints the error box's text on standard error and exits with status 1;\n"
         "so does a file that cannot be written (\"Cannot write to FILE\") and a picture that\n"
         "does not fit into memory. A bad command line exits with status 2.\n";
}

#ifndef TARVELA_VERSION
#define TARVELA_VERSION "unknown"
#endif

std::string VersionText() { return std::string("tarvela ") + TARVELA_VERSION; }

std::string ManPage() {
  std::string page = ".TH TARVELA 1 \"\" \"" + VersionText() + "\" \"User Commands\"\n";
  page += ".SH NAME\ntarvela \\- solves the porous-medium equation, reports and plots its layers\n";
  page += ".SH DESCRIPTION\n.nf\n";
  const std::string usage = CommandLineUsage();
  std::size_t start = 0;
  while (start < usage.size()) {
    std::size_t end = usage.find('\n', start);
    if (end == std::string::npos) end = usage.size();
    std::string line;
    // A line that starts with a full stop or an apostrophe would be a request.
    if (end > start && (usage[start] == '.' || usage[start] == '\'')) line = "\\&";
    for (std::size_t i = start; i < end; ++i) {
      const char c = usage[i];
      if (c == '\\') {
        line += "\\e";
      } else if (c == '-') {
        line += "\\-";
      } else {
        line += c;
      }
    }
    page += line + "\n";
    start = end + 1;
  }
  page += ".fi\n";
  return page;
}

namespace {

ChartImageSize ParseSize(const std::string& text) {
  const std::size_t x = text.find('x');
  auto number = [&](std::string_view digits) {
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos)
      return 0LL;
    return std::stoll(std::string(digits));
  };
  const std::string_view view(text);
  const long long width = x == std::string::npos ? 0 : number(view.substr(0, x));
  const long long height = x == std::string::npos ? 0 : number(view.substr(x + 1));
  if (width < 1 || height < 1) throw Exception("Option --size needs WxH, for example 930x674, not " + text);
  // The picture and the chart's drawing buffer take W x H x 4 bytes each: refused here,
  // before anything is allocated, rather than by the allocator half-way.
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
    throw Exception("Option --size allows at most " + std::to_string(kMaxPictureSide) + " pixels a side and " +
                    std::to_string(kMaxPicturePixels) + " pixels in all, not " + text);
  return {static_cast<int>(width), static_cast<int>(height)};
}

int ParseScale(const std::string& text) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kMaxPictureScale)
    throw Exception("Option --scale needs a whole number from 1 to " + std::to_string(kMaxPictureScale) + ", not " +
                    text);
  return text[0] - '0';
}

}  // namespace

void CheckScaledPicture(ChartImageSize size, int scale) {
  const long long width = static_cast<long long>(size.width) * scale;
  const long long height = static_cast<long long>(size.height) * scale;
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
    throw Exception("Option --scale " + std::to_string(scale) + " makes the " + std::to_string(size.width) + 'x' +
                    std::to_string(size.height) + " picture " + std::to_string(width) + 'x' + std::to_string(height) +
                    " pixels; at most " + std::to_string(kMaxPictureSide) + " a side and " +
                    std::to_string(kMaxPicturePixels) + " in all are allowed");
}

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
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--man") {
      options.manPage = true;
    } else if (arg == "--sigma") {
      options.sigma = value();
    } else if (arg == "--second") {
      options.second = value();
    } else if (arg == "--gallery") {
      options.gallery = value();
    } else if (arg == "--csv") {
      options.csv = value();
    } else if (arg == "--json") {
      options.json = value();
    } else if (arg == "--errors") {
      options.errors = value();
    } else if (arg == "--errors-png") {
      options.errorsPng = value();
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
    } else if (arg == "--scale") {
      options.scale = ParseScale(value());
    } else if (arg == "--chart") {
      options.chart = value();
    } else {
      throw Exception("Unknown option " + arg);
    }
  }
  if (options.chart) {
    // They fill the form's fields and read its report: a chart file has neither.
    const std::pair<const std::optional<std::string>*, const char*> formOptions[] = {
        {&options.sigma, "--sigma"}, {&options.second, "--second"}, {&options.report, "--report"},
        {&options.csv, "--csv"},     {&options.json, "--json"},     {&options.errors, "--errors"},
        {&options.errorsPng, "--errors-png"}};
    for (const auto& [option, name] : formOptions)
      if (*option) throw Exception(std::string("Option ") + name + " belongs to the form and cannot be used with --chart");
  }
  // The gallery draws charts of its own: nothing else of a run would reach it.
  if (options.gallery && args.size() != 2) throw Exception("Option --gallery stands alone");
  if (options.size) CheckScaledPicture(*options.size, options.scale);
  return options;
}

namespace {

// One run of the command line: the forms it opens, the failures it reports.
class CommandLineRun {
 public:
  CommandLineRun(const CommandLineOptions& options, std::ostream& out, std::ostream& err)
      : m_options(options), m_out(out), m_err(err) {}

  // Takes the place of the error box for the run.
  ErrorPresenter& Presenter() { return m_presenter; }

  // The form after the same events as its window: created; when buttons are pressed,
  // first painted as the window paints as it opens (paint, with the chart at the size
  // the picture will have), then the texts pasted and both buttons pressed. Null after
  // a failure, which has been reported.
  std::unique_ptr<TForm1> OpenForm(std::optional<ChartImageSize> chartSize,
                                   const std::function<void(TForm1&)>& paint) {
    std::unique_ptr<TForm1> form;
    RunHandler([&] { form = std::make_unique<TForm1>(nullptr); });
    if (Failed() || !form) return nullptr;
    if (chartSize) {
      const TRect bounds = form->Chart1->BoundsRect();
      form->Chart1->SetBounds(bounds.left, bounds.top, chartSize->width, chartSize->height);
    }
    if (!m_options.PressesButtons()) return form;
    // The axes take their room from the pixel span of the previous paint, and the window
    // has painted the empty chart before any button can be pressed.
    if (paint && !Draw([&] { paint(*form); }, chartSize)) return nullptr;
    if (m_options.sigma) form->Edit1->Paste(*m_options.sigma);
    if (m_options.second) form->Edit2->Paste(*m_options.second);
    form->Button1->Click();
    if (Failed()) return nullptr;
    form->BitBtn1->Click();
    if (Failed()) return nullptr;
    return form;
  }

  // Writes a text output; false after reporting a failure.
  bool WriteText(const std::optional<std::string>& target, const std::function<std::string()>& text) {
    if (!target) return true;
    const std::string bytes = text();
    return WriteOutput(*target, m_out, BytesWriter(bytes)) || CannotWrite(*target);
  }

  // The lines as a text file, each ended by a line feed.
  bool WriteLines(const std::optional<std::string>& target, const std::vector<std::string>& lines) {
    return WriteText(target, [&] {
      std::string text;
      for (const std::string& line : lines) text.append(line).append(1, '\n');
      return text;
    });
  }

  // The chart file's form with its chart at chartSize (else the file's size), not yet
  // painted: its pictures settle the layout themselves, as its window's first frame
  // does. Null after a failure, which has been reported.
  std::unique_ptr<TChartForm> OpenChartForm(const std::string& text, std::optional<ChartImageSize> chartSize) {
    std::unique_ptr<TChartForm> form;
    std::optional<EReadError> readError;
    RunHandler([&] {
      try {
        form = std::make_unique<TChartForm>(nullptr, text, ChartWindowCaption(m_options.chart.value_or("errors")));
      } catch (const EReadError& e) {
        readError = e;
      }
    });
    if (readError) {
      m_err << ReadErrorText(m_options.chart.value_or("errors"), *readError) << '\n';
      return nullptr;
    }
    if (Failed() || !form) return nullptr;
    if (chartSize) form->SetChartSize(chartSize->width, chartSize->height);
    return form;
  }

  // Writes a picture of a form of its own, opened with the picture's paint history:
  // every picture shows what the window shows, whichever others are asked for.
  bool WritePicture(const std::optional<std::string>& target, std::optional<ChartImageSize> chartSize,
                    const std::function<void(TForm1&)>& paint, const std::function<bool(TForm1&, QIODevice&)>& write) {
    if (!target) return true;
    return WritePictureOf<TForm1>(*target, chartSize, [&] { return OpenForm(chartSize, paint); }, write);
  }

  // The same for the chart file's form.
  bool WriteChartPicture(const std::optional<std::string>& target, const std::string& text,
                         std::optional<ChartImageSize> chartSize,
                         const std::function<bool(TChartForm&, QIODevice&)>& write) {
    if (!target) return true;
    return WritePictureOf<TChartForm>(*target, chartSize, [&] { return OpenChartForm(text, chartSize); }, write);
  }

 private:
  template <class Form>
  bool WritePictureOf(const std::string& target, std::optional<ChartImageSize> chartSize,
                      const std::function<std::unique_ptr<Form>()>& open,
                      const std::function<bool(Form&, QIODevice&)>& write) {
    const std::unique_ptr<Form> form = open();
    if (!form) return false;
    bool written = false;
    // A failure while drawing is the error box's, a file that cannot be written is ours.
    const bool drawn = Draw(
        [&] { written = WriteOutput(target, m_out, [&](QIODevice& device) { return write(*form, device); }); },
        chartSize);
    if (!drawn) return false;
    return written || CannotWrite(target);
  }

  bool Failed() {
    if (!m_presenter.Failed() || m_reported) return m_presenter.Failed();
    m_err << m_presenter.Text() << '\n';
    m_reported = true;
    return true;
  }

  bool CannotWrite(const std::string& target) {
    m_err << "Cannot write to " << OutputName(target) << '\n';
    return false;
  }

  // Draws as the window would; false after reporting a failure or memory running out.
  bool Draw(const std::function<void()>& draw, std::optional<ChartImageSize> chartSize) {
    bool outOfMemory = false;
    RunHandler([&] {
      try {
        draw();
      } catch (const std::bad_alloc&) {
        outOfMemory = true;
      }
    });
    if (Failed()) return false;
    if (!outOfMemory) return true;
    m_err << "Not enough memory to draw the picture";
    if (chartSize) m_err << " at " << chartSize->width << 'x' << chartSize->height;
    m_err << '\n';
    return false;
  }

  const CommandLineOptions& m_options;
  std::ostream& m_out;
  std::ostream& m_err;
  RecordingPresenter m_presenter;
  bool m_reported = false;
};

// The outputs of the first form, which no paint precedes: the report, the points, the
// tables and the picture of the error norms. False after a failure, which was reported.
bool WriteFormTexts(CommandLineRun& run, const CommandLineOptions& options, TForm1& form) {
  if (!run.WriteLines(options.report, form.Memo1->Lines().Lines())) return false;
  if (options.points && !run.WriteLines(options.points, PointLines(*form.Chart1))) return false;
  if (!run.WriteText(options.csv, [&] { return LayersCsv(form.Solver()); })) return false;
  if (!run.WriteText(options.json, [&] { return LayersJson(form.Solver()); })) return false;
  if (!run.WriteText(options.errors, [&] { return ErrorsCsv(form.Solver()); })) return false;
  if (!options.errorsPng) return true;
  // Drawn as a chart file would be: the engine's own picture of the norms.
  const int scale = options.scale;
  return run.WriteChartPicture(options.errorsPng, ErrorsChartDescription(form.Solver()), std::nullopt,
                               [scale](TChartForm& f, QIODevice& device) {
                                 return WriteChartPng(f.Chart(), device, std::nullopt, scale);
                               });
}

// The chart file's outputs. Each picture has a form of its own, as the form's have.
int RunChartCommandLine(const CommandLineOptions& options, std::ostream& out, std::ostream& err) {
  std::string text;
  try {
    text = ReadChartFileText(*options.chart);
  } catch (const EChartFileError& e) {
    err << "tarvela: " << e.what() << '\n';
    return 1;
  }
  CommandLineRun run(options, out, err);
  PresenterSwap swap(*TApplication::Instance(), &run.Presenter());

  // Read once before anything is written, so that a bad file writes nothing.
  const std::unique_ptr<TChartForm> form = run.OpenChartForm(text, options.size);
  if (!form) return 1;
  if ((options.png || options.screenshot) && !options.size) {
    try {
      CheckScaledPicture({form->Chart().Width(), form->Chart().Height()}, options.scale);
    } catch (const Exception& e) {
      err << "tarvela: " << e.what() << '\n';
      return 2;
    }
  }
  if (options.points && !run.WriteLines(options.points, PointLines(form->Chart()))) return 1;

  // A chart file's window has nothing to do before its first frame, which is settled
  // (TCustomZavPanel::PaintSettled): every picture is that frame, drawn afresh.
  const int scale = options.scale;
  if (!run.WriteChartPicture(options.png, text, options.size, [scale](TChartForm& f, QIODevice& device) {
        return WriteChartPng(f.Chart(), device, std::nullopt, scale);
      }))
    return 1;
  if (!run.WriteChartPicture(options.svg, text, options.size, [](TChartForm& f, QIODevice& device) {
        return WriteChartSvg(f.Chart(), device, std::nullopt);
      }))
    return 1;
  if (!run.WriteChartPicture(options.screenshot, text, options.size,
                             [scale](TChartForm& f, QIODevice& device) { return WriteScreenshot(f, device, scale); }))
    return 1;
  return 0;
}

}  // namespace

int RunChartWindow(const CommandLineOptions& options, std::ostream& err) {
  TApplication* app = TApplication::Instance();
  if (app == nullptr || !options.chart) {
    err << "tarvela: no application object\n";
    return 1;
  }
  std::string text;
  try {
    text = ReadChartFileText(*options.chart);
  } catch (const EChartFileError& e) {
    err << "tarvela: " << e.what() << '\n';
    return 1;
  }
  std::unique_ptr<TChartForm> form;
  std::optional<EReadError> readError;
  // A bad file is the terminal's business, not an error box's: there is no window yet.
  RunHandler([&] {
    try {
      form = std::make_unique<TChartForm>(nullptr, text, ChartWindowCaption(*options.chart));
      if (options.size) form->SetChartSize(options.size->width, options.size->height);
    } catch (const EReadError& e) {
      readError = e;
    }
  });
  if (readError) {
    err << ReadErrorText(*options.chart, *readError) << '\n';
    return 1;
  }
  if (!form) return 1;
  return app->Run(*form);
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CommandLineOptions options;
  try {
    options = ParseCommandLine(args);
  } catch (const Exception& e) {
    err << "tarvela: " << e.what() << "\n\n" << CommandLineUsage();
    return 2;
  }
  if (options.help || options.version || options.manPage) {
    out << (options.help ? CommandLineUsage() : options.version ? VersionText() + "\n" : ManPage());
    out.flush();
    if (!out) {
      err << "Cannot write to standard output\n";
      return 1;
    }
    return 0;
  }

  TApplication* app = TApplication::Instance();
  if (app == nullptr) {
    err << "tarvela: no application object\n";
    return 1;
  }
  if (options.chart) return RunChartCommandLine(options, out, err);
  if (options.gallery) {
    int status = 1;
    RunHandler([&] {
      RegisterChartClasses();
      status = WriteGallery(*options.gallery, err) ? 0 : 1;
    });
    return status;
  }
  CommandLineRun run(options, out, err);
  PresenterSwap swap(*app, &run.Presenter());

  // The report and the points do not depend on any paint; a failed press ends the run
  // here, before anything is written. Each picture opens a form of its own and presses
  // the same buttons before it writes, so when only pictures are asked for, this form
  // would only do their work once more.
  const bool textOutputs =
      options.report || options.points || options.csv || options.json || options.errors || options.errorsPng;
  const bool pictures = options.png || options.svg || options.screenshot;
  if (textOutputs || !pictures) {
    const std::unique_ptr<TForm1> form = run.OpenForm(std::nullopt, nullptr);
    if (!form) return 1;
    if (!WriteFormTexts(run, options, *form)) return 1;
  }

  const auto paintChart = [&](TForm1& f) {
    if (RenderChartImage(*f.Chart1).isNull()) throw std::bad_alloc();
  };
  const auto paintWindow = [](TForm1& f) {
    if (QWidget* window = f.Widget()) window->grab();
  };
  const int scale = options.scale;
  if (!run.WritePicture(options.png, options.size, paintChart, [scale](TForm1& f, QIODevice& device) {
        return WriteChartPng(*f.Chart1, device, std::nullopt, scale);
      }))
    return 1;
  if (!run.WritePicture(options.svg, options.size, paintChart,
                        [](TForm1& f, QIODevice& device) { return WriteChartSvg(*f.Chart1, device, std::nullopt); }))
    return 1;
  if (!run.WritePicture(options.screenshot, std::nullopt, paintWindow,
                        [scale](TForm1& f, QIODevice& device) { return WriteScreenshot(f, device, scale); }))
    return 1;
  return 0;
}

}  // namespace tarvela
