// A camera file held against the start list: what stops the save, what is
// only marked, and the results the entry form receives.
#include "arenix/timing/heat_check.h"

#include <gtest/gtest.h>

namespace arenix::timing {
namespace {

using automation::FromUtf8;
using automation::ToUtf8;

// Heat 1 of three athletes in lanes 1-3, heat 2 of one.
const std::vector<StartEntry>& Stage() {
  static const std::vector<StartEntry> stage = {
      {u"101", u"张三", u"一中", 1, 1}, {u"102", u"李四", u"二中", 1, 2}, {u"103", u"王五", u"三中", 1, 3},
      {u"201", u"赵六", u"四中", 2, 1}};
  return stage;
}

LifFile File(const std::string& athletes, int heat = 1) {
  const LifParse p = ParseLif(FromUtf8("1,1," + std::to_string(heat) + ",100米,+0.3\n" + athletes));
  EXPECT_TRUE(p.file) << ToUtf8(p.error);
  return p.file.value_or(LifFile{});
}

std::string Joined(const std::vector<automation::Text>& texts) {
  std::string out;
  for (const auto& t : texts) out += ToUtf8(t) + ";";
  return out;
}

TEST(HeatCheck, AMatchingFileGivesTheEntryFormItsParts) {
  const LifFile f = File("1,101,1,张三,,一中,10.231\n2,102,2,李四,,二中,1:02.345\nDNS,103,3,王五,,三中,\n");
  const HeatCheck c = CheckHeat(f, Stage(), true);
  ASSERT_EQ(c.rows.size(), 3u);
  EXPECT_TRUE(c.Savable());
  EXPECT_TRUE(c.missing.empty());
  for (const CheckedRow& r : c.rows) EXPECT_EQ(Joined(r.problems) + Joined(r.warnings), "") << ToUtf8(r.athlete.id);
  EXPECT_EQ(c.rows[0].hundredths, 1024);  // 10.231 handed over as 10.24
  EXPECT_EQ(ToUtf8(c.rows[0].parts[0] + u"|" + c.rows[0].parts[1] + u"|" + c.rows[0].parts[2]), "|10|24");
  EXPECT_EQ(ToUtf8(c.rows[1].parts[0] + u"|" + c.rows[1].parts[1] + u"|" + c.rows[1].parts[2]), "1|2|35");
  EXPECT_EQ(ToUtf8(HundredthsText(c.rows[1].hundredths)), "1:02.35");
  EXPECT_EQ(c.rows[2].hundredths, -1);
  EXPECT_EQ(ToUtf8(c.rows[2].status), "DNS");
}

TEST(HeatCheck, AthletesOutsideTheHeatStopTheSave) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"1,201,1,赵六,,四中,10.50\n", "编号 201 在第 2 组，不在第 1 组"},
      {"1,999,1,无名,,,10.50\n", "编号 999 不在本赛次"},
      {"1,,1,无名,,,10.50\n", "没有编号"},
      {"1,101,1,张三,,一中,10.50\n2,101,1,张三,,一中,10.60\n", "编号 101 在第 2 行已出现"},
      {"1,101,1,张三,,一中,1:40:00.00\n", "超出成绩格式"},
  };
  for (const auto& [athletes, want] : cases) {
    const HeatCheck c = CheckHeat(File(athletes), Stage(), true);
    EXPECT_FALSE(c.Savable()) << athletes;
    std::string problems;
    for (const CheckedRow& r : c.rows) problems += Joined(r.problems);
    EXPECT_NE(problems.find(want), std::string::npos) << athletes << " -> " << problems;
  }
}

TEST(HeatCheck, DifferencesAreMarkedButMayBeSaved) {
  // 101 in the wrong lane, 102 under another name, 103 not in the file.
  const HeatCheck c = CheckHeat(File("1,101,4,张三,,一中,10.50\n2,102,2,Li,Si,二中,10.60\n"), Stage(), true);
  EXPECT_TRUE(c.Savable());
  EXPECT_EQ(Joined(c.rows[0].warnings), "道次不符：文件为 4，检录单为 1;");
  EXPECT_EQ(Joined(c.rows[1].warnings), "姓名不符：文件为“Li Si”，检录单为“李四”;");
  ASSERT_EQ(c.missing.size(), 1u);
  EXPECT_EQ(ToUtf8(c.missing[0]->number), "103");
  // Without lanes, lanes are not compared; a name split over two columns
  // either way round is the same name.
  const HeatCheck plain = CheckHeat(File("1,101,4,张,三,一中,10.50\n2,102,,四,李,二中,10.60\n"), Stage(), false);
  EXPECT_EQ(Joined(plain.rows[0].warnings) + Joined(plain.rows[1].warnings), "");
}

TEST(HeatCheck, ResultsEqualOnlyAfterRoundingAreMarkedAsATie) {
  const HeatCheck c =
      CheckHeat(File("1,101,1,张三,,一中,10.231\n2,102,2,李四,,二中,10.238\n2,103,3,王五,,三中,10.50\n"), Stage(), true);
  EXPECT_TRUE(c.Savable());
  EXPECT_NE(Joined(c.rows[0].warnings).find("与编号 102 同为 10.24"), std::string::npos);
  EXPECT_NE(Joined(c.rows[1].warnings).find("与编号 101 同为 10.24"), std::string::npos);
  // A tie the camera itself gave (equal places) needs no remark.
  const HeatCheck tie = CheckHeat(File("1,101,1,张三,,一中,10.23\n1,102,2,李四,,二中,10.23\n"), Stage(), true);
  EXPECT_EQ(Joined(tie.rows[0].warnings) + Joined(tie.rows[1].warnings), "");
}

TEST(HeatCheck, AWindThatIsNotANumberIsMarked) {
  const LifParse p = ParseLif(u"1,1,1,100米,NWI\n1,101,1,张三,,一中,10.50\n");
  ASSERT_TRUE(p.file);
  const HeatCheck c = CheckHeat(*p.file, Stage(), true);
  EXPECT_TRUE(c.Savable());
  EXPECT_EQ(Joined(c.warnings), "风速“NWI”不是数字，不保存风速;");
}

}  // namespace
}  // namespace arenix::timing
