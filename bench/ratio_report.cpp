#include "ratio_report.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace mirasketch::bench {
namespace {

// Passes everything to the console reporter and keeps each benchmark's real time per iteration.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  explicit RecordingReporter(OutputOptions options) : ConsoleReporter(options) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      // Keyed by the function name and its arguments, without the repetition suffix.
      std::string name = run.run_name.function_name;
      if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
      Sum& sum = sums_[name];
      sum.seconds += run.GetAdjustedRealTime();
      sum.count += 1;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Mean(const std::string& name) const {
    auto it = sums_.find(name);
    return it == sums_.end() || it->second.count == 0 ? 0.0 : it->second.seconds / it->second.count;
  }

 private:
  struct Sum {
    double seconds = 0;
    int count = 0;
  };
  std::map<std::string, Sum> sums_;
};

}  // namespace

int RunWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // No colour codes, on a terminal or not: the "ratio:" lines that follow the table are read by
  // programs and must start with plain text.
  RecordingReporter reporter(benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  int status = 0;
  for (const Ratio& ratio : ratios) {
    const double ours = reporter.Mean(ratio.ours);
    const double reference = reporter.Mean(ratio.reference);
    if (ours <= 0 || reference <= 0) {
      std::fprintf(stderr, "ratio %s: benchmark %s or %s did not run\n", ratio.name.c_str(),
                   ratio.ours.c_str(), ratio.reference.c_str());
      status = 1;
      continue;
    }
    std::printf("ratio: %s %.3f\n", ratio.name.c_str(), reference / ours);
  }
  std::fflush(stdout);
  return status;
}

}  // namespace mirasketch::bench
