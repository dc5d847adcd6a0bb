// Tarvela: with no arguments the desktop program; with arguments its command line;
// with --chart FILE alone the window of a chart file.

#include <QGuiApplication>
#include <QString>
#include <QtGlobal>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/form1.h"
#include "app/window_pictures.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/widgets/application.h"

namespace {

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  return (x11 && *x11) || (wayland && *wayland) || (platform && *platform);
}

// Qt platforms that draw into memory only: a window there is never seen, and the
// program would wait for ever for a click nobody can give.
bool ShowsNothing(const QString& platform) {
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

// On the command line only the program's own output and failures belong on the
// terminal, not the toolkit's notes about its environment.
void QuietToolkitNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << "tarvela: " << message.toStdString() << '\n';
}

// The options when they ask for the chart file's window; a command line that does not
// parse is the command line's to report.
std::optional<tarvela::CommandLineOptions> ChartWindowOptions(const std::vector<std::string>& args) {
  try {
    tarvela::CommandLineOptions options = tarvela::ParseCommandLine(args);
    if (options.OpensChartWindow()) return options;
  } catch (const tarvela::Exception&) {
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::optional<tarvela::CommandLineOptions> chartWindow = ChartWindowOptions(args);
  const bool commandLine = argc > 1 && !chartWindow;
  if (!HasDisplay()) {
    if (!commandLine) {
      std::cerr << "tarvela: no display to open the window on; see 'tarvela --help' for the command line"
                << (chartWindow ? " (--png or --svg draw the chart without one).\n" : ".\n");
      return 1;
    }
    // The command line needs no screen: Qt's off-screen platform stands in for one.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }

  if (commandLine) qInstallMessageHandler(QuietToolkitNotes);
  tarvela::TApplication app(argc, argv);
  if (commandLine) return tarvela::RunCommandLine(args, std::cout, std::cerr);

  if (ShowsNothing(QGuiApplication::platformName())) {
    std::cerr << "tarvela: the platform '" << QGuiApplication::platformName().toStdString()
              << "' has no screen to show the window on; see 'tarvela --help' for the command line.\n";
    return 1;
  }
  tarvela::InstallChartSaving();
  if (chartWindow) return tarvela::RunChartWindow(*chartWindow, std::cerr);

  std::unique_ptr<tarvela::TForm1> form;
  tarvela::RunHandler([&] { form = std::make_unique<tarvela::TForm1>(nullptr); });
  if (!form) return 1;
  return app.Run(*form);
}
