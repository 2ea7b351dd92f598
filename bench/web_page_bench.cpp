// Where the time of one page request goes, in process (no network): a
// trivial page (the script context alone), the meet's home page, the
// entrants list and the result query of a stage run for every request, the result query's kept
// public reply, and the organiser's desk and the delegation's pages with a
// logged-in session. The meet is the sample meet with the round that
// bench/web_load.sh loads over HTTP: the high-school men's 100 m heats
// replaced by 64 entrants (8 heats of 8) with results and places entered.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>

#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/demo/demo_meet.h"
#include "arenix/meet/stage_field.h"
#include "arenix/meet/stage_info.h"
#include "automation/cp936.h"
#include "automation/text.h"
#include "data/foxsql/database.h"
#include "data/limits.h"
#include "web/page_host.h"

namespace {

// The round of bench/web_load.sh (the same rows, written the same way), so
// that both measure the same page: 64 entrants in heats of 8, or a large
// round (ten lanes past 99 heats).
void WriteRound(const std::string& data_dir, int count) {
  data::foxsql::Database db(data_dir);
  auto run = [&](const std::string& sql) { db.Run(automation::FromUtf8(sql)); };
  const std::string where =
      "AllTrim(参赛项目)=='100米' And AllTrim(年龄组)=='高中组' And 性别=.T. And Empty(参赛子项目)";
  run("Delete From Play Where " + where);
  const char* teams[] = {"第一中学", "第二中学", "实验中学", "育才学校", "外国语学校", "体育运动学校"};
  const std::u16string surnames = u"王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗";
  const std::u16string given = u"伟强磊军洋勇杰涛明超刚平辉鹏华飞";
  auto time_of = [](int k) { return 1100 + (k * 37) % 300; };  // seconds and hundredths
  const int lanes = count <= 8 * 99 ? 8 : 10;
  std::vector<int> order(count);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return time_of(a) < time_of(b); });
  for (int i = 0; i < count; ++i) {
    const int heat = i / lanes + 1, lane = i % lanes + 1;
    const int place = static_cast<int>(std::find(order.begin(), order.end(), i) - order.begin()) + 1;
    char result[16], number[8], id[8];
    std::snprintf(result, sizeof result, "    %04d ", time_of(i));
    arenix::meet::StageColumns stage;
    stage.order = heat * 100 + lane;
    stage.heat = heat;
    stage.lane = lane;
    char heat_info[8];
    std::snprintf(heat_info, sizeof heat_info, "%03d%03d", lanes, count % 1000);
    stage.heat_info = automation::FromAscii(heat_info);
    stage.result = automation::FromAscii(result);
    stage.place = place;
    const std::string info = automation::ToUtf8(arenix::meet::PackStageField(stage));
    std::snprintf(number, sizeof number, "9%03d", i + 1);
    std::snprintf(id, sizeof id, "L%05d", i + 1);
    const std::string name = automation::ToUtf8(std::u16string{surnames[i % 20], given[(i * 7) % 16]});
    run(std::string("Insert Into Play (ID, 编号, 运动员, 代表队, 年龄组, 性别, 参赛项目, 参赛子项目, 径赛田赛, 分道, "
                    "预赛信息) Values ('") + id + "', '" + number + "', '" + name + "', '" + teams[i % 6] +
        "', '高中组', .T., '100米', '', '径赛', .T., '" + info + "')");
  }
  run("Update PlaySour Set 比赛状态=.T. Where " + where + " And AllTrim(赛次名称)=='预赛'");
}

struct Site {
  std::string dir;
  web::ServerConfig config;
  std::unique_ptr<web::SiteFiles> files;
  std::unique_ptr<web::PageHost> host;

  int entrants;

  explicit Site(int entrants) : entrants(entrants) {
    arenix::RegisterClasses();
    char pattern[] = "/tmp/arenix-page-bench-XXXXXX";
    dir = ::mkdtemp(pattern);
    std::filesystem::copy(std::string(ARENIX_SITE_DIR), dir + "/site", std::filesystem::copy_options::recursive);
    std::ofstream(dir + "/site/trivial.asp") << "<% var x = 1; %>ok";
    arenix::meet::demo::WriteDemoMeet(dir + "/data", {});
    WriteRound(dir + "/data", entrants);
    // A server reads tables written well before the page: let them settle
    // past the moment their decoded texts may be kept, as they would be.
    std::this_thread::sleep_for(std::chrono::nanoseconds(data::limits::kDecodedSettleNs) + std::chrono::milliseconds(50));
    config.site_dir = dir + "/site";
    config.data_dir = dir + "/data";
    files = std::make_unique<web::SiteFiles>(config.site_dir, config.data_dir);
    host = std::make_unique<web::PageHost>(config, *files, [](const std::string&) {});
  }
  ~Site() { std::filesystem::remove_all(dir); }

  // A session logged in as `user` (as the login page leaves it).
  std::string LoggedIn(const char16_t* user, const char16_t* role) {
    bool created = false;
    auto session = host->sessions().Open("", created);
    session->Set(u"ARENIX_ACCOUNT", automation::Variant(automation::Text(user)));
    session->Set(u"ARENIX_ROLE", automation::Variant(automation::Text(role)));
    host->sessions().Close(session, created);
    return session->id();
  }

  void Run(benchmark::State& state, const std::string& path, const std::string& query, bool session,
           const std::string& session_id = "00000000000000000000000000000000") {
    web::RawRequest req;
    req.path = path;
    req.query = query;
    if (session) req.headers = {{"Cookie", "ARENIXSESSIONID=" + session_id}};
    web::SiteFile f = files->Resolve(path);
    size_t bytes = 0;
    for (auto _ : state) {
      web::Reply r = host->Run(req, f);
      if (r.status != 200) state.SkipWithError("the page failed");
      bytes = r.body.size();
      benchmark::DoNotOptimize(r);
    }
    state.counters["page_bytes"] = static_cast<double>(bytes);
    if (const char* out = std::getenv("ARENIX_PAGE_BENCH_OUT"); out != nullptr && *out != '\0')
      DumpBody(out, std::to_string(entrants) + path + "?" + query + (session ? "&session" : ""), host->Run(req, f));
  }

  // With ARENIX_PAGE_BENCH_OUT=DIR, each page run writes its body to a file
  // of DIR named after the request, so that a change meant to keep the
  // pages as they are can be checked byte for byte against the build before.
  static void DumpBody(const std::string& out, std::string name, const web::Reply& r) {
    for (char& c : name)
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    std::ofstream(out + "/" + name.substr(0, 200) + ".html", std::ios::binary) << r.body;
  }
};

Site& TheSite() {
  static Site site(64);
  return site;
}

// The same meet with a round of 900 entrants.
Site& LargeSite() {
  static Site site(900);
  return site;
}

// age=高中组 sex=男 item=100米 sc=1, GBK-encoded as the site's links are.
const char* kResultQuery = "age=%B8%DF%D6%D0%D7%E9&sex=%C4%D0&item=100%C3%D7&item_sub=&sc=1";

void BM_TrivialPage(benchmark::State& state) { TheSite().Run(state, "/trivial.asp", "", true); }
BENCHMARK(BM_TrivialPage)->Unit(benchmark::kMicrosecond);

void BM_HomePage(benchmark::State& state) { TheSite().Run(state, "/index.asp", "", true); }
BENCHMARK(BM_HomePage)->Unit(benchmark::kMicrosecond);

void BM_EntrantsPage(benchmark::State& state) { TheSite().Run(state, "/entrants.asp", "", true); }
BENCHMARK(BM_EntrantsPage)->Unit(benchmark::kMicrosecond);

void BM_ResultQueryRun(benchmark::State& state) { TheSite().Run(state, "/results.asp", kResultQuery, true); }
BENCHMARK(BM_ResultQueryRun)->Unit(benchmark::kMicrosecond);

void BM_ResultQueryLargeRound(benchmark::State& state) { LargeSite().Run(state, "/results.asp", kResultQuery, true); }
BENCHMARK(BM_ResultQueryLargeRound)->Unit(benchmark::kMicrosecond);

void BM_ResultQueryKept(benchmark::State& state) { TheSite().Run(state, "/results.asp", kResultQuery, false); }
BENCHMARK(BM_ResultQueryKept)->Unit(benchmark::kMicrosecond);

// Finding the page a request names (inside the site, outside the meet's
// folder), done once for every request before the page runs.
void BM_ResolvePage(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(TheSite().files->Resolve("/results.asp"));
}
BENCHMARK(BM_ResolvePage)->Unit(benchmark::kMicrosecond);

// The result query's statement alone, on a connection kept from run to run
// as a worker keeps it: the round's rows with their stage columns cut from
// the packed field, in order. The rest of the page is the script and the
// component's rows. As a page sees it: the statement the previous visitor
// ran, on tables unchanged since (BM_ResultStatement*), or the first one
// after a change to the round's table (BM_ResultStatementChanged*: the table
// is touched before every run, so that nothing kept may answer).
void RunResultStatement(benchmark::State& state, Site& site, bool changed = false) {
  data::foxsql::Database db(site.config.data_dir);
  const std::u16string stage = arenix::meet::StageSelectList(1);
  const std::u16string heat = u"Cast(Int(Val(SubStr(预赛信息,5,4))) As I)";
  const std::u16string sql =
      u"Select 编号, 运动员, 代表队, 参赛项目, 参赛子项目, 径赛田赛, 集体项目, 自定义格式, 编外队, 编外队员, " + stage +
      u" From Play Where AllTrim(参赛项目)=='100米' And AllTrim(年龄组)=='高中组' And 性别=.T. And "
      u"AllTrim(参赛子项目)=='' And " + heat + u">0 Order By 排序名次, " + heat + u", 比赛道次, 编号";
  size_t rows = 0;
  const std::string play = site.config.data_dir + "/Play.dbf";
  for (auto _ : state) {
    if (changed) {
      state.PauseTiming();
      if (::utimensat(AT_FDCWD, play.c_str(), nullptr, 0) != 0) state.SkipWithError("cannot touch Play.dbf");
      state.ResumeTiming();
    }
    auto out = db.Run(sql);
    rows = out.rows->rows.size();
    benchmark::DoNotOptimize(out);
  }
  state.counters["rows"] = static_cast<double>(rows);
}
void BM_ResultStatement(benchmark::State& state) { RunResultStatement(state, TheSite()); }
BENCHMARK(BM_ResultStatement)->Unit(benchmark::kMicrosecond);
void BM_ResultStatementLargeRound(benchmark::State& state) { RunResultStatement(state, LargeSite()); }
BENCHMARK(BM_ResultStatementLargeRound)->Unit(benchmark::kMicrosecond);
void BM_ResultStatementChanged(benchmark::State& state) { RunResultStatement(state, TheSite(), true); }
BENCHMARK(BM_ResultStatementChanged)->Unit(benchmark::kMicrosecond);
void BM_ResultStatementChangedLargeRound(benchmark::State& state) { RunResultStatement(state, LargeSite(), true); }
BENCHMARK(BM_ResultStatementChangedLargeRound)->Unit(benchmark::kMicrosecond);

// The desk's pages as the organiser sees them, and the delegation's.
struct DeskPage {
  const char* path;
  const char* query;
  bool organiser;
};
constexpr DeskPage kDeskPages[] = {
    {"/admin/index.asp", "", true},
    {"/admin/overview.asp", "", true},
    {"/admin/overview.asp", "export=1", true},
    {"/admin/teams.asp", "", true},
    {"/admin/accounts.asp", "", true},
    {"/admin/startlist.asp", "item=100%C3%D7&age=%B8%DF%D6%D0%D7%E9&sex=%C4%D0&stage=%D4%A4%C8%FC", true},
    {"/admin/scores.asp", "", true},
    {"/admin/records.asp", "", true},
    {"/admin/audit.asp", "", true},
    {"/admin/notices.asp", "", true},
    {"/register.asp", "", false},
    {"/athletes.asp", "", false},
};

void BM_DeskPage(benchmark::State& state) {
  const DeskPage& p = kDeskPages[state.range(0)];
  static const std::string organiser = TheSite().LoggedIn(u"admin", u"管理员");
  static const std::string delegation = TheSite().LoggedIn(u"dyzx", u"代表队");
  state.SetLabel(std::string(p.path) + (*p.query ? "?" : "") + (std::string(p.query).size() < 12 ? p.query : "..."));
  TheSite().Run(state, p.path, p.query, true, p.organiser ? organiser : delegation);
}
BENCHMARK(BM_DeskPage)->DenseRange(0, std::size(kDeskPages) - 1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
