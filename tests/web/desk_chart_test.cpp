// The team chart of an age group: teams by total, equal totals in name order
// on every load (the order must not change between two looks at the chart).
#include <gtest/gtest.h>

#include <regex>

#include "automation/text.h"
#include "web/desk_site.h"

namespace web_test {
namespace {

struct Bar {
  double total;
  std::u16string team;
  bool operator==(const Bar&) const = default;
};

// Each bar's caption cells: its total, then its team.
std::vector<Bar> ChartBars(const std::string& body) {
  static const std::regex kCaption("<td align='center'>([^<]+)</td>");
  std::vector<std::string> cells;
  for (std::sregex_iterator it(body.begin(), body.end(), kCaption), end; it != end; ++it) cells.push_back((*it)[1]);
  std::vector<Bar> out;
  for (size_t i = 0; i + 1 < cells.size(); i += 2) out.push_back({std::stod(cells[i]), automation::FromUtf8(cells[i + 1])});
  return out;
}

TEST(DeskChart, TeamsByTotalThenByNameOnEveryLoad) {
  DeskSite site;
  Client c(site);
  ASSERT_EQ(c.Login("admin", "admin2025").status, 302);
  for (const char* age : {"%B8%DF%D6%D0%D7%E9", "%B3%F5%D6%D0%D7%E9", "%D0%A1%D1%A7%D7%E9"}) {
    const std::string path = std::string("/admin/chart.asp?age=") + age;
    const std::vector<Bar> first = ChartBars(c.Get(path).body);
    ASSERT_GE(first.size(), 3u) << path;
    for (size_t i = 1; i < first.size(); ++i) {
      const Bar &a = first[i - 1], &b = first[i];
      EXPECT_TRUE(a.total > b.total || (a.total == b.total && a.team < b.team))
          << path << ": bar " << i << " " << a.total << " then " << b.total;
    }
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ChartBars(c.Get(path).body), first) << path;
  }
}

}  // namespace
}  // namespace web_test
