// The large folder of the benchmarks: what a user with years of diaries and
// a full stock master keeps beside the program. Twenty years of dense
// months, 4,000 stocks in Code.txt, 500 holdings and 200 margin positions,
// all written by the program's own writers.
#pragma once

#include <filesystem>
#include <string>

#include "diary_generator.h"

namespace tomvik::bench {

struct LargeFolderShape {
  GeneratedDiary diary;
  int stocks = 4000;
  int holdings = 500;
  int positions = 200;
};

// Writes TMVK-less data files (the settings file stays missing: defaults).
void WriteLargeFolder(const std::filesystem::path& folder, const LargeFolderShape& shape);

// Only Code.txt, Hold.txt and Loan.txt of that folder.
void WriteStockMaster(const std::filesystem::path& folder, int stocks);
void WriteHoldings(const std::filesystem::path& folder, int holdings, int stocks);
void WritePositions(const std::filesystem::path& folder, int positions, int stocks);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace tomvik::bench
