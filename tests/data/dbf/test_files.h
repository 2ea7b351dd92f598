// Helpers of the table layer's tests: a temporary folder, whole-file reads
// and writes, and the error a call raises.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "automation/error.h"
#include "automation/text.h"

namespace dbf_test {

/// A fresh folder under the system's temporary folder, removed with its
/// contents when the test ends.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "arenix-dbf-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void Spit(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

/// The number and UTF-8 description of the error `fn` raises ({0, ""} when none).
template <class Fn>
std::pair<int, std::string> ErrorOf(Fn fn) {
  try {
    fn();
  } catch (const automation::Error& e) {
    return {e.number(), automation::ToUtf8(e.description())};
  }
  return {0, ""};
}

}  // namespace dbf_test
