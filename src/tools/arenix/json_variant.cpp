#include "tools/arenix/json_variant.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "automation/coerce.h"
#include "automation/datetime.h"
#include "automation/object.h"
#include "tools/arenix/base64.h"

namespace tools {

using automation::Variant;
using automation::VarType;
using nlohmann::ordered_json;

std::string IsoDate(automation::Date d) {
  automation::DateParts p = automation::SplitDate(d);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                p.minute, p.second);
  return buf;
}

std::optional<automation::Date> ParseIsoDate(std::string_view t) {
  int y, mo, d, h = 0, mi = 0, s = 0;
  std::string text(t);
  int n = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d%n", &y, &mo, &d, &n) != 3) return std::nullopt;
  if (static_cast<size_t>(n) < text.size()) {
    char sep;
    int m = 0;
    if (std::sscanf(text.c_str() + n, "%c%d:%d:%d%n", &sep, &h, &mi, &s, &m) != 4 ||
        (sep != 'T' && sep != ' ') || static_cast<size_t>(n + m) != text.size())
      return std::nullopt;
  }
  try {
    return automation::MakeDate(y, mo, d, h, mi, s);
  } catch (const automation::Error&) {
    return std::nullopt;
  }
}

static ordered_json Typed(const char* type, ordered_json value) {
  ordered_json j;
  j["type"] = type;
  j["value"] = std::move(value);
  return j;
}

ordered_json VariantToJson(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return Typed("Empty", nullptr);
    case VarType::Null: return Typed("Null", nullptr);
    case VarType::Boolean: return Typed("Boolean", v.As<bool>());
    case VarType::Byte: return Typed("Byte", v.As<uint8_t>());
    case VarType::Integer: return Typed("Integer", v.As<int16_t>());
    case VarType::Long: return Typed("Long", v.As<int32_t>());
    case VarType::Single: {
      float f = v.As<float>();
      // The shortest decimal that reads back as the same Single.
      return Typed("Single", std::isfinite(f) ? ordered_json(std::stod(automation::ToUtf8(
                                                      automation::SingleToText(f))))
                                              : ordered_json(nullptr));
    }
    case VarType::Double: {
      double d = v.As<double>();
      return Typed("Double", std::isfinite(d) ? ordered_json(d) : ordered_json(nullptr));
    }
    case VarType::Currency:
      return Typed("Currency", std::stod(automation::ToUtf8(automation::CurrencyToText(v.As<automation::Currency>()))));
    case VarType::Date: return Typed("Date", IsoDate(v.As<automation::Date>()));
    case VarType::String: return Typed("String", automation::ToUtf8(v.text()));
    case VarType::Object:
      return Typed("Object", v.object() ? ordered_json(automation::ToUtf8(v.object()->ClassName()))
                                        : ordered_json(nullptr));
    case VarType::Array: {
      const automation::Array& a = v.array();
      if (a.columns > 0) {  // two-dimensional: {"array2": rows, "lbounds": [row, column]}
        ordered_json rows = ordered_json::array();
        for (size_t at = 0; at < a.items.size(); at += static_cast<size_t>(a.columns)) {
          ordered_json row = ordered_json::array();
          for (int32_t c = 0; c < a.columns; ++c) row.push_back(VariantToJson(a.items[at + c]));
          rows.push_back(std::move(row));
        }
        return Typed("Array", ordered_json{{"array2", std::move(rows)}, {"lbounds", {a.lbound, a.lbound2}}});
      }
      ordered_json items = ordered_json::array();
      for (const auto& item : v.array().items) items.push_back(VariantToJson(item));
      ordered_json j = Typed("Array", std::move(items));
      if (v.array().lbound != 0) j["lbound"] = v.array().lbound;
      return j;
    }
    case VarType::ByteArray: {
      const auto& b = v.bytes();
      return Typed("Array", Base64Encode(std::string_view(reinterpret_cast<const char*>(b.data()), b.size())));
    }
    default: return Typed("Empty", nullptr);
  }
}

namespace {
int64_t IntegerOf(const ordered_json& j, const char* key);

int32_t Bound32(const ordered_json& j, const char* key) {
  const int64_t n = IntegerOf(j, key);
  if (n < INT32_MIN || n > INT32_MAX) throw std::invalid_argument(std::string("\"") + key + "\" is out of the 32-bit range");
  return static_cast<int32_t>(n);
}

// {"array2": [[row 0 ...], [row 1 ...]], "lbounds": [row, column]}: every
// row as long as the first, and at least one item long (the empty list is
// an array of no rows).
Variant TwoDimensionalArray(const ordered_json& j) {
  const ordered_json& rows = j["array2"];
  if (!rows.is_array()) throw std::invalid_argument("\"array2\" needs a list of rows");
  automation::Array a;
  a.columns = 1;
  if (!rows.empty()) {
    if (!rows[0].is_array() || rows[0].empty())
      throw std::invalid_argument("\"array2\" rows are lists of at least one item");
    a.columns = static_cast<int32_t>(rows[0].size());
  }
  for (const auto& row : rows) {
    if (!row.is_array() || row.size() != static_cast<size_t>(a.columns))
      throw std::invalid_argument("\"array2\" rows must all be lists of the same length");
    for (const auto& item : row) a.items.push_back(JsonToVariant(item));
  }
  if (j.contains("lbounds")) {
    const ordered_json& b = j["lbounds"];
    if (!b.is_array() || b.size() != 2) throw std::invalid_argument("\"lbounds\" needs two whole numbers");
    a.lbound = Bound32(b[0], "lbounds");
    a.lbound2 = Bound32(b[1], "lbounds");
  }
  return Variant(std::move(a));
}

int64_t IntegerOf(const ordered_json& j, const char* key) {
  if (!j.is_number_integer()) throw std::invalid_argument(std::string("\"") + key + "\" needs a whole number");
  // A whole number above the signed 64-bit range would wrap to a small one.
  if (j.is_number_unsigned() && j.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX))
    throw std::invalid_argument(std::string("\"") + key + "\" is out of range");
  return j.get<int64_t>();
}
}  // namespace

Variant JsonToVariant(const ordered_json& j) {
  if (j.is_null()) return Variant::Null();
  if (j.is_boolean()) return Variant(j.get<bool>());
  if (j.is_string()) return Variant(automation::FromUtf8(j.get<std::string>()));
  if (j.is_number_unsigned() && j.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX))
    return Variant(static_cast<double>(j.get<uint64_t>()));
  if (j.is_number_integer()) {
    int64_t n = j.get<int64_t>();
    if (n >= INT32_MIN && n <= INT32_MAX) return Variant(static_cast<int32_t>(n));
    return Variant(static_cast<double>(n));
  }
  if (j.is_number()) return Variant(j.get<double>());
  if (j.is_object()) {
    if (j.contains("empty")) return Variant();
    if (j.contains("int")) {
      int64_t n = IntegerOf(j["int"], "int");
      if (n < INT16_MIN || n > INT16_MAX) throw std::invalid_argument("\"int\" is out of the 16-bit range");
      return Variant(static_cast<int16_t>(n));
    }
    if (j.contains("byte")) {
      int64_t n = IntegerOf(j["byte"], "byte");
      if (n < 0 || n > 255) throw std::invalid_argument("\"byte\" is out of the range 0 to 255");
      return Variant(static_cast<uint8_t>(n));
    }
    if (j.contains("long")) {
      int64_t n = IntegerOf(j["long"], "long");
      if (n < INT32_MIN || n > INT32_MAX) throw std::invalid_argument("\"long\" is out of the 32-bit range");
      return Variant(static_cast<int32_t>(n));
    }
    if (j.contains("double")) {
      if (!j["double"].is_number()) throw std::invalid_argument("\"double\" needs a number");
      return Variant(j["double"].get<double>());
    }
    if (j.contains("currency")) {
      const auto& c = j["currency"];
      if (c.is_string()) return Variant(automation::CCur(Variant(automation::FromUtf8(c.get<std::string>()))));
      if (!c.is_number()) throw std::invalid_argument("\"currency\" needs a number");
      return Variant(automation::CurrencyFromDouble(c.get<double>()));
    }
    if (j.contains("date")) {
      if (!j["date"].is_string()) throw std::invalid_argument("\"date\" needs a text");
      auto d = ParseIsoDate(j["date"].get<std::string>());
      if (!d) throw std::invalid_argument("\"date\" is not YYYY-MM-DD[THH:MM:SS]: " + j["date"].get<std::string>());
      return Variant(*d);
    }
    if (j.contains("array")) {
      if (!j["array"].is_array()) throw std::invalid_argument("\"array\" needs a list");
      automation::Array a;
      if (j.contains("lbound")) {
        int64_t n = IntegerOf(j["lbound"], "lbound");
        if (n < INT32_MIN || n > INT32_MAX) throw std::invalid_argument("\"lbound\" is out of the 32-bit range");
        a.lbound = static_cast<int32_t>(n);
      }
      for (const auto& item : j["array"]) a.items.push_back(JsonToVariant(item));
      return Variant(std::move(a));
    }
    if (j.contains("array2")) return TwoDimensionalArray(j);
    if (j.contains("bytes_base64")) {
      if (!j["bytes_base64"].is_string()) throw std::invalid_argument("\"bytes_base64\" needs a text");
      auto bytes = Base64Decode(j["bytes_base64"].get<std::string>());
      if (!bytes) throw std::invalid_argument("\"bytes_base64\" is not base64");
      return Variant(automation::Bytes(bytes->begin(), bytes->end()));
    }
  }
  throw std::invalid_argument("not an argument form: " + j.dump());
}

}  // namespace tools
