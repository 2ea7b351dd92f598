// The Server object's path mapping over a site: "/" is the site's root
// folder, further folders are mounted under site paths ("/data" on the
// meet's folder), and nothing maps outside them. The HTTP host adds the
// page's own folder for relative paths; the in-memory host uses it as it is.
#pragma once

#include <utility>
#include <vector>

#include "host/host.h"

namespace host {

class SiteServer : public Server {
 public:
  /// `site_root`: the absolute folder that "/" maps to. It becomes a folder
  /// of this server's site (platform/site.h).
  explicit SiteServer(Text site_root);
  /// The same over a site resolved before, so that a host serving many
  /// requests resolves its folders once: `site` holds `site_root` and every
  /// folder mounted later with MountResolved.
  SiteServer(Text site_root, platform::Site site);
  /// Maps a site folder ("/data") to another absolute folder, which becomes
  /// part of the site too.
  void Mount(TextView site_path, TextView folder);
  /// Mounts a folder that the site given to the constructor holds already.
  void MountResolved(TextView site_path, TextView folder);

  /// "/x" is under the site root, "x" under the current page's folder
  /// (the root here); an absolute path already under the root, or under a
  /// mounted folder, is returned as it is; nothing maps outside the site.
  Text MapPath(TextView path) const override;
  const Text& root() const { return root_; }
  const platform::Site& site() const override { return site_; }

 private:
  Text root_;
  platform::Site site_;
  std::vector<std::pair<Text, Text>> mounts_;  // site path -> folder
};

}  // namespace host
