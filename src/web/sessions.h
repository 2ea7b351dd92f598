// The session store: each browser gets a random 128-bit id in an HttpOnly
// cookie; its values live in memory in the server process and are forgotten
// after the idle time. An id the store does not know (forged, expired, or
// from before a restart) gets a new, empty session.
//
// Thread-safe. A request works on its own copy of the session's values,
// which Close stores back: two pages of one browser never share an object.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "host/host.h"

namespace web {

/// One session's values, as the page's `Session` object.
class HttpSession : public host::Session {
 public:
  explicit HttpSession(std::string id) : id_(std::move(id)) {}
  host::Variant Get(host::TextView key) const override;
  void Set(host::TextView key, host::Variant value) override;
  /// Session(key), Session(key) = v, Contents, SessionID, Timeout, Abandon.
  host::Variant Invoke(host::TextView name, automation::InvokeKind kind,
                       std::span<host::Variant* const> args) override;
  const automation::MemberTable* Members() const override;

  const std::string& id() const { return id_; }
  bool abandoned() const { return abandoned_; }

  /// Gives the session a new id (at login, so that an id a visitor was
  /// handed before cannot carry the rights after it). The old id ends when
  /// the request closes the session; its values move to the new one.
  void Renew();

 private:
  friend class SessionStore;
  using Items = std::vector<std::pair<host::Text, host::Variant>>;
  std::string id_;
  std::string old_id_;  // the id before Renew
  std::string node_;    // of the store that handed out the id
  Items items_;
  bool abandoned_ = false;
  bool changed_ = false;  // a value was set or removed by this request
};

class SessionStore {
 public:
  /// `node`: the server's name that begins every id it hands out (see
  /// ServerConfig::node); empty for a server of its own.
  explicit SessionStore(std::chrono::minutes idle, std::string node = {}) : idle_(idle), node_(std::move(node)) {}

  /// The session of a cookie value; a new empty one (with a new id) when the
  /// id is unknown or idle too long. `created` tells which.
  std::shared_ptr<HttpSession> Open(const std::string& cookie_id, bool& created);
  /// Keeps what a request did to its session (drops it when abandoned; a
  /// new session is kept once it holds a value; the values of a request
  /// that changed none are not written back, so that they cannot undo what
  /// another request of the same browser stored meanwhile). A session that was known
  /// at Open and has ended meanwhile (abandoned, renewed or expired by
  /// another request) is not stored again. True when the client must now
  /// be given the session's cookie.
  bool Close(const std::shared_ptr<HttpSession>& session, bool created);

  size_t size();
  /// For tests: moves the clock this far ahead of now.
  void AdvanceForTesting(std::chrono::minutes by) { skew_ += by; }

 private:
  std::chrono::steady_clock::time_point Now() const { return std::chrono::steady_clock::now() + skew_; }
  void DropIdle(std::chrono::steady_clock::time_point now);

  std::mutex mu_;
  std::chrono::minutes idle_;
  std::string node_;
  std::chrono::minutes skew_{0};
  struct Stored {
    HttpSession::Items items;
    std::chrono::steady_clock::time_point last_used;
  };
  std::map<std::string, Stored> sessions_;
  std::chrono::steady_clock::time_point last_sweep_{};
};

/// The session cookie's name.
inline constexpr const char* kSessionCookie = "ARENIXSESSIONID";

/// A new random id: 128 bits from the system's random source, as 32 hex
/// digits, after `node` and a dot when a node is named.
std::string NewSessionId(const std::string& node = {});

}  // namespace web
