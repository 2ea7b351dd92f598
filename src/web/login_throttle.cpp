#include "web/login_throttle.h"

#include <algorithm>

namespace web {

void LoginThrottle::Configure(const Limits& limits) {
  std::lock_guard lock(mu_);
  max_failures_ = std::max(1, limits.login_failures);
  window_ = limits.login_window;
  delay_ = limits.login_delay;
  delay_max_ = std::max(limits.login_delay, limits.login_delay_max);
}

std::optional<LoginThrottle::Clock::time_point> LoginThrottle::RefusedUntil(const std::string& key,
                                                                           Clock::time_point now) {
  std::lock_guard lock(mu_);
  auto it = entries_.find(key);
  if (it == entries_.end() || now >= it->second.refused_until) return std::nullopt;
  return it->second.refused_until;
}

std::optional<LoginThrottle::Clock::time_point> LoginThrottle::Failure(const std::string& key,
                                                                      Clock::time_point now) {
  std::lock_guard lock(mu_);
  Sweep(now);
  Entry& e = entries_[key];
  std::erase_if(e.failures, [&](Clock::time_point t) { return now - t >= window_; });
  if (e.failures.empty() && now >= e.refused_until) e.lockouts = 0;  // a quiet window starts afresh
  e.failures.push_back(now);
  if (static_cast<int>(e.failures.size()) < max_failures_) return std::nullopt;
  // Each lock-out doubles the one before, within the longest delay.
  auto delay = delay_;
  for (int i = 0; i < e.lockouts && delay < delay_max_; ++i) delay *= 2;
  delay = std::min(delay, delay_max_);
  e.refused_until = now + delay;
  ++e.lockouts;
  return e.refused_until;
}

void LoginThrottle::Success(const std::string& key) {
  std::lock_guard lock(mu_);
  entries_.erase(key);
}

void LoginThrottle::Sweep(Clock::time_point now) {
  // Entries with no failure in the window and no lock-out running are
  // forgotten, so a stream of names or addresses cannot grow the map.
  if (entries_.size() < 4096) return;
  std::erase_if(entries_, [&](const auto& kv) {
    const Entry& e = kv.second;
    return now >= e.refused_until && (e.failures.empty() || now - e.failures.back() >= window_);
  });
}

LoginThrottle& SharedLoginThrottle() {
  static LoginThrottle throttle;
  return throttle;
}

}  // namespace web
