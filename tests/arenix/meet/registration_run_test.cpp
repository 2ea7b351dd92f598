// Online registration as a page script drives it with `arenix run` on the
// sample meet: the leaders' names checked, a delegation's empty rows filled
// in and read back; a form that breaks a rule refused with the error page.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <string>

#include "arenix/check/postcard.h"
#include "automation/text.h"
#include "data/dbf/test_files.h"

namespace arenix::meet {
namespace {

using nlohmann::json;

std::string Identity(const std::string& birth, const std::string& sequence) {
  std::string body = "330102" + birth + sequence;
  return body + automation::ToUtf8(automation::Text(1, check::PostcardCheckCharacter(automation::FromAscii(body))));
}

class RegistrationRun : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string cmd = std::string("'" ARENIX_CLI "' demo '") + dir_.File("data") + "' > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    // The delegation starts this age group with no athletes: the limits
    // count what is stored with what is posted.
    Run({{"site", dir_.path()}, {"data", dir_.File("data")},
         {"steps", json::array({Steps()[0], {{"sql", "Update Ydybm Set 运动员='' Where AllTrim(代表队)=='第一中学' "
                                                     "And AllTrim(年龄组)=='高中组'"}}})}});
  }

  json Run(const json& script) {
    std::ofstream(dir_.File("script.json")) << script.dump();
    FILE* p = ::popen((std::string("'" ARENIX_CLI "' run '") + dir_.File("script.json") + "'").c_str(), "r");
    std::string out;
    char buf[4096];
    while (size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    EXPECT_EQ(::pclose(p), 0) << out;
    return json::parse(out);
  }

  // The page's form: four men in the relay and a woman alone in the
  // combined event, in 第一中学's empty rows of 高中组.
  json Form() {
    json form = json::array({{"ydy_bh_list", "|N1101|N1102|N1103|N1104|N1105|N1106"},
                             {"ydy_age", "高中组"},
                             {"ydy_team", "第一中学"},
                             {"TeamOld", "王建国，李红梅"}});
    const char* names[] = {"陈一", "陈二", "O'Neil", "陈四", "林五"};
    for (int k = 0; k < 5; ++k) {
      std::string id = "N110" + std::to_string(k + 1);
      bool man = k < 4;
      form.push_back({"ydy_xm_" + id, names[k]});
      form.push_back({"ydy_xb_" + id, man ? "True" : "False"});
      form.push_back({"ydy_fjzd_" + id + "_1", "高二"});
      form.push_back({"ydy_fjzd_" + id + "_4", Identity("2008060" + std::to_string(k + 1), man ? "011" : "022")});
      form.push_back({"ydy_csxm_" + id + "_1", man ? "4×100米接力" : "四项全能"});
      form.push_back({"ydy_fgjl_" + id, "王建国"});
    }
    return form;
  }

  static json Steps(json extra_save_args = json::array()) {
    json save = {{"call", "CommWlbmSave"},
                 {"args", {{{"ref", "Request"}}, {{"ref", "Response"}}, {{"ref", "Conn"}}, {{"ref", "Rs"}},
                           {{"int", 20}}, {{"int", 2}}, {{"int", 3}}, {{"int", 2}}, "1001", {{"int", 4}},
                           {{"int", 0}}, {{"int", 0}}, "", "", {{"int", 1}}, {{"int", 1}}, {{"int", 0}},
                           {{"int", 1}}}}};
    for (auto& a : extra_save_args) save["args"].push_back(a);
    return json::array(
        {{{"call", "CommSetConn"}, {"args", {{{"ref", "Server"}}, {{"ref", "Conn"}}, {{"ref", "Response"}}}}},
         {{"call", "CommWlbmTeamCheck"},
          {"args", {{{"ref", "Request"}}, {{"ref", "Response"}}, {{"ref", "Conn"}}, {{"ref", "Rs"}}, {{"int", 1}},
                    {{"int", 2}}, {{"int", 4}}}}},
         save,
         {{"sql", "Select ID, 运动员, 附加字段1, 身份证号码, 分管教练, 参赛项目1 From Ydybm Where Left(ID,4)=='N110' Order By ID"}}});
  }

  dbf_test::TempDir dir_;
};

TEST_F(RegistrationRun, FillsInADelegationsEmptyRows) {
  json report = Run({{"site", dir_.path()}, {"data", dir_.File("data")}, {"request", {{"method", "POST"}, {"form", Form()}}},
                     {"steps", Steps()}});
  const json& steps = report["steps"];
  ASSERT_EQ(steps.size(), 4u);
  for (const json& s : steps) EXPECT_TRUE(s["error"].is_null()) << s.dump();
  EXPECT_EQ(steps[1]["result"]["value"], "王建国、李红梅");
  EXPECT_FALSE(report["response"]["ended"].get<bool>());
  const json& rows = steps[3]["rows"];
  ASSERT_EQ(rows.size(), 8u) << rows.dump();
  auto cell = [&](size_t r, const char* column) {
    std::string s = rows[r][column]["value"].get<std::string>();
    return s.erase(s.find_last_not_of(' ') + 1);
  };
  EXPECT_EQ(cell(0, "运动员"), "陈一");
  EXPECT_EQ(cell(2, "运动员"), "O'Neil");
  EXPECT_EQ(cell(2, "附加字段1"), "高二");
  EXPECT_EQ(cell(2, "身份证号码"), Identity("20080603", "011"));
  EXPECT_EQ(cell(2, "分管教练"), "王建国");
  EXPECT_EQ(cell(2, "参赛项目1"), "4×100米接力");
  EXPECT_EQ(cell(4, "参赛项目1"), "四项全能");
  EXPECT_EQ(cell(5, "运动员"), "");  // unnamed rows stay empty
}

TEST_F(RegistrationRun, RefusesAShortRelayWithTheErrorPage) {
  json form = Form();
  for (auto& pair : form)
    if (pair[0] == "ydy_csxm_N1104_1") pair[1] = "";
  json report = Run({{"site", dir_.path()}, {"data", dir_.File("data")}, {"request", {{"method", "POST"}, {"form", form}}},
                     {"steps", Steps()}});
  EXPECT_TRUE(report["response"]["ended"].get<bool>());
  EXPECT_NE(report["response"]["text"].get<std::string>().find("男子参赛项目【4×100米接力】参赛人数应为4，请重输！"),
            std::string::npos);
  EXPECT_TRUE(report["steps"][2]["error"].is_null());
  // The error page closed the connection: the read-back step fails, and
  // nothing was stored (a fresh look at the table).
  json look = Run({{"site", dir_.path()}, {"data", dir_.File("data")},
                   {"steps", json::array({Steps()[0], Steps()[3]})}});
  ASSERT_EQ(look["steps"][1]["rows"].size(), 8u);
  for (const json& row : look["steps"][1]["rows"])
    EXPECT_EQ(row["运动员"]["value"].get<std::string>().find_first_not_of(' '), std::string::npos);
}

}  // namespace
}  // namespace arenix::meet
