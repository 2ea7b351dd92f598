// Every limit of the page host in one place: the worker pool, keep-alive,
// the deadlines and sizes of request reading, connections per client, the script and compile limits,
// the kept replies, static files' cache lifetime, include depth and the session lifetime. `arenix serve`
// and the tests start from these defaults.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace web {

struct Limits {
  /// Worker threads: pages in progress at once (those waiting for a lock
  /// or a slow client included), each on one worker from start to end.
  /// Requests are read by the connection loop before a worker is taken, so
  /// idle and slow clients hold none. Each worker keeps its script heap and
  /// meet connections between pages, so the server's memory grows with it.
  size_t workers = 16;
  /// Workers set running at once while requests wait (0: one a core); a
  /// worker stays hot with its engine and pooled connection, where waking
  /// every worker in turn would make each request start cold. Another is
  /// woken when a running one has used less than half its CPU over a tick
  /// of `worker_stall` (waiting on a slow client, a lock or a file).
  size_t running_workers = 0;
  std::chrono::milliseconds worker_stall{10};
  /// A request running this long stops counting towards `running_workers`:
  /// short pages are not held up behind a long one.
  std::chrono::milliseconds long_request{250};
  /// Requests served on one kept-alive connection (then it is closed, so
  /// that waiting clients get their turn), and how long an idle kept-alive
  /// connection is held open.
  size_t keep_alive_max_requests = 100;
  std::chrono::seconds keep_alive_timeout{5};
  /// Reading a request takes no worker; these bound what a client can hold.
  /// Total time from a request's first byte (or the connection's accept) to
  /// the end of its head, and from there to the end of its body plus the
  /// time its declared length takes at `min_body_rate` bytes a second:
  /// deadlines that a byte a second cannot reset.
  std::chrono::milliseconds header_deadline{10000};
  std::chrono::milliseconds body_deadline{30000};
  size_t min_body_rate = 64u << 10;
  /// A client that takes no bytes of its response for this long is dropped.
  std::chrono::milliseconds write_timeout{10000};
  /// A reply up to this size is sent by the connection loop when the client
  /// is slow to take it, so that the worker goes on to the next request; a
  /// larger one (a download) keeps its worker while it goes out.
  size_t held_reply_bytes = 256u << 10;
  /// Largest request body, chunked bodies included (uploads too); larger
  /// bodies get 413.
  size_t max_body_bytes = 32u << 20;
  /// Largest request head and most header fields (431 beyond).
  size_t max_head_bytes = 64u << 10;
  size_t max_header_fields = 100;
  /// Most fields of an urlencoded form (413 beyond); a delegation's whole
  /// registration is some 20 fields an athlete.
  size_t max_form_fields = 5000;
  /// Open connections of one client address; more are refused with 429.
  size_t connections_per_client = 64;
  /// A page script is stopped after this much running time...
  std::chrono::milliseconds script_time{5000};
  /// ...or when its script heap would grow past this.
  size_t script_memory_bytes = 64u << 20;
  /// A worker's script heap between requests: grown by more than this
  /// since its last collection, it is collected after the page; its live
  /// part (loaded programs, interned texts) past the second, made anew.
  size_t script_heap_kept_bytes = 2u << 20;
  size_t script_heap_max_bytes = 16u << 20;
  /// How often the allocator's free memory is given back to the system
  /// (0: never); the workers' temporary buffers leave it behind.
  std::chrono::milliseconds memory_trim_interval{5000};
  /// Between two trims the allocator keeps up to this much freed memory at
  /// the top of a worker's arena, and serves blocks up to
  /// `malloc_mmap_threshold` from the arenas rather than mapping each one:
  /// a large page's buffers are then reused from one run to the next instead
  /// of being mapped and faulted in again (some 130 page faults a run of a
  /// 900-entrant list). 0: the allocator's own adaptive choice.
  size_t malloc_trim_threshold = 16u << 20;
  size_t malloc_mmap_threshold = 4u << 20;
  /// Page programs a worker's script engine keeps loaded (past this many
  /// they are all dropped and loaded again as pages come).
  size_t script_programs_kept = 32;
  /// Public replies kept for reuse (a page that does not depend on the
  /// visitor); past this many the kept replies are dropped and made again.
  size_t kept_replies = 512;
  /// Folders of the site and the meet watched for changes that make kept
  /// replies stale; with more, replies are checked against the files.
  size_t watched_folders = 256;
  /// Request paths whose site file is kept while the site is unchanged
  /// (0: every request looks its file up); past this many all are dropped.
  size_t resolved_paths = 256;
  /// How long a browser may keep the site's static files (scripts, styles,
  /// images) before asking again.
  std::chrono::seconds static_max_age{300};
  /// A session unused for this long is forgotten.
  std::chrono::minutes session_idle{20};
  /// Login failures: after this many failures within the window, for one
  /// account or from one client address, further attempts are refused for
  /// a delay that doubles with each further lock-out, up to the longest.
  int login_failures = 10;
  std::chrono::minutes login_window{10};
  std::chrono::seconds login_delay{60};
  std::chrono::seconds login_delay_max{3600};
  /// Largest photo-finish result file read (one heat is a few kilobytes).
  size_t timing_file_bytes = 1u << 20;
  /// Most result files of the timing folder listed on the entry page (newest first).
  size_t timing_files_listed = 200;
  /// Live result streams: open streams of one client address (more get
  /// 429; spectators on a venue's Wi-Fi often share one address) and in
  /// all, the heartbeat that keeps proxies from closing an idle stream, the events a topic keeps for clients that reconnect, and the
  /// unsent bytes a stream may pile up before its client is dropped.
  size_t streams_per_client = 32;
  size_t streams_total = 20000;
  std::chrono::milliseconds stream_heartbeat{15000};
  size_t stream_replay = 16;
  size_t stream_max_unsent = 64u << 10;
};

/// Compiling a page to bytecode happens once per page file, not per
/// request, and is bounded like a run: a page that takes longer or more
/// memory to compile runs from its text instead.
inline constexpr std::chrono::seconds kCompileTime{10};
inline constexpr size_t kCompileMemoryBytes = 64u << 20;
/// Includes nested deeper than this are refused (a page that includes
/// itself stops here).
inline constexpr int kMaxIncludeDepth = 16;

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
  /// This server's name among several that serve one meet behind a load
  /// balancer (1 to 16 lower-case letters and digits). Its session ids
  /// begin with the name and a dot, so that the balancer can send every
  /// request of a session to the server that holds it. Empty: one server.
  std::string node;
  /// Addresses of the reverse proxies in front of this server (nginx).
  /// Their connections are not capped per client, and the client of a
  /// request one of them forwards is the last address of its
  /// X-Forwarded-For header: the login throttle, REMOTE_ADDR and the access
  /// log see the visitor, not the proxy; its X-Forwarded-Proto tells
  /// whether the visitor used TLS. The headers of anyone else are not
  /// believed.
  std::vector<std::string> trusted_proxies;
  /// The folder the photo-finish camera writes its result files into
  /// (`--timing DIR`); the entry page lists them for import. Empty: none.
  std::string timing_dir;
  Limits limits;
};

}  // namespace web
