// Helpers of the meet list tests: the rows of Play that a test puts in,
// the renderers called by name as pages call them, and a small reader of
// the <input> tags of rendered HTML (name, type, value, checked), so that a
// test posts what a browser would post without rebuilding names by hand.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "arenix/frame/arenix_cls.h"
#include "automation/coerce.h"
#include "automation/error.h"
#include "data/data.h"
#include "result_entry_meet.h"

namespace lists_test {

using automation::FromUtf8;
using automation::Text;
using automation::ToUtf8;
using automation::Variant;

inline Variant CallByName(const char16_t* method, std::vector<Variant> args) {
  arenix::ArenixCls cls;
  std::vector<Variant*> ptrs;
  for (Variant& a : args) ptrs.push_back(&a);
  return arenix::CallMethod(cls, method, ptrs);
}

/// Opens the page's record set of the meet on `sql`.
inline data::Recordset& OpenRows(wldf_test::Meet& meet, const std::string& sql) {
  auto& records = automation::ObjectCast<data::Recordset>(meet.rs);
  if (records.IsOpen()) records.Close();
  records.Open(FromUtf8(sql), meet.conn, data::kOpenKeyset, data::kLockReadOnly);
  return records;
}

struct InputTag {
  std::string name, type, value;
  bool checked = false;
  std::map<std::string, std::string> attributes;
};

inline std::string HtmlUnescape(std::string s) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
  for (const auto& [from, to] : kEntities) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1)) {
      s.replace(at, std::strlen(from), to);
    }
  }
  return s;
}

/// Every <input> of the HTML in document order. Attribute values in single
/// or double quotes or unquoted; names lower-cased; a bare attribute (such
/// as "checked") has an empty value.
inline std::vector<InputTag> ReadInputs(const std::string& html) {
  std::vector<InputTag> out;
  static const std::regex tag(R"(<input\b([^>]*)>)", std::regex::icase);
  static const std::regex attr(R"(([A-Za-z_:][-\w:]*)(?:\s*=\s*('[^']*'|"[^"]*"|[^\s'">]+))?)");
  for (std::sregex_iterator t(html.begin(), html.end(), tag), end; t != end; ++t) {
    InputTag in;
    const std::string body = (*t)[1];
    for (std::sregex_iterator a(body.begin(), body.end(), attr); a != end; ++a) {
      std::string key = (*a)[1];
      for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      std::string value = (*a)[2];
      if (!value.empty() && (value[0] == '\'' || value[0] == '"')) value = value.substr(1, value.size() - 2);
      in.attributes[key] = HtmlUnescape(value);
    }
    in.name = in.attributes["name"];
    in.type = in.attributes.count("type") ? in.attributes["type"] : "text";
    in.value = in.attributes["value"];
    in.checked = in.attributes.count("checked") > 0;
    out.push_back(in);
  }
  return out;
}

}  // namespace lists_test
