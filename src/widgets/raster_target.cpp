// Opaque colours written into image memory, cut to the device and the clip.

#include "tarvela/widgets/raster_target.h"

namespace tarvela {

bool RasterTarget::Supports(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
         format == QImage::Format_ARGB32_Premultiplied;
}

RasterTarget::RasterTarget(uchar* bits, qsizetype bytesPerLine, QSize size)
    : m_bits(bits), m_stride(bytesPerLine), m_device(QPoint(0, 0), size) {
  SetClip(PixelClip());
}

void RasterTarget::SetClip(const PixelClip& clip) {
  const QRect box = clip.Active() ? m_device & clip.Rect() : m_device;
  m_spans = clip.Active() ? clip.Spans() : nullptr;
  if (box.isEmpty()) {
    m_left = m_right = m_top = 0;
    m_bottom = -1;
    return;
  }
  m_left = box.left();
  m_right = box.right() + 1;
  m_top = box.top();
  m_bottom = box.bottom();
}

bool RasterTarget::Covers(const QRect& area) const {
  if (area.left() < m_left || area.right() >= m_right || area.top() < m_top || area.bottom() > m_bottom) return false;
  return m_spans == nullptr || m_spans->Covers(area);
}

void RasterTarget::FillClipped(int y, int left, int right, QRgb color) const {
  for (const PixelSpan& span : m_spans->Row(y)) {
    if (span.left >= right) break;
    const int from = std::max(left, span.left), to = std::min(right, span.right);
    if (from < to) Fill(y, from, to, color);
  }
}

bool RasterTarget::InSpans(int x, int y) const {
  for (const PixelSpan& span : m_spans->Row(y)) {
    if (x < span.left) return false;
    if (x < span.right) return true;
  }
  return false;
}

void RasterTarget::FillRect(const QRect& rect, QRgb color) const {
  const int top = std::max(rect.top(), m_top), bottom = std::min(rect.bottom(), m_bottom);
  if (m_spans != nullptr) {
    for (int y = top; y <= bottom; ++y) FillSpan(y, rect.left(), rect.right() + 1, color);
    return;
  }
  const int left = std::max(rect.left(), m_left), right = std::min(rect.right() + 1, m_right);
  if (left >= right) return;
  if (right == left + 1) {
    // A column (vertical lines): one pixel a row.
    for (int y = top; y <= bottom; ++y) Line(y)[left] = color;
    return;
  }
  for (int y = top; y <= bottom; ++y) Fill(y, left, right, color);
}

}  // namespace tarvela
