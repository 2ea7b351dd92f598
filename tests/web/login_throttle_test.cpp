// The login throttle's clock: the window, the lock-out after the allowed
// failures, the doubling delay up to the longest, and a fresh start after a
// quiet window or a successful login.
#include <gtest/gtest.h>

#include "web/login_throttle.h"

namespace web_test {
namespace {

using std::chrono::minutes;
using std::chrono::seconds;
using Clock = web::LoginThrottle::Clock;

TEST(LoginThrottle, LocksOutAfterTheAllowedFailuresForADoublingDelay) {
  web::LoginThrottle t;
  web::Limits limits;  // 10 in 10 minutes, 60 s doubling up to an hour
  t.Configure(limits);
  Clock::time_point now{};
  now += std::chrono::hours(1000);
  for (int i = 0; i < 9; ++i) EXPECT_FALSE(t.Failure("k", now + seconds(i)));
  EXPECT_FALSE(t.RefusedUntil("k", now + seconds(9)));
  auto first = t.Failure("k", now + seconds(9));
  ASSERT_TRUE(first);
  EXPECT_EQ(*first, now + seconds(9 + 60));
  EXPECT_TRUE(t.RefusedUntil("k", now + seconds(68)));
  EXPECT_FALSE(t.RefusedUntil("k", now + seconds(69)));
  EXPECT_FALSE(t.RefusedUntil("other", now + seconds(10)));

  // Still ten failures within the window: each further one locks out for
  // twice as long as the one before, up to an hour.
  Clock::time_point at = now + seconds(70);
  std::vector<long> delays;
  for (int i = 0; i < 8; ++i) {
    auto until = t.Failure("k", at);
    ASSERT_TRUE(until);
    delays.push_back(std::chrono::duration_cast<seconds>(*until - at).count());
    at = *until;
    if (at - now > minutes(9)) break;
  }
  EXPECT_EQ(delays[0], 120);
  EXPECT_EQ(delays[1], 240);
  for (long d : delays) EXPECT_LE(d, 3600);
}

TEST(LoginThrottle, AQuietWindowOrASuccessStartsAfresh) {
  web::LoginThrottle t;
  t.Configure(web::Limits{});
  Clock::time_point now{};
  now += std::chrono::hours(1000);
  for (int i = 0; i < 9; ++i) t.Failure("k", now);
  // Failures older than the window no longer count.
  EXPECT_FALSE(t.Failure("k", now + minutes(11)));
  for (int i = 0; i < 9; ++i) t.Failure("s", now);
  t.Success("s");
  EXPECT_FALSE(t.Failure("s", now));
  // After a lock-out and a quiet window the next lock-out is short again.
  for (int i = 0; i < 10; ++i) t.Failure("q", now);
  Clock::time_point later = now + minutes(30);
  for (int i = 0; i < 9; ++i) EXPECT_FALSE(t.Failure("q", later));
  auto until = t.Failure("q", later);
  ASSERT_TRUE(until);
  EXPECT_EQ(*until - later, seconds(60));
}

}  // namespace
}  // namespace web_test
