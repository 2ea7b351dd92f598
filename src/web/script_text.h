// Text between the automation's UTF-16 and the script engine's strings.
// The engine keeps strings in CESU-8 (each UTF-16 unit of a pair encoded on
// its own), which carries every UTF-16 text, lone surrogates included,
// there and back unchanged. Script source in UTF-8 reads right too.
#pragma once

#include <string>

#include "automation/text.h"

namespace web {

std::string ToScriptString(automation::TextView text);
automation::Text FromScriptString(std::string_view bytes);

}  // namespace web
