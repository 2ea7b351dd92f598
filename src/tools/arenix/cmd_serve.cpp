// arenix serve [--config FILE] [--site DIR] [--data DIR] [--work DIR] [--bind ADDR] [--port N] [--node NAME] [--proxy ADDR]
// [--timing DIR]: starts the web module. Without --data it serves a sample meet that
// `arenix demo` writes into the working folder on first run. Settings on
// the command line win over the configuration file's.
#include <pthread.h>
#include <signal.h>

#include <filesystem>
#include <iostream>
#include <thread>

#include "automation/error.h"
#include "arenix/meet/demo/demo_meet.h"
#include "tools/arenix/command.h"
#include "tools/arenix/meet_folder_check.h"
#include "tools/arenix/serve_config.h"
#include "web/server.h"

#ifndef ARENIX_SITE_DIR
#define ARENIX_SITE_DIR "site"
#endif

namespace tools {
namespace {

namespace fs = std::filesystem;

// The site installed beside the program (PREFIX/bin/arenix ->
// PREFIX/share/arenix/site), else the one of the source tree it was built
// from.
std::string DefaultSite() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    fs::path installed = exe.parent_path().parent_path() / "share" / "arenix" / "site";
    if (fs::is_directory(installed, ec)) return installed.string();
  }
  return ARENIX_SITE_DIR;
}

struct ServeArgs {
  std::string config;
  std::string site = DefaultSite();
  std::string data;
  std::string work = "arenix-meet";
  std::string bind = "127.0.0.1";
  int port = 8080;
  size_t workers = 0;
  std::string log;
  bool quiet = false;
  std::string node;
  std::vector<std::string> proxies;
  std::string timing;
};

bool HasTables(const fs::path& dir) {
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.path().extension() == ".dbf" || e.path().extension() == ".DBF") return true;
  return false;
}

// Takes the configuration file's settings that the command line left out.
void ApplyConfig(ServeArgs& args, const CLI::App& cmd) {
  if (args.config.empty()) return;
  for (const auto& [key, v] : ReadServeConfig(args.config)) {
    if (cmd.get_option("--" + key)->count() > 0) continue;
    if (key == "data") args.data = v.value;
    else if (key == "site") args.site = v.value;
    else if (key == "bind") args.bind = v.value;
    else if (key == "log") args.log = v.value;
    else if (key == "port") args.port = std::stoi(v.value);
    else if (key == "workers") args.workers = std::stoul(v.value);
    else if (key == "quiet") args.quiet = v.value == "yes";
    else if (key == "node") args.node = v.value;
    else if (key == "proxy") args.proxies = SplitAddresses(v.value);
    else if (key == "timing") args.timing = v.value;
  }
}

void RunServe(const ServeArgs& args) {
  web::ServerConfig config;
  config.bind = args.bind;
  config.port = args.port;
  config.site_dir = args.site;
  config.access_log = args.log;
  config.node = args.node;
  config.trusted_proxies = args.proxies;
  config.quiet = args.quiet;
  if (args.workers) config.limits.workers = args.workers;
  if (!fs::is_directory(args.site)) throw Exit{kExitUsage, "arenix serve: no site folder at " + args.site};
  if (!args.timing.empty() && !fs::is_directory(args.timing))
    throw Exit{kExitUsage, "arenix serve: no timing folder at " + args.timing};
  config.timing_dir = args.timing;

  if (!args.data.empty()) {
    std::vector<std::string> problems = CheckMeetFolder(args.data);
    if (!problems.empty()) {
      std::string message = "arenix serve: the meet folder " + args.data + " cannot be served:";
      for (const std::string& p : problems) message += "\n  " + p;
      throw Exit{kExitUsage, message};
    }
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
  cmd->add_option("--config", args->config,
                  "read the settings from this file (key = value lines: data, port, bind, site, workers, "
                  "log, quiet, node, proxy, timing)");
  cmd->add_option("--site", args->site, "the site folder (pages and comm/ resources)");
  cmd->add_option("--data", args->data, "an existing meet folder for /data (default: the sample meet)");
  cmd->add_option("--work", args->work, "working folder for the sample meet (default: ./arenix-meet)");
  cmd->add_option("--bind", args->bind, "address to listen on (default 127.0.0.1)");
  cmd->add_option("--port", args->port, "port (default 8080; 0 picks a free one)")->check(CLI::Range(0, 65535));
  cmd->add_option("--workers", args->workers, "worker threads: pages run at once (default 16)");
  cmd->add_option("--log", args->log, "append the access log to this file instead of standard output");
  cmd->add_flag("--quiet", args->quiet, "no access log (failures are still logged)");
  cmd->add_option("--node", args->node,
                  "this server's name when several serve one meet behind nginx (see the README); "
                  "its session ids begin with it")
      ->check([](const std::string& v) { return IsNodeName(v) ? "" : "1 to 16 lower-case letters and digits"; });
  cmd->add_option("--proxy", args->proxies,
                  "the address of a reverse proxy in front (repeatable): its connections are not capped per "
                  "client and its X-Forwarded-For names the visitor");
  cmd->add_option("--timing", args->timing,
                  "the folder the photo-finish camera writes its result files (.lif) into; the entry page "
                  "lists them for the recorder to check and save");
  cmd->callback([args, cmd] {
    ApplyConfig(*args, *cmd);
    RunServe(*args);
  });
});

}  // namespace
}  // namespace tools
