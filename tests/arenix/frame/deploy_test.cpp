// Deployment of library files at construction, through a recording host.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "arenix/frame/deploy.h"

namespace {

using arenix::frame::DeployHost;
using automation::Text;
using automation::TextView;

class RecordingHost : public DeployHost {
 public:
  Text SystemFolder() override { return u"C:\\WINDOWS\\system32\\"; }
  bool FileExists(TextView path) override { return files.count(Text(path)) > 0; }
  std::optional<std::string> Resource(TextView name) override {
    auto it = resources.find(Text(name));
    if (it == resources.end()) return std::nullopt;
    return it->second;
  }
  bool WriteNewFile(TextView path, std::string_view bytes) override {
    if (fail_writes || files.count(Text(path))) return false;
    files[Text(path)] = std::string(bytes);
    return true;
  }
  void StartDetached(TextView command) override { started.push_back(Text(command)); }

  std::map<Text, std::string> files;
  std::map<Text, std::string> resources;
  std::vector<Text> started;
  bool fail_writes = false;
};

TEST(DeployTest, PresentLibraryWritesNothingAndStartsNothing) {
  RecordingHost host;
  host.files[u"C:\\WINDOWS\\system32\\XceedZip.dll"] = "old";
  host.resources[u"XCEEDZIP.DLL"] = "new";
  arenix::frame::DeployLibraries(u"XceedZip.dll", host);
  EXPECT_EQ(host.files[u"C:\\WINDOWS\\system32\\XceedZip.dll"], "old");
  EXPECT_TRUE(host.started.empty());
}

TEST(DeployTest, MissingLibraryIsWrittenAndRegistered) {
  RecordingHost host;
  host.resources[u"XCEEDZIP.DLL"] = "MZ-bytes";
  arenix::frame::DeployLibraries(u"XceedZip.dll", host);
  // The doubled separator of folder + "\" + name is collapsed.
  EXPECT_EQ(host.files[u"C:\\WINDOWS\\system32\\XceedZip.dll"], "MZ-bytes");
  ASSERT_EQ(host.started.size(), 1u);
  EXPECT_EQ(host.started[0], u"regsvr32 /s C:\\WINDOWS\\system32\\XceedZip.dll");
}

TEST(DeployTest, ListInOrderOnlyDllsRegisteredFailuresDoNotStop) {
  RecordingHost host;
  host.resources[u"README.TXT"] = "text";
  host.resources[u"B.DLL"] = "b";
  // a.dll has no resource: its write fails, yet its registration is started.
  arenix::frame::DeployLibraries(u"a.dll|readme.txt|B.DLL ", host);
  EXPECT_EQ(host.files.count(u"C:\\WINDOWS\\system32\\a.dll"), 0u);
  EXPECT_EQ(host.files[u"C:\\WINDOWS\\system32\\readme.txt"], "text");
  std::vector<Text> expected = {u"regsvr32 /s C:\\WINDOWS\\system32\\a.dll",
                                u"regsvr32 /s C:\\WINDOWS\\system32\\B.DLL "};
  EXPECT_EQ(host.started, expected);
}

TEST(DeployTest, EmptyListDoesNothing) {
  RecordingHost host;
  arenix::frame::DeployLibraries(u"", host);
  EXPECT_TRUE(host.files.empty());
  EXPECT_TRUE(host.started.empty());
  EXPECT_EQ(Text(arenix::frame::kDeploymentList), u"");
}

TEST(DeployTest, ExtractResourceDoesNotOverwrite) {
  RecordingHost host;
  host.resources[u"X.BIN"] = "x";
  host.files[u"/tmp/x.bin"] = "kept";
  EXPECT_FALSE(arenix::frame::ExtractResource(u"/tmp/x.bin", u"x.bin", false, host));
  EXPECT_EQ(host.files[u"/tmp/x.bin"], "kept");
  EXPECT_TRUE(arenix::frame::ExtractResource(u"/tmp/y.bin", u"x.bin", false, host));
  EXPECT_FALSE(arenix::frame::ExtractResource(u"/tmp/z.bin", u"missing", false, host));
}

}  // namespace
