// The catalogue of series types: its entries in order after start-up, the first
// registration of a pair winning, and texts cut to what a gallery tab holds.
#include "tarvela/chart/series_types.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "tarvela/chart/chart_registration.h"
#include "tarvela/chart/data/basic_functions.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/runtime/class_registry.h"

namespace tarvela {
namespace {

// Puts the start-up catalogue back, whatever a test registered.
struct CatalogueRestorer {
  ~CatalogueRestorer() { RegisterCatalogue(); }
};

TEST(SeriesTypes, StartUpListsTheFunctionsThenTheStandardTypesInOrder) {
  RegisterChartClasses();
  using Row = std::tuple<std::string, std::string, std::string, std::string, int>;
  std::vector<Row> rows;
  for (const TZavSeriesType& e : TZavSeriesTypes::Instance().Entries())
    rows.emplace_back(e.SeriesClass.Name, e.FunctionClass.Name, e.Description, e.GalleryPage, e.GallerySeriesCount);
  const std::vector<Row> expected = {
      {"", "TAddZavFunction", "Add", "Functions", 2},
      {"", "TSubtractZavFunction", "Subtract", "Functions", 2},
      {"", "TMultiplyZavFunction", "Multiply", "Functions", 2},
      {"", "TDivideZavFunction", "Divide", "Functions", 2},
      {"", "THighZavFunction", "High", "Functions", 2},
      {"", "TLowZavFunction", "Low", "Functions", 2},
      {"", "TAverageZavFunction", "Average", "Functions", 2},
      {"TLineSeries", "", "Line", "Standard", 2},
      {"TBarSeries", "", "Bar", "Standard", 2},
      {"THorizBarSeries", "", "Horiz. Bar", "Standard", 2},
      {"TAreaSeries", "", "Area", "Standard", 2},
      {"TPointSeries", "", "Point", "Standard", 2},
      {"TPieSeries", "", "Pie", "Standard", 1},
      {"TFastLineSeries", "", "Fast Line", "Standard", 2},
  };
  EXPECT_EQ(rows, expected);
  // Registered a second time, the catalogue is the same, not twice as long.
  RegisterChartClasses();
  EXPECT_EQ(TZavSeriesTypes::Instance().Count(), static_cast<int>(expected.size()));

  ASSERT_TRUE(ClassRegistry::Instance().IsRegistered("TLineSeries"));
  std::unique_ptr<TComponent> made(ClassRegistry::Instance().Create("tlineseries", nullptr));
  EXPECT_NE(dynamic_cast<TLineSeries*>(made.get()), nullptr);
  // Every entry's classes can be made by name.
  for (const TZavSeriesType& e : TZavSeriesTypes::Instance().Entries())
    for (const TZavClassRef* ref : {&e.SeriesClass, &e.FunctionClass})
      if (!ref->IsNone()) {
        EXPECT_TRUE(ClassRegistry::Instance().IsRegistered(ref->Name)) << ref->Name;
      }
}

TEST(SeriesTypes, FirstRegistrationOfAPairWinsAndTextsAreCutToTwentyCharacters) {
  CatalogueRestorer restorer;
  TZavSeriesTypes& catalogue = TZavSeriesTypes::Instance();
  catalogue.Clear();
  const TZavClassRef line = TZavClassRef::Of<TLineSeries>("TLineSeries");
  RegisterSeriesType(line, "Line", "Standard", 2);
  RegisterSeriesType(line, "Another line", "Other page", 5);
  ASSERT_EQ(catalogue.Count(), 1);
  EXPECT_EQ(catalogue.Entries()[0].Description, "Line");
  EXPECT_EQ(catalogue.Entries()[0].GallerySeriesCount, 2);

  // The same series class with a function is another pair.
  RegisterSeriesFunctionType(line, TZavClassRef::Of<TAddZavFunction>("TAddZavFunction"), "A twenty-five char text!", 1,
                             "Twenty-five characters..");
  ASSERT_EQ(catalogue.Count(), 2);
  EXPECT_EQ(catalogue.Entries()[1].Description, "A twenty-five char t");
  EXPECT_EQ(catalogue.Entries()[1].GalleryPage, "Twenty-five characte");
  // Characters, not bytes: a letter is never split.
  RegisterFunctionType(TZavClassRef::Of<TLowZavFunction>("TLowZavFunction"), "Σύνολο ανά μήνα και έτος", "Functions", 2);
  EXPECT_EQ(catalogue.Entries()[2].Description, "Σύνολο ανά μήνα και ");
  EXPECT_NE(catalogue.Find("tlineseries", ""), nullptr);
  EXPECT_EQ(catalogue.Find("TBarSeries", ""), nullptr);
}

}  // namespace
}  // namespace tarvela
