// The camera's result file read line by line: times to the thousandth and
// their hand-over to hundredths, places, ties, DNS/DNF/DQ, wind, and files
// that are not of the format.
#include "arenix/timing/lif_file.h"

#include <gtest/gtest.h>

#include "automation/cp936.h"

namespace arenix::timing {
namespace {

using automation::FromUtf8;
using automation::ToUtf8;

TEST(LifTime, ReadsSecondsMinutesAndHoursToTheThousandth) {
  const std::vector<std::pair<const char*, int64_t>> good = {
      {"10.234", 10234}, {"10.23", 10230}, {"10.2", 10200}, {"10", 10000}, {" 9.87 ", 9870},
      {"1:02.345", 62345}, {"59:59.999", 3599999}, {"1:02:03.456", 3723456}, {"0.001", 1}};
  for (const auto& [text, want] : good) EXPECT_EQ(ParseTimeThousandths(FromUtf8(text)), want) << text;
  for (const char* bad : {"", "abc", "-1.00", "1:60.00", "1:02:60", "10.2345", "1:2:3:4", "10.", ".5x", "1..2",
                          "10,23", "1:"})
    EXPECT_EQ(ParseTimeThousandths(FromUtf8(bad)), std::nullopt) << bad;
}

TEST(LifTime, ThousandthsRoundUpToTheNextHundredth) {
  const std::vector<std::pair<int64_t, int64_t>> cases = {
      {10231, 1024}, {10239, 1024}, {10230, 1023}, {10000, 1000}, {1, 1}, {0, 0}, {59999, 6000}};
  for (const auto& [ms, cs] : cases) EXPECT_EQ(HundredthsOf(ms), cs) << ms;
}

TEST(LifFile, ReadsTheHeaderAndEveryAthleteLine) {
  const LifParse p = ParseLif(FromUtf8(
      "3,1,2,高中组 男子 100米 预赛,+1.2,m/s,12:01:07\r\n"
      "\r\n"
      "1,105,4,张,三,第一中学,10.231\r\n"
      "2,107,5,李四,,\"第二中学, 高中部\",10.559\r\n"
      "2,109,3,王五,,第三中学,10.56\r\n"
      "DNF,111,6,赵六,,第四中学,\r\n"
      "dq,113,7,钱七,,第五中学,10.90\r\n"
      "DNS,115,8,孙八,,第六中学,\r\n"));
  ASSERT_TRUE(p.file) << ToUtf8(p.error);
  const LifHeader& h = p.file->header;
  EXPECT_EQ(h.event, 3);
  EXPECT_EQ(h.round, 1);
  EXPECT_EQ(h.heat, 2);
  EXPECT_EQ(ToUtf8(h.name), "高中组 男子 100米 预赛");
  EXPECT_EQ(h.wind_mps, 1.2);
  const auto& a = p.file->athletes;
  ASSERT_EQ(a.size(), 6u);
  EXPECT_EQ(a[0].place, 1);
  EXPECT_EQ(ToUtf8(a[0].id), "105");
  EXPECT_EQ(a[0].lane, 4);
  EXPECT_EQ(ToUtf8(a[0].last_name + a[0].first_name), "张三");
  EXPECT_EQ(a[0].thousandths, 10231);
  EXPECT_EQ(a[0].line, 3);
  // Quoted commas stay in the value; equal places are a tie, kept as given.
  EXPECT_EQ(ToUtf8(a[1].affiliation), "第二中学, 高中部");
  EXPECT_EQ(a[1].place, 2);
  EXPECT_EQ(a[2].place, 2);
  EXPECT_EQ(a[3].status, LifStatus::kDidNotFinish);
  EXPECT_EQ(a[3].thousandths, std::nullopt);
  EXPECT_EQ(a[4].status, LifStatus::kDisqualified);  // lower case and a time are accepted
  EXPECT_EQ(a[5].status, LifStatus::kDidNotStart);
  EXPECT_EQ(ToUtf8(StatusCode(a[5].status)), "DNS");
}

TEST(LifFile, WindIsReadWhenItIsANumber) {
  const std::vector<std::pair<const char*, std::optional<double>>> cases = {
      {"-0.5", -0.5}, {"+2.0", 2.0}, {"1.3 m/s", 1.3}, {"0", 0.0}, {"NWI", std::nullopt}, {"", std::nullopt},
      {"+-1", std::nullopt}};
  for (const auto& [wind, want] : cases) {
    const LifParse p = ParseLif(FromUtf8(std::string("1,1,1,100米,") + wind + "\n1,101,1,甲,,队,10.00\n"));
    ASSERT_TRUE(p.file) << wind;
    EXPECT_EQ(p.file->header.wind_mps, want) << wind;
  }
}

TEST(LifFile, AFileThatIsNotOfTheFormatIsRefusedNamingTheLine) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"", "文件是空的"},
      {"\n\n  \n", "文件是空的"},
      {"<html><body>hello</body></html>", "不是计时结果文件（.lif）：第 1 行"},
      {"a,b,c,d", "正整数"},
      {"1,0,1,100米", "正整数"},
      {"1,1,1,100米\n1,101,1,甲", "第 2 行只有 4 列"},
      {"1,1,1,100米\n\nfirst,101,1,甲,,队,10.00", "第 3 行的名次“first”不是数字"},
      {"1,1,1,100米\n1,101,x,甲,,队,10.00", "道次“x”不是数字"},
      {"1,1,1,100米\n1,101,1,甲,,队,10.2x", "成绩“10.2x”不是时间"},
      {"1,1,1,100米\n1,101,1,甲,,队,", "没有成绩，也没有标明 DNS、DNF 或 DQ"},
  };
  for (const auto& [text, want] : cases) {
    const LifParse p = ParseLif(FromUtf8(text));
    EXPECT_FALSE(p.file) << text;
    EXPECT_NE(ToUtf8(p.error).find(want), std::string::npos) << text << " -> " << ToUtf8(p.error);
  }
}

TEST(LifFile, BytesAreReadAsUtf8OrAsGbk) {
  EXPECT_EQ(ToUtf8(DecodeTimingBytes("\xEF\xBB\xBF" "1,1,1,张三")), "1,1,1,张三");
  EXPECT_EQ(ToUtf8(DecodeTimingBytes("1,1,1,张三")), "1,1,1,张三");
  EXPECT_EQ(ToUtf8(DecodeTimingBytes(automation::ToGbk(u"1,1,1,张三,第一中学"))), "1,1,1,张三,第一中学");
  EXPECT_EQ(ToUtf8(DecodeTimingBytes("plain")), "plain");
}

}  // namespace
}  // namespace arenix::timing
