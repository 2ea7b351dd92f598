// The site: the folders where the component's file services may read or
// write. Every path a page passes (physical, drive-lettered or mapped with
// MapPath) is resolved here before it reaches the file system; a path that
// leaves the site, through ".." or a symbolic link, or that holds a NUL, is
// refused.
//
// A Site is a value. The host's server object owns one (its root and the
// folders it mounts into the site) and hands it to the file services,
// which take it as their first argument; nothing about the site is kept
// process-wide. A Site made with no folder refuses every path.
//
// Const member functions are thread-safe; the folders are resolved once,
// when they are added.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/text.h"

namespace platform {

using automation::Text;
using automation::TextView;

/// True when `path` is `dir` itself or lies under it, by their texts alone
/// ("/a/bc" is not under "/a/b"; everything absolute is under "/", and
/// under "", the root written without its slash).
bool PathUnder(std::string_view path, std::string_view dir);

class Site {
 public:
  Site() = default;
  /// A site of one folder.
  explicit Site(TextView root) { AddFolder(root); }

  /// Adds a folder to the site; a relative one is taken from the working
  /// folder now. It is kept absolute and canonical (links of the part that
  /// exists resolved), so later checks compare resolved paths only.
  void AddFolder(TextView folder);

  /// A page's path text -> the native path to open, or nothing when it must
  /// not reach the file system: it holds a NUL, or, resolved ("\" and "/" as
  /// separators, a leading "X:" drive dropped, relative paths against the
  /// working folder, "." and ".." lexically, symbolic links of the part that
  /// exists), it lies outside every site folder. Components that are missing
  /// as written are found without regard to ASCII case (NativePath).
  std::optional<std::string> Resolve(TextView path) const;

  /// The one test of "inside": a native path, its existing part resolved,
  /// lies in (or is) one of the site's folders.
  bool Contains(const std::string& native) const;

  /// True when a native path is one of the site folders themselves, which
  /// the file services never delete, move or rename.
  bool IsFolder(const std::string& native) const;

  /// The folders, canonical, in the order they were added.
  const std::vector<std::string>& folders() const { return folders_; }

 private:
  std::vector<std::string> folders_;
};

/// An object that works on the files of a site it is given: the host's
/// server object hands its site to such objects as it creates them.
class UsesSite {
 public:
  virtual ~UsesSite() = default;
  virtual void UseSite(const Site& site) = 0;
};

/// The real path of a native path: links resolved in the longest part that
/// exists, the rest appended unchanged.
std::string ResolveExisting(const std::string& native);

}  // namespace platform
