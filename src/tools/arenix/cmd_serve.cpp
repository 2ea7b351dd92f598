// arenix serve [--site DIR] [--data DIR] [--work DIR] [--bind ADDR] [--port N]:
// starts the web module. Without --data it serves a sample meet that
// `arenix demo` writes into the working folder on first run.
#include <pthread.h>
#include <signal.h>

#include <filesystem>
#include <iostream>
#include <thread>

#include "automation/error.h"
#include "arenix/meet/demo/demo_meet.h"
#include "tools/arenix/command.h"
#include "web/server.h"

#ifndef ARENIX_SITE_DIR
#define ARENIX_SITE_DIR "site"
#endif

namespace tools {
namespace {

namespace fs = std::filesystem;

struct ServeArgs {
  std::string site = ARENIX_SITE_DIR;
  std::string data;
  std::string work = "arenix-meet";
  std::string bind = "127.0.0.1";
  int port = 8080;
  size_t workers = 0;
  std::string log;
  bool quiet = false;
};

bool HasTables(const fs::path& dir) {
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.path().extension() == ".dbf" || e.path().extension() == ".DBF") return true;
  return false;
}

void RunServe(const ServeArgs& args) {
  web::ServerConfig config;
  config.bind = args.bind;
  config.port = args.port;
  config.site_dir = args.site;
  config.access_log = args.log;
  config.quiet = args.quiet;
  if (args.workers) config.limits.workers = args.workers;
  if (!fs::is_directory(args.site)) throw Exit{kExitUsage, "arenix serve: no site folder at " + args.site};

  if (!args.data.empty()) {
    if (!fs::exists(fs::path(args.data) / "xtsz.dbf") && !HasTables(args.data))
      throw Exit{kExitUsage, "arenix serve: " + args.data + " holds no meet (no xtsz table)"};
    config.data_dir = args.data;
  } else {
    fs::path data = fs::path(args.work) / "data";
    if (!HasTables(data)) {
      try {
        arenix::meet::demo::WriteDemoMeet(data.string(), {});
      } catch (const automation::Error& e) {
        throw Exit{kExitFailed, std::string("arenix serve: cannot write the sample meet: ") + e.what()};
      }
      std::cout << "sample meet written to " << data.string() << "\n";
    }
    config.data_dir = data.string();
  }

  // SIGINT and SIGTERM are taken by one thread that stops the server; the
  // workers never see them.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  web::PageServer server(config);
  std::string error;
  if (!server.Bind(error)) throw Exit{kExitFailed, "arenix serve: " + error};
  std::string host = args.bind == "0.0.0.0" ? "127.0.0.1" : args.bind;
  std::cout << "Arenix web module: site " << fs::absolute(args.site).lexically_normal().string() << ", meet "
            << fs::absolute(config.data_dir).lexically_normal().string() << "\n"
            << "open http://" << host << ":" << server.port() << "/ in a browser (Ctrl-C stops)\n"
            << std::flush;

  std::thread waiter([&] {
    int sig = 0;
    sigwait(&stop_signals, &sig);
    if (sig != 0) {
      std::cout << "stopping: finishing the running requests\n" << std::flush;
      server.Stop();
    }
  });
  server.Run();
  // Run can also end on its own (the socket failed): release the waiter.
  pthread_kill(waiter.native_handle(), SIGTERM);
  waiter.join();
  std::cout << "stopped\n";
}

Command serve("serve", [](CLI::App& app) {
  auto args = std::make_shared<ServeArgs>();
  CLI::App* cmd = app.add_subcommand("serve", "start the web module: the meet's pages over HTTP");
  cmd->add_option("--site", args->site, "the site folder (pages and comm/ resources)");
  cmd->add_option("--data", args->data, "an existing meet folder for /data (default: the sample meet)");
  cmd->add_option("--work", args->work, "working folder for the sample meet (default: ./arenix-meet)");
  cmd->add_option("--bind", args->bind, "address to listen on (default 127.0.0.1)");
  cmd->add_option("--port", args->port, "port (default 8080; 0 picks a free one)")->check(CLI::Range(0, 65535));
  cmd->add_option("--workers", args->workers, "worker threads: clients served at once (default 64)");
  cmd->add_option("--log", args->log, "append the access log to this file instead of standard output");
  cmd->add_flag("--quiet", args->quiet, "no access log");
  cmd->callback([args] { RunServe(*args); });
});

}  // namespace
}  // namespace tools
