// The tables the organiser's desk keeps beside the meet's own, as free
// tables of the meet folder (so the desktop program's backup takes them
// along):
//
//   Account    the site's accounts: 用户名, 密码 (the password store's
//              salted hash), 角色 (管理员 / 记录员 / 代表队), 姓名, 代表队
//              (a delegation account's own delegation), 登分项目 (a
//              recorder's events, comma-separated), 修改时间
//   AuditLog   every save and desk change: 时间, 用户, 角色, 动作, 项目
//              (event, age group, sex and stage), 代表队, 之前, 之后 (marks
//              or values before and after), 来源 (client address)
//   Notice     notices of the home page: 编号, 标题, 内容, 时间, 发布人
//   TeamStaff  a delegation's team leaders and coaches per age group, and
//              whether its registration is locked: 代表队, 年龄组, 领队,
//              教练, 锁定, 修改时间
//
// Times are texts "YYYY-MM-DD HH:MM:SS", so they sort as they read.
#pragma once

#include <string>
#include <vector>

#include "automation/text.h"

namespace arenix::desk {

inline constexpr char16_t kAccountTable[] = u"Account";
inline constexpr char16_t kAuditTable[] = u"AuditLog";
inline constexpr char16_t kNoticeTable[] = u"Notice";
inline constexpr char16_t kStaffTable[] = u"TeamStaff";

inline constexpr char16_t kRoleOrganiser[] = u"管理员";
inline constexpr char16_t kRoleRecorder[] = u"记录员";
inline constexpr char16_t kRoleDelegation[] = u"代表队";

/// The names of the desk's tables, in the order they are made.
const std::vector<automation::Text>& DeskTableNames();

/// The CREATE TABLE statement of one of them.
automation::Text DeskTableStatement(automation::TextView table);

/// Makes the desk's tables that the meet folder lacks (through the engine,
/// under the meet's write lock). Returns the names made.
std::vector<automation::Text> EnsureDeskTables(const std::string& folder);

/// The connection text of a meet folder.
automation::Text ConnectionText(const std::string& folder);

/// The current time as the desk's tables store it.
automation::Text TimeText();

}  // namespace arenix::desk
