// Every limit of the page host in one place: the worker pool, keep-alive,
// timeouts, the request body limit, the script limits and the session
// lifetime. `arenix serve` and the tests start from these defaults.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace web {

struct Limits {
  /// Worker threads; one request runs on one worker from start to end. A
  /// kept-alive connection holds its worker while it is open, so this is
  /// also how many clients are served at once; the others wait to connect.
  size_t workers = 64;
  /// Requests served on one kept-alive connection (then it is closed, so
  /// that waiting clients get their turn), and how long an idle kept-alive
  /// connection is held open.
  size_t keep_alive_max_requests = 100;
  std::chrono::seconds keep_alive_timeout{5};
  /// A client that sends or takes nothing for this long is dropped.
  std::chrono::seconds read_timeout{10};
  std::chrono::seconds write_timeout{10};
  /// Largest request body (uploads included); larger bodies get 413.
  size_t max_body_bytes = 32u << 20;
  /// A page script is stopped after this much running time...
  std::chrono::milliseconds script_time{5000};
  /// ...or when its script heap would grow past this.
  size_t script_memory_bytes = 64u << 20;
  /// A session unused for this long is forgotten.
  std::chrono::minutes session_idle{20};
  /// Login failures: after this many failures within the window, for one
  /// account or from one client address, further attempts are refused for
  /// a delay that doubles with each further lock-out, up to the longest.
  int login_failures = 10;
  std::chrono::minutes login_window{10};
  std::chrono::seconds login_delay{60};
  std::chrono::seconds login_delay_max{3600};
};

struct ServerConfig {
  std::string bind = "127.0.0.1";
  int port = 8080;  // 0: any free port
  /// The site folder (pages and comm/ resources) and the meet's data folder
  /// that "/data" maps to.
  std::string site_dir;
  std::string data_dir;
  /// Access log destination: one line per request; empty path: standard
  /// output.
  std::string access_log;
  bool quiet = false;  // no access log at all
  Limits limits;
};

}  // namespace web
