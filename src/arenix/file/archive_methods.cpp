#include "arenix/file/archive_methods.h"

#include <cstdio>
#include <cstdlib>

#include "arenix/file/file_ops.h"
#include "arenix/file/path_text.h"
#include "arenix/file/zip_class.h"
#include "automation/runtime.h"
#include "host/host.h"
#include "platform/archive.h"
#include "platform/http_client.h"

namespace arenix::file {

using automation::LCase;
using automation::Replace;

namespace {

Text Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? automation::FromUtf8(v) : Text();
}

host::Server& ServerOf(Variant& server) { return automation::ObjectCast<host::Server>(server); }

struct RarJob {
  bool unpack;
  Text archive;  // the archive to read or write
  Text folder;   // where to unpack, or the folder the packed names are relative to
  Text source;   // what to pack, relative to `folder`
  Text command;
};

RarJob BuildRarJob(Variant& server, TextView path, TextView file, TextView act) {
  host::Server& srv = ServerOf(server);
  Text comspec = Env("ComSpec");
  Text shell_name = FileGetFullName(comspec);
  Text shell_folder = FileGetPath(comspec);
  if (FileExist(srv.site(), srv.MapPath(u"/" + shell_name))) shell_folder = srv.MapPath(u"/");
  Text rar_folder =
      FileExist(srv.site(), srv.MapPath(u"/rar.exe")) ? srv.MapPath(u"/") : Env("SystemDrive") + u"\\";
  Text mapped = srv.MapPath(path);
  RarJob job;
  job.folder = mapped;
  job.unpack = LCase(act) == u"unzip";
  Text head = shell_folder + u"\\" + shell_name + u" /c  " + rar_folder;
  if (job.unpack) {
    job.archive = mapped + u"\\" + Text(file);
    job.command = head + u"\\rar.exe x  -r -o+ -p- \"" + job.archive + u"\" \"" + mapped + u"\"";
  } else {
    job.archive = mapped + u"\\" + FileGetName(file) + u".rar";
    job.source = Text(file);
    job.command = head + u"\\rar.exe a -ep1 -r -t -o+ \"" + job.archive + u"\" \"" + mapped +
                  u"\\" + Text(file) + u"\"";
  }
  return job;
}

}  // namespace

Text RarCommandLine(Variant& server, TextView path, TextView file, TextView act) {
  return BuildRarJob(server, path, file, act).command;
}

bool UnZipWithRar(Variant& server, TextView path, TextView file, TextView act) {
  RarJob job = BuildRarJob(server, path, file, act);
  std::fprintf(stderr, "arenix: CommUnZipWithRar: %s\n", automation::ToUtf8(job.command).c_str());
  // No RAR archiver runs here: the same work through libarchive, with the
  // same archive names and folders.
  const platform::Site& site = ServerOf(server).site();
  auto archive = site.Resolve(job.archive);
  auto folder = site.Resolve(job.folder);
  bool ok = false;
  if (archive && folder) {
    ok = job.unpack ? platform::ExtractArchive(*archive, *folder, {}, u"")
                    : platform::WriteZip(*folder, {job.source}, *archive, u"");
  }
  return ok;
}

bool UnZipWithXceedZip(Variant& server, TextView path, TextView file, TextView act) {
  Text action = LCase(act);
  Text mapped = ServerOf(server).MapPath(path);
  Orvel_Class_Zip zip(ServerOf(server).site());
  bool ok = false;
  Text archive = Replace(mapped + u"\\" + FileGetName(file) + u".RAR", u"\\\\", u"\\");
  if (action == u"zipfile") {
    ok = zip.CompressFile(mapped, file, archive, u"");
  } else if (action == u"zipfolder") {
    ok = zip.CompressFile(Replace(mapped + u"\\" + Text(file), u"\\\\", u"\\"), u"*.*", archive, u"");
  } else if (action == u"unzip") {
    ok = zip.UnCompressFile(Replace(mapped + u"\\" + Text(file), u"\\\\", u"\\"), mapped, 0, u"", u"");
  }
  return ok;
}

bool OpenUrl(TextView url) {
  try {
    platform::HttpLimits limits;
    limits.total_timeout_ms = 30000;
    return platform::HttpOpenUrl(automation::ToUtf8(url), limits);
  } catch (...) {
    return false;
  }
}

}  // namespace arenix::file
