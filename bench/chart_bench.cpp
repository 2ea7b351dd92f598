// Chart images per second: a 20-category bar chart drawn with cairo and
// written as PNG, through CommGraphiWithOwc as a page calls it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "arenix/frame/arenix_cls.h"
#include "automation/text.h"

namespace {

void BM_GraphiWithOwcBarPng(benchmark::State& state) {
  arenix::ArenixCls cls;
  automation::Text categories, values;
  for (int i = 1; i <= 20; ++i) {
    if (i > 1) categories += u'\t', values += u'\t';
    categories += u"代表队" + automation::FromUtf8(std::to_string(i));
    values += automation::FromUtf8(std::to_string(i * 37 % 101));
  }
  const std::string path = (std::filesystem::temp_directory_path() / "arenix-chart-bench.png").string();
  for (auto _ : state) {
    const int16_t result = cls.CommGraphiWithOwc(categories, values, u"报名人数", 3, u"各代表队报名人数", 0, u"png",
                                                 640, 480, automation::FromUtf8(path));
    if (result != 0) state.SkipWithError("chart not written");
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["images_per_second"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                           benchmark::Counter::kIsRate);
  std::filesystem::remove(path);
}
BENCHMARK(BM_GraphiWithOwcBarPng)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
