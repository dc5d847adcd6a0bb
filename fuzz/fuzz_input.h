#pragma once
// Taking a fuzzer's bytes apart: fixed-size fields from the front, the rest as text.
// Missing bytes read as zero, so every input, however short, means something.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tarvela::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  template <class T>
  T Take() {
    T value{};
    const std::size_t n = std::min(sizeof(T), m_size - m_pos);
    if (n > 0) std::memcpy(&value, m_data + m_pos, n);
    m_pos += n;
    return value;
  }

  std::string_view Rest() const {
    return {reinterpret_cast<const char*>(m_data) + m_pos, m_size - m_pos};
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

}  // namespace tarvela::fuzz
