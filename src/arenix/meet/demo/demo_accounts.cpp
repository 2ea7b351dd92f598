#include "arenix/meet/demo/demo_accounts.h"

#include <unistd.h>

#include "arenix/desk/desk_tables.h"
#include "automation/coerce.h"
#include "automation/text.h"
#include "data/connection.h"
#include "data/sql_text.h"

namespace arenix::meet::demo {

using automation::Text;

namespace {

// Stored forms made once with the password store (Argon2id, its costs):
// the sample meet is written the same on every run and costs no hashing
// time.
constexpr char16_t kHash123456[] = u"$argon2id$v=19$m=19456,t=2,p=1$SHN5PXRqEg743ET7Sh1PKQ$2J0PjdvQPvTTW7+upkUQjou01+A5oWzEnIaPFRddrHU";
constexpr char16_t kHashJilu2025[] = u"$argon2id$v=19$m=19456,t=2,p=1$BIPO8j2V7AXpiVOKwLthbQ$cOPhB10WPEwebqef0v27+/Hze95JQg09cFwWaRVv+V4";
constexpr char16_t kHashAdmin2025[] = u"$argon2id$v=19$m=19456,t=2,p=1$OW2XdGGtpYQ3Dj/jl6ik2A$ziyP7TokyG1VpGiUkXXmDD/gPXqsLodKJqXEjByEs84";

struct DemoAccount {
  const char16_t* user;
  const char16_t* hash;
  const char16_t* role;
  const char16_t* name;
  const char16_t* team;
  const char16_t* events;
};

constexpr DemoAccount kAccounts[] = {
    {u"admin", kHashAdmin2025, u"管理员", u"大会组委会", u"", u""},
    {u"jilu1", kHash123456, u"记录员", u"径赛记录组", u"", u"100米,400米,1500米,4×100米接力"},
    {u"jilu2", kHash123456, u"记录员", u"田赛记录组", u"", u"跳远,铅球,1分钟跳绳,四项全能"},
    {u"zongcai", kHashJilu2025, u"记录员", u"总裁判组", u"",
     u"100米,400米,1500米,跳远,铅球,1分钟跳绳,4×100米接力,四项全能"},
    {u"dyzx", kHash123456, u"代表队", u"第一中学", u"第一中学", u""},
    {u"dezx", kHash123456, u"代表队", u"第二中学", u"第二中学", u""},
    {u"syzx", kHash123456, u"代表队", u"实验中学", u"实验中学", u""},
    {u"ycxx", kHash123456, u"代表队", u"育才学校", u"育才学校", u""},
    {u"wgyxx", kHash123456, u"代表队", u"外国语学校", u"外国语学校", u""},
    {u"tyydxx", kHash123456, u"代表队", u"体育运动学校", u"体育运动学校", u""},
};

struct DemoNotice {
  const char16_t* title;
  const char16_t* text;
  const char16_t* time;
};

constexpr DemoNotice kNotices[] = {
    {u"关于网络报名的通知", u"各代表队请于4月10日前用组委会发放的账号登录完成网络报名，确认无误后点击“确认提交报名”。",
     u"2025-04-01 09:00:00"},
    {u"技术会议安排", u"技术会议定于4月17日下午3时在体育中心会议室召开，请各代表队领队准时参加。", u"2025-04-05 10:30:00"},
};

}  // namespace

std::vector<WrittenTable> WriteDeskTables(const std::string& dir, bool overwrite) {
  using arenix::desk::DeskTableNames;
  if (overwrite)
    for (const Text& t : DeskTableNames())
      for (const char* ext : {".dbf", ".fpt", ".cdx", ".DBF", ".FPT", ".CDX"})
        ::unlink((dir + "/" + automation::ToUtf8(t) + ext).c_str());

  data::FreeTableConnection conn;
  conn.Open(arenix::desk::ConnectionText(dir));
  for (const Text& t : DeskTableNames()) conn.Execute(arenix::desk::DeskTableStatement(t));
  for (const DemoAccount& a : kAccounts)
    conn.Execute(u"Insert Into Account (用户名, 密码, 角色, 姓名, 代表队, 登分项目, 修改时间) Values (" +
                 data::SqlText(a.user) + u", " + data::SqlText(a.hash) + u", " + data::SqlText(a.role) + u", " +
                 data::SqlText(a.name) + u", " + data::SqlText(a.team) + u", " + data::SqlText(a.events) +
                 u", '2025-04-01 09:00:00')");
  int serial = 1;
  for (const DemoNotice& n : kNotices)
    conn.Execute(u"Insert Into Notice (编号, 标题, 内容, 时间, 发布人) Values (" +
                 automation::FromUtf8(std::to_string(serial++)) + u", " + data::SqlText(n.title) + u", " +
                 data::SqlText(n.text) + u", " + data::SqlText(n.time) + u", 'admin')");
  conn.Close();

  std::vector<WrittenTable> written;
  for (const Text& t : DeskTableNames()) {
    WrittenTable w;
    w.file = automation::ToUtf8(t) + ".dbf";
    if (t == arenix::desk::kAuditTable || t == arenix::desk::kNoticeTable) w.memo_file = automation::ToUtf8(t) + ".fpt";
    w.rows = t == arenix::desk::kAccountTable ? std::size(kAccounts) : t == arenix::desk::kNoticeTable ? std::size(kNotices) : 0;
    written.push_back(w);
  }
  return written;
}

}  // namespace arenix::meet::demo
