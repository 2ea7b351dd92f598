#include "web/resolved_paths.h"

namespace web {

SiteFile ResolvedPaths::Resolve(const SiteFiles& site, const std::string& url_path, uint64_t generation) {
  if (generation == 0 || max_kept_ == 0) return site.Resolve(url_path);
  {
    std::lock_guard lock(mu_);
    if (generation == generation_) {
      if (auto it = kept_.find(url_path); it != kept_.end()) return it->second;
    }
  }
  SiteFile file = site.Resolve(url_path);
  if (file.kind != SiteFile::Kind::Page && file.kind != SiteFile::Kind::Static) return file;
  std::lock_guard lock(mu_);
  // A generation read before another request's newer one is already stale.
  if (generation < generation_) return file;
  if (generation != generation_ || kept_.size() >= max_kept_) {
    kept_.clear();
    generation_ = generation;
  }
  kept_.emplace(url_path, file);
  return file;
}

}  // namespace web
