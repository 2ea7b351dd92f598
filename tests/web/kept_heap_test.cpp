// What a worker's script heap keeps between requests stays within its bounds
// (`Limits::script_heap_kept_bytes`, `script_heap_max_bytes`), whatever
// garbage the pages leave, and pages still run right after the heap was
// collected or made anew.
#include <gtest/gtest.h>

#include "web/page_host.h"
#include "web/script_engine.h"
#include "web/web_site.h"

namespace web_test {
namespace {

class KeptHeap : public ::testing::Test {
 protected:
  KeptHeap() : config_(TestConfig(site_)), files_(site_.site(), site_.data()) {
    // Room for the garbage to pile up, and time on a busy machine.
    config_.limits.script_memory_bytes = 64u << 20;
    config_.limits.script_time = std::chrono::seconds(10);
    site_.Write("plain.asp", "<% var s = 'x'; for (var i = 0; i < 3; i++) s += i; %><%= s %>");
    // Some 6 MB in cycles, which reference counting alone never frees, in
    // few enough allocations that the engine does not collect them itself.
    site_.Write("cycles.asp",
                "<% for (var i = 0; i < 200; i++) { var o = {a: []}; o.self = o;"
                " for (var j = 0; j < 4000; j++) o.a.push(j); } %>ok");
  }

  web::Reply Run(const std::string& path) {
    web::PageHost host(config_, files_, [](const std::string&) {});
    web::RawRequest req;
    req.path = path;
    return host.Run(req, files_.Resolve(path));
  }

  TestSite site_;
  web::ServerConfig config_;
  web::SiteFiles files_;
};

TEST_F(KeptHeap, GarbageOfAPageIsNotKeptPastTheBound) {
  // The live part of a heap running these small pages is well under 1 MiB.
  constexpr size_t kLive = 1u << 20;
  struct Case {
    const char* name;
    size_t kept, kept_max;
    size_t most;  // the heap after any page
  };
  // Garbage collected past the growth bound; a heap whose live part is
  // past the second bound made anew after every page.
  for (Case c : {Case{"collected", 2u << 20, 16u << 20, kLive + (2u << 20)},
                 Case{"made anew", 2u << 20, 1u << 10, (2u << 20) + (1u << 10)}}) {
    SCOPED_TRACE(c.name);
    config_.limits.script_heap_kept_bytes = c.kept;
    config_.limits.script_heap_max_bytes = c.kept_max;
    for (int round = 0; round < 3; ++round) {
      for (const char* page : {"/cycles.asp", "/plain.asp"}) {
        SCOPED_TRACE(page);
        web::Reply r = Run(page);
        ASSERT_EQ(r.status, 200) << r.body;
        EXPECT_EQ(r.body, std::string(page) == "/plain.asp" ? "x012" : "ok");
        EXPECT_LE(web::ScriptHeapBytes(), c.most);
      }
    }
  }
}

TEST_F(KeptHeap, AHeapWithinTheBoundIsKeptForTheNextPage) {
  // Collecting is not dropping: after plain pages the worker still has its
  // heap, so that the next request does not pay for a new one.
  config_.limits.script_heap_kept_bytes = 2u << 20;
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(Run("/plain.asp").body, "x012");
    EXPECT_GT(web::ScriptHeapBytes(), 0u);
  }
  ASSERT_EQ(Run("/cycles.asp").body, "ok");
  EXPECT_GT(web::ScriptHeapBytes(), 0u);
  EXPECT_LE(web::ScriptHeapBytes(), 2u << 20);
}

// The page programs a heap keeps loaded count against the bound too: past
// it they go first, and the heap itself is kept while what is left fits.
TEST_F(KeptHeap, PastTheBoundTheKeptProgramsGoBeforeTheHeap) {
  std::string functions;
  for (int f = 0; f < 40; ++f)
    functions += "function f" + std::to_string(f) + "(a, b) { var s = 'text " + std::to_string(f) +
                 "'; for (var i = 0; i < a; i++) s += b + i; return s; }\n";
  for (int p = 0; p < 12; ++p) site_.Write("program" + std::to_string(p) + ".asp", "<%\n" + functions + "%>ok");
  ASSERT_EQ(Run("/plain.asp").body, "x012");
  // Collected after every page that grew it by more than 16 KiB; its live
  // part may not pass what one page with a few programs needs.
  const size_t growth = 16u << 10;
  const size_t bound = web::ScriptHeapBytes() + (200u << 10);
  config_.limits.script_heap_kept_bytes = growth;
  config_.limits.script_heap_max_bytes = bound;
  for (int round = 0; round < 2; ++round) {
    for (int p = 0; p < 12; ++p) {
      const std::string page = "/program" + std::to_string(p) + ".asp";
      SCOPED_TRACE(page);
      ASSERT_EQ(Run(page).body, "ok");
      EXPECT_LE(web::ScriptHeapBytes(), bound + growth);
      EXPECT_GT(web::ScriptHeapBytes(), 0u);  // kept, not made anew
    }
  }
}

}  // namespace
}  // namespace web_test
