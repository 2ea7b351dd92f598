#include "platform/xmlhttp.h"

#include "automation/cp936.h"
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

Variant XmlHttp::Invoke(TextView name, automation::InvokeKind kind,
                        std::span<Variant* const> args) {
  using automation::EqualsNoCase;
  auto arg = [&](size_t i) -> const Variant& {
    static const Variant empty;
    return i < args.size() ? *args[i] : empty;
  };
  auto need_done = [&] {
    if (ready_state_ != 4) automation::ThrowInvalidCall();
  };
  if (kind == automation::InvokeKind::PropertyPut) automation::ThrowNoSuchMember(name);
  if (EqualsNoCase(name, u"open")) {
    if (args.size() < 2) throw automation::Error(automation::err::kArgNotOptional);
    Open(automation::CStr(arg(0)), automation::CStr(arg(1)));
    return Variant();
  }
  if (EqualsNoCase(name, u"setRequestHeader")) {
    SetRequestHeader(automation::CStr(arg(0)), automation::CStr(arg(1)));
    return Variant();
  }
  if (EqualsNoCase(name, u"send")) {
    Send(arg(0));
    return Variant();
  }
  if (EqualsNoCase(name, u"abort")) {
    ready_state_ = 0;
    return Variant();
  }
  if (EqualsNoCase(name, u"readyState")) return Variant(ready_state_);
  if (EqualsNoCase(name, u"status")) {
    need_done();
    return Variant(static_cast<int32_t>(response_.status));
  }
  if (EqualsNoCase(name, u"statusText")) {
    need_done();
    return Variant(automation::FromUtf8(response_.status_text));
  }
  if (EqualsNoCase(name, u"responseBody")) {
    need_done();
    return Variant(automation::Bytes(response_.body.begin(), response_.body.end()));
  }
  if (EqualsNoCase(name, u"responseText")) {
    need_done();
    return Variant(ResponseText());
  }
  if (EqualsNoCase(name, u"getResponseHeader")) {
    need_done();
    std::string want = Lower(automation::ToUtf8(automation::CStr(arg(0))));
    for (const auto& [k, v] : response_.headers)
      if (Lower(k) == want) return Variant(automation::FromUtf8(v));
    return Variant(Text());
  }
  if (EqualsNoCase(name, u"getAllResponseHeaders")) {
    need_done();
    std::string all;
    for (const auto& [k, v] : response_.headers) all += k + ": " + v + "\r\n";
    return Variant(automation::FromUtf8(all));
  }
  automation::ThrowNoSuchMember(name);
}

void RegisterXmlHttpClass() {
  automation::RegisterClass(u"Microsoft.XMLHTTP", [] { return std::make_shared<XmlHttp>(); });
  automation::RegisterClass(u"MSXML2.XMLHTTP", [] { return std::make_shared<XmlHttp>(); });
}

}  // namespace platform
