#include "tarvela/chart/series_types.h"

#include "tarvela/chart/data/basic_functions.h"
#include "tarvela/chart/messages.h"
#include "tarvela/chart/series/area_series.h"
#include "tarvela/chart/series/bar_series.h"
#include "tarvela/chart/series/fast_line_series.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/chart/series/pie_series.h"
#include "tarvela/chart/series/point_series.h"
#include "tarvela/runtime/identifiers.h"
#include "tarvela/runtime/locale_settings.h"

namespace tarvela {

namespace {

bool SameClass(const TZavClassRef& ref, std::string_view name) {
  return ref.IsNone() ? name.empty() : SameIdent(ref.Name, name);
}

}  // namespace

TZavSeriesTypes& TZavSeriesTypes::Instance() {
  static TZavSeriesTypes catalogue;
  return catalogue;
}

const TZavSeriesType* TZavSeriesTypes::Find(std::string_view seriesClass, std::string_view functionClass) const {
  for (const TZavSeriesType& entry : m_entries)
    if (SameClass(entry.SeriesClass, seriesClass) && SameClass(entry.FunctionClass, functionClass)) return &entry;
  return nullptr;
}

void TZavSeriesTypes::Add(TZavSeriesType entry) {
  if (Find(entry.SeriesClass.Name, entry.FunctionClass.Name) != nullptr) return;
  entry.Description = std::string(LeadingCharacters(entry.Description, kMaxTypeText));
  entry.GalleryPage = std::string(LeadingCharacters(entry.GalleryPage, kMaxTypeText));
  m_entries.push_back(std::move(entry));
}

void RegisterSeriesFunctionType(const TZavClassRef& seriesClass, const TZavClassRef& functionClass,
                                std::string_view description, int gallerySeriesCount, std::string_view galleryPage) {
  for (const TZavClassRef* ref : {&seriesClass, &functionClass})
    if (!ref->IsNone()) ClassRegistry::Instance().Register(ref->Name, ref->Create);
  TZavSeriesTypes::Instance().Add(
      {seriesClass, functionClass, std::string(description), std::string(galleryPage), gallerySeriesCount});
}

void RegisterSeriesType(const TZavClassRef& seriesClass, std::string_view description, std::string_view galleryPage,
                        int gallerySeriesCount) {
  RegisterSeriesFunctionType(seriesClass, {}, description, gallerySeriesCount, galleryPage);
}

void RegisterFunctionType(const TZavClassRef& functionClass, std::string_view description,
                          std::string_view galleryPage, int gallerySeriesCount) {
  RegisterSeriesFunctionType({}, functionClass, description, gallerySeriesCount, galleryPage);
}

void RegisterBasicFunction(const TZavClassRef& functionClass, std::string_view description) {
  RegisterFunctionType(functionClass, description, messages::kGalleryFunctions, 2);
}

void RegisterStandardTypes() {
  using namespace messages;
  RegisterSeriesType(TZavClassRef::Of<TLineSeries>("TLineSeries"), kSeriesLine, kGalleryStandard, 2);
  RegisterSeriesType(TZavClassRef::Of<TBarSeries>("TBarSeries"), kSeriesBar, kGalleryStandard, 2);
  RegisterSeriesType(TZavClassRef::Of<THorizBarSeries>("THorizBarSeries"), kSeriesHorizBar, kGalleryStandard, 2);
  RegisterSeriesType(TZavClassRef::Of<TAreaSeries>("TAreaSeries"), kSeriesArea, kGalleryStandard, 2);
  RegisterSeriesType(TZavClassRef::Of<TPointSeries>("TPointSeries"), kSeriesPoint, kGalleryStandard, 2);
  RegisterSeriesType(TZavClassRef::Of<TPieSeries>("TPieSeries"), kSeriesPie, kGalleryStandard, 1);
  RegisterSeriesType(TZavClassRef::Of<TFastLineSeries>("TFastLineSeries"), kSeriesFastLine, kGalleryStandard, 2);
}

void RegisterCatalogue() {
  using namespace messages;
  TZavSeriesTypes::Instance().Clear();
  RegisterBasicFunction(TZavClassRef::Of<TAddZavFunction>("TAddZavFunction"), kFunctionAdd);
  RegisterBasicFunction(TZavClassRef::Of<TSubtractZavFunction>("TSubtractZavFunction"), kFunctionSubtract);
  RegisterBasicFunction(TZavClassRef::Of<TMultiplyZavFunction>("TMultiplyZavFunction"), kFunctionMultiply);
  RegisterBasicFunction(TZavClassRef::Of<TDivideZavFunction>("TDivideZavFunction"), kFunctionDivide);
  RegisterBasicFunction(TZavClassRef::Of<THighZavFunction>("THighZavFunction"), kFunctionHigh);
  RegisterBasicFunction(TZavClassRef::Of<TLowZavFunction>("TLowZavFunction"), kFunctionLow);
  RegisterBasicFunction(TZavClassRef::Of<TAverageZavFunction>("TAverageZavFunction"), kFunctionAverage);
  RegisterStandardTypes();
}

}  // namespace tarvela
