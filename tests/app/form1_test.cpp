#include "app/form1.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tarvela/chart/data/chart_series.h"
#include "tarvela/widgets/application.h"

namespace tarvela {
namespace {

class CapturingPresenter : public ErrorPresenter {
 public:
  void ShowError(const std::string& caption, const std::string& text) override {
    captions.push_back(caption);
    texts.push_back(text);
  }
  std::vector<std::string> captions;
  std::vector<std::string> texts;
};

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    TApplication::Instance()->SetErrorPresenter(&presenter);
    form = std::make_unique<TForm1>(nullptr, [this] { return locale; });
  }
  void TearDown() override {
    form.reset();
    TApplication::Instance()->SetErrorPresenter(nullptr);
  }
  void Compute(const std::string& sigma, const std::string& second) {
    form->Edit1->SetText(sigma);
    form->Edit2->SetText(second);
    form->Button1->Click();
  }
  std::string LastError() const { return presenter.texts.empty() ? "" : presenter.texts.back(); }

  LocaleSettings locale = LocaleSettings::Dot();
  CapturingPresenter presenter;
  std::unique_ptr<TForm1> form;
};

TEST_F(Form1Test, StartStateAfterCreate) {
  EXPECT_EQ(form->Caption(), "Tarvela");
  EXPECT_EQ(form->Edit1->Text(), "");
  EXPECT_TRUE(form->Button1->Enabled());
  EXPECT_EQ(form->Button1->Caption(), "счет");
  EXPECT_EQ(form->Button1->Caption(), "\xD1\x81\xD1\x87\xD0\xB5\xD1\x82");
  EXPECT_FALSE(form->BitBtn1->Enabled());
  EXPECT_EQ(form->BitBtn1->Caption(), "graph");
  EXPECT_EQ(form->Memo1->Lines().Count(), 0);
  EXPECT_FALSE(form->Memo1->Visible());
  EXPECT_EQ(form->Button2->Caption(), "Exit");
  EXPECT_EQ(form->Label1->Caption(), "Enter please sigma ");
  EXPECT_TRUE(presenter.texts.empty());
}

TEST_F(Form1Test, ControlsTakeTheirPlacesOrderAndLooks) {
  struct Place {
    TControl* control;
    int left, top, width, height, tab;
  };
  const Place places[] = {
      {form->Label1, 32, 7, 129, 18, -1},      {form->Button1, 480, 272, 75, 25, 0},
      {form->Edit1, 176, 8, 33, 21, 1},        {form->Chart1, 8, 48, 465, 337, 2},
      {form->BitBtn1, 480, 297, 75, 25, 3},    {form->Memo1, 560, 40, 185, 329, 4},
      {form->Button2, 480, 322, 75, 25, 5},    {form->Edit2, 256, 8, 57, 21, 6},
  };
  for (const Place& p : places) {
    SCOPED_TRACE(p.control->Name());
    EXPECT_EQ(p.control->Left(), p.left);
    EXPECT_EQ(p.control->Top(), p.top);
    EXPECT_EQ(p.control->Width(), p.width);
    EXPECT_EQ(p.control->Height(), p.height);
    EXPECT_EQ(p.control->TabOrder(), p.tab);
    EXPECT_EQ(p.control->Parent(), form.get());
  }
  // Creation order is the order of the description (the chart's series follow the chart).
  std::vector<std::string> controls;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (dynamic_cast<TControl*>(form->Components(i))) controls.push_back(form->Components(i)->Name());
  const std::vector<std::string> order = {"Label1", "Button1", "Edit1", "Chart1", "BitBtn1", "Memo1", "Button2", "Edit2"};
  EXPECT_EQ(controls, order);
  EXPECT_EQ(form->Components(4)->Name(), "Series1");
  EXPECT_EQ(form->ComponentCount(), 30);

  EXPECT_EQ(form->Left(), 118);
  EXPECT_EQ(form->Top(), 107);
  EXPECT_EQ(form->Width(), 568);
  EXPECT_EQ(form->Height(), 428);
  EXPECT_EQ(form->Color(), clBlue);
  EXPECT_EQ(form->Font().Name(), "MS Sans Serif");
  EXPECT_EQ(form->Font().Height(), -11);
  EXPECT_EQ(form->Edit1->Color(), clActiveCaption);
  EXPECT_EQ(form->Edit1->Cursor(), crHandPoint);
  EXPECT_EQ(form->Edit1->DragCursor(), crIBeam);
  EXPECT_TRUE(form->Edit1->ShowHint());
  EXPECT_FALSE(form->Edit1->ParentShowHint());
  EXPECT_EQ(form->Edit2->Font().Name(), "MS Sans Serif");  // follows the form
  const TFont& labelFont = form->Label1->Font();
  EXPECT_EQ(labelFont.Name(), "Monotype Corsiva");
  EXPECT_EQ(labelFont.Height(), -16);
  EXPECT_EQ(labelFont.Color(), clAqua);
  EXPECT_EQ(labelFont.Charset(), RUSSIAN_CHARSET);
  EXPECT_TRUE(labelFont.HasStyle(fsBold));
  EXPECT_TRUE(labelFont.HasStyle(fsItalic));
  EXPECT_FALSE(form->Label1->ParentFont());
  EXPECT_EQ(form->Memo1->ScrollBars(), ssVertical);
  EXPECT_EQ(form->Memo1->BevelEdges(), (1u << beLeft) | (1u << beTop) | (1u << beRight));

  const auto tabs = form->TabOrderList();
  ASSERT_EQ(tabs.size(), 7u);
  EXPECT_EQ(tabs[0], form->Button1);
  EXPECT_EQ(tabs[2], form->Chart1);
  EXPECT_EQ(tabs[6], form->Edit2);
}

TEST_F(Form1Test, KeyFilterLetsOnlyDigitsSeparatorsAndEditingKeysThrough) {
  form->Show();
  QWidget* edit = form->Edit1->Widget();
  QTest::keyClicks(edit, "1a- x2");
  EXPECT_EQ(form->Edit1->Text(), "12");
  QTest::keyClicks(edit, ",.");
  EXPECT_EQ(form->Edit1->Text(), "12,.");
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(form->Edit1->Text(), "12,");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(form->Edit1->Text(), "12,");
  // Control characters other than backspace and return are discarded.
  EXPECT_FALSE(form->Edit1->TypeCharacter(U'\t'));
  EXPECT_FALSE(form->Edit1->TypeCharacter(27));
  EXPECT_FALSE(form->Edit1->TypeCharacter(U'e'));
  EXPECT_FALSE(form->Edit1->TypeCharacter(U'+'));
  EXPECT_TRUE(form->Edit1->TypeCharacter(U'7'));
  EXPECT_EQ(form->Edit1->Text(), "12,7");
  // Edit2 has no filter.
  QTest::keyClicks(form->Edit2->Widget(), "ab-1");
  EXPECT_EQ(form->Edit2->Text(), "ab-1");
}

TEST_F(Form1Test, KeyFilterAcceptsTheLocalesOwnSeparatorAsFifteenthCharacter) {
  locale.decimalSeparator = U'\u066B';
  int passing = 0;
  for (char32_t ch = 0; ch < 0x700; ++ch) {
    char32_t key = ch;
    form->Edit1KeyPress(form->Edit1, key);
    if (key != 0) {
      EXPECT_EQ(key, ch);
      ++passing;
    }
  }
  EXPECT_EQ(passing, 15);
  locale = LocaleSettings::Comma();
  passing = 0;
  for (char32_t ch = 0; ch < 0x700; ++ch) {
    char32_t key = ch;
    form->Edit1KeyPress(form->Edit1, key);
    passing += key != 0;
  }
  EXPECT_EQ(passing, 14);
}

TEST_F(Form1Test, ComputeEnablesGraphEvenWhenParsingFails) {
  EXPECT_FALSE(form->BitBtn1->Enabled());
  form->BitBtn1->Click();  // disabled: nothing happens
  EXPECT_EQ(form->Memo1->Lines().Count(), 0);
  Compute("", "0");
  EXPECT_TRUE(form->BitBtn1->Enabled());
  EXPECT_EQ(LastError(), "'' is not a valid floating point value.");
  ASSERT_EQ(presenter.captions.size(), 1u);
  EXPECT_EQ(presenter.captions[0], TApplication::Instance()->Title());
}

TEST_F(Form1Test, FailuresShowTheirMessagesAndKeepTheStateReached) {
  Compute("abc", "0");
  EXPECT_EQ(LastError(), "'abc' is not a valid floating point value.");
  Compute("2", "");
  EXPECT_EQ(LastError(), "'' is not a valid floating point value.");
  EXPECT_EQ(form->Solver().sigma, 2.0);  // sigma was stored before the second field failed
  EXPECT_EQ(form->Solver().N, 0);
  Compute("1e400", "0");
  EXPECT_EQ(LastError(), "Floating point overflow.");
  EXPECT_EQ(form->Solver().sigma, 2.0);
  Compute("0", "0");
  EXPECT_EQ(LastError(), "Floating point division by zero.");
  Compute("2,5", "0");
  EXPECT_EQ(LastError(), "'2,5' is not a valid floating point value.");
  const auto shown = presenter.texts.size();
  Compute("1", "0");
  EXPECT_EQ(presenter.texts.size(), shown);
  EXPECT_EQ(form->Solver().N, 10);
}

TEST_F(Form1Test, GraphAppendsAWholeReportOnEveryPress) {
  Compute("1", "0");
  form->BitBtn1->Click();
  ASSERT_EQ(form->Memo1->Lines().Count(), 132);
  EXPECT_EQ(form->Memo1->Lines().Strings(0), "layer  0");
  form->BitBtn1->Click();
  ASSERT_EQ(form->Memo1->Lines().Count(), 264);
  EXPECT_EQ(form->Memo1->Lines().Strings(132), "layer  0");
  EXPECT_EQ(form->Memo1->Lines().Strings(131), form->Memo1->Lines().Strings(263));
}

TEST_F(Form1Test, GraphBeforeAnyComputationAppendsOnlyTheFirstHeader) {
  Compute("x", "0");
  form->BitBtn1->Click();
  ASSERT_EQ(form->Memo1->Lines().Count(), 2);
  EXPECT_EQ(form->Memo1->Lines().Strings(0), "layer  0");
  EXPECT_EQ(form->Memo1->Lines().Strings(1), " ");
}

TEST_F(Form1Test, ExitClosesTheFormAtOnce) {
  form->Show();
  EXPECT_TRUE(form->Widget()->isVisible());
  QTest::mouseClick(form->Button2->Widget(), Qt::LeftButton);
  EXPECT_TRUE(form->Closed());
  EXPECT_FALSE(form->Widget()->isVisible());
  EXPECT_TRUE(presenter.texts.empty());
}

TEST_F(Form1Test, ClickOnTheWindowRunsTheHandlerThroughTheDispatcher) {
  form->Show();
  QTest::mouseClick(form->Button1->Widget(), Qt::LeftButton);
  EXPECT_EQ(LastError(), "'' is not a valid floating point value.");
  EXPECT_TRUE(form->BitBtn1->Widget()->isEnabled());
}

TEST_F(Form1Test, ChartHoldsTwentyTwoLineSeriesInDescriptionOrder) {
  ASSERT_EQ(form->Chart1->SeriesTotal(), 22);
  const char* names[] = {"Series1",  "Series2",  "Series3",  "Series4",  "Series5",  "Series6",
                         "Series7",  "Series20", "Series8",  "Series9",  "Series10", "Series11",
                         "Series12", "Series13", "Series14", "Series15", "Series16", "Series17",
                         "Series18", "Series19", "Series21", "Series22"};
  const TColor colors[] = {clRed,  clGreen,  clYellow, clBlue,   clWhite, clGray, clFuchsia, clRed,
                           clTeal, clNavy,   clMaroon, clLime,   clOlive, clPurple, clSilver, clAqua,
                           clBlack, clRed,   clRed,    clRed,    clRed,   clGreen};
  for (int i = 0; i < 22; ++i) {
    TChartSeries* series = form->Chart1->SeriesAt(i);
    SCOPED_TRACE(i);
    EXPECT_EQ(series->Name(), names[i]);
    EXPECT_EQ(series->ClassName(), "TLineSeries");
    EXPECT_EQ(series->SeriesColor(), colors[i]);
    EXPECT_EQ(series->PointCount(), 0);
    EXPECT_EQ(series->Owner(), form.get());
  }
}

TEST_F(Form1Test, GraphPlotsTheLayersIntoTheFirstElevenSeries) {
  Compute("1", "0");
  form->BitBtn1->Click();
  const SolverState& s = form->Solver();
  for (int series = 0; series < 22; ++series) {
    const int expected = series < 10 ? 10 : series == 10 ? 20 : 0;
    EXPECT_EQ(form->Chart1->SeriesAt(series)->PointCount(), expected) << series;
  }
  TChartSeries* first = form->Chart1->SeriesAt(0);
  EXPECT_EQ(first->XValueAt(0), s.X(1));
  EXPECT_EQ(first->XValueAt(9), s.X(10));
  for (int layer = 0; layer <= 9; ++layer) {
    TChartSeries* series = form->Chart1->SeriesAt(layer);
    for (int i = 1; i <= 10; ++i) {
      EXPECT_EQ(series->YValueAt(i - 1), s.u[i][layer]);
      EXPECT_EQ(series->PointColor(i - 1), layer == 0 ? clRed : clLime);
    }
  }
  // The numerical and the exact value alternate at every grid point of series 10.
  TChartSeries* last = form->Chart1->SeriesAt(10);
  for (int i = 1; i <= 10; ++i) {
    EXPECT_EQ(last->XValueAt(2 * (i - 1)), s.X(i));
    EXPECT_EQ(last->YValueAt(2 * (i - 1)), s.u[i][10]);
    EXPECT_EQ(last->PointColor(2 * (i - 1)), clYellow);
    EXPECT_EQ(last->YValueAt(2 * (i - 1) + 1), s.y[i][10]);
    EXPECT_EQ(last->PointColor(2 * (i - 1) + 1), clGreen);
  }
  // A second press adds a further full set; old and new points alternate.
  form->BitBtn1->Click();
  EXPECT_EQ(form->Chart1->SeriesAt(0)->PointCount(), 20);
  EXPECT_EQ(form->Chart1->SeriesAt(10)->PointCount(), 40);
  EXPECT_EQ(form->Chart1->SeriesAt(0)->XValueAt(1), s.X(1));
}

TEST_F(Form1Test, GraphWithoutComputationAddsNoPoints) {
  form->BitBtn1->SetEnabled(true);
  form->BitBtn1->Click();
  for (int series = 0; series < 22; ++series) EXPECT_EQ(form->Chart1->SeriesAt(series)->PointCount(), 0);
}

}  // namespace
}  // namespace tarvela
