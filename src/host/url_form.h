// How every request object reads what a browser sends: the query string, a
// urlencoded form body and the Cookie header are name/value pairs kept as
// the bytes sent, and decoded in the page's code page when read, so that a
// page run by `arenix run` and the same page served over HTTP read one
// request alike, and a page that switches to UTF-8 reads its own posts.
//
//   auto query = UrlPairs::Parse("item=%D6%D0&a=1&a=2");
//   query.Find(u"ITEM", cp)  -> u"中"     (names compare without case)
//   query.Find(u"a", cp)     -> u"1, 2"   (repeated names join with ", ")
//
// The pairs are views into the text they were parsed from (copied once, or
// borrowed from a body its owner keeps), so a large form costs its bytes
// and a few words a field, not a string pair per field.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "automation/text.h"

namespace host {

using automation::Text;
using automation::TextView;

/// The code page of a page's text, shared by its request and response:
/// GBK (936) by default, UTF-8 (65001) when the page switches.
struct CodePage {
  int number = 936;
  bool utf8() const { return number == 65001; }
  Text Decode(std::string_view bytes) const;
  std::string Encode(TextView text) const;
};

/// Percent-decodes a query or form component to bytes: "+" is a space, %XX
/// one byte; a "%" without two hex digits after it stays as typed.
std::string PercentDecode(std::string_view raw);
/// Percent-encodes bytes for a URL or a form (letters, digits and "-_.~"
/// stay).
std::string PercentEncode(std::string_view bytes);

/// True for the Content-Type of a urlencoded form, the one body that is
/// also the Form collection (an upload's body is read by the upload
/// service instead).
bool IsUrlencodedForm(std::string_view content_type);

/// The text of a value in the address: bytes a GBK page reads as GBK,
/// except that what an address bar or a chat app sends (UTF-8, with
/// characters beyond ASCII, that GBK cannot read, or reads only as rare
/// characters where UTF-8 gives common ones) is read as UTF-8. A UTF-8 page
/// reads UTF-8.
Text DecodeAddressValue(std::string_view bytes, const CodePage& cp);

/// The non-empty parts of a urlencoded text ("a=1&&b" has 2), counted
/// without parsing: what a form would cost before it is parsed.
size_t CountUrlPairs(std::string_view text);

/// Every decoded value of a form by name (without case), made in one pass:
/// for readers that look up many names of one form.
class UrlFields {
 public:
  /// The value (repeated names joined with ", "), or empty text.
  Text Get(TextView name) const;
  bool Has(TextView name) const;

 private:
  friend class UrlPairs;
  std::unordered_map<Text, Text> values_;  // by the name in ASCII lower case
};

/// Name/value pairs as sent, in order.
class UrlPairs {
 public:
  /// "a=1&b=%D6%D0": empty parts are skipped, a part without "=" is a name
  /// with an empty value, nothing is decoded yet. The text is copied once.
  static UrlPairs Parse(std::string_view text);
  /// The same for a query string, whose values are read as address values
  /// (DecodeAddressValue).
  static UrlPairs ParseQuery(std::string_view text);
  /// Parse without the copy: the pairs point into `text`, which the caller
  /// keeps alive and unchanged while they are read (a request's body).
  static UrlPairs Borrow(std::string_view text);
  /// "a=1; b=2" of a Cookie header: the same, split at ";" and with the
  /// blanks before each name dropped.
  static UrlPairs ParseCookies(std::string_view header);

  /// Adds a pair given as text, encoded as a browser on a page in `cp`
  /// sends it.
  void Add(TextView name, TextView value, const CodePage& cp);
  /// Adds the pairs of `more` after these.
  void Append(const UrlPairs& more);

  bool empty() const { return pairs_.empty(); }
  size_t size() const { return pairs_.size(); }
  /// The decoded names, each once (compared without case), in order.
  std::vector<Text> Names(const CodePage& cp) const;
  /// The decoded values of `name` (without case) joined with ", "; nothing
  /// when no pair has that name.
  std::optional<Text> Find(TextView name, const CodePage& cp) const;
  /// Find, or empty text.
  Text Get(TextView name, const CodePage& cp) const { return Find(name, cp).value_or(Text()); }
  /// All values by name, decoded once.
  UrlFields Index(const CodePage& cp) const;

 private:
  static UrlPairs Split(std::string_view text, char sep, bool trim_names);
  static UrlPairs Own(std::string text, char sep, bool trim_names);
  Text DecodePart(std::string_view part, const CodePage& cp) const;

  // Texts the pairs point into that this object keeps (parsed copies, added
  // pairs); shared, so that copies and appended pairs stay valid.
  std::vector<std::shared_ptr<const std::string>> owned_;
  std::vector<std::pair<std::string_view, std::string_view>> pairs_;
  bool address_ = false;
};

}  // namespace host
