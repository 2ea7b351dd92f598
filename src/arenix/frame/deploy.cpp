#include "arenix/frame/deploy.h"

#include <cstdlib>
#include <unistd.h>

#include "automation/runtime.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"

namespace arenix::frame {
namespace {

class RealDeployHost : public DeployHost {
 public:
  Text SystemFolder() override {
    const char* env = std::getenv("ARENIX_SYSTEM_FOLDER");
    return automation::FromUtf8(env && *env ? env : "/usr/local/lib/arenix");
  }
  bool FileExists(TextView path) override { return platform::FileExists(path); }
  std::optional<std::string> Resource(TextView) override {
    return std::nullopt;  // the component embeds no library files
  }
  bool WriteNewFile(TextView path, std::string_view bytes) override {
    return platform::WriteNewFile(path, bytes);
  }
  void StartDetached(TextView command_line) override {
    std::vector<std::string> argv;
    std::string cmd = automation::ToUtf8(command_line);
    size_t i = 0;
    while (i < cmd.size()) {
      size_t j = cmd.find(' ', i);
      if (j == std::string::npos) j = cmd.size();
      if (j > i) argv.push_back(cmd.substr(i, j - i));
      i = j + 1;
    }
    platform::StartDetached(argv);
  }
};

}  // namespace

DeployHost& SystemDeployHost() {
  static RealDeployHost host;
  return host;
}

bool ExtractResource(TextView path, TextView resource_name, bool overwrite, DeployHost& host) {
  if (host.FileExists(path)) {
    if (!overwrite) return false;
    if (::unlink(platform::NativePath(path).c_str()) != 0) return false;
  }
  auto bytes = host.Resource(automation::UCase(resource_name));
  if (!bytes) return false;
  return host.WriteNewFile(path, *bytes);
}

void DeployLibraries(TextView list, DeployHost& host) {
  if (list.empty()) return;
  Text folder;
  try {
    folder = host.SystemFolder();
  } catch (...) {
    return;
  }
  size_t i = 0;
  while (i <= list.size()) {
    size_t bar = list.find(u'|', i);
    if (bar == TextView::npos) bar = list.size();
    Text name(list.substr(i, bar - i));
    i = bar + 1;
    try {
      Text path = automation::Replace(folder + u"\\" + name, u"\\\\", u"\\");
      if (host.FileExists(path)) continue;
      ExtractResource(path, name, false, host);
      Text lower = automation::LCase(automation::Trim(name));
      if (lower.size() >= 4 && lower.compare(lower.size() - 4, 4, u".dll") == 0)
        host.StartDetached(u"regsvr32 /s " + path);
    } catch (...) {
      // Deployment failures leave the object usable.
    }
  }
}

}  // namespace arenix::frame
