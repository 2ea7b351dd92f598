// The response a page writes into: text and bytes, headers, status, cache
// settings, kept until the host sends them. Text is encoded in the
// response's code page (UTF-8 when the charset says so, else GBK) once per
// run of writes: when bytes are written after it, when the charset
// changes, or when the body is read, so a page of many small writes is
// encoded in one go. The HTTP host sends it as a reply; the in-memory host keeps it
// for the command line and the tests to read.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "host/host.h"

namespace host {

using Pairs = std::vector<std::pair<Text, Text>>;

class BufferedResponse : public Response {
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
  const Bytes& body() const {
    EncodePending();
    return body_;
  }
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
  /// Encodes the text written since the last call onto the body.
  void EncodePending() const;

  Text text_;
  mutable Bytes body_;
  mutable size_t encoded_ = 0;  // how much of text_ the body holds
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

}  // namespace host
