#include "web/accounts_object.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <semaphore>
#include <thread>

#include "arenix/desk/account_store.h"
#include "arenix/desk/desk_tables.h"
#include "automation/coerce.h"
#include "automation/deadline.h"
#include "automation/member_table.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "automation/text.h"
#include "host/host.h"
#include "web/login_throttle.h"
#include "web/sessions.h"

namespace web {

namespace {

// Password checks are slow on purpose and use much memory; as many run at
// once as there are processors, the others wait their turn. Many logins at
// once (recorders at the start of a day) then each finish in their own
// time, and the wait is not counted in the login page's time limit.
class PasswordTurn {
 public:
  PasswordTurn() {
    const auto asked = std::chrono::steady_clock::now();
    Slots().acquire();
    automation::ExtendDeadline(std::chrono::steady_clock::now() - asked);
  }
  ~PasswordTurn() { Slots().release(); }
  PasswordTurn(const PasswordTurn&) = delete;
  PasswordTurn& operator=(const PasswordTurn&) = delete;

 private:
  static std::counting_semaphore<>& Slots() {
    static std::counting_semaphore<> slots(std::max<std::ptrdiff_t>(1, std::thread::hardware_concurrency()));
    return slots;
  }
};

using automation::CStr;
using automation::InvokeKind;
using automation::Text;
using automation::TextView;
using automation::Variant;
using arenix::desk::Account;
using arenix::desk::AccountStore;

Text Arg(std::span<Variant* const> args, size_t i) {
  if (i >= args.size() || args[i]->IsEmpty() || args[i]->IsNull()) return {};
  return CStr(*args[i]);
}

std::string MeetFolder(const Variant& server) {
  std::string path = automation::ToUtf8(automation::ObjectCast<host::Server>(server).MapPath(u"/data"));
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

// "21:07" today, or "12月11日 09:30" on another day.
Text WhenText(LoginThrottle::Clock::time_point until) {
  std::time_t t = LoginThrottle::Clock::to_time_t(until + std::chrono::seconds(59));
  std::time_t now = std::time(nullptr);
  std::tm at{}, today{};
  localtime_r(&t, &at);
  localtime_r(&now, &today);
  char buf[64];
  if (at.tm_yday == today.tm_yday && at.tm_year == today.tm_year)
    std::snprintf(buf, sizeof buf, "%02d:%02d", at.tm_hour, at.tm_min);
  else
    std::snprintf(buf, sizeof buf, "%d月%d日 %02d:%02d", at.tm_mon + 1, at.tm_mday, at.tm_hour, at.tm_min);
  return automation::FromUtf8(buf);
}

Text RefusedMessage(LoginThrottle::Clock::time_point until, LoginThrottle::Clock::time_point now) {
  auto minutes = std::chrono::ceil<std::chrono::minutes>(until - now).count();
  return u"登录失败次数过多，已暂停登录。请于 " + WhenText(until) + u" 后再试（约 " +
         automation::FromUtf8(std::to_string(std::max<long long>(1, minutes))) + u" 分钟）。";
}

// Every member takes the server object first (the meet's folder); the
// values after it that a page leaves out read as empty.
enum AccountsMember { kLogin, kPrepare, kAdd, kSetPassword, kUpdate, kRemove };
using automation::kMethod;
const automation::MemberTable kAccountsMembers{
    {u"Login", kLogin, kMethod, 5, 5},     {u"Prepare", kPrepare, kMethod, 1, 1},
    {u"Add", kAdd, kMethod, 1, 7},         {u"SetPassword", kSetPassword, kMethod, 1, 3},
    {u"Update", kUpdate, kMethod, 1, 5},   {u"Remove", kRemove, kMethod, 1, 2},
};

class Accounts : public automation::Object {
 public:
  Text ClassName() const override { return u"Accounts"; }

  const automation::MemberTable* Members() const override { return &kAccountsMembers; }

  Variant Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) override {
    const int id = kAccountsMembers.Resolve(name, kind, args.size());
    try {
      if (id == kLogin) return Variant(Login(args));
      const std::string folder = MeetFolder(*args[0]);
      if (id == kPrepare) {
        arenix::desk::EnsureDeskTables(folder);
        return Variant(Text());
      }
      AccountStore store(folder);
      switch (id) {
        case kAdd: {
          Account a{automation::Trim(Arg(args, 1)), automation::Trim(Arg(args, 3)), automation::Trim(Arg(args, 4)),
                    automation::Trim(Arg(args, 5)), automation::Trim(Arg(args, 6)), "", u""};
          if (a.name.empty()) a.name = a.user;
          store.Add(a, Arg(args, 2));
          return Variant(Text());
        }
        case kSetPassword:
          store.SetPassword(Arg(args, 1), Arg(args, 2));
          return Variant(Text());
        case kUpdate:
          store.Update(Account{automation::Trim(Arg(args, 1)), u"", automation::Trim(Arg(args, 2)),
                               automation::Trim(Arg(args, 3)), automation::Trim(Arg(args, 4)), "", u""});
          return Variant(Text());
        case kRemove:
          return Variant(store.Remove(Arg(args, 1)) ? Text() : Text(u"没有该用户：" + Arg(args, 1)));
      }
    } catch (const automation::Error& e) {
      // The store's refusals are messages for the user; anything else is a
      // fault of the page or the meet folder and reaches the page as such.
      if (e.number() == automation::err::kInvalidCall || e.number() == automation::err::kFileExists)
        return Variant(e.description());
      throw;
    }
    return Object::Invoke(name, kind, args);
  }

 private:
  static Text Login(std::span<Variant* const> args) {
    const std::string folder = MeetFolder(*args[0]);
    auto& request = automation::ObjectCast<host::Request>(*args[1]);
    auto& session = automation::ObjectCast<HttpSession>(*args[2]);
    const Text user = automation::Trim(Arg(args, 3));
    const Text password = Arg(args, 4);
    const std::string user_key = folder + "\nuser:" + automation::ToUtf8(user);
    const std::string addr_key = folder + "\naddr:" + automation::ToUtf8(request.ServerVariable(u"REMOTE_ADDR"));

    LoginThrottle& throttle = SharedLoginThrottle();
    auto now = LoginThrottle::Clock::now();
    for (const std::string* key : {&user_key, &addr_key})
      if (auto until = throttle.RefusedUntil(*key, now)) return RefusedMessage(*until, now);

    AccountStore store(folder);
    std::optional<Account> account;
    {
      PasswordTurn turn;
      account = store.Authenticate(user, password);
    }
    if (!account) {
      now = LoginThrottle::Clock::now();
      auto a = throttle.Failure(user_key, now);
      auto b = throttle.Failure(addr_key, now);
      if (a || b) return RefusedMessage(std::max(a.value_or(now), b.value_or(now)), now);
      return u"用户名或密码不正确，请重新输入！";
    }
    throttle.Success(user_key);
    session.Renew();
    session.Set(u"ARENIX_ACCOUNT", Variant(account->user));
    session.Set(u"ARENIX_ROLE", Variant(account->role));
    if (account->role == arenix::desk::kRoleRecorder)
      session.Set(u"SPORTS_WLDF_Session", Variant(account->user + u"|" + account->events + u"|" + account->name));
    else
      session.Set(u"SPORTS_WLDF_Session", Variant(Text()));
    return {};
  }
};

}  // namespace

void RegisterAccountsClass() {
  automation::RegisterClass(u"Arenix.Accounts", [] { return std::make_shared<Accounts>(); });
}

}  // namespace web
