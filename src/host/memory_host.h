// The in-memory host: request, response, server and session objects filled
// by tests and by the command line, standing in for a real web server. The
// response captures everything the component writes.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/buffered_response.h"
#include "host/host.h"
#include "host/site_server.h"
#include "host/url_form.h"

namespace host {

using Pairs = std::vector<std::pair<Text, Text>>;

/// The request of `arenix run` and of the tests. The query, the posted form
/// and the cookies are read as the HTTP host reads them (host/url_form.h),
/// in code page 936: a urlencoded body given with its Content-Type server
/// variable is the form, and fields added one by one join it.
class MemoryRequest : public Request {
 public:
  /// The raw query text ("a=1&b=%D6%D0"); characters beyond ASCII stand for
  /// their GBK bytes, as a browser on a GBK page sends them.
  void SetQueryString(TextView raw);
  /// A form field or a cookie as text, sent as a browser would send it.
  void AddForm(TextView name, TextView value) { form_.Add(name, value, cp_); }
  void AddCookie(TextView name, TextView value) { cookies_.Add(name, value, cp_); }
  void SetServerVariable(TextView name, TextView value);
  void SetBody(Bytes body) { body_ = std::move(body); read_pos_ = 0; }

  const Pairs& server_variables() const { return server_; }

  Text QueryString() const override { return cp_.Decode(raw_query_); }
  std::vector<Text> QueryKeys() const override { return query_.Names(cp_); }
  Text Query(TextView key) const override { return query_.Get(key, cp_); }
  Text Form(TextView key) const override { return FormPairs().Get(key, cp_); }
  UrlFields FormFields() const override { return FormPairs().Index(cp_); }
  Text ServerVariable(TextView name) const override;
  Text Item(TextView key) const override;
  int32_t TotalBytes() const override { return static_cast<int32_t>(body_.size()); }
  Bytes BinaryRead(int32_t count) override;

 private:
  // The posted body when it is a urlencoded form, then the added fields.
  UrlPairs FormPairs() const;

  CodePage cp_;
  std::string raw_query_;
  UrlPairs query_, form_, cookies_;
  Pairs server_;
  Bytes body_;
  size_t read_pos_ = 0;
};

/// The response of `arenix run` and of the tests: a buffered response
/// that nothing sends; its text, bytes and settings are read back.
class MemoryResponse : public BufferedResponse {};

/// The Server object of `arenix run` and of the tests: the site mapping as
/// it is.
class MemoryServer : public SiteServer {
 public:
  using SiteServer::SiteServer;
};

class MemorySession : public Session {
 public:
  Variant Get(TextView key) const override;
  void Set(TextView key, Variant value) override;
  const std::vector<std::pair<Text, Variant>>& items() const { return items_; }

 private:
  std::vector<std::pair<Text, Variant>> items_;
};

}  // namespace host
