// A site in a fresh temporary folder for the file services' tests: the
// in-memory server maps "/" there (which makes it the site), and helpers
// write and read files under it. Removed at the end of the test.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "automation/text.h"
#include "host/memory_host.h"

namespace arenix::file::testing {

using automation::Text;
using automation::Variant;
namespace fs = std::filesystem;

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

  std::string root;
  std::shared_ptr<host::MemoryServer> server_object;
  Variant Server;
};

}  // namespace arenix::file::testing
