#include "tarvela/widgets/qt_convert.h"

#include <cstdlib>

namespace tarvela {

QFont ToQFont(const TFont& font) {
  QFont q(ToQString(font.Name()));
  const int height = font.Height();
  if (height < 0) {
    q.setPixelSize(-height);
  } else if (height > 0) {
    // The cell includes the internal leading, about a fifth of it.
    q.setPixelSize(std::max(1, height * 4 / 5));
  }
  q.setBold(font.HasStyle(fsBold));
  q.setItalic(font.HasStyle(fsItalic));
  q.setUnderline(font.HasStyle(fsUnderline));
  q.setStrikeOut(font.HasStyle(fsStrikeOut));
  return q;
}

Qt::CursorShape ToQtCursor(TCursor cursor) {
  switch (cursor) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: case crSQLWait: return Qt::WaitCursor;
    case crDrag: case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop: case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    case crDefault: case crArrow: default: return Qt::ArrowCursor;
  }
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= 1u << ssShift;
  if (modifiers & Qt::AltModifier) shift |= 1u << ssAlt;
  if (modifiers & Qt::ControlModifier) shift |= 1u << ssCtrl;
  if (buttons & Qt::LeftButton) shift |= 1u << ssLeft;
  if (buttons & Qt::RightButton) shift |= 1u << ssRight;
  if (buttons & Qt::MiddleButton) shift |= 1u << ssMiddle;
  return shift;
}

}  // namespace tarvela
