// The service's configuration file (/etc/arenix/arenix.conf): `key = value`
// lines, `#` starts a comment line. Keys: data (the meet folder), port,
// bind, site, workers, log, quiet (yes/no). An unknown key, a repeated key
// or a bad value is refused naming the file and the line, so that the
// service does not start on a mistyped setting.
#pragma once

#include <map>
#include <string>

namespace tools {

struct ServeConfigLine {
  std::string value;
  int line = 0;
};

/// Reads and checks the file; the values by key. Throws Exit (usage) with
/// "FILE:LINE: ..." for the first bad line, or when the file cannot be read.
std::map<std::string, ServeConfigLine> ReadServeConfig(const std::string& path);

}  // namespace tools
