// What a kept public reply costs in process, per request: the front's
// answer (reading the request's head, the change notices, the look-up)
// against what the page host's look-up pays for the same reply (the data
// folder's signature: a stat of each of the meet's files).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "web/change_watch.h"
#include "web/kept_front.h"
#include "web/reply_cache.h"

namespace {

// A folder like a meet's: its 21 tables and memo files.
struct MeetFolder {
  MeetFolder() {
    char tmpl[] = "/tmp/arenix-kept-bench-XXXXXX";
    dir = ::mkdtemp(tmpl);
    for (int i = 0; i < 21; ++i) std::ofstream(dir + "/T" + std::to_string(i) + ".dbf") << std::string(4096, 'x');
  }
  ~MeetFolder() { std::filesystem::remove_all(dir); }
  std::string dir;
};

const std::string kRequest =
    "GET /results.asp?age=%B8%DF%D6%D0%D7%E9&sex=%C4%D0&item=100%C3%D7&item_sub=&sc=1 HTTP/1.1\r\n"
    "Host: 127.0.0.1:18180\r\nUser-Agent: Mozilla/5.0\r\nAccept: text/html\r\n"
    "Accept-Language: zh-CN,zh;q=0.9\r\nCookie: theme=1\r\n\r\n";

void BM_KeptFrontAnswer(benchmark::State& state) {
  MeetFolder meet;
  web::ChangeWatch watch({meet.dir}, 16);
  web::KeptFront front(watch, 512);
  const web::QuickHead head = web::ReadQuickHead(kRequest);
  front.Keep(web::KeptFront::KeyOf(head.target, head.host), front.Moment(),
             {{"Cache-Control", "public"}, {"Content-Type", "text/html; charset=gbk"}}, std::string(20801, 'r'));
  for (auto _ : state) {
    web::ReadyReply reply;
    int status = 0;
    size_t bytes = 0;
    bool answered = front.Answer(web::ReadQuickHead(kRequest), false, reply, status, bytes);
    if (!answered || bytes != 20801) state.SkipWithError("not answered from the kept entry");
    benchmark::DoNotOptimize(reply);
  }
}
BENCHMARK(BM_KeptFrontAnswer)->Unit(benchmark::kMicrosecond);

void BM_DataSignature(benchmark::State& state) {
  MeetFolder meet;
  web::ReplyCache cache(meet.dir, 512);
  for (auto _ : state) benchmark::DoNotOptimize(cache.DataSignature());
}
BENCHMARK(BM_DataSignature)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
