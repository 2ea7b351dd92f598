#include "arenix/meet/result_notices.h"

#include <map>
#include <mutex>
#include <vector>

namespace arenix::meet {

namespace {

struct Listeners {
  std::mutex mu;
  int next = 1;
  std::map<int, ResultListener> all;
};

Listeners& Shared() {
  static Listeners l;
  return l;
}

}  // namespace

int AddResultListener(ResultListener listener) {
  Listeners& l = Shared();
  std::lock_guard lock(l.mu);
  l.all.emplace(l.next, std::move(listener));
  return l.next++;
}

void RemoveResultListener(int id) {
  Listeners& l = Shared();
  std::lock_guard lock(l.mu);
  l.all.erase(id);
}

void AnnounceSavedStage(const SavedStage& stage) {
  std::vector<ResultListener> now;
  {
    Listeners& l = Shared();
    std::lock_guard lock(l.mu);
    for (auto& [id, fn] : l.all) now.push_back(fn);
  }
  for (auto& fn : now) {
    try {
      fn(stage);
    } catch (...) {
    }
  }
}

}  // namespace arenix::meet
