// The team leaders' and coaches' names of online registration: separators
// normalised, the number of names and their length limited, refusals
// through the error page with the exact message.
#include <gtest/gtest.h>

#include "arenix/check/page.h"
#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/registration_team.h"
#include "tables_meet_folder.h"

namespace arenix::meet {
namespace {

struct Case {
  int16_t type;
  const char16_t* typed;
  int16_t most, longest;
  const char16_t* result;   // when accepted
  const char16_t* refused;  // the error page's message, or null
};

TEST(TeamCheck, NormalisesLimitsAndRefuses) {
  const Case cases[] = {
      {2, u"张三, 李四, 王五", 0, 0, u"张三、李四、王五", nullptr},
      {1, u" 张三，李四|王五$赵六 ", 4, 2, u"张三、李四、王五、赵六", nullptr},
      {2, u"a,,,b", 3, 0, u"a、、b", nullptr},  // one pass: three separators leave two
      {2, u"张三, 李四, 王五", 2, 0, nullptr, u"教练人数为【3】不能超过2人，请重输！"},
      {1, u"张三,李四,", 2, 0, nullptr, u"领队人数为【3】不能超过2人，请重输！"},  // the empty last piece counts
      {1, u"欧阳小明明,李四", 0, 4, nullptr, u"领队【欧阳小明明】姓名长度超出了4的限制，请重输！"},
      {2, u"张三,欧阳小明明,司马相如如", 3, 4, nullptr, u"教练【欧阳小明明】姓名长度超出了4的限制，请重输！"},
      {2, u"张三,李四", 2, 4, u"张三、李四", nullptr},
      {2, u"", 1, 1, u"", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(automation::ToUtf8(c.typed));
    check::testing::Page page;
    page.request->AddForm(c.type == 1 ? u"TeamOld" : u"TeamTeacher", c.typed);
    page.request->AddForm(c.type == 1 ? u"TeamTeacher" : u"TeamOld", u"另一个字段,不读");
    Variant conn(Text(u"")), rs(Text(u""));
    Text got = CheckTeamNames(page.Request, page.Response, conn, rs, c.type, c.most, c.longest);
    if (c.refused) {
      EXPECT_EQ(got, u"");
      page.ExpectRefused(c.refused);
    } else {
      EXPECT_EQ(automation::ToUtf8(got), automation::ToUtf8(c.result));
      page.ExpectAccepted();
    }
  }
}

TEST(TeamCheck, RefusalClosesThePagesDataByName) {
  testing::TablesFolder db({"team"});
  check::testing::Page page;
  page.request->AddForm(u"TeamTeacher", u"甲 乙 丙");
  Variant rs = testing::TablesFolder::NewRecordset();
  ArenixCls cls;
  Variant type(int16_t{2}), most(int16_t{2}), longest(int16_t{0});
  Variant* args[] = {&page.Request, &page.Response, &db.conn, &rs, &type, &most, &longest};
  EXPECT_EQ(CallMethod(cls, u"CommWlbmTeamCheck", args), Variant(Text()));
  page.ExpectRefused(u"教练人数为【3】不能超过2人，请重输！");
  auto* c = automation::ObjectTryCast<data::Connection>(db.conn);
  EXPECT_TRUE(c == nullptr || !c->IsOpen());
}

}  // namespace
}  // namespace arenix::meet
