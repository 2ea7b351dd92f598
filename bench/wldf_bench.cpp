// One result-entry save (CommWldfSave's procedure) on the sample meet grown
// to 20,000 Play rows: the heats of a 64-entrant round (results, places,
// heat places, seeding of the final) and an 8-entrant final (places,
// points, records, grades). Each runs on the meet database engine over the
// free tables and, for the ratio, on the same engine's statements over
// native SQLite tables holding the same rows (the dialect translated the
// same way, the same functions and collations, indexes on the event
// columns). Prints time per save, statements per save and the ratios, and
// what the undo journal costs (the same saves with it switched off). The
// flushes make single runs noisy: repeat them, interleaved, and the ratios
// are taken from the medians:
//   build/wldf_bench --benchmark_filter=Heats64 --benchmark_repetitions=10
//     --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "arenix/meet/demo/demo_meet.h"
#include "bench/ratio_reporter.h"
#include "arenix/meet/result_entry_save.h"
#include "automation/object.h"
#include "automation/runtime.h"
#include "data/connection.h"
#include "data/dbf/table.h"
#include "data/dbf/undo_journal.h"
#include "data/foxsql/collation.h"
#include "data/foxsql/functions.h"
#include "data/foxsql/translate.h"
#include "data/recordset.h"
#include "host/memory_host.h"

namespace {

using automation::FromUtf8;
using automation::Text;
using automation::TextView;
using automation::Variant;
namespace dbf = data::dbf;

constexpr uint32_t kPlayRows = 20000;
const char* kTables[] = {"Play", "PlaySour", "Age", "Item", "Item_Sub", "Record", "Fcgqn_CjDfDzb"};

// ---- the engine, counting what the save asks of it ----

int g_statements = 0;

class CountingConnection : public data::FreeTableConnection {
 public:
  Variant Execute(TextView sql, int32_t* affected) override {
    ++g_statements;
    return FreeTableConnection::Execute(sql, affected);
  }
};

class CountingRecordset : public data::StaticRecordset {
 public:
  void Open(TextView sql, const Variant& connection, int cursor, int lock) override {
    ++g_statements;
    StaticRecordset::Open(sql, connection, cursor, lock);
  }
};

// ---- the same statements on native SQLite tables ----

class NativeConnection : public data::Connection {
 public:
  /// The native database file, or a copy of it in memory.
  explicit NativeConnection(const std::string& path, bool in_memory = false) {
    sqlite3_open(path.c_str(), &db_);
    sqlite3_exec(db_, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    if (in_memory) {
      sqlite3* memory = nullptr;
      sqlite3_open(":memory:", &memory);
      sqlite3_backup* copy = sqlite3_backup_init(memory, "main", db_, "main");
      sqlite3_backup_step(copy, -1);
      sqlite3_backup_finish(copy);
      sqlite3_close(db_);
      db_ = memory;
    }
    data::foxsql::RegisterCollations(db_);
    data::foxsql::RegisterFunctions(db_, &errors_);
  }
  ~NativeConnection() override { sqlite3_close(db_); }

  void Open(TextView) override {}
  void Close() override {}
  bool IsOpen() const override { return true; }
  Text ConnectionString() const override { return u"native"; }

  Variant Execute(TextView sql, int32_t* affected) override {
    ++g_statements;
    data::foxsql::Translation t = data::foxsql::Translate(sql);
    int changes = 0;
    data::foxsql::Rows rows = Run(t.sql, &changes);
    if (t.IsWrite()) {
      if (affected) *affected = changes;
      return Variant();
    }
    auto rs = std::make_shared<data::StaticRecordset>();
    rs->Load(std::move(rows));
    return Variant(automation::ObjectPtr(rs));
  }

  data::foxsql::Rows Query(TextView sql) {
    int changes = 0;
    return Run(data::foxsql::Translate(sql).sql, &changes);
  }

  sqlite3* db() { return db_; }

 private:
  data::foxsql::Rows Run(const std::string& sql, int* changes) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
      throw automation::Error(1004, FromUtf8(std::string(sqlite3_errmsg(db_)) + ": " + sql));
    data::foxsql::Rows rows;
    const int n = sqlite3_column_count(st);
    for (int i = 0; i < n; ++i) rows.names.push_back(FromUtf8(sqlite3_column_name(st, i)));
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      std::vector<Variant> row;
      for (int i = 0; i < n; ++i) {
        const char* decl = sqlite3_column_decltype(st, i);
        switch (sqlite3_column_type(st, i)) {
          case SQLITE_NULL: row.push_back(Variant::Null()); break;
          case SQLITE_INTEGER:
            if (decl && decl[0] == 'L')
              row.emplace_back(sqlite3_column_int(st, i) != 0);
            else
              row.emplace_back(static_cast<int32_t>(sqlite3_column_int64(st, i)));
            break;
          case SQLITE_FLOAT: row.emplace_back(sqlite3_column_double(st, i)); break;
          default: row.emplace_back(FromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i))));
        }
      }
      rows.rows.push_back(std::move(row));
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) throw automation::Error(1004, FromUtf8(std::string(sqlite3_errmsg(db_)) + ": " + sql));
    *changes = sqlite3_changes(db_);
    return rows;
  }

  sqlite3* db_ = nullptr;
  data::foxsql::ErrorSlot errors_;
};

class NativeRecordset : public data::StaticRecordset {
 public:
  void Open(TextView sql, const Variant& connection, int, int) override {
    ++g_statements;
    Load(automation::ObjectCast<NativeConnection>(connection).Query(sql));
  }
};

// ---- the meet ----

std::string SqlValue(const Variant& v) {
  if (v.IsNull() || v.IsEmpty()) return "NULL";
  if (v.Is<bool>()) return v.As<bool>() ? "1" : "0";
  if (v.IsString()) {
    std::string s = automation::ToUtf8(v.text());
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
  }
  return automation::ToUtf8(automation::CStr(automation::CDbl(v) == 0 ? Variant(0) : v));
}

struct BenchMeet {
  std::string folder, native_path;

  BenchMeet() {
    std::string pattern = (std::filesystem::temp_directory_path() / "arenix-wldf-XXXXXX").string();
    folder = ::mkdtemp(pattern.data());
    native_path = folder + "/native.sqlite";
    arenix::meet::demo::WriteDemoMeet(folder);
    Grow();
    CopyToNative();
  }
  ~BenchMeet() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }

  // The sample meet's entrants again under other age groups up to 20,000
  // rows, then the two rounds the benchmark saves.
  void Grow() {
    auto play = dbf::Table::Open(folder + "/Play.dbf", dbf::Access::kWrite);
    const uint32_t sample = play->RecordCount();
    const int age = play->FieldIndex(u"年龄组");
    std::vector<Variant> row;
    for (uint32_t copy = 1; play->RecordCount() < kPlayRows - 72; ++copy)
      for (uint32_t r = 0; r < sample && play->RecordCount() < kPlayRows - 72; ++r) {
        play->ReadRecord(r, row);
        row[static_cast<size_t>(age)] = Variant(FromUtf8("年龄组" + std::to_string(copy)));
        play->Append(row);
      }
    auto add = [&](const std::string& event, int n, int heats) {
      for (int i = 1; i <= n; ++i) {
        std::vector<Variant> v(play->fields().size());
        auto set = [&](const char16_t* name, Variant value) { v[static_cast<size_t>(play->FieldIndex(name))] = value; };
        const std::string number = std::to_string(9000 + i);
        set(u"ID", Variant(FromUtf8("B" + number)));
        set(u"编号", Variant(FromUtf8(number)));
        set(u"运动员", Variant(FromUtf8("选手" + number)));
        set(u"代表队", Variant(FromUtf8("代表队" + std::to_string(i % 12))));
        set(u"年龄组", Variant(Text(u"公开组")));
        set(u"性别", Variant(true));
        set(u"参赛项目", Variant(FromUtf8(event)));
        set(u"径赛田赛", Variant(Text(u"径赛")));
        set(u"分道", Variant(true));
        set(u"分值比例", Variant(1.0));
        set(u"比赛组次", Variant(int32_t{(i - 1) % heats + 1}));
        set(u"比赛道次", Variant(int32_t{(i - 1) / heats + 1}));
        set(u"比赛等级", Variant(Text(i == 2 ? u"一级" : u"")));
        play->Append(v);
      }
    };
    add("100米", 64, 8);
    add("200米", 8, 1);
    auto sour = dbf::Table::Open(folder + "/PlaySour.dbf", dbf::Access::kWrite);
    for (const char16_t* stage : {u"预赛", u"决赛"})
      sour->Append({Variant(Text(u"100米")), Variant(Text(u"公开组")), Variant(true), Variant(Text()),
                    Variant(Text(stage)), Variant(false)});
    sour->Append({Variant(Text(u"200米")), Variant(Text(u"公开组")), Variant(true), Variant(Text()),
                  Variant(Text(u"决赛")), Variant(false)});
  }

  void CopyToNative() {
    NativeConnection native(native_path);
    sqlite3* db = native.db();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const char* name : kTables) {
      auto t = dbf::Table::Open(folder + "/" + name + ".dbf", dbf::Access::kRead);
      std::string create = std::string("CREATE TABLE \"") + name + "\"(";
      for (size_t c = 0; c < t->fields().size(); ++c) {
        const auto& f = t->fields()[c];
        // Texts keep text affinity, so that padded digits stay texts.
        const char type = static_cast<char>(f.type);
        create += (c ? ", \"" : "\"") + automation::ToUtf8(f.name) + "\" " +
                  (type == 'C' || type == 'M' ? std::string("CHAR") : std::string(1, type));
      }
      sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr);
      std::vector<Variant> row;
      for (uint32_t r = 0; r < t->RecordCount(); ++r) {
        if (t->IsDeleted(r)) continue;
        t->ReadRecord(r, row);
        std::string insert = std::string("INSERT INTO \"") + name + "\" VALUES(";
        for (size_t c = 0; c < row.size(); ++c) insert += (c ? "," : "") + SqlValue(row[c]);
        sqlite3_exec(db, (insert + ")").c_str(), nullptr, nullptr, nullptr);
      }
    }
    // The entry filter compares trimmed event and age group columns.
    sqlite3_exec(db,
                 "CREATE INDEX play_event ON Play(参赛项目 COLLATE fox_alltrim, 年龄组 COLLATE fox_alltrim);"
                 "CREATE INDEX sour_event ON PlaySour(参赛项目 COLLATE fox_alltrim, 年龄组 COLLATE fox_alltrim);",
                 nullptr, nullptr, nullptr);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  }
};

BenchMeet& TheMeet() {
  static BenchMeet meet;
  return meet;
}

// ---- the two saves ----

struct Round {
  const char* event;
  int entrants, stages, stage;
};
constexpr Round kHeats{"100米", 64, 2, 1};
constexpr Round kFinal{"200米", 8, 1, 4};

// `salt` changes the marks from one save to the next, as a real save does:
// a save of the very marks stored writes nothing.
Variant FormOf(const Round& round, int salt = 0) {
  auto r = std::make_shared<host::MemoryRequest>();
  auto set = [&](const std::string& k, const std::string& v) { r->AddForm(FromUtf8(k), FromUtf8(v)); };
  set("item", round.event);
  set("age", "公开组");
  set("sex", "男");
  set("scs", std::to_string(round.stages));
  set("sc", std::to_string(round.stage));
  set("bsjg", "0");
  set("TsJs", "径赛");
  set("Record", "    1050 ");
  set("Record1", "    1000 ");
  set("Record2", "    1040 ");
  set("Record3", "    1030 ");
  set("recordJf2", "8");
  set("recordType", "2");
  set("ydhmc", "运动会");
  set("ydhdd", "体育场");
  std::string list;
  for (int i = 1; i <= round.entrants; ++i) {
    const std::string n = std::to_string(9000 + i);
    list += "|" + n;
    const int h = 20 + (i * 37 + salt) % 90;
    set("playcj_2_" + n, std::to_string(10 + h / 100));
    set("playcj_3_" + n, std::to_string(h % 100 + 100).substr(1));
  }
  set("ydy_bh_list", list);
  return Variant(automation::ObjectPtr(r));
}

arenix::meet::WldfSaveSettings Settings() {
  arenix::meet::WldfSaveSettings s;
  s.lanes = 8;
  s.lane_order = u"45362718";
  s.several_heats = 2;
  s.record_flags_auto = 1;
  s.grades_in_use = 1;
  s.grade_points_auto = 1;
  return s;
}

Variant Array1(std::vector<double> values) {
  automation::Array a{1, {}};
  for (double v : values) a.items.emplace_back(v);
  return Variant(std::move(a));
}

template <class Conn, class Rs>
void SaveLoop(benchmark::State& state, const Round& round, Variant conn) {
  Variant rs(automation::ObjectPtr(std::make_shared<Rs>()));
  const arenix::meet::WldfSaveSettings settings = Settings();
  g_statements = 0;
  int salt = 0;
  for (auto _ : state) {
    Variant request = FormOf(round, ++salt);
    Variant points = Array1({9, 7, 6, 5, 4, 3, 2, 1});
    Variant grades = Array1({10, 8, 3, 2, 1, 0});
    arenix::meet::WldfSave(request, conn, rs, settings, points, grades);
  }
  state.counters["statements/save"] = static_cast<double>(g_statements) / static_cast<double>(state.iterations());
}

Variant EngineConnection() {
  auto c = std::make_shared<CountingConnection>();
  c->Open(u"provider=vfpoledb;data source=" + FromUtf8(TheMeet().folder));
  return Variant(automation::ObjectPtr(c));
}

Variant NativeConn(bool in_memory = false) {
  return Variant(automation::ObjectPtr(std::make_shared<NativeConnection>(TheMeet().native_path, in_memory)));
}

void BM_EngineHeats64(benchmark::State& s) { SaveLoop<CountingConnection, CountingRecordset>(s, kHeats, EngineConnection()); }
void BM_NativeHeats64(benchmark::State& s) { SaveLoop<NativeConnection, NativeRecordset>(s, kHeats, NativeConn()); }
void BM_NativeMemoryHeats64(benchmark::State& s) {
  SaveLoop<NativeConnection, NativeRecordset>(s, kHeats, NativeConn(true));
}
// The same save with the undo journal switched off: what the journal costs.
void BM_EngineHeats64NoJournal(benchmark::State& s) {
  data::dbf::SetJournalEnabled(false);
  SaveLoop<CountingConnection, CountingRecordset>(s, kHeats, EngineConnection());
  data::dbf::SetJournalEnabled(true);
}
void BM_EngineFinal8NoJournal(benchmark::State& s) {
  data::dbf::SetJournalEnabled(false);
  SaveLoop<CountingConnection, CountingRecordset>(s, kFinal, EngineConnection());
  data::dbf::SetJournalEnabled(true);
}
void BM_EngineFinal8(benchmark::State& s) { SaveLoop<CountingConnection, CountingRecordset>(s, kFinal, EngineConnection()); }
void BM_NativeFinal8(benchmark::State& s) { SaveLoop<NativeConnection, NativeRecordset>(s, kFinal, NativeConn()); }

void BM_NativeMemoryFinal8(benchmark::State& s) {
  SaveLoop<NativeConnection, NativeRecordset>(s, kFinal, NativeConn(true));
}

BENCHMARK(BM_EngineHeats64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineHeats64NoJournal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineFinal8NoJournal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NativeHeats64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NativeMemoryHeats64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineFinal8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NativeFinal8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NativeMemoryFinal8)->Unit(benchmark::kMillisecond);

// A benchmark's time per save in ms: the median of its repetitions when it
// was repeated, else its one run.
double Ms(const bench::RatioReporter& reporter, const std::string& name, bool cpu = false) {
  for (const std::string& n : {name + "_median", name}) {
    const double s = cpu ? reporter.CpuSecondsPerIteration(n) : reporter.SecondsPerIteration(n);
    if (s != 0) return s * 1e3;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const std::string what : {"Heats64", "Final8"}) {
    const double engine = Ms(reporter, "BM_Engine" + what);
    const double engine_cpu = Ms(reporter, "BM_Engine" + what, true);
    if (engine == 0) continue;
    for (const std::string native_kind : {"Native", "NativeMemory"}) {
      const double native = Ms(reporter, "BM_" + native_kind + what);
      const double native_cpu = Ms(reporter, "BM_" + native_kind + what, true);
      if (native == 0) continue;
      std::printf("result-entry save %s, engine vs %s: real %.2f / %.2f ms = %.2f, CPU %.2f / %.2f ms = %.2f "
                  "(target <= 3)\n",
                  what.c_str(), native_kind.c_str(), engine, native, engine / native, engine_cpu, native_cpu,
                  engine_cpu / native_cpu);
    }
    const double bare = Ms(reporter, "BM_Engine" + what + "NoJournal");
    const double bare_cpu = Ms(reporter, "BM_Engine" + what + "NoJournal", true);
    if (bare != 0)
      std::printf("result-entry save %s, with vs without the journal: real %.2f / %.2f ms = %.2f, CPU %.2f / %.2f ms "
                  "= %.2f%s\n",
                  what.c_str(), engine, bare, engine / bare, engine_cpu, bare_cpu, engine_cpu / bare_cpu,
                  what == "Heats64" ? " (target <= 1.3)" : "");
    if (what == "Final8") std::printf("final save: %.2f ms real, %.2f ms CPU (target < 50 ms)\n", engine, engine_cpu);
  }
  benchmark::Shutdown();
  return 0;
}
