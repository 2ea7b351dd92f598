#include "arenix/check/guards.h"

#include <vector>

#include "arenix/check/refuse.h"
#include "arenix/check/validators.h"
#include "arenix/page/data_source.h"
#include "arenix/page/error_page.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "data/data.h"

namespace arenix::check {

using automation::ObjectCast;

namespace {

const std::vector<Text>& InjectKeywords() {
  static const std::vector<Text> keywords = automation::Split(kInjectKeywords, u"|");
  return keywords;
}

}  // namespace

bool HasInjectKeyword(TextView value) {
  if (value.empty()) return false;
  const Text lower = automation::LCase(value);
  for (const Text& keyword : InjectKeywords())
    if (lower.find(keyword) != Text::npos) return true;
  return false;
}

bool QueryLooksInjected(const host::Request& request) {
  if (request.QueryString().empty()) return false;
  for (const Text& key : request.QueryKeys())
    if (HasInjectKeyword(request.Query(key))) return true;
  return false;
}

void CheckInject(Variant& request, Variant& response, bool close_parent, TextView dialog_id,
                 int16_t check) {
  if (check != 1) return;
  if (QueryLooksInjected(ObjectCast<host::Request>(request)))
    Refuse(response, kInjectMessage, close_parent, dialog_id);
}

namespace {
// "host:80" of http and "host:443" of https name the same place as "host".
Text WithoutDefaultPort(Text authority, bool https) {
  const TextView port = https ? u":443" : u":80";
  if (authority.size() > port.size() && TextView(authority).substr(authority.size() - port.size()) == port)
    authority.resize(authority.size() - port.size());
  return authority;
}
}  // namespace

bool ReferrerIsThisServer(TextView referrer, TextView host, bool https) {
  // Scheme, host and port of the referrer, exactly as the browser wrote
  // them: "meet.example.cn.evil.org", "meet.example.cn@evil.org" and
  // "meet.example.cn:8081" all name other places.
  const TextView scheme = https ? u"https://" : u"http://";
  if (host.empty() || !referrer.starts_with(scheme)) return false;
  const TextView rest = referrer.substr(scheme.size());
  const TextView authority = rest.substr(0, rest.find_first_of(u"/?#"));
  return WithoutDefaultPort(Text(authority), https) == WithoutDefaultPort(Text(host), https);
}

void CheckPost(Variant& request, Variant& response, int16_t check, bool close_parent,
               TextView dialog_id) {
  if (check != 1) return;
  const auto& req = ObjectCast<host::Request>(request);
  // The host and port the browser asked for; a host without the header
  // (a test, `arenix run`) is its name and port.
  Text host = req.ServerVariable(u"http_host");
  if (host.empty()) {
    host = req.ServerVariable(u"server_name");
    const Text port = req.ServerVariable(u"server_port");
    if (!port.empty()) host += u":" + port;
  }
  const bool https = automation::EqualsNoCase(req.ServerVariable(u"https"), u"on");
  if (!ReferrerIsThisServer(req.ServerVariable(u"http_referer"), host, https))
    Refuse(response, kPostMessage, close_parent, dialog_id);
}

void CheckSession(Variant& response, TextView session_value, bool close_parent,
                  TextView dialog_id) {
  if (session_value.empty()) Refuse(response, kSessionMessage, close_parent, dialog_id);
}

void CheckAllow(Variant& response, Variant& rs, Variant& conn, int16_t allow_state,
                bool close_parent, TextView dialog_id) {
  if (allow_state != 1)
    page::WriteErrorPage(response, rs, conn, kAllowMessage, close_parent, dialog_id);
}

void CheckInput(Variant& request, Variant& response, TextView list, bool close_parent,
                TextView dialog_id) {
  if (list.empty()) return;
  const auto& req = ObjectCast<host::Request>(request);
  for (const Text& item : automation::Split(list, u"$")) {
    const std::vector<Text> fields = automation::Split(item, u"|");
    if (fields.size() < 3) throw automation::Error(automation::err::kSubscript);
    if (automation::Trim(req.Item(fields[0])) == fields[2]) {
      Refuse(response, u"请" + fields[1] + u"！", close_parent, dialog_id);
      return;
    }
  }
}

void CheckIsNoRecord(Variant& response, Variant& rs, Variant& conn, TextView message,
                     bool close_parent, TextView dialog_id) {
  auto& set = ObjectCast<data::Recordset>(rs);
  if (!set.IsOpen()) throw automation::Error(automation::err::kObjectClosed);
  if (set.Eof() || set.Bof()) {
    page::WriteErrorPage(response, rs, conn, message.empty() ? TextView(kNoRecordMessage) : message,
                          close_parent, dialog_id);
  }
}

bool CheckIsEof(Variant& conn, TextView sql) {
  Variant rs(automation::CreateObject(u"Adodb.RecordSet"));
  auto& set = ObjectCast<data::Recordset>(rs);
  set.Open(sql, conn, data::kOpenKeyset, data::kLockReadOnly);
  const bool no_rows = set.Eof() || set.Bof();
  page::CloseAndRelease(rs);
  return no_rows;
}

bool CheckEdit(const host::Request& request, bool numeric) {
  const Text id = request.Item(u"ID");
  if (id.empty()) return false;
  return !numeric || IsNumericText(id);
}

bool CheckRead(const host::Request& request) { return request.Item(u"action").empty(); }

int16_t CheckState(TextView moden, const Variant& id) {
  if (id.IsNull() || id.IsEmpty() || automation::Trim(automation::CStr(id)).empty()) return 1;
  const Text mode = automation::LCase(automation::Trim(moden));
  if (mode == u"edit" || mode == u"modify") return 2;
  return 3;
}

}  // namespace arenix::check
