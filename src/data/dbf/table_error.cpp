#include "data/dbf/table_error.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "automation/error.h"

namespace data::dbf {

void ThrowTableError(int number, std::string_view file, std::string_view message) {
  std::string text(file);
  text += ": ";
  text += message;
  throw automation::Error(number, automation::FromUtf8(text));
}

std::string WriteFailure(int error) {
  const std::string why = std::strerror(error);
  if (error == ENOSPC || error == EFBIG || error == EDQUOT) return "the disk is full (" + why + ")";
  if (error == EACCES || error == EPERM || error == EROFS) return "no right to write in the data folder (" + why + ")";
  return why;
}

void ThrowCorrupt(std::string_view file, std::string_view message) {
  ThrowTableError(automation::err::kPathFileAccess, file, message);
}

}  // namespace data::dbf
