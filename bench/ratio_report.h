#pragma once

#include <string>
#include <utility>
#include <vector>

namespace mirasketch::bench {

// One comparison printed at the end of a benchmark program: the reference's time divided by
// ours, so 1.0 is as fast as the reference and higher is faster.
struct Ratio {
  std::string name;       // printed as "ratio: NAME VALUE"
  std::string ours;       // benchmark name of our code
  std::string reference;  // benchmark name of the reference
};

// Runs every registered benchmark with the usual console output, then prints one
// "ratio: NAME VALUE" line per entry from the mean real times of that same run.
// Returns the process exit status.
int RunWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios);

}  // namespace mirasketch::bench
