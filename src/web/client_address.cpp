#include "web/client_address.h"

#include <algorithm>

namespace web {

bool IsTrustedProxy(const std::string& peer, const std::vector<std::string>& proxies) {
  return std::find(proxies.begin(), proxies.end(), peer) != proxies.end();
}

std::string VisitorAddress(const std::string& peer, const std::string& forwarded_for,
                           const std::vector<std::string>& proxies) {
  if (!IsTrustedProxy(peer, proxies)) return peer;
  const size_t comma = forwarded_for.rfind(',');
  std::string last = forwarded_for.substr(comma == std::string::npos ? 0 : comma + 1);
  last.erase(0, last.find_first_not_of(" \t"));
  last.erase(last.find_last_not_of(" \t") + 1);
  const bool address = !last.empty() && last.size() <= 45 &&
                       last.find_first_not_of("0123456789abcdefABCDEF.:") == std::string::npos;
  return address ? last : peer;
}

}  // namespace web
