#include "host/buffered_response.h"

#include "automation/cp936.h"
#include "automation/text.h"

namespace host {

using automation::EqualsNoCase;

bool BufferedResponse::utf8() const {
  return EqualsNoCase(charset_, u"utf-8") || EqualsNoCase(charset_, u"utf8");
}

void BufferedResponse::Write(TextView text) {
  if (ended_) return;
  text_ += text;
}

void BufferedResponse::EncodePending() const {
  if (encoded_ >= text_.size()) return;
  const TextView pending = TextView(text_).substr(encoded_);
  const std::string bytes = utf8() ? automation::ToUtf8(pending) : automation::ToGbk(pending);
  // Appended as bytes, not converted char by char.
  const auto* first = reinterpret_cast<const uint8_t*>(bytes.data());
  body_.insert(body_.end(), first, first + bytes.size());
  encoded_ = text_.size();
}

void BufferedResponse::BinaryWrite(const Bytes& bytes) {
  if (ended_) return;
  EncodePending();
  body_.insert(body_.end(), bytes.begin(), bytes.end());
}

void BufferedResponse::Redirect(TextView url) {
  if (ended_) return;
  redirect_ = Text(url);
  status_ = u"302 Object moved";
  ended_ = true;
}

void BufferedResponse::AddHeader(TextView name, TextView value) {
  if (ended_) return;
  headers_.emplace_back(name, value);
}

void BufferedResponse::SetContentType(TextView type) {
  if (!ended_) content_type_ = Text(type);
}
void BufferedResponse::SetCharSet(TextView charset) {
  if (ended_) return;
  EncodePending();  // text written so far keeps the code page it was written in
  charset_ = Text(charset);
}
void BufferedResponse::SetBuffer(bool on) { buffer_ = on; }
void BufferedResponse::Clear() {
  if (ended_) return;
  text_.clear();
  body_.clear();
  encoded_ = 0;
}
void BufferedResponse::SetExpires(int32_t minutes) {
  if (!ended_) expires_ = minutes;
}
void BufferedResponse::SetExpiresAbsolute(automation::Date when) {
  if (!ended_) expires_absolute_ = when;
}
void BufferedResponse::SetCacheControl(TextView value) {
  if (!ended_) cache_control_ = Text(value);
}

}  // namespace host
