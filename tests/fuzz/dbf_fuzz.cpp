// Feeds the free-table reader: the header, the field descriptors, every
// record's values and the memo pointers. The first two bytes give the length
// of the table part; the rest is its memo file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "automation/error.h"
#include "data/dbf/table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  size_t split = static_cast<size_t>(data[0] | data[1] << 8);
  data += 2;
  size -= 2;
  if (split > size) split = size;
  std::string dbf(reinterpret_cast<const char*>(data), split);
  std::string fpt(reinterpret_cast<const char*>(data) + split, size - split);
  try {
    auto table = data::dbf::Table::FromBytes("fuzz.dbf", std::move(dbf), std::move(fpt));
    std::vector<automation::Variant> values;
    uint32_t rows = table->RecordCount();
    if (rows > 4096) rows = 4096;
    for (uint32_t r = 0; r < rows; ++r) {
      table->IsDeleted(r);
      for (int f = 0; f < static_cast<int>(table->fields().size()); ++f) {
        table->IsNull(r, f);
        table->RawField(r, f);
        try {
          table->Value(r, f);
        } catch (const automation::Error&) {
          // a broken memo pointer in one field: the others still read
        }
      }
      try {
        table->ReadRecord(r, values);
      } catch (const automation::Error&) {
      }
    }
  } catch (const automation::Error&) {
    // a rejected table: exactly what bad input should give
  }
  return 0;
}
