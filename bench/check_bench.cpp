// The guards a page runs on every request: the injection guard over a query
// of 20 keys, and the identity-number check at its strictest level, which
// registration runs once per athlete. Rates are calls per second.
#include <benchmark/benchmark.h>

#include "arenix/frame/arenix_cls.h"
#include "automation/clock.h"
#include "automation/datetime.h"
#include "host/memory_host.h"

namespace {

using automation::Text;
using automation::Variant;

// A list page's query: paging, sorting and search keys, with GBK-encoded
// Chinese values as browsers send them; nothing in it is refused, so every
// key meets every keyword.
Text TwentyKeyQuery() {
  Text q;
  for (int i = 0; i < 20; ++i) {
    if (i) q += u"&";
    q += u"key" + automation::FromAscii(std::to_string(i)) + u"=";
    q += (i % 2) ? u"%D6%D0%CE%C4%B4%FA%B1%ED%B6%D3" : u"value" + automation::FromAscii(std::to_string(i * 37));
  }
  return q;
}

void BM_CheckInject20Keys(benchmark::State& state) {
  arenix::ArenixCls component;
  auto request = std::make_shared<host::MemoryRequest>();
  request->SetQueryString(TwentyKeyQuery());
  auto response = std::make_shared<host::MemoryResponse>();
  Variant req{automation::ObjectPtr(request)}, resp{automation::ObjectPtr(response)};
  for (auto _ : state) component.CommCheckInject(req, resp, false, u"", 1);
  if (response->ended()) state.SkipWithError("the query was refused");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CheckInject20Keys);

void BM_CheckPostCardLevel4(benchmark::State& state) {
  automation::ScopedClock clock(automation::MakeDate(2024, 6, 15), std::nullopt);
  arenix::ArenixCls component;
  const Text number = u"11010519491231002X";
  for (auto _ : state) {
    Text low, high;
    Text r = component.CommCheckPostCard(number, 4, 0, low, high);
    if (!r.empty()) state.SkipWithError("the number was refused");
    benchmark::DoNotOptimize(r);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CheckPostCardLevel4);

// The same with an age limit and a birth-date window, as registration calls it.
void BM_CheckPostCardLevel4Window(benchmark::State& state) {
  automation::ScopedClock clock(automation::MakeDate(2024, 6, 15), std::nullopt);
  arenix::ArenixCls component;
  const Text number = u"11010519491231002X";
  for (auto _ : state) {
    Text low = u"19400101", high = u"19601231";
    Text r = component.CommCheckPostCard(number, 4, 90, low, high);
    if (!r.empty()) state.SkipWithError("the number was refused");
    benchmark::DoNotOptimize(r);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CheckPostCardLevel4Window);

}  // namespace

BENCHMARK_MAIN();
