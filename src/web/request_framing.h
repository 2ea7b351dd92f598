// Where one HTTP/1.1 request ends in the bytes a connection has sent so far.
// The server's reader calls it as bytes arrive, before any worker is taken:
// it finds the end of the head, counts the header fields, reads the body's
// framing (Content-Length or chunked) and says whether the request is whole,
// needs more bytes, or must be refused (400, 413, 431). A request found
// whole is handed to a worker as exactly its own bytes, so pipelined
// requests are served one after another, in order.
//
// Feed is resumable: bytes are only ever appended between calls, and a
// chunked body is scanned once however slowly it arrives.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace web {

struct FramingLimits {
  size_t max_head_bytes = 64u << 10;
  size_t max_header_fields = 100;
  size_t max_body_bytes = 32u << 20;
};

class RequestFramer {
 public:
  enum class State { NeedMore, Whole, Refused };

  explicit RequestFramer(const FramingLimits& limits) : limits_(limits) {}

  /// Looks at the connection's buffered bytes (the same start as the last
  /// call, possibly longer). Whole: request_length() bytes are one request.
  /// Refused: status() is the answer (400, 413 or 431).
  State Feed(std::string_view buffered);

  bool head_complete() const { return head_length_ > 0; }
  /// The client asked to be told to go on before it sends its body.
  bool expects_continue() const { return expect_continue_; }
  bool chunked() const { return chunked_; }
  /// The declared body length (Content-Length), 0 for none or chunked.
  size_t content_length() const { return content_length_; }
  size_t request_length() const { return request_length_; }
  /// The head's length, its blank line included (0 until it is complete).
  size_t head_length() const { return head_length_; }
  int status() const { return status_; }

  /// Starts over for the next request of the connection.
  void Reset() { *this = RequestFramer(limits_); }

 private:
  State Refuse(int status);
  State ParseHead(std::string_view head);
  State ScanChunks(std::string_view buffered);

  FramingLimits limits_;
  size_t head_length_ = 0;
  size_t content_length_ = 0;
  bool chunked_ = false;
  bool expect_continue_ = false;
  // Chunked bodies: where scanning goes on, and what the chunks hold so far.
  size_t chunk_pos_ = 0;
  size_t chunk_data_left_ = 0;  // data bytes (and their CRLF) still to skip
  bool in_trailers_ = false;
  size_t decoded_ = 0;
  size_t request_length_ = 0;
  int status_ = 0;
};

/// Undoes the chunked framing of a body the framer found whole, in place
/// (the data only ever moves towards the front): `body` starts at the first
/// chunk-size line and ends with the trailers' blank line. False (and
/// `body` cut at what was decoded) on framing the framer would not pass.
bool DecodeChunkedInPlace(std::string& body);

}  // namespace web
