// The errors of the free-table layer: automation errors whose description
// begins with the file they concern ("Play.dbf: ...").
#pragma once

#include <string>
#include <string_view>

namespace data::dbf {

/// Raises automation::Error(number, "<file>: <message>"); both UTF-8.
[[noreturn]] void ThrowTableError(int number, std::string_view file, std::string_view message);

/// Why a write failed, for a message: a full disk and a folder without the
/// right to write say so in words.
std::string WriteFailure(int error);

/// 75: the file is not a readable table (or memo file).
[[noreturn]] void ThrowCorrupt(std::string_view file, std::string_view message);

}  // namespace data::dbf
