#pragma once
/// An ordered list of text lines (UTF-8), published as "Strings" in descriptions:
/// a memo's lines, a title's text. Changes are announced through OnChange.
/// @file
#include <functional>
#include <string>
#include <vector>

#include "tarvela/runtime/persistent.h"
#include "tarvela/runtime/properties.h"

namespace tarvela {

class TStrings : public TPersistent {
 public:
  std::string_view ClassName() const override { return "TStrings"; }
  static const PropertyTable& PublishedProperties();
  const PropertyTable& Properties() const override { return PublishedProperties(); }

  // operations
  int Count() const { return static_cast<int>(m_lines.size()); }
  const std::string& Strings(int index) const;  ///< out of range: "List index out of bounds (%d)"
  void SetStrings(int index, const std::string& line);
  int Add(const std::string& line);
  /// Appends many lines with a single change notice.
  void AddLines(const std::vector<std::string>& lines);
  void Delete(int index);
  void Clear();
  const std::vector<std::string>& Lines() const { return m_lines; }
  void SetLines(const std::vector<std::string>& lines);
  /// The lines joined, each ended by a line break ("\r\n" as the platform writes text).
  std::string Text() const;

  std::function<void()> OnChange;

 private:
  void Changed();
  std::vector<std::string> m_lines;
};

}  // namespace tarvela
