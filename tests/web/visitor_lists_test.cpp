// What a visitor reads: the stage list follows the chosen event, headings
// name a real group, places and points of athletes without a result are
// empty, the home page counts a stage only when all its heats are in, the
// entrant search finds O'Neil and 50% while the guard stays on the pages
// that keep it, and the result export is a spreadsheet whose marks are
// numbers.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "data/classes.h"
#include "data/connection.h"
#include "support/node.h"
#include "web/entry_pages.h"

namespace web_test {
namespace {

void Exec(const std::string& folder, const std::u16string& sql) {
  data::RegisterClasses();
  data::FreeTableConnection conn;
  conn.Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(folder));
  conn.Execute(sql);
}

// The men's 100 m heats of 高中组 with results for heat 1 only (`both`:
// for every heat); the i-th listed runs 11.(10+i).
void SaveHeats(Client& track, bool both) {
  const std::vector<std::string> numbers = ListedNumbers(track.Get(SprintEntryPage(1, both ? 0 : 1)));
  ASSERT_FALSE(numbers.empty());
  auto form = SprintForm(numbers, 1);
  for (size_t i = 0; i < numbers.size(); ++i) AddTime(form, numbers[i], 11, 10 + static_cast<int>(i));
  ASSERT_EQ(track.Post("/entry.asp", form).status, 302);
}

std::string ResultsOf100(int sc, const std::string& sex = "男") {
  return "/results.asp?age=" + Q("高中组") + "&sex=" + Q(sex) + "&item=" + Q("100米") + "&item_sub=&sc=" +
         std::to_string(sc);
}

TEST(VisitorLists, StagesFollowTheEventAndHeadingsNameARealGroup) {
  DeskSite site;
  Client visitor(site);
  // The relay has no schedule: no stage list of another event, no 决赛.
  Page relay = visitor.Get("/results.asp?age=" + Q("高中组") + "&item=" + Q("4×400米接力") + "&sc=1");
  EXPECT_NE(relay.body.find("id=\"no-stages\""), std::string::npos) << relay.body.substr(0, 2000);
  EXPECT_NE(relay.body.find("<option value=''>未编排</option>"), std::string::npos);
  EXPECT_EQ(relay.body.find("决赛成绩"), std::string::npos);
  EXPECT_EQ(relay.body.find("预赛成绩"), std::string::npos);
  // The selectors reload the page without the previous stage on a change.
  EXPECT_NE(relay.body.find("addEventListener('change'"), std::string::npos);

  // A sex group an event run by sex does not have.
  for (const std::string& page : {ResultsOf100(1, "混"), SprintEntryPage(1) + "&sex=" + Q("混")}) {
    Client track(site);
    track.Login("jilu1", "123456");
    Page p = track.Get(page);
    EXPECT_EQ(p.body.find("混子组"), std::string::npos) << page;
    EXPECT_NE(p.body.find("男子组"), std::string::npos) << page;
  }
}

TEST(VisitorLists, NoResultNoPlaceAndAStageDoneOnlyWithAllItsHeats) {
  DeskSite site;
  Client track(site), visitor(site);
  track.Login("jilu1", "123456");
  const std::string progress_none = "已录 0 / 10 组别赛次";
  SaveHeats(track, false);
  // Heat 2 has no results: their places are empty, and the stage is not done.
  Page list = visitor.Get(ResultsOf100(1));
  EXPECT_NE(list.body.find("<td></td><td></td><td></td></tr>"), std::string::npos) << list.body.substr(0, 3000);
  EXPECT_EQ(list.body.find("<td>0</td>"), std::string::npos);
  Page home = visitor.Get("/index.asp");
  EXPECT_NE(home.body.find(progress_none), std::string::npos) << home.body.substr(0, 4000);

  SaveHeats(track, true);
  home = visitor.Get("/index.asp");
  EXPECT_NE(home.body.find("已录 1 / 10 组别赛次"), std::string::npos) << home.body.substr(0, 4000);
}

TEST(VisitorLists, TheEntrantSearchFindsQuotesAndPercentsAndTheGuardStaysElsewhere) {
  DeskSite site;
  Exec(site.data(), u"Update Play Set 运动员='O''Neil' Where Trim(编号)=='1101'");
  Exec(site.data(), u"Update Play Set 运动员='张50%' Where Trim(编号)=='1102'");
  Client visitor(site);
  struct Case {
    std::string page, keyword, shown;
  } cases[] = {
      {"/entrants.asp", "O'Neil", "Neil</td>"},
      {"/entrants.asp", "50%", "张50%"},
  };
  for (const auto& c : cases) {
    Page p = visitor.Get(c.page + "?keyword=" + web::PercentEncode(c.keyword));
    EXPECT_EQ(p.status, 200) << c.keyword;
    EXPECT_NE(p.body.find(c.shown), std::string::npos) << c.keyword << p.body.substr(0, 1500);
    EXPECT_EQ(p.body.find("共 0 人次"), std::string::npos) << c.keyword;
    EXPECT_EQ(p.body.find("注入"), std::string::npos) << c.keyword;
  }
  Page athletes = visitor.Get("/athletes.asp?keyword=" + web::PercentEncode("O'Neil"));
  EXPECT_EQ(athletes.body.find("注入"), std::string::npos);
  // Pages that keep the keyword guard still refuse.
  Page guarded = visitor.Get("/results.asp?item=" + web::PercentEncode("x' or 1=1"));
  EXPECT_NE(guarded.body.find("请不要在参数中包含非法字符尝试注入"), std::string::npos) << guarded.body.substr(0, 600);
}

using Cells = std::vector<std::vector<std::string>>;

// The cells of exported sheets (name -> file bytes) as LibreOffice reads
// them, converted to UTF-8 CSV in one run; the files stay under
// build/artifacts/result_export.
std::map<std::string, Cells> OpenedInLibreOffice(const std::map<std::string, std::string>& sheets) {
  const std::string dir = arenix::testing::ArtifactDir("result_export");
  const std::string profile =
      (std::filesystem::temp_directory_path() / ("arenix-lo-" + std::to_string(getpid()))).string();
  std::string files;
  for (const auto& [name, bytes] : sheets) {
    std::ofstream(dir + "/" + name + ".xlsx", std::ios::binary) << bytes;
    std::filesystem::remove(dir + "/" + name + ".csv");
    files += " " + name + ".xlsx";
  }
  const std::string cmd = "cd " + arenix::testing::ShellQuote(dir) + " && soffice -env:UserInstallation=file://" +
                          profile + " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76'" +
                          " --outdir ." + files + " >/dev/null 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
  std::filesystem::remove_all(profile);
  std::map<std::string, Cells> out;
  for (const auto& entry : sheets) {
    std::ifstream in(dir + "/" + entry.first + ".csv");
    Cells& rows = out[entry.first];
    for (std::string line; std::getline(in, line);) {
      std::vector<std::string> cells;
      std::stringstream ss(line);
      for (std::string cell; std::getline(ss, cell, ',');) cells.push_back(cell);
      if (!line.empty() && line.back() == ',') cells.push_back("");
      rows.push_back(cells);
    }
  }
  return out;
}

// The value of a hidden field of a page.
std::string Hidden(const Page& p, const std::string& name) {
  const std::string key = "name=\"" + name + "\" value=\"";
  const size_t at = p.body.find(key);
  if (at == std::string::npos) return "";
  return p.body.substr(at + key.size(), p.body.find('"', at + key.size()) - at - key.size());
}

// The export opened in LibreOffice: times are numbers of seconds and
// field marks numbers of metres beside the mark as shown, and entrants
// without a result have empty cells.
TEST(VisitorLists, TheResultExportIsASpreadsheetWithMarksAsNumbers) {
  DeskSite site;
  Client track(site), judge(site), visitor(site);
  track.Login("jilu1", "123456");
  SaveHeats(track, false);
  Page sheet = visitor.Get(ResultsOf100(1) + "&excel=1");
  ASSERT_EQ(sheet.status, 200);
  EXPECT_NE(sheet.headers.find("spreadsheetml.sheet"), std::string::npos) << sheet.headers;
  EXPECT_NE(sheet.headers.find(".xlsx"), std::string::npos) << sheet.headers;
  ASSERT_EQ(sheet.body.substr(0, 2), "PK");

  // The long jump of the same group, every jumper between 6.10 and 6.2x m.
  judge.Login("jilu2", "123456");
  const std::string query = "age=" + Q("高中组") + "&sex=" + Q("男") + "&item=" + Q("跳远") + "&item_sub=";
  Page entry = judge.Get("/entry.asp?" + query);
  const std::vector<std::string> jumpers = ListedNumbers(entry);
  ASSERT_FALSE(jumpers.empty());
  std::vector<std::pair<std::string, std::string>> form;
  for (const char* f : {"zdygs", "TsJs", "Jtxm", "JsFd", "scs", "sc", "zc", "bsjg"}) form.push_back({f, Hidden(entry, f)});
  form.insert(form.end(), {{"age", "高中组"}, {"sex", "男"}, {"item", "跳远"}, {"item_sub", ""}});
  std::string list;
  for (size_t i = 0; i < jumpers.size(); ++i) {
    list += "|" + jumpers[i];
    form.push_back({"playcj_1_" + jumpers[i], "6"});
    form.push_back({"playcj_2_" + jumpers[i], std::to_string(10 + i)});
  }
  form.push_back({"ydy_bh_list", list});
  ASSERT_EQ(judge.Post("/entry.asp", form).status, 302);
  Page jump = visitor.Get("/results.asp?" + query + "&sc=" + Hidden(entry, "sc") + "&excel=1");

  auto opened = OpenedInLibreOffice({{"sprint", sheet.body}, {"long_jump", jump.body}});
  const Cells& rows = opened["sprint"];
  ASSERT_GE(rows.size(), 4u);
  EXPECT_EQ(rows[0][0], "高中组男子组100米预赛成绩");
  ASSERT_GE(rows[1].size(), 9u);
  EXPECT_EQ(rows[1][5], "成绩");
  EXPECT_EQ(rows[1][6], "成绩（秒）");
  int timed = 0, empty = 0;
  for (size_t r = 2; r < rows.size(); ++r) {
    ASSERT_GE(rows[r].size(), 8u) << r;
    if (rows[r][5].empty()) {
      // No result: no number and no place.
      EXPECT_EQ(rows[r][6], "") << r;
      EXPECT_EQ(rows[r][7], "") << r;
      ++empty;
      continue;
    }
    // 11"10 is 11.1 seconds.
    const double seconds = std::stod(rows[r][6]);
    EXPECT_GE(seconds, 11.1) << rows[r][5];
    EXPECT_LT(seconds, 12.0) << rows[r][5];
    ++timed;
  }
  EXPECT_GT(timed, 0);
  EXPECT_GT(empty, 0);

  const Cells& jumps = opened["long_jump"];
  ASSERT_EQ(jumps.size(), jumpers.size() + 2);
  ASSERT_GE(jumps[1].size(), 7u);
  EXPECT_EQ(jumps[1][6], "成绩（米）");
  for (size_t r = 2; r < jumps.size(); ++r) {
    const double metres = std::stod(jumps[r].at(6));
    EXPECT_GE(metres, 6.1) << jumps[r][5];
    EXPECT_LT(metres, 6.1 + 0.01 * static_cast<double>(jumpers.size())) << jumps[r][5];
  }
}

}  // namespace
}  // namespace web_test
