// Saves killed with SIGKILL, at chosen writes and at random moments: after
// the next open, a heats round is wholly as before or wholly saved (stage
// field, places, stage status, the final's seeding), a delegation's
// registration wholly old or wholly new, every table reads whole in
// python3-dbf and dbfread, and no journal is left.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <thread>

#include "arenix/meet/registration_save.h"
#include "data/dbf/undo_journal.h"
#include "data/dbf/write_unit.h"
#include "host/memory_host.h"
#include "result_entry_meet.h"

namespace wldf_test {
namespace {

using arenix::meet::WldfSaveSettings;
namespace dbf = data::dbf;

// ---- the child's kill switch ----

uint64_t g_first_write = 0;  // the process's write count when the save began
uint64_t g_kill_at = 0;      // 0: never
uint64_t g_last_write = 0;

void KillHook(uint64_t count) {
  g_last_write = count;
  if (g_kill_at && count - g_first_write == g_kill_at) ::raise(SIGKILL);
}

// ---- the folder ----

using Files = std::map<std::string, std::string>;

Files Read(const std::string& folder) {
  Files f;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (name != dbf::kWriteLockFile) f[name] = dbf_test::Slurp(e.path().string());
  }
  return f;
}

void Restore(const std::string& folder, const Files& files) {
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (!files.count(e.path().filename().string()) && e.path().filename() != dbf::kWriteLockFile)
      std::filesystem::remove(e.path());
  for (const auto& [name, bytes] : files) dbf_test::Spit(folder + "/" + name, bytes);
}

bool HasJournal(const std::string& folder) {
  struct stat st;
  return ::stat((folder + "/" + dbf::kJournalFile).c_str(), &st) == 0;
}

// The tables as other programs read them: "" when whole.
std::string PythonCheck(const std::string& folder) {
  const std::string command = "/usr/bin/python3 " + std::string(ARENIX_SOURCE_DIR) +
                              "/tests/data/dbf/check_tables.py " + folder + " 2>&1";
  std::string out;
  FILE* p = ::popen(command.c_str(), "r");
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  return ::pclose(p) == 0 && out.rfind("ok ", 0) == 0 ? "" : out;
}

// Runs `save` in a child; `kill_at` writes into it the child dies (0:
// never), or the parent kills it after `after` (when given). The child's
// exit code, or minus the signal.
int RunChild(const std::function<void()>& save, uint64_t kill_at, std::chrono::microseconds after = {}) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    g_kill_at = kill_at;
    dbf::SetWriteHook(KillHook);
    g_first_write = g_last_write;
    try {
      save();
    } catch (...) {
      ::_exit(3);
    }
    ::_exit(0);
  }
  if (after.count() > 0) {
    std::this_thread::sleep_for(after);
    ::kill(pid, SIGKILL);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

// How many writes a whole save makes and how long it takes, measured in a
// child (so that the parent's random draws stay where the children's start).
std::pair<uint64_t, std::chrono::microseconds> Measure(const std::function<void()>& save) {
  const std::string out =
      (std::filesystem::temp_directory_path() / ("arenix-kill-" + std::to_string(::getpid()))).string();
  const pid_t pid = ::fork();
  if (pid == 0) {
    dbf::SetWriteHook(KillHook);
    g_first_write = g_last_write;
    const auto start = std::chrono::steady_clock::now();
    save();
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    dbf_test::Spit(out, std::to_string(g_last_write - g_first_write) + " " + std::to_string(took.count()));
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  unsigned long long writes = 0, micros = 0;
  std::sscanf(dbf_test::Slurp(out).c_str(), "%llu %llu", &writes, &micros);
  std::filesystem::remove(out);
  return {writes, std::chrono::microseconds(micros)};
}

// A heats round of 16 in two heats, the final of 8 seeded from it.
Form HeatsForm() {
  Form f("100米", 2, 1);
  for (int i = 1; i <= 16; ++i) {
    const int h = (i * 37) % 100;
    f.Time(std::to_string(i), std::to_string(10 + i % 3), std::to_string(h + 100).substr(1));
  }
  return f;
}

// What the meet holds about the event, read on a fresh connection (which
// undoes an interrupted save first).
std::string EventState(const std::string& folder) {
  Meet meet(folder);
  std::string s = meet.Dump();
  for (const auto& row : meet.Query("Select 赛次名称, 比赛状态 From PlaySour Order By 赛次名称").rows)
    s += Str(row[0]) + "=" + Str(row[1]) + ";";
  return s;
}

// 16 entrants of the 100 m in two heats of 8, and its final.
void AddTwoHeatsAndAFinal(Meet& meet) {
  for (int i = 1; i <= 16; ++i) {
    Entrant e;
    e.number = std::to_string(i);
    e.name = "选手" + e.number;
    e.heat = i <= 8 ? 1 : 2;
    e.lane = (i - 1) % 8 + 1;
    meet.Add(e);
  }
  meet.AddRound("100米", "预赛");
  meet.AddRound("100米", "决赛");
}

TEST(SaveKill, AResultSaveIsWholeOrAbsentWhereverItIsKilled) {
  Meet meet;
  AddTwoHeatsAndAFinal(meet);
  const std::string folder = meet.folder();
  const Files before_files = Read(folder);
  const std::string before = EventState(folder);
  auto save = [&] {
    Meet m(folder);
    Form f = HeatsForm();
    Save(m, f, WldfSaveSettings{});
  };
  const auto [writes, took] = Measure(save);
  ASSERT_GT(writes, 20u);
  const std::string after = EventState(folder);
  ASSERT_NE(before, after);
  ASSERT_NE(after.find("预赛=True"), std::string::npos) << after;
  Restore(folder, before_files);

  std::mt19937 random(20261211);
  int rounds = 0, killed = 0;
  for (int k = 0; k < 40; ++k) {
    SCOPED_TRACE("round " + std::to_string(k));
    int code;
    if (k < 24) {
      // Chosen writes: from the first to the last of the save.
      code = RunChild(save, 1 + static_cast<uint64_t>(k) * (writes - 1) / 23);
    } else {
      std::uniform_int_distribution<int64_t> when(100, took.count() + took.count() / 4);
      code = RunChild(save, 0, std::chrono::microseconds(when(random)));
    }
    ASSERT_TRUE(code == 0 || code == -SIGKILL) << code;
    killed += code == -SIGKILL;
    const std::string now = EventState(folder);
    EXPECT_TRUE(now == before || now == after) << "a half-saved round after a kill";
    EXPECT_FALSE(HasJournal(folder));
    EXPECT_EQ(PythonCheck(folder), "");
    Restore(folder, before_files);
    ++rounds;
  }
  EXPECT_EQ(rounds, 40);
  EXPECT_GE(killed, 24);
}

// The journal changes nothing a reader of the tables sees: a save leaves
// the same bytes with it as without it (both saves in children of one
// parent, so that they draw the same lanes).
TEST(SaveKill, ASaveLeavesTheSameFilesWithAndWithoutTheJournal) {
  Meet meet;
  AddTwoHeatsAndAFinal(meet);
  dbf_test::TempDir copy;
  const Files start = Read(meet.folder());
  Restore(copy.path(), start);
  auto save_in = [](const std::string& folder, bool journal) {
    return [folder, journal] {
      dbf::SetJournalEnabled(journal);
      Meet m(folder);
      Form f = HeatsForm();
      Save(m, f, WldfSaveSettings{});
    };
  };
  ASSERT_EQ(RunChild(save_in(meet.folder(), true), 0), 0);
  ASSERT_EQ(RunChild(save_in(copy.path(), false), 0), 0);
  const Files with = Read(meet.folder()), without = Read(copy.path());
  ASSERT_NE(with, start);
  EXPECT_EQ(with, without);
}

// ---- registration ----

Variant RegistrationRequest(const std::string& suffix) {
  auto request = std::make_shared<host::MemoryRequest>();
  Text list = u"0";
  for (int i = 1; i <= 8; ++i) {
    const Text id = u"A" + automation::LongToText(i);
    list += u"|" + id;
    request->AddForm(u"ydy_xm_" + id, FromUtf8("队员" + std::to_string(i) + suffix));
    request->AddForm(u"ydy_xb_" + id, u"True");
  }
  request->AddForm(u"ydy_bh_list", list);
  request->AddForm(u"ydy_age", u"甲组");
  request->AddForm(u"ydy_team", u"一中");
  return Variant(automation::ObjectPtr(request));
}

void Register(const std::string& folder, const std::string& suffix) {
  Meet m(folder);
  Variant request = RegistrationRequest(suffix);
  Variant response(automation::ObjectPtr(std::make_shared<host::MemoryResponse>()));
  arenix::meet::RegistrationSettings s;
  s.most_athletes = 20;
  s.most_per_event = 2;
  s.counted_slots = 3;
  arenix::meet::SaveRegistration(request, response, m.conn, m.rs, s);
}

std::string Names(const std::string& folder) {
  Meet m(folder);
  std::string s;
  for (const auto& row : m.Query("Select ID, 运动员 From Ydybm Order By ID").rows)
    s += Str(row[0]) + ":" + ToUtf8(automation::Trim(automation::CStr(row[1]))) + " ";
  return s;
}

TEST(SaveKill, ARegistrationIsWhollyOldOrWhollyNewWhereverItIsKilled) {
  Meet meet;
  const std::string folder = meet.folder();
  for (int i = 1; i <= 8; ++i)
    meet.Exec("Insert Into Ydybm (ID, 年龄组, 代表队) Values ('A" + std::to_string(i) + "', '甲组', '一中')");
  Register(folder, "甲");
  const std::string old_names = Names(folder);
  ASSERT_NE(old_names.find("队员8甲"), std::string::npos) << old_names;
  const Files before_files = Read(folder);
  auto save = [&] { Register(folder, "乙"); };
  const auto [writes, took] = Measure(save);
  const std::string new_names = Names(folder);
  ASSERT_NE(new_names.find("队员8乙"), std::string::npos) << new_names;
  Restore(folder, before_files);
  for (uint64_t n = 1; n <= writes; n += std::max<uint64_t>(1, writes / 8)) {
    SCOPED_TRACE("killed at write " + std::to_string(n));
    const int code = RunChild(save, n);
    EXPECT_EQ(code, -SIGKILL);
    const std::string now = Names(folder);
    EXPECT_TRUE(now == old_names || now == new_names) << now;
    EXPECT_FALSE(HasJournal(folder));
    Restore(folder, before_files);
  }
}

}  // namespace
}  // namespace wldf_test
