#include "arenix/desk/desk_tables.h"

#include <filesystem>

#include "automation/clock.h"
#include "automation/runtime.h"
#include "data/connection.h"
#include "data/write_lock.h"

namespace arenix::desk {

using automation::Text;
using automation::TextView;

namespace {

bool TableExists(const std::string& folder, TextView table) {
  // The engine sees table names without case; so does this check.
  const std::string want = automation::ToUtf8(automation::LCase(Text(table) + u".dbf"));
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec))
    if (automation::ToUtf8(automation::LCase(automation::FromUtf8(e.path().filename().string()))) == want) return true;
  return false;
}

}  // namespace

const std::vector<Text>& DeskTableNames() {
  static const std::vector<Text> names = {kAccountTable, kAuditTable, kNoticeTable, kStaffTable};
  return names;
}

Text DeskTableStatement(TextView table) {
  if (table == kAccountTable)
    return u"Create Table Account Free (用户名 C(20), 密码 C(128), 角色 C(10), 姓名 C(20), 代表队 C(40), "
           u"登分项目 C(254), 修改时间 C(19))";
  if (table == kAuditTable)
    return u"Create Table AuditLog Free (时间 C(19), 用户 C(20), 角色 C(10), 动作 C(20), 项目 C(80), "
           u"代表队 C(40), 之前 M, 之后 M, 来源 C(46))";
  if (table == kNoticeTable)
    return u"Create Table Notice Free (编号 I, 标题 C(100), 内容 M, 时间 C(19), 发布人 C(20))";
  if (table == kStaffTable)
    return u"Create Table TeamStaff Free (代表队 C(40), 年龄组 C(20), 领队 C(60), 教练 C(80), 锁定 L, "
           u"修改时间 C(19))";
  throw automation::Error(automation::err::kInvalidCall, u"no desk table " + Text(table));
}

Text ConnectionText(const std::string& folder) {
  return u"provider=vfpoledb;data source=" + automation::FromUtf8(folder);
}

std::vector<Text> EnsureDeskTables(const std::string& folder) {
  std::vector<Text> made;
  bool missing = false;
  for (const Text& t : DeskTableNames()) missing = missing || !TableExists(folder, t);
  if (!missing) return made;
  data::MeetWriteLock lock(folder);
  data::FreeTableConnection conn;
  conn.Open(ConnectionText(folder));
  for (const Text& t : DeskTableNames())
    if (!TableExists(folder, t)) {  // checked again under the lock
      conn.Execute(DeskTableStatement(t));
      made.push_back(t);
    }
  conn.Close();
  return made;
}

Text TimeText() {
  return automation::Format(automation::Variant(automation::Now()), u"yyyy-mm-dd hh:nn:ss");
}

}  // namespace arenix::desk
