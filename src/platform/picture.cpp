#include "tarvela/platform/picture.h"

#include <algorithm>
#include <cstddef>

namespace tarvela {

Picture::Picture(int width, int height, std::uint32_t fill)
    : m_width(std::max(0, width)), m_height(std::max(0, height)) {
  // An empty side makes the whole picture empty, so that Empty() and the pixel count agree.
  if (m_width == 0 || m_height == 0) m_width = m_height = 0;
  m_pixels.assign(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), fill);
}

std::uint32_t Picture::Pixel(int x, int y) const {
  if (!Inside(x, y)) return 0;
  return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

void Picture::SetPixel(int x, int y, std::uint32_t argb) {
  if (!Inside(x, y)) return;
  m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] = argb;
}

TColor Picture::ColorAt(int x, int y) const { return ToColor(Pixel(x, y)); }

std::uint32_t Picture::FromColor(TColor color) {
  const std::uint32_t rgb = ColorToRGB(color);
  return kOpaqueBlack | (static_cast<std::uint32_t>(RedOf(rgb)) << 16) |
         (static_cast<std::uint32_t>(GreenOf(rgb)) << 8) | static_cast<std::uint32_t>(BlueOf(rgb));
}

TColor Picture::ToColor(std::uint32_t argb) {
  return RGBColor(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                  static_cast<int>(argb & 0xFF));
}

std::uint32_t Picture::Checksum() const {
  std::uint32_t hash = 2166136261u;
  auto mix = [&hash](std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
      hash ^= (word >> shift) & 0xFFu;
      hash *= 16777619u;
    }
  };
  mix(static_cast<std::uint32_t>(m_width));
  mix(static_cast<std::uint32_t>(m_height));
  for (std::uint32_t pixel : m_pixels) mix(pixel);
  return hash;
}

}  // namespace tarvela
