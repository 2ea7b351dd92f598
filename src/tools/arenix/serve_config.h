// The service's configuration file (/etc/arenix/arenix.conf): `key = value`
// lines, `#` starts a comment line. Keys: data (the meet folder), port,
// bind, site, workers, log, quiet (yes/no), node (this server's name when
// several serve one meet), proxy (addresses of reverse proxies in front), timing (the camera's result folder).
// An unknown key, a repeated key
// or a bad value is refused naming the file and the line, so that the
// service does not start on a mistyped setting.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tools {

struct ServeConfigLine {
  std::string value;
  int line = 0;
};

/// A server's name among several serving one meet: 1 to 16 lower-case
/// letters and digits (it begins the session ids the balancer routes by).
bool IsNodeName(const std::string& v);
/// "a, b" as {"a", "b"}; empty when an entry is empty.
std::vector<std::string> SplitAddresses(const std::string& v);

/// Reads and checks the file; the values by key. Throws Exit (usage) with
/// "FILE:LINE: ..." for the first bad line, or when the file cannot be read.
std::map<std::string, ServeConfigLine> ReadServeConfig(const std::string& path);

}  // namespace tools
