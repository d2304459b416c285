// A folder of dense diary month files for the benchmarks, written by the
// program's own month writer: every weekday has a note, a day charge now
// and then, buys, closing sells with their cost, margin trades numbered as
// the program numbers them (the day's openings 001, 002, ... in their keys
// and the day header's), settlements of earlier openings, plans and cash
// movements, each with a comment.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace tomvik::bench {

struct GeneratedDiary {
  int firstYear = 2001;
  int years = 20;
  int tradesPerDay = 12;
  int stocks = 4000;  // trades pick their codes among StockCode(0 .. stocks - 1)
};

// The code of the n-th stock of the generated stock master: "1000", "1002", ...
std::string StockCode(int n);

// Writes the month files into the folder; returns how many bytes they hold.
std::uintmax_t WriteDiaryFolder(const std::filesystem::path& folder, const GeneratedDiary& shape);

}  // namespace tomvik::bench
