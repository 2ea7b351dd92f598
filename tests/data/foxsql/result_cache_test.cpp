// Query results kept from one statement to the next: served again only while
// every table read is unchanged (whoever wrote it), never for a statement
// that reads the clock, never for an error, and within their bounds.
#include "data/foxsql/result_cache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "data/dbf/write_unit.h"
#include "data/limits.h"
#include "data/foxsql/folder_watch.h"
#include "data/foxsql/meet_folder.h"

namespace foxsql_test {
namespace {

using data::foxsql::ResultCache;

// Past the time after which a table's stamp is trusted.
void Settle() {
  std::this_thread::sleep_for(std::chrono::nanoseconds(data::limits::kDecodedSettleNs) +
                              std::chrono::milliseconds(100));
}

class KeptResults : public ::testing::Test {
 protected:
  void SetUp() override {
    meet.Run("Create Table Team Free (Name C(10), Score I, Joined D)");
    meet.Run("Insert Into Team Values ('north', 1, {^2024-05-01})");
    meet.Run("Insert Into Team Values ('south', 2, {^2024-05-02})");
    Settle();
  }

  // "name=score;..." in record order, and whether the rows were the ones
  // the previous call was given (served from the kept results).
  std::string Scores(Database& db, bool* same_rows = nullptr) {
    auto out = db.Run(u"Select Name, Score From Team");
    if (same_rows) *same_rows = out.rows == last_;
    last_ = out.rows;
    std::string text;
    for (const auto& r : out.rows->rows) text += Trimmed(r[0]) + "=" + Trimmed(r[1]) + ";";
    return text;
  }

  // Changes Team.dbf with another program (python3-dbf).
  void Python(const std::string& code) {
    std::string script = "import dbf\nt = dbf.Table('" + meet.File("Team.dbf") + "')\nt.open(dbf.READ_WRITE)\n" +
                         code + "\nt.close()\n";
    std::string command = "/usr/bin/python3 -c \"" + script + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }

  MeetFolder meet;
  std::shared_ptr<const Rows> last_;
};

TEST_F(KeptResults, AChangeByAnotherProgramIsSeenByTheNextStatement) {
  bool same = false;
  ASSERT_EQ(Scores(meet.db()), "north=1;south=2;");
  ASSERT_EQ(Scores(meet.db(), &same), "north=1;south=2;");
  ASSERT_TRUE(same) << "a settled table's result is kept";
  // The same size and record count: only the bytes and the times change,
  // settled or not.
  Python("for r in t:\n    with r:\n        r.score = r.score + 10");
  EXPECT_EQ(Scores(meet.db(), &same), "north=11;south=12;");
  EXPECT_FALSE(same);
  Settle();
  EXPECT_EQ(Scores(meet.db()), "north=11;south=12;");
  Python("for r in t:\n    with r:\n        r.name = r.name.strip().upper()");
  EXPECT_EQ(Scores(meet.db()), "NORTH=11;SOUTH=12;");
  Python("t.append(('east', 3))");
  EXPECT_EQ(Scores(meet.db()), "NORTH=11;SOUTH=12;east=3;");
}

TEST_F(KeptResults, AWriteThroughAnyConnectionIsSeenAtOnce) {
  Database other(meet.path());
  bool same = false;
  ASSERT_EQ(Scores(meet.db()), "north=1;south=2;");
  ASSERT_EQ(Scores(other, &same), "north=1;south=2;");
  ASSERT_TRUE(same) << "the result is shared by the connections of the process";
  // Each write is read back at once, well within the file clock's tick.
  std::string south = "2";
  for (int k = 3; k < 6; ++k) {
    const std::string north = std::to_string(k);
    other.Run(FromUtf8("Update Team Set Score=" + north + " Where Name=='north'"));
    EXPECT_EQ(Scores(meet.db()), "north=" + north + ";south=" + south + ";");
    south = std::to_string(k * 10);
    meet.Run("Update Team Set Score=" + south + " Where Name=='south'");
    EXPECT_EQ(Scores(other), "north=" + north + ";south=" + south + ";");
  }
  // A table written moments ago is not trusted to its stamp: not kept.
  Scores(meet.db());
  Scores(meet.db(), &same);
  EXPECT_FALSE(same);
  Settle();
  Scores(meet.db());
  Scores(meet.db(), &same);
  EXPECT_TRUE(same);
}

TEST_F(KeptResults, AUnitUndoneIsSeenAsUndone) {
  Database other(meet.path());
  bool same = false;
  ASSERT_EQ(Scores(meet.db()), "north=1;south=2;");
  ASSERT_EQ(Scores(meet.db(), &same), "north=1;south=2;");
  ASSERT_TRUE(same);
  {
    data::dbf::WriteUnit unit(meet.path());
    other.Run(u"Update Team Set Score=7");
    EXPECT_EQ(Scores(other), "north=7;south=7;");
    Settle();  // the unit's rows may now be kept while it runs
    EXPECT_EQ(Scores(other), "north=7;south=7;");
    EXPECT_EQ(Scores(meet.db(), &same), "north=7;south=7;");
    EXPECT_TRUE(same);
  }  // not committed: undone
  EXPECT_EQ(Scores(meet.db()), "north=1;south=2;");
  EXPECT_EQ(Scores(other), "north=1;south=2;");
}

TEST_F(KeptResults, AWatchedFolderUnchangedSinceIsNotLookedAtAgain) {
  // A watch whose generation the test moves by hand: while it stands, the
  // tables are not even looked at (a table gone unnoticed is still
  // answered); once it moves, they are.
  std::atomic<uint64_t> generation{5};
  const uint64_t watch = data::foxsql::WatchFolder(meet.path(), [&] { return generation.load(); });
  bool same = false;
  ASSERT_EQ(Scores(meet.db()), "north=1;south=2;");
  ASSERT_EQ(Scores(meet.db(), &same), "north=1;south=2;");
  ASSERT_TRUE(same);
  std::filesystem::rename(meet.File("Team.dbf"), meet.File("Gone.dbf"));
  EXPECT_EQ(Scores(meet.db(), &same), "north=1;south=2;");
  EXPECT_TRUE(same);
  generation = 6;
  EXPECT_THROW(Scores(meet.db()), automation::Error);
  std::filesystem::rename(meet.File("Gone.dbf"), meet.File("Team.dbf"));
  generation = 7;
  EXPECT_EQ(Scores(meet.db()), "north=1;south=2;");
  // A watch that cannot tell (0) leaves the stamps to decide.
  generation = 0;
  Python("for r in t:\n    with r:\n        r.score = r.score + 10");
  EXPECT_EQ(Scores(meet.db()), "north=11;south=12;");
  data::foxsql::UnwatchFolder(watch);
}

TEST_F(KeptResults, AStatementThatReadsTheClockIsRunEveryTime) {
  for (const char* sql : {"Select Date() From Team", "Select Name From Team Where Joined < Date()",
                          "Select Iif(Year(Date()) > 2000, Name, '') From Team",
                          "Select Count(*) From Team Where Dtos(Joined) < Dtos(Date())"}) {
    auto first = meet.Run(sql);
    auto again = meet.Run(sql);
    EXPECT_NE(first.rows, again.rows) << sql;
    EXPECT_EQ(first.rows->rows, again.rows->rows) << sql;
  }
  // The same statements without the clock are kept.
  auto first = meet.Run("Select Name From Team Where Joined < {^2030-01-01}");
  EXPECT_EQ(meet.Run("Select Name From Team Where Joined < {^2030-01-01}").rows, first.rows);
}

TEST(KeptFunctions, OnlyListedFunctionsArePure) {
  EXPECT_TRUE(data::foxsql::IsPureFunction("fox_alltrim"));
  EXPECT_TRUE(data::foxsql::IsPureFunction("MAX"));
  for (const char* f : {"fox_date", "random", "date", "datetime", "changes", "last_insert_rowid", "", "fox_unknown"})
    EXPECT_FALSE(data::foxsql::IsPureFunction(f)) << f;
  // Every function the dialect registers is either listed or reads more
  // than its arguments; only Date does.
  for (const auto& f : data::foxsql::FunctionTable()) {
    if (!f.sqlite_name) continue;
    EXPECT_EQ(data::foxsql::IsPureFunction(f.sqlite_name), std::u16string_view(f.name) != u"Date")
        << f.sqlite_name;
  }
}

TEST_F(KeptResults, AFailedStatementIsNotKept) {
  // Fails on the rows' values, after SQLite started returning rows.
  const char* sql = "Select Cast(Name As D) From Team";
  for (int i = 0; i < 2; ++i) EXPECT_THROW(meet.Run(sql), automation::Error) << "run " << i;
  // Once the data allow it, the statement gives its rows.
  meet.Run("Update Team Set Name='2024-01-02'");
  EXPECT_EQ(meet.Run(sql).rows->rows.size(), 2u);
}

TEST_F(KeptResults, ReadersRacingAWriterNeverGoBackInTime) {
  // Each reader must see the score only grow, whatever it is served from.
  std::atomic<bool> stop{false};
  std::atomic<int> failures{0};
  std::vector<std::thread> readers;
  for (int t = 0; t < 3; ++t) {
    readers.emplace_back([&] {
      Database db(meet.path());
      int seen = 0;
      while (!stop) {
        auto out = db.Run(u"Select Score From Team Where Name=='north'");
        int score = automation::CLng(out.rows->rows.at(0).at(0));
        if (score < seen) ++failures;
        seen = score;
      }
    });
  }
  Database writer(meet.path());
  for (int k = 2; k < 40; ++k) {
    writer.Run(FromUtf8("Update Team Set Score=" + std::to_string(k) + " Where Name=='north'"));
    if (k % 10 == 0) Settle();  // lets the readers be served kept rows
  }
  stop = true;
  for (auto& r : readers) r.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(Trimmed(meet.Query("Select Score From Team Where Name=='north'").rows.at(0).at(0)), "39");
}

// The cache's own bounds, on a cache of its own.
std::shared_ptr<const Rows> RowsOfTexts(size_t count, size_t length) {
  auto rows = std::make_shared<Rows>();
  rows->names = {u"Name"};
  for (size_t i = 0; i < count; ++i) rows->rows.push_back({Variant(Text(length, u'x'))});
  return rows;
}

std::vector<data::dbf::ChangeStamp> StampOf(int64_t mtime) {
  data::dbf::ChangeStamp s;
  s.mtime_ns = mtime;
  return {s};
}

TEST(ResultCacheBounds, TheLeastRecentlyUsedGoesFirst) {
  ResultCache cache(2, 1 << 20, 1 << 20);
  cache.Keep("a", StampOf(1), RowsOfTexts(1, 1));
  cache.Keep("b", StampOf(1), RowsOfTexts(1, 1));
  ASSERT_NE(cache.Find("a", StampOf(1)), nullptr);  // a is now used more recently than b
  cache.Keep("c", StampOf(1), RowsOfTexts(1, 1));
  EXPECT_EQ(cache.entries(), 2u);
  EXPECT_NE(cache.Find("a", StampOf(1)), nullptr);
  EXPECT_EQ(cache.Find("b", StampOf(1)), nullptr);
  EXPECT_NE(cache.Find("c", StampOf(1)), nullptr);
  // Another stamp: never served, and no longer kept.
  EXPECT_EQ(cache.Find("a", StampOf(2)), nullptr);
  EXPECT_EQ(cache.Find("a", StampOf(1)), nullptr);
  EXPECT_EQ(cache.entries(), 1u);
  // Kept again under the same key: the newer rows replace the older.
  auto newer = RowsOfTexts(2, 1);
  cache.Keep("c", StampOf(3), newer);
  EXPECT_EQ(cache.Find("c", StampOf(3)), newer);
  EXPECT_EQ(cache.entries(), 1u);
}

TEST(ResultCacheBounds, BytesAreBounded) {
  const size_t one = ResultCache::SizeOf(*RowsOfTexts(100, 50));
  ASSERT_GT(one, 100u * 50 * sizeof(char16_t)) << "texts are counted";
  // Room for two results of that size, and one result at most that size.
  ResultCache cache(100, 2 * one + one / 2, one + 200);
  cache.Keep("a", StampOf(1), RowsOfTexts(100, 50));
  cache.Keep("b", StampOf(1), RowsOfTexts(100, 50));
  EXPECT_EQ(cache.entries(), 2u);
  cache.Keep("c", StampOf(1), RowsOfTexts(100, 50));
  EXPECT_EQ(cache.entries(), 2u);
  EXPECT_EQ(cache.Find("a", StampOf(1)), nullptr);
  EXPECT_LE(cache.bytes(), 2 * one + one / 2);
  // Too large for one result: not kept, and it pushes nothing out.
  cache.Keep("big", StampOf(1), RowsOfTexts(200, 50));
  EXPECT_EQ(cache.Find("big", StampOf(1)), nullptr);
  EXPECT_NE(cache.Find("b", StampOf(1)), nullptr);
  EXPECT_NE(cache.Find("c", StampOf(1)), nullptr);
}

}  // namespace
}  // namespace foxsql_test
