// Runs a compiled page with a time limit and a memory limit, and with the
// page's host objects as the globals Request, Response, Server and Session.
// Each worker thread keeps one engine heap, with its built-ins, from request
// to request; every request gets a fresh global object, and a heap whose
// built-ins a page changed is not used again, so no global, prototype or
// host-object change of one page reaches the next; a page stopped by a
// limit or a fatal engine error leaves the heap behind for a new one.
//
// The bridge: every automation object reaches the script as a proxy whose
// members forward to Object::Invoke by name (methods when called, values
// of the plain properties when read, PropertyPut when assigned); a `Ref`
// holder passes a variable by reference (`var conn = new Ref();
// arenix.CommSetConn(Server, conn, Response)` leaves the connection in
// conn.value). Numbers, texts, Booleans, dates, Null and Empty (undefined)
// cross as themselves; arrays as arrays; byte arrays as opaque values.
//
// Thread-safe: each thread has its own engine.
#pragma once

#include <chrono>
#include <string>

#include "automation/variant.h"
#include "host/host.h"
#include "web/page_compiler.h"

namespace web {

struct PageObjects {
  automation::Variant request, response, server, session;
  host::Response* response_object = nullptr;  // the same response, typed
  /// Tells whether the response has ended (Response.End, the error page).
  bool (*ended)(const host::Response&) = nullptr;
};

/// A run's time and heap, and what the worker's heap may keep after it;
/// the server takes them from its limits (`Limits::script_time`,
/// `Limits::script_memory_bytes`, `Limits::script_heap_kept_bytes` in
/// web/config.h).
struct ScriptLimits {
  std::chrono::milliseconds time;
  size_t memory;
  size_t kept = 2u << 20;     // heap bytes kept between requests
  size_t programs_kept = 0;  // page programs an engine keeps loaded
};

struct ScriptResult {
  enum class Kind { Done, Error, TimedOut, OutOfMemory };
  Kind kind = Kind::Done;
  std::string message;  // UTF-8
  std::string file;     // site path of the file the error is in
  int line = 0;         // its line, 0 when unknown
};

/// Runs the page (its bytecode when it has one, else its program text).
ScriptResult RunScript(const CompiledPage& page, const PageObjects& objects, const ScriptLimits& limits);

/// Bytes the calling thread's kept engine heap holds now (0 without one).
size_t ScriptHeapBytes();

/// A page program compiled to the engine's bytecode, so that each request
/// loads it instead of compiling it again; empty when it does not compile.
std::string ScriptBytecode(const std::string& program);

}  // namespace web
