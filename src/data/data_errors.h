// The numbers and texts of the data access objects' own errors, as the
// platform's data objects reported them.
#pragma once

#include "automation/error.h"

namespace data {

inline constexpr int kArgumentOutOfRange = 3001;
inline constexpr int kNoCurrentRecord = automation::err::kNoCurrentRecord;  // 3021
inline constexpr int kItemNotFound = 3265;
inline constexpr int kObjectClosed = automation::err::kObjectClosed;  // 3704
inline constexpr int kObjectOpen = 3705;
inline constexpr int kProviderNotFound = 3706;
inline constexpr int kConnectionInvalid = 3709;

/// Raises the error with its standard text.
[[noreturn]] void ThrowDataError(int number);

}  // namespace data
