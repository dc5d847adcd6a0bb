#pragma once
/// Charts from description files: the chart a file describes, in a form that shows it
/// in a window or draws it as a picture (chart_picture.h), as `tarvela --chart FILE`
/// does, so that the engine is a tool and not only the main form's chart.
///
/// The file is a form description (form_reader.h has the syntax) holding one chart:
///
///     object Chart1: TChart                 // the top object: one TChart, nothing else
///       Width = 600                         // the window's and the picture's size;
///       Height = 400                        //   1..16384 each, default 400 x 250
///       Title.Text.Strings = ('Sales')      // any published property of the chart
///       object Series1: TLineSeries         // series nest in the chart, in list order
///         SeriesColor = clRed
///         Marks.Visible = True
///         Points = (                        // the series' points, one string each
///           '1 2'                           //   X Y
///           '2 3.5 "Jan"'                   //   X Y "label"
///           '3 -1e-3 "Feb" clRed'           //   X Y "label" colour
///           '4 2.25 $00FF00'                //   X Y colour
///           '2024-03-01T12:00 7')           //   a date as X (or Y): its date-time value
///       end
///       object Series2: TFastLineSeries
///         RandomWalk = 1000000              // generated points instead of Points
///       end
///     end
///
/// A point is blank-separated: X and Y are numbers in the C locale (a full stop before
/// the decimals, an optional exponent, whatever the user's locale) or dates written
/// YYYY-MM-DD with an optional THH:MM or THH:MM:SS, which stand for their date-time
/// value (days from 30 December 1899). Then, both optional and in this order, a label
/// in double quotes ("" for a double quote in it) and a colour: a colour name
/// (clRed, clNone for a null point, clDefault for the series' colour, the default), a
/// decimal number or $BBGGRR. Points replace whatever points the series had.
///
/// RandomWalk = N, for data too large to write out, replaces the points by N points
/// (1..1000000): X is 0, 1, ..., N - 1 and Y a walk from 0 in steps spread evenly over
/// -1..1, drawn from a generator of fixed seed, so every rendering is the same.
///
/// Only chart classes may be named (the chart, its series and functions); events can
/// name no handler (a file cannot run code) and nothing in a file refers to another
/// file. Integer settings other than colours lie within -16384..16384, since some of
/// them count what a paint draws, and so do the axes' StartPosition, EndPosition and
/// PositionPercent, which become pixels. Left and Top are read but the chart always
/// fills its window.
/// @file
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tarvela/chart/chart.h"
#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/widgets/controls.h"

namespace tarvela {

class EReadError;
class TCustomAxisPanel;

/// A larger file is refused before it is read: a chart's description is a few
/// kilobytes, and a mistaken argument (a disk image, /dev/zero) must not fill memory.
inline constexpr std::size_t kMaxChartFileBytes = std::size_t{16} << 20;
/// RandomWalk's bound: 16 bytes a point, so a file cannot ask for more than 16 MB.
inline constexpr std::int64_t kMaxRandomWalkPoints = 1000000;
inline constexpr std::uint64_t kRandomWalkSeed = 20240301;

/// A chart file that cannot be read or is too large; the message names the file.
class EChartFileError : public Exception { using Exception::Exception; };

/// The bytes of the file, or of standard input for "-"; the name is passed to the
/// system byte for byte. EChartFileError "FILE: cannot be read (reason)" or
/// "FILE: larger than 16 MiB (16777216 bytes), refused", FILE being ChartFileName(path).
std::string ReadChartFileText(const std::string& path);

/// How a chart file is named to the user: "standard input" for "-", else the name's
/// bytes as given.
std::string ChartFileName(const std::string& path);

/// "FILE:12: what is wrong", as compilers name a place in a file: the message for a
/// description read from path that TChartForm refused.
std::string ChartFileErrorText(const std::string& path, const EReadError& error);

/// One point of a Points string. EConvertError saying what is wrong.
struct ChartFilePoint {
  double x = 0;
  double y = 0;
  std::string label;
  TColor color = clDefault;
};
ChartFilePoint ParsePointText(std::string_view text);

/// A setting line of a chart file: where it is, and what it sets ("Title.Text.Strings" of
/// the chart, "Series1.ValueFormat" of a series).
struct ChartFileSetting {
  int line = 0;
  std::string name;
};

/// The chart a description describes, on its own: no owner, no parent, the caller's to
/// keep (a ChartWidget shows it). A bad description is an EReadError with its line;
/// nothing read so far survives it.
std::unique_ptr<TChart> ReadChart(std::string_view description);
/// The chart of the file at path (ReadChartFileText's bound and messages); a bad
/// description is an EChartFileError "FILE:12: what is wrong".
std::unique_ptr<TChart> ReadChartFile(const std::string& path);

/// The window `--chart FILE` opens: the chart the description describes, filling a
/// form of the chart's size. A bad description is an EReadError with its line; nothing
/// read so far survives it.
class TChartForm : public TForm {
 public:
  TChartForm(TComponent* owner, std::string_view description, const std::string& caption);
  ~TChartForm() override;
  std::string_view ClassName() const override { return "TChartForm"; }

  TChart& Chart() const { return *m_chart; }
  /// The chart's size, and the window's around it.
  void SetChartSize(int width, int height);

  /// A paint of a description's chart failed: the setting it fails at, found by reading
  /// the description again with fewer of its settings applied (objects and points stay),
  /// each time asking paintFails of the form read: with the settings before the one
  /// returned the chart paints, with that one too it fails. None when it fails with no
  /// setting at all or a shortened description cannot be read. Reads about log2 of the
  /// number of settings times, so it is asked only once a paint has failed.
  static std::optional<ChartFileSetting> FindFailingSetting(std::string_view description,
                                                            const std::function<bool(TChartForm&)>& paintFails);

 private:
  /// With only the first settingsLimit setting lines applied (all when negative); each
  /// setting line read is added to settings when that is given.
  TChartForm(TComponent* owner, std::string_view description, const std::string& caption, int settingsLimit,
             std::vector<ChartFileSetting>* settings);

  TChart* m_chart = nullptr;  ///< owned by the form
};

/// Paints until the chart's layout stops changing, as a window's first frame at a size
/// does (TCustomZavPanel::PaintSettled), for a paint of the caller's own: one onto a
/// surface that must be cleared between paints. Returns the number of paints.
int SettleChart(TCustomAxisPanel& chart, const std::function<void()>& paint);

}  // namespace tarvela
