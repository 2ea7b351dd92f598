// arenix demo DIR [--force]: writes the sample meet as free tables.
#include <iostream>

#include "automation/error.h"
#include "arenix/meet/demo/demo_meet.h"
#include "tools/arenix/command.h"

namespace tools {
namespace {

struct DemoArgs {
  std::string dir;
  bool force = false;
};

void RunDemo(const DemoArgs& args) {
  std::vector<arenix::meet::demo::WrittenTable> written;
  try {
    written = arenix::meet::demo::WriteDemoMeet(args.dir, {args.force});
  } catch (const automation::Error& e) {
    int code = e.number() == automation::err::kFileExists ? kExitUsage : kExitFailed;
    throw Exit{code, e.what()};
  }
  uint64_t rows = 0;
  for (const auto& t : written) {
    std::cout << t.file;
    if (!t.memo_file.empty()) std::cout << " + " << t.memo_file;
    std::cout << ": " << t.rows << (t.rows == 1 ? " row" : " rows") << "\n";
    rows += t.rows;
  }
  std::cout << "sample meet written to " << args.dir << ": " << written.size() << " tables, " << rows
            << " rows\n";
}

Command demo("demo", [](CLI::App& app) {
  auto args = std::make_shared<DemoArgs>();
  CLI::App* cmd = app.add_subcommand("demo", "write a sample meet as free tables into a folder");
  cmd->add_option("DIR", args->dir, "folder for the tables (made when missing)")->required();
  cmd->add_flag("--force", args->force, "replace the meet's tables in a folder that already holds tables");
  cmd->callback([args] { RunDemo(*args); });
});

}  // namespace
}  // namespace tools
