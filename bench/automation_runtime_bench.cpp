// Speed of the runtime pieces that every page touches: number and date text,
// Format, code page 936, the string functions and Variant copies.
#include <benchmark/benchmark.h>

#include "automation/cp936.h"
#include "automation/runtime.h"

namespace automation {
namespace {

Text ChineseText(size_t units) {
  Text t;
  const Text piece = u"运动会成绩，100米 决赛 Lane 4; ";
  while (t.size() < units) t += piece;
  t.resize(units);
  return t;
}

void BM_CStrDouble(benchmark::State& state) {
  Variant v(1234.5678901234);
  for (auto _ : state) benchmark::DoNotOptimize(CStr(v));
}
BENCHMARK(BM_CStrDouble);

void BM_CDblText(benchmark::State& state) {
  Variant v(u" 1,234.5678 ");
  for (auto _ : state) benchmark::DoNotOptimize(CDbl(v));
}
BENCHMARK(BM_CDblText);

void BM_Val(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Val(u"000012.34"));
}
BENCHMARK(BM_Val);

void BM_ParseDateText(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ParseDateText(u"2024-03-05 08:30:05"));
}
BENCHMARK(BM_ParseDateText);

void BM_DateToText(benchmark::State& state) {
  Date d{45356.354224537};
  for (auto _ : state) benchmark::DoNotOptimize(DateToText(d));
}
BENCHMARK(BM_DateToText);

void BM_FormatNumber(benchmark::State& state) {
  Variant v(1234567.891);
  for (auto _ : state) benchmark::DoNotOptimize(Format(v, u"#,##0.00"));
}
BENCHMARK(BM_FormatNumber);

void BM_FormatDate(benchmark::State& state) {
  Variant v(Date{45356.354224537});
  for (auto _ : state) benchmark::DoNotOptimize(Format(v, u"yyyy-mm-dd hh:nn:ss"));
}
BENCHMARK(BM_FormatDate);

void BM_ToGbk(benchmark::State& state) {
  Text t = ChineseText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ToGbk(t));
  state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(BM_ToGbk)->Arg(1024)->Arg(64 * 1024);

void BM_FromGbk(benchmark::State& state) {
  std::string bytes = ToGbk(ChineseText(static_cast<size_t>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(FromGbk(bytes));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_FromGbk)->Arg(1024)->Arg(64 * 1024);

void BM_Utf8RoundTrip(benchmark::State& state) {
  Text t = ChineseText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(FromUtf8(ToUtf8(t)));
  state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(BM_Utf8RoundTrip)->Arg(1024)->Arg(64 * 1024);

void BM_ReplaceAll(benchmark::State& state) {
  Text t = ChineseText(64 * 1024);
  for (auto _ : state) benchmark::DoNotOptimize(Replace(t, u"决赛", u"预赛"));
}
BENCHMARK(BM_ReplaceAll);

void BM_InStrTextCompare(benchmark::State& state) {
  Text t = ChineseText(64 * 1024);
  for (auto _ : state) benchmark::DoNotOptimize(InStr(t, u"LANE 5", 1, Compare::Text));
}
BENCHMARK(BM_InStrTextCompare);

void BM_Split(benchmark::State& state) {
  Text t = ChineseText(64 * 1024);
  for (auto _ : state) benchmark::DoNotOptimize(Split(t, u"，"));
}
BENCHMARK(BM_Split);

void BM_VariantCopyText(benchmark::State& state) {
  Variant v(ChineseText(256));
  for (auto _ : state) {
    Variant copy = v;
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_VariantCopyText);

void BM_VariantMoveText(benchmark::State& state) {
  Variant v(ChineseText(256));
  for (auto _ : state) {
    Variant moved = std::move(v);
    v = std::move(moved);
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_VariantMoveText);

void BM_Rnd(benchmark::State& state) {
  ScopedClock clock(std::nullopt, 0x50000);
  for (auto _ : state) benchmark::DoNotOptimize(Rnd());
}
BENCHMARK(BM_Rnd);

}  // namespace
}  // namespace automation

BENCHMARK_MAIN();
