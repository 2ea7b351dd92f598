// The in-memory host: request, response, server and session objects filled
// by tests and by the command line, standing in for a real web server. The
// response captures everything the component writes.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "host/host.h"

namespace host {

using Pairs = std::vector<std::pair<Text, Text>>;

/// Decodes one query or form component: "+" is a space, %XX are bytes of
/// code page 936.
Text DecodeUrlComponent(TextView raw);

/// Splits "a=1&b=2" into decoded pairs, in order.
Pairs ParseQuery(TextView raw);

class MemoryRequest : public Request {
 public:
  void SetQueryString(TextView raw);
  void AddForm(TextView name, TextView value) { form_.emplace_back(name, value); }
  void AddCookie(TextView name, TextView value) { cookies_.emplace_back(name, value); }
  void SetServerVariable(TextView name, TextView value);
  void SetBody(Bytes body) { body_ = std::move(body); read_pos_ = 0; }

  const Pairs& form() const { return form_; }
  const Pairs& cookies() const { return cookies_; }
  const Pairs& server_variables() const { return server_; }

  Text QueryString() const override { return raw_query_; }
  std::vector<Text> QueryKeys() const override;
  Text Query(TextView key) const override;
  Text Form(TextView key) const override;
  Text ServerVariable(TextView name) const override;
  Text Item(TextView key) const override;
  int32_t TotalBytes() const override { return static_cast<int32_t>(body_.size()); }
  Bytes BinaryRead(int32_t count) override;

 private:
  Text raw_query_;
  Pairs query_, form_, cookies_, server_;
  Bytes body_;
  size_t read_pos_ = 0;
};

class MemoryResponse : public Response {
 public:
  void Write(TextView text) override;
  void BinaryWrite(const Bytes& bytes) override;
  void End() override { ended_ = true; }
  void Redirect(TextView url) override;
  void AddHeader(TextView name, TextView value) override;
  void SetContentType(TextView type) override;
  void SetCharSet(TextView charset) override;
  void SetBuffer(bool on) override;
  void Clear() override;
  void Flush() override {}
  void SetExpires(int32_t minutes) override;
  void SetExpiresAbsolute(automation::Date when) override;
  void SetCacheControl(TextView value) override;

  /// Everything written as text, before encoding (writes after End dropped).
  const Text& text() const { return text_; }
  /// The body bytes: text writes encoded in the response's code page, and
  /// binary writes, in order.
  const Bytes& body() const { return body_; }
  bool ended() const { return ended_; }
  const Text& status() const { return status_; }
  const Pairs& headers() const { return headers_; }
  const Text& content_type() const { return content_type_; }
  const Text& charset() const { return charset_; }
  const Text& redirect() const { return redirect_; }
  bool buffer() const { return buffer_; }
  const std::optional<int32_t>& expires() const { return expires_; }
  const std::optional<automation::Date>& expires_absolute() const { return expires_absolute_; }
  const Text& cache_control() const { return cache_control_; }

 private:
  bool utf8() const;

  Text text_;
  Bytes body_;
  bool ended_ = false;
  bool buffer_ = true;
  Text status_ = u"200 OK";
  Pairs headers_;
  Text content_type_ = u"text/html";
  Text charset_;
  Text redirect_;
  std::optional<int32_t> expires_;
  std::optional<automation::Date> expires_absolute_;
  Text cache_control_;
};

class MemoryServer : public Server {
 public:
  /// `site_root`: the absolute folder that "/" maps to. It becomes a folder
  /// of this server's site (platform/site.h).
  explicit MemoryServer(Text site_root);
  /// Maps a site folder ("/data") to another absolute folder, which becomes
  /// part of the site too.
  void Mount(TextView site_path, TextView folder);

  /// "/x" is under the site root, "x" under the current page's folder
  /// (the root here); an absolute path already under the root, or under a
  /// mounted folder, is returned as it is; nothing maps outside the site.
  Text MapPath(TextView path) const override;
  const Text& root() const { return root_; }
  const platform::Site& site() const override { return site_; }

 private:
  Text root_;
  platform::Site site_;
  Pairs mounts_;  // site path -> folder
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
