// Online registration and result formatting at the speed pages need them.
//
//   meet_bench [--benchmark_filter=...]
// BM_WlbmSave: CommWlbmSave of one delegation's form of 40 athletes with 5
// event slots each (3 counted, 2 further; identity numbers checked at level
// 4) on the sample meet; counters: statements issued per save (record set
// opens and executed statements, counted by the connection and record set
// the page passes) and the time of one save.
// BM_ShowFormatCj_Sub: the result text of stored results of every kind;
// calls per second.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "arenix/check/postcard.h"
#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/demo/demo_meet.h"
#include "arenix/meet/stage_field.h"
#include "automation/coerce.h"
#include "data/connection.h"
#include "data/recordset.h"
#include "host/memory_host.h"

namespace {

using automation::FromAscii;
using automation::LongToText;
using automation::Text;
using automation::Variant;

// The page's connection and record set, counting the statements they run.
struct Counts {
  int64_t executed = 0, opened = 0;
};
class CountingConnection : public data::FreeTableConnection {
 public:
  explicit CountingConnection(Counts* counts) : counts_(counts) {}
  Variant Execute(automation::TextView sql, int32_t* affected) override {
    ++counts_->executed;
    return FreeTableConnection::Execute(sql, affected);
  }

 private:
  Counts* counts_;
};
class CountingRecordset : public data::StaticRecordset {
 public:
  explicit CountingRecordset(Counts* counts) : counts_(counts) {}
  void Open(automation::TextView sql, const Variant& connection, int cursor, int lock) override {
    ++counts_->opened;
    StaticRecordset::Open(sql, connection, cursor, lock);
  }

 private:
  Counts* counts_;
};

constexpr int kAthletes = 40;

struct SampleMeet {
  std::string dir;
  SampleMeet() {
    std::string pattern = (std::filesystem::temp_directory_path() / "arenix-meet-bench-XXXXXX").string();
    dir = ::mkdtemp(pattern.data());
    arenix::meet::demo::WriteDemoMeet(dir);
    // 第一中学 has 8 empty rows in 高中组 (N1101-N1108); open 32 more.
    data::FreeTableConnection c;
    c.Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(dir));
    for (int k = 9; k <= kAthletes; ++k)
      c.Execute(u"Insert Into Ydybm (ID, 年龄组, 代表队) Values ('N11" + FromAscii(std::to_string(k)) +
                u"', '高中组', '第一中学')");
    c.Close();
  }
  ~SampleMeet() { std::filesystem::remove_all(dir); }
};

// The form: 20 men and 20 women, two individual events each and two more
// in the further slots, eight men in the two teams of 4×400米接力 and four
// women in 4×100米接力.
std::shared_ptr<host::MemoryRequest> DelegationForm() {
  auto request = std::make_shared<host::MemoryRequest>();
  const char16_t* events[] = {u"100米", u"400米", u"1500米", u"跳远", u"铅球"};
  Text list = u"0";
  for (int k = 0; k < kAthletes; ++k) {
    const Text id = u"N11" + FromAscii((k + 1 < 10 ? "0" : "") + std::to_string(k + 1));
    const bool man = k % 2 == 0;
    list += u"|" + id;
    request->AddForm(u"ydy_xm_" + id, u"运动员" + LongToText(k + 1));
    request->AddForm(u"ydy_xb_" + id, man ? u"True" : u"False");
    char body[32];
    std::snprintf(body, sizeof body, "110105200803%02d%03d", 1 + k % 28, 100 + 2 * k + (man ? 1 : 0));
    Text number = FromAscii(body);
    request->AddForm(u"ydy_fjzd_" + id + u"_4", number + arenix::check::PostcardCheckCharacter(number));
    request->AddForm(u"ydy_fjzd_" + id + u"_1", u"高二");
    Text slots[5] = {events[k % 5], events[(k + 1) % 5], u"", events[(k + 2) % 5], events[(k + 3) % 5]};
    if (man && k < 16) slots[2] = k < 8 ? u"4×400米接力_A" : u"4×400米接力_B";
    if (!man && k < 8) slots[2] = u"4×100米接力";
    for (int j = 0; j < 5; ++j) request->AddForm(u"ydy_csxm_" + id + u"_" + LongToText(j + 1), slots[j]);
    request->AddForm(u"ydy_fgjl_" + id, u"王建国");
  }
  request->AddForm(u"ydy_bh_list", list);
  request->AddForm(u"ydy_age", u"高中组");
  request->AddForm(u"ydy_team", u"第一中学");
  return request;
}

void BM_WlbmSave(benchmark::State& state) {
  SampleMeet meet;
  Counts counts;
  auto connection = std::make_shared<CountingConnection>(&counts);
  connection->Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(meet.dir));
  Variant conn{automation::ObjectPtr(connection)};
  Variant rs{automation::ObjectPtr(std::make_shared<CountingRecordset>(&counts))};
  Variant request{automation::ObjectPtr(DelegationForm())};
  arenix::ArenixCls cls;
  int64_t saves = 0;
  for (auto _ : state) {
    auto response = std::make_shared<host::MemoryResponse>();
    Variant resp{automation::ObjectPtr(response)};
    cls.CommWlbmSave(request, resp, conn, rs, kAthletes, 40, 3, 2, u"1001", 4, 0, 0, u"", u"", 1, 1, 0, 0, u"混");
    if (response->ended()) {
      state.SkipWithError(automation::ToUtf8(response->text()).c_str());
      break;
    }
    ++saves;
  }
  if (saves > 0) {
    state.counters["statements_per_save"] = static_cast<double>(counts.executed + counts.opened) / static_cast<double>(saves);
    state.counters["updates_per_save"] = static_cast<double>(counts.executed) / static_cast<double>(saves);
    state.counters["saves_per_s"] = benchmark::Counter(static_cast<double>(saves), benchmark::Counter::kIsRate);
  }
}
BENCHMARK(BM_WlbmSave)->Unit(benchmark::kMillisecond);

void BM_ShowFormatCj_Sub(benchmark::State& state) {
  struct Shown {
    const char16_t *kind, *format, *stored;
    int16_t style;
  };
  const Shown results[] = {
      {u"径赛", u"", u"    1012 ", 1}, {u"径赛", u"", u"   10230 ", 1}, {u"田赛", u"", u"    1234 ", 1},
      {u"田赛", u"", u"000012340", 1}, {u"径赛", u"", u" 215300  ", 2}, {u"田赛", u"####个", u"     7856", 1},
      {u"全能", u"", u"     3012", 1}, {u"径赛", u"", u"         ", 1},
  };
  arenix::ArenixCls cls;
  Variant rs;
  size_t i = 0;
  for (auto _ : state) {
    const Shown& r = results[i++ % std::size(results)];
    benchmark::DoNotOptimize(cls.CommShowFormatCj_Sub(rs, 1, r.style, r.kind, r.format, r.stored));
  }
  state.counters["calls_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ShowFormatCj_Sub);

void BM_StageFieldPackUnpack(benchmark::State& state) {
  arenix::meet::StageColumns c;
  c.order = 307;
  c.heat = 3;
  c.lane = 7;
  c.heat_info = u"003024";
  c.result = u"    1012 ";
  c.place = 2;
  c.grade = u"一级";
  c.team = u"第一中学";
  c.remark = u"预赛破纪录";
  for (auto _ : state) benchmark::DoNotOptimize(arenix::meet::UnpackStageField(arenix::meet::PackStageField(c)));
  state.counters["fields_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StageFieldPackUnpack);

}  // namespace

BENCHMARK_MAIN();
