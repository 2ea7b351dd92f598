// arenix run: a JSON script of calls, statements and record-set steps
// against the in-memory host and a meet database, answered by one JSON
// report. See the tool's README section for the script and report forms.
#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>

namespace tools {

/// A script that is well-formed JSON but not a script (a step of no known
/// kind, a field of the wrong type).
struct ScriptError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

/// Runs a parsed script; `default_site` is used when it names none.
nlohmann::ordered_json RunScript(const nlohmann::ordered_json& script, const std::string& default_site);

}  // namespace tools
