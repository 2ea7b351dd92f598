#include "data/dbf/schema.h"

#include "data/dbf/format.h"

namespace data::dbf {

bool IsFieldType(char c) {
  switch (c) {
    case 'C': case 'N': case 'F': case 'L': case 'D': case 'T': case 'I': case 'B':
    case 'Y': case 'M': case 'G': case 'W': case 'P': case 'V': case 'Q':
      return true;
    default:
      return false;
  }
}

bool IsMemoType(FieldType t) {
  return t == FieldType::kMemo || t == FieldType::kGeneral || t == FieldType::kBlob ||
         t == FieldType::kPicture;
}

int FixedWidth(FieldType t) {
  switch (t) {
    case FieldType::kDate: return format::kDateWidth;
    case FieldType::kDateTime: return format::kDateTimeWidth;
    case FieldType::kInteger: return format::kIntegerWidth;
    case FieldType::kDouble: return format::kDoubleWidth;
    case FieldType::kCurrency: return format::kCurrencyWidth;
    case FieldType::kLogical: return format::kLogicalWidth;
    case FieldType::kMemo:
    case FieldType::kGeneral:
    case FieldType::kBlob:
    case FieldType::kPicture: return format::kMemoWidthVfp;
    default: return 0;
  }
}

bool Schema::HasMemoFields() const {
  for (const Field& f : fields)
    if (IsMemoType(f.type)) return true;
  return false;
}

bool Schema::HasStructuralIndex() const { return table_flags & format::kTableHasCdx; }

}  // namespace data::dbf
