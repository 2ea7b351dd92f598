// Display width, full pinyin and UTF-8 percent-encoding over a 4 KiB mixed
// Chinese/ASCII text (4096 bytes in code page 936), the component's own
// converters (to GBK and UTF-8 and back) beside iconv converting the same
// text, for scale, and the short column values a query hands over one by
// one. Throughput is counted in those 4096 bytes.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include "arenix/text/display_width.h"
#include "arenix/text/pinyin.h"
#include "arenix/text/url_utf8.h"
#include "automation/cp936.h"
#include "automation/text.h"

namespace {

using automation::Text;

constexpr size_t kGbkBytes = 4096;

// Words of a results page: athletes' names, events, numbers and markup.
const Text& MixedText() {
  static const Text text = [] {
    const Text pieces[] = {u"张伟 ",   u"100m ",         u"男子甲组 ", u"12.34 ", u"李娜 ",
                           u"跳远 ",   u"<td>5.67</td> ", u"王芳 ",     u"第一中学 ", u"rank=1 ",
                           u"决赛 ",   u"刘洋 ",          u"4x100m接力 "};
    Text t;
    for (size_t i = 0; automation::ToGbk(t).size() < kGbkBytes; ++i) t += pieces[i % std::size(pieces)];
    while (automation::ToGbk(t).size() > kGbkBytes) t.pop_back();
    while (automation::ToGbk(t).size() < kGbkBytes) t.push_back(u'a');
    return t;
  }();
  return text;
}

void BM_GetStringLength(benchmark::State& state) {
  const Text& t = MixedText();
  for (auto _ : state) benchmark::DoNotOptimize(arenix::text::GetStringLength(t));
  state.SetBytesProcessed(state.iterations() * kGbkBytes);
}
BENCHMARK(BM_GetStringLength);

void BM_GetQPyString(benchmark::State& state) {
  const Text& t = MixedText();
  for (auto _ : state) benchmark::DoNotOptimize(arenix::text::GetQPyString(t));
  state.SetBytesProcessed(state.iterations() * kGbkBytes);
}
BENCHMARK(BM_GetQPyString);

void BM_UrlEncodeUtf8(benchmark::State& state) {
  const Text& t = MixedText();
  for (auto _ : state) benchmark::DoNotOptimize(arenix::text::UrlEncodeUtf8(t));
  state.SetBytesProcessed(state.iterations() * kGbkBytes);
}
BENCHMARK(BM_UrlEncodeUtf8);

// iconv converting the same text from its 16-bit form.
void Iconv(benchmark::State& state, const char* to) {
  const Text& t = MixedText();
  iconv_t cd = iconv_open(to, "UTF-16LE");
  std::string out(t.size() * 4, '\0');
  for (auto _ : state) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(t.data()));
    size_t nin = t.size() * 2;
    char* o = out.data();
    size_t nout = out.size();
    iconv(cd, &in, &nin, &o, &nout);
    benchmark::DoNotOptimize(o);
  }
  iconv_close(cd);
  state.SetBytesProcessed(state.iterations() * kGbkBytes);
}
void BM_IconvToUtf8(benchmark::State& state) { Iconv(state, "UTF-8"); }
void BM_IconvToCp936(benchmark::State& state) { Iconv(state, "CP936"); }
BENCHMARK(BM_IconvToUtf8);
BENCHMARK(BM_IconvToCp936);

void BM_ToGbk(benchmark::State& state) {
  const Text& t = MixedText();
  for (auto _ : state) benchmark::DoNotOptimize(automation::ToGbk(t));
  state.SetBytesProcessed(state.iterations() * kGbkBytes);
}
BENCHMARK(BM_ToGbk);

void BM_ToUtf8(benchmark::State& state) {
  const Text& t = MixedText();
  for (auto _ : state) benchmark::DoNotOptimize(automation::ToUtf8(t));
  state.SetBytesProcessed(state.iterations() * kGbkBytes);
}
BENCHMARK(BM_ToUtf8);

void BM_FromUtf8(benchmark::State& state) {
  const std::string utf8 = automation::ToUtf8(MixedText());
  for (auto _ : state) benchmark::DoNotOptimize(automation::FromUtf8(utf8));
  state.SetBytesProcessed(state.iterations() * kGbkBytes);
}
BENCHMARK(BM_FromUtf8);

// Column values of a result query's row as the database hands them over:
// padded names and delegations, the stored result, numbers as text. Items
// are values.
void BM_FromUtf8Columns(benchmark::State& state) {
  const std::string columns[] = {"9001      ", "王伟                ", "第一中学                      ",
                                 "100米               ", "径赛", "    1012 ", "体育运动学校", "1", ""};
  for (auto _ : state)
    for (const std::string& c : columns) benchmark::DoNotOptimize(automation::FromUtf8(c));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(std::size(columns)));
}
BENCHMARK(BM_FromUtf8Columns);

}  // namespace

BENCHMARK_MAIN();
