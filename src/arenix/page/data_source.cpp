#include "arenix/page/data_source.h"

#include "arenix/page/error_page.h"
#include "automation/coerce.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "data/data.h"
#include "host/host.h"
#include "platform/files.h"

namespace arenix::page {

namespace {

constexpr std::u16string_view kDataFolder = u"/data";
constexpr std::u16string_view kSettingsTable = u"/xtsz.dbf";
constexpr std::u16string_view kSettingsMemo = u"/xtsz.fpt";
constexpr std::u16string_view kSettingsMissing = u"系统配置文件[xtsz.dbf与xtsz.fpt]不存在,请联系管理员!";
constexpr std::u16string_view kConnectFailed = u"数据库连接错误,请联系管理员!";
constexpr std::u16string_view kConnectionPrefix = u"provider=vfpoledb;data source=";
// The older single-file database: a "|" list of names, the first one used.
constexpr std::u16string_view kSingleFileNames = u"oa.asp";

// The presence test: a variable counts as present unless it is Empty, Null
// or blank text; when its text form cannot even be read, it counts as present.
bool IsPresent(const Variant& v) {
  if (v.IsEmpty() || v.IsNull()) return false;
  try {
    return !automation::Trim(automation::CStr(v)).empty();
  } catch (...) {
    return true;
  }
}

}  // namespace

void CloseAndRelease(Variant& v) {
  if (!IsPresent(v)) return;
  try {
    if (auto* rs = automation::ObjectTryCast<data::Recordset>(v))
      rs->Close();
    else if (auto* conn = automation::ObjectTryCast<data::Connection>(v))
      conn->Close();
    else if (v.IsObject() && v.object())
      v.object()->Invoke(u"Close", automation::InvokeKind::Method, {});
    else
      throw automation::Error(automation::err::kObjectRequired);
  } catch (...) {
    // Closing failures are ignored (an already closed object, say).
  }
  v = Variant::Nothing();
}

void SetConn(Variant& server, Variant& conn, Variant& response) {
  auto& site = automation::ObjectCast<host::Server>(server);
  Text folder = site.MapPath(kDataFolder);
  if (!platform::FolderExists(folder)) platform::CreateFolders(folder);  // failure shows below
  Variant no_record_set{Text()};
  if (!platform::FileExists(site.MapPath(Text(kDataFolder) + Text(kSettingsTable))) ||
      !platform::FileExists(site.MapPath(Text(kDataFolder) + Text(kSettingsMemo)))) {
    WriteErrorPage(response, no_record_set, conn, kSettingsMissing, false, u"");
    return;
  }
  conn = Variant(automation::CreateObject(u"Adodb.Connection"));
  try {
    automation::ObjectCast<data::Connection>(conn).Open(Text(kConnectionPrefix) + folder);
  } catch (const automation::Error&) {
    WriteErrorPage(response, no_record_set, conn, kConnectFailed, false, u"");
  }
}

Text DataFullName(Variant& server) {
  Text first = automation::Split(kSingleFileNames, u"|").front();
  return automation::ObjectCast<host::Server>(server).MapPath(kDataFolder) + u"\\" + first;
}

Text SingleFileConnString(Variant& server) {
  return u"DBQ=" + DataFullName(server) + u";DefaultDir=;DRIVER={Microsoft Access Driver (*.Mdb)};";
}

void CloseData(Variant& rs, Variant& conn) {
  CloseAndRelease(rs);
  CloseAndRelease(conn);
}

}  // namespace arenix::page
