// Several writers on one table: each statement holds the file lock, so
// concurrent appends and read-modify-write updates from separate processes
// all land; readers see other writers' records when they lock again.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <set>

#include "automation/coerce.h"
#include "automation/error.h"
#include "data/dbf/table.h"
#include "data/dbf/test_files.h"

namespace data::dbf {
namespace {

using automation::Text;
using automation::Variant;

std::vector<FieldSpec> Fields() {
  return {{u"进程", FieldType::kNumeric, 3}, {u"序号", FieldType::kNumeric, 6},
          {u"计数", FieldType::kNumeric, 8}, {u"说明", FieldType::kMemo}};
}

// One writer: `rounds` statements, each adding one to the counter in record
// 0 and appending one record of its own with a memo.
void Writer(const std::string& path, int id, int rounds) {
  auto t = Table::Open(path, Access::kWrite);
  for (int i = 0; i < rounds; ++i) {
    TableLock lock(*t, LockKind::kExclusive);
    double count = automation::CDbl(t->Value(0, 2));
    t->Update(0, std::vector<FieldValue>{{2, Variant(count + 1)}});
    t->Append({Variant(double(id)), Variant(double(i)), Variant(),
               Variant(Text(u"进程") + automation::CStr(Variant(int32_t(id))))});
  }
}

TEST(DbfConcurrency, WritersInSeveralProcessesLoseNothing) {
  dbf_test::TempDir dir;
  std::string path = dir.File("Play.dbf");
  Table::Create(path, Fields())->Append({Variant(0.0), Variant(0.0), Variant(0.0)});
  const int kProcesses = 4, kRounds = 150;
  std::vector<pid_t> children;
  for (int id = 1; id < kProcesses; ++id) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int code = 0;
      try {
        Writer(path, id, kRounds);
      } catch (...) {
        code = 1;
      }
      ::_exit(code);
    }
    children.push_back(pid);
  }
  Writer(path, 0, kRounds);
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  auto t = Table::Open(path, Access::kRead);
  ASSERT_EQ(t->RecordCount(), 1u + kProcesses * kRounds);
  EXPECT_EQ(t->Value(0, 2), Variant(double(kProcesses * kRounds)));
  std::set<std::pair<int, int>> seen;
  for (uint32_t r = 1; r < t->RecordCount(); ++r) {
    int id = automation::CInt(t->Value(r, 0));
    seen.insert({id, automation::CInt(t->Value(r, 1))});
    EXPECT_EQ(t->Value(r, 3), Variant(Text(u"进程") + automation::CStr(Variant(int32_t(id)))));
  }
  EXPECT_EQ(seen.size(), size_t(kProcesses * kRounds));
}

TEST(DbfConcurrency, LockingAgainSeesOtherWritersAndChangesTheStamp) {
  dbf_test::TempDir dir;
  std::string path = dir.File("PlaySour.dbf");
  auto writer = Table::Create(path, Fields());
  auto reader = Table::Open(path, Access::kRead);
  ChangeStamp empty = reader->Stamp();
  {
    TableLock lock(*reader, LockKind::kShared);
    EXPECT_EQ(reader->RecordCount(), 0u);
    EXPECT_EQ(reader->Stamp(), empty);
  }
  writer->Append({Variant(1.0)});
  EXPECT_EQ(reader->RecordCount(), 0u);  // until it locks or refreshes
  {
    TableLock lock(*reader, LockKind::kShared);
    EXPECT_EQ(reader->RecordCount(), 1u);
    EXPECT_NE(reader->Stamp(), empty);
  }
  ChangeStamp one = reader->Stamp();
  // An update in place keeps size and count, yet the stamp moves.
  writer->Update(0, std::vector<FieldValue>{{0, Variant(2.0)}});
  reader->Refresh();
  EXPECT_NE(reader->Stamp(), one);
  EXPECT_EQ(reader->Value(0, 0), Variant(2.0));
  ChangeStamp two = reader->Stamp();
  reader->Refresh();
  EXPECT_EQ(reader->Stamp(), two);
}

TEST(DbfConcurrency, NestedLocksUpgradeAndRelease) {
  dbf_test::TempDir dir;
  std::string path = dir.File("Item.dbf");
  auto a = Table::Create(path, Fields());
  auto b = Table::Open(path, Access::kWrite);
  {
    TableLock shared(*a, LockKind::kShared);
    {
      TableLock exclusive(*a, LockKind::kExclusive);
      a->Append({Variant(1.0)});
    }
    // Back to shared: another reader may lock alongside.
    TableLock other(*b, LockKind::kShared);
    EXPECT_EQ(b->RecordCount(), 1u);
  }
  // All released: the other table can write.
  b->Append({Variant(2.0)});
  EXPECT_EQ(b->RecordCount(), 2u);
}

TEST(DbfConcurrency, ReplacingATableWaitsForItsReaders) {
  dbf_test::TempDir dir;
  std::string path = dir.File("team.dbf");
  Table::Create(path, Fields())->Append({Variant(1.0)});
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    auto t = Table::Open(path, Access::kRead);
    TableLock lock(*t, LockKind::kShared);
    char c = 'x';
    (void)!::write(ready[1], &c, 1);
    ::usleep(300 * 1000);
    ::_exit(t->RecordCount() == 1 ? 0 : 1);
  }
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  auto start = std::chrono::steady_clock::now();
  CreateOptions replace;
  replace.overwrite = true;
  auto t = Table::Create(path, Fields(), replace);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  EXPECT_EQ(t->RecordCount(), 0u);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace data::dbf
