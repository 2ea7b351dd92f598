#include "arenix/upload/transfer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstring>

#include "arenix/check/validators.h"
#include "arenix/file/file_ops.h"
#include "arenix/file/path_text.h"
#include "arenix/page/error_page.h"
#include "arenix/page/window_scripts.h"
#include "arenix/text/dates.h"
#include "arenix/upload/upload_file.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "host/host.h"
#include "platform/regexp.h"
#include "platform/sandboxed_files.h"
#include "platform/xmlhttp.h"

namespace arenix::upload {

using automation::CStr;
using automation::LCase;
using automation::ObjectCast;
using automation::Replace;
using automation::Trim;

namespace {

constexpr size_t kDownloadPiece = 256 * 1024;

constexpr char16_t kRemotePicture[] =
    u"((http|https|ftp|rtsp|mms):(\\/\\/|\\\\\\\\){1}((\\w)+[.]){1,}(net|com|cn|org|cc|tv|[0-9]{1,3})"
    u"(\\S*\\/)((\\S)+[.]{1}(gif|jpg|png|bmp)))";

Text Mapped(Variant& server, TextView path) {
  if (path.find(u':') != TextView::npos) return Text(path);
  return ObjectCast<host::Server>(server).MapPath(path);
}

// A header value never carries a line break or another control character.
Text HeaderSafe(TextView value) {
  Text out;
  for (char16_t c : value)
    if (c >= 0x20 && c != 0x7F) out += c;
  return out;
}

// A file name as the extended parameter of RFC 5987 (UTF-8, percent
// escapes), which browsers prefer to the plain one when both are sent.
Text ExtendedValue(TextView name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : automation::ToUtf8(name)) {
    if (std::isalnum(c) || std::strchr("!#$&+-.^_`|~", c)) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return automation::FromAscii(out);
}

struct ViewTarget {
  const char16_t* exts;  // between bars
  const char16_t* prefix;  // null: the file's path itself
};

constexpr ViewTarget kViewTargets[] = {
    {u"|doc|txt|ppt|xls|pdf|chm|mht|", nullptr},
    {u"|mp3|wav|", u"../comm/orvel_FileView.asp?FileType=Wav&Url="},
    {u"|mp4|flv|", u"../comm/orvel_FileView.asp?FileType=Mp4&Url="},
    {u"|rm|avi|rmvb|ram|mpg|mpeg|", u"../comm/orvel_FileView.asp?FileType=Movie&RunSystem=rtsp&Url="},
    {u"|wmv|asf|wma|", u"../comm/orvel_FileView.asp?FileType=Movie&RunSystem=mms&Url="},
    {u"|swf|", u"../comm/orvel_FileView.asp?FileType=Flash&PlayTypePlayType=FullScreen&Url="},
    {u"|gif|jpg|jpeg|bmp|png|wmf|tif|tiff|pct|pict|pxr|raw|sct|tga|vda|icb|vst|rle|dib|pcx|",
     u"../comm/orvel_FileView.asp?FileType=Image&Url="},
};

}  // namespace

Text FileUpload(Variant& server, Variant& request, TextView exts, double max_mb, double single_mb,
                TextView path, int16_t rename_option, bool overwrite, TextView info_list) {
  auto parser = std::make_shared<Orvel_Class_UploadFile>();
  parser->SetExe(exts);
  parser->SetMaxSize(Variant(max_mb * 1048576));
  parser->SetSingleSize(Variant(single_mb * 1048576));
  parser->SetCharSet(u"GB2312");
  parser->GetData(request);
  Text files;
  if (parser->error_id() > 0) {
    files = u"Error|" + Replace(parser->Description(), u"|", u",") + u"$";
  } else {
    const host::Server& host_server = ObjectCast<host::Server>(server);
    Text folder = host_server.MapPath(path);
    if (!file::FolderExist(host_server.site(), folder)) file::FolderCreate(host_server.site(), folder);
    for (const auto& [key, value] : parser->files()->entries()) {
      auto& item = ObjectCast<Orvel_Class_UploadFileEx>(value);
      if (item.SavetoFile(server, path, rename_option, overwrite))
        files += u"Success|" + CStr(item.LocalName) + u"|" + CStr(item.FileName) + u"|" +
                 CStr(item.Size) + u"$";
      else
        files += u"Error|" + CStr(item.Exception) + u"$";
    }
  }
  Text fields;
  Text list = Trim(info_list);
  if (!list.empty()) {
    for (const Text& name : automation::Split(list, u"|")) fields += u"|" + parser->Form(name);
    fields.erase(0, 1);
  }
  return files + u"#" + fields;
}

Text DownloadContentType(TextView ext) {
  static const std::pair<const char16_t*, const char16_t*> kTypes[] = {
      {u"asf", u"video/x-ms-asf"}, {u"avi", u"video/avi"}, {u"rm", u"application/vnd.rn-realmedia"},
      {u"doc", u"application/vnd.ms-word"}, {u"zip", u"application/zip"},
      {u"xls", u"application/vnd.ms-excel"}, {u"gif", u"image/gif"}, {u"jpg", u"image/jpeg"},
      {u"jpeg", u"image/jpeg"}, {u"wav", u"audio/wav"}, {u"mp3", u"audio/mpeg3"},
      {u"mp4", u"video/mp4"}, {u"mpg", u"video/mpeg"}, {u"mpeg", u"video/mpeg"},
      {u"rtf", u"application/rtf"}, {u"htm", u"text/html"}, {u"html", u"text/html"},
      {u"txt", u"text/plain"},
  };
  for (const auto& [e, type] : kTypes)
    if (ext == e) return type;
  return u"application/octet-stream";
}

void FileDownload(Variant& response_var, Variant& server, TextView file_name, bool close_parent) {
  Text name = Mapped(server, file_name);
  host::Response& response = ObjectCast<host::Response>(response_var);
  response.SetBuffer(true);
  response.Clear();
  Variant none(Text{});
  auto refuse = [&](TextView message) {
    Variant rs(Text{}), conn(Text{});
    page::WriteErrorPage(response_var, rs, conn, message, close_parent, u"");
  };
  int fd = -1;
  int64_t size = 0;
  Text stored;
  try {
    const platform::Site& site = ObjectCast<host::Server>(server).site();
    if (!file::FileExist(site, name)) return refuse(u"文件不存在！");
    auto native = site.Resolve(name);
    if (!native) return refuse(u"文件不存在！");
    stored = automation::FromUtf8(native->substr(native->find_last_of('/') + 1));
    size_t dot = stored.rfind(u'.');
    Text ext = LCase(dot == Text::npos ? stored : stored.substr(dot + 1));
    if (IsServerScriptExtension(ext))
      return refuse(u"不允许该类文件下载！");
    fd = ::open(native->c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) throw automation::Error(75);
    size = st.st_size;
    response.AddHeader(u"Content-Disposition",
                       HeaderSafe(u"attachment;  FileName=" + stored + u"; filename*=UTF-8''" +
                                  ExtendedValue(stored)));
    response.AddHeader(u"Content-Length", automation::FromAscii(std::to_string(size)));
    response.SetCharSet(u"GB2312");
    response.SetContentType(DownloadContentType(ext));
  } catch (...) {
    if (fd >= 0) ::close(fd);
    return refuse(u"未知错误！");
  }
  // The file goes out piece by piece; each piece is flushed to the client.
  automation::Bytes piece(kDownloadPiece);
  for (int64_t left = size; left > 0;) {
    ssize_t n = ::read(fd, piece.data(), std::min<size_t>(piece.size(), static_cast<size_t>(left)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the file shrank: the client sees a short body
    piece.resize(static_cast<size_t>(n));
    response.BinaryWrite(piece);
    response.Flush();
    piece.resize(kDownloadPiece);
    left -= n;
  }
  ::close(fd);
  response.End();
}

void FileView(Variant& server, Variant& response_var, Variant& request, TextView file_path,
              TextView act, TextView title_arg) {
  host::Response& response = ObjectCast<host::Response>(response_var);
  const host::Server& host_server = ObjectCast<host::Server>(server);
  if (!file::FolderExist(host_server.site(), host_server.MapPath(file_path))) {
    response.Write(u"<Script language='javascript'>");
    response.Write(u"alert('文件不存在!');");
    response.Write(page::CloseWindowNoMessagebox());
    response.Write(u"</Script>");
    response.End();
    return;
  }
  Text ext = file::FileGetExt(file_path, 0);
  Text title = title_arg.empty() ? file::FileGetFullName(file_path) : Text(title_arg);
  if (act == u"DownLoad") return FileDownload(response_var, server, file_path, false);
  if (act != u"View") return response.Redirect(file_path);
  Text bar = u"|" + ext + u"|";
  for (const auto& t : kViewTargets) {
    if (TextView(t.exts).find(bar) == TextView::npos) continue;
    if (!t.prefix) return response.Redirect(file_path);
    return response.Redirect(Text(t.prefix) + Text(file_path) + u"&Title=" + title);
  }
  response.Redirect(file_path);
}

Text GetRemotefileUrl(Variant& server, TextView text_arg, TextView save_path) {
  if (!check::IsObjInstalled(u"Microsoft.XMLHTTP")) return Text(text_arg);
  Text text(text_arg);
  Text folder(save_path);
  if (folder.empty() || folder.back() != u'/') folder += u'/';
  platform::RegExp re(kRemotePicture);
  re.SetIgnoreCase(true);
  re.SetGlobal(true);
  for (const auto& match : re.Execute(text_arg)) {
    const Text& url = match.value;
    Text ext = url.substr(url.rfind(u'.') + 1);
    automation::Randomize();
    int r = static_cast<int>(automation::Rnd() * 900) + 100;
    Text local = folder + text::GetDateTime() + automation::FromAscii(std::to_string(r)) + u"." + ext;
    SaveRemoteFile(server, local, url);
    text = Replace(text, url, local);
  }
  return text;
}

void SaveRemoteFile(Variant& server, TextView local_name, TextView url) {
  Text local = Mapped(server, local_name);
  automation::ObjectPtr object = automation::CreateObject(u"Microsoft.XMLHTTP");
  auto& http = ObjectCast<platform::XmlHttp>(Variant(object));
  http.Open(u"GET", url);
  http.Send(Variant());
  const std::string& body = http.response().body;
  // The folder is made when missing, so that a page's picture folder need
  // not exist before the first copy.
  Text folder = local.substr(0, local.find_last_of(u"\\/") + 1);
  const platform::Site& site = ObjectCast<host::Server>(server).site();
  if (!folder.empty() && !file::FolderExist(site, folder)) file::FolderCreate(site, folder);
  if (!platform::WriteBytes(site, local, body, false))
    throw automation::Error(automation::err::kPathFileAccess, u"无法写入文件 " + local);
}

}  // namespace arenix::upload
