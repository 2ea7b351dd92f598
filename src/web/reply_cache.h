// Replies of public pages kept for the next visitor: a page that marks its
// reply public (Response.CacheControl = "public") and was asked for with GET
// and without a session is answered from here until the meet's data files
// or the page's files change. Result lists during a meet are read far more
// often than results are entered; this spares the database and the script
// engine the same work for every spectator.
//
// Thread-safe.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "web/http_host.h"

namespace web {

class ReplyCache {
 public:
  /// `data_dir`: the folder whose files the cached replies were made from;
  /// at most `max_entries` replies are kept.
  ReplyCache(std::string data_dir, size_t max_entries) : data_dir_(std::move(data_dir)), max_entries_(max_entries) {}

  /// The signature of the data folder now: names, sizes and modification
  /// times of its files.
  std::string DataSignature() const;

  /// The reply kept for `key`, made by `page` from data of `signature`.
  std::optional<Reply> Find(const std::string& key, const void* page, const std::string& signature);
  void Store(const std::string& key, const void* page, const std::string& signature, const Reply& reply);

 private:
  struct Entry {
    const void* page;
    std::string signature;
    Reply reply;
  };
  std::string data_dir_;
  size_t max_entries_;
  std::mutex mu_;
  std::map<std::string, Entry> entries_;
};

}  // namespace web
