// The address of the visitor behind a request: the peer, or for a request
// forwarded by a trusted proxy the last address the proxy put in
// X-Forwarded-For (the earlier ones came from the client and prove
// nothing). Shared by the pages' requests and the event streams, which are
// read before a page ever sees them.
#pragma once

#include <string>
#include <vector>

namespace web {

bool IsTrustedProxy(const std::string& peer, const std::vector<std::string>& proxies);

/// `forwarded_for`: the request's X-Forwarded-For value (may be empty).
std::string VisitorAddress(const std::string& peer, const std::string& forwarded_for,
                           const std::vector<std::string>& proxies);

}  // namespace web
