// Subcommands of the `arenix` tool. Each command file registers itself with
// one static Command object; main() builds the command line from them.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>

namespace tools {

struct Command {
  /// `setup` adds the subcommand (and its options and callback) to the app.
  Command(std::string name, std::function<void(CLI::App&)> setup);
};

/// Exit codes: 0 done, 1 a failed call or statement, 2 bad usage or input.
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

/// Thrown by a command to end the program with a code after printing `what`
/// on standard error.
struct Exit {
  int code;
  std::string message;
};

}  // namespace tools
