// Decoding speed of the free-table layer on a Play table of 20,000 entries
// (the meet's widest table: four 237-byte stage fields, GBK texts), beside
// Debian's python3-dbfread reading the same file.
//
//   dbf_bench [--benchmark_filter=...]
// After the benchmarks it prints the full-decode rates of both readers and
// their ratio (the target is at least 50).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "automation/text.h"
#include "data/dbf/table.h"
#include "arenix/meet/demo/demo_meet.h"
#include "arenix/meet/meet_schema.h"

namespace {

using automation::Text;
using automation::Variant;
using data::dbf::Access;
using data::dbf::Table;

constexpr uint32_t kRows = 20000;

std::string g_dir;
std::string g_play;

// The sample meet's Play rows, repeated with fresh identifiers up to kRows.
void MakePlay() {
  std::string pattern = (std::filesystem::temp_directory_path() / "arenix-dbf-bench-XXXXXX").string();
  g_dir = ::mkdtemp(pattern.data());
  arenix::meet::demo::WriteDemoMeet(g_dir + "/meet");
  auto sample = Table::Open(g_dir + "/meet/Play.dbf", Access::kRead);
  std::vector<std::vector<Variant>> rows(sample->RecordCount());
  for (uint32_t r = 0; r < sample->RecordCount(); ++r) sample->ReadRecord(r, rows[r]);
  g_play = g_dir + "/Play.dbf";
  auto play = Table::Create(g_play, arenix::meet::MeetTableFields("Play"));
  int id = play->FieldIndex(u"ID"), number = play->FieldIndex(u"编号");
  data::dbf::TableLock lock(*play, data::dbf::LockKind::kExclusive);
  for (uint32_t r = 0; r < kRows; ++r) {
    std::vector<Variant> row = rows[r % rows.size()];
    char buf[16];
    std::snprintf(buf, sizeof buf, "P%08u", r + 1);
    row[static_cast<size_t>(id)] = Variant(automation::FromAscii(buf));
    std::snprintf(buf, sizeof buf, "%06u", r + 1);
    row[static_cast<size_t>(number)] = Variant(automation::FromAscii(buf));
    play->Append(row);
  }
}

void BM_FullDecodePlay(benchmark::State& state) {
  auto play = Table::Open(g_play, Access::kRead);
  std::vector<Variant> values;
  for (auto _ : state) {
    data::dbf::TableLock lock(*play, data::dbf::LockKind::kShared);
    for (uint32_t r = 0; r < play->RecordCount(); ++r) {
      if (play->IsDeleted(r)) continue;
      play->ReadRecord(r, values);
      benchmark::DoNotOptimize(values.data());
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kRows);
}
BENCHMARK(BM_FullDecodePlay)->Unit(benchmark::kMillisecond);

// The engine's pattern: one field of every record (a filter or an index).
void BM_OneFieldOfEveryRecord(benchmark::State& state) {
  auto play = Table::Open(g_play, Access::kRead);
  int field = play->FieldIndex(state.range(0) == 0 ? u"参赛项目" : u"比赛组次");
  Variant value;
  for (auto _ : state) {
    data::dbf::TableLock lock(*play, data::dbf::LockKind::kShared);
    for (uint32_t r = 0; r < play->RecordCount(); ++r) {
      play->ReadValue(r, field, value);
      benchmark::DoNotOptimize(value);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kRows);
  state.SetLabel(state.range(0) == 0 ? "text field" : "integer field");
}
BENCHMARK(BM_OneFieldOfEveryRecord)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Statement-sized writes: one update of one record under its own lock.
void BM_UpdateOneRecord(benchmark::State& state) {
  auto play = Table::Open(g_play, Access::kWrite);
  int field = play->FieldIndex(u"比赛成绩");
  uint32_t r = 0;
  for (auto _ : state) {
    play->Update(r, std::vector<data::dbf::FieldValue>{{field, Variant(Text(u"    1234 "))}});
    r = (r + 7919) % kRows;
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_UpdateOneRecord)->Unit(benchmark::kMicrosecond);

double CpuSeconds() {
  timespec t;
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

// Best of several full decodes, in records per second of processor time
// (both readers are timed so, which keeps the ratio fair on a busy machine).
double ArenixRate() {
  auto play = Table::Open(g_play, Access::kRead);
  std::vector<Variant> values;
  double best = 1e300;
  for (int pass = 0; pass < 10; ++pass) {
    double start = CpuSeconds();
    for (uint32_t r = 0; r < play->RecordCount(); ++r) play->ReadRecord(r, values);
    best = std::min(best, CpuSeconds() - start);
  }
  return kRows / best;
}

// dbfread's best of three full passes (timed inside Python in processor
// time, so the interpreter's start is not counted), in records per second;
// 0 when it cannot run.
double DbfreadRate() {
  std::string script =
      "import sys, time, dbfread\n"
      "best = 1e300\n"
      "for _ in range(3):\n"
      "    t = dbfread.DBF(sys.argv[1], encoding='cp936', load=False)\n"
      "    s = time.process_time()\n"
      "    n = sum(1 for _ in t)\n"
      "    best = min(best, time.process_time() - s)\n"
      "print(n, best)\n";
  std::string path = g_dir + "/read.py";
  FILE* f = std::fopen(path.c_str(), "w");
  std::fputs(script.c_str(), f);
  std::fclose(f);
  FILE* p = ::popen(("/usr/bin/python3 " + path + " " + g_play).c_str(), "r");
  if (!p) return 0;
  unsigned long n = 0;
  double seconds = 0;
  int got = std::fscanf(p, "%lu %lf", &n, &seconds);
  ::pclose(p);
  if (got != 2 || n != kRows || seconds <= 0) return 0;
  return n / seconds;
}

}  // namespace

int main(int argc, char** argv) {
  MakePlay();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  double ours = ArenixRate();
  double theirs = DbfreadRate();
  std::printf("\nPlay, %u records of %u bytes, full decode (processor time):\n", kRows,
              Table::Open(g_play, Access::kRead)->schema().record_length);
  std::printf("  arenix   %12.0f records/s\n", ours);
  if (theirs > 0)
    std::printf("  dbfread  %12.0f records/s\n  ratio    %12.1f (target: at least 50)\n", theirs, ours / theirs);
  else
    std::printf("  dbfread  not available (/usr/bin/python3 with python3-dbfread)\n");
  std::filesystem::remove_all(g_dir);
  return 0;
}
