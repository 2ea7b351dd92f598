// Variants in the tool's JSON scripts and reports.
//
// Report form: {"type": "Empty|Null|Boolean|Byte|Integer|Long|Single|Double|
// Currency|Date|String|Object|Array", "value": ...}; dates as ISO text,
// objects as their class name, arrays as lists, byte arrays as base64.
//
// Argument form: JSON text, number (integral: Long, else Double),
// true/false, null; {"empty": true}, {"int": n}, {"byte": n}, {"long": n},
// {"double": n}, {"currency": n}, {"date": "..."}, {"array": [...],
// "lbound": n}, {"bytes_base64": "..."}. ({"ref": NAME} is the runner's.)
#pragma once

#include <nlohmann/json.hpp>

#include "automation/variant.h"

namespace tools {

nlohmann::ordered_json VariantToJson(const automation::Variant& v);

/// Raises std::invalid_argument with a message for a form it does not know.
automation::Variant JsonToVariant(const nlohmann::ordered_json& j);

/// "2024-03-05T08:30:00" (also accepts a space for "T", and a date alone).
std::optional<automation::Date> ParseIsoDate(std::string_view text);
std::string IsoDate(automation::Date d);

}  // namespace tools
