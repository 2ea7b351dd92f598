// Replies of public pages kept for the next visitor: a page that marks its
// reply public (Response.CacheControl = "public") and was asked for with GET
// and without a session is answered from here until the meet's data files
// or the page's files change. Result lists during a meet are read far more
// often than results are entered; this spares the database and the script
// engine the same work for every spectator.
//
// Thread-safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <ctime>

#include "web/http_host.h"

namespace web {

/// The newest modification time of the files in `dir` (0 when it is empty
/// or cannot be read): when a reply made from them last changed.
std::time_t NewestModification(const std::string& dir);

/// A strong entity tag of a reply's bytes ("\"<16 hex digits>\"").
std::string EntityTag(std::string_view body);

class ReplyCache {
 public:
  /// `data_dir`: the folder whose files the cached replies were made from;
  /// at most `max_entries` replies are kept.
  ReplyCache(std::string data_dir, size_t max_entries) : data_dir_(std::move(data_dir)), max_entries_(max_entries) {}

  /// The signature of the data folder now: names, sizes and modification
  /// times of its files.
  std::string DataSignature() const;

  /// The reply kept for `key`, made by `page` from data of `signature`.
  /// After a change, one request makes a kept reply again (`lead` set: it
  /// must call Finish when its page has run) and the requests for it that
  /// come meanwhile wait for that run, at most `wait`, instead of running
  /// the same page side by side.
  std::optional<Reply> Find(const std::string& key, const void* page, const std::string& signature, bool& lead,
                            std::chrono::milliseconds wait = {});
  void Store(const std::string& key, const void* page, const std::string& signature, const Reply& reply);
  /// Ends the run `Find` gave a lead: `reply` is what it kept (null: none).
  void Finish(const std::string& key, const Reply* reply);

 private:
  struct Entry {
    const void* page;
    std::string signature;
    Reply reply;
  };
  struct Run {
    const void* page;
    std::string signature;
    bool done = false;
    std::optional<Reply> reply;
  };
  std::string data_dir_;
  size_t max_entries_;
  std::mutex mu_;
  std::map<std::string, Entry> entries_;
  std::condition_variable run_done_;
  std::map<std::string, std::shared_ptr<Run>> runs_;
};

}  // namespace web
