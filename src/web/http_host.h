// The host objects over HTTP: Request, Response, Server and Session as a
// page and the component see them, made from one HTTP request and turned
// into one HTTP response. They know nothing of the HTTP library: the server
// fills a RawRequest and sends what Reply() gives.
//
// Text is decoded from and encoded to the page's code page: GBK (936) by
// default, UTF-8 (65001) when the page switches (`<%@ CodePage=65001 %>` or
// Response.CodePage = 65001).
//
// Not thread-safe: the objects of one request live on its worker thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/buffered_response.h"
#include "host/site_server.h"
#include "host/url_form.h"
#include "web/sessions.h"

namespace web {

using host::Text;
using host::TextView;
using host::Variant;
using StringPairs = std::vector<std::pair<std::string, std::string>>;

/// The parts of an HTTP request the host objects read, as bytes.
struct RawRequest {
  std::string method = "GET";
  std::string path;          // decoded request path ("/index.asp")
  std::string query;         // raw query text after "?"
  StringPairs headers;       // names as sent
  std::string body;
  std::string remote_addr;
  int local_port = 0;
  std::string protocol = "HTTP/1.1";
  bool https = false;  // asked for over TLS (told by a trusted proxy)
  std::string Header(std::string_view name) const;  // without case; empty when absent
};

/// The page's code page, shared by its request and response.
using host::CodePage;
using host::PercentDecode;
using host::PercentEncode;

/// The query, the form and the cookies are read as every request object
/// reads them (host/url_form.h), in the page's code page at the time of
/// reading, so that a page that switches to UTF-8 reads its own posts.
class HttpRequest : public host::Request {
 public:
  HttpRequest(RawRequest raw, std::shared_ptr<CodePage> cp, std::string site_path);
  // The form points into the request's own body.
  HttpRequest(const HttpRequest&) = delete;
  HttpRequest& operator=(const HttpRequest&) = delete;

  Text QueryString() const override;
  std::vector<Text> QueryKeys() const override;
  Text Query(TextView key) const override;
  Text Form(TextView key) const override;
  host::UrlFields FormFields() const override;
  Text ServerVariable(TextView name) const override;
  Text Item(TextView key) const override;
  int32_t TotalBytes() const override { return static_cast<int32_t>(raw_.body.size()); }
  host::Bytes BinaryRead(int32_t count) override;
  Text Cookie(TextView key) const;

  /// QueryString, Form, Cookies, ServerVariables, TotalBytes, BinaryRead and
  /// the default item.
  Variant Invoke(TextView name, automation::InvokeKind kind, std::span<Variant* const> args) override;
  const automation::MemberTable* Members() const override;

  const RawRequest& raw() const { return raw_; }

  /// The reply being made may be kept and sent to every visitor: from now on
  /// the default item reads the query and the form only, never a cookie.
  void MakePublic() { public_ = true; }
  /// True when the page read something the client alone chose (a cookie, a
  /// header other than the host): its reply is this client's and is not kept.
  bool ReadClientState() const { return client_state_read_; }

 private:
  RawRequest raw_;
  std::shared_ptr<CodePage> cp_;
  std::string site_path_;
  host::UrlPairs query_, form_, cookies_;
  size_t read_pos_ = 0;
  bool public_ = false;
  mutable bool client_state_read_ = false;
};

/// What goes back to the client.
struct Reply {
  int status = 200;
  StringPairs headers;  // Content-Type included
  std::string body;
  /// Made for every visitor alike (a kept public reply): it may be kept
  /// in front of the page host too.
  bool for_everyone = false;
};

class HttpResponse : public host::BufferedResponse {
 public:
  explicit HttpResponse(std::shared_ptr<CodePage> cp) : cp_(std::move(cp)) {}

  /// Write, BinaryWrite, End, Redirect, AddHeader, ContentType, CharSet,
  /// CodePage, Status, Buffer, Clear, Flush, Expires, ExpiresAbsolute,
  /// CacheControl, Cookies and IsClientConnected.
  Variant Invoke(TextView name, automation::InvokeKind kind, std::span<Variant* const> args) override;
  const automation::MemberTable* Members() const override;

  void SetStatus(int code, Text line);
  void SetCookie(TextView name, TextView value);
  /// Switches the page's code page (936 or 65001).
  void SetCodePage(int number);

  /// The HTTP response: status, headers (the page's, the cookies, the
  /// content type with the charset, the cache headers) and the body.
  Reply ToReply() const;

 private:
  std::shared_ptr<CodePage> cp_;
  int status_code_ = 0;  // 0: 200, or 302 after Redirect
  std::vector<std::pair<Text, Text>> cookies_;
};

/// Server: MapPath on the site (with "/data" on the meet's folder, and
/// relative paths from the page's folder), CreateObject through the
/// programmatic-name registry, URLEncode, HTMLEncode.
class HttpServerObject : public host::SiteServer {
 public:
  /// `site`: the site folder and the meet's folder, resolved once by the
  /// host (SiteFiles::server_site).
  HttpServerObject(Text site_root, Text data_dir, platform::Site site, std::string page_site_path,
                   std::shared_ptr<CodePage> cp);
  Text MapPath(TextView path) const override;
  Variant Invoke(TextView name, automation::InvokeKind kind, std::span<Variant* const> args) override;
  const automation::MemberTable* Members() const override;

 private:
  std::string page_folder_;  // "/comm/"
  std::shared_ptr<CodePage> cp_;
};

/// A Content-Disposition value with a file name that a current browser reads
/// intact: the name as the page gave it (in the page's code page) and, when
/// it is not plain ASCII, the RFC 6266 `filename*` form in UTF-8 beside it.
std::string DispositionHeader(TextView value, const CodePage& cp);

}  // namespace web
