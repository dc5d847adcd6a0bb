#pragma once
/// RasterTarget writes opaque colours straight into the pixels of a 32-bit image, inside a
/// PixelClip. It is what QtSurface's direct path draws with: it knows spans, rectangles
/// and single pixels, not shapes, pens or brushes.
///
/// It does not own the pixels: they belong to an image that a QPainter is painting on, and
/// both write the same memory in the order the surface's calls come.
/// @file
#include <QImage>
#include <QRect>
#include <QRgb>
#include <algorithm>
#include <cstring>
#include <cwchar>

#include "tarvela/widgets/raster_spans.h"

namespace tarvela {

class RasterTarget {
 public:
  /// Formats whose pixel is one 32-bit word that holds an opaque colour as 0xFFRRGGBB.
  static bool Supports(QImage::Format format);

  RasterTarget() = default;
  RasterTarget(uchar* bits, qsizetype bytesPerLine, QSize size);

  // settings
  const QRect& Device() const { return m_device; }
  /// Drawing stays inside the clip from now on; the clip must outlive this use of it.
  void SetClip(const PixelClip& clip);

  /// Whether every pixel of the area may be drawn (then the unchecked calls below may be
  /// used for pixels inside it).
  bool Covers(const QRect& area) const;

  // operations
  /// Pixels left..right-1 of row y.
  void FillSpan(int y, int left, int right, QRgb color) const {
    if (y < m_top || y > m_bottom) return;
    left = std::max(left, m_left);
    right = std::min(right, m_right);
    if (left >= right) return;
    if (m_spans == nullptr) {
      Fill(y, left, right, color);
    } else {
      FillClipped(y, left, right, color);
    }
  }
  /// A rectangle given as QRect (right and bottom included).
  void FillRect(const QRect& rect, QRgb color) const;
  /// Whether drawing may write pixel (x, y): inside the device and the clip.
  bool Lets(int x, int y) const {
    return x >= m_left && x < m_right && y >= m_top && y <= m_bottom && (m_spans == nullptr || InSpans(x, y));
  }
  void Plot(int x, int y, QRgb color) const {
    if (x < m_left || x >= m_right || y < m_top || y > m_bottom) return;
    if (m_spans != nullptr && !InSpans(x, y)) return;
    Line(y)[x] = color;
  }
  /// Pixels left..right-1 of row y become combine(pixel), inside the clip: raster
  /// operations that read what is there (the not-xor rubber band).
  template <class Combine>
  void CombineSpan(int y, int left, int right, Combine combine) const {
    if (y < m_top || y > m_bottom) return;
    left = std::max(left, m_left);
    right = std::min(right, m_right);
    if (left >= right) return;
    QRgb* const line = Line(y);
    if (m_spans == nullptr) {
      for (int x = left; x < right; ++x) line[x] = combine(line[x]);
      return;
    }
    for (const PixelSpan& span : m_spans->Row(y)) {
      if (span.left >= right) break;
      for (int x = std::max(left, span.left), to = std::min(right, span.right); x < to; ++x) line[x] = combine(line[x]);
    }
  }
  /// The same inside an area that Covers: nothing is checked.
  void FillSpanInside(int y, int left, int right, QRgb color) const { Fill(y, left, right, color); }
  void PlotInside(int x, int y, QRgb color) const { Line(y)[x] = color; }

 private:
  QRgb* Line(int y) const { return reinterpret_cast<QRgb*>(m_bits + y * m_stride); }
  void Fill(int y, int left, int right, QRgb color) const {
    QRgb* const from = Line(y) + left;
    const int count = right - left;
    if (count <= 4) {
      // Short spans (thin shapes, one a row): these four cover every length from 1 to 4
      // without a loop whose length the processor would have to guess.
      from[0] = color;
      from[count - 1] = color;
      from[(count - 1) >> 1] = color;
      from[count >> 1] = color;
      return;
    }
    if constexpr (sizeof(wchar_t) == sizeof(QRgb)) {
      // The C library fills wide characters with the widest stores the processor has.
      if (count >= kLongSpan) {
        std::wmemset(reinterpret_cast<wchar_t*>(from), static_cast<wchar_t>(color), static_cast<std::size_t>(count));
        return;
      }
    }
    // Spans of middling length (the wedges of a pie of many slices) in stores of four
    // pixels, the last one overlapping the one before.
    const QRgb four[4] = {color, color, color, color};
    for (int i = 0; i + 4 < count; i += 4) std::memcpy(from + i, four, sizeof four);
    std::memcpy(from + count - 4, four, sizeof four);
  }
  void FillClipped(int y, int left, int right, QRgb color) const;
  bool InSpans(int x, int y) const;

  static constexpr int kLongSpan = 32;

  // state
  uchar* m_bits = nullptr;
  qsizetype m_stride = 0;
  QRect m_device;
  /// The device cut by the clip's rectangle: columns left..right-1, rows top..bottom.
  int m_left = 0, m_right = 0, m_top = 0, m_bottom = -1;
  const RowSpans* m_spans = nullptr;  ///< the clip's spans, if any
};

}  // namespace tarvela
