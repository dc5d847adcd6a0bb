#include "tarvela/runtime/string_list.h"

#include "tarvela/runtime/exceptions.h"

namespace tarvela {

void TStrings::Changed() {
  if (OnChange) OnChange();
}

const std::string& TStrings::Strings(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return m_lines[static_cast<std::size_t>(index)];
}

void TStrings::SetStrings(int index, const std::string& line) {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  m_lines[static_cast<std::size_t>(index)] = line;
  Changed();
}

int TStrings::Add(const std::string& line) {
  m_lines.push_back(line);
  Changed();
  return Count() - 1;
}

void TStrings::AddLines(const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  m_lines.insert(m_lines.end(), lines.begin(), lines.end());
  Changed();
}

void TStrings::Delete(int index) {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  m_lines.erase(m_lines.begin() + index);
  Changed();
}

void TStrings::Clear() {
  if (m_lines.empty()) return;
  m_lines.clear();
  Changed();
}

void TStrings::SetLines(const std::vector<std::string>& lines) {
  if (lines == m_lines) return;
  m_lines = lines;
  Changed();
}

std::string TStrings::Text() const {
  std::string text;
  for (const auto& line : m_lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

const PropertyTable& TStrings::PublishedProperties() {
  static const PropertyTable table(
      nullptr, {StringListProperty<TStrings>(
                   "Strings", [](const TStrings& s) { return s.Lines(); },
                   [](TStrings& s, const std::vector<std::string>& lines) { s.SetLines(lines); })});
  return table;
}

}  // namespace tarvela
