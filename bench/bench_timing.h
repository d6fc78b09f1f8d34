#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace mirasketch::bench {

using Clock = std::chrono::steady_clock;

inline double Micros(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

inline double Millis(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// The middle of the timings, steadier than their mean against a run disturbed by the machine.
inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace mirasketch::bench
