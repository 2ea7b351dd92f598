// Kept public replies as the bytes the client receives, answered by the
// connection loop itself: no worker, no request object, no page machinery.
// A reply the page host made for every visitor (a public page asked for
// with GET and without a session) is kept here under its request target and
// Host, as its status line and headers with the body, once as it is and
// once compressed each way a browser may ask for; a conditional GET whose
// entity tag or modification time still holds is answered 304 from the same
// entry. An entry holds while nothing changed in the site's or the meet's
// folders since before its page ran (ChangeWatch); where changes cannot all
// be seen this way the front answers nothing and every request takes the
// ordinary way.
//
// Requests it leaves to the ordinary way: any method but GET, HTTP/1.0, a
// session cookie, a body, a Range, a repeated Host.
//
// Thread-safe.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "web/change_watch.h"
#include "web/connection_loop.h"

namespace web {

/// What the front needs of a request's head, read on the loop's thread.
struct QuickHead {
  std::string_view method, target, version;
  std::string_view host, cookie, if_none_match, if_modified_since, accept_encoding, forwarded_for;
  bool close = false;        // Connection: close
  bool has_body = false;     // Content-Length above 0, or chunked
  bool unusual = false;      // Range, a repeated Host or a line it cannot read
};
QuickHead ReadQuickHead(std::string_view request);

class KeptFront {
 public:
  KeptFront(ChangeWatch& watch, size_t max_entries) : watch_(watch), max_entries_(max_entries) {}

  /// The key of a request: its target as sent and its Host.
  static std::string KeyOf(std::string_view target, std::string_view host);

  /// The moment a page starts making a reply (taken before it reads
  /// anything); 0 when the front does not keep replies.
  uint64_t Moment();

  /// Keeps a 200 reply made from what was there at `moment`: `headers`
  /// without Content-Length, `body` as the page made it.
  void Keep(const std::string& key, uint64_t moment, const std::vector<std::pair<std::string, std::string>>& headers,
            const std::string& body);

  /// Answers `head` (a whole request) from a kept entry. `last`: the
  /// connection ends after this request whatever the client asked.
  /// `status` and `bytes` tell the access log what went out.
  bool Answer(const QuickHead& head, bool last, ReadyReply& reply, int& status, size_t& bytes);

  size_t size();

 private:
  struct Variant {
    std::string head;  // status line and headers, without the blank line
    std::string body;
  };
  struct Entry {
    uint64_t moment = 0;
    std::string etag, last_modified;
    Variant plain, brotli, gzip;  // the compressed ones empty when not worth it
    std::string not_modified;     // the 304's status line and headers
  };

  ChangeWatch& watch_;
  size_t max_entries_;
  std::mutex mu_;
  std::unordered_map<std::string, std::shared_ptr<const Entry>> entries_;
};

}  // namespace web
