// Saving a hand-edited stock master again and again: the saves settle, and
// the file never grows from one save to the next once they have.
#include <gtest/gtest.h>

#include <string>

#include "core/records/code_file.h"
#include "core/records/ini_file.h"
#include "core/test_support.h"

namespace tomvik::core {
namespace {

std::string SaveInPlace(const std::string& file) {
  IniFile ini = IniFile::Parse(file);
  ApplyStockMasterInPlace(ini, ParseStockMaster(file, true));
  return ini.serialise();
}

TEST(StockMasterSaves, InPlaceSavesOfOddLinesSettle) {
  // A short header gives a code holding "]"; a blank before "=" or a blank
  // before the section name made every filtered save add to the file.
  for (const char* file : {"[12]\r\nN=x\r\n", "[1234]\r\nC =comment\r\nN =name\r\n", "[ 123]\r\nU=100\r\n",
                           "[1234]\r\nN=a\r\n\r\n[12]\r\nN=b\r\n\r\n[123456]\r\nE=c\r\n"}) {
    std::string saved = SaveInPlace(test::Sjis(file));
    for (int i = 0; i < 3; ++i) saved = SaveInPlace(saved);
    EXPECT_EQ(SaveInPlace(saved), saved) << file;
    EXPECT_LT(saved.size(), 200u) << file;
  }
  // What the list showed is what stays in the file.
  const std::string saved = SaveInPlace("[1234]\r\nC =comment\r\nN =name\r\n");
  const LedgerTable rows = ParseStockMaster(saved, false);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].cell(StockCol::Comment), "=comment");
  EXPECT_EQ(rows[0].cell(StockCol::Name), "=name");
  EXPECT_EQ(SaveInPlace(saved), saved);
}

}  // namespace
}  // namespace tomvik::core
