// Result entry checks its rights on the values it saves: a recorder cannot
// store an event the account may not enter by naming an allowed one in the
// address, and the refusal quotes the posted value as text.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "web/entry_pages.h"

namespace web_test {
namespace {

TEST(EntryRights, APostIsCheckedOnItsFormNotOnTheAddress) {
  DeskSite site;
  Client track(site);
  track.Login("jilu1", "123456");  // track events only
  const std::string play = site.data() + "/Play.dbf";
  const std::string before = FileBytes(play);
  for (const std::string& item : {std::string("跳远"), std::string("<b>跳远</b>")}) {
    Page p = track.Post("/entry.asp?item=100%C3%D7&sc=4",
                        {{"age", "高中组"}, {"sex", "男"}, {"item", item}, {"item_sub", ""}, {"scs", "1"}, {"sc", "4"},
                         {"zc", "0"}, {"bsjg", "0"}, {"TsJs", "田赛"}, {"ydy_bh_list", "|G001"}, {"playcj_1_G001", "6"},
                         {"playcj_2_G001", "50"}});
    EXPECT_NE(p.body.find("您没有录入【"), std::string::npos) << item << "\n" << p.body.substr(0, 400);
    EXPECT_EQ(p.body.find("<b>跳远</b>"), std::string::npos);  // quoted as text, never as markup
  }
  EXPECT_EQ(FileBytes(play), before);  // nothing stored
}

}  // namespace
}  // namespace web_test
