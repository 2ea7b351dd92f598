// The page compiler: an .asp file with its includes becomes one JavaScript
// program. Text outside "<% %>" becomes output calls, "<%= e %>" writes e,
// "<!--#include file|virtual="..." -->" inlines another file. Lines of the
// program stay in step with the lines of the files, so that an error names
// the file and line an author can open.
//
// Thread-safe: PageCache may be shared by all workers.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "web/site_files.h"

namespace web {

/// Where the lines of the program came from.
struct LineSpan {
  int first_line;          // first program line of the span (1-based)
  std::string file;        // site path of the file ("/inc/head.asp")
  int file_line;           // its line at first_line
};

struct CompiledPage {
  std::string program;     // JavaScript (UTF-8)
  std::vector<LineSpan> lines;
  int code_page = 936;     // from "<%@ CodePage=65001 %>"
  /// The program compiled once for the script engine; empty when it does
  /// not compile (each run then reports the syntax error).
  std::string bytecode;
  /// This compilation, for the engines that keep its program loaded; 0 for
  /// a page that is not kept.
  uint64_t id = 0;
  /// Every file read, with its modification time, to tell when to compile again.
  std::vector<std::pair<std::string, int64_t>> files;

  /// The file and line of a program line.
  std::pair<std::string, int> Locate(int program_line) const;
};

/// The name of the output function the program calls for page text.
inline constexpr const char* kWriteFunction = "__w";

/// Compiles the page at `site_path` (native file `native_path`); raises
/// automation::Error 53 naming a missing include, 5 for an include cycle
/// or an unterminated "<%".
CompiledPage CompilePage(const SiteFiles& site, const std::string& native_path, const std::string& site_path);

/// Compiled pages by file, compiled again when one of their files changes.
class PageCache {
 public:
  explicit PageCache(const SiteFiles& site) : site_(site) {}
  /// `generation`: the site's change generation, read before this call,
  /// when every change of its files is seen (ChangeWatch); 0 when not. A
  /// page found unchanged at a generation is not compared with its files
  /// again until the generation moves.
  std::shared_ptr<const CompiledPage> Get(const std::string& native_path, const std::string& site_path,
                                          uint64_t generation = 0);

 private:
  struct Kept {
    std::shared_ptr<const CompiledPage> page;
    uint64_t checked_at = 0;  // the generation its files were last compared at
  };
  const SiteFiles& site_;
  std::mutex mu_;
  std::map<std::string, Kept> pages_;
};

}  // namespace web
