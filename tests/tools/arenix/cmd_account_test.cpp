// `arenix account` as the organiser runs it: the first organiser added with
// a password read from standard input, listed without passwords, the
// password changed, accounts removed, and bad input refused with a message.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "arenix/desk/account_store.h"
#include "data/dbf/test_files.h"

namespace {

struct Outcome {
  int code;
  std::string out, err;
};

std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class AccountCommand : public ::testing::Test {
 protected:
  Outcome Run(std::vector<std::string> args, const std::string& input = "") {
    std::string command = "printf %s " + ShellQuote(input) + " | " + ShellQuote(ARENIX_CLI);
    for (const auto& a : args) command += " " + ShellQuote(a);
    command += " --data " + ShellQuote(data) + " >" + dir.File("out.txt") + " 2>" + dir.File("err.txt");
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, dbf_test::Slurp(dir.File("out.txt")),
            dbf_test::Slurp(dir.File("err.txt"))};
  }
  void SetUp() override {
    data = dir.File("data");
    std::filesystem::create_directory(data);
  }
  dbf_test::TempDir dir;
  std::string data;
};

TEST_F(AccountCommand, AddsListsChangesAndRemovesAccounts) {
  Outcome add = Run({"account", "add", "boss", "--role", "管理员", "--name", "组委会"}, "first-pass\n");
  ASSERT_EQ(add.code, 0) << add.err;
  EXPECT_EQ(add.out, "account boss (管理员) added\n");
  ASSERT_EQ(Run({"account", "add", "rec", "--role", "记录员", "--events", "100米,跳远", "--password", "track-1"}).code, 0);

  Outcome list = Run({"account", "list"});
  EXPECT_EQ(list.out, "boss\t管理员\t组委会\nrec\t记录员\trec\t100米,跳远\n");
  EXPECT_EQ(list.out.find("argon"), std::string::npos);

  arenix::desk::AccountStore store(data);
  EXPECT_TRUE(store.Authenticate(u"boss", u"first-pass"));
  ASSERT_EQ(Run({"account", "passwd", "boss"}, "second-pass\n").code, 0);
  EXPECT_FALSE(store.Authenticate(u"boss", u"first-pass"));
  EXPECT_TRUE(store.Authenticate(u"boss", u"second-pass"));

  EXPECT_EQ(Run({"account", "remove", "rec"}).out, "account rec removed\n");
  EXPECT_FALSE(store.Find(u"rec"));
}

TEST_F(AccountCommand, RefusesBadInputWithAMessage) {
  ASSERT_EQ(Run({"account", "add", "boss", "--role", "管理员"}, "first-pass\n").code, 0);
  struct Case {
    std::vector<std::string> args;
    std::string input;
    std::string message;
  } cases[] = {
      {{"account", "add", "boss", "--role", "管理员"}, "another1\n", "用户名已存在"},
      {{"account", "add", "x", "--role", "裁判"}, "another1\n", "角色应为"},
      {{"account", "add", "team", "--role", "代表队"}, "another1\n", "须指定代表队"},
      {{"account", "add", "a b", "--role", "管理员"}, "another1\n", "用户名不能含空格"},
      {{"account", "add", "short", "--role", "管理员"}, "12345\n", "密码至少 6 个字符"},
      {{"account", "add", "none", "--role", "管理员"}, "", "no password given"},
      {{"account", "passwd", "ghost"}, "another1\n", "no account ghost"},
      {{"account", "remove", "boss"}, "", "唯一的管理员"},
      {{"account", "remove", "ghost"}, "", "no account ghost"},
  };
  for (const Case& c : cases) {
    Outcome o = Run(c.args, c.input);
    EXPECT_EQ(o.code, 2) << c.message;
    EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
  }
  arenix::desk::AccountStore store(data);
  EXPECT_EQ(store.List().size(), 1u);
  EXPECT_TRUE(store.Authenticate(u"boss", u"first-pass"));
}

}  // namespace
