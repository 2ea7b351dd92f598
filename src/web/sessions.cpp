#include "web/sessions.h"

#include <sys/random.h>

#include <cerrno>
#include <random>

#include "automation/coerce.h"
#include "automation/member_table.h"
#include "automation/text.h"

namespace web {

using automation::EqualsNoCase;
using automation::InvokeKind;
using host::Variant;

namespace {

// Objects belong to one request thread; a session keeps values only.
Variant Storable(const Variant& v) {
  if (v.IsObject()) throw automation::Error(automation::err::kTypeMismatch);
  return v;
}

}  // namespace

Variant HttpSession::Get(host::TextView key) const {
  for (const auto& [k, v] : items_)
    if (EqualsNoCase(k, key)) return v;
  return Variant();
}

void HttpSession::Set(host::TextView key, Variant value) {
  changed_ = true;
  for (auto& [k, v] : items_)
    if (EqualsNoCase(k, key)) {
      v = Storable(value);
      return;
    }
  items_.emplace_back(host::Text(key), Storable(value));
}

namespace {
enum Member { kItem, kSessionId, kTimeout, kAbandon, kRemove };
using automation::kGet;
using automation::kGetPut;
using automation::kMethod;
// The timeout is the server's; a page that sets it changes nothing.
const automation::MemberTable kMembers{
    {u"", kItem, kGetPut, 1, 1},           {u"Contents", kItem, kGetPut, 1, 1},
    {u"Item", kItem, kGetPut, 1, 1},       {u"SessionID", kSessionId, kGet, 0, 0},
    {u"Timeout", kTimeout, kGetPut, 0, 0}, {u"Abandon", kAbandon, kMethod, 0, 0},
    {u"Remove", kRemove, kMethod, 1, 1},
};
}  // namespace

const automation::MemberTable* HttpSession::Members() const { return &kMembers; }

Variant HttpSession::Invoke(host::TextView name, InvokeKind kind, std::span<Variant* const> args) {
  const int id = kMembers.Resolve(name, kind, args.size());
  if (kind == InvokeKind::PropertyPut) {
    if (id == kItem) Set(automation::CStr(*args[0]), *args[1]);
    return Variant();
  }
  switch (id) {
    case kItem:
      return Get(automation::CStr(*args[0]));
    case kSessionId:
      return Variant(automation::FromUtf8(id_));
    case kTimeout:
      return Variant(int32_t{20});
    case kAbandon:
      abandoned_ = true;
      return Variant();
    case kRemove: {
      host::Text key = automation::CStr(*args[0]);
      changed_ = true;
      std::erase_if(items_, [&](const auto& kv) { return EqualsNoCase(kv.first, key); });
      return Variant();
    }
  }
  return Object::Invoke(name, kind, args);
}

std::string NewSessionId(const std::string& node) {
  unsigned char bytes[16];
  // One system call, no file: 16 bytes always come whole once the
  // system's pool is ready.
  ssize_t n;
  do n = ::getrandom(bytes, sizeof bytes, 0);
  while (n < 0 && errno == EINTR);
  const size_t got = n > 0 ? static_cast<size_t>(n) : 0;
  if (got != sizeof bytes) {
    std::random_device rd;  // the system's random source by another road
    for (auto& b : bytes) b = static_cast<unsigned char>(rd());
  }
  static const char kHex[] = "0123456789abcdef";
  std::string id = node.empty() ? std::string() : node + ".";
  for (unsigned char b : bytes) {
    id += kHex[b >> 4];
    id += kHex[b & 15];
  }
  return id;
}

std::shared_ptr<HttpSession> SessionStore::Open(const std::string& cookie_id, bool& created) {
  const auto now = Now();
  std::lock_guard lock(mu_);
  DropIdle(now);
  auto it = sessions_.find(cookie_id);
  if (!cookie_id.empty() && it != sessions_.end() && now - it->second.last_used < idle_) {
    it->second.last_used = now;
    auto s = std::make_shared<HttpSession>(cookie_id);
    s->node_ = node_;
    s->items_ = it->second.items;
    created = false;
    return s;
  }
  if (it != sessions_.end()) sessions_.erase(it);
  std::string id;
  do id = NewSessionId(node_);
  while (sessions_.count(id));
  created = true;
  auto s = std::make_shared<HttpSession>(id);
  s->node_ = node_;
  return s;
}

void HttpSession::Renew() {
  if (old_id_.empty()) old_id_ = id_;
  id_ = NewSessionId(node_);
}

bool SessionStore::Close(const std::shared_ptr<HttpSession>& session, bool created) {
  std::lock_guard lock(mu_);
  const bool renewed = !session->old_id_.empty();
  // The id the request came with: still stored unless the session ended
  // while the request ran (Abandon or a login elsewhere in this session).
  const std::string& came_with = renewed ? session->old_id_ : session->id();
  const bool still_there = sessions_.count(came_with) > 0;
  if (renewed) sessions_.erase(session->old_id_);
  if (session->abandoned()) {
    sessions_.erase(session->id());
    return false;
  }
  if (!created && !still_there) return false;
  // A new session is kept only once the page stored something in it, so
  // that clients without cookies (monitors, load tests) leave nothing behind.
  if (session->items_.empty() && (created || renewed)) return false;
  auto& stored = sessions_[session->id()];
  if (session->changed_ || created || renewed) stored.items = session->items_;
  stored.last_used = Now();
  return created || renewed;
}

size_t SessionStore::size() {
  std::lock_guard lock(mu_);
  return sessions_.size();
}

void SessionStore::DropIdle(std::chrono::steady_clock::time_point now) {
  // REQUIRES: mu_ is held. A sweep a minute is enough to bound the memory.
  if (now - last_sweep_ < std::chrono::minutes(1)) return;
  last_sweep_ = now;
  std::erase_if(sessions_, [&](const auto& kv) { return now - kv.second.last_used >= idle_; });
}

}  // namespace web
