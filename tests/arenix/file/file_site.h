// A site in a fresh temporary folder for the file services' tests: the
// in-memory server maps "/" there (which makes it the site), and helpers
// write and read files under it. Removed at the end of the test.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "automation/text.h"
#include "host/memory_host.h"
#include "support/node.h"

namespace arenix::file::testing {

using automation::Text;
using automation::Variant;
namespace fs = std::filesystem;

struct ShellRun {
  int status = -1;
  std::string output;  // standard output and standard error
};

/// Runs a shell command line and collects what it prints.
inline ShellRun RunShell(const std::string& cmd) {
  ShellRun r;
  FILE* p = ::popen((cmd + " 2>&1").c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
  int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

inline std::string Q(const std::string& s) { return arenix::testing::ShellQuote(s); }

struct FileSite {
  FileSite() {
    std::string pattern = (fs::temp_directory_path() / "arenix-site-XXXXXX").string();
    root = ::mkdtemp(pattern.data());
    server_object = std::make_shared<host::MemoryServer>(automation::FromUtf8(root));
    Server = Variant(automation::ObjectPtr(server_object));
  }
  ~FileSite() { fs::remove_all(root); }

  /// The native path of a site-relative name ("a/b.txt").
  std::string Native(const std::string& rel) const { return root + "/" + rel; }
  /// The same as a component path text with Windows separators.
  Text Path(const std::string& rel) const {
    std::string p = Native(rel);
    for (auto& c : p)
      if (c == '/') c = '\\';
    return automation::FromUtf8(p);
  }
  void Write(const std::string& rel, const std::string& bytes) const {
    fs::create_directories(fs::path(Native(rel)).parent_path());
    std::ofstream(Native(rel), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& rel) const {
    std::ifstream in(Native(rel), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  bool Exists(const std::string& rel) const {
    struct stat st;
    return ::lstat(Native(rel).c_str(), &st) == 0;
  }

  /// The site the in-memory server made of the folder.
  const platform::Site& site() const { return server_object->site(); }

  std::string root;
  std::shared_ptr<host::MemoryServer> server_object;
  Variant Server;
};

}  // namespace arenix::file::testing
