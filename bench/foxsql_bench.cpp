// The meet database engine against native SQLite on the statement mix of one
// result-entry save: a meet of 20,000 Play rows (the columns of the meet's
// Play table, Chinese texts), and the ~45 selects and updates that saving
// one event, age group and sex issues, filtered as the entry filter writes
// it (AllTrim(col)=='x' ... through the engine; plain equality on indexed
// columns natively). Prints both and their ratio.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "automation/text.h"
#include "data/dbf/table.h"
#include "arenix/meet/meet_schema.h"
#include "data/foxsql/collation.h"
#include "data/foxsql/database.h"
#include "data/foxsql/functions.h"

namespace {

using automation::FromUtf8;
using automation::Text;
using automation::Variant;
namespace dbf = data::dbf;

constexpr int kRows = 20000;
constexpr int kPerGroup = 12;  // entrants of one event, age group and sex
constexpr int kEvents = 40;
constexpr int kAges = 21;

std::string EventName(int e) {
  static const char* kinds[] = {"米", "米栏", "米跨栏", "米接力"};
  return std::to_string(60 + e * 20) + kinds[e % 4];
}
std::string AgeName(int a) {
  static const char* names[] = {"甲", "乙", "丙", "丁", "戊", "己", "庚"};
  return std::string(names[a % 7]) + "组" + std::to_string(a / 7 + 1);
}

struct Group {
  std::string event, age;
  bool men;
  std::vector<std::string> numbers;
};

// Row i of Play: entrants of one event, age group and sex are neighbours.
struct RowMaker {
  int i;
  int group() const { return i / kPerGroup; }
  int event() const { return group() % kEvents; }
  int age() const { return group() / kEvents % kAges; }
  bool men() const { return group() / (kEvents * kAges) % 2 == 0; }
  std::string number() const { return std::to_string(i + 1); }
};

Variant PlayValue(const RowMaker& r, const dbf::FieldSpec& f) {
  std::string n = automation::ToUtf8(f.name);
  if (n == "ID" || n == "编号") return Variant(FromUtf8(r.number()));
  if (n == "运动员") return Variant(FromUtf8("运动员" + r.number()));
  if (n == "代表队") return Variant(FromUtf8("第" + std::to_string(r.i % 30 + 1) + "中学代表队"));
  if (n == "年龄组") return Variant(FromUtf8(AgeName(r.age())));
  if (n == "性别") return Variant(r.men());
  if (n == "参赛项目") return Variant(FromUtf8(EventName(r.event())));
  if (n == "径赛田赛") return Variant(Text(u"径赛"));
  if (n == "分值比例") return Variant(1.0);
  if (n == "比赛组次") return Variant(int32_t{1});
  if (n == "比赛道次") return Variant(int32_t{r.i % kPerGroup + 1});
  if (n == "预赛信息" || n == "决赛信息")
    return Variant(FromUtf8("   1   1   1  1  12    10 12       0   0   0.0  二级"));
  if (f.type == dbf::FieldType::kLogical) return Variant(false);
  if (f.type == dbf::FieldType::kInteger || f.type == dbf::FieldType::kNumeric) return Variant(int32_t{0});
  return Variant(Text());
}

std::string NativeLiteral(const Variant& v) {
  if (v.Is<bool>()) return v.As<bool>() ? "1" : "0";
  if (v.Is<int32_t>()) return std::to_string(v.As<int32_t>());
  if (v.Is<double>()) return std::to_string(v.As<double>());
  std::string s = automation::ToUtf8(v.text());
  return "'" + s + "'";
}

// The meet: the folder of free tables (the meet's own Play and PlaySour
// columns) and the same rows in a native SQLite database, made once.
struct Meet {
  std::string folder;
  std::string native_path;
  std::vector<Group> groups;

  Meet() {
    std::string pattern = (std::filesystem::temp_directory_path() / "arenix-bench-XXXXXX").string();
    folder = ::mkdtemp(pattern.data());
    native_path = folder + "/native.sqlite";
    const std::vector<dbf::FieldSpec> fields = arenix::meet::MeetTableFields("Play");
    auto play = dbf::Table::Create(folder + "/Play.dbf", fields);
    auto sour = dbf::Table::Create(folder + "/PlaySour.dbf", arenix::meet::MeetTableFields("PlaySour"));

    sqlite3* db = nullptr;
    sqlite3_open(native_path.c_str(), &db);
    std::string create = "CREATE TABLE Play(";
    for (size_t c = 0; c < fields.size(); ++c)
      create += std::string(c ? ", " : "") + "\"" + automation::ToUtf8(fields[c].name) + "\"";
    sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "CREATE TABLE PlaySour(参赛项目, 年龄组, 性别, 参赛子项目, 赛次名称, 比赛状态, 比赛日期, 比赛时间)",
                 nullptr, nullptr, nullptr);
    sqlite3_exec(db, "CREATE INDEX play_event ON Play(参赛项目, 年龄组, 性别)", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "CREATE INDEX sour_event ON PlaySour(参赛项目, 年龄组, 性别)", nullptr, nullptr,
                 nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    std::vector<Variant> values;
    for (int i = 0; i < kRows; ++i) {
      RowMaker r{i};
      values.clear();
      std::string insert = "INSERT INTO Play VALUES(";
      for (size_t c = 0; c < fields.size(); ++c) {
        values.push_back(PlayValue(r, fields[c]));
        insert += (c ? ", " : "") + NativeLiteral(values.back());
      }
      play->Append(values);
      sqlite3_exec(db, (insert + ")").c_str(), nullptr, nullptr, nullptr);
      if (i % kPerGroup == 0) {
        groups.push_back({EventName(r.event()), AgeName(r.age()), r.men(), {}});
        std::vector<Variant> s = {Variant(FromUtf8(groups.back().event)), Variant(FromUtf8(groups.back().age)),
                                  Variant(r.men()), Variant(Text()), Variant(Text(u"决赛")), Variant(false)};
        sour->Append(s);
        std::string sql = "INSERT INTO PlaySour VALUES('" + groups.back().event + "', '" + groups.back().age +
                          "', " + (r.men() ? "1" : "0") + ", '', '决赛', 0, 0, '')";
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
      }
      groups.back().numbers.push_back(r.number());
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  ~Meet() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
};

Meet& TheMeet() {
  static Meet meet;
  return meet;
}

// The statements of one save, with the filter and the entrant condition as
// the caller writes them.
std::vector<std::string> SaveStatements(const Group& g, const std::string& filter,
                                        const std::string& (*entrant)(const std::string&, std::string&)) {
  std::vector<std::string> s;
  std::string buf;
  s.push_back("Select * From [Play] Where " + filter);
  s.push_back("Update [Play] Set 比赛成绩='',排序成绩='' Where " + filter + ".And.比赛组次=0");
  for (size_t k = 0; k < g.numbers.size(); ++k) {
    std::string result = "    1" + std::to_string(k % 10) + std::to_string(k % 7) + "0 ";
    std::string key = result;
    for (char& c : key)
      if (c == ' ') c = '0';
    s.push_back("Update [Play] Set  比赛成绩 ='" + result + "',排序成绩='" + key + "' Where " + filter +
                " And " + entrant(g.numbers[k], buf));
  }
  s.push_back("Update [Play] Set 排序成绩=Strtran(比赛成绩,' ','0') Where " + filter +
              " And Len(AllTrim(排序成绩))=0");
  s.push_back("Update [Play] Set 排序成绩='999999999' Where " + filter +
              " And 排序成绩='000000000' And (1=2 Or '径赛'='径赛')");
  s.push_back("Select * From [Play] Where " + filter + ".And.比赛组次>0  Order By 排序成绩 Asc");
  for (size_t k = 0; k < g.numbers.size(); ++k)
    s.push_back("Update [Play] Set 比赛名次 =" + std::to_string(k + 1) + " Where " + filter + " And " +
                entrant(g.numbers[k], buf));
  s.push_back("Select Min(比赛组次),Max(比赛组次) From [Play] Where " + filter);
  s.push_back("Update [Play] Set 比赛组名次=比赛名次 Where " + filter);
  s.push_back("Update [Play] Set 比赛得分=0 Where " + filter);
  for (int k = 1; k <= 8; ++k)
    s.push_back("Update [Play] Set 比赛得分=分值比例*" + std::to_string(10 - k) + " Where " + filter +
                " And 比赛名次=" + std::to_string(k));
  s.push_back("Update [Play] Set 比赛晋级=.T. Where " + filter + " And 比赛得分>0");
  s.push_back(
      "Update [Play] Set 决赛信息=SubStr(决赛信息,1,18)+比赛成绩+PADL(Str(比赛名次),4)+"
      "PADL(Str(比赛组名次),4)+PADL(Str(比赛得分,6,1),6)+PADL(AllTrim(比赛等级),8)+"
      "PADL(AllTrim(比赛团队),60)+Iif(比赛晋级,'T','F')+Iif(比赛破记录,'T','F')+"
      "PADL(AllTrim(比赛检录),10)+PADL(AllTrim(比赛备注),10)+PADL(AllTrim(比赛风速),6)+"
      "PADL(AllTrim(比赛详情),100) Where " + filter);
  s.push_back("Update [PlaySour] Set 比赛状态=.T. Where " + filter + " And 赛次名称='决赛'");
  return s;
}

const std::string& FoxEntrant(const std::string& number, std::string& buf) {
  return buf = "Trim(编号)='" + number + "'";
}
const std::string& NativeEntrant(const std::string& number, std::string& buf) {
  return buf = "编号='" + number + "'";
}

std::string FoxFilter(const Group& g) {
  return "AllTrim(参赛项目)=='" + g.event + "' And AllTrim(年龄组)=='" + g.age + "' And 性别=" +
         (g.men ? ".T." : ".F.") + " And AllTrim(参赛子项目)==''";
}
std::string NativeFilter(const Group& g) {
  return "参赛项目='" + g.event + "' And 年龄组='" + g.age + "' And 性别=" + (g.men ? "1" : "0") +
         " And 参赛子项目=''";
}

// The native statements in SQLite's own syntax: the same text with the
// dialect's marks spelled as SQLite spells them and the FoxPro functions
// under their registered names.
std::string NativeSql(std::string s) {
  auto replace = [&](const std::string& a, const std::string& b) {
    for (size_t at = s.find(a); at != std::string::npos; at = s.find(a, at + b.size())) s.replace(at, a.size(), b);
  };
  replace("[Play]", "Play");
  replace("[PlaySour]", "PlaySour");
  replace(".And.", " And ");
  replace(".T.", "1");
  replace(")+", ")||");
  replace("+PADL", "||PADL");
  replace("成绩+", "成绩||");
  replace("SubStr(", "fox_substr(");
  replace("PADL(", "fox_padl(");
  replace("Str(", "fox_str(");
  replace("AllTrim(", "fox_alltrim(");
  replace("Strtran(", "fox_strtran(");
  replace("Len(", "fox_len(");
  replace("Iif(", "iif(");
  return s;
}

void BM_EngineSave(benchmark::State& state) {
  Meet& meet = TheMeet();
  data::foxsql::Database db(meet.folder);
  size_t g = 0;
  size_t statements = 0;
  for (auto _ : state) {
    const Group& group = meet.groups[g++ % meet.groups.size()];
    for (const std::string& sql : SaveStatements(group, FoxFilter(group), FoxEntrant)) {
      auto out = db.Run(FromUtf8(sql));
      benchmark::DoNotOptimize(out);
      ++statements;
    }
  }
  state.counters["statements/save"] = static_cast<double>(statements) / state.iterations();
}

// The native database as a file (writes without waiting for the disk, as
// the free tables are written) or copied into memory.
void NativeSave(benchmark::State& state, bool in_memory) {
  Meet& meet = TheMeet();
  sqlite3* db = nullptr;
  sqlite3_open(meet.native_path.c_str(), &db);
  sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
  if (in_memory) {
    sqlite3* memory = nullptr;
    sqlite3_open(":memory:", &memory);
    sqlite3_backup* copy = sqlite3_backup_init(memory, "main", db, "main");
    sqlite3_backup_step(copy, -1);
    sqlite3_backup_finish(copy);
    sqlite3_close(db);
    db = memory;
  }
  data::foxsql::ErrorSlot errors;
  data::foxsql::RegisterCollations(db);
  data::foxsql::RegisterFunctions(db, &errors);
  size_t g = 0;
  for (auto _ : state) {
    const Group& group = meet.groups[g++ % meet.groups.size()];
    for (const std::string& fox : SaveStatements(group, NativeFilter(group), NativeEntrant)) {
      std::string sql = NativeSql(fox);
      sqlite3_stmt* st = nullptr;
      if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        state.SkipWithError((std::string(sqlite3_errmsg(db)) + ": " + sql).c_str());
        return;
      }
      std::vector<std::vector<Variant>> rows;
      while (sqlite3_step(st) == SQLITE_ROW) {
        std::vector<Variant> row;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
          switch (sqlite3_column_type(st, c)) {
            case SQLITE_TEXT:
              row.emplace_back(FromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c))));
              break;
            case SQLITE_NULL: row.push_back(Variant::Null()); break;
            default: row.emplace_back(sqlite3_column_double(st, c));
          }
        }
        rows.push_back(std::move(row));
      }
      benchmark::DoNotOptimize(rows);
      sqlite3_finalize(st);
    }
  }
  sqlite3_close(db);
}

void BM_NativeSave(benchmark::State& state) { NativeSave(state, false); }
void BM_NativeMemorySave(benchmark::State& state) { NativeSave(state, true); }

BENCHMARK(BM_EngineSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NativeSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NativeMemorySave)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per iteration for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      times_[r.benchmark_name()] = {r.GetAdjustedRealTime(), r.GetAdjustedCPUTime()};
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, std::pair<double, double>> times_;  // real, CPU
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto engine = reporter.times_.find("BM_EngineSave");
  for (const char* native_name : {"BM_NativeSave", "BM_NativeMemorySave"}) {
    auto native = reporter.times_.find(native_name);
    if (engine == reporter.times_.end() || native == reporter.times_.end()) continue;
    std::printf("one result-entry save, engine vs %s: real %.3f / %.3f ms = %.2f, CPU %.3f / %.3f ms = %.2f (target <= 3)\n",
                native_name, engine->second.first, native->second.first,
                engine->second.first / native->second.first, engine->second.second, native->second.second,
                engine->second.second / native->second.second);
  }
  benchmark::Shutdown();
  return 0;
}
