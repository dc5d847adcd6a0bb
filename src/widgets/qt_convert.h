#pragma once
/// Conversions from the window-independent values to Qt's.
/// @file
#include <QColor>
#include <QCursor>
#include <QFont>
#include <QString>
#include <string>

#include "tarvela/runtime/colors.h"
#include "tarvela/runtime/control.h"
#include "tarvela/runtime/font.h"

namespace tarvela {

inline QString ToQString(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string FromQString(const QString& text) { return text.toUtf8().toStdString(); }

inline QColor ToQColor(TColor color) {
  const std::uint32_t rgb = ColorToRGB(color);
  return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>((rgb >> 16) & 0xFF));
}

/// A negative height is the character height without internal leading, which is
/// what a pixel size means to Qt; a positive one is the cell height.
QFont ToQFont(const TFont& font);
Qt::CursorShape ToQtCursor(TCursor cursor);
/// The modifier keys and, for mouse events, the buttons held.
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);

}  // namespace tarvela
