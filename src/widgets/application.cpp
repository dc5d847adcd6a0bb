#include "tarvela/widgets/application.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <new>

#include "tarvela/runtime/exceptions.h"

namespace tarvela {

namespace {

TApplication* g_instance = nullptr;

// Catches what leaves any event handler where Qt delivers the event, so the loop
// goes on after showing it.
class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (...) {
      if (g_instance != nullptr) g_instance->HandleException(std::current_exception());
      return true;
    }
  }
};

class MessageBoxPresenter : public ErrorPresenter {
 public:
  void ShowError(const std::string& caption, const std::string& text) override {
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.exec();
  }
};

}  // namespace

TApplication::TApplication(int& argc, char** argv)
    : m_qt(std::make_unique<GuardedApplication>(argc, argv)),
      m_title(ApplicationTitleFromPath(argc > 0 && argv[0] ? argv[0] : "")) {
  g_instance = this;
  // The faces the form names, by their nearest free equivalents: Liberation Sans has
  // the metrics of the classic sans faces, Z003 is a narrow chancery script.
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("Liberation Sans")});
  QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
  QFont::insertSubstitutions(QStringLiteral("Monotype Corsiva"),
                             {QStringLiteral("Z003"), QStringLiteral("Liberation Serif")});
}

TApplication::~TApplication() {
  if (g_instance == this) g_instance = nullptr;
}

TApplication* TApplication::Instance() { return g_instance; }

std::string ExceptionMessage(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::bad_alloc&) {
    return "Out of memory";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

void TApplication::HandleException(std::exception_ptr error) {
  const std::string text = ErrorBoxText(ExceptionMessage(error));
  if (m_presenter != nullptr) {
    m_presenter->ShowError(m_title, text);
    return;
  }
  MessageBoxPresenter box;
  box.ShowError(m_title, text);
}

int TApplication::Run(MainWindow& mainForm) {
  mainForm.Show();
  return m_qt->exec();
}

void RunHandler(const std::function<void()>& handler) {
  if (!handler) return;
  if (g_instance == nullptr) {
    handler();
    return;
  }
  try {
    handler();
  } catch (...) {
    g_instance->HandleException(std::current_exception());
  }
}

}  // namespace tarvela
