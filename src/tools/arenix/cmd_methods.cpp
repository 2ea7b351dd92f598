// arenix methods: the catalogue, one method a line, in interface order, each
// declaration followed by what the method does.
#include <iostream>

#include "arenix/frame/arenix_cls.h"
#include "tools/arenix/command.h"

namespace tools {
namespace {

const Command kMethods("methods", [](CLI::App& app) {
  auto* cmd = app.add_subcommand("methods", "List the component's methods in interface order, each with what it does");
  cmd->callback([] {
    for (const auto& entry : arenix::Catalogue())
      std::cout << automation::ToUtf8(automation::DescribeMethod(entry.decl)) << "  -- "
                << automation::ToUtf8(entry.decl.description) << "\n";
  });
});

}  // namespace
}  // namespace tools
