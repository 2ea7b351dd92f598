// Request guards: what a page calls at its top before doing any work. A
// guard that refuses writes the error page (with the page's close-parent
// flag and dialog id) and ends the response, then returns normally; a guard
// that accepts writes nothing. The host is reached through host.h only.
//
// The variants are the page's by-reference arguments: the request and
// response objects, and for CheckAllow/CheckIsNoRecord its record set and
// connection, which the error page closes.
#pragma once

#include <cstdint>

#include "automation/variant.h"
#include "host/host.h"

namespace arenix::check {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// The injection keywords, in the order they are tried.
inline constexpr TextView kInjectKeywords =
    u"'|and|exec|insert |select|delete |update |count|*|%|chr|mid|master|truncate|char|declare";

inline constexpr char16_t kInjectMessage[] = u"请不要在参数中包含非法字符尝试注入！";
inline constexpr char16_t kPostMessage[] = u"您提交的数据不合法，请不要从外部提交数据。";
inline constexpr char16_t kSessionMessage[] = u"请不要从非法路径进入！";
inline constexpr char16_t kAllowMessage[] = u"本功能尚未开启，请联系管理员！";
inline constexpr char16_t kNoRecordMessage[] = u"没有该记录,可能原因是ID出错或从非法路径进入。";

/// True when a query value, lower-cased, holds an injection keyword.
bool HasInjectKeyword(TextView value);
/// True when some query value of the request holds a keyword (keys in
/// request order; key names, form fields and cookies are not looked at).
bool QueryLooksInjected(const host::Request& request);

/// Refuses query strings that look like SQL injection (`check` 1 = on).
void CheckInject(Variant& request, Variant& response, bool close_parent, TextView dialog_id,
                 int16_t check);

/// True when the referrer names this server: the scheme the page was asked
/// with (`https`), then `host` ("name" or "name:port", as the Host header
/// has it; a default port may be written or left out), then the end or one
/// of "/?#".
bool ReferrerIsThisServer(TextView referrer, TextView host, bool https);
/// Refuses posts whose referrer is not this server (`check` 1 = on).
void CheckPost(Variant& request, Variant& response, int16_t check, bool close_parent,
               TextView dialog_id);

/// Refuses a visit whose session value is empty.
void CheckSession(Variant& response, TextView session_value, bool close_parent,
                  TextView dialog_id);

/// Refuses when the function is switched off (`allow_state` other than 1),
/// handing the record set and connection to the error page.
void CheckAllow(Variant& response, Variant& rs, Variant& conn, int16_t allow_state,
                bool close_parent, TextView dialog_id);

/// Refuses the first required field whose trimmed request value equals
/// the refused value. `list`: items "key|caption|refused value" joined by
/// "$"; an item of fewer than three fields raises 9.
void CheckInput(Variant& request, Variant& response, TextView list, bool close_parent,
                TextView dialog_id);

/// Refuses when the record set is at EOF or BOF (424 when `rs` holds no
/// record set, 3704 when it is closed); an empty message means the default.
void CheckIsNoRecord(Variant& response, Variant& rs, Variant& conn, TextView message,
                     bool close_parent, TextView dialog_id);

/// True when the query returns no rows. The record set it opens (cursor 1,
/// lock 1) is closed again; the database's errors reach the caller.
bool CheckIsEof(Variant& conn, TextView sql);

/// Edit mode: the request value "ID" is not empty and, when `numeric`, a
/// number by the numeric rule without trimming.
bool CheckEdit(const host::Request& request, bool numeric);
/// Read mode: the request value "action" is empty.
bool CheckRead(const host::Request& request);
/// 1 new record (no id), 2 edit ("edit"/"modify"), 3 view.
int16_t CheckState(TextView moden, const Variant& id);

}  // namespace arenix::check
