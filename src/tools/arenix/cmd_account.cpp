// arenix account: the meet's site accounts from the command line, for the
// first organiser (who then manages the rest on the site's desk).
//   arenix account add USER --role 管理员|记录员|代表队 [--name N] [--team T]
//                      [--events "100米,跳远"] [--data DIR]
//   arenix account passwd USER [--data DIR]
//   arenix account list [--data DIR]
//   arenix account remove USER [--data DIR]
// The password is read from standard input (asked for without echo on a
// terminal, twice); --password gives it on the command line instead, which
// other users of the machine may see. DIR defaults to the sample meet that
// `arenix serve` uses (arenix-meet/data).
#include <termios.h>
#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>

#include "arenix/desk/account_store.h"
#include "automation/text.h"
#include "tools/arenix/command.h"

namespace tools {
namespace {

using automation::FromUtf8;
using automation::ToUtf8;

struct AccountArgs {
  std::string data = "arenix-meet/data";
  std::string user;
  std::string role;
  std::string name;
  std::string team;
  std::string events;
  std::string password;
  bool password_given = false;
};

std::string ReadLine(const char* prompt, bool terminal) {
  if (terminal) std::cerr << prompt << std::flush;
  termios old{};
  if (terminal) {
    tcgetattr(STDIN_FILENO, &old);
    termios quiet = old;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  }
  std::string line;
  bool got = static_cast<bool>(std::getline(std::cin, line));
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSANOW, &old);
    std::cerr << "\n";
  }
  if (!got) throw Exit{kExitUsage, "arenix account: no password given"};
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::string Password(const AccountArgs& args) {
  if (args.password_given) return args.password;
  const bool terminal = isatty(STDIN_FILENO);
  std::string first = ReadLine("新密码：", terminal);
  if (terminal && ReadLine("再输入一次：", terminal) != first)
    throw Exit{kExitUsage, "arenix account: the two passwords differ"};
  return first;
}

template <class Fn>
void Guarded(Fn fn) {
  try {
    fn();
  } catch (const automation::Error& e) {
    int code = e.number() == automation::err::kInvalidCall || e.number() == automation::err::kFileExists
                   ? kExitUsage
                   : kExitFailed;
    throw Exit{code, "arenix account: " + ToUtf8(e.description())};
  }
}

void Add(const AccountArgs& args) {
  Guarded([&] {
    arenix::desk::Account a{FromUtf8(args.user), FromUtf8(args.role),
                            FromUtf8(args.name.empty() ? args.user : args.name), FromUtf8(args.team),
                            FromUtf8(args.events), "", u""};
    if (auto p = arenix::desk::AccountStore::UserNameProblem(a.user)) throw automation::Error(5, *p);
    const std::string password = Password(args);
    arenix::desk::AccountStore(args.data).Add(a, FromUtf8(password));
    std::cout << "account " << args.user << " (" << args.role << ") added\n";
  });
}

void Passwd(const AccountArgs& args) {
  Guarded([&] {
    arenix::desk::AccountStore store(args.data);
    if (!store.Find(FromUtf8(args.user))) throw Exit{kExitUsage, "arenix account: no account " + args.user};
    store.SetPassword(FromUtf8(args.user), FromUtf8(Password(args)));
    std::cout << "password of " << args.user << " set\n";
  });
}

void List(const AccountArgs& args) {
  Guarded([&] {
    for (const auto& a : arenix::desk::AccountStore(args.data).List()) {
      std::cout << ToUtf8(a.user) << "\t" << ToUtf8(a.role) << "\t" << ToUtf8(a.name);
      if (!a.team.empty()) std::cout << "\t" << ToUtf8(a.team);
      if (!a.events.empty()) std::cout << "\t" << ToUtf8(a.events);
      std::cout << "\n";
    }
  });
}

void Remove(const AccountArgs& args) {
  Guarded([&] {
    if (!arenix::desk::AccountStore(args.data).Remove(FromUtf8(args.user)))
      throw Exit{kExitUsage, "arenix account: no account " + args.user};
    std::cout << "account " << args.user << " removed\n";
  });
}

Command account("account", [](CLI::App& app) {
  auto args = std::make_shared<AccountArgs>();
  CLI::App* cmd = app.add_subcommand("account", "the site's accounts: organisers, recorders, delegations");
  cmd->require_subcommand(1);
  auto data = [&](CLI::App* sub) {
    sub->add_option("--data", args->data, "the meet folder (default: arenix-meet/data)");
  };
  auto password = [&](CLI::App* sub) {
    sub->add_option("--password", args->password, "the password (default: read from standard input)")
        ->each([args](const std::string&) { args->password_given = true; });
  };

  CLI::App* add = cmd->add_subcommand("add", "add an account");
  add->add_option("USER", args->user, "user name")->required();
  add->add_option("--role", args->role, "管理员 (organiser), 记录员 (recorder) or 代表队 (delegation)")->required();
  add->add_option("--name", args->name, "name shown on the pages (default: the user name)");
  add->add_option("--team", args->team, "a delegation account's delegation");
  add->add_option("--events", args->events, "a recorder's events, comma-separated");
  data(add);
  password(add);
  add->callback([args] { Add(*args); });

  CLI::App* passwd = cmd->add_subcommand("passwd", "set an account's password");
  passwd->add_option("USER", args->user, "user name")->required();
  data(passwd);
  password(passwd);
  passwd->callback([args] { Passwd(*args); });

  CLI::App* list = cmd->add_subcommand("list", "list the accounts (never their passwords)");
  data(list);
  list->callback([args] { List(*args); });

  CLI::App* remove = cmd->add_subcommand("remove", "remove an account");
  remove->add_option("USER", args->user, "user name")->required();
  data(remove);
  remove->callback([args] { Remove(*args); });
});

}  // namespace
}  // namespace tools
