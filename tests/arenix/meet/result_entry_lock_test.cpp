// Two recorders saving the same round at the same moment, in two
// processes: every outcome is one whole save, never a mixture of the two.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "data/write_lock.h"
#include "result_entry_meet.h"

namespace wldf_test {
namespace {

using arenix::meet::WldfSaveSettings;

constexpr int kSaves = 25;

// Recorder a has entrant i run 10.00 + i/10; recorder b the reverse order.
Form RecorderForm(bool a) {
  Form f("100米", 1, 4);
  for (int i = 1; i <= 8; ++i) {
    const int h = (a ? i : 9 - i) * 10;
    f.Time(std::to_string(i), std::to_string(10 + h / 100), std::to_string(h % 100 + 100).substr(1));
  }
  return f;
}

// The round's rows, read while no save runs.
std::string Outcome(Meet& meet) {
  data::MeetWriteLock lock(meet.folder());
  return meet.Dump();
}

// Saves `a`'s or `b`'s form again and again; after each save checks that
// the rows are one of the two whole outcomes. The exit code counts misses.
int Recorder(const std::string& folder, bool a, const std::string& outcome_a, const std::string& outcome_b) {
  Meet meet(folder);
  int mixed = 0;
  for (int k = 0; k < kSaves; ++k) {
    Form f = RecorderForm(a);
    Save(meet, f, WldfSaveSettings{});
    const std::string now = Outcome(meet);
    if (now != outcome_a && now != outcome_b) ++mixed;
  }
  return mixed;
}

TEST(MeetWriteLock, ConcurrentSavesOfOneRoundLeaveOneWholeSave) {
  Meet meet;
  for (int i = 1; i <= 8; ++i) {
    Entrant e;
    e.number = std::to_string(i);
    e.name = "选手" + e.number;
    e.lane = i;
    meet.Add(e);
  }
  Form first = RecorderForm(true);
  Save(meet, first, WldfSaveSettings{});
  const std::string outcome_a = meet.Dump();
  Form second = RecorderForm(false);
  Save(meet, second, WldfSaveSettings{});
  const std::string outcome_b = meet.Dump();
  ASSERT_NE(outcome_a, outcome_b);

  std::vector<pid_t> children;
  for (bool a : {true, false}) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) _exit(std::min(Recorder(meet.folder(), a, outcome_a, outcome_b), 100));
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "saves that left a mixture";
  }
  const std::string last = Outcome(meet);
  EXPECT_TRUE(last == outcome_a || last == outcome_b);
}

TEST(MeetWriteLock, OtherMeetsAndReadersDoNotWait) {
  Meet held, other;
  data::MeetWriteLock lock(held.folder());
  // Another meet saves while this one is locked...
  Entrant e;
  e.number = "1";
  e.name = "甲";
  other.Add(e);
  Form f("100米", 1, 4);
  f.Time("1", "11", "00");
  Save(other, f, WldfSaveSettings{});
  EXPECT_EQ(Int(other.Rows()["1"]["比赛名次"]), 1);
  // ...readers of the locked meet read...
  EXPECT_TRUE(held.Query("Select * From Play").rows.empty());
  // ...and a second save of the locked meet (another page's thread) gives
  // up with a clear error.
  std::thread other_page([&] {
    EXPECT_THROW(data::MeetWriteLock(held.folder(), std::chrono::milliseconds(50)), automation::Error);
  });
  other_page.join();
}

}  // namespace
}  // namespace wldf_test
