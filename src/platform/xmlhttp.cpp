#include "platform/xmlhttp.h"

#include "automation/cp936.h"
#include "automation/member_table.h"
#include "automation/registry.h"
#include "automation/runtime.h"

namespace platform {

using automation::Text;
using automation::TextView;
using automation::Variant;

namespace {
// The number the original object raised when no response could be had.
constexpr int kResourceNotFound = static_cast<int>(0x800C0005);

std::string Lower(std::string s) {
  for (auto& c : s)
    if (c >= 'A' && c <= 'Z') c += 32;
  return s;
}
}  // namespace

void XmlHttp::Open(TextView method, TextView url) {
  method_ = automation::ToUtf8(automation::UCase(method));
  url_ = automation::ToUtf8(url);
  headers_.clear();
  response_ = HttpResponse();
  ready_state_ = 1;
}

void XmlHttp::SetRequestHeader(TextView name, TextView value) {
  if (ready_state_ != 1) automation::ThrowInvalidCall();
  headers_.emplace_back(automation::ToUtf8(name), automation::ToUtf8(value));
}

void XmlHttp::Send(const Variant& body) {
  if (ready_state_ != 1) automation::ThrowInvalidCall();
  std::string bytes;
  if (body.IsBytes())
    bytes.assign(body.bytes().begin(), body.bytes().end());
  else if (!body.IsEmpty() && !body.IsNull())
    bytes = automation::ToUtf8(automation::CStr(body));
  response_ = HttpRequest(method_, url_, headers_, bytes, limits);
  if (!response_.received) {
    ready_state_ = 1;
    throw automation::Error(kResourceNotFound,
                            automation::FromUtf8(url_ + ": " + response_.error));
  }
  ready_state_ = 4;
}

Text XmlHttp::ResponseText() const {
  const std::string& b = response_.body;
  std::string type;
  for (const auto& [k, v] : response_.headers)
    if (Lower(k) == "content-type") type = Lower(v);
  if (b.rfind("\xEF\xBB\xBF", 0) == 0) return automation::FromUtf8(b.substr(3));
  if (type.find("utf-8") != std::string::npos || type.find("utf8") != std::string::npos)
    return automation::FromUtf8(b);
  return automation::FromGbk(b);
}

namespace {
enum Member {
  kOpen, kSetRequestHeader, kSend, kAbort, kReadyState, kStatus, kStatusText, kResponseBody,
  kResponseText, kGetResponseHeader, kGetAllResponseHeaders
};
using automation::kGet;
using automation::kMethod;
const automation::MemberTable kMembers{
    {u"open", kOpen, kMethod, 2, 5},
    {u"setRequestHeader", kSetRequestHeader, kMethod, 2, 2},
    {u"send", kSend, kMethod, 0, 1},
    {u"abort", kAbort, kMethod, 0, 0},
    {u"readyState", kReadyState, kGet, 0, 0},
    {u"status", kStatus, kGet, 0, 0},
    {u"statusText", kStatusText, kGet, 0, 0},
    {u"responseBody", kResponseBody, kGet, 0, 0},
    {u"responseText", kResponseText, kGet, 0, 0},
    {u"getResponseHeader", kGetResponseHeader, kMethod, 1, 1},
    {u"getAllResponseHeaders", kGetAllResponseHeaders, kMethod, 0, 0},
};
}  // namespace

const automation::MemberTable* XmlHttp::Members() const { return &kMembers; }

Variant XmlHttp::Invoke(TextView name, automation::InvokeKind kind,
                        std::span<Variant* const> args) {
  const int id = kMembers.Resolve(name, kind, args.size());
  auto arg = [&](size_t i) -> const Variant& {
    static const Variant empty;
    return i < args.size() ? *args[i] : empty;
  };
  switch (id) {
    case kOpen:
      Open(automation::CStr(arg(0)), automation::CStr(arg(1)));
      return Variant();
    case kSetRequestHeader:
      SetRequestHeader(automation::CStr(arg(0)), automation::CStr(arg(1)));
      return Variant();
    case kSend:
      Send(arg(0));
      return Variant();
    case kAbort:
      ready_state_ = 0;
      return Variant();
    case kReadyState:
      return Variant(ready_state_);
  }
  // The rest read the response, which is there once the exchange is done.
  if (ready_state_ != 4) automation::ThrowInvalidCall();
  switch (id) {
    case kStatus:
      return Variant(static_cast<int32_t>(response_.status));
    case kStatusText:
      return Variant(automation::FromUtf8(response_.status_text));
    case kResponseBody:
      return Variant(automation::Bytes(response_.body.begin(), response_.body.end()));
    case kResponseText:
      return Variant(ResponseText());
    case kGetResponseHeader: {
      std::string want = Lower(automation::ToUtf8(automation::CStr(arg(0))));
      for (const auto& [k, v] : response_.headers)
        if (Lower(k) == want) return Variant(automation::FromUtf8(v));
      return Variant(Text());
    }
    case kGetAllResponseHeaders: {
      std::string all;
      for (const auto& [k, v] : response_.headers) all += k + ": " + v + "\r\n";
      return Variant(automation::FromUtf8(all));
    }
  }
  automation::ThrowNoSuchMember(name);
}

void RegisterXmlHttpClass() {
  automation::RegisterClass(u"Microsoft.XMLHTTP", [] { return std::make_shared<XmlHttp>(); });
  automation::RegisterClass(u"MSXML2.XMLHTTP", [] { return std::make_shared<XmlHttp>(); });
}

}  // namespace platform
