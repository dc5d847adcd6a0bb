#pragma once
// The headless way to do what the window does: put the two texts into the entry
// fields as a paste would, press the compute button, then the graph button, and
// write what was asked for. With no arguments the program is the window alone.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tarvela {

struct CommandLineOptions {
  std::optional<std::string> sigma;
  std::optional<std::string> second;
  std::optional<std::string> report;  // a file name, or "-" for standard output
  std::optional<std::string> points;  // likewise
  bool help = false;
};

// Throws Exception with a usage hint for an unknown option or a missing value.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& args);

std::string CommandLineUsage();

class TCustomAxisPanel;
// One line per point of every series that has points, in series order: the series
// index, X, Y (17 significant digits) and the point colour as a decimal integer.
std::vector<std::string> PointLines(const TCustomAxisPanel& chart);

// Needs the application object. Returns the exit status: 0, 1 when the program
// failed (the error box's text went to err), 2 for a bad command line.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tarvela
