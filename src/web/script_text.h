// Text between the automation's UTF-16 and the script engine's strings.
// The engine keeps strings in CESU-8 (each UTF-16 unit of a pair encoded on
// its own), which carries every UTF-16 text, lone surrogates included,
// there and back unchanged. Script source in UTF-8 reads right too.
#pragma once

#include <string>

#include "automation/text.h"

namespace web {

/// At most this many bytes a UTF-16 unit in the engine's form.
inline constexpr size_t kScriptBytesPerUnit = 3;

std::string ToScriptString(automation::TextView text);
/// The same into `out`, which has room for kScriptBytesPerUnit bytes a
/// unit; returns the bytes written.
size_t ToScriptString(automation::TextView text, char* out);
automation::Text FromScriptString(std::string_view bytes);
/// The same into `out`, which has room for a unit a byte; returns the
/// units written.
size_t FromScriptString(std::string_view bytes, char16_t* out);

}  // namespace web
