#pragma once
/// A picture of the platform layer: width × height pixels of 32 bits, rows from the top.
/// A pixel is 0xAARRGGBB (alpha in the high byte, blue in the low byte), which is the
/// opposite byte order of TColor; Pixel/ColorAt convert. A Picture is a plain value: it
/// draws nothing itself, a Surface draws it (DrawPicture, StretchPicture, pattern brush).
/// @file
#include <cstdint>
#include <vector>

#include "tarvela/runtime/colors.h"

namespace tarvela {

class Picture {
 public:
  static constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFFu;
  static constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

  Picture() = default;
  /// Negative sizes count as 0.
  Picture(int width, int height, std::uint32_t fill = kOpaqueWhite);

  // settings
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  bool Empty() const { return m_width == 0 || m_height == 0; }
  const std::vector<std::uint32_t>& Pixels() const { return m_pixels; }

  // operations
  /// Out-of-range reads give 0 (transparent black); out-of-range writes are ignored.
  std::uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, std::uint32_t argb);
  /// The pixel's colour as TColor (red in the low byte), alpha dropped.
  TColor ColorAt(int x, int y) const;
  void SetColor(int x, int y, TColor color) { SetPixel(x, y, FromColor(color)); }
  /// The opaque pixel of a colour, system colours resolved.
  static std::uint32_t FromColor(TColor color);
  /// The TColor of a pixel, alpha dropped.
  static TColor ToColor(std::uint32_t argb);
  /// A stable digest of size and pixels (32-bit FNV-1a); draw logs name pictures by it.
  std::uint32_t Checksum() const;

  bool operator==(const Picture&) const = default;

 private:
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

  // state
  int m_width = 0;
  int m_height = 0;
  std::vector<std::uint32_t> m_pixels;
};

}  // namespace tarvela
