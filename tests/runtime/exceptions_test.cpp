#include "tarvela/runtime/exceptions.h"

#include <gtest/gtest.h>

namespace tarvela {
namespace {

TEST(ErrorBox, FullStopIsAppendedOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(ErrorBoxText("'abc' is not a valid floating point value"), "'abc' is not a valid floating point value.");
  EXPECT_EQ(ErrorBoxText("Floating point overflow"), "Floating point overflow.");
  EXPECT_EQ(ErrorBoxText("Layer 7"), "Layer 7.");           // '7' sorts after '.'
  EXPECT_EQ(ErrorBoxText("List index out of bounds (3)"), "List index out of bounds (3)");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("Ends with a blank "), "Ends with a blank ");
  EXPECT_EQ(ErrorBoxText("Ends with a dash -"), "Ends with a dash -");  // '-' sorts before '.'
  EXPECT_EQ(ErrorBoxText("счет"), "счет.");
  EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(ErrorBox, TitleIsTheProgramNameUpToItsFirstFullStopInLowerCaseAfterTheFirstLetter) {
  EXPECT_EQ(ApplicationTitleFromPath("/usr/local/bin/tarvela"), "tarvela");
  EXPECT_EQ(ApplicationTitleFromPath("C:\\Programs\\TARVELA.EXE"), "Tarvela");
  EXPECT_EQ(ApplicationTitleFromPath("build/My.Program.bin"), "My");
  EXPECT_EQ(ApplicationTitleFromPath("Project1"), "Project1");
  EXPECT_EQ(ApplicationTitleFromPath(""), "");
}

TEST(Messages, PatternsAreFilledInPlace) {
  EXPECT_EQ(FormatMessage(messages::kInvalidFloat, ""), "'' is not a valid floating point value");
  EXPECT_EQ(FormatMessage(messages::kListIndex, -1), "List index out of bounds (-1)");
  try {
    ThrowListIndexError(22);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (22)");
  }
}

}  // namespace
}  // namespace tarvela
