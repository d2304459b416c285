// A folder of dense diary month files for the benchmarks, written by the
// program's own month writer: every weekday has a note, a day charge now
// and then, buys, closing sells with their cost, margin trades with their
// repayments, plans and cash movements, each with a comment.
#pragma once

#include <cstdint>
#include <filesystem>

namespace tomvik::bench {

struct GeneratedDiary {
  int firstYear = 2001;
  int years = 20;
  int tradesPerDay = 12;
};

// Writes the month files into the folder; returns how many bytes they hold.
std::uintmax_t WriteDiaryFolder(const std::filesystem::path& folder, const GeneratedDiary& shape);

}  // namespace tomvik::bench
