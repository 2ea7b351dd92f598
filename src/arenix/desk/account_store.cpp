#include "arenix/desk/account_store.h"

#include <algorithm>

#include "arenix/desk/desk_tables.h"
#include "arenix/desk/password_hash.h"
#include "arenix/hash/md5.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/sql_text.h"
#include "data/write_lock.h"

namespace arenix::desk {

using automation::Variant;

namespace {

Text Str(const Variant& v) {
  if (v.IsNull() || v.IsEmpty()) return {};
  return automation::Trim(automation::CStr(v));
}

[[noreturn]] void Refuse(Text message) { throw automation::Error(automation::err::kInvalidCall, std::move(message)); }

bool KnownRole(TextView role) { return role == kRoleOrganiser || role == kRoleRecorder || role == kRoleDelegation; }

int RoleOrder(TextView role) { return role == kRoleOrganiser ? 0 : role == kRoleRecorder ? 1 : 2; }

}  // namespace

AccountStore::AccountStore(std::string folder) : folder_(std::move(folder)) {
  EnsureDeskTables(folder_);
  conn_.Open(ConnectionText(folder_));
}

AccountStore::~AccountStore() {
  if (conn_.IsOpen()) conn_.Close();
}

std::vector<Account> AccountStore::Select(TextView where) {
  Variant result = conn_.Execute(u"Select * From Account Where " + Text(where));
  auto& rs = automation::ObjectCast<data::Recordset>(result);
  std::vector<Account> out;
  for (; !rs.Eof(); rs.MoveNext()) {
    Account a;
    a.user = Str(rs.Field(u"用户名"));
    a.role = Str(rs.Field(u"角色"));
    a.name = Str(rs.Field(u"姓名"));
    a.team = Str(rs.Field(u"代表队"));
    a.events = Str(rs.Field(u"登分项目"));
    a.hash = automation::ToUtf8(Str(rs.Field(u"密码")));
    a.changed = Str(rs.Field(u"修改时间"));
    out.push_back(std::move(a));
  }
  rs.Close();
  return out;
}

std::optional<Account> AccountStore::Find(TextView user) {
  auto rows = Select(u"AllTrim(用户名)==" + data::SqlText(automation::Trim(user)));
  if (rows.empty()) return std::nullopt;
  return rows.front();
}

std::vector<Account> AccountStore::List() {
  auto rows = Select(u".T.");
  std::stable_sort(rows.begin(), rows.end(), [](const Account& a, const Account& b) {
    int ra = RoleOrder(a.role), rb = RoleOrder(b.role);
    return ra != rb ? ra < rb : a.user < b.user;
  });
  return rows;
}

std::optional<Text> AccountStore::UserNameProblem(TextView user) {
  if (user.empty() || user.size() > 20) return Text(u"用户名应为 1 至 20 个字符。");
  for (char16_t c : user)
    if (c <= u' ' || c == u'\'' || c == u'"' || c == u'|' || c == u',' || c == u'<' || c == u'>' || c == u'&' ||
        c == 0x3000)
      return Text(u"用户名不能含空格、引号、尖括号或 | , & 等字符。");
  return std::nullopt;
}

std::optional<Text> AccountStore::PasswordProblem(TextView password) {
  if (password.size() < 6) return Text(u"密码至少 6 个字符。");
  if (password.size() > 128) return Text(u"密码不能超过 128 个字符。");
  return std::nullopt;
}

void AccountStore::Validate(const Account& a) const {
  if (auto p = UserNameProblem(a.user)) Refuse(*p);
  if (!KnownRole(a.role)) Refuse(u"角色应为 管理员、记录员 或 代表队。");
  if (a.role == kRoleDelegation && a.team.empty()) Refuse(u"代表队账号须指定代表队。");
  if (a.name.size() > 20 || a.team.size() > 40 || a.events.size() > 254) Refuse(u"姓名、代表队或登分项目过长。");
}

void AccountStore::Add(const Account& account, TextView password) {
  Validate(account);
  if (auto p = PasswordProblem(password)) Refuse(*p);
  Insert(account, HashPassword(password));  // hashed before the lock: it is slow
}

void AccountStore::Insert(const Account& account, const std::string& hash) {
  data::MeetWriteLock lock(folder_);
  if (Find(account.user)) throw automation::Error(automation::err::kFileExists, u"用户名已存在：" + account.user);
  conn_.Execute(u"Insert Into Account (用户名, 密码, 角色, 姓名, 代表队, 登分项目, 修改时间) Values (" +
                data::SqlText(account.user) + u", " + data::SqlText(automation::FromUtf8(hash)) + u", " +
                data::SqlText(account.role) + u", " + data::SqlText(account.name) + u", " +
                data::SqlText(account.team) + u", " + data::SqlText(account.events) + u", " +
                data::SqlText(TimeText()) + u")");
}

void AccountStore::SetPassword(TextView user, TextView password) {
  if (auto p = PasswordProblem(password)) Refuse(*p);
  const std::string hash = HashPassword(password);
  data::MeetWriteLock lock(folder_);
  int32_t n = 0;
  conn_.Execute(u"Update Account Set 密码=" + data::SqlText(automation::FromUtf8(hash)) + u", 修改时间=" +
                    data::SqlText(TimeText()) + u" Where AllTrim(用户名)==" + data::SqlText(automation::Trim(user)),
                &n);
  if (n == 0) Refuse(u"没有该用户：" + Text(user));
}

void AccountStore::Update(const Account& account) {
  data::MeetWriteLock lock(folder_);
  auto old = Find(account.user);
  if (!old) Refuse(u"没有该用户：" + account.user);
  Account merged = *old;
  merged.name = account.name;
  merged.team = account.team;
  merged.events = account.events;
  Validate(merged);
  conn_.Execute(u"Update Account Set 姓名=" + data::SqlText(merged.name) + u", 代表队=" + data::SqlText(merged.team) +
                u", 登分项目=" + data::SqlText(merged.events) + u", 修改时间=" + data::SqlText(TimeText()) +
                u" Where AllTrim(用户名)==" + data::SqlText(merged.user));
}

bool AccountStore::Remove(TextView user) {
  data::MeetWriteLock lock(folder_);
  auto old = Find(user);
  if (!old) return false;
  if (old->role == kRoleOrganiser && Select(u"AllTrim(角色)==" + data::SqlText(kRoleOrganiser)).size() <= 1)
    Refuse(u"不能删除唯一的管理员账号。");
  conn_.Execute(u"Delete From Account Where AllTrim(用户名)==" + data::SqlText(old->user));
  return true;
}

std::optional<Account> AccountStore::Authenticate(TextView user, TextView password) {
  const Text name = automation::Trim(user);
  if (name.empty() || UserNameProblem(name)) {
    SpendVerificationTime(password);
    return std::nullopt;
  }
  if (auto account = Find(name)) {
    if (VerifyPassword(account->hash, password)) return account;
    return std::nullopt;
  }
  if (auto moved = MigrateRecorder(name, password)) return moved;
  SpendVerificationTime(password);
  return std::nullopt;
}

std::optional<Account> AccountStore::MigrateRecorder(TextView user, TextView password) {
  Variant result;
  try {
    result = conn_.Execute(u"Select * From WldfUser Where AllTrim(用户名)==" + data::SqlText(user));
  } catch (const automation::Error&) {
    return std::nullopt;  // a meet without the desktop program's recorder table
  }
  auto& rs = automation::ObjectCast<data::Recordset>(result);
  std::optional<Account> found;
  Text md5;
  if (!rs.Eof()) {
    md5 = Str(rs.Field(u"密码"));
    found = Account{Text(user), kRoleRecorder, Str(rs.Field(u"姓名")), u"", Str(rs.Field(u"登分项目")), "", u""};
  }
  rs.Close();
  if (!found || md5.empty() || automation::UCase(md5) != hash::Md5Text(password)) return std::nullopt;
  if (found->name.empty()) found->name = found->user;
  Validate(*found);
  Insert(*found, HashPassword(password));  // the old password, however short, keeps working
  data::MeetWriteLock lock(folder_);
  conn_.Execute(u"Update WldfUser Set 密码='' Where AllTrim(用户名)==" + data::SqlText(user));
  return Find(user);
}

}  // namespace arenix::desk
