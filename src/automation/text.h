// Text: the automation string. 16-bit code units, exactly what the component's
// callers pass; lengths, positions and display widths count these units.
// Conversions happen only at the edges: UTF-8 for SQLite, logs and the command
// line (here), code page 936 for files, host bytes and MD5 (cp936.h).
#pragma once

#include <string>
#include <string_view>

namespace automation {

using Text = std::u16string;
using TextView = std::u16string_view;

/// UTF-8 -> Text. Malformed sequences become U+FFFD; characters above U+FFFF
/// become surrogate pairs.
Text FromUtf8(std::string_view utf8);

/// Text -> UTF-8. A lone surrogate becomes U+FFFD.
std::string ToUtf8(TextView text);

/// ASCII-only helper for literals and identifiers: widens each byte.
Text FromAscii(std::string_view ascii);

/// Case-insensitive comparison of ASCII letters (automation names).
bool EqualsNoCase(TextView a, TextView b);

/// Lower-cases the ASCII letters only.
Text AsciiLower(TextView text);

}  // namespace automation
