#include "host/site_server.h"

#include "automation/text.h"
#include "platform/paths.h"

namespace host {

using automation::EqualsNoCase;

SiteServer::SiteServer(Text site_root) : root_(std::move(site_root)), site_(root_) {}

SiteServer::SiteServer(Text site_root, platform::Site site)
    : root_(std::move(site_root)), site_(std::move(site)) {}

void SiteServer::Mount(TextView site_path, TextView folder) {
  site_.AddFolder(folder);
  MountResolved(site_path, folder);
}

void SiteServer::MountResolved(TextView site_path, TextView folder) {
  mounts_.emplace_back(platform::NormalizeSlashes(Text(u"/") + Text(site_path)), Text(folder));
}

namespace {
bool IsUnder(TextView path, TextView dir) {
  return platform::PathUnder(automation::ToUtf8(path), automation::ToUtf8(dir));
}
}  // namespace

Text SiteServer::MapPath(TextView path) const {
  Text root = platform::NormalizeSlashes(root_);
  Text norm = platform::NormalizeSlashes(path);
  // A physical path already under the site (or a mount) maps to itself.
  if (!path.empty() && (path[0] == u'/' || path[0] == u'\\')) {
    if (IsUnder(norm, root)) return norm;
    for (const auto& [site, folder] : mounts_) {
      Text f = platform::NormalizeSlashes(folder);
      if (IsUnder(norm, f)) return norm;
    }
  }
  // Site-relative: the lexical normalisation above already keeps ".." from
  // climbing out of the site.
  Text site = platform::NormalizeSlashes(Text(u"/") + norm);
  for (const auto& [mount, folder] : mounts_) {
    if (IsUnder(site, mount) || EqualsNoCase(site.substr(0, mount.size()), mount)) {
      if (site.size() == mount.size() || site[mount.size()] == u'/') {
        Text rest = site.substr(mount.size());
        return platform::NormalizeSlashes(folder) + rest;
      }
    }
  }
  if (site == u"/") return root;
  return (root == u"/" ? Text() : root) + site;
}

}  // namespace host
