// arenix run [FILE|-]: runs a JSON script and prints one JSON report.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "tools/arenix/command.h"
#include "tools/arenix/script_runner.h"

namespace tools {
namespace {

// "line L, column C" of a byte offset, for messages about a script.
std::string Where(const std::string& text, size_t byte) {
  size_t line = 1, col = 1;
  for (size_t i = 0; i < byte && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      col = 1;
    } else {
      ++col;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(col);
}

void RunFile(const std::string& file) {
  std::string text;
  if (file.empty() || file == "-") {
    std::stringstream ss;
    ss << std::cin.rdbuf();
    text = ss.str();
  } else {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw Exit{kExitUsage, "cannot read the script " + file};
    std::stringstream ss;
    ss << in.rdbuf();
    text = ss.str();
  }
  nlohmann::ordered_json script;
  try {
    script = nlohmann::ordered_json::parse(text);
  } catch (const nlohmann::json::parse_error& e) {
    throw Exit{kExitUsage, "malformed JSON script at byte " + std::to_string(e.byte) + " (" +
                               Where(text, e.byte == 0 ? 0 : e.byte - 1) + "): " + e.what()};
  }
  try {
    auto report = RunScript(script, std::filesystem::current_path().string());
    std::cout << report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  } catch (const ScriptError& e) {
    throw Exit{kExitUsage, std::string("bad script: ") + e.what()};
  }
}

const Command kRun("run", [](CLI::App& app) {
  auto file = std::make_shared<std::string>();
  auto* cmd = app.add_subcommand("run", "Run a JSON script of calls against the in-memory host");
  cmd->add_option("file", *file, "Script file, or - for standard input (the default)");
  cmd->callback([file] { RunFile(*file); });
});

}  // namespace
}  // namespace tools
