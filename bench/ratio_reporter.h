// A console reporter that also remembers each benchmark's rates, so that a
// benchmark program can print the ratios its targets are stated in.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs) {
      if (r.error_occurred) continue;
      std::string name = r.benchmark_name();
      seconds_per_iter_[name] = r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
      cpu_seconds_per_iter_[name] = r.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
      auto it = r.counters.find("bytes_per_second");
      if (it != r.counters.end()) bytes_per_second_[name] = it->second.value;
      auto items = r.counters.find("items_per_second");
      if (items != r.counters.end()) items_per_second_[name] = items->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  double BytesPerSecond(const std::string& name) const { return Get(bytes_per_second_, name); }
  double ItemsPerSecond(const std::string& name) const { return Get(items_per_second_, name); }
  double SecondsPerIteration(const std::string& name) const { return Get(seconds_per_iter_, name); }
  double CpuSecondsPerIteration(const std::string& name) const { return Get(cpu_seconds_per_iter_, name); }

 private:
  static double Get(const std::map<std::string, double>& m, const std::string& name) {
    auto it = m.find(name);
    return it == m.end() ? 0 : it->second;
  }
  std::map<std::string, double> bytes_per_second_, items_per_second_, seconds_per_iter_, cpu_seconds_per_iter_;
};

}  // namespace bench
