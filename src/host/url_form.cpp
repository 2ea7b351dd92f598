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

namespace {

// Strict UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF); `multibyte` tells whether any character took more than a byte.
bool IsUtf8(std::string_view s, bool& multibyte) {
  multibyte = false;
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    size_t n;
    char32_t c;
    if (b >= 0xC2 && b <= 0xDF) {
      n = 1, c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      n = 2, c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      n = 3, c = b & 0x07;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;
    for (size_t k = 1; k <= n; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      c = (c << 6) | (t & 0x3F);
    }
    if ((n == 2 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) || (n == 3 && (c < 0x10000 || c > 0x10FFFF)))
      return false;
    multibyte = true;
    i += n + 1;
  }
  return true;
}

// The common block of GBK: the symbols (rows A1-A9) and the characters
// (rows B0-F7) of the older national set.
bool CommonGbkPair(unsigned lead, unsigned trail) {
  return ((lead >= 0xA1 && lead <= 0xA9) || (lead >= 0xB0 && lead <= 0xF7)) && trail >= 0xA1 && trail <= 0xFE;
}

// GBK where every double-byte pair is a character the code page defines.
// `common` tells whether all of them are in the common (GB2312) block.
bool IsGbk(std::string_view s, bool& common) {
  common = true;
  for (size_t i = 0; i < s.size();) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead <= 0x80) {
      ++i;
      continue;
    }
    if (lead == 0xFF || i + 1 >= s.size()) return false;
    const auto trail = static_cast<unsigned char>(s[i + 1]);
    if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
    if (automation::GbkCharOf(static_cast<uint16_t>(lead * 256 + trail)) == 0) return false;
    if (!CommonGbkPair(lead, trail)) common = false;
    i += 2;
  }
  return true;
}

// True when every character of the text GBK writes in the common block (or
// in one byte).
bool CommonInGbk(TextView text) {
  for (char16_t c : text) {
    const uint16_t code = automation::GbkCode(c);
    if (code == automation::kNoGbkCode) return false;
    if (code > 0xFF && !CommonGbkPair(code >> 8, code & 0xFF)) return false;
  }
  return true;
}

}  // namespace

Text DecodeAddressValue(std::string_view bytes, const CodePage& cp) {
  if (cp.utf8()) return cp.Decode(bytes);
  bool multibyte = false, common = false;
  if (IsUtf8(bytes, multibyte) && multibyte) {
    if (!IsGbk(bytes, common)) return automation::FromUtf8(bytes);
    // Both readings are possible: the one that gives common characters wins.
    Text utf8 = automation::FromUtf8(bytes);
    if (!common && CommonInGbk(utf8)) return utf8;
  }
  return cp.Decode(bytes);
}

size_t CountUrlPairs(std::string_view text) {
  size_t count = 0;
  bool in_part = false;
  for (char c : text) {
    if (c == '&') {
      in_part = false;
    } else if (!in_part) {
      in_part = true;
      ++count;
    }
  }
  return count;
}

Text UrlFields::Get(TextView name) const {
  auto it = values_.find(automation::AsciiLower(name));
  return it == values_.end() ? Text() : it->second;
}

bool UrlFields::Has(TextView name) const { return values_.count(automation::AsciiLower(name)) > 0; }

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
      out.pairs_.emplace_back(name, eq == std::string_view::npos ? std::string_view() : part.substr(eq + 1));
    }
    i = end + 1;
  }
  return out;
}

UrlPairs UrlPairs::Own(std::string text, char sep, bool trim_names) {
  auto kept = std::make_shared<const std::string>(std::move(text));
  UrlPairs out = Split(*kept, sep, trim_names);
  out.owned_.push_back(std::move(kept));
  return out;
}

UrlPairs UrlPairs::Parse(std::string_view text) { return Own(std::string(text), '&', false); }
UrlPairs UrlPairs::ParseQuery(std::string_view text) {
  UrlPairs out = Parse(text);
  out.address_ = true;
  return out;
}
UrlPairs UrlPairs::Borrow(std::string_view text) { return Split(text, '&', false); }
UrlPairs UrlPairs::ParseCookies(std::string_view header) { return Own(std::string(header), ';', true); }

void UrlPairs::Add(TextView name, TextView value, const CodePage& cp) {
  std::string n = PercentEncode(cp.Encode(name));
  auto kept = std::make_shared<const std::string>(n + PercentEncode(cp.Encode(value)));
  pairs_.emplace_back(std::string_view(*kept).substr(0, n.size()), std::string_view(*kept).substr(n.size()));
  owned_.push_back(std::move(kept));
}

void UrlPairs::Append(const UrlPairs& more) {
  pairs_.insert(pairs_.end(), more.pairs_.begin(), more.pairs_.end());
  owned_.insert(owned_.end(), more.owned_.begin(), more.owned_.end());
}

Text UrlPairs::DecodePart(std::string_view part, const CodePage& cp) const {
  return address_ ? DecodeAddressValue(PercentDecode(part), cp) : cp.Decode(PercentDecode(part));
}

std::vector<Text> UrlPairs::Names(const CodePage& cp) const {
  std::vector<Text> names;
  for (const auto& [k, v] : pairs_) {
    Text name = DecodePart(k, cp);
    bool seen = false;
    for (const Text& s : names) seen = seen || automation::EqualsNoCase(s, name);
    if (!seen) names.push_back(std::move(name));
  }
  return names;
}

std::optional<Text> UrlPairs::Find(TextView name, const CodePage& cp) const {
  std::optional<Text> out;
  for (const auto& [k, v] : pairs_) {
    if (!automation::EqualsNoCase(DecodePart(k, cp), name)) continue;
    if (out)
      *out += u", ";
    else
      out.emplace();
    *out += DecodePart(v, cp);
  }
  return out;
}

UrlFields UrlPairs::Index(const CodePage& cp) const {
  UrlFields fields;
  for (const auto& [k, v] : pairs_) {
    auto [it, fresh] = fields.values_.try_emplace(automation::AsciiLower(DecodePart(k, cp)));
    if (!fresh) it->second += u", ";
    it->second += DecodePart(v, cp);
  }
  return fields;
}

}  // namespace host
