// Where the time of one page request goes, in process (no network): a
// trivial page (the script context alone), the meet's home page and the
// result query of a stage run for every request, and the result query's
// kept public reply. bench/web_load.sh measures the server over HTTP.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/demo/demo_meet.h"
#include "automation/cp936.h"
#include "web/page_host.h"

namespace {

struct Site {
  std::string dir;
  web::ServerConfig config;
  std::unique_ptr<web::SiteFiles> files;
  std::unique_ptr<web::PageHost> host;

  Site() {
    arenix::RegisterClasses();
    char pattern[] = "/tmp/arenix-page-bench-XXXXXX";
    dir = ::mkdtemp(pattern);
    std::filesystem::copy(std::string(ARENIX_SITE_DIR), dir + "/site", std::filesystem::copy_options::recursive);
    std::ofstream(dir + "/site/trivial.asp") << "<% var x = 1; %>ok";
    arenix::meet::demo::WriteDemoMeet(dir + "/data", {});
    config.site_dir = dir + "/site";
    config.data_dir = dir + "/data";
    files = std::make_unique<web::SiteFiles>(config.site_dir, config.data_dir);
    host = std::make_unique<web::PageHost>(config, *files, [](const std::string&) {});
  }
  ~Site() { std::filesystem::remove_all(dir); }

  void Run(benchmark::State& state, const std::string& path, const std::string& query, bool session) {
    web::RawRequest req;
    req.path = path;
    req.query = query;
    if (session) req.headers = {{"Cookie", "ARENIXSESSIONID=00000000000000000000000000000000"}};
    web::SiteFile f = files->Resolve(path);
    size_t bytes = 0;
    for (auto _ : state) {
      web::Reply r = host->Run(req, f);
      if (r.status != 200) state.SkipWithError("the page failed");
      bytes = r.body.size();
      benchmark::DoNotOptimize(r);
    }
    state.counters["page_bytes"] = static_cast<double>(bytes);
  }
};

Site& TheSite() {
  static Site site;
  return site;
}

// age=高中组 sex=男 item=100米 sc=1, GBK-encoded as the site's links are.
const char* kResultQuery = "age=%B8%DF%D6%D0%D7%E9&sex=%C4%D0&item=100%C3%D7&item_sub=&sc=1";

void BM_TrivialPage(benchmark::State& state) { TheSite().Run(state, "/trivial.asp", "", true); }
BENCHMARK(BM_TrivialPage)->Unit(benchmark::kMicrosecond);

void BM_HomePage(benchmark::State& state) { TheSite().Run(state, "/index.asp", "", true); }
BENCHMARK(BM_HomePage)->Unit(benchmark::kMicrosecond);

void BM_ResultQueryRun(benchmark::State& state) { TheSite().Run(state, "/results.asp", kResultQuery, true); }
BENCHMARK(BM_ResultQueryRun)->Unit(benchmark::kMicrosecond);

void BM_ResultQueryKept(benchmark::State& state) { TheSite().Run(state, "/results.asp", kResultQuery, false); }
BENCHMARK(BM_ResultQueryKept)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
