// Base64 (RFC 4648, with padding) for byte values in scripts and reports.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tools {

std::string Base64Encode(std::string_view bytes);
/// Nothing when the text is not base64 (whitespace is skipped).
std::optional<std::string> Base64Decode(std::string_view text);

}  // namespace tools
