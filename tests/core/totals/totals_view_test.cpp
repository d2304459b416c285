// The shown views of the period totals live in a file of their own.
#include <gtest/gtest.h>

#include "core/records/settings.h"
#include "core/test_support.h"
#include "core/totals/totals_view.h"

namespace tomvik::core::test {
namespace {

TEST(TotalsViewsFile, BothViewsShowUntilAChoiceIsSavedBesideTheSettings) {
  TempFolder folder;
  EXPECT_EQ(LoadTotalsViews(folder.path()), (TotalsViews{true, true}));
  WriteBytes(folder / "TMVK.ini", "[Window]\r\nStartYMW=3\r\n");
  WriteBytes(folder / "Tomvik-view.ini", "[Other]\r\nKeep=1\r\n");

  ASSERT_FALSE(SaveTotalsViews(folder.path(), TotalsViews{false, true}));
  EXPECT_EQ(LoadTotalsViews(folder.path()), (TotalsViews{false, true}));
  ASSERT_FALSE(SaveTotalsViews(folder.path(), TotalsViews{true, false}));
  EXPECT_EQ(LoadTotalsViews(folder.path()), (TotalsViews{true, false}));
  // The settings file is not touched, and the view file keeps what it had.
  EXPECT_EQ(ReadBytes(folder / "TMVK.ini"), "[Window]\r\nStartYMW=3\r\n");
  EXPECT_EQ(ReadBytes(folder / "Tomvik-view.ini"),
            "[Other]\r\nKeep=1\r\n\r\n[Totals]\r\nChart=1\r\nCalendar=0\r\n\r\n");
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"TMVK.ini", "Tomvik-view.ini"}));

  // A save into a folder that is not there fails and says so.
  EXPECT_TRUE(SaveTotalsViews(folder / "missing", TotalsViews{}));
}

}  // namespace
}  // namespace tomvik::core::test
