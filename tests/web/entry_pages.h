// Result entry through the site, as the tests drive it: the entry numbers
// the entry page lists for a round, and the entry form of the men's 100 m
// of the sample meet's senior age group (heats and final).
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "web/desk_site.h"

namespace web_test {

/// A file's bytes, to show that a refused save left a table as it was.
inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

/// A UTF-8 value as a GBK query value.
inline std::string Q(const std::string& utf8) {
  return web::PercentEncode(automation::ToGbk(automation::FromUtf8(utf8)));
}

/// The entry page of the men's 100 m of 高中组: stage `sc`, heat `zc` (0 = all).
inline std::string SprintEntryPage(int sc, int zc = 0) {
  return "/entry.asp?age=" + Q("高中组") + "&sex=" + Q("男") + "&item=" + Q("100米") + "&item_sub=&sc=" +
         std::to_string(sc) + "&zc=" + std::to_string(zc);
}

/// The entry numbers a page lists in its entry form, in order.
inline std::vector<std::string> ListedNumbers(const Page& p) {
  const std::string key = "name=\"ydy_bh_list\" value=\"";
  const size_t at = p.body.find(key);
  EXPECT_NE(at, std::string::npos) << p.body.substr(0, 600);
  if (at == std::string::npos) return {};
  const std::string list = p.body.substr(at + key.size(), p.body.find('"', at + key.size()) - at - key.size());
  std::vector<std::string> out;
  std::stringstream ss(list);
  for (std::string n; std::getline(ss, n, '|');)
    if (!n.empty()) out.push_back(n);
  return out;
}

/// The entry form of the men's 100 m (2 stages) at stage `sc`, with the
/// fixed fields the page posts; marks are added by the test.
inline std::vector<std::pair<std::string, std::string>> SprintForm(const std::vector<std::string>& numbers,
                                                                   int sc = 1) {
  std::string list;
  for (const auto& n : numbers) list += "|" + n;
  return {{"age", "高中组"}, {"sex", "男"}, {"item", "100米"}, {"item_sub", ""}, {"zdygs", ""}, {"TsJs", "径赛"},
          {"Jtxm", "False"}, {"JsFd", "True"}, {"scs", "2"}, {"sc", std::to_string(sc)}, {"zc", "0"}, {"bsjg", "0"},
          {"Record", ""}, {"ydy_bh_list", list}};
}

/// Adds a time of seconds and hundredths for one entrant.
inline void AddTime(std::vector<std::pair<std::string, std::string>>& form, const std::string& number,
                    int seconds, int hundredths) {
  form.push_back({"playcj_2_" + number, std::to_string(seconds)});
  form.push_back({"playcj_3_" + number, (hundredths < 10 ? "0" : "") + std::to_string(hundredths)});
}

}  // namespace web_test
