#pragma once
/// The application object and its message loop. Every exception that leaves an event
/// handler ends up here and is shown in a modal error box (text with the "." rule,
/// caption the application title, error icon); the program then goes on. Handlers
/// never need their own try/catch.
/// @file
#include <exception>
#include <functional>
#include <memory>
#include <string>

class QApplication;

namespace tarvela {

/// The window the message loop runs for: Run shows it, and the loop ends when the last
/// window closes. The form (controls.h) is one; the application needs to know no more
/// of it, so the controls can report to the application without the two knowing each
/// other.
class MainWindow {
 public:
  virtual ~MainWindow() = default;
  virtual void Show() = 0;
};

/// Shows the error box. The windowing layer's own shows a modal message box; tests
/// and the command line put theirs in its place.
class ErrorPresenter {
 public:
  virtual ~ErrorPresenter() = default;
  virtual void ShowError(const std::string& caption, const std::string& text) = 0;
};

class TApplication {
 public:
  /// Creates the Qt application; there is one per process.
  TApplication(int& argc, char** argv);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  static TApplication* Instance();

  /// The program file's name by the title rule; the error box's caption.
  const std::string& Title() const { return m_title; }
  void SetTitle(const std::string& title) { m_title = title; }

  /// nullptr restores the modal message box.
  void SetErrorPresenter(ErrorPresenter* presenter) { m_presenter = presenter; }
  ErrorPresenter* CurrentErrorPresenter() const { return m_presenter; }

  /// Shows what the exception says in the error box.
  void HandleException(std::exception_ptr error);

  /// Shows the main form and runs the message loop until it is closed.
  int Run(MainWindow& mainForm);

  QApplication& Qt() { return *m_qt; }

 private:
  std::unique_ptr<QApplication> m_qt;
  std::string m_title;
  ErrorPresenter* m_presenter = nullptr;
};

/// The dispatcher every handler runs through: a failure is shown by the
/// application's error box (or rethrown when there is no application object).
void RunHandler(const std::function<void()>& handler);

/// The message of any exception, as the error box shows it before the "." rule.
std::string ExceptionMessage(std::exception_ptr error);

}  // namespace tarvela
