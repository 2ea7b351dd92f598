#include "platform/archive.h"

#include <archive.h>
#include <archive_entry.h>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <set>

#include "automation/cp936.h"
#include "automation/runtime.h"
#include "platform/sandboxed_files.h"

namespace platform {
namespace {

// libarchive converts names through the thread's locale; UTF-8 makes every
// name of a rar or zip archive representable (the process itself stays in
// whatever locale it runs).
class Utf8Locale {
 public:
  Utf8Locale() {
    static locale_t utf8 = ::newlocale(LC_ALL_MASK, "C.UTF-8", static_cast<locale_t>(0));
    old_ = utf8 ? ::uselocale(utf8) : static_cast<locale_t>(0);
  }
  ~Utf8Locale() {
    if (old_) ::uselocale(old_);
  }
  Utf8Locale(const Utf8Locale&) = delete;
  Utf8Locale& operator=(const Utf8Locale&) = delete;

 private:
  locale_t old_;
};

struct ReadCloser {
  archive* a;
  ~ReadCloser() { archive_read_free(a); }
};
struct WriteCloser {
  archive* a;
  ~WriteCloser() { archive_write_free(a); }
};

bool ValidUtf8(const std::string& s) {
  Text t = automation::FromUtf8(s);
  return t.find(u'\uFFFD') == Text::npos || s.find("\xEF\xBF\xBD") != std::string::npos;
}

// A stored name as UTF-8: names that are not UTF-8 were written in the
// code page of the Windows machine that packed them.
std::optional<std::string> EntryName(const char* raw) {
  if (!raw) return std::nullopt;
  std::string s = raw;
  if (!ValidUtf8(s)) s = automation::ToUtf8(automation::FromGbk(s));
  return s;
}

// Splits a stored path into its parts, refusing what could leave the
// target: an absolute name, a drive, or a ".." anywhere.
std::optional<std::vector<std::string>> SafeParts(std::string name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  if (name.empty() || name[0] == '/') return std::nullopt;
  if (name.size() >= 2 && name[1] == ':') return std::nullopt;
  std::vector<std::string> parts;
  size_t i = 0;
  while (i <= name.size()) {
    size_t j = name.find('/', i);
    if (j == std::string::npos) j = name.size();
    std::string part = name.substr(i, j - i);
    if (part == "..") return std::nullopt;
    if (!part.empty() && part != ".") parts.push_back(part);
    i = j + 1;
  }
  if (parts.empty()) return std::nullopt;
  return parts;
}

std::string JoinParts(const std::vector<std::string>& parts) {
  std::string out;
  for (const auto& p : parts) out += (out.empty() ? "" : "/") + p;
  return out;
}

// A link stays inside the target when its text, read from the link's own
// folder, never climbs above the target.
bool LinkStaysInside(const std::vector<std::string>& entry, const std::string& link) {
  if (link.empty() || link[0] == '/' || link.find('\\') != std::string::npos) return false;
  std::vector<std::string> at(entry.begin(), entry.end() - 1);
  size_t i = 0;
  while (i <= link.size()) {
    size_t j = link.find('/', i);
    if (j == std::string::npos) j = link.size();
    std::string part = link.substr(i, j - i);
    if (part == "..") {
      if (at.empty()) return false;
      at.pop_back();
    } else if (!part.empty() && part != ".") {
      at.push_back(part);
    }
    i = j + 1;
  }
  return true;
}

archive* OpenForReading(const std::string& path, TextView password) {
  archive* a = archive_read_new();
  archive_read_support_format_zip(a);
  archive_read_support_format_rar(a);
  archive_read_support_format_rar5(a);
  if (!automation::Trim(password).empty())
    archive_read_add_passphrase(a, automation::ToUtf8(password).c_str());
  if (archive_read_open_filename(a, path.c_str(), 1 << 16) != ARCHIVE_OK) {
    archive_read_free(a);
    return nullptr;
  }
  return a;
}

struct Planned {
  std::vector<std::string> parts;
  mode_t type;
  std::string link;      // symbolic link text
  std::string hardlink;  // relative path of the entry linked to
};

// First pass: every name checked before anything is written.
std::optional<std::vector<Planned>> Plan(const std::string& path, TextView password) {
  archive* a = OpenForReading(path, password);
  if (!a) return std::nullopt;
  ReadCloser closer{a};
  std::vector<Planned> plan;
  archive_entry* e;
  int r;
  while ((r = archive_read_next_header(a, &e)) == ARCHIVE_OK || r == ARCHIVE_WARN) {
    auto name = EntryName(archive_entry_pathname(e));
    if (!name) return std::nullopt;
    auto parts = SafeParts(*name);
    if (!parts) return std::nullopt;
    Planned p{*parts, archive_entry_filetype(e), {}, {}};
    if (const char* hl = archive_entry_hardlink(e)) {
      auto hname = EntryName(hl);
      auto hparts = hname ? SafeParts(*hname) : std::nullopt;
      if (!hparts) return std::nullopt;
      p.hardlink = JoinParts(*hparts);
    } else if (p.type == AE_IFLNK) {
      auto link = EntryName(archive_entry_symlink(e));
      if (!link || !LinkStaysInside(p.parts, *link)) return std::nullopt;
      p.link = *link;
    }
    plan.push_back(std::move(p));
    if (archive_read_data_skip(a) != ARCHIVE_OK) return std::nullopt;
  }
  if (r != ARCHIVE_EOF) return std::nullopt;
  return plan;
}

bool Selected(const Planned& p, const std::vector<Text>& masks) {
  if (masks.empty()) return true;
  Text path = automation::FromUtf8(JoinParts(p.parts));
  Text name = automation::FromUtf8(p.parts.back());
  for (Text m : masks) {
    std::replace(m.begin(), m.end(), u'\\', u'/');
    if (WildcardMatch(m, path) || WildcardMatch(m, name)) return true;
  }
  return false;
}

// Makes the folders of an entry under the target; every one must really
// lie inside the target (a link among them may not lead out).
bool MakeEntryFolders(const std::string& real_target, const std::vector<std::string>& parts,
                      size_t count) {
  std::string at = real_target;
  for (size_t i = 0; i < count; ++i) {
    at += "/" + parts[i];
    struct stat st;
    if (::lstat(at.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode)) {
      if (::unlink(at.c_str()) != 0) return false;
    }
    if (::mkdir(at.c_str(), 0777) != 0 && errno != EEXIST) return false;
    char buf[PATH_MAX];
    if (!::realpath(at.c_str(), buf)) return false;
    std::string real = buf;
    if (real.compare(0, real_target.size(), real_target) != 0 ||
        (real.size() > real_target.size() && real[real_target.size()] != '/'))
      return false;
  }
  return true;
}

bool WriteEntryData(archive* a, archive_entry* e, const std::string& dest) {
  mode_t perm = archive_entry_perm(e);
  struct stat st;
  if (::lstat(dest.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || ::unlink(dest.c_str()) != 0))
    return false;
  int fd = ::open(dest.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  (perm & 0111) ? 0755 : 0644);
  if (fd < 0) return false;
  bool ok = true;
  const void* buf;
  size_t size;
  la_int64_t offset;
  int r;
  while ((r = archive_read_data_block(a, &buf, &size, &offset)) == ARCHIVE_OK) {
    if (::pwrite(fd, buf, size, offset) != static_cast<ssize_t>(size)) {
      ok = false;
      break;
    }
  }
  if (r != ARCHIVE_EOF) ok = false;
  // A sparse entry may end in a hole that no block wrote.
  if (ok && archive_entry_size_is_set(e) && ::lseek(fd, 0, SEEK_END) < archive_entry_size(e))
    ok = ::ftruncate(fd, archive_entry_size(e)) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok) ::unlink(dest.c_str());
  return ok;
}

}  // namespace

bool ExtractArchive(const std::string& archive_path, const std::string& target,
                    const std::vector<Text>& masks, TextView password) {
  Utf8Locale locale;
  auto plan = Plan(archive_path, password);
  if (!plan) return false;
  for (size_t i = 1; i <= target.size(); ++i)
    if (i == target.size() || target[i] == '/')
      if (::mkdir(target.substr(0, i).c_str(), 0777) != 0 && errno != EEXIST) return false;
  char buf[PATH_MAX];
  if (!::realpath(target.c_str(), buf)) return false;
  const std::string real_target = buf;

  archive* a = OpenForReading(archive_path, password);
  if (!a) return false;
  ReadCloser closer{a};
  archive_entry* e;
  size_t index = 0;
  int r;
  while ((r = archive_read_next_header(a, &e)) == ARCHIVE_OK || r == ARCHIVE_WARN) {
    if (index >= plan->size()) return false;  // the archive changed under us
    const Planned& p = (*plan)[index++];
    if (!Selected(p, masks)) continue;
    bool dir = p.type == AE_IFDIR;
    if (!MakeEntryFolders(real_target, p.parts, dir ? p.parts.size() : p.parts.size() - 1))
      return false;
    if (dir) continue;
    std::string dest = real_target + "/" + JoinParts(p.parts);
    if (!p.hardlink.empty()) {
      ::unlink(dest.c_str());
      if (::link((real_target + "/" + p.hardlink).c_str(), dest.c_str()) != 0) return false;
    } else if (p.type == AE_IFLNK) {
      struct stat st;
      if (::lstat(dest.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || ::unlink(dest.c_str()) != 0))
        return false;
      if (::symlink(p.link.c_str(), dest.c_str()) != 0) return false;
    } else if (p.type == AE_IFREG) {
      if (!WriteEntryData(a, e, dest)) return false;
    }
    // Devices, pipes and sockets are not unpacked.
  }
  return r == ARCHIVE_EOF;
}

namespace {

struct Item {
  std::string rel;     // name in the archive, "/" separators
  std::string native;  // file to read
  bool dir;
};

void Walk(const std::string& base, const std::string& rel, TextView pattern, bool folders,
          const std::string& skip1, const std::string& skip2, std::vector<Item>& out) {
  std::string dir = rel.empty() ? base : base + "/" + rel;
  DIR* d = ::opendir(dir.c_str());
  if (!d) return;
  std::vector<std::string> names;
  while (dirent* e = ::readdir(d)) {
    std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  ::closedir(d);
  std::sort(names.begin(), names.end());
  for (const auto& n : names) {
    std::string native = dir + "/" + n;
    std::string r = rel.empty() ? n : rel + "/" + n;
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0) continue;  // links are not followed out of the site
    if (S_ISDIR(st.st_mode)) {
      if (folders) out.push_back({r, native, true});
      Walk(base, r, pattern, folders, skip1, skip2, out);
    } else if (S_ISREG(st.st_mode) && native != skip1 && native != skip2 &&
               WildcardMatch(pattern, automation::FromUtf8(n))) {
      out.push_back({r, native, false});
    }
  }
}

bool AddItem(archive* a, const Item& item) {
  struct stat st;
  if (::stat(item.native.c_str(), &st) != 0) return false;
  archive_entry* e = archive_entry_new();
  archive_entry_set_pathname_utf8(e, (item.dir ? item.rel + "/" : item.rel).c_str());
  archive_entry_set_filetype(e, item.dir ? AE_IFDIR : AE_IFREG);
  archive_entry_set_perm(e, st.st_mode & 0777);
  archive_entry_set_mtime(e, st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  archive_entry_set_size(e, item.dir ? 0 : st.st_size);
  bool ok = archive_write_header(a, e) == ARCHIVE_OK;
  archive_entry_free(e);
  if (!ok || item.dir) return ok;
  int fd = ::open(item.native.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  static thread_local std::vector<char> buf(1 << 18);
  la_int64_t left = st.st_size;
  while (ok && left > 0) {
    ssize_t n = ::read(fd, buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    ok = archive_write_data(a, buf.data(), static_cast<size_t>(n)) == n;
    left -= n;
  }
  ::close(fd);
  return ok;
}

}  // namespace

bool WriteZip(const std::string& base, const std::vector<Text>& masks, const std::string& zip_path,
              TextView password) {
  Utf8Locale locale;
  const std::string temp = TempNameBeside(zip_path);
  std::vector<Item> items;
  for (Text m : masks) {
    std::replace(m.begin(), m.end(), u'\\', u'/');
    auto parts = SafeParts(automation::ToUtf8(m));
    if (!parts) continue;
    std::string prefix = JoinParts(std::vector<std::string>(parts->begin(), parts->end() - 1));
    Text last = automation::FromUtf8(parts->back());
    std::string native = base + "/" + JoinParts(*parts);
    struct stat st;
    if (!HasWildcard(last)) {
      if (::lstat(native.c_str(), &st) != 0) continue;
      if (S_ISDIR(st.st_mode)) {
        items.push_back({JoinParts(*parts), native, true});
        Walk(base, JoinParts(*parts), u"*", true, zip_path, temp, items);
      } else if (S_ISREG(st.st_mode) && native != zip_path) {
        items.push_back({JoinParts(*parts), native, false});
      }
      continue;
    }
    Walk(base, prefix, last, last == u"*.*" || last == u"*", zip_path, temp, items);
  }
  // One entry per name, in a stable order.
  std::set<std::string> seen;
  std::vector<Item> unique;
  for (auto& it : items)
    if (seen.insert(it.rel).second) unique.push_back(std::move(it));
  if (unique.empty()) return false;

  // The archive's folder is made when missing.
  size_t slash = zip_path.find_last_of('/');
  for (size_t i = 1; slash != std::string::npos && i <= slash; ++i)
    if (i == slash || zip_path[i] == '/')
      if (::mkdir(zip_path.substr(0, i).c_str(), 0777) != 0 && errno != EEXIST) return false;

  archive* a = archive_write_new();
  WriteCloser closer{a};
  archive_write_set_format_zip(a);
  archive_write_set_options(a, "zip:compression=deflate,zip:compression-level=9,zip:hdrcharset=UTF-8");
  if (!automation::Trim(password).empty()) {
    if (archive_write_set_options(a, "zip:encryption=zipcrypt") != ARCHIVE_OK) return false;
    archive_write_set_passphrase(a, automation::ToUtf8(password).c_str());
  }
  if (archive_write_open_filename(a, temp.c_str()) != ARCHIVE_OK) {
    ::unlink(temp.c_str());
    return false;
  }
  bool ok = true;
  for (const auto& it : unique)
    if (!(ok = AddItem(a, it))) break;
  ok = archive_write_close(a) == ARCHIVE_OK && ok;
  if (ok) ok = ::rename(temp.c_str(), zip_path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace platform
