#include "automation/registry.h"

#include <mutex>

namespace automation {
namespace {

struct Entry {
  Text name;
  ObjectFactory factory;
};

struct Registry {
  std::mutex mu;
  std::vector<Entry> entries;  // few dozen at most: a scan is fine

  Entry* Find(TextView name) {
    for (auto& e : entries)
      if (EqualsNoCase(e.name, name)) return &e;
    return nullptr;
  }
};

Registry& TheRegistry() {
  static Registry r;
  return r;
}

}  // namespace

void RegisterClass(TextView prog_id, ObjectFactory factory) {
  auto& r = TheRegistry();
  std::lock_guard lock(r.mu);
  if (Entry* e = r.Find(prog_id))
    e->factory = std::move(factory);
  else
    r.entries.push_back({Text(prog_id), std::move(factory)});
}

bool IsClassRegistered(TextView prog_id) {
  auto& r = TheRegistry();
  std::lock_guard lock(r.mu);
  return r.Find(prog_id) != nullptr;
}

ObjectPtr CreateObject(TextView prog_id) {
  ObjectFactory factory;
  {
    auto& r = TheRegistry();
    std::lock_guard lock(r.mu);
    if (Entry* e = r.Find(prog_id)) factory = e->factory;
  }
  if (!factory) throw Error(err::kCannotCreate);
  return factory();
}

std::vector<Text> RegisteredClasses() {
  auto& r = TheRegistry();
  std::lock_guard lock(r.mu);
  std::vector<Text> names;
  for (auto& e : r.entries) names.push_back(e.name);
  return names;
}

}  // namespace automation
