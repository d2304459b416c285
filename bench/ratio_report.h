// Runs the registered benchmarks and then prints each figure beside the
// floor it is compared with, both measured in this same run, as a ratio
// against its goal.
//
// A figure measured in several repetitions counts with its fastest run:
// on a busy machine that is the one least disturbed by others.
#pragma once

#include <string>
#include <vector>

namespace tomvik::bench {

struct Ratio {
  std::string what;    // the row of the table
  std::string figure;  // benchmark name of the program's figure
  std::string floor;   // benchmark name of the floor
  double goal = 0;     // figure / floor must not exceed it
  bool cpu = false;    // compare CPU times instead of wall-clock times
};

// Returns the process exit code: 0 even when a goal is missed (the report
// says so), non-zero only when a figure is missing.
int RunWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios);

}  // namespace tomvik::bench
