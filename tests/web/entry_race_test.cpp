// Result saves while other recorders view result entry: a view unpacks the
// stage into Play's working columns, and a view that came between a save's
// writes and its packing used to bring back the stage as it was, losing the
// save. Every acknowledged save must be in the stage field right after.
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/classes.h"
#include "data/connection.h"
#include "data/recordset.h"
#include "web/entry_pages.h"

namespace web_test {
namespace {

std::string Query(const std::vector<std::pair<std::string, std::string>>& fields) {
  std::string q;
  for (const auto& [k, v] : fields) {
    q += q.empty() ? "?" : "&";
    q += k + "=" + web::PercentEncode(automation::ToGbk(automation::FromUtf8(v)));
  }
  return q;
}

const char* kRunners[] = {"1101", "1102", "2101", "2102", "3101", "3102",
                          "4101", "4102", "5101", "5102", "6101", "6102"};

int Seconds(int save) { return 10 + save % 5; }
int Hundredths(int save, int runner) { return (runner * 7 + save * 3) % 100; }

std::string Digits(const std::string& s) {
  std::string d;
  for (char c : s)
    if (c >= '0' && c <= '9') d += c;
  return d;
}

// The results stored in the heats' stage field, by entry number.
std::map<std::string, std::string> StageResults(const std::string& folder) {
  data::FreeTableConnection conn;
  conn.Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(folder));
  auto rs = conn.Execute(
      u"Select 编号, SubStr(预赛信息,19,9) As r From Play Where AllTrim(参赛项目)=='100米' And "
      u"AllTrim(年龄组)=='高中组' And 性别=.T.");
  auto& set = automation::ObjectCast<data::Recordset>(rs);
  std::map<std::string, std::string> out;
  for (; !set.Eof(); set.MoveNext())
    out[automation::ToUtf8(automation::Trim(automation::CStr(set.Field(u"编号"))))] =
        automation::ToUtf8(automation::CStr(set.Field(u"r")));
  return out;
}

TEST(EntryRace, EveryAcknowledgedSaveIsInTheStageFieldWhileOthersView) {
  DeskSite site;
  data::RegisterClasses();
  Client recorder(site);
  recorder.Login("jilu1", "123456");

  std::atomic<bool> saving{true};
  std::atomic<int> views{0}, bad_views{0};
  std::vector<std::thread> viewers;
  const std::vector<std::string> pages = {
      "/entry.asp" + Query({{"age", "高中组"}, {"sex", "男"}, {"item", "100米"}, {"sc", "1"}}),
      "/entry.asp" + Query({{"age", "高中组"}, {"sex", "男"}, {"item", "100米"}, {"sc", "4"}}),
      "/entry.asp" + Query({{"age", "高中组"}, {"sex", "男"}, {"item", "100米"}, {"sc", "1"}, {"zc", "2"}}),
      "/entry.asp" + Query({{"age", "高中组"}, {"sex", "女"}, {"item", "100米"}, {"sc", "1"}}),
  };
  for (int v = 0; v < 2; ++v)
    viewers.emplace_back([&, v] {
      Client viewer(site);
      viewer.Login("jilu1", "123456");
      for (size_t k = static_cast<size_t>(v); saving; ++k) {
        Page p = viewer.Get(pages[k % pages.size()]);
        ++views;
        if (p.status != 200 || p.body.find("成绩录入") == std::string::npos) ++bad_views;
      }
    });

  constexpr int kSaves = 12;
  int acknowledged = 0;
  for (int save = 0; save < kSaves; ++save) {
    // Each save comes after at least one more view, so that they interleave
    // however fast the saves are.
    const int seen = views.load();
    for (int wait = 0; wait < 200 && views.load() == seen; ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::vector<std::pair<std::string, std::string>> form = {
        {"age", "高中组"}, {"sex", "男"}, {"item", "100米"}, {"item_sub", ""}, {"scs", "2"}, {"sc", "1"},
        {"zc", "0"}, {"bsjg", "0"}, {"TsJs", "径赛"}, {"JsFd", "True"}, {"Jtxm", "False"}, {"zdygs", ""},
        {"Record", ""}};
    std::string list;
    for (int r = 0; r < 12; ++r) {
      const std::string n = kRunners[r];
      list += "|" + n;
      form.push_back({"playcj_1_" + n, ""});
      form.push_back({"playcj_2_" + n, std::to_string(Seconds(save))});
      form.push_back({"playcj_3_" + n, std::to_string(100 + Hundredths(save, r)).substr(1)});
    }
    form.push_back({"ydy_bh_list", list});
    Page p = recorder.Post("/entry.asp", form);
    if (p.status != 302 || p.location.find("saved=1") == std::string::npos) {
      ADD_FAILURE() << "save " << save << " not acknowledged: " << p.status << " " << p.body.substr(0, 300);
      continue;
    }
    ++acknowledged;
    const auto stored = StageResults(site.data());
    int lost = 0;
    for (int r = 0; r < 12; ++r) {
      const std::string want = std::to_string(Seconds(save)) + std::to_string(100 + Hundredths(save, r)).substr(1);
      const auto it = stored.find(kRunners[r]);
      if (it == stored.end() || !Digits(it->second).ends_with(want)) ++lost;
    }
    EXPECT_EQ(lost, 0) << "save " << save << ": results missing from the stage field";
  }
  saving = false;
  for (auto& t : viewers) t.join();
  EXPECT_EQ(acknowledged, kSaves);
  EXPECT_GE(views.load(), kSaves);
  EXPECT_EQ(bad_views.load(), 0);
}

// The entry form of heat `zc` of the boys' 100 m heats: every runner of
// `runners` with `seconds`.(10 + its place in the list).
std::vector<std::pair<std::string, std::string>> HeatForm(int zc, const std::vector<std::string>& runners, int seconds) {
  auto form = SprintForm(runners);
  for (auto& [name, value] : form)
    if (name == "zc") value = std::to_string(zc);
  for (size_t r = 0; r < runners.size(); ++r) AddTime(form, runners[r], seconds, static_cast<int>(10 + r));
  return form;
}

// A recorder opens heat 1 of the heats; before the save, someone views the
// final, which unpacks the final into the working columns. The save of
// heat 1 must still work on the heats: the other heat keeps its results.
TEST(EntryRace, AHeatSavedAfterAnotherStageWasViewedKeepsTheOtherHeats) {
  DeskSite site;
  data::RegisterClasses();
  Client recorder(site), other(site);
  recorder.Login("jilu1", "123456");
  other.Login("jilu1", "123456");
  const std::vector<std::string> all(std::begin(kRunners), std::end(kRunners));
  Page whole = recorder.Post("/entry.asp", HeatForm(0, all, 12));
  ASSERT_EQ(whole.status, 302) << whole.body.substr(0, 300);
  const auto before = StageResults(site.data());

  const std::vector<std::string> heat_runners = ListedNumbers(recorder.Get(SprintEntryPage(1, 1)));
  ASSERT_FALSE(heat_runners.empty());
  ASSERT_LT(heat_runners.size(), all.size());

  Page final_view = other.Get(SprintEntryPage(4));
  ASSERT_EQ(final_view.status, 200);
  Page saved = recorder.Post("/entry.asp", HeatForm(1, heat_runners, 11));
  ASSERT_EQ(saved.status, 302) << saved.body.substr(0, 300);

  const auto after = StageResults(site.data());
  for (const auto& runner : all) {
    const auto it = std::find(heat_runners.begin(), heat_runners.end(), runner);
    if (it != heat_runners.end())
      EXPECT_TRUE(Digits(after.at(runner)).ends_with("11" + std::to_string(10 + (it - heat_runners.begin()))))
          << runner << ": " << after.at(runner);
    else
      EXPECT_EQ(after.at(runner), before.at(runner)) << runner << " of the other heat lost its result";
  }
}

}  // namespace
}  // namespace web_test
