// The password store and the accounts table: salted hashes, the sample
// meet's accounts and their documented passwords, and the rules of the
// store (the last organiser stays, a delegation account names its team).
#include <gtest/gtest.h>

#include "arenix/desk/account_store.h"
#include "arenix/desk/password_hash.h"
#include "arenix/meet/demo/demo_meet.h"
#include "automation/error.h"
#include "data/dbf/test_files.h"

namespace {

using arenix::desk::Account;
using arenix::desk::AccountStore;

TEST(PasswordHash, SaltedSlowAndChecked) {
  std::string a = arenix::desk::HashPassword(u"跑道123"), b = arenix::desk::HashPassword(u"跑道123");
  EXPECT_NE(a, b);  // a fresh salt each time
  EXPECT_TRUE(a.starts_with("$argon2id$"));
  EXPECT_TRUE(arenix::desk::VerifyPassword(a, u"跑道123"));
  EXPECT_FALSE(arenix::desk::VerifyPassword(a, u"跑道124"));
  for (const std::string& stored : {std::string(), std::string("E10ADC3949BA59ABBE56E057F20F883E"), a.substr(0, 40)})
    EXPECT_FALSE(arenix::desk::VerifyPassword(stored, u"跑道123")) << stored;
}

TEST(AccountStore, TheSampleMeetsAccountsLogInWithTheirDocumentedPasswords) {
  dbf_test::TempDir dir;
  arenix::meet::demo::WriteDemoMeet(dir.path());
  AccountStore store(dir.path());
  struct {
    const char16_t* user;
    const char16_t* password;
    const char16_t* role;
    const char16_t* team;
  } cases[] = {{u"admin", u"admin2025", u"管理员", u""},  {u"jilu1", u"123456", u"记录员", u""},
               {u"zongcai", u"jilu2025", u"记录员", u""}, {u"dyzx", u"123456", u"代表队", u"第一中学"},
               {u"tyydxx", u"123456", u"代表队", u"体育运动学校"}};
  for (const auto& c : cases) {
    auto a = store.Authenticate(c.user, c.password);
    ASSERT_TRUE(a) << automation::ToUtf8(c.user);
    EXPECT_EQ(a->role, c.role);
    EXPECT_EQ(a->team, c.team);
    EXPECT_FALSE(store.Authenticate(c.user, u"wrong-one"));
  }
  EXPECT_EQ(store.Find(u"jilu1")->events, u"100米,400米,1500米,4×100米接力");
  EXPECT_FALSE(store.Authenticate(u"nobody", u"123456"));
  EXPECT_FALSE(store.Authenticate(u"admin' Or '1'='1", u"x"));
}

TEST(AccountStore, KeepsItsRules) {
  dbf_test::TempDir dir;
  AccountStore store(dir.path());  // a meet folder without the desk's tables gets them
  store.Add(Account{u"boss", u"管理员", u"组委会", u"", u"", "", u""}, u"boss-pass");
  EXPECT_THROW(store.Remove(u"boss"), automation::Error);  // the last organiser
  EXPECT_THROW(store.Add(Account{u"o'neil", u"代表队", u"", u"x", u"", "", u""}, u"team-pass"), automation::Error);
  store.Add(Account{u"stjohn", u"代表队", u"", u"St. John's", u"", "", u""}, u"team-pass");
  EXPECT_TRUE(store.Authenticate(u"stjohn", u"team-pass"));
  EXPECT_EQ(store.Find(u"stjohn")->team, u"St. John's");
  store.Update(Account{u"stjohn", u"", u"圣约翰代表队", u"St. John's", u"", "", u""});
  EXPECT_EQ(store.Find(u"stjohn")->name, u"圣约翰代表队");
  EXPECT_EQ(store.Find(u"stjohn")->role, u"代表队");  // Update keeps the role
  EXPECT_THROW(store.Update(Account{u"stjohn", u"", u"x", u"", u"", "", u""}), automation::Error);  // no team
  EXPECT_TRUE(store.Remove(u"stjohn"));
  EXPECT_FALSE(store.Remove(u"stjohn"));
}

}  // namespace
