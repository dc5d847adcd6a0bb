#include "app/command_line.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <charconv>
#include <iterator>
#include <new>
#include <set>
#include <ostream>
#include <unistd.h>

#include "app/form1.h"
#include "app/gallery.h"
#include "app/report.h"
#include "app/results_export.h"
#include "app/window_pictures.h"
#include "tarvela/chart/chart_registration.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/float_checks.h"
#include "tarvela/runtime/form_reader.h"
#include "tarvela/runtime/number_text.h"
#include "tarvela/widgets/application.h"
#include "tarvela/widgets/chart_file.h"
#include "tarvela/widgets/output_file.h"
#include "tarvela/widgets/system_locale.h"

namespace tarvela {

namespace {

// "chart.txt - Tarvela": the file's name, without its folder.
std::string ChartWindowCaption(const std::string& path) {
  if (path == "-") return ChartFileName(path) + " - Tarvela";
  return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName().toStdString() + " - Tarvela";
}

// A bad command line: the problem, and where to read how it should be.
int BadCommandLine(std::ostream& err, const std::string& problem) {
  err << "tarvela: " << problem << "\nTry 'tarvela --help' for more information.\n";
  return 2;
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

// [SECTION] The help and the manual page
//
// Both are made from the one table below, so that the page cannot say what --help does
// not: the synopsis, the description, one entry per option, the files, the exit
// statuses and examples. --help wraps the texts at 79 columns; the page leaves the
// filling to the formatter.

namespace {

// An entry of a list: a tag (bold in the page), an argument (italic) and its text.
// A paragraph has no tag. In texts "~" is a blank that never breaks the line.
struct HelpEntry {
  const char* tag;
  const char* argument;
  const char* text;
};

struct HelpSection {
  const char* helpTitle;  // null: no heading in --help
  const char* manTitle;
  std::vector<HelpEntry> entries;
};

// The forms of the command, one per line; a line starting with blanks continues the
// one before.
constexpr const char* kSynopsis[] = {
    "tarvela [--sigma TEXT] [--second TEXT] [OUTPUT]... [--size WxH]",
    "        [--scale N] [--antialias]",
    "tarvela --sigma TEXT --convergence K [--refine HOW] [SCHEME]...",
    "        [--convergence-csv FILE] [--convergence-png FILE]",
    "tarvela --chart FILE [OUTPUT]... [--size WxH] [--scale N] [--antialias]",
    "tarvela --gallery FOLDER",
    "tarvela --help | --version | --man",
};

const std::vector<HelpSection>& HelpSections() {
  static const std::vector<HelpSection> sections = {
      {nullptr,
       "DESCRIPTION",
       {
           {nullptr, nullptr,
            "Tarvela solves the porous-medium equation u_t = (u^sigma u_x)_x with an implicit scheme, "
            "compares each time layer with the exact self-similar solution, reports the layers and plots "
            "them in a chart."},
           {nullptr, nullptr,
            "Without arguments Tarvela opens its window. With arguments it works without one: it puts "
            "TEXT into the sigma field and the second field as a paste would, presses the compute button, "
            "then the graph button, and writes each OUTPUT asked for: --report, --points, --csv, --json, "
            "--errors, --errors-png, --errors-pdf, --png, --svg, --pdf or --screenshot, each with the FILE "
            "to write."},
           {nullptr, nullptr,
            "Pictures show what the window shows after the same steps: the chart painted as the window "
            "opens, then the buttons pressed, then the picture. When only --png, --svg or --screenshot are "
            "given, no button is pressed: the pictures show the window as it opens."},
       }},
      {"Options:",
       "OPTIONS",
       {
           {"--sigma", "TEXT", "the exponent sigma, read with the locale's decimal separator"},
           {"--second", "TEXT", "the second field; it must hold a number too"},
           {"--report", "FILE", "write the layer report, one line per line"},
           {"--points", "FILE",
            "write the chart's points: for every series with points, one line per point in series order: "
            "series index, X, Y and colour; numbers in the C locale (a full stop before the decimals), "
            "whatever the user's locale"},
           {"--csv", "FILE",
            "write the computed layers as a table: a header row x,u0,...,u10,y10, then one row per grid "
            "node: x, u of every layer and the exact y of the last layer; numbers in the C locale with 17 "
            "significant digits"},
           {"--json", "FILE",
            "write sigma, the grid and every layer (its time, its fixed-point iterations, u and the exact "
            "y at every node) as a JSON document"},
           {"--errors", "FILE",
            "write per layer the maximum and the discrete L2 norm of u~-~y, where the fronts of u and y "
            "stand (the largest x whose value exceeds 1e-6) and the fixed-point iterations, as a table "
            "like --csv"},
           {"--errors-png", "FILE", "draw the two norms per layer on a logarithmic axis, as a PNG image"},
           {"--errors-pdf", "FILE", "draw the same chart of the norms as a PDF document"},
           {"--intervals", "N",
            "the grid's number of intervals (default 10); every output follows it: the report, --csv and "
            "--json list every node, the chart plots every layer up to 5000 nodes and every k-th node beyond"},
           {"--steps", "M",
            "the number of time steps (default 10); the chart plots the first and the last layer and up to "
            "nine layers between them, spread evenly"},
           {"--time", "T", "the time span computed (default 1)"},
           {"--tolerance", "E",
            "the threshold of the fixed-point iterations (default 0.01). N, M, T and E are read in the C "
            "locale; N and M must be at least 1, T and E positive and finite, and the arrays of u and y "
            "on every layer at most 1 GiB"},
           {"--convergence", "K",
            "a convergence study for --sigma: K grids, each with N doubled and tau quartered from the last "
            "(epsilon quartered too unless --tolerance is given), written per grid as N, M, h, tau, "
            "epsilon, the maximum and L2 errors of the final layer against the exact solution, their "
            "observed orders log2(e_previous~/~e), the fixed-point iterations and the time; a table on "
            "standard output unless --convergence-csv or --convergence-png is given. A grid that fails ends "
            "the study, named on standard error, with the grids before it written"},
           {"--refine", "HOW",
            "how each grid of the study follows the last: space (the default: h halved, tau quartered), "
            "time (tau halved, the grid kept) or both-halved (h and tau halved)"},
           {"--convergence-csv", "FILE", "write the study as a table like --csv"},
           {"--convergence-png", "FILE",
            "draw both errors of the study against h (against tau with --refine time) on logarithmic axes "
            "with lines of order 1 and 2, as a PNG image"},
           {"--quiet", nullptr,
            "show no progress: without it a computation that runs longer than a second shows on standard "
            "error, when that is a terminal, which layer and grid it has reached"},
           {"--png", "FILE", "write the chart as the window shows it, as a PNG image"},
           {"--svg", "FILE", "write the same drawing as an SVG document"},
           {"--pdf", "FILE",
            "write the same drawing as a one-page PDF document: lines stay lines and texts stay texts, "
            "their fonts embedded; the page is the chart's size in points at 96 pixels per inch"},
           {"--screenshot", "FILE", "write the whole main window, chart included, as a PNG image"},
           {"--size", "WxH",
            "draw the chart for --png, --svg and --pdf at W~x~H pixels (default 465x337); at most 16384 "
            "pixels a side and 67108864 pixels in all (8192x8192). With --chart it sets the chart's size "
            "for --png, --svg, --pdf, --screenshot and the window. Refused when none of these is asked "
            "for."},
           {"--scale", "N",
            "draw --png, --errors-png and --screenshot at N times the pixels each way (N from 1 to 4), "
            "lines and text at that resolution, for a sharp picture on a dense screen or in print. The "
            "SVG document needs no scale, nor does a window, which draws at its screen's own; refused "
            "when none of the three is asked for."},
           {"--antialias", nullptr,
            "draw lines, polygons, ellipses, pies and text smooth (antialiased) in --png, --errors-png, "
            "--screenshot and, with --chart, its window; horizontal and vertical lines of one pixel stay "
            "sharp. A chart file asks for the same with Antialiased~=~True. SVG and PDF documents are "
            "vector drawings and unaffected; refused when no picture it changes is asked for."},
           {"--chart", "FILE",
            "the chart that FILE describes instead of the form's: a form description holding one TChart "
            "with its series and their Points (see README.md); RandomWalk = N in a series generates N "
            "points (at most 1000000). --chart~- reads the description from standard input. Without an "
            "output it opens a window showing the chart at its Width~x~Height, which follows the window's "
            "size and closes on Ctrl+W, Ctrl+Q or Escape. --png and --svg write the chart as that window "
            "shows it from its first frame, --pdf the same drawing, --points writes its points, "
            "--screenshot its window. --sigma, --second, --report, --csv, --json, --errors, "
            "--errors-png and --errors-pdf belong to the form and are refused with it. A file larger "
            "than 16 MiB is refused."},
           {"--gallery", "FOLDER",
            "draw every chart type of the catalogue, each with a small fixed data set, in 3D and in 2D "
            "at 300x220 (NN-type-3d.png, NN-type-2d.png), and an index.html that shows them in a grid, "
            "with a second page, smooth.html, of the same charts drawn with smooth lines "
            "(NN-type-3d-smooth.png, NN-type-2d-smooth.png); "
            "alone, with no other option. The gallery is written into a new folder beside FOLDER and "
            "swapped in whole: an old gallery there is replaced, stale pictures and all, or left as it "
            "was when the new one cannot be written."},
           {"--help", nullptr, "show the help and exit"},
           {"--version", nullptr, "show the program's version and exit"},
           {"--man", nullptr, "write the manual page (roff), made from the same texts as --help, and exit"},
       }},
      {"Files:",
       "FILES",
       {
           {"-", nullptr, "as a FILE: standard output for every output, standard input for --chart"},
           {"FILE", nullptr,
            "written whole or not at all: the output goes to a temporary file beside FILE, renamed over "
            "it once complete, so a failure leaves an existing file as it was; an existing file keeps its "
            "permissions, and a device or a pipe is written in place. Names are used byte for byte, "
            "whatever their encoding."},
       }},
      {"Exit status:",
       "EXIT STATUS",
       {
           {"0", nullptr, "every output asked for was written"},
           {"1", nullptr,
            "the program failed: a chart file that cannot be read or is described wrongly (FILE:LINE: "
            "what is wrong), an output that cannot be written, a failure the window would show in its "
            "error box (the box's text), or a picture that does not fit into memory"},
           {"2", nullptr,
            "a bad command line: an unknown option, an option given twice, a missing or bad value, options "
            "that cannot go together or that do nothing without an output, a picture larger than the "
            "bounds"},
           {nullptr, nullptr,
            "Every message on standard error starts with tarvela: and says what failed and why."},
       }},
      {"Examples:",
       "EXAMPLES",
       {
           {"tarvela --sigma 2 --second 0 --report -", nullptr, "print the layer report for sigma 2"},
           {"tarvela --sigma 1.5 --second 0 --size 930x674 --png c.png", nullptr,
            "draw the plotted layers at twice the window's size"},
           {"tarvela --chart bars.chart --svg bars.svg", nullptr, "write a chart file's chart as an SVG document"},
           {"make-chart | tarvela --chart - --png - > c.png", nullptr,
            "read a chart's description from a pipe and write its picture to another"},
       }},
  };
  return sections;
}

constexpr std::size_t kHelpWidth = 79;
constexpr std::size_t kHelpTagColumn = 21;

// text filled into lines of at most kHelpWidth columns, each starting at indent; the
// first line starts at firstColumn when text follows a tag on it.
std::string Fill(const std::string& text, std::size_t indent, std::size_t firstColumn) {
  std::string out;
  std::size_t column = firstColumn;
  bool lineEmpty = true;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::size_t length = end - start;
    if (length > 0) {
      if (!lineEmpty && column + 1 + length > kHelpWidth) {
        out += '\n' + std::string(indent, ' ');
        column = indent;
        lineEmpty = true;
      }
      if (!lineEmpty) {
        out += ' ';
        ++column;
      }
      for (std::size_t i = start; i < end; ++i) out += text[i] == '~' ? ' ' : text[i];
      column += length;
      lineEmpty = false;
    }
    start = end + 1;
  }
  return out + '\n';
}

std::string HelpTag(const HelpEntry& entry) {
  std::string tag = entry.tag;
  if (entry.argument) tag += std::string(" ") + entry.argument;
  return tag;
}

// Roff for text: a backslash and a minus are escaped, a line may not start a request.
std::string Roff(const std::string& text) {
  std::string out = text.empty() || (text[0] != '.' && text[0] != '\'') ? "" : "\\&";
  for (const char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else if (c == '~') {
      out += "\\ ";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string CommandLineUsage() {
  std::string usage;
  for (std::size_t i = 0; i < std::size(kSynopsis); ++i)
    usage += std::string(i == 0 ? "Usage: " : "       ") + kSynopsis[i] + '\n';
  for (const HelpSection& section : HelpSections()) {
    usage += '\n';
    if (section.helpTitle) usage += std::string(section.helpTitle) + '\n';
    bool afterList = false;
    for (const HelpEntry& entry : section.entries) {
      if (!entry.tag) {
        if (afterList) usage += '\n';
        usage += Fill(entry.text, 0, 0);
        if (!section.helpTitle) afterList = true;  // paragraphs of the description stand apart
        continue;
      }
      const std::string tag = "  " + HelpTag(entry);
      if (tag.size() + 2 <= kHelpTagColumn) {
        usage += tag + std::string(kHelpTagColumn - tag.size(), ' ') + Fill(entry.text, kHelpTagColumn, kHelpTagColumn);
      } else {
        usage += tag + '\n' + std::string(kHelpTagColumn, ' ') + Fill(entry.text, kHelpTagColumn, kHelpTagColumn);
      }
      afterList = true;
    }
  }
  return usage;
}

#ifndef TARVELA_VERSION
#define TARVELA_VERSION "unknown"
#endif

std::string VersionText() { return std::string("tarvela ") + TARVELA_VERSION; }

std::string ManPage() {
  std::string page = ".TH TARVELA 1 \"\" \"" + VersionText() + "\" \"User Commands\"\n";
  // Filled flush left and never hyphenated: option names must stay whole.
  page += ".ad l\n.nh\n";
  page += ".SH NAME\ntarvela \\- solves the porous\\-medium equation, reports and plots its layers\n";
  page += ".SH SYNOPSIS\n.nf\n";
  for (const char* line : kSynopsis) page += Roff(line) + '\n';
  page += ".fi\n";
  for (const HelpSection& section : HelpSections()) {
    page += std::string(".SH ") + section.manTitle + '\n';
    for (const HelpEntry& entry : section.entries) {
      if (!entry.tag) {
        page += ".PP\n" + Roff(entry.text) + '\n';
        continue;
      }
      page += ".TP\n\\fB" + Roff(entry.tag) + "\\fR";
      if (entry.argument) page += " \\fI" + Roff(entry.argument) + "\\fR";
      page += '\n' + Roff(entry.text) + '\n';
    }
  }
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
  if (width < 1 || height < 1) throw Exception("option --size needs WxH, for example 930x674, not " + text);
  // The picture and the chart's drawing buffer take W x H x 4 bytes each: refused here,
  // before anything is allocated, rather than by the allocator half-way.
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
    throw Exception("option --size allows at most " + std::to_string(kMaxPictureSide) + " pixels a side and " +
                    std::to_string(kMaxPicturePixels) + " pixels in all, not " + text);
  return {static_cast<int>(width), static_cast<int>(height)};
}

int ParseScale(const std::string& text) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kMaxPictureScale)
    throw Exception("option --scale needs a whole number from 1 to " + std::to_string(kMaxPictureScale) + ", not " +
                    text);
  return text[0] - '0';
}

}  // namespace

void CheckScaledPicture(ChartImageSize size, int scale) {
  const long long width = static_cast<long long>(size.width) * scale;
  const long long height = static_cast<long long>(size.height) * scale;
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
    throw Exception("option --scale " + std::to_string(scale) + " makes the " + std::to_string(size.width) + 'x' +
                    std::to_string(size.height) + " picture " + std::to_string(width) + 'x' + std::to_string(height) +
                    " pixels; at most " + std::to_string(kMaxPictureSide) + " a side and " +
                    std::to_string(kMaxPicturePixels) + " in all are allowed");
}

namespace {

// --size and --scale only change outputs: alone, or with none of the outputs they change,
// they would be dropped without a word and the user left believing they had an effect.
void CheckSomethingToDo(const CommandLineOptions& options) {
  const bool anyOutput = options.report || options.points || options.csv || options.json || options.errors ||
                         options.errorsPng || options.png || options.svg || options.screenshot || options.pdf ||
                         options.errorsPdf;
  const auto refuse = [&](const std::string& option, const std::string& what) {
    if (!anyOutput && !options.sigma && !options.second)
      throw Exception("no output asked for: option " + option + " sets " + what);
    throw Exception("option " + option + " sets " + what + ", and none of them is asked for");
  };
  if (options.chart) {
    // Without an output the chart's window opens, at --size when given. The window draws
    // at its screen's own resolution: a scale would change nothing there.
    if (options.size && options.points && !options.png && !options.svg && !options.pdf && !options.screenshot)
      refuse("--size", "the chart's size for --png, --svg, --pdf, --screenshot and the window");
    if (options.scaleGiven && !options.png && !options.screenshot)
      refuse("--scale", "the resolution of --png and --screenshot (the window draws at its screen's own)");
    if (options.antialias && !options.png && !options.screenshot && !options.OpensChartWindow())
      refuse("--antialias", "smooth lines for --png, --screenshot and the window (documents are vector drawings)");
    return;
  }
  if (options.size && !options.png && !options.svg && !options.pdf)
    refuse("--size", "the size of --png, --svg and --pdf");
  if (options.antialias && !options.png && !options.errorsPng && !options.screenshot)
    refuse("--antialias", "smooth lines for --png, --errors-png and --screenshot (documents are vector drawings)");
  if (options.scaleGiven && !options.png && !options.errorsPng && !options.screenshot &&
      !options.study.convergencePng)
    refuse("--scale", "the resolution of --png, --errors-png and --screenshot");
}

// The scheme's options belong to the form's computation and the study's; a chart file
// has neither.
void CheckStudyCommandLine(const CommandLineOptions& options) {
  const StudyOptions& study = options.study;
  if (options.chart && (study.SetsScheme() || study.convergence))
    throw Exception("the scheme's options belong to the form and cannot be used with --chart");
  if (options.help || options.version || options.manPage) return;
  CheckStudyOptions(study, options.sigma.has_value());
  const bool formOutput = options.report || options.points || options.csv || options.json || options.errors ||
                          options.errorsPng || options.errorsPdf || options.png || options.svg || options.pdf ||
                          options.screenshot;
  if (study.SetsScheme() && !formOutput && !study.convergence)
    throw Exception("the scheme's options set the computation of the outputs, and none is asked for");
}

}  // namespace

CommandLineOptions ParseCommandLine(const std::vector<std::string>& args) {
  CommandLineOptions options;
  // Each option once: with two values a script's mistake would pass unseen, the last
  // one silently winning.
  static const std::set<std::string> kOptions = {
      "--help", "--version", "--man", "--sigma", "--second", "--gallery", "--csv", "--json", "--errors",
      "--errors-png", "--report", "--points", "--png", "--svg", "--screenshot", "--size", "--scale", "--chart",
      "--pdf", "--errors-pdf", "--antialias"};
  std::set<std::string> given;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const std::string name = arg == "-h" ? "--help" : arg;
    if (kOptions.count(name) != 0 && !given.insert(name).second) throw Exception("option " + name + " given twice");
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) throw Exception("option " + arg + " needs a value");
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
      options.scaleGiven = true;
    } else if (arg == "--chart") {
      options.chart = value();
    } else if (arg == "--pdf") {
      options.pdf = value();
    } else if (arg == "--errors-pdf") {
      options.errorsPdf = value();
    } else if (arg == "--antialias") {
      options.antialias = true;
    } else if (ParseStudyOption(args, i, options.study)) {
    } else {
      // A word that is no option is most often a file name whose option was forgotten.
      throw Exception(arg.size() > 1 && arg[0] == '-' ? "unknown option " + arg : "unexpected argument '" + arg + "'");
    }
  }
  if (options.chart) {
    // They fill the form's fields and read its report: a chart file has neither.
    const std::pair<const std::optional<std::string>*, const char*> formOptions[] = {
        {&options.sigma, "--sigma"}, {&options.second, "--second"}, {&options.report, "--report"},
        {&options.csv, "--csv"},     {&options.json, "--json"},     {&options.errors, "--errors"},
        {&options.errorsPng, "--errors-png"}, {&options.errorsPdf, "--errors-pdf"}};
    for (const auto& [option, name] : formOptions)
      if (*option) throw Exception(std::string("option ") + name + " belongs to the form and cannot be used with --chart");
  }
  // The gallery draws charts of its own: nothing else of a run would reach it.
  if (options.gallery && args.size() != 2) throw Exception("option --gallery stands alone");
  CheckStudyCommandLine(options);
  if (options.size) CheckScaledPicture(*options.size, options.scale);
  if (!options.help && !options.version && !options.manPage) CheckSomethingToDo(options);
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
    if (m_options.antialias) form->Chart1->SetAntialiased(true);
    if (chartSize) {
      const TRect bounds = form->Chart1->BoundsRect();
      form->Chart1->SetBounds(bounds.left, bounds.top, chartSize->width, chartSize->height);
    }
    form->SetScheme(m_options.study.Scheme());
    form->SetReportKept(false);
    form->SetLayerProgress(m_progress.Callback());
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
    std::string reason;
    return WriteOutput(*target, m_out, BytesWriter(bytes), &reason) || CannotWrite(*target, reason);
  }

  // Writes what produce hands to its sink, a piece at a time: the outputs of a large
  // grid would not fit in memory whole. False after reporting a failure.
  bool WriteStreamed(const std::optional<std::string>& target, const std::function<void(const TextSink&)>& produce) {
    if (!target) return true;
    std::string reason;
    const DeviceWriter writer = [&](QIODevice& device) {
      bool ok = true;
      produce([&](const std::string& piece) {
        if (ok && !piece.empty())
          ok = device.write(piece.data(), static_cast<qint64>(piece.size())) == static_cast<qint64>(piece.size());
      });
      return ok;
    };
    return WriteOutput(*target, m_out, writer, &reason) || CannotWrite(*target, reason);
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
      m_err << "tarvela: " << ChartFileErrorText(m_options.chart.value_or("errors"), *readError) << '\n';
      return nullptr;
    }
    if (Failed() || !form) return nullptr;
    if (chartSize) form->SetChartSize(chartSize->width, chartSize->height);
    if (m_options.antialias) form->Chart().SetAntialiased(true);
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
    // A failure while drawing is the file's: the setting it comes from is found by
    // drawing the same picture again with fewer of the file's settings.
    m_failingSetting = [&] {
      return TChartForm::FindFailingSetting(text, [&](TChartForm& form) {
        if (chartSize) form.SetChartSize(chartSize->width, chartSize->height);
        RecordingPresenter probe;
        const PresenterSwap swap(*TApplication::Instance(), &probe);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        RunHandler([&] { write(form, buffer); });
        return probe.Failed();
      });
    };
    const bool written =
        WritePictureOf<TChartForm>(*target, chartSize, [&] { return OpenChartForm(text, chartSize); }, write);
    m_failingSetting = nullptr;
    return written;
  }

 private:
  template <class Form>
  bool WritePictureOf(const std::string& target, std::optional<ChartImageSize> chartSize,
                      const std::function<std::unique_ptr<Form>()>& open,
                      const std::function<bool(Form&, QIODevice&)>& write) {
    const std::unique_ptr<Form> form = open();
    if (!form) return false;
    bool written = false;
    std::string reason;
    // A failure while drawing is the error box's, a file that cannot be written is ours.
    // A window's paint reports its failure to the box and returns, leaving a picture of
    // half a chart: that picture must not replace the file either.
    const bool drawn = Draw(
        [&] {
          written = WriteOutput(
              target, m_out, [&](QIODevice& device) { return write(*form, device) && !m_presenter.Failed(); },
              &reason);
        },
        chartSize);
    if (!drawn) return false;
    return written || CannotWrite(target, reason);
  }

  bool Failed() {
    if (!m_presenter.Failed() || m_reported) return m_presenter.Failed();
    // A chart file's run draws what the file describes: a failure there ("Format string
    // too long.") is the file's, and the file is what the user has to mend, at the line
    // of the setting it comes from when one does.
    m_err << "tarvela: ";
    if (m_options.chart) {
      m_err << ChartFileName(*m_options.chart);
      if (m_failingSetting)
        if (const std::optional<ChartFileSetting> setting = m_failingSetting())
          m_err << ':' << setting->line << ": " << setting->name;
      m_err << ": ";
    }
    m_err << m_presenter.Text() << '\n';
    m_reported = true;
    return true;
  }

  bool CannotWrite(const std::string& target, const std::string& reason) {
    m_err << "tarvela: " << CannotWriteMessage(target, reason) << '\n';
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
    m_err << "tarvela: not enough memory to draw the picture";
    if (chartSize) m_err << " at " << chartSize->width << 'x' << chartSize->height;
    m_err << '\n';
    return false;
  }

  const CommandLineOptions& m_options;
  std::ostream& m_out;
  std::ostream& m_err;
  // A long computation of the form shows how far it is on a terminal.
  ProgressMeter m_progress{STDERR_FILENO, m_options.study.quiet};
  RecordingPresenter m_presenter;
  bool m_reported = false;
  // While a chart file's picture is drawn: the setting a failure comes from.
  std::function<std::optional<ChartFileSetting>()> m_failingSetting;
};

// The outputs of the first form, which no paint precedes: the report, the points, the
// tables and the picture of the error norms. False after a failure, which was reported.
bool WriteFormTexts(CommandLineRun& run, const CommandLineOptions& options, TForm1& form) {
  // The report the graph button appends to the memo, written from the solver's layers
  // as the button forms it: the memo is not filled in a run without a window.
  const auto report = [&](const TextSink& sink) {
    std::string piece;
    ForEachReportLine(form.Solver(), [&] { return form.CurrentLocale(); }, [&](const std::string& line) {
      piece.append(line).append(1, '\n');
      if (piece.size() >= (1 << 20)) {
        sink(piece);
        piece.clear();
      }
    });
    sink(piece);
  };
  if (!run.WriteStreamed(options.report, report)) return false;
  if (options.points && !run.WriteLines(options.points, PointLines(*form.Chart1))) return false;
  if (!run.WriteStreamed(options.csv, [&](const TextSink& sink) { WriteLayersCsv(form.Solver(), sink); }))
    return false;
  if (!run.WriteStreamed(options.json, [&](const TextSink& sink) { WriteLayersJson(form.Solver(), sink); }))
    return false;
  if (!run.WriteText(options.errors, [&] { return ErrorsCsv(form.Solver()); })) return false;
  if (!options.errorsPng && !options.errorsPdf) return true;
  // Drawn as a chart file would be: the engine's own picture of the norms.
  const int scale = options.scale;
  const std::string description = ErrorsChartDescription(form.Solver());
  if (!run.WriteChartPicture(options.errorsPng, description, std::nullopt, [scale](TChartForm& f, QIODevice& device) {
        return WriteChartPng(f.Chart(), device, std::nullopt, scale);
      }))
    return false;
  return run.WriteChartPicture(options.errorsPdf, description, std::nullopt, [](TChartForm& f, QIODevice& device) {
    return WriteChartPdf(f.Chart(), device, std::nullopt);
  });
}

bool FormOutputsAsked(const CommandLineOptions& options) {
  return options.report || options.points || options.csv || options.json || options.errors || options.errorsPng ||
         options.errorsPdf || options.png || options.svg || options.pdf || options.screenshot;
}

// The convergence study: its table on standard output unless its CSV or its picture is
// asked for. A grid that fails ends the study; the grids done before it are written all
// the same, and the failure, with the grid, is reported after them.
int RunConvergenceStudy(CommandLineRun& run, const CommandLineOptions& options, std::ostream& out,
                        std::ostream& err) {
  const StudyOptions& study = options.study;
  double sigma = 0;
  try {
    FloatFaultScope scope;
    // Read as the form reads its field.
    sigma = StoreDouble(TextToFloat(*options.sigma, SystemLocaleSettings()));
  } catch (const Exception& e) {
    err << "tarvela: " << ErrorBoxText(e.what()) << '\n';
    return 1;
  }
  ProgressMeter progress(STDERR_FILENO, study.quiet);
  const StudyResult result = RunStudy(sigma, study, &progress);
  bool written = true;
  if (!study.convergenceCsv && !study.convergencePng) {
    std::string reason;
    written = WriteOutput("-", out, BytesWriter(StudyTable(result.rows)), &reason);
    if (!written) err << "tarvela: " << CannotWriteMessage("-", reason) << '\n';
  }
  written = written && run.WriteText(study.convergenceCsv, [&] { return StudyCsv(result.rows); });
  const int scale = options.scale;
  written = written && run.WriteChartPicture(
                           study.convergencePng,
                           StudyChartDescription(result.rows, sigma, study.refine.value_or(Refinement::kSpace)),
                           std::nullopt, [scale](TChartForm& f, QIODevice& device) {
                             return WriteChartPng(f.Chart(), device, std::nullopt, scale);
                           });
  if (result.failure) err << "tarvela: " << *result.failure << '\n';
  return written && !result.failure ? 0 : 1;
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
      return BadCommandLine(err, e.what());
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
  if (!run.WriteChartPicture(options.pdf, text, options.size, [](TChartForm& f, QIODevice& device) {
        return WriteChartPdf(f.Chart(), device, std::nullopt);
      }))
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
      if (options.antialias) form->Chart().SetAntialiased(true);
    } catch (const EReadError& e) {
      readError = e;
    }
  });
  if (readError) {
    err << "tarvela: " << ChartFileErrorText(*options.chart, *readError) << '\n';
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
    return BadCommandLine(err, e.what());
  }
  if (options.help || options.version || options.manPage) {
    const std::string text = options.help ? CommandLineUsage() : options.version ? VersionText() + "\n" : ManPage();
    std::string reason;
    if (!WriteOutput("-", out, BytesWriter(text), &reason)) {
      err << "tarvela: " << CannotWriteMessage("-", reason) << '\n';
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
  if (options.study.convergence) {
    const int status = RunConvergenceStudy(run, options, out, err);
    if (status != 0 || !FormOutputsAsked(options)) return status;
  }

  // The report and the points do not depend on any paint; a failed press ends the run
  // here, before anything is written. Each picture opens a form of its own and presses
  // the same buttons before it writes, so when only pictures are asked for, this form
  // would only do their work once more.
  const bool textOutputs = options.report || options.points || options.csv || options.json || options.errors ||
                           options.errorsPng || options.errorsPdf;
  const bool pictures = options.png || options.svg || options.screenshot || options.pdf;
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
  if (!run.WritePicture(options.pdf, options.size, paintChart,
                        [](TForm1& f, QIODevice& device) { return WriteChartPdf(*f.Chart1, device, std::nullopt); }))
    return 1;
  return 0;
}

}  // namespace tarvela
