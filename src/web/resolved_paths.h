// The site files found for request paths, kept while the change notices say
// nothing in the site changed. Finding a file costs a system call for each
// folder of its path (links resolved, case-insensitive names found), the
// same calls for every request of the same page.
//
// Only files found are kept (a flood of made-up paths keeps nothing), at
// most a bounded number; past it the kept ones are dropped and found again.
//
// Thread-safe.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

#include "web/site_files.h"

namespace web {

class ResolvedPaths {
 public:
  explicit ResolvedPaths(size_t max_kept) : max_kept_(max_kept) {}

  /// SiteFiles::Resolve, answered from what was found before at the same
  /// `generation` (ChangeWatch::Generation, read before this call; 0 when
  /// the site is not watched: then the file system is asked every time).
  SiteFile Resolve(const SiteFiles& site, const std::string& url_path, uint64_t generation);

 private:
  const size_t max_kept_;
  std::mutex mu_;
  uint64_t generation_ = 0;
  std::unordered_map<std::string, SiteFile> kept_;
};

}  // namespace web
