#pragma once
/// The catalogue of series types and functions: each entry names a series class, a
/// function class or both, with the short description and the page a gallery of chart
/// types shows it under. Registering an entry also makes its classes known to the class
/// registry, so that a chart description can create them by name.
///
/// One catalogue per program, created by the first registration and filled at start-up
/// (RegisterChartClasses): the seven basic functions, then the standard series types.
/// @file
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tarvela/runtime/class_registry.h"

namespace tarvela {

/// A class an entry names: its registered name and how to make one; an empty name is
/// none.
struct TZavClassRef {
  std::string Name;
  ClassRegistry::Factory Create;

  bool IsNone() const { return Name.empty(); }
  template <class T>
  static TZavClassRef Of(std::string name) {
    return {std::move(name), [](TComponent* owner) -> TComponent* { return new T(owner); }};
  }
};

struct TZavSeriesType {
  TZavClassRef SeriesClass;
  TZavClassRef FunctionClass;
  std::string Description;  ///< at most kMaxTypeText characters
  std::string GalleryPage;  ///< likewise
  int GallerySeriesCount = 0;
};

class TZavSeriesTypes {
 public:
  /// Descriptions and pages longer than this are cut to their first this many characters.
  static constexpr std::size_t kMaxTypeText = 20;

  /// The program's catalogue, created on first use.
  static TZavSeriesTypes& Instance();

  const std::vector<TZavSeriesType>& Entries() const { return m_entries; }
  int Count() const { return static_cast<int>(m_entries.size()); }
  /// The entry of this pair of classes (letter case ignored); null when none is.
  const TZavSeriesType* Find(std::string_view seriesClass, std::string_view functionClass) const;
  void Clear() { m_entries.clear(); }
  /// Appends the entry unless one of the same two classes exists: the first one wins.
  void Add(TZavSeriesType entry);

 private:
  std::vector<TZavSeriesType> m_entries;
};

/// The general form: registers each given class with the class registry, then adds the
/// entry to the catalogue. Either class may be none.
void RegisterSeriesFunctionType(const TZavClassRef& seriesClass, const TZavClassRef& functionClass,
                                std::string_view description, int gallerySeriesCount, std::string_view galleryPage);
void RegisterSeriesType(const TZavClassRef& seriesClass, std::string_view description, std::string_view galleryPage,
                        int gallerySeriesCount);
void RegisterFunctionType(const TZavClassRef& functionClass, std::string_view description,
                          std::string_view galleryPage, int gallerySeriesCount);
/// A function on the "Functions" page with two sample series.
void RegisterBasicFunction(const TZavClassRef& functionClass, std::string_view description);
/// The standard series types, in the catalogue's order.
void RegisterStandardTypes();
/// What start-up puts into the catalogue: emptied, the seven basic functions, then the
/// standard series types.
void RegisterCatalogue();

}  // namespace tarvela
