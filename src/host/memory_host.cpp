#include "host/memory_host.h"

#include "automation/coerce.h"
#include "automation/cp936.h"

namespace host {

using automation::EqualsNoCase;

namespace {

const Text* FindNoCase(const Pairs& pairs, TextView key) {
  for (const auto& [k, v] : pairs)
    if (EqualsNoCase(k, key)) return &v;
  return nullptr;
}

}  // namespace

void MemoryRequest::SetQueryString(TextView raw) {
  raw_query_ = cp_.Encode(raw);
  query_ = UrlPairs::ParseQuery(raw_query_);
}

void MemoryRequest::SetServerVariable(TextView name, TextView value) {
  for (auto& [k, v] : server_)
    if (EqualsNoCase(k, name)) {
      v = Text(value);
      return;
    }
  server_.emplace_back(name, value);
}

UrlPairs MemoryRequest::FormPairs() const {
  UrlPairs pairs;
  if (IsUrlencodedForm(automation::ToUtf8(ServerVariable(u"CONTENT_TYPE"))))
    pairs = UrlPairs::Parse(std::string_view(reinterpret_cast<const char*>(body_.data()), body_.size()));
  pairs.Append(form_);
  return pairs;
}

Text MemoryRequest::ServerVariable(TextView name) const {
  const Text* v = FindNoCase(server_, name);
  return v ? *v : Text();
}

Text MemoryRequest::Item(TextView key) const {
  if (auto v = query_.Find(key, cp_)) return *v;
  if (auto v = FormPairs().Find(key, cp_)) return *v;
  if (auto v = cookies_.Find(key, cp_)) return *v;
  return ServerVariable(key);
}

Bytes MemoryRequest::BinaryRead(int32_t count) {
  if (count < 0) automation::ThrowInvalidCall();
  size_t n = std::min(static_cast<size_t>(count), body_.size() - read_pos_);
  Bytes out(body_.begin() + read_pos_, body_.begin() + read_pos_ + n);
  read_pos_ += n;
  return out;
}

Variant MemorySession::Get(TextView key) const {
  for (const auto& [k, v] : items_)
    if (EqualsNoCase(k, key)) return v;
  return Variant();
}

void MemorySession::Set(TextView key, Variant value) {
  for (auto& [k, v] : items_)
    if (EqualsNoCase(k, key)) {
      v = std::move(value);
      return;
    }
  items_.emplace_back(Text(key), std::move(value));
}

}  // namespace host
