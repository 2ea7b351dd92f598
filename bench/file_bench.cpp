// Backup and zip of a 50 MB meet data folder, beside cp and Info-ZIP's
// zip -9 on the same folder. The folder holds twenty 2.5 MB files: table-like
// records (compressible) and photo-like random bytes, half and half.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "arenix/file/backup.h"
#include "arenix/file/zip_class.h"
#include "automation/text.h"
#include "bench/ratio_reporter.h"
#include "host/memory_host.h"

namespace {

namespace fs = std::filesystem;
using automation::FromUtf8;
using automation::Text;

constexpr int kFiles = 20;
constexpr size_t kFileBytes = 2500 * 1000;
constexpr double kTotal = double(kFiles) * kFileBytes;

struct Site {
  Site() {
    std::string pattern = (fs::temp_directory_path() / "arenix-file-bench-XXXXXX").string();
    root = ::mkdtemp(pattern.data());
    fs::create_directories(root + "/data");
    std::mt19937 rng(7);
    for (int i = 0; i < kFiles; ++i) {
      std::string bytes(kFileBytes, ' ');
      if (i % 2 == 0) {
        for (size_t j = 0; j < bytes.size(); ++j) bytes[j] = static_cast<char>(rng());
      } else {
        for (size_t j = 0; j < bytes.size(); j += 100)
          std::snprintf(&bytes[j], 101, "%08zu 运动员%06u 100米 00:12.%02u 一中 %-40s", j, rng() % 999999,
                        rng() % 100, "");
      }
      std::ofstream(root + "/data/t" + std::to_string(i) + ".dbf", std::ios::binary) << bytes;
      list += (i ? u"|" : u"") + FromUtf8("t" + std::to_string(i) + ".dbf");
    }
    server = std::make_shared<host::MemoryServer>(FromUtf8(root));
    server_var = automation::Variant(automation::ObjectPtr(server));
  }
  ~Site() { fs::remove_all(root); }
  std::string root;
  Text list;
  std::shared_ptr<host::MemoryServer> server;
  automation::Variant server_var;
};

Site& TheSite() {
  static Site site;
  return site;
}

void Shell(benchmark::State& state, const std::string& cmd) {
  if (std::system(cmd.c_str()) != 0) state.SkipWithError(("failed: " + cmd).c_str());
}

void BM_Backup(benchmark::State& state) {
  Site& s = TheSite();
  int n = 0;
  for (auto _ : state) {
    Text folder = arenix::file::FileBackup(s.server_var, s.list, 1, FromUtf8("b" + std::to_string(n++)),
                                           u"/AutoBackup");
    if (folder.empty()) state.SkipWithError("backup failed");
    state.PauseTiming();
    fs::remove_all(s.root + "/AutoBackup");
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTotal));
}

void BM_Cp(benchmark::State& state) {
  Site& s = TheSite();
  for (auto _ : state) {
    Shell(state, "cp -r '" + s.root + "/data' '" + s.root + "/cpcopy'");
    state.PauseTiming();
    fs::remove_all(s.root + "/cpcopy");
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTotal));
}

void BM_Zip(benchmark::State& state) {
  Site& s = TheSite();
  arenix::file::Orvel_Class_Zip zip(s.server->site());
  for (auto _ : state) {
    if (!zip.CompressFile(FromUtf8(s.root + "/data"), u"*.*", FromUtf8(s.root + "/data.zip"), u""))
      state.SkipWithError("zip failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTotal));
  state.counters["ratio"] = double(fs::file_size(s.root + "/data.zip")) / kTotal;
}

void BM_InfoZip9(benchmark::State& state) {
  Site& s = TheSite();
  for (auto _ : state) {
    fs::remove(s.root + "/info.zip");
    Shell(state, "cd '" + s.root + "/data' && zip -9 -qr ../info.zip .");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTotal));
  state.counters["ratio"] = double(fs::file_size(s.root + "/info.zip")) / kTotal;
}

BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Cp)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Zip)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_InfoZip9)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto mb = [&](const char* name) { return reporter.BytesPerSecond(name) / 1e6; };
  std::printf("\nbackup %.0f MB/s, cp -r %.0f MB/s (%.2fx)\n", mb("BM_Backup/iterations:5/real_time"),
              mb("BM_Cp/iterations:5/real_time"), mb("BM_Backup/iterations:5/real_time") / mb("BM_Cp/iterations:5/real_time"));
  std::printf("zip %.1f MB/s, zip -9 %.1f MB/s (%.2fx)\n", mb("BM_Zip/iterations:2/real_time"),
              mb("BM_InfoZip9/iterations:2/real_time"), mb("BM_Zip/iterations:2/real_time") / mb("BM_InfoZip9/iterations:2/real_time"));
  benchmark::Shutdown();
  return 0;
}
