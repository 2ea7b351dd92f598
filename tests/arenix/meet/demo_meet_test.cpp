// The sample meet is coherent: entrants are registered in events of their
// age group and sex, the schedule has a row for every stage of every event,
// heats and lanes of the first stage are consistent, and the stage fields
// agree with the current-stage columns.
#include "arenix/meet/demo/demo_meet.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "automation/coerce.h"
#include "automation/cp936.h"
#include "automation/error.h"
#include "automation/text.h"
#include "data/dbf/table.h"
#include "data/dbf/test_files.h"
#include "automation/datetime.h"
#include "arenix/meet/meet_schema.h"

namespace arenix::meet::demo {
namespace {

namespace dbf = data::dbf;
using arenix::meet::kYdybmEventSlots;
using arenix::meet::MeetTableFields;
using arenix::meet::MeetTableNames;

using automation::CBool;
using automation::CLng;
using automation::CStr;
using automation::Text;
using automation::Variant;
using dbf::Access;
using dbf::Table;

Text Trim(Text s) {
  while (!s.empty() && s.back() == u' ') s.pop_back();
  while (!s.empty() && s.front() == u' ') s.erase(0, 1);
  return s;
}

// The rows of a table as maps from field name to value.
std::vector<std::map<Text, Variant>> Rows(const std::string& dir, const std::string& table) {
  auto t = Table::Open(dir + "/" + table + ".dbf", Access::kRead);
  std::vector<std::map<Text, Variant>> rows;
  std::vector<Variant> values;
  for (uint32_t r = 0; r < t->RecordCount(); ++r) {
    if (t->IsDeleted(r)) continue;
    t->ReadRecord(r, values);
    std::map<Text, Variant> row;
    for (size_t i = 0; i < values.size(); ++i) row[t->fields()[i].name] = values[i];
    rows.push_back(row);
  }
  return rows;
}

Text S(const std::map<Text, Variant>& row, const char16_t* name) { return Trim(CStr(row.at(name))); }
int Int(const std::map<Text, Variant>& row, const char16_t* name) { return CLng(row.at(name)); }

class DemoMeet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new dbf_test::TempDir;
    written_ = new std::vector<WrittenTable>(WriteDemoMeet(dir_->path()));
  }
  static void TearDownTestSuite() {
    delete written_;
    delete dir_;
  }
  static const std::string& dir() { return dir_->path(); }
  static dbf_test::TempDir* dir_;
  static std::vector<WrittenTable>* written_;
};
dbf_test::TempDir* DemoMeet::dir_ = nullptr;
std::vector<WrittenTable>* DemoMeet::written_ = nullptr;

TEST_F(DemoMeet, WritesEveryMeetTableWithItsColumns) {
  // The meet's tables, the recorder accounts of online result entry, then
  // the site's accounts, audit log, notices and team staff.
  ASSERT_EQ(written_->size(), MeetTableNames().size() + 5);
  EXPECT_EQ((*written_)[MeetTableNames().size()].file, "WldfUser.dbf");
  EXPECT_EQ(written_->back().file, "TeamStaff.dbf");
  for (const std::string& name : MeetTableNames()) {
    auto t = Table::Open(dir() + "/" + name + ".dbf", Access::kRead);
    EXPECT_GT(t->RecordCount(), 0u) << name;
    EXPECT_EQ(t->schema().code_page_mark, 0x7A);
    auto want = MeetTableFields(name);
    ASSERT_EQ(t->fields().size(), want.size()) << name;
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(t->fields()[i].name, want[i].name);
  }
  EXPECT_TRUE(std::filesystem::exists(dir() + "/xtsz.fpt"));
  auto play = Table::Open(dir() + "/Play.dbf", Access::kRead);
  const dbf::Field& result = play->fields()[static_cast<size_t>(play->FieldIndex(u"比赛成绩"))];
  EXPECT_EQ(result.width, 9);
  EXPECT_EQ(play->fields()[static_cast<size_t>(play->FieldIndex(u"决赛信息"))].width, 237);
}

TEST_F(DemoMeet, EntrantsAreRegisteredInEventsOfTheirAgeGroupAndSex) {
  auto registrations = Rows(dir(), "Ydybm");
  std::map<Text, std::map<Text, Variant>> by_number;
  for (auto& r : registrations) by_number[S(r, u"ID")] = r;
  std::set<std::tuple<Text, Text, bool, Text>> scheduled;  // event, age, sex, sub-event
  for (auto& s : Rows(dir(), "PlaySour"))
    scheduled.insert({S(s, u"参赛项目"), S(s, u"年龄组"), CBool(s.at(u"性别")), S(s, u"参赛子项目")});
  std::map<Text, Text> kinds;
  for (auto& i : Rows(dir(), "Item")) kinds[S(i, u"参赛项目")] = S(i, u"径赛田赛");

  size_t individual = 0;
  for (auto& p : Rows(dir(), "Play")) {
    Text event = S(p, u"参赛项目"), age = S(p, u"年龄组");
    bool male = CBool(p.at(u"性别"));
    ASSERT_TRUE(kinds.count(event)) << automation::ToUtf8(event);
    EXPECT_TRUE(scheduled.count({event, age, male, S(p, u"参赛子项目")})) << automation::ToUtf8(event);
    if (S(p, u"参赛子项目").empty()) EXPECT_EQ(S(p, u"径赛田赛"), kinds[event]);
    if (CBool(p.at(u"集体项目"))) {
      EXPECT_EQ(S(p, u"比赛团队"), S(p, u"代表队"));
      continue;
    }
    ++individual;
    auto it = by_number.find(S(p, u"编号"));
    ASSERT_NE(it, by_number.end()) << automation::ToUtf8(S(p, u"编号"));
    auto& reg = it->second;
    EXPECT_EQ(S(reg, u"运动员"), S(p, u"运动员"));
    EXPECT_EQ(S(reg, u"年龄组"), age);
    EXPECT_EQ(S(reg, u"代表队"), S(p, u"代表队"));
    EXPECT_EQ(CBool(reg.at(u"性别")), male);
    bool entered = false;
    for (int slot = 1; slot <= kYdybmEventSlots; ++slot)
      entered |= S(reg, (u"参赛项目" + automation::FromAscii(std::to_string(slot))).c_str()) == event;
    EXPECT_TRUE(entered) << automation::ToUtf8(S(p, u"编号") + u" " + event);
  }
  EXPECT_GT(individual, 300u);
}

TEST_F(DemoMeet, FirstStagesAreDrawnConsistently) {
  std::map<Text, int> serial;
  for (auto& a : Rows(dir(), "Age")) serial[S(a, u"年龄组")] = Int(a, u"流水号");
  std::map<Text, Text> men_plan;
  for (auto& i : Rows(dir(), "Item")) men_plan[S(i, u"参赛项目")] = CStr(i.at(u"男赛次信息"));

  std::map<std::tuple<Text, Text, bool, Text>, std::vector<std::map<Text, Variant>>> groups;
  for (auto& p : Rows(dir(), "Play"))
    groups[{S(p, u"参赛项目"), S(p, u"年龄组"), CBool(p.at(u"性别")), S(p, u"参赛子项目")}].push_back(p);
  for (auto& [key, rows] : groups) {
    auto& [event, age, male, sub] = key;
    Text plan = men_plan[event];
    int stages = plan[static_cast<size_t>(serial[age] - 1) * 13] - u'0';
    const char16_t* stage_field = stages > 1 ? u"预赛信息" : u"决赛信息";
    std::set<std::pair<int, int>> seats;
    int heats = 0;
    for (auto& p : rows) {
      int heat = Int(p, u"比赛组次"), lane = Int(p, u"比赛道次");
      EXPECT_TRUE(seats.insert({heat, lane}).second) << "two entrants share heat and lane";
      EXPECT_EQ(Int(p, u"比赛序号"), heat * 100 + lane);
      heats = std::max(heats, heat);
      if (CBool(p.at(u"分道"))) EXPECT_TRUE(lane >= 1 && lane <= 8);
      // Positions 1-18 of the stage field hold the current-stage columns;
      // positions are bytes of code page 936.
      std::string f = automation::ToGbk(CStr(p.at(stage_field)));
      ASSERT_EQ(f.size(), 237u);
      char head[32];
      std::snprintf(head, sizeof head, "%4d%4d%4d", Int(p, u"比赛序号"), heat, lane);
      EXPECT_EQ(f.substr(0, 12), head);
      EXPECT_EQ(f.substr(12, 6), automation::ToGbk(S(p, u"比赛组人数")));
      EXPECT_EQ(f.substr(109, 2), "FF");
      EXPECT_EQ(Trim(automation::FromGbk(f.substr(49, 60))), S(p, u"比赛团队"));
      EXPECT_EQ(S(p, u"排序成绩"), S(p, u"径赛田赛") == u"径赛" ? u"999999999" : u"000000000");
      EXPECT_EQ(Int(p, u"排序名次"), 9999);
    }
    char info[8];
    std::snprintf(info, sizeof info, "%03d%03zu", heats, rows.size());
    for (auto& p : rows) EXPECT_EQ(automation::ToUtf8(S(p, u"比赛组人数")), info);
  }
}

TEST_F(DemoMeet, IdentityNumbersMatchBirthDates) {
  for (auto& r : Rows(dir(), "Ydybm")) {
    if (S(r, u"运动员").empty()) continue;  // a row open for registration
    std::string id = automation::ToUtf8(S(r, u"身份证号码"));
    ASSERT_EQ(id.size(), 18u);
    static const int kWeights[] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (int i = 0; i < 17; ++i) sum += (id[static_cast<size_t>(i)] - '0') * kWeights[i];
    EXPECT_EQ(id[17], "10X98765432"[sum % 11]);
    automation::DateParts born = automation::SplitDate(r.at(u"出生日期").As<automation::Date>());
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d%02d%02d", born.year, born.month, born.day);
    EXPECT_EQ(id.substr(6, 8), digits);
    EXPECT_EQ((id[16] - '0') % 2 == 1, CBool(r.at(u"性别")));
  }
}

// Online registration finds empty rows for two delegations in two age
// groups, a relay with two team entries and one whose limit is one team.
TEST_F(DemoMeet, HoldsRowsOpenForRegistration) {
  std::map<std::pair<Text, Text>, int> open;
  for (auto& r : Rows(dir(), "Ydybm")) {
    if (!S(r, u"运动员").empty()) continue;
    EXPECT_EQ(S(r, u"身份证号码"), u"");
    EXPECT_EQ(S(r, u"参赛项目1"), u"");
    ++open[{S(r, u"代表队"), S(r, u"年龄组")}];
  }
  EXPECT_EQ(open, (std::map<std::pair<Text, Text>, int>{{{u"第一中学", u"初中组"}, 8}, {{u"第一中学", u"高中组"}, 8},
                                                         {{u"第二中学", u"初中组"}, 8}, {{u"第二中学", u"高中组"}, 8}}));
  std::map<Text, std::pair<int, int>> limits;
  for (auto& i : Rows(dir(), "Item")) limits[S(i, u"参赛项目")] = {Int(i, u"限报人数"), Int(i, u"团体人数")};
  EXPECT_EQ(limits[u"4×400米接力"], std::make_pair(8, 4));
  EXPECT_EQ(limits[u"4×100米接力"], std::make_pair(4, 4));
  EXPECT_EQ(limits[u"四项全能"], std::make_pair(1, 1));
}

TEST(DemoMeetFolder, RefusesAFolderWithTablesUnlessForced) {
  dbf_test::TempDir dir;
  dbf_test::Spit(dir.File("OLD.DBF"), "x");
  auto [number, text] = dbf_test::ErrorOf([&] { WriteDemoMeet(dir.path()); });
  EXPECT_EQ(number, automation::err::kFileExists);
  EXPECT_EQ(text, dir.path() + ": the folder already holds tables; use --force to replace the meet's tables");
  dbf_test::Spit(dir.File("Play.cdx"), "stale index");
  WriteDemoMeet(dir.path(), {true});
  EXPECT_FALSE(std::filesystem::exists(dir.File("Play.cdx")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("OLD.DBF")));  // not a meet table: left alone
  // The meet's tables are writable afterwards.
  auto play = Table::Open(dir.File("Play.dbf"), Access::kWrite);
  play->SetDeleted(0, true);
}

TEST(DemoMeetCommand, PrintsWhatItWroteAndRefusesToOverwrite) {
  dbf_test::TempDir dir;
  std::string target = dir.File("site/data");
  auto run = [&](const std::string& extra, int* code) {
    std::string out;
    FILE* p = ::popen((std::string(ARENIX_CLI) + " demo " + target + extra + " 2>&1").c_str(), "r");
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    *code = WEXITSTATUS(::pclose(p));
    return out;
  };
  int code = -1;
  std::string out = run("", &code);
  EXPECT_EQ(code, 0);
  EXPECT_NE(out.find("xtsz.dbf + xtsz.fpt: 1 row\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Play.dbf: 408 rows\n"), std::string::npos) << out;
  EXPECT_NE(out.find("sample meet written to " + target + ": 18 tables"), std::string::npos) << out;  // the meet, WldfUser and the desk's four
  out = run("", &code);
  EXPECT_EQ(code, 2);
  EXPECT_NE(out.find("already holds tables"), std::string::npos);
  run(" --force", &code);
  EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace arenix::meet::demo
