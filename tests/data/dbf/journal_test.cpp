// Units of writes and their undo journal: a unit is kept whole or undone
// whole, whether it fails, is rolled back, or its writer dies; a journal
// this system cannot trust refuses writing; the files a kept unit leaves
// are the ones it would leave without a journal.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <grp.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "automation/coerce.h"
#include "automation/text.h"
#include "data/connection.h"
#include "data/dbf/table.h"
#include "data/dbf/test_files.h"
#include "data/dbf/undo_journal.h"
#include "data/dbf/write_unit.h"
#include "data/recordset.h"

namespace data::dbf {
namespace {

using automation::Text;
using automation::Variant;
using Snapshot = std::map<std::string, std::string>;

// Every file of the folder but the lock file, by name.
Snapshot Files(const std::string& folder) {
  Snapshot s;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (name != kWriteLockFile) s[name] = dbf_test::Slurp(e.path().string());
  }
  return s;
}

bool HasJournal(const std::string& folder) {
  struct stat st;
  return ::stat((folder + "/" + kJournalFile).c_str(), &st) == 0;
}

std::string Memo(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "第" + std::to_string(i) + "行;";
  return s;
}

// Team.dbf with a memo: five rows.
void MakeTeam(const std::string& folder) {
  std::vector<FieldSpec> fields = {
      {u"名称", FieldType::kCharacter, 10},
      {u"得分", FieldType::kNumeric, 3, 0},
      {u"说明", FieldType::kMemo},
  };
  auto t = Table::Create(folder + "/Team.dbf", fields);
  for (int i = 1; i <= 5; ++i)
    t->Append({Variant(u"队" + automation::LongToText(i)), Variant(double(i)),
               Variant(automation::FromUtf8(Memo(i * 20)))});
}

// A unit's worth of changes of every kind: a record rewritten, one deleted,
// records and memo blocks appended.
void ChangeTeam(const std::string& folder) {
  auto t = Table::Open(folder + "/Team.dbf", Access::kWrite);
  t->Update(1, std::vector<FieldValue>{{1, Variant(99.0)}, {2, Variant(automation::FromUtf8(Memo(200)))}});
  t->SetDeleted(0, true);
  for (int i = 0; i < 3; ++i) t->Append({Variant(Text(u"新队")), Variant(7.0), Variant(automation::FromUtf8(Memo(90)))});
}

// Runs `fn` in a child that dies by SIGKILL where `fn` stops (or exits 0).
int InChild(const std::function<void()>& fn) {
  pid_t pid = ::fork();
  if (pid == 0) {
    try {
      fn();
    } catch (...) {
      ::_exit(3);
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

// Leaves the journal of a writer that died in the middle of ChangeTeam:
// after its last write, or (`at_write` > 0) just before that write of the
// unit, its pre-image journalled.
int g_writes_left = 0;
void KillHook(uint64_t) {
  if (--g_writes_left == 0) ::raise(SIGKILL);
}

void DieMidUnit(const std::string& folder, int at_write = 0) {
  ASSERT_EQ(InChild([&] {
              g_writes_left = at_write;
              if (at_write > 0) SetWriteHook(KillHook);
              WriteUnit unit(folder);
              ChangeTeam(folder);
              ::raise(SIGKILL);
            }),
            -SIGKILL);
  ASSERT_TRUE(HasJournal(folder));
}

TEST(WriteUnit, UndoneWholeWithoutCommitAndKeptWithIt) {
  dbf_test::TempDir dir;
  MakeTeam(dir.path());
  const Snapshot before = Files(dir.path());
  {
    WriteUnit unit(dir.path());
    ChangeTeam(dir.path());
    EXPECT_TRUE(HasJournal(dir.path()));
  }
  EXPECT_EQ(Files(dir.path()), before);
  EXPECT_FALSE(HasJournal(dir.path()));

  WriteUnit unit(dir.path());
  ChangeTeam(dir.path());
  unit.Commit();
  EXPECT_FALSE(HasJournal(dir.path()));
  auto t = Table::Open(dir.File("Team.dbf"), Access::kRead);
  EXPECT_EQ(t->RecordCount(), 8u);
  EXPECT_TRUE(t->IsDeleted(0));
  EXPECT_EQ(automation::CDbl(t->Value(1, 1)), 99.0);
}

TEST(WriteUnit, KeptFilesAreTheFilesWrittenWithoutJournal) {
  dbf_test::TempDir with, without;
  MakeTeam(with.path());
  for (const auto& [name, bytes] : Files(with.path())) dbf_test::Spit(without.File(name), bytes);
  {
    WriteUnit unit(with.path());
    ChangeTeam(with.path());
    unit.Commit();
  }
  SetJournalEnabled(false);
  {
    WriteUnit unit(without.path());
    ChangeTeam(without.path());
    EXPECT_FALSE(HasJournal(without.path()));
    unit.Commit();
  }
  SetJournalEnabled(true);
  EXPECT_EQ(Files(with.path()), Files(without.path()));
}

TEST(WriteUnit, AJournalLeftByADeadWriterIsUndoneOnOpen) {
  dbf_test::TempDir dir;
  MakeTeam(dir.path());
  const Snapshot before = Files(dir.path());
  DieMidUnit(dir.path());
  EXPECT_NE(Files(dir.path()).at("Team.dbf"), before.at("Team.dbf"));
  FreeTableConnection conn;
  conn.Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(dir.path()));
  EXPECT_FALSE(HasJournal(dir.path()));
  EXPECT_EQ(Files(dir.path()), before);
  auto rs = conn.Execute(u"Select Count(*) As n From Team");
  EXPECT_EQ(automation::CLng(automation::ObjectCast<Recordset>(rs).Field(u"n")), 5);
}

// Journals this system cannot trust refuse writing and change nothing;
// journals cut short while being written are ignored where they end.
TEST(WriteUnit, DamagedJournals) {
  struct Case {
    const char* name;
    std::function<std::string(std::string)> damage;
    bool refused;
  };
  const Case cases[] = {
      {"foreign file", [](std::string) { return std::string("PK\x03\x04 some archive, not a journal of ours"); },
       true},
      {"unknown version", [](std::string j) { j[8] = 2; return j; }, true},
      {"bad checksum before the last entry", [](std::string j) { j[16 + 9] ^= 0x5A; return j; }, true},
      {"torn last entry", [](std::string j) { j.resize(j.size() - 3); return j; }, false},
      {"header cut short", [](std::string j) { return j.substr(0, 5); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dbf_test::TempDir dir;
    MakeTeam(dir.path());
    const Snapshot before = Files(dir.path());
    // The first write of the record rewritten: its pre-image is the last
    // entry, and a writer that died while writing that entry had not
    // changed the record.
    DieMidUnit(dir.path(), 3);
    const std::string journal = dir.File(kJournalFile);
    dbf_test::Spit(journal, c.damage(dbf_test::Slurp(journal)));
    const Snapshot damaged = Files(dir.path());

    FreeTableConnection conn;
    conn.Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(dir.path()));
    auto [number, text] = dbf_test::ErrorOf([&] { conn.Execute(u"Update Team Set 得分=1"); });
    if (c.refused) {
      EXPECT_NE(number, 0);
      EXPECT_NE(text.find(kJournalFile), std::string::npos) << text;
      EXPECT_EQ(Files(dir.path()), damaged);
      // Reading goes on.
      auto rs = conn.Execute(u"Select Count(*) As n From Team");
      EXPECT_GT(automation::CLng(automation::ObjectCast<Recordset>(rs).Field(u"n")), 0);
    } else {
      EXPECT_EQ(number, 0) << text;
      EXPECT_FALSE(HasJournal(dir.path()));
      conn.Close();
      if (std::string(c.name) == "torn last entry") {
        Snapshot now = Files(dir.path());
        EXPECT_EQ(now.at("Team.fpt"), before.at("Team.fpt"));
      }
    }
  }
}

TEST(WriteUnit, AFailingStatementIsNeverHalfApplied) {
  dbf_test::TempDir dir;
  FreeTableConnection conn;
  conn.Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(dir.path()));
  conn.Execute(u"Create Table T Free (k I, n N(3,0))");
  conn.BeginTrans();
  for (int k = 1; k <= 5; ++k)
    conn.Execute(u"Insert Into T (k, n) Values (" + automation::LongToText(k) + u", " +
                 automation::LongToText(k == 4 ? 50 : k) + u")");
  conn.CommitTrans();
  EXPECT_FALSE(HasJournal(dir.path()));
  const Snapshot before = Files(dir.path());
  auto sum = [&] {
    auto rs = conn.Execute(u"Select Sum(n) As s From T");
    return automation::CLng(automation::ObjectCast<Recordset>(rs).Field(u"s"));
  };

  // Alone: rows 1 to 3 fit three digits, row 4's 5000 does not.
  EXPECT_NE(dbf_test::ErrorOf([&] { conn.Execute(u"Update T Set n=n*100"); }).first, 0);
  EXPECT_EQ(Files(dir.path()), before);

  // In a page's unit: the failure undoes the statements before it too.
  conn.BeginTrans();
  conn.Execute(u"Update T Set n=0 Where k=1");
  conn.Execute(u"Insert Into T (k, n) Values (6, 6)");
  EXPECT_NE(dbf_test::ErrorOf([&] { conn.Execute(u"Update T Set n=n*100"); }).first, 0);
  EXPECT_NE(dbf_test::ErrorOf([&] { conn.CommitTrans(); }).first, 0);
  EXPECT_EQ(Files(dir.path()), before);
  EXPECT_EQ(sum(), 61);

  conn.BeginTrans();
  conn.Execute(u"Update T Set n=0");
  conn.RollbackTrans();
  EXPECT_EQ(sum(), 61);
  conn.BeginTrans();
  conn.Execute(u"Update T Set n=1");
  conn.Close();  // an open unit is undone
  EXPECT_EQ(Files(dir.path()), before);
  EXPECT_FALSE(HasJournal(dir.path()));
}

TEST(WriteUnit, AFullDiskUndoesTheUnitAndSaysSo) {
  dbf_test::TempDir dir;
  MakeTeam(dir.path());
  const Snapshot before = Files(dir.path());
  uint64_t largest = 0;
  for (const auto& [name, bytes] : before) largest = std::max<uint64_t>(largest, bytes.size());
  const std::string message_file = dir.File("message.txt");
  const int code = InChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {largest + 4096, largest + 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      WriteUnit unit(dir.path());
      auto t = Table::Open(dir.path() + "/Team.dbf", Access::kWrite);
      t->Update(0, std::vector<FieldValue>{{1, Variant(42.0)}});
      for (int i = 0; i < 100; ++i) t->Append({Variant(Text(u"满")), Variant(1.0), Variant(automation::FromUtf8(Memo(60)))});
      unit.Commit();
    } catch (const automation::Error& e) {
      struct rlimit none = {RLIM_INFINITY, RLIM_INFINITY};
      ::setrlimit(RLIMIT_FSIZE, &none);
      dbf_test::Spit(message_file, automation::ToUtf8(e.description()));
      ::_exit(0);
    }
    ::_exit(2);
  });
  ASSERT_EQ(code, 0);
  const std::string message = dbf_test::Slurp(message_file);
  EXPECT_NE(message.find("full"), std::string::npos) << message;
  std::filesystem::remove(message_file);
  EXPECT_EQ(Files(dir.path()), before);
  EXPECT_FALSE(HasJournal(dir.path()));
}

TEST(WriteUnit, RewritingWhatIsStoredWritesNothing) {
  dbf_test::TempDir dir;
  MakeTeam(dir.path());
  const Snapshot before = Files(dir.path());
  {
    WriteUnit unit(dir.path());
    auto t = Table::Open(dir.path() + "/Team.dbf", Access::kWrite);
    t->Update(2, std::vector<FieldValue>{{0, Variant(Text(u"队3"))}, {1, Variant(3.0)}});
    // Nothing changed: nothing journalled (no file, no sync), nothing written.
    EXPECT_FALSE(HasJournal(dir.path()));
    t->Update(2, std::vector<FieldValue>{{1, Variant(4.0)}});
    EXPECT_TRUE(HasJournal(dir.path()));
    t->Update(2, std::vector<FieldValue>{{1, Variant(3.0)}});
    unit.Commit();
  }
  EXPECT_EQ(Files(dir.path()), before);
}

// A changed record is written and journalled from its first to its last
// changed byte, not whole; undoing it still gives the table back.
TEST(WriteUnit, AChangedFieldJournalsOnlyTheBytesThatChange) {
  dbf_test::TempDir dir;
  MakeTeam(dir.path());
  const Snapshot before = Files(dir.path());
  {
    WriteUnit unit(dir.path());
    auto t = Table::Open(dir.path() + "/Team.dbf", Access::kWrite);
    t->Update(2, std::vector<FieldValue>{{1, Variant(4.0)}});  // "  3" -> "  4"
    const std::vector<JournalEntry> entries = ParseJournal(Files(dir.path()).at(kJournalFile), kJournalFile);
    size_t journalled = 0;
    for (const JournalEntry& e : entries)
      if (e.kind == JournalEntry::kBytes) journalled += e.bytes.size();
    EXPECT_EQ(journalled, 1u);
    EXPECT_EQ(automation::CDbl(t->Value(2, 1)), 4.0);
  }
  EXPECT_EQ(Files(dir.path()), before);
}

TEST(WriteUnit, WritersOfAMeetTakeTheLockInTheOrderTheyAskedForIt) {
  dbf_test::TempDir dir;
  MakeTeam(dir.path());
  for (int round = 0; round < 4; ++round) {
    std::mutex mu;
    std::vector<int> order;
    auto holder = std::make_unique<WriteUnit>(dir.path());
    std::vector<std::thread> waiters;
    for (int w = 0; w < 3; ++w) {
      waiters.emplace_back([&, w] {
        WriteUnit unit(dir.path());
        std::lock_guard lock(mu);
        order.push_back(w);
      });
      // Each asks well after the one before (the long pauses of a waiter
      // that polls).
      std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }
    holder.reset();
    for (auto& t : waiters) t.join();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  }
}

// Runs `fn` in a child as a user without rights to root's files (the
// test itself may run as root, which the system lets write anywhere), and
// gives back what it returns. Empty: the child could not drop its rights,
// or found them not enforced.
std::string AsUserWithoutRights(const std::string& probe, const std::function<std::string()>& fn) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    std::string out;
    if (::getuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(4);
    const int w = ::open(probe.c_str(), O_WRONLY);
    if (w >= 0) ::_exit(5);  // rights are not enforced here
    try {
      out = fn();
    } catch (const automation::Error& e) {
      out = "raised: " + automation::ToUtf8(e.description());
    }
    if (::write(fds[1], out.data(), out.size()) < 0) ::_exit(6);
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string out;
  char buf[512];
  ssize_t n;
  while ((n = ::read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? out : std::string();
}

TEST(WriteUnit, AWriteWithoutRightsUndoesTheUnitAndSaysSo) {
  dbf_test::TempDir dir;
  MakeTeam(dir.path());
  std::vector<FieldSpec> fields = {{u"名称", FieldType::kCharacter, 10}};
  Table::Create(dir.path() + "/Other.dbf", fields)->Append({Variant(Text(u"甲"))});
  const Snapshot before = Files(dir.path());
  namespace fs = std::filesystem;
  using fs::perms;
  const std::string other = dir.path() + "/Other.dbf";

  // A folder the writer may not change: the unit is refused at its start.
  fs::permissions(dir.path(), perms::owner_all | perms::group_read | perms::group_exec | perms::others_read |
                                  perms::others_exec);
  for (const auto& e : fs::directory_iterator(dir.path()))
    fs::permissions(e.path(), perms::owner_read | perms::group_read | perms::others_read);
  const std::string refused = AsUserWithoutRights(other, [&] {
    WriteUnit unit(dir.path());
    ChangeTeam(dir.path());
    unit.Commit();
    return std::string("kept");
  });
  if (refused.empty()) GTEST_SKIP() << "this user writes whatever the rights say; rights cannot be tried here";
  EXPECT_NE(refused.find("no right to write"), std::string::npos) << refused;

  // A table the writer may not change, after another was changed in the
  // unit: the unit is undone whole.
  fs::permissions(dir.path(), perms::all);
  for (const auto& e : fs::directory_iterator(dir.path()))
    fs::permissions(e.path(), e.path() == other ? perms::owner_read | perms::group_read | perms::others_read
                                                : perms::all & ~(perms::owner_exec | perms::group_exec | perms::others_exec));
  const std::string undone = AsUserWithoutRights(other, [&] {
    {
      WriteUnit unit(dir.path());
      ChangeTeam(dir.path());
      try {
        Table::Open(other, Access::kWrite)->Append({Variant(Text(u"乙"))});
      } catch (const automation::Error& e) {
        return "raised: " + automation::ToUtf8(e.description());
      }
      unit.Commit();
    }
    return std::string("kept");
  });
  EXPECT_NE(undone.find("Other.dbf"), std::string::npos) << undone;
  EXPECT_NE(undone.find("Permission denied"), std::string::npos) << undone;
  EXPECT_EQ(Files(dir.path()), before);
  EXPECT_FALSE(HasJournal(dir.path()));
}

}  // namespace
}  // namespace data::dbf
