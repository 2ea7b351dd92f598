// arenix: the command-line tool for people and scripts.
#include <algorithm>
#include <iostream>
#include <vector>

#include "arenix/frame/arenix_cls.h"
#include "tools/arenix/command.h"

namespace tools {
namespace {
std::vector<std::pair<std::string, std::function<void(CLI::App&)>>>& Commands() {
  static std::vector<std::pair<std::string, std::function<void(CLI::App&)>>> list;
  return list;
}
}  // namespace

Command::Command(std::string name, std::function<void(CLI::App&)> setup) {
  Commands().emplace_back(std::move(name), std::move(setup));
}

}  // namespace tools

int main(int argc, char** argv) {
  arenix::RegisterClasses();
  CLI::App app{"arenix: the sports-meet web module's component, from the command line"};
  app.require_subcommand(1);
  std::sort(tools::Commands().begin(), tools::Commands().end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [name, setup] : tools::Commands()) setup(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    return code == 0 ? 0 : tools::kExitUsage;
  } catch (const tools::Exit& e) {
    if (!e.message.empty()) std::cerr << e.message << "\n";
    return e.code;
  } catch (const std::exception& e) {
    // Nothing a script or argument holds may abort the tool.
    std::cerr << "arenix: " << e.what() << "\n";
    return tools::kExitFailed;
  }
  return 0;
}
