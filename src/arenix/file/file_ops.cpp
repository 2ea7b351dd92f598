#include "arenix/file/file_ops.h"

#include <limits>

#include "automation/cp936.h"
#include "automation/runtime.h"
#include "host/host.h"
#include "platform/shell_file_op.h"
#include "platform/sandboxed_files.h"

namespace arenix::file {

using automation::LCase;
using automation::Trim;
using platform::EntryFilter;
using platform::LookUp;
using platform::ShellAction;

namespace {

// A refused or malformed name counts as existing (see the header).
bool Exists(const Site& site, TextView name, EntryFilter filter) {
  return platform::FindEntries(site, name, filter) != LookUp::NotFound;
}

bool Shell(const Site& site, TextView from, TextView to, ShellAction action) {
  try {
    return platform::ShellFileOperation(site, from, to, action);
  } catch (...) {
    return false;
  }
}

int16_t RenameWith(const Site& site, EntryFilter filter, TextView old_name, TextView new_name) {
  if (!Exists(site, old_name, filter)) return kSourceMissing;
  if (Exists(site, new_name, filter)) return kDestinationExists;
  return Shell(site, old_name, new_name, ShellAction::kRename) ? kDone : kOperationFailed;
}

int16_t CopyMoveWith(const Site& site, EntryFilter filter, TextView source, TextView destination,
                     TextView copy_move, TextView overwrite) {
  if (!Exists(site, source, filter)) return kSourceMissing;
  if (LCase(overwrite) != u"overwrite" && Exists(site, destination, filter)) return kDestinationExists;
  ShellAction action = LCase(copy_move) == u"copy" ? ShellAction::kCopy : ShellAction::kMove;
  return Shell(site, source, destination, action) ? kDone : kOperationFailed;
}

// The folder part of a file name, up to its last separator of either kind.
Text FolderOf(TextView name) {
  size_t at = name.find_last_of(u"\\/");
  return at == TextView::npos ? Text() : Text(name.substr(0, at + 1));
}

}  // namespace

bool FileExist(const Site& site, TextView name) { return Exists(site, name, EntryFilter::kOrdinaryFile); }
bool FolderExist(const Site& site, TextView name) { return Exists(site, name, EntryFilter::kAnyEntry); }

bool FolderCreate(const Site& site, TextView folder) {
  Text f = Trim(folder);
  if (f.empty() || f.back() != u'\\') f += u'\\';
  try {
    return platform::MakeFolders(site, f);
  } catch (...) {
    return false;
  }
}

bool FolderDelete(const Site& site, TextView folder) {
  if (!FolderExist(site, folder)) return true;
  return Shell(site, folder, u"", ShellAction::kDelete);
}

bool FileDelete(const Site& site, TextView name) {
  if (!FileExist(site, name)) return true;
  return Shell(site, name, u"", ShellAction::kDelete);
}

int16_t FolderRename(const Site& site, TextView old_name, TextView new_name) {
  return RenameWith(site, EntryFilter::kAnyEntry, old_name, new_name);
}

int16_t FileRename(const Site& site, TextView old_name, TextView new_name) {
  return RenameWith(site, EntryFilter::kOrdinaryFile, old_name, new_name);
}

int16_t FolderCopyMove(const Site& site, TextView source, TextView destination, TextView copy_move,
                       TextView overwrite) {
  return CopyMoveWith(site, EntryFilter::kAnyEntry, source, destination, copy_move, overwrite);
}

int16_t FileCopyMove(const Site& site, TextView source, TextView destination, TextView copy_move,
                     TextView overwrite) {
  return CopyMoveWith(site, EntryFilter::kOrdinaryFile, source, destination, copy_move, overwrite);
}

bool FileDeleteImage(Variant& server, TextView html) {
  static constexpr TextView kStart = u"<img src='";
  bool ok = true;
  size_t at = html.find(kStart);
  while (at != TextView::npos) {
    size_t from = at + kStart.size();
    size_t next = html.find(kStart, from);
    TextView piece = html.substr(from, next == TextView::npos ? TextView::npos : next - from);
    at = next;
    try {
      size_t end = piece.find(u"'>");
      if (end == TextView::npos) {
        ok = false;  // not the recognised form: nothing to delete, reported
        continue;
      }
      Text name(piece.substr(0, end));
      const host::Server& host_server = automation::ObjectCast<host::Server>(server);
      if (name.find(u':') == Text::npos) name = host_server.MapPath(name);
      // A deletion that fails counts as much as one that raises.
      if (!FileDelete(host_server.site(), name)) ok = false;
    } catch (...) {
      ok = false;
    }
  }
  return ok;
}

bool FileCreateEmptyTxt(const Site& site, TextView name, TextView overwrite) {
  if (LCase(Trim(overwrite)) == u"overwrite" || !FileExist(site, name))
    return SaveToTextFile(site, name, u"", 2);
  return false;
}

Text SearchPathFile(const Site& site, TextView folder, int16_t type) {
  auto entries = platform::ListFolder(site, folder);
  if (!entries) return Text();
  Text out;
  for (const auto& e : *entries) {
    if (e.is_folder != (type == 1)) continue;
    if (!out.empty()) out += u'|';
    out += e.name;
  }
  return out;
}

bool SaveToTextFile(const Site& site, TextView name, TextView text, uint8_t mode) {
  Text file = Trim(name);
  Text folder = FolderOf(file);
  if (!folder.empty() && !FolderExist(site, folder)) FolderCreate(site, folder);
  if (file.empty()) return false;
  try {
    return platform::WriteBytes(site, file, automation::ToGbk(text), mode != 2);
  } catch (...) {
    return false;
  }
}

Text ReadFromTextFile(const Site& site, TextView name) {
  if (!FileExist(site, name)) return Text();
  auto bytes = platform::ReadBytes(site, name);
  if (!bytes || bytes->empty()) return Text();
  return automation::FromGbk(*bytes);
}

int32_t FileGetSize(const Site& site, TextView name) {
  if (!FileExist(site, name)) return 0;
  auto n = platform::FileLength(site, name);
  if (!n) return 0;
  if (*n > std::numeric_limits<int32_t>::max()) automation::ThrowOverflow();
  return static_cast<int32_t>(*n);
}

}  // namespace arenix::file
