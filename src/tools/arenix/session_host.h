// The variables a command-line call or script runs with: the in-memory host
// objects, the connection and record set, and the script's own variables,
// in creation order.
#pragma once

#include <memory>
#include <vector>

#include "automation/variant.h"
#include "host/memory_host.h"

namespace tools {

class Variables {
 public:
  /// Makes the predefined variables: Request, Response, Server (site root
  /// `site`; "/data" mounted on `data` unless it is empty), Session, Conn and
  /// Rs (a connection and a record set object, not opened; Empty when the
  /// database engine is not registered).
  Variables(const automation::Text& site, const automation::Text& data);

  /// The variable of a name (created Empty when new); names ignore case.
  automation::Variant& Get(const automation::Text& name);
  const std::vector<std::pair<automation::Text, automation::Variant>>& all() const { return vars_; }

  host::MemoryRequest& request() { return *request_; }
  host::MemoryResponse& response() { return *response_; }
  host::MemorySession& session() { return *session_; }
  host::MemoryServer& server() { return *server_; }

 private:
  std::shared_ptr<host::MemoryRequest> request_;
  std::shared_ptr<host::MemoryResponse> response_;
  std::shared_ptr<host::MemoryServer> server_;
  std::shared_ptr<host::MemorySession> session_;
  // A deque-like store: references handed out stay valid as variables are added.
  std::vector<std::pair<automation::Text, automation::Variant>> vars_;
};

}  // namespace tools
