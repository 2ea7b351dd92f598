// A table with a structural index kept up to date: a 5,000-athlete table
// with four tags; each registration (insert) or save (update) rebuilds every
// tag. Counters: rows not found by key afterwards, by our reader and, where
// installed, by Perl's XBase::Index (both must be 0).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "data/dbf/cdx_file.h"
#include "data/dbf/table.h"
#include "data/foxsql/database.h"

namespace {

namespace fs = std::filesystem;
namespace dbf = data::dbf;

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

dbf::CdxTag Tag(std::string name, std::string key, uint16_t length) {
  dbf::CdxTag t;
  t.name = std::move(name);
  t.key = std::move(key);
  t.key_length = length;
  return t;
}

const std::vector<dbf::CdxTag> kTags = {Tag("ID", "ID", 8), Tag("NAME", "UPPER(NAME)", 20),
                                        Tag("TEAMNAME", "TEAM+UPPER(NAME)", 30),
                                        Tag("EVENT", "ALLTRIM(EVENT)+STR(HEAT,2)+PADL(ALLTRIM(ID),8,'0')", 30)};

struct Meet {
  fs::path dir;
  std::unique_ptr<data::foxsql::Database> db;
  Meet(int athletes) {
    dir = fs::temp_directory_path() / ("arenix_cdx_bench_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    db = std::make_unique<data::foxsql::Database>(dir.string());
    db->Run(u"Create Table Ath Free (ID C(8), NAME C(20), TEAM C(10), EVENT C(10), HEAT N(2), RESULT C(9))");
    for (int i = 0; i < athletes; ++i) Register(i);
    std::ofstream(dir / "Ath.cdx", std::ios::binary)
        << dbf::BuildCdx(kTags, std::vector<std::vector<dbf::CdxKey>>(kTags.size()));
    std::fstream f(dir / "Ath.dbf", std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(28);
    f.put(1);
  }
  ~Meet() { fs::remove_all(dir); }
  void Register(int i) {
    std::string sql = "Insert Into Ath (ID, NAME, TEAM, EVENT, HEAT) Values ('" + std::to_string(100000 + i) +
                      "', 'athlete " + std::to_string(i * 7 % 5000) + "', 'team " + std::to_string(i % 40) +
                      "', '" + (i % 2 ? "100m" : "long jump") + "', " + std::to_string(i % 12) + ")";
    db->Run(automation::FromUtf8(sql));
  }
  // Rows of the table not found under their ID key, by our reader.
  int64_t NotFound() {
    std::string file = Slurp(dir / "Ath.cdx");
    std::multimap<std::string, uint32_t> keys;
    for (const auto& k : dbf::ReadCdxKeys(file, "ID")) keys.emplace(k.bytes, k.record);
    auto t = dbf::Table::Open((dir / "Ath.dbf").string(), dbf::Access::kRead);
    int64_t missing = 0;
    for (uint32_t r = 0; r < t->RecordCount(); ++r) {
      if (t->IsDeleted(r)) continue;
      bool found = false;
      auto [a, b] = keys.equal_range(std::string(t->RawField(r, 0)));
      for (auto it = a; it != b; ++it) found = found || it->second == r + 1;
      missing += !found;
    }
    return missing;
  }
  // The same by Perl's XBase::Index; -1 when it is not installed.
  int64_t PerlNotFound() {
    if (std::system("perl -MXBase::Index -e 1 >/dev/null 2>&1") != 0) return -1;
    std::string script = R"(
      use XBase; use XBase::Index;
      my $t = XBase->new($ARGV[0]) or die; my $i = XBase::Index->new($ARGV[1], 'tag' => 'ID', 'type' => 'C') or die XBase::Index->errstr;
      my $missing = 0;
      for my $r (0 .. $t->last_record) {
        my ($deleted, $id) = $t->get_record($r, 'ID'); next if $deleted; $id =~ s/\s+$//;
        $i->prepare_select_eq($id); my $found = 0;
        while (my ($k, $v) = $i->fetch) { $k =~ s/\s+$//; last if $k ne $id; if ($v == $r + 1) { $found = 1; last } }
        $missing++ unless $found;
      }
      print $missing;)";
    std::ofstream(dir / "check.pl") << script;
    std::string cmd = "perl '" + (dir / "check.pl").string() + "' '" + (dir / "Ath.dbf").string() + "' '" +
                      (dir / "Ath.cdx").string() + "'";
    FILE* p = ::popen(cmd.c_str(), "r");
    char buf[64] = {0};
    size_t n = fread(buf, 1, sizeof buf - 1, p);
    ::pclose(p);
    return n ? std::stoll(buf) : -2;
  }
};

void BM_SaveRebuildsEveryTag(benchmark::State& state) {
  Meet meet(5000);
  int i = 0;
  for (auto _ : state) {
    ++i;
    if (i % 4 == 0)
      meet.Register(5000 + i);  // a registration
    else
      meet.db->Run(automation::FromUtf8("Update Ath Set RESULT='" + std::to_string(1000 + i) + "', HEAT=" +
                                        std::to_string(i % 12) + " Where ID=='" + std::to_string(100000 + i * 13 % 5000) +
                                        "'"));  // a save
  }
  state.counters["not_found"] = static_cast<double>(meet.NotFound());
  state.counters["perl_not_found"] = static_cast<double>(meet.PerlNotFound());
}
BENCHMARK(BM_SaveRebuildsEveryTag)->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

BENCHMARK_MAIN();
