#include "host/url_form.h"

#include <algorithm>

#include "automation/cp936.h"

namespace host {

namespace {

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

Text CodePage::Decode(std::string_view bytes) const {
  return utf8() ? automation::FromUtf8(bytes) : automation::FromGbk(bytes);
}

std::string CodePage::Encode(TextView text) const {
  return utf8() ? automation::ToUtf8(text) : automation::ToGbk(text);
}

std::string PercentDecode(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '+') {
      out.push_back(' ');
    } else if (raw[i] == '%' && i + 2 < raw.size() && Hex(raw[i + 1]) >= 0 && Hex(raw[i + 2]) >= 0) {
      out.push_back(static_cast<char>(Hex(raw[i + 1]) * 16 + Hex(raw[i + 2])));
      i += 2;
    } else {
      out.push_back(raw[i]);
    }
  }
  return out;
}

std::string PercentEncode(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
        c == '.' || c == '~') {
      out.push_back(static_cast<char>(c));
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

bool IsUrlencodedForm(std::string_view content_type) {
  static constexpr std::string_view kForm = "application/x-www-form-urlencoded";
  if (content_type.size() < kForm.size()) return false;
  for (size_t i = 0; i < kForm.size(); ++i) {
    char c = content_type[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (c != kForm[i]) return false;
  }
  return true;
}

UrlPairs UrlPairs::Split(std::string_view text, char sep, bool trim_names) {
  UrlPairs out;
  size_t i = 0;
  while (i <= text.size()) {
    size_t end = text.find(sep, i);
    if (end == std::string_view::npos) end = text.size();
    std::string_view part = text.substr(i, end - i);
    if (trim_names) part.remove_prefix(std::min(part.size(), part.find_first_not_of(" \t")));
    if (!part.empty()) {
      size_t eq = part.find('=');
      std::string_view name = part.substr(0, eq);
      if (trim_names) name.remove_suffix(name.size() - (name.find_last_not_of(" \t") + 1));
      out.pairs_.emplace_back(std::string(name),
                              eq == std::string_view::npos ? std::string() : std::string(part.substr(eq + 1)));
    }
    i = end + 1;
  }
  return out;
}

UrlPairs UrlPairs::Parse(std::string_view text) { return Split(text, '&', false); }
UrlPairs UrlPairs::ParseCookies(std::string_view header) { return Split(header, ';', true); }

void UrlPairs::Add(TextView name, TextView value, const CodePage& cp) {
  pairs_.emplace_back(PercentEncode(cp.Encode(name)), PercentEncode(cp.Encode(value)));
}

void UrlPairs::Append(const UrlPairs& more) { pairs_.insert(pairs_.end(), more.pairs_.begin(), more.pairs_.end()); }

std::vector<Text> UrlPairs::Names(const CodePage& cp) const {
  std::vector<Text> names;
  for (const auto& [k, v] : pairs_) {
    Text name = cp.Decode(PercentDecode(k));
    bool seen = false;
    for (const Text& s : names) seen = seen || automation::EqualsNoCase(s, name);
    if (!seen) names.push_back(std::move(name));
  }
  return names;
}

std::optional<Text> UrlPairs::Find(TextView name, const CodePage& cp) const {
  std::optional<Text> out;
  for (const auto& [k, v] : pairs_) {
    if (!automation::EqualsNoCase(cp.Decode(PercentDecode(k)), name)) continue;
    if (out)
      *out += u", ";
    else
      out.emplace();
    *out += cp.Decode(PercentDecode(v));
  }
  return out;
}

}  // namespace host
