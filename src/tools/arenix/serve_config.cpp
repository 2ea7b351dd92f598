#include "tools/arenix/serve_config.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>

#include "tools/arenix/command.h"

namespace tools {
namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

bool WholeNumber(const std::string& v, long min, long max) {
  long n = 0;
  auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  return ec == std::errc() && end == v.data() + v.size() && n >= min && n <= max;
}

// Empty when the value suits the key, else what is wrong with it.
std::string CheckValue(const std::string& key, const std::string& v) {
  if (key == "port") return WholeNumber(v, 0, 65535) ? "" : "the port must be a number from 0 to 65535";
  if (key == "workers") return WholeNumber(v, 1, 4096) ? "" : "workers must be a number from 1 to 4096";
  if (key == "quiet") return v == "yes" || v == "no" ? "" : "quiet must be yes or no";
  if (key == "data" || key == "site" || key == "log" || key == "timing")
    return !v.empty() && v[0] == '/' ? "" : key + " must be an absolute path";
  if (key == "bind") return v.empty() ? "bind must be an address" : "";
  if (key == "node") return IsNodeName(v) ? "" : "node must be 1 to 16 lower-case letters and digits";
  if (key == "proxy") return SplitAddresses(v).empty() ? "proxy must list addresses, separated by commas" : "";
  return "unknown key '" + key + "' (known: data, port, bind, site, workers, log, quiet, node, proxy, timing)";
}

}  // namespace

std::vector<std::string> SplitAddresses(const std::string& v) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at <= v.size()) {
    size_t comma = v.find(',', at);
    if (comma == std::string::npos) comma = v.size();
    std::string one = Trim(v.substr(at, comma - at));
    if (one.empty() || one.find_first_of(" \t") != std::string::npos) return {};
    out.push_back(one);
    at = comma + 1;
  }
  return out;
}

bool IsNodeName(const std::string& v) {
  if (v.empty() || v.size() > 16) return false;
  for (char c : v)
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  return true;
}

std::map<std::string, ServeConfigLine> ReadServeConfig(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw Exit{kExitUsage, "arenix serve: cannot read " + path + ": " + std::strerror(errno)};
  std::map<std::string, ServeConfigLine> values;
  std::string raw;
  for (int number = 1; std::getline(in, raw); ++number) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') continue;
    auto fail = [&](const std::string& why) {
      return Exit{kExitUsage, "arenix serve: " + path + ":" + std::to_string(number) + ": " + why};
    };
    size_t eq = line.find('=');
    if (eq == std::string::npos) throw fail("expected key = value, found '" + line + "'");
    std::string key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
    if (std::string why = CheckValue(key, value); !why.empty()) throw fail(why);
    if (values.count(key))
      throw fail("'" + key + "' is already set on line " + std::to_string(values[key].line));
    values[key] = {value, number};
  }
  return values;
}

}  // namespace tools
