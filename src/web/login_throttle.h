// Login failures counted per account and per client address: after the
// allowed number of failures within the window, further attempts are refused
// until a time that moves further out with each lock-out (the delay doubles
// up to a longest delay), so guessing a password costs hours, not seconds.
//
// Thread-safe. One throttle serves the process; keys carry the meet folder,
// so two meets served by one process count apart.
#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "web/config.h"

namespace web {

class LoginThrottle {
 public:
  using Clock = std::chrono::system_clock;

  void Configure(const Limits& limits);

  /// The time until which attempts for this key are refused, or nullopt
  /// when an attempt may be made now.
  std::optional<Clock::time_point> RefusedUntil(const std::string& key, Clock::time_point now);
  /// Counts a failed attempt; returns the lock-out it started, if any.
  std::optional<Clock::time_point> Failure(const std::string& key, Clock::time_point now);
  /// Forgets the key's failures (a successful login of that account).
  void Success(const std::string& key);

 private:
  struct Entry {
    std::vector<Clock::time_point> failures;  // within the window
    Clock::time_point refused_until{};
    int lockouts = 0;
  };
  void Sweep(Clock::time_point now);  // REQUIRES: mu_ held

  std::mutex mu_;
  int max_failures_ = 10;
  std::chrono::seconds window_{600};
  std::chrono::seconds delay_{60};
  std::chrono::seconds delay_max_{3600};
  std::map<std::string, Entry> entries_;
};

/// The process's throttle.
LoginThrottle& SharedLoginThrottle();

}  // namespace web
