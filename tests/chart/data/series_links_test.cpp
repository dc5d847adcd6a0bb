#include "tarvela/chart/data/series_links.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "series_fixtures.h"
#include "tarvela/chart/chart_registration.h"
#include "tarvela/chart/data/zav_function.h"
#include "tarvela/runtime/exceptions.h"
#include "tarvela/runtime/form_reader.h"

namespace tarvela {
namespace {

using test::NewLine;
using test::XsOf;
using test::YsOf;

// A form with one chart and two line series A and B, B following A.
struct LinkedPair {
  LinkedPair() {
    a->SetName("A");
    b->SetName("B");
    for (double x : {1.0, 2.0, 4.0}) a->AddPointXY(x, x * 10, x == 2.0 ? "two" : "", x == 4.0 ? clRed : clDefault);
    b->SetDataSource(a);
  }
  TComponent form{nullptr};
  TChart chart{&form};
  TLineSeries* a = NewLine(form, &chart);
  TLineSeries* b = NewLine(form, &chart);
};

void ExpectChartError(const std::function<void()>& action, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "no exception, expected " << message;
  } catch (const ChartException& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

TEST(SeriesLinks, AFollowerCopiesTheSourceAndFollowsInsertsDeletesAndClears) {
  LinkedPair p;
  EXPECT_EQ(p.b->DataSource(), p.a);
  EXPECT_EQ(p.a->LinkedSeries(), (std::vector<TChartSeries*>{p.b}));
  EXPECT_EQ(XsOf(*p.b), (std::vector<double>{1, 2, 4}));
  EXPECT_EQ(YsOf(*p.b), (std::vector<double>{10, 20, 40}));
  // A reload copies no colours or labels; a followed insert does.
  EXPECT_EQ(p.b->PointLabel(1), "");
  EXPECT_EQ(p.b->PointColor(2), p.b->SeriesColor());

  p.a->AddPointXY(3, 30, "three", clBlue);
  EXPECT_EQ(XsOf(*p.b), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(p.b->PointLabel(2), "three");
  EXPECT_EQ(p.b->PointColor(2), clBlue);
  EXPECT_EQ(p.b->PointColor(3), p.b->SeriesColor());  // later points keep their own (none)

  p.a->DeletePoint(2);
  EXPECT_EQ(XsOf(*p.b), (std::vector<double>{1, 2, 4}));
  EXPECT_EQ(p.b->PointLabel(2), "");

  p.a->ClearPoints();
  EXPECT_EQ(p.b->PointCount(), 0);
}

TEST(SeriesLinks, FollowFlagsDecideWhichChangesAreFollowed) {
  LinkedPair p;
  p.b->SetFollowFlags(kAllFollowFlags & ~FollowFlagBit(FollowInserts));
  p.a->AddPointXY(5, 50);
  EXPECT_EQ(p.b->PointCount(), 3);
  p.b->SetFollowFlags(0);
  p.a->DeletePoint(0);
  p.a->YValues().SetValueAt(0, 99);
  p.a->ClearPoints();
  EXPECT_EQ(YsOf(*p.b), (std::vector<double>{10, 20, 40}));
  p.b->SetFollowFlags(FollowFlagBit(FollowChanges));
  p.a->AddPointXY(7, 70);
  p.a->XValues().SetValueAt(0, 8);
  EXPECT_EQ(XsOf(*p.b), (std::vector<double>{8}));
  EXPECT_EQ(YsOf(*p.b), (std::vector<double>{70}));
}

TEST(SeriesLinks, AChangedMultiplierReloadsTheFollowerAlways) {
  LinkedPair p;
  p.b->SetFollowFlags(0);
  p.a->YValues().SetMultiplier(2);
  EXPECT_EQ(YsOf(*p.b), (std::vector<double>{20, 40, 80}));
  EXPECT_EQ(p.b->YValues().Multiplier(), 1);
}

TEST(SeriesLinks, ReloadsRunDownAChainOfSources) {
  LinkedPair p;
  TLineSeries* c = NewLine(p.form, &p.chart);
  c->SetDataSource(p.b);
  EXPECT_EQ(YsOf(*c), (std::vector<double>{10, 20, 40}));
  p.a->YValues().SetMultiplier(0.5);
  EXPECT_EQ(YsOf(*c), (std::vector<double>{5, 10, 20}));
  p.a->AddPointXY(0, 1);
  EXPECT_EQ(XsOf(*c), (std::vector<double>{0, 1, 2, 4}));
}

// Every series below a changed one reloads, and so clears, once: not once more for
// each series above it.
TEST(SeriesLinks, AReloadClearsEachSeriesDownAChainOnce) {
  LinkedPair p;
  TLineSeries* c = NewLine(p.form, &p.chart);
  TLineSeries* d = NewLine(p.form, &p.chart);
  c->SetDataSource(p.b);
  d->SetDataSource(c);
  int cClears = 0;
  int dClears = 0;
  c->OnClearValues = [&](TChartSeries*) { ++cClears; };
  d->OnClearValues = [&](TChartSeries*) { ++dClears; };
  p.a->YValues().SetMultiplier(2);
  EXPECT_EQ(cClears, 1);
  EXPECT_EQ(dClears, 1);
  EXPECT_EQ(YsOf(*d), (std::vector<double>{20, 40, 80}));
  // A follower that does not follow clears reloads all the same.
  c->SetFollowFlags(0);
  p.a->YValues().SetMultiplier(1);
  EXPECT_EQ(YsOf(*d), (std::vector<double>{10, 20, 40}));
  // Clearing the source itself still runs down the chain.
  c->SetFollowFlags(kAllFollowFlags);
  p.a->ClearPoints();
  EXPECT_EQ(d->PointCount(), 0);
}

TEST(SeriesLinks, RefusedSourcesFailWithTheirMessageAndKeepThePresentOnes) {
  LinkedPair p;
  ExpectChartError([&] { p.b->SetDataSource(p.b); }, "No valid DataSource: B");
  ExpectChartError([&] { p.a->SetDataSource(p.b); }, "Circular Series dependences are not allowed");
  ExpectChartError([&] { p.b->SetDataSource(&p.chart); }, "No valid DataSource: ");
  p.chart.SetName("Chart1");
  ExpectChartError([&] { p.b->SetDataSource(&p.chart); }, "No valid DataSource: Chart1");
  TLineSeries* loose = NewLine(p.form);
  ExpectChartError([&] { loose->SetDataSource(p.a); }, "No ParentChart to validate DataSource");
  EXPECT_EQ(p.b->DataSources(), (std::vector<TComponent*>{p.a}));
  EXPECT_EQ(p.a->DataSource(), nullptr);
  EXPECT_EQ(p.a->LinkedSeries().size(), 1u);
  EXPECT_EQ(loose->DataSource(), nullptr);
}

TEST(SeriesLinks, ALoopThroughAnySourceOfAChainIsRefused) {
  LinkedPair p;
  TLineSeries* c = NewLine(p.form, &p.chart);
  TLineSeries* d = NewLine(p.form, &p.chart);
  c->AddDataSource(d);
  c->AddDataSource(p.a);  // C follows D first, then A
  EXPECT_EQ(c->DataSources(), (std::vector<TComponent*>{d, p.a}));
  ExpectChartError([&] { p.a->SetDataSource(c); }, "Circular Series dependences are not allowed");
  ExpectChartError([&] { p.a->AddDataSource(c); }, "Circular Series dependences are not allowed");
  TLineSeries* e = NewLine(p.form, &p.chart);
  e->SetDataSource(c);
  ExpectChartError([&] { p.a->SetDataSource(e); }, "Circular Series dependences are not allowed");
  p.a->SetDataSource(d);  // no loop: D follows nothing
  EXPECT_EQ(p.a->DataSource(), d);
}

TEST(SeriesLinks, SettingAnotherSourceReplacesTheOldAndNoneClears) {
  LinkedPair p;
  TLineSeries* c = NewLine(p.form, &p.chart);
  c->AddPointXY(100, 1);
  p.b->SetDataSource(c);
  EXPECT_TRUE(p.a->LinkedSeries().empty());
  EXPECT_EQ(XsOf(*p.b), (std::vector<double>{100}));
  p.b->SetDataSource(c);  // already a source: nothing
  EXPECT_EQ(c->LinkedSeries().size(), 1u);
  p.b->SetDataSource(nullptr);
  EXPECT_EQ(p.b->DataSource(), nullptr);
  EXPECT_TRUE(c->LinkedSeries().empty());
  EXPECT_EQ(p.b->PointCount(), 0);
}

TEST(SeriesLinks, ADestroyedSourceLeavesTheFollowerItsPointsAndNoSource) {
  LinkedPair p;
  delete p.a;
  EXPECT_EQ(p.b->DataSource(), nullptr);
  EXPECT_EQ(XsOf(*p.b), (std::vector<double>{1, 2, 4}));
  // A destroyed follower leaves the source's linked list.
  TLineSeries* c = NewLine(p.form, &p.chart);
  TLineSeries* d = NewLine(p.form, &p.chart);
  d->SetDataSource(c);
  delete d;
  EXPECT_TRUE(c->LinkedSeries().empty());
  c->AddPointXY(1, 1);
}

TEST(SeriesLinks, ADestroyedSourceHandsOverToTheNextSeriesSource) {
  LinkedPair p;
  TLineSeries* other = NewLine(p.form, &p.chart);
  other->AddPointXY(9, 90);
  p.b->AddDataSource(other);
  delete p.a;
  EXPECT_EQ(p.b->DataSource(), other);
  EXPECT_EQ(XsOf(*p.b), (std::vector<double>{9}));
}

// A series that left the chart keeps its sources, though it is no longer among their
// linked series: a loop through it is still a loop.
TEST(SeriesLinks, ALoopThroughAFollowerThatLeftTheChartIsRefused) {
  LinkedPair p;
  p.b->SetParentChart(nullptr);
  ASSERT_TRUE(p.a->LinkedSeries().empty());
  ExpectChartError([&] { p.a->SetDataSource(p.b); }, "Circular Series dependences are not allowed");
  // Without the follower's link there is none.
  p.b->SetParentChart(&p.chart);
  p.b->SetDataSource(nullptr);
  p.a->SetDataSource(p.b);
  EXPECT_EQ(p.a->DataSource(), p.b);
}

// Many paths lead to the first series of a lattice; the check ends all the same and
// still finds the loop.
TEST(SeriesLinks, ALoopThroughALatticeOfSourcesIsFoundOnce) {
  TComponent form(nullptr);
  TChart chart(&form);
  TLineSeries* top = NewLine(form, &chart);
  std::vector<TLineSeries*> row{top};
  for (int level = 0; level < 40; ++level) {
    std::vector<TLineSeries*> next;
    for (int k = 0; k < 2; ++k) {
      TLineSeries* series = NewLine(form, &chart);
      for (TLineSeries* source : row) series->AddDataSource(source);
      next.push_back(series);
    }
    row = next;
  }
  ExpectChartError([&] { top->SetDataSource(row.front()); }, "Circular Series dependences are not allowed");
  TLineSeries* loose = NewLine(form, &chart);
  row.back()->AddDataSource(loose);
  EXPECT_EQ(row.back()->DataSources().back(), loose);
}

TEST(SeriesLinks, AFollowerThatLeavesAndRejoinsAChartFollowsAgain) {
  LinkedPair p;
  p.b->SetParentChart(nullptr);
  EXPECT_TRUE(p.a->LinkedSeries().empty());
  p.a->AddPointXY(3, 30);
  EXPECT_EQ(p.b->PointCount(), 3);
  p.b->SetParentChart(&p.chart);
  EXPECT_EQ(XsOf(*p.b), (std::vector<double>{1, 2, 3, 4}));
  p.a->AddPointXY(5, 50);
  EXPECT_EQ(p.b->PointCount(), 5);
}

// Records what the series asks of its function; adds one point per source point sum.
class SumFunction : public TZavFunction {
 public:
  using TZavFunction::TZavFunction;
  void AddFunctionPoints(TChartSeries* source) override {
    ++calls;
    double sum = 0;
    for (int i = 0; i < source->PointCount(); ++i) sum += source->YValueAt(i);
    ParentSeries()->AddPointXY(0, sum);
  }
  int calls = 0;
};

TEST(SeriesLinks, AFunctionComputesThePointsOnReloadButNotOnInserts) {
  LinkedPair p;
  p.a->XValues().SetDateTime(true);
  auto owned = std::make_unique<SumFunction>(nullptr);
  SumFunction* function = owned.get();
  p.b->SetFunction(std::move(owned));
  EXPECT_EQ(function->ParentSeries(), p.b);
  EXPECT_EQ(p.b->FunctionObject(), function);
  EXPECT_EQ(function->calls, 1);
  EXPECT_EQ(YsOf(*p.b), (std::vector<double>{70}));
  EXPECT_TRUE(p.b->XValues().DateTime());
  p.a->AddPointXY(8, 80);
  EXPECT_EQ(function->calls, 1);
  p.a->YValues().SetValueAt(0, 0);
  EXPECT_EQ(function->calls, 2);
  EXPECT_EQ(YsOf(*p.b), (std::vector<double>{140}));
  std::unique_ptr<TZavFunction> taken = p.b->TakeFunction();
  EXPECT_EQ(taken.get(), function);
  EXPECT_EQ(function->ParentSeries(), nullptr);
  // A function owned by a component is taken out of it.
  auto* componentOwned = new SumFunction(&p.form);
  p.b->SetFunction(std::unique_ptr<TZavFunction>(componentOwned));
  EXPECT_EQ(componentOwned->Owner(), nullptr);
}

TEST(SeriesLinks, ADescriptionNamesTheSourceAndTheFollowerLinksWhenLoaded) {
  RegisterChartClasses();
  std::unique_ptr<TComponent> root = ReadRootComponent(R"(object Chart1: TChart
  object Follower: TLineSeries
    DataSource = Source
  end
  object Source: TLineSeries
  end
end
)");
  auto* follower = dynamic_cast<TChartSeries*>(root->FindComponent("Follower"));
  auto* source = dynamic_cast<TChartSeries*>(root->FindComponent("Source"));
  ASSERT_NE(follower, nullptr);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(follower->DataSource(), source);
  EXPECT_FALSE(follower->Loading());
  source->AddPointXY(1, 2);
  EXPECT_EQ(YsOf(*follower), (std::vector<double>{2}));
  // A chain named in any order links every series, and the first one's changes run
  // down to the last.
  root = ReadRootComponent(R"(object Chart1: TChart
  object C: TLineSeries
    DataSource = B
  end
  object A: TLineSeries
  end
  object D: TLineSeries
    DataSource = C
  end
  object B: TLineSeries
    DataSource = A
  end
end
)");
  auto* first = dynamic_cast<TChartSeries*>(root->FindComponent("A"));
  ASSERT_NE(first, nullptr);
  first->AddPointXY(1, 5);
  first->AddPointXY(2, 6);
  first->YValues().SetMultiplier(2);
  for (const char* name : {"B", "C", "D"}) {
    auto* series = dynamic_cast<TChartSeries*>(root->FindComponent(name));
    ASSERT_NE(series, nullptr);
    EXPECT_FALSE(series->Loading()) << name;
    EXPECT_EQ(YsOf(*series), (std::vector<double>{10, 12})) << name;
  }
  EXPECT_THROW(ReadRootComponent(R"(object Chart1: TChart
  object Follower: TLineSeries
    DataSource = Follower
  end
end
)"),
               EReadError);
}

}  // namespace
}  // namespace tarvela
