// Runs node from tests: a syntax check of emitted script, and scripts that
// drive headless Chromium through playwright-core (see arenix_browser.js).
// Node finds the pinned npm packages of tools-cache/ and the helpers of
// this folder by name (NODE_PATH). Header-only, so every test folder can use
// it without linking anything.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

/// Opens a test that drives Chromium. Browser tests run in the optimised
/// build only: what they check is what a page does in the browser, and the
/// server code they reach runs under the sanitizers in the tests that call
/// it directly, so a second run there would cost minutes and find nothing new.
#ifdef ARENIX_SANITIZED
#define ARENIX_BROWSER_TEST() GTEST_SKIP() << "browser tests run in the optimised build"
#else
#define ARENIX_BROWSER_TEST() static_cast<void>(0)
#endif

namespace arenix::testing {

/// The folder where a test keeps what a person should look at afterwards
/// (screenshots, chart images, exports): build/artifacts/<name>.
inline std::string ArtifactDir(const std::string& name) {
  std::filesystem::path dir = std::filesystem::path(ARENIX_ARTIFACT_DIR) / name;
  std::filesystem::create_directories(dir);
  return dir.string();
}

struct NodeRun {
  int status = -1;     // exit status; -1 when node could not be started
  std::string output;  // standard output and standard error together
};

inline std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

/// Runs `node ARGS...` with NODE_PATH set to the npm packages and this folder.
inline NodeRun RunNode(const std::vector<std::string>& args) {
  std::string cmd = "NODE_PATH=" + ShellQuote(std::string(ARENIX_SOURCE_DIR) + "/tools-cache/node_modules:" +
                                              ARENIX_SOURCE_DIR + "/tests/support") +
                    " node";
  for (const auto& a : args) cmd += " " + ShellQuote(a);
  cmd += " 2>&1";
  NodeRun run;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return run;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) run.output.append(buf, n);
  int st = pclose(p);
  run.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return run;
}

/// Writes `text` to a fresh file in the temporary folder and returns its path.
inline std::string WriteTempFile(const std::string& text, const std::string& suffix) {
  std::string pattern = (std::filesystem::temp_directory_path() / ("arenix-XXXXXX" + suffix)).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = mkstemps(name.data(), static_cast<int>(suffix.size()));
  if (fd < 0) return {};
  close(fd);
  std::ofstream(name.data(), std::ios::binary) << text;
  return name.data();
}

/// `node --check` on a script text (UTF-8). Empty when it parses, else
/// node's message.
inline std::string NodeCheck(const std::string& script) {
  std::string path = WriteTempFile(script, ".js");
  NodeRun run = RunNode({"--check", path});
  std::filesystem::remove(path);
  return run.status == 0 ? std::string() : (run.output.empty() ? "node did not run" : run.output);
}

}  // namespace arenix::testing
