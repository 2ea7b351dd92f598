#include "web/http_host.h"

#include <ctime>

#include "arenix/page/encode.h"
#include "automation/coerce.h"
#include "automation/cp936.h"
#include "automation/member_table.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "automation/text.h"
#include "platform/paths.h"

namespace web {

using automation::CStr;
using automation::EqualsNoCase;
using automation::InvokeKind;
using automation::kGet;
using automation::kGetPut;
using automation::kMethod;
using automation::kPut;

namespace {

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

// A header value may not carry a line break into the response.
std::string OneLine(std::string s) {
  for (auto& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

}  // namespace

std::string RawRequest::Header(std::string_view name) const {
  for (const auto& [k, v] : headers)
    if (SameNoCase(k, name)) return v;
  return {};
}

// --- Request ---------------------------------------------------------------

HttpRequest::HttpRequest(RawRequest raw, std::shared_ptr<CodePage> cp, std::string site_path)
    : raw_(std::move(raw)), cp_(std::move(cp)), site_path_(std::move(site_path)) {
  query_ = host::UrlPairs::ParseQuery(raw_.query);
  // The form's pairs are views into the body this request holds: the body is
  // not copied again however many fields it has.
  if (host::IsUrlencodedForm(raw_.Header("Content-Type"))) form_ = host::UrlPairs::Borrow(raw_.body);
  cookies_ = host::UrlPairs::ParseCookies(raw_.Header("Cookie"));
}

Text HttpRequest::QueryString() const { return cp_->Decode(raw_.query); }

std::vector<Text> HttpRequest::QueryKeys() const { return query_.Names(*cp_); }
Text HttpRequest::Query(TextView key) const { return query_.Get(key, *cp_); }
Text HttpRequest::Form(TextView key) const { return form_.Get(key, *cp_); }
host::UrlFields HttpRequest::FormFields() const { return form_.Index(*cp_); }
Text HttpRequest::Cookie(TextView key) const {
  client_state_read_ = true;
  return cookies_.Get(key, *cp_);
}

Text HttpRequest::ServerVariable(TextView name) const {
  std::string n = automation::ToUtf8(name);
  for (auto& c : n)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  auto text = [&](const std::string& bytes) { return cp_->Decode(bytes); };
  std::string host = raw_.Header("Host");
  std::string server_name = host;
  if (!server_name.empty() && server_name[0] == '[') {
    server_name = server_name.substr(0, server_name.find(']') + 1);
  } else if (size_t colon = server_name.find(':'); colon != std::string::npos) {
    server_name.resize(colon);
  }
  if (n == "SERVER_NAME") return text(server_name.empty() ? "localhost" : server_name);
  if (n == "SERVER_PORT") return text(std::to_string(raw_.local_port));
  if (n == "SERVER_SOFTWARE") return u"Arenix";
  if (n == "SERVER_PROTOCOL") return text(raw_.protocol);
  if (n == "REQUEST_METHOD") return text(raw_.method);
  if (n == "REMOTE_ADDR" || n == "REMOTE_HOST") return text(raw_.remote_addr);
  if (n == "QUERY_STRING") return text(raw_.query);
  if (n == "SCRIPT_NAME" || n == "URL" || n == "PATH_INFO") return automation::FromUtf8(site_path_);
  if (n == "CONTENT_TYPE") return text(raw_.Header("Content-Type"));
  if (n == "CONTENT_LENGTH") return text(std::to_string(raw_.body.size()));
  if (n == "HTTPS") return raw_.https ? u"on" : u"off";
  if (n.starts_with("HTTP_")) {
    std::string header = n.substr(5);
    if (header != "HOST") client_state_read_ = true;
    for (auto& c : header)
      if (c == '_') c = '-';
    return text(raw_.Header(header));
  }
  return Text();
}

Text HttpRequest::Item(TextView key) const {
  if (auto v = query_.Find(key, *cp_)) return *v;
  if (auto v = form_.Find(key, *cp_)) return *v;
  // A kept public reply never reads a cookie: it would be sent to everyone.
  if (!public_)
    if (auto v = cookies_.Find(key, *cp_)) return *v;
  return ServerVariable(key);
}

host::Bytes HttpRequest::BinaryRead(int32_t count) {
  if (count < 0) automation::ThrowInvalidCall();
  size_t n = std::min(static_cast<size_t>(count), raw_.body.size() - read_pos_);
  host::Bytes out(raw_.body.begin() + read_pos_, raw_.body.begin() + read_pos_ + n);
  read_pos_ += n;
  return out;
}

namespace {
enum RequestMember { kQueryString, kForm, kCookies, kServerVariables, kTotalBytes, kBinaryRead, kItem };
const automation::MemberTable kRequestMembers{
    {u"QueryString", kQueryString, kGet, 0, 1},
    {u"Form", kForm, kGet, 0, 1},
    {u"Cookies", kCookies, kGet, 0, 1},
    {u"ServerVariables", kServerVariables, kGet, 1, 1},
    {u"TotalBytes", kTotalBytes, kGet, 0, 0},
    {u"BinaryRead", kBinaryRead, kMethod, 1, 1},
    {u"", kItem, kGet, 1, 1},
    {u"Item", kItem, kGet, 1, 1},
};
}  // namespace

const automation::MemberTable* HttpRequest::Members() const { return &kRequestMembers; }

Variant HttpRequest::Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) {
  const int id = kRequestMembers.Resolve(name, kind, args.size());
  auto key = [&] { return CStr(*args[0]); };
  switch (id) {
    case kQueryString:
      return args.empty() ? Variant(QueryString()) : Variant(Query(key()));
    case kForm:
      if (!args.empty()) return Variant(Form(key()));
      return form_.empty() ? Variant(Text()) : Variant(cp_->Decode(raw_.body));
    case kCookies:
      client_state_read_ = true;
      return Variant(args.empty() ? cp_->Decode(raw_.Header("Cookie")) : Cookie(key()));
    case kServerVariables:
      return Variant(ServerVariable(key()));
    case kTotalBytes:
      return Variant(TotalBytes());
    case kBinaryRead: {
      Variant& count = *args[0];
      host::Bytes bytes = BinaryRead(automation::CLng(count));
      count = Variant(static_cast<int32_t>(bytes.size()));  // by reference, as the host did
      return Variant(std::move(bytes));
    }
    case kItem:
      return Variant(Item(key()));
  }
  return Object::Invoke(name, kind, args);
}

// --- Response --------------------------------------------------------------

void HttpResponse::SetStatus(int code, Text line) {
  if (ended()) return;
  status_code_ = code;
  (void)line;
}

void HttpResponse::SetCookie(TextView name, TextView value) {
  if (ended()) return;
  for (auto& [k, v] : cookies_)
    if (EqualsNoCase(k, name)) {
      v = Text(value);
      return;
    }
  cookies_.emplace_back(Text(name), Text(value));
}

void HttpResponse::SetCodePage(int number) {
  if (number != 936 && number != 65001) throw automation::Error(automation::err::kInvalidCall);
  cp_->number = number;
  SetCharSet(number == 65001 ? u"utf-8" : u"gbk");
}

namespace {
enum ResponseMember {
  kWrite, kBinaryWrite, kEnd, kRedirect, kAddHeader, kContentType, kCharSet, kCodePage, kStatus, kBuffer,
  kClear, kFlush, kExpires, kExpiresAbsolute, kCacheControl, kSetCookie, kIsClientConnected
};
const automation::MemberTable kResponseMembers{
    {u"Write", kWrite, kMethod, 1, 1},
    {u"BinaryWrite", kBinaryWrite, kMethod, 1, 1},
    {u"End", kEnd, kMethod, 0, 0},
    {u"Redirect", kRedirect, kMethod, 1, 1},
    {u"AddHeader", kAddHeader, kMethod, 2, 2},
    {u"AppendHeader", kAddHeader, kMethod, 2, 2},
    {u"ContentType", kContentType, kGetPut, 0, 0},
    {u"CharSet", kCharSet, kGetPut, 0, 0},
    {u"CodePage", kCodePage, kGetPut, 0, 0},
    {u"Status", kStatus, kGetPut, 0, 0},
    {u"Buffer", kBuffer, kGetPut, 0, 0},
    {u"Clear", kClear, kMethod, 0, 0},
    {u"Flush", kFlush, kMethod, 0, 0},
    {u"Expires", kExpires, kPut, 0, 0},
    {u"ExpiresAbsolute", kExpiresAbsolute, kPut, 0, 0},
    {u"CacheControl", kCacheControl, kPut, 0, 0},
    {u"Cookies", kSetCookie, kPut, 1, 1},
    {u"IsClientConnected", kIsClientConnected, kGet, 0, 0},
};
}  // namespace

const automation::MemberTable* HttpResponse::Members() const { return &kResponseMembers; }

Variant HttpResponse::Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) {
  const int id = kResponseMembers.Resolve(name, kind, args.size());
  auto text = [&](size_t i) { return CStr(*args[i]); };
  if (kind == InvokeKind::PropertyPut) {
    const Variant& value = *args.back();
    switch (id) {
      case kContentType: SetContentType(CStr(value)); break;
      case kCharSet: SetCharSet(CStr(value)); break;
      case kCodePage: SetCodePage(automation::CLng(value)); break;
      case kStatus: {
        Text line = CStr(value);
        int code = automation::CInt(Variant(line.substr(0, 3)));
        if (code < 100 || code > 599) throw automation::Error(automation::err::kInvalidCall);
        SetStatus(code, line);
        break;
      }
      case kBuffer: SetBuffer(automation::CBool(value)); break;
      case kExpires: SetExpires(automation::CLng(value)); break;
      case kExpiresAbsolute: SetExpiresAbsolute(automation::CDate(value)); break;
      case kCacheControl: SetCacheControl(CStr(value)); break;
      case kSetCookie: SetCookie(text(0), CStr(value)); break;
    }
    return Variant();
  }
  switch (id) {
    case kWrite:
      return Write(text(0)), Variant();
    case kBinaryWrite: {
      const Variant& v = *args[0];
      if (v.IsBytes()) {
        BinaryWrite(v.As<host::Bytes>());
      } else {
        std::string b = cp_->Encode(CStr(v));
        BinaryWrite(host::Bytes(b.begin(), b.end()));
      }
      return Variant();
    }
    case kEnd: return End(), Variant();
    case kRedirect: return Redirect(text(0)), Variant();
    case kAddHeader: return AddHeader(text(0), text(1)), Variant();
    case kContentType: return Variant(content_type());
    case kCharSet: return Variant(charset());
    case kCodePage: return Variant(int32_t{cp_->number});
    case kStatus: return Variant(status());
    case kBuffer: return Variant(buffer());
    case kClear: return Clear(), Variant();
    case kFlush: return Flush(), Variant();
    case kIsClientConnected: return Variant(true);
  }
  return Object::Invoke(name, kind, args);
}

std::string DispositionHeader(TextView value, const CodePage& cp) {
  std::string out = OneLine(cp.Encode(value));
  // Find "filename=" (not "filename*=") without case.
  Text lower;
  for (char16_t c : value) lower += (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
  size_t at = lower.find(u"filename=");
  if (at == Text::npos) return out;
  size_t start = at + 9;
  size_t end = value.find(u';', start);
  Text name(value.substr(start, end == Text::npos ? Text::npos : end - start));
  while (!name.empty() && name.back() == u' ') name.pop_back();
  if (name.size() >= 2 && name.front() == u'"' && name.back() == u'"') name = name.substr(1, name.size() - 2);
  bool ascii = true;
  for (char16_t c : name) ascii = ascii && c < 0x80;
  if (ascii || lower.find(u"filename*=") != Text::npos) return out;
  return out + "; filename*=UTF-8''" + PercentEncode(automation::ToUtf8(name));
}

namespace {
std::string HttpDate(std::time_t t) {
  char buf[64];
  std::tm tm;
  gmtime_r(&t, &tm);
  std::strftime(buf, sizeof buf, "%a, %d %b %Y %H:%M:%S GMT", &tm);
  return buf;
}
}  // namespace

Reply HttpResponse::ToReply() const {
  Reply r;
  r.status = status_code_ ? status_code_ : (redirect().empty() ? 200 : 302);
  if (!redirect().empty()) {
    r.headers.emplace_back("Location", OneLine(cp_->Encode(redirect())));
    std::string html = "<html><body>Object moved to <a href=\"" +
                       cp_->Encode(arenix::page::HtmlEscape(redirect())) + "\">here</a>.</body></html>";
    r.body = html;
  } else {
    // Copied as bytes: from the body's unsigned bytes element by element
    // it was a loop over the whole page.
    const host::Bytes& b = body();
    r.body.assign(reinterpret_cast<const char*>(b.data()), b.size());
  }
  std::string type = OneLine(automation::ToUtf8(content_type()));
  std::string cs = automation::ToUtf8(charset());
  if (cs.empty()) cs = cp_->utf8() ? "utf-8" : "gbk";
  if (type.starts_with("text/") || type == "application/vnd.ms-excel" || !charset().empty())
    type += "; charset=" + OneLine(cs);
  r.headers.emplace_back("Content-Type", type);
  for (const auto& [k, v] : headers()) {
    std::string name = OneLine(automation::ToUtf8(k));
    if (SameNoCase(name, "Content-Length") || SameNoCase(name, "Content-Type")) continue;  // the server sets them
    if (SameNoCase(name, "Content-Disposition"))
      r.headers.emplace_back(name, DispositionHeader(v, *cp_));
    else
      r.headers.emplace_back(name, OneLine(cp_->Encode(v)));
  }
  for (const auto& [k, v] : cookies_)
    r.headers.emplace_back("Set-Cookie", PercentEncode(cp_->Encode(k)) + "=" + PercentEncode(cp_->Encode(v)) + "; path=/");
  if (!cache_control().empty()) r.headers.emplace_back("Cache-Control", OneLine(automation::ToUtf8(cache_control())));
  if (expires_absolute()) {
    double days = expires_absolute()->serial - 25569.0;  // serial day 25569 is 1970-01-01
    r.headers.emplace_back("Expires", HttpDate(static_cast<std::time_t>(days * 86400.0)));
  } else if (expires()) {
    r.headers.emplace_back("Expires", HttpDate(std::time(nullptr) + int64_t{*expires()} * 60));
  }
  return r;
}

// --- Server ----------------------------------------------------------------

HttpServerObject::HttpServerObject(Text site_root, Text data_dir, platform::Site site,
                                   std::string page_site_path, std::shared_ptr<CodePage> cp)
    : SiteServer(std::move(site_root), std::move(site)), cp_(std::move(cp)) {
  if (!data_dir.empty()) MountResolved(u"/data", data_dir);
  size_t slash = page_site_path.find_last_of('/');
  page_folder_ = slash == std::string::npos ? "/" : page_site_path.substr(0, slash + 1);
}

Text HttpServerObject::MapPath(TextView path) const {
  if (!path.empty() && path[0] != u'/' && path[0] != u'\\')
    return SiteServer::MapPath(automation::FromUtf8(page_folder_) + Text(path));
  return SiteServer::MapPath(path);
}

namespace {
enum ServerMember { kMapPath, kCreateObject, kUrlEncode, kHtmlEncode, kScriptTimeout };
// The time a page may run is the server's; a page that sets it changes nothing.
const automation::MemberTable kServerMembers{
    {u"MapPath", kMapPath, kMethod, 1, 1},
    {u"CreateObject", kCreateObject, kMethod, 1, 1},
    {u"URLEncode", kUrlEncode, kMethod, 1, 1},
    {u"HTMLEncode", kHtmlEncode, kMethod, 1, 1},
    {u"ScriptTimeout", kScriptTimeout, kGetPut, 0, 0},
};
}  // namespace

const automation::MemberTable* HttpServerObject::Members() const { return &kServerMembers; }

Variant HttpServerObject::Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) {
  const int id = kServerMembers.Resolve(name, kind, args.size());
  if (kind == InvokeKind::PropertyPut) return Variant();
  switch (id) {
    case kMapPath:
      return Variant(MapPath(CStr(*args[0])));
    case kCreateObject: {
      automation::ObjectPtr object = automation::CreateObject(CStr(*args[0]));
      if (auto* user = dynamic_cast<platform::UsesSite*>(object.get())) user->UseSite(site());
      return Variant(std::move(object));
    }
    case kUrlEncode: {
      Text s = CStr(*args[0]);
      if (!cp_->utf8()) return Variant(arenix::page::UrlQueryValue(s));
      return Variant(automation::FromUtf8(PercentEncode(automation::ToUtf8(s))));
    }
    case kHtmlEncode:
      return Variant(arenix::page::HtmlEscape(CStr(*args[0])));
    case kScriptTimeout:
      return Variant(int32_t{5});
  }
  return Object::Invoke(name, kind, args);
}

}  // namespace web
