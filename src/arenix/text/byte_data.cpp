#include "arenix/text/byte_data.h"

#include "automation/coerce.h"
#include "automation/cp936.h"
#include "automation/error.h"

namespace arenix::text {

Bytes ByteDataOf(const Variant& v) {
  using automation::VarType;
  switch (v.type()) {
    case VarType::Empty: return Bytes();
    case VarType::Null: automation::ThrowInvalidNull();
    case VarType::ByteArray: return v.bytes();
    case VarType::String: {
      Bytes out;
      out.reserve(v.text().size() * 2);
      for (char16_t unit : v.text()) {
        out.push_back(static_cast<uint8_t>(unit & 0xFF));
        out.push_back(static_cast<uint8_t>(unit >> 8));
      }
      return out;
    }
    default:
      if (v.IsArray()) {
        Bytes out;
        out.reserve(v.array().items.size());
        for (const Variant& item : v.array().items) out.push_back(automation::CByte(item));
        return out;
      }
      automation::ThrowTypeMismatch();
  }
}

Text JoinBytes(const Variant& bytes, automation::TextView delimiter) {
  Bytes data = ByteDataOf(bytes);
  Text out;
  for (size_t i = 0; i < data.size(); ++i) {
    if (i) out += delimiter;
    out += automation::LongToText(data[i]);
  }
  return out;
}

Text BinaryToString(const Variant& bytes) { return JoinBytes(bytes, u""); }

Text RsBinaryToString(const Variant& bytes) {
  Bytes data = ByteDataOf(bytes);
  return automation::FromGbk(
      std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

Variant MultiByteToBinary(const Variant& data) {
  Bytes bytes = ByteDataOf(data);
  if (bytes.empty()) return Variant(Text());
  return Variant(std::move(bytes));
}

}  // namespace arenix::text
