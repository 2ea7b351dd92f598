#include "arenix/file/backup.h"

#include "arenix/file/file_ops.h"
#include "arenix/text/dates.h"
#include "automation/runtime.h"
#include "host/host.h"

namespace arenix::file {

namespace {
Text Mapped(Variant& server, const Text& path) {
  if (path.find(u':') != Text::npos) return path;
  return automation::ObjectCast<host::Server>(server).MapPath(path);
}
}  // namespace

Text FileBackup(Variant& server, TextView table_list, uint8_t is_auto, TextView backup_name,
                TextView backup_path) {
  using automation::Replace;
  if (is_auto == 0) return Text();
  Text path = backup_path.empty() ? Text(u"/AutoBackup") : Text(backup_path);
  Text folder = Replace(automation::Trim(path) + u"\\" + Text(backup_name) + text::FileGetTimeName(),
                        u"\\\\", u"\\");
  folder = Mapped(server, folder);
  const platform::Site& site = automation::ObjectCast<host::Server>(server).site();
  if (!FolderCreate(site, folder)) return Text();
  Text list = table_list.empty() ? Text(u"oa.asp") : Text(table_list);
  for (const Text& name : automation::Split(list, u"|")) {
    Text source = Mapped(server, Replace(u"/data\\" + name, u"\\\\", u"\\"));
    if (FileCopyMove(site, source, folder + u"\\" + name, u"copy", u"overwrite") > 0) return Text();
  }
  return folder;
}

}  // namespace arenix::file
