// Speed of the list renderers: a result list of 500 rows rendered with
// CommShowWlcxItem, and list pages over a record set of 20,000 rows (each
// page positioned, its rows opened with the grid row and the paging bar
// drawn) and the paging bar alone. Rows per second are the items counter.
#include <benchmark/benchmark.h>

#include <memory>

#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/list_rows.h"
#include "arenix/show/grid_row.h"
#include "arenix/show/paging.h"
#include "automation/coerce.h"
#include "data/recordset.h"
#include "host/memory_host.h"

namespace {

using automation::Text;
using automation::Variant;

Text Padded(Text t, size_t width) {
  t.resize(width, u' ');
  return t;
}

// Play rows of a 100 m final as the record set holds them after Open.
Variant ResultRows(int count) {
  data::foxsql::Rows rows;
  rows.names = {u"编号", u"运动员", u"比赛团队", u"代表队", u"比赛组次", u"比赛道次", u"比赛成绩",
                u"比赛名次", u"比赛组名次", u"比赛得分", u"比赛破记录", u"参赛项目", u"参赛子项目",
                u"径赛田赛", u"集体项目", u"自定义格式", u"编外队", u"编外队员"};
  for (int i = 1; i <= count; ++i) {
    const Text n = automation::LongToText(i);
    rows.rows.push_back({Padded(n, 10), Padded(u"选手" + n, 20), Padded(u"", 60), Padded(u"第一中学", 30),
                         Variant(int32_t{(i - 1) / 8 + 1}), Variant(int32_t{(i - 1) % 8 + 1}),
                         Text(u"    ") + automation::LongToText(1000 + i % 900) + u" ", Variant(int32_t{i}),
                         Variant(int32_t{(i - 1) % 8 + 1}), Variant(i <= 8 ? 9.0 - i : 0.0), Variant(i == 1),
                         Padded(u"100米", 20), Padded(u"", 20), Padded(u"径赛", 4), Variant(false),
                         Padded(u"", 10), Variant(false), Variant(i % 50 == 0)});
  }
  auto rs = std::make_shared<data::StaticRecordset>();
  rs->Load(std::move(rows));
  return Variant(automation::ObjectPtr(rs));
}

void BM_ResultList500(benchmark::State& state) {
  Variant rs = ResultRows(500);
  auto& records = automation::ObjectCast<data::Recordset>(rs);
  arenix::ArenixCls cls;
  size_t bytes = 0;
  for (auto _ : state) {
    Text list;
    int16_t n = 1;
    for (records.MoveFirst(); !records.Eof(); records.MoveNext()) {
      list += cls.CommShowWlcxItem(rs, 1, n++, 1, 1, 4, 0);
    }
    bytes = list.size();
    benchmark::DoNotOptimize(list);
  }
  state.SetItemsProcessed(state.iterations() * 500);
  state.counters["chars"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ResultList500);

Variant PeopleRows(int count) {
  data::foxsql::Rows rows;
  rows.names = {u"id", u"name"};
  for (int i = 1; i <= count; ++i) {
    rows.rows.push_back({Variant(int32_t{i}), Padded(u"名字" + automation::LongToText(i), 20)});
  }
  auto rs = std::make_shared<data::StaticRecordset>();
  rs->Load(std::move(rows));
  rs->SetPageSize(20);
  return Variant(automation::ObjectPtr(rs));
}

Variant RequestFor(int page) {
  auto request = std::make_shared<host::MemoryRequest>();
  request->SetQueryString(u"Page=" + automation::LongToText(page) + u"&keyword=%D6%D0&moden=name");
  return Variant(automation::ObjectPtr(request));
}

// Every page of a 20,000-row list as a list page shows it.
void BM_ListPages20000(benchmark::State& state) {
  Variant rs = PeopleRows(20000);
  auto& records = automation::ObjectCast<data::Recordset>(rs);
  const int pages = records.PageCount();
  std::vector<Variant> requests;
  for (int p = 1; p <= pages; ++p) requests.push_back(RequestFor(p));
  for (auto _ : state) {
    for (Variant& request : requests) {
      arenix::show::NoPage(request, rs);
      Text page;
      for (int16_t n = 1; n <= records.PageSize() && !records.Eof(); ++n, records.MoveNext()) {
        page += arenix::show::GridTr(n);
        page += u"<td>" + automation::CStr(records.Field(u"name")) + u"</td></tr>";
      }
      page += arenix::show::PageBar(request, rs, u"");
      benchmark::DoNotOptimize(page);
    }
  }
  state.SetItemsProcessed(state.iterations() * 20000);
}
BENCHMARK(BM_ListPages20000)->Unit(benchmark::kMillisecond);

// CommShowPage alone, by name as a page calls it, on the 20,000-row set.
void BM_PageBar20000(benchmark::State& state) {
  Variant rs = PeopleRows(20000);
  Variant request = RequestFor(500);
  Variant list(Text(u"grp|team"));
  arenix::ArenixCls cls;
  std::vector<Variant*> args = {&request, &rs, &list};
  for (auto _ : state) benchmark::DoNotOptimize(arenix::CallMethod(cls, u"CommShowPage", args));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PageBar20000);

}  // namespace

BENCHMARK_MAIN();
