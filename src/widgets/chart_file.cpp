#include "tarvela/widgets/chart_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tarvela/chart/chart_registration.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/runtime/class_registry.h"
#include "tarvela/runtime/date_time.h"
#include "tarvela/runtime/form_reader.h"
#include "tarvela/runtime/identifiers.h"
#include "tarvela/runtime/properties.h"
#include "tarvela/widgets/chart_picture.h"
#include "tarvela/widgets/screen_metrics.h"
#include "tarvela/widgets/system_locale.h"

namespace tarvela {

// [SECTION] The file

std::string ReadChartFileText(const std::string& path) {
  // The name's own bytes go to the system: a name that is not valid UTF-8 still reaches
  // its file. "-" is standard input, read once; the caller keeps the text.
  const bool standardInput = path == "-";
  const std::string name = ChartFileName(path);
  const auto cannotRead = [&](const std::string& why) { return EChartFileError(name + ": cannot be read (" + why + ")"); };
  const std::string tooLarge =
      name + ": larger than 16 MiB (" + std::to_string(kMaxChartFileBytes) + " bytes), refused";
  const int fd = standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw cannotRead(std::strerror(errno));
  struct Closer {
    int fd;
    bool owned;
    ~Closer() {
      if (owned) ::close(fd);
    }
  } closer{fd, !standardInput};
  struct stat info;
  if (::fstat(fd, &info) == 0) {
    if (S_ISDIR(info.st_mode)) throw cannotRead("it is a folder");
    if (S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) > kMaxChartFileBytes) throw EChartFileError(tooLarge);
  }
  // One byte more than allowed tells a file at the limit from a larger one, also for
  // what has no size beforehand (a pipe, a device, standard input).
  std::string bytes;
  char buffer[65536];
  while (bytes.size() <= kMaxChartFileBytes) {
    const std::size_t wanted = std::min(sizeof buffer, kMaxChartFileBytes + 1 - bytes.size());
    const ssize_t got = ::read(fd, buffer, wanted);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw cannotRead(std::strerror(errno));
    if (got == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  if (bytes.size() > kMaxChartFileBytes) throw EChartFileError(tooLarge);
  return bytes;
}

std::string ChartFileName(const std::string& path) { return path == "-" ? "standard input" : path; }

std::string ChartFileErrorText(const std::string& path, const EReadError& error) {
  return ChartFileName(path) + ':' + std::to_string(error.Line()) + ": " + error.Detail();
}

// [SECTION] Points

namespace {

// The blank-separated words of a point; a word that starts with a double quote runs
// to its closing one, "" standing for a double quote inside.
struct PointWord {
  std::string text;
  bool quoted = false;
};

std::vector<PointWord> SplitPointText(std::string_view text) {
  std::vector<PointWord> words;
  std::size_t i = 0;
  auto blank = [&](std::size_t at) { return text[at] == ' ' || text[at] == '\t'; };
  while (i < text.size()) {
    if (blank(i)) {
      ++i;
      continue;
    }
    PointWord word;
    if (text[i] == '"') {
      word.quoted = true;
      for (++i;; ++i) {
        if (i >= text.size()) throw EConvertError("a label has no closing \"");
        if (text[i] != '"') {
          word.text += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '"') {
          word.text += '"';
          ++i;
        } else {
          ++i;
          break;
        }
      }
    } else {
      while (i < text.size() && !blank(i)) word.text += text[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

// "YYYY-MM-DD", "YYYY-MM-DDTHH:MM" or "YYYY-MM-DDTHH:MM:SS".
std::optional<double> ParseDate(std::string_view word) {
  auto digits = [&](std::size_t at, std::size_t count, int& out) {
    if (at + count > word.size()) return false;
    out = 0;
    for (std::size_t k = at; k < at + count; ++k) {
      if (word[k] < '0' || word[k] > '9') return false;
      out = out * 10 + (word[k] - '0');
    }
    return true;
  };
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (word.size() < 10 || word[4] != '-' || word[7] != '-') return std::nullopt;
  if (!digits(0, 4, year) || !digits(5, 2, month) || !digits(8, 2, day)) return std::nullopt;
  if (word.size() > 10) {
    const bool withMinutes = word.size() == 16 || word.size() == 19;
    if (!withMinutes || word[10] != 'T' || word[13] != ':' || !digits(11, 2, hour) || !digits(14, 2, minute))
      return std::nullopt;
    if (word.size() == 19 && (word[16] != ':' || !digits(17, 2, second))) return std::nullopt;
  }
  TDateTime date = 0, time = 0;
  if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, minute, second, 0, time))
    throw EConvertError(EchoedToken(word) + " is not a date of the calendar");
  return date + time;
}

double ParsePointValue(const PointWord& word, const char* which) {
  if (word.quoted)
    throw EConvertError(std::string("the ") + which + " value is \"" + EchoedToken(word.text) + "\", not a number");
  if (const std::optional<double> date = ParseDate(word.text)) return *date;
  std::string_view digits = word.text;
  if (digits.starts_with('+')) digits.remove_prefix(1);
  double value = 0;
  // from_chars reads in the C locale always, and takes neither "0x" nor a leading
  // '+'; its "inf" and "nan" are refused below.
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  const bool number = !digits.empty() && (digits[0] == '-' || digits[0] == '.' || (digits[0] >= '0' && digits[0] <= '9'));
  if (ec == std::errc::result_out_of_range) throw EConvertError(EchoedToken(word.text) + " is out of range");
  if (!number || ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
    throw EConvertError("'" + EchoedToken(word.text) + "' is not a number (" + which + ")");
  return value;
}

TColor ParsePointColor(const std::string& word) {
  TColor color = clDefault;
  const char c = word.empty() ? '\0' : word[0];
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_') {
    if (!ColorFromIdent(word, color)) throw EConvertError("'" + EchoedToken(word) + "' is not a colour");
    return color;
  }
  // Like a colour property: up to $FFFFFFFF is the 32-bit pattern.
  std::int64_t value = 0;
  const bool hex = word.starts_with('$');
  const char* first = word.data() + (hex ? 1 : 0);
  const char* last = word.data() + word.size();
  const auto [end, ec] = std::from_chars(first, last, value, hex ? 16 : 10);
  if (first == last || ec != std::errc() || end != last || value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::uint32_t>::max())
    throw EConvertError("'" + EchoedToken(word) + "' is not a colour");
  return static_cast<TColor>(static_cast<std::uint32_t>(value));
}

}  // namespace

ChartFilePoint ParsePointText(std::string_view text) {
  const std::vector<PointWord> words = SplitPointText(text);
  if (words.empty()) throw EConvertError("no X value");
  if (words.size() < 2) throw EConvertError("no Y value after " + EchoedToken(words[0].text));
  ChartFilePoint point;
  point.x = ParsePointValue(words[0], "X");
  point.y = ParsePointValue(words[1], "Y");
  std::size_t next = 2;
  if (next < words.size() && words[next].quoted) point.label = words[next++].text;
  if (next < words.size() && !words[next].quoted) point.color = ParsePointColor(words[next++].text);
  if (next < words.size()) throw EConvertError("'" + EchoedToken(words[next].text) + "' after the point's values");
  return point;
}

// [SECTION] Reading the chart

namespace {

// Points: a series' points, one string each (chart_file.h). Only a chart file has it:
// the main form's series start empty.
void SetPoints(TChartSeries& series, const PropertyValue& value, const ReadContext& ctx) {
  if (value.kind != PropertyValue::Kind::StringList)
    throw EConvertError("Invalid value for property 'Points' of " + std::string(series.ClassName()) +
                        ": expected a list of strings such as ('1 2' '2 3.5')");
  const std::vector<std::string>& texts = value.AsStringList();
  series.ClearPoints();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    ChartFilePoint point;
    try {
      point = ParsePointText(texts[i]);
    } catch (const EConvertError& e) {
      const int line = i < ctx.itemLines.size() ? ctx.itemLines[i] : ctx.line;
      throw EReadError(line, "Point " + std::to_string(i + 1) + " of Points '" + EchoedToken(texts[i]) +
                                 "': " + e.Message());
    }
    series.AddPointXY(point.x, point.y, point.label, point.color);
  }
}

// RandomWalk: a series of N generated points (chart_file.h). The steps come from a
// generator of fixed seed whose output the language defines, so a file draws the same
// picture on every machine and in every run.
void SetRandomWalk(TChartSeries& series, const PropertyValue& value) {
  const std::string prefix = "Invalid value for property 'RandomWalk' of " + std::string(series.ClassName()) + ": ";
  if (value.kind != PropertyValue::Kind::Integer) throw EConvertError(prefix + "expected a number of points such as 1000000");
  if (value.integer < 1 || value.integer > kMaxRandomWalkPoints)
    throw EConvertError(prefix + std::to_string(value.integer) + " is not within 1.." +
                        std::to_string(kMaxRandomWalkPoints));
  series.ClearPoints();
  std::mt19937_64 generator(kRandomWalkSeed);
  double y = 0;
  for (std::int64_t i = 0; i < value.integer; ++i) {
    series.AddPointXY(static_cast<double>(i), y);
    // 53 random bits to a step in [-1, 1).
    y += static_cast<double>(generator() >> 11) * 0x1.0p-52 - 1.0;
  }
}

// Width and Height of the chart are the picture's and the window's size: bounded as
// the command line bounds --size, before anything that large is allocated. The pixels
// in all are checked whenever a side grows, so the line that makes it too large is
// the one named.
void CheckChartSide(const TChart& chart, bool isWidth, std::int64_t side) {
  const char* name = isWidth ? "Width" : "Height";
  if (side < 1 || side > kMaxPictureSide)
    throw EConvertError(std::string(name) + " " + std::to_string(side) + " is not within 1.." +
                        std::to_string(kMaxPictureSide));
  const std::int64_t other = isWidth ? chart.Height() : chart.Width();
  if (side * other > kMaxPicturePixels)
    throw EConvertError("The chart's " + std::to_string(isWidth ? side : other) + "x" +
                        std::to_string(isWidth ? other : side) + " pixels are more than " +
                        std::to_string(kMaxPicturePixels) + " in all");
}

// Integer settings are widths, sizes, counts, angles and percentages, and some of them
// drive loops of the paint (a bevel of a billion frames, a billion minor ticks between
// two labels): a file from outside must not make a paint run for ever, so none may
// lie beyond what a picture can show. Colours are integers too but not bounded so.
constexpr std::int64_t kMaxIntegerSetting = kMaxPictureSide;

std::string_view LastName(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  return dot == std::string_view::npos ? path : path.substr(dot + 1);
}

// Whether the setting at path holds a value of kind; false for what the tables do not
// know or cannot read, which they refuse by themselves.
bool SettingHolds(const TComponent& object, std::string_view path, PropertyValue::Kind kind) {
  try {
    return GetPropertyPath(object, path).kind == kind;
  } catch (const Exception&) {
    return false;
  }
}

[[noreturn]] void ThrowBeyondBound(const TComponent& object, std::string_view path, const std::string& value,
                                   const char* settings) {
  throw EConvertError("Invalid value for property '" + std::string(path) + "' of " + std::string(object.ClassName()) +
                      ": " + EchoedToken(value) + " is beyond " + std::to_string(kMaxIntegerSetting) +
                      ", the bound of a chart file's " + settings + " settings");
}

void CheckIntegerSetting(const TComponent& object, std::string_view path, const PropertyValue& value) {
  if (value.kind != PropertyValue::Kind::Integer) return;
  if (value.integer >= -kMaxIntegerSetting && value.integer <= kMaxIntegerSetting) return;
  const std::string_view last = LastName(path);
  if (last.size() >= 5 && SameIdent(last.substr(last.size() - 5), "Color")) return;
  // Only where the setting itself is an integer: a floating-point one (an axis
  // minimum, a date) may be written as a large integer.
  if (SettingHolds(object, path, PropertyValue::Kind::Integer))
    ThrowBeyondBound(object, path, std::to_string(value.integer), "integer");
}

// Every floating-point setting is bounded as the integer ones are, unless it is a value
// of the data: those become pixels, percentages, angles or counts in the paint (where
// an axis starts, ends and stands), and no pixel they give may lie beyond what a
// picture can show. A setting added later is bounded until it is known to be data. The
// values of the data (an axis' minimum and maximum, an increment, a multiplier, an
// origin, the value under which pie slices join, a function's period, which may be a
// span of dates) may be as large as a value is.
constexpr std::string_view kDataValueSettings[] = {"Minimum", "Maximum",    "Increment", "YOrigin",
                                                   "Multiplier", "Value", "Period"};

void CheckFloatSetting(const TComponent& object, std::string_view path, const PropertyValue& value) {
  if (value.kind != PropertyValue::Kind::Integer && value.kind != PropertyValue::Kind::Float) return;
  const std::string_view last = LastName(path);
  if (std::any_of(std::begin(kDataValueSettings), std::end(kDataValueSettings),
                  [&](std::string_view name) { return SameIdent(last, name); }))
    return;
  const long double number = value.kind == PropertyValue::Kind::Integer ? value.integer : value.floating;
  if (number >= -kMaxIntegerSetting && number <= kMaxIntegerSetting) return;
  if (SettingHolds(object, path, PropertyValue::Kind::Float))
    ThrowBeyondBound(object, path, value.ToText(), "percentage");
}

bool SetChartFileProperty(TComponent& object, std::string_view path, const PropertyValue& value, ReadContext& ctx) {
  if (auto* series = dynamic_cast<TChartSeries*>(&object); series != nullptr && SameIdent(path, "Points")) {
    SetPoints(*series, value, ctx);
    return true;
  }
  if (auto* series = dynamic_cast<TChartSeries*>(&object); series != nullptr && SameIdent(path, "RandomWalk")) {
    SetRandomWalk(*series, value);
    return true;
  }
  if (auto* chart = dynamic_cast<TChart*>(&object);
      chart != nullptr && value.kind == PropertyValue::Kind::Integer &&
      (SameIdent(path, "Width") || SameIdent(path, "Height")))
    CheckChartSide(*chart, SameIdent(path, "Width"), value.integer);
  CheckIntegerSetting(object, path, value);
  CheckFloatSetting(object, path, value);
  return false;
}

// "Series1.ValueFormat", or the path alone for the chart itself.
std::string SettingName(const TComponent& object, std::string_view path, const TComponent* root) {
  if (&object == root || object.Name().empty()) return std::string(path);
  return object.Name() + "." + std::string(path);
}

ReadOptions ChartFileOptions() {
  ReadOptions options;
  options.refuseClass = [](std::string_view className, const TComponent* enclosing) -> std::string {
    const std::string name(className);
    if (enclosing == nullptr)
      return SameIdent(className, "TChart") ? "" : "A chart file holds one TChart, not " + EchoedToken(name);
    if (SameIdent(className, "TChart")) return "A chart cannot hold another TChart";
    if (IsChartClass(className)) return "";
    if (ClassRegistry::Instance().IsRegistered(className))
      return "Class " + EchoedToken(name) + " cannot be used in a chart file";
    return "Class " + EchoedToken(name) + " not found";
  };
  options.setProperty = SetChartFileProperty;
  return options;
}

// Numbers in the user's locale and circles at the screen's proportions, as every chart
// this layer shows.
void ShowOnThisSystem(TChart& chart) {
  chart.SetLocaleProvider(SystemLocaleSettings);
  TCircledSeries::SetScreenMetricsProvider(SystemScreenMetrics);
}

}  // namespace

std::unique_ptr<TChart> ReadChart(std::string_view description) {
  RegisterChartClasses();
  std::unique_ptr<TComponent> root = ReadRootComponent(description, nullptr, ChartFileOptions());
  // The options let no other class be the top object.
  std::unique_ptr<TChart> chart(&dynamic_cast<TChart&>(*root.release()));
  ShowOnThisSystem(*chart);
  return chart;
}

std::unique_ptr<TChart> ReadChartFile(const std::string& path) {
  const std::string text = ReadChartFileText(path);
  try {
    return ReadChart(text);
  } catch (const EReadError& error) {
    throw EChartFileError(ChartFileErrorText(path, error));
  }
}

TChartForm::TChartForm(TComponent* owner, std::string_view description, const std::string& caption)
    : TChartForm(owner, description, caption, -1, nullptr) {}

TChartForm::TChartForm(TComponent* owner, std::string_view description, const std::string& caption,
                       int settingsLimit, std::vector<ChartFileSetting>* settings)
    : TForm(owner) {
  RegisterChartClasses();
  ReadOptions options = ChartFileOptions();
  int read = 0;  // setting lines, while the description is read
  if (settingsLimit >= 0 || settings != nullptr) {
    options.setProperty = [set = options.setProperty, settingsLimit, settings, &read](
                              TComponent& object, std::string_view path, const PropertyValue& value, ReadContext& ctx) {
      // The data stays: a setting that fails a paint fails it on the data.
      if (SameIdent(path, "Points") || SameIdent(path, "RandomWalk")) return set(object, path, value, ctx);
      if (settings != nullptr) settings->push_back({ctx.line, SettingName(object, path, ctx.root)});
      // A setting beyond the limit is taken as set, and so left out.
      if (settingsLimit >= 0 && ++read > settingsLimit) return true;
      return set(object, path, value, ctx);
    };
  }
  std::unique_ptr<TComponent> root = ReadRootComponent(description, this, options);
  // The options let no other class be the top object.
  m_chart = &dynamic_cast<TChart&>(*root.release());
  const int width = m_chart->Width();
  const int height = m_chart->Height();
  ShowOnThisSystem(*m_chart);
  m_chart->SetParent(this);
  SetCaption(caption);
  // Where the main form opens.
  SetBounds(118, 107, Width(), Height());
  SetChartSize(width, height);
  // A viewer of one chart: it closes as viewers do, and the chart fills it at any size.
  SetClosesOnViewerKeys(true);
  OnResize = [this](TComponent*) { m_chart->SetBounds(0, 0, ClientWidth(), ClientHeight()); };
}

void TChartForm::SetChartSize(int width, int height) {
  m_chart->SetBounds(0, 0, width, height);
  SetBounds(Left(), Top(), width + kFrameWidth, height + kFrameHeight);
}

TChartForm::~TChartForm() = default;

std::optional<ChartFileSetting> TChartForm::FindFailingSetting(std::string_view description,
                                                               const std::function<bool(TChartForm&)>& paintFails) {
  // Whether the chart of the first `limit` settings fails; none when it cannot be read.
  const auto failsWith = [&](int limit, std::vector<ChartFileSetting>* settings) -> std::optional<bool> {
    try {
      TChartForm form(nullptr, description, "", limit, settings);
      return paintFails(form);
    } catch (const std::exception&) {
      return std::nullopt;
    }
  };
  std::vector<ChartFileSetting> settings;
  const std::optional<bool> all = failsWith(-1, &settings);
  const std::optional<bool> none = failsWith(0, nullptr);
  if (!all || !*all || !none || *none) return std::nullopt;
  // The chart paints with the first `paints` settings and fails with the first `fails`.
  std::size_t paints = 0;
  std::size_t fails = settings.size();
  while (fails - paints > 1) {
    const std::size_t middle = paints + (fails - paints) / 2;
    const std::optional<bool> failed = failsWith(static_cast<int>(middle), nullptr);
    if (!failed) return std::nullopt;
    (*failed ? fails : paints) = middle;
  }
  return settings[fails - 1];
}

// [SECTION] Settling

int SettleChart(TCustomAxisPanel& chart, const std::function<void()>& paint) {
  paint();
  std::vector<double> previous = chart.PaintedLayout();
  int paints = 1;
  while (paints < TCustomAxisPanel::kMaxSettlePaints) {
    paint();
    ++paints;
    std::vector<double> current = chart.PaintedLayout();
    if (current == previous) break;
    previous = std::move(current);
  }
  return paints;
}

}  // namespace tarvela
