#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace platform {

bool StartDetached(const std::vector<std::string>& argv) {
  if (argv.empty()) return false;
  // A shell puts the program in the background and exits at once; waiting
  // for the shell alone leaves the program running, adopted by init.
  std::vector<std::string> args = {"sh", "-c", "command -v \"$1\" >/dev/null || exit 127; \"$@\" </dev/null >/dev/null 2>&1 &", "sh"};
  args.insert(args.end(), argv.begin(), argv.end());
  std::vector<char*> cargv;
  for (auto& a : args) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  pid_t pid;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, cargv.data(), environ) != 0) return false;
  int status = 0;
  if (waitpid(pid, &status, 0) < 0) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace platform
