#include "tarvela/widgets/system_locale.h"

#include <QLocale>

namespace tarvela {

namespace {
char32_t FirstCodePoint(const QString& text, char32_t fallback) {
  const QList<uint> codes = text.toUcs4();
  return codes.isEmpty() ? fallback : static_cast<char32_t>(codes.front());
}
}  // namespace

LocaleSettings SystemLocaleSettings() {
  const QLocale locale = QLocale::system();
  LocaleSettings settings;
  settings.decimalSeparator = FirstCodePoint(locale.decimalPoint(), U'.');
  settings.thousandSeparator = FirstCodePoint(locale.groupSeparator(), U',');
  settings.shortDateFormat = locale.dateFormat(QLocale::ShortFormat).toStdString();
  settings.shortTimeFormat = locale.timeFormat(QLocale::ShortFormat).toStdString();
  return settings;
}

}  // namespace tarvela
