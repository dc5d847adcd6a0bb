#pragma once
// What the program's tests share: running the command line in the test process, and
// driving the real window (waiting for the window system, reading the screen without
// asking the window to paint, an error box that fails the test instead of waiting).
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <fcntl.h>
#include <unistd.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/form1.h"
#include "tarvela/widgets/application.h"
#include "widgets/picture_test_support.h"

namespace tarvela::app_test {

// The form after σ = 1 and t = 0 are entered and both buttons pressed, in a fixed locale:
// the axis labels must not follow the machine's decimal separator.
inline std::unique_ptr<TForm1> GraphedForm() {
  auto form = std::make_unique<TForm1>(nullptr, [] { return LocaleSettings::Dot(); });
  form->Edit1->SetText("1");
  form->Edit2->SetText("0");
  form->Button1->Click();
  form->BitBtn1->Click();
  return form;
}

struct RunResult {
  int status;
  std::string out;
  std::string err;
};

inline RunResult RunWith(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunCommandLine(args, out, err);
  return {status, out.str(), err.str()};
}

inline std::string TempPath(const std::string& name) { return ::testing::TempDir() + name; }

// Puts a file (or a device such as /dev/zero) on standard input for the test, as a
// shell's "<" does, and puts the old one back.
class StandardInputFrom {
 public:
  explicit StandardInputFrom(const std::string& path) : m_saved(::dup(STDIN_FILENO)) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    m_set = fd >= 0 && ::dup2(fd, STDIN_FILENO) == STDIN_FILENO;
    if (fd >= 0) ::close(fd);
  }
  ~StandardInputFrom() {
    if (m_saved >= 0) {
      ::dup2(m_saved, STDIN_FILENO);
      ::close(m_saved);
    }
  }
  StandardInputFrom(const StandardInputFrom&) = delete;
  StandardInputFrom& operator=(const StandardInputFrom&) = delete;
  bool Set() const { return m_set; }

 private:
  int m_saved;
  bool m_set = false;
};

// Takes the error box's place: a failed handler must fail the test, not wait for a click.
using picture_test::CollectedErrors;

// Lets the window system deliver what is pending, the paints included.
inline void Settle() {
  for (int i = 0; i < 5; ++i) {
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QTest::qWait(20);
  }
}

// Types the two texts into the shown form's fields and clicks the compute button, then
// the graph button, through real Qt events, letting each be handled.
inline void TypeAndPressBothButtons(TForm1& form, const char* sigma, const char* second) {
  QTest::keyClicks(form.Edit1->Widget(), sigma);
  QTest::keyClicks(form.Edit2->Widget(), second);
  QTest::mouseClick(form.Button1->Widget(), Qt::LeftButton);
  Settle();
  QTest::mouseClick(form.BitBtn1->Widget(), Qt::LeftButton);
  Settle();
}

// The widget as the screen shows it, read from its window without asking it to paint.
inline QImage OnScreen(QWidget& widget) {
  QWidget* top = widget.window();
  const QPoint at = widget.mapTo(top, QPoint(0, 0));
  const QPixmap grabbed = top->screen()->grabWindow(top->winId(), at.x(), at.y(), widget.width(), widget.height());
  return grabbed.toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace tarvela::app_test
