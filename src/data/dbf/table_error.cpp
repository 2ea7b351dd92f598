#include "data/dbf/table_error.h"

#include <string>

#include "automation/error.h"

namespace data::dbf {

void ThrowTableError(int number, std::string_view file, std::string_view message) {
  std::string text(file);
  text += ": ";
  text += message;
  throw automation::Error(number, automation::FromUtf8(text));
}

void ThrowCorrupt(std::string_view file, std::string_view message) {
  ThrowTableError(automation::err::kPathFileAccess, file, message);
}

}  // namespace data::dbf
