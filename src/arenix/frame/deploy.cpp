#include "arenix/frame/deploy.h"

#include <cstdlib>
#include <unistd.h>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"

namespace arenix::frame {
namespace {

Text Upper(TextView s) {
  Text out(s);
  for (auto& c : out)
    if (c >= u'a' && c <= u'z') c -= 32;
  return out;
}

Text TrimLower(TextView s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == u' ') ++b;
  while (e > b && s[e - 1] == u' ') --e;
  return automation::AsciiLower(s.substr(b, e - b));
}

Text ReplaceAll(Text s, TextView from, TextView to) {
  size_t pos = 0;
  while ((pos = s.find(from, pos)) != Text::npos) {
    s.replace(pos, from.size(), to);
    pos += to.size();
  }
  return s;
}

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
  auto bytes = host.Resource(Upper(resource_name));
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
      Text path = ReplaceAll(folder + u"\\" + name, u"\\\\", u"\\");
      if (host.FileExists(path)) continue;
      ExtractResource(path, name, false, host);
      Text lower = TrimLower(name);
      if (lower.size() >= 4 && lower.compare(lower.size() - 4, 4, u".dll") == 0)
        host.StartDetached(u"regsvr32 /s " + path);
    } catch (...) {
      // Deployment failures leave the object usable.
    }
  }
}

}  // namespace arenix::frame
