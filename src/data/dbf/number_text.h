// Numbers as the N and F fields store them: digits as text, right-aligned
// in the field's width, with a fixed number of decimals.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace data::dbf {

/// The stored form of `value` in a field of `width` with `decimals`,
/// rounded half away from zero at the last decimal (as FoxPro rounds), or
/// nothing when it does not fit the width (FoxPro would store asterisks) or
/// is not finite.
std::optional<std::string> FormatFieldNumber(double value, int width, int decimals);

/// The value of stored digits: blanks around are ignored, blank reads 0,
/// and so does anything that is not a number (asterisks of an overflow).
double ParseFieldNumber(std::string_view stored);

}  // namespace data::dbf
