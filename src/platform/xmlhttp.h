// The HTTP request object ("Microsoft.XMLHTTP") on the libcurl client:
// open, setRequestHeader, send, abort, getResponseHeader,
// getAllResponseHeaders, and the properties readyState, status,
// statusText, responseBody and responseText. Requests are synchronous
// (the asynchronous flag is accepted and ignored); a request that gets no
// response raises an error that names the address and the reason.
//
// Not thread-safe: an object belongs to one request thread.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "automation/object.h"
#include "platform/http_client.h"

namespace platform {

class XmlHttp : public automation::Object {
 public:
  automation::Text ClassName() const override { return u"IXMLHTTPRequest"; }
  automation::Variant Invoke(automation::TextView name, automation::InvokeKind kind,
                             std::span<automation::Variant* const> args) override;
  const automation::MemberTable* Members() const override;

  void Open(automation::TextView method, automation::TextView url);
  void SetRequestHeader(automation::TextView name, automation::TextView value);
  /// Sends the request; `body` is text (sent as UTF-8) or a byte array.
  void Send(const automation::Variant& body);
  int32_t ready_state() const { return ready_state_; }
  const HttpResponse& response() const { return response_; }
  /// The body decoded: UTF-8 when the content type or a byte-order mark says
  /// so, else code page 936.
  automation::Text ResponseText() const;

  /// Limits of the next send; tests shorten them.
  HttpLimits limits;

 private:
  std::string method_, url_;
  std::vector<std::pair<std::string, std::string>> headers_;
  HttpResponse response_;
  int32_t ready_state_ = 0;
};

/// Registers "Microsoft.XMLHTTP" (and "MSXML2.XMLHTTP").
void RegisterXmlHttpClass();

}  // namespace platform
