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
// The host part ends at the server name: "meet.example.cn.evil.org" names
// another host even though it begins with "meet.example.cn".
bool HostEndsAt(TextView referrer, size_t end) {
  if (end >= referrer.size()) return true;
  const char16_t c = referrer[end];
  return c == u'/' || c == u':' || c == u'?' || c == u'#';
}
}  // namespace

bool ReferrerIsThisServer(TextView referrer, TextView server_name) {
  const int32_t n = automation::Len(server_name);
  if (automation::Mid(referrer, 8, n) == server_name && HostEndsAt(referrer, 7 + n)) return true;
  // A page served over TLS refers with "https://", one character longer.
  return referrer.starts_with(u"https://") && automation::Mid(referrer, 9, n) == server_name &&
         HostEndsAt(referrer, 8 + n);
}

void CheckPost(Variant& request, Variant& response, int16_t check, bool close_parent,
               TextView dialog_id) {
  if (check != 1) return;
  const auto& req = ObjectCast<host::Request>(request);
  if (!ReferrerIsThisServer(req.ServerVariable(u"http_referer"), req.ServerVariable(u"server_name")))
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
