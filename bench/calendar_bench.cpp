// The calendar of a month with 300 dated records, as a news or schedule
// page draws it on every request: the month's query through the engine on
// a real free table, the walk over the records and the month's markup.
// Beside it, the same month of an empty table (rendering and an empty
// query alone). Rates are calls per second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "arenix/frame/arenix_cls.h"
#include "automation/clock.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "data/data.h"
#include "host/memory_host.h"

namespace {

namespace fs = std::filesystem;
using automation::Text;
using automation::Variant;

// A folder with a table of `in_month` records spread over January 2013
// and as many again in other months.
class CalendarFolder {
 public:
  explicit CalendarFolder(int in_month) {
    arenix::RegisterClasses();
    folder_ = fs::temp_directory_path() / ("arenix_calendar_bench_" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
    conn = Variant(automation::CreateObject(u"Adodb.Connection"));
    auto& c = automation::ObjectCast<data::Connection>(conn);
    c.Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(folder_.string()));
    c.Execute(u"CREATE TABLE news FREE (DateAndTim C(14), title C(40))");
    for (int i = 0; i < 2 * in_month; ++i) {
      int month = i % 2 ? 1 : 2 + (i / 2) % 11;
      int day = 1 + (i * 7) % 28;
      char stamp[32];
      std::snprintf(stamp, sizeof stamp, "2013%02d%02d%02d%02d00", month, day, i % 24, i % 60);
      c.Execute(u"INSERT INTO news (DateAndTim, title) VALUES ('" + automation::FromAscii(stamp) +
                u"', '运动会新闻')");
    }
    rs = Variant(automation::CreateObject(u"Adodb.RecordSet"));
  }
  ~CalendarFolder() {
    automation::ObjectCast<data::Connection>(conn).Close();
    fs::remove_all(folder_);
  }

  Variant conn, rs;

 private:
  fs::path folder_;
};

void RunCalendar(benchmark::State& state, int in_month) {
  CalendarFolder folder(in_month);
  automation::ScopedClock clock(automation::DateSerial(2013, 1, 20), std::nullopt);
  arenix::ArenixCls component;
  auto request = std::make_shared<host::MemoryRequest>();
  request->SetQueryString(u"date=20130105");
  Variant req{automation::ObjectPtr(request)};
  size_t bytes = 0;
  for (auto _ : state) {
    Text page = component.CommShowCalendar(req, folder.conn, folder.rs, u"news", u"", u"type=news",
                                           u"#EEEEEE", u"#AAAAAA", u"Pink", u"#DDDDDD", u"Yellow",
                                           u"#DD9999", u"blue");
    bytes = page.size();
    benchmark::DoNotOptimize(page);
  }
  state.counters["calls_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                     benchmark::Counter::kIsRate);
  state.counters["chars"] = static_cast<double>(bytes);
}

void BM_CalendarMonthOf300Records(benchmark::State& state) { RunCalendar(state, 300); }
BENCHMARK(BM_CalendarMonthOf300Records)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_CalendarEmptyMonth(benchmark::State& state) { RunCalendar(state, 0); }
BENCHMARK(BM_CalendarEmptyMonth)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
