// The trimmer gives freed memory back to the system while the server runs,
// and never holds up the server's stop.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "web/memory_trim.h"

namespace web_test {
namespace {

using namespace std::chrono_literals;

size_t ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stoul(line.substr(6));
  return 0;
}

TEST(MemoryTrim, FreedHolesGoBackToTheSystem) {
#ifdef ARENIX_SANITIZED
  GTEST_SKIP() << "the sanitizers' allocator keeps its own free lists";
#endif
  // 48 MiB in small blocks, freed but for the last, which pins the top of
  // the heap: the allocator keeps all of it until a trim.
  constexpr size_t kBlocks = 12 * 1024, kBlock = 4000;
  int64_t grown = 0, kept = 0;
  std::thread worker([&] {  // a worker thread's own arena, as in the server
    std::vector<std::unique_ptr<char[]>> blocks;
    const int64_t before = static_cast<int64_t>(ResidentKiB());
    for (size_t i = 0; i < kBlocks; ++i) {
      blocks.emplace_back(new char[kBlock]);
      std::fill_n(blocks.back().get(), kBlock, static_cast<char>(i));
    }
    grown = static_cast<int64_t>(ResidentKiB()) - before;
    for (size_t i = 0; i + 1 < kBlocks; ++i) blocks[i].reset();
    web::MemoryTrim trim(20ms);
    trim.Start();
    for (int i = 0; i < 200 && trim.trims() < 2; ++i) std::this_thread::sleep_for(10ms);
    trim.Stop();
    kept = static_cast<int64_t>(ResidentKiB()) - before;
  });
  worker.join();
  ASSERT_GT(grown, 40 << 10);
  EXPECT_LT(kept, grown / 4) << "grown " << grown << " KiB, kept " << kept << " KiB after trimming";
}

TEST(MemoryTrim, StopsAtOnceAndNeverRunsWithoutAnInterval) {
  for (std::chrono::milliseconds interval : {std::chrono::milliseconds(1h), 0ms}) {
    SCOPED_TRACE(interval.count());
    web::MemoryTrim trim(interval);
    trim.Start();
    trim.Start();  // a second start changes nothing
    auto begun = std::chrono::steady_clock::now();
    trim.Stop();  // a stop does not wait out the interval
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 5s);
    EXPECT_EQ(trim.trims(), 0u);
  }
  // Stopped before it started, and stopped twice.
  web::MemoryTrim trim(10ms);
  trim.Stop();
  trim.Stop();
}

}  // namespace
}  // namespace web_test
