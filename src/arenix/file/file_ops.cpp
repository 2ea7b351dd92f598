#include "arenix/file/file_ops.h"

#include <limits>

#include "automation/cp936.h"
#include "automation/runtime.h"
#include "host/host.h"
#include "platform/shell_file_op.h"
#include "platform/site_files.h"

namespace arenix::file {

using automation::LCase;
using automation::Trim;
using platform::EntryFilter;
using platform::LookUp;
using platform::ShellAction;

namespace {

// A refused or malformed name counts as existing (see the header).
bool Exists(TextView name, EntryFilter filter) {
  return platform::FindEntries(name, filter) != LookUp::NotFound;
}

bool Shell(TextView from, TextView to, ShellAction action) {
  try {
    return platform::ShellFileOperation(from, to, action);
  } catch (...) {
    return false;
  }
}

int16_t RenameWith(EntryFilter filter, TextView old_name, TextView new_name) {
  if (!Exists(old_name, filter)) return kSourceMissing;
  if (Exists(new_name, filter)) return kDestinationExists;
  return Shell(old_name, new_name, ShellAction::kRename) ? kDone : kOperationFailed;
}

int16_t CopyMoveWith(EntryFilter filter, TextView source, TextView destination,
                     TextView copy_move, TextView overwrite) {
  if (!Exists(source, filter)) return kSourceMissing;
  if (LCase(overwrite) != u"overwrite" && Exists(destination, filter)) return kDestinationExists;
  ShellAction action = LCase(copy_move) == u"copy" ? ShellAction::kCopy : ShellAction::kMove;
  return Shell(source, destination, action) ? kDone : kOperationFailed;
}

// The folder part of a file name, up to its last separator of either kind.
Text FolderOf(TextView name) {
  size_t at = name.find_last_of(u"\\/");
  return at == TextView::npos ? Text() : Text(name.substr(0, at + 1));
}

}  // namespace

bool FileExist(TextView name) { return Exists(name, EntryFilter::kOrdinaryFile); }
bool FolderExist(TextView name) { return Exists(name, EntryFilter::kAnyEntry); }

bool FolderCreate(TextView folder) {
  Text f = Trim(folder);
  if (f.empty() || f.back() != u'\\') f += u'\\';
  try {
    return platform::MakeFolders(f);
  } catch (...) {
    return false;
  }
}

bool FolderDelete(TextView folder) {
  if (!FolderExist(folder)) return true;
  return Shell(folder, u"", ShellAction::kDelete);
}

bool FileDelete(TextView name) {
  if (!FileExist(name)) return true;
  return Shell(name, u"", ShellAction::kDelete);
}

int16_t FolderRename(TextView old_name, TextView new_name) {
  return RenameWith(EntryFilter::kAnyEntry, old_name, new_name);
}

int16_t FileRename(TextView old_name, TextView new_name) {
  return RenameWith(EntryFilter::kOrdinaryFile, old_name, new_name);
}

int16_t FolderCopyMove(TextView source, TextView destination, TextView copy_move, TextView overwrite) {
  return CopyMoveWith(EntryFilter::kAnyEntry, source, destination, copy_move, overwrite);
}

int16_t FileCopyMove(TextView source, TextView destination, TextView copy_move, TextView overwrite) {
  return CopyMoveWith(EntryFilter::kOrdinaryFile, source, destination, copy_move, overwrite);
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
      if (name.find(u':') == Text::npos)
        name = automation::ObjectCast<host::Server>(server).MapPath(name);
      // A deletion that fails counts as much as one that raises.
      if (!FileDelete(name)) ok = false;
    } catch (...) {
      ok = false;
    }
  }
  return ok;
}

bool FileCreateEmptyTxt(TextView name, TextView overwrite) {
  if (LCase(Trim(overwrite)) == u"overwrite" || !FileExist(name))
    return SaveToTextFile(name, u"", 2);
  return false;
}

Text SearchPathFile(TextView folder, int16_t type) {
  auto entries = platform::ListFolder(folder);
  if (!entries) return Text();
  Text out;
  for (const auto& e : *entries) {
    if (e.is_folder != (type == 1)) continue;
    if (!out.empty()) out += u'|';
    out += e.name;
  }
  return out;
}

bool SaveToTextFile(TextView name, TextView text, uint8_t mode) {
  Text file = Trim(name);
  Text folder = FolderOf(file);
  if (!folder.empty() && !FolderExist(folder)) FolderCreate(folder);
  if (file.empty()) return false;
  try {
    return platform::WriteBytes(file, automation::ToGbk(text), mode != 2);
  } catch (...) {
    return false;
  }
}

Text ReadFromTextFile(TextView name) {
  if (!FileExist(name)) return Text();
  auto bytes = platform::ReadBytes(name);
  if (!bytes || bytes->empty()) return Text();
  return automation::FromGbk(*bytes);
}

int32_t FileGetSize(TextView name) {
  if (!FileExist(name)) return 0;
  auto n = platform::FileLength(name);
  if (!n) return 0;
  if (*n > std::numeric_limits<int32_t>::max()) automation::ThrowOverflow();
  return static_cast<int32_t>(*n);
}

}  // namespace arenix::file
