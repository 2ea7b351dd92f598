// The cost of the component's call frame: a trivial method called by name
// against the same method called directly; and MD5 of 1 KiB of ASCII text by
// the character rule against OpenSSL's MD5 of the same bytes.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/md5.h>

#include "arenix/frame/arenix_cls.h"
#include "arenix/hash/md5.h"
#include "bench/ratio_reporter.h"

namespace {

using automation::Text;
using automation::Variant;

void BM_DirectCall(benchmark::State& state) {
  arenix::ArenixCls component;
  for (auto _ : state) {
    Variant r = component.CommCloseWindowModal(false);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_DirectCall);

void BM_CallByName(benchmark::State& state) {
  arenix::ArenixCls component;
  Variant flag(false);
  Variant* args[] = {&flag};
  for (auto _ : state) {
    Variant r = arenix::CallMethod(component, u"CommCloseWindowModal", args);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_CallByName);

// A by-name call whose text argument must be coerced from a number.
void BM_CallByNameCoercing(benchmark::State& state) {
  arenix::ArenixCls component;
  Variant flag(int32_t{0});
  Variant* args[] = {&flag};
  for (auto _ : state) {
    Variant r = arenix::CallMethod(component, u"commclosewindowmodal", args);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_CallByNameCoercing);

const Text& KiB() {
  static const Text text = [] {
    Text t;
    for (int i = 0; i < 1024; ++i) t.push_back(static_cast<char16_t>('a' + i % 26));
    return t;
  }();
  return text;
}

void BM_Md5Characters1KiB(benchmark::State& state) {
  const Text& text = KiB();
  for (auto _ : state) benchmark::DoNotOptimize(arenix::hash::Md5State(text));
  state.SetBytesProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_Md5Characters1KiB);

void BM_Md5DigestText1KiB(benchmark::State& state) {
  const Text& text = KiB();
  for (auto _ : state) benchmark::DoNotOptimize(arenix::hash::Md5Text(text));
  state.SetBytesProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_Md5DigestText1KiB);

void BM_OpenSslMd5_1KiB(benchmark::State& state) {
  std::string bytes(1024, 0);
  for (int i = 0; i < 1024; ++i) bytes[i] = static_cast<char>('a' + i % 26);
  unsigned char digest[16];
  for (auto _ : state) {
    MD5(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_OpenSslMd5_1KiB);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double direct = reporter.SecondsPerIteration("BM_DirectCall");
  double by_name = reporter.SecondsPerIteration("BM_CallByName");
  if (direct > 0 && by_name > 0)
    std::printf("by-name dispatch overhead: %.0f ns per call (%.2fx the direct call)\n",
                (by_name - direct) * 1e9, by_name / direct);
  double ours = reporter.BytesPerSecond("BM_Md5DigestText1KiB");
  double openssl = reporter.BytesPerSecond("BM_OpenSslMd5_1KiB");
  if (ours > 0 && openssl > 0)
    std::printf("MD5 1 KiB ASCII: %.0f MB/s vs OpenSSL %.0f MB/s = %.2f of OpenSSL's rate (target >= 0.5)\n",
                ours / 1e6, openssl / 1e6, ours / openssl);
  benchmark::Shutdown();
  return 0;
}
