// Backup, the two archive methods and URL opening, called as a page calls
// them: through ArenixCls with the in-memory server of a temporary site.
#include <gtest/gtest.h>

#include <cstdlib>

#include "arenix/file/archive_methods.h"
#include "arenix/frame/arenix_cls.h"
#include "arenix/show/message.h"
#include "automation/runtime.h"
#include "file_site.h"
#include "support/loopback_server.h"

namespace arenix::file {
namespace {

using automation::FromUtf8;
using automation::Text;
using testing::FileSite;
using testing::Q;
using testing::RunShell;
namespace fs = std::filesystem;

automation::Date Stamp() {
  return automation::Date{automation::DateSerial(2024, 3, 5).serial +
                          automation::TimeSerial(8, 30, 7).serial};
}

TEST(BackupTest, CopiesTheTablesIntoADatedFolder) {
  FileSite site;
  automation::ScopedClock clock(Stamp(), 7);
  site.Write("data/xtsz.dbf", std::string("\x30\x01\x02", 3));
  site.Write("data/xtsz.fpt", "memo");
  ArenixCls cls;
  cls.UseSite(site.site());
  Variant response, request;
  Text folder = cls.CommFileBackup(response, request, site.Server, u"xtsz.dbf|xtsz.fpt", 1, u"bak",
                                   u"/AutoBackup");
  EXPECT_EQ(folder, FromUtf8(site.root) + u"/AutoBackup/bak20240305083007");
  EXPECT_EQ(site.Read("AutoBackup/bak20240305083007/xtsz.dbf"), std::string("\x30\x01\x02", 3));
  EXPECT_EQ(site.Read("AutoBackup/bak20240305083007/xtsz.fpt"), "memo");

  // The default folder, and no name.
  EXPECT_EQ(cls.CommFileBackup(response, request, site.Server, u"xtsz.dbf", 1, u"", u""),
            FromUtf8(site.root) + u"/AutoBackup/20240305083007");
  // Not asked for: nothing made.
  EXPECT_EQ(cls.CommFileBackup(response, request, site.Server, u"xtsz.dbf", 0, u"none", u"/Other"), u"");
  EXPECT_FALSE(site.Exists("Other"));
  // A missing table stops the backup; what was copied stays.
  EXPECT_EQ(cls.CommFileBackup(response, request, site.Server, u"xtsz.dbf|play.dbf|xtsz.fpt", 1,
                               u"part", u"/AutoBackup"),
            u"");
  EXPECT_TRUE(site.Exists("AutoBackup/part20240305083007/xtsz.dbf"));
  EXPECT_FALSE(site.Exists("AutoBackup/part20240305083007/xtsz.fpt"));
  // A backup path cannot lead out of the site.
  Text escaped = cls.CommFileBackup(response, request, site.Server, u"xtsz.dbf", 1, u"x",
                                    u"/../../../../tmp");
  EXPECT_EQ(escaped, FromUtf8(site.root) + u"/tmp/x20240305083007");
}

class ArchiveMethodsTest : public ::testing::Test {
 protected:
  ArchiveMethodsTest() { cls.UseSite(site.site()); }
  void SetUp() override {
    ::setenv("ComSpec", "C:\\WINDOWS\\system32\\cmd.exe", 1);
    ::setenv("SystemDrive", "C:", 1);
  }
  Text Ok() const { return show::OpenerEditRefresh(u"操作成功", 1); }
  Text Failed() const { return show::OpenerEditRefresh(u"操作失败", 1); }
  FileSite site;
  ArenixCls cls;
};

TEST_F(ArchiveMethodsTest, XceedZipPacksFilesAndFoldersAndUnpacks) {
  site.Write("up/docs/a.txt", "A");
  site.Write("up/docs/in/b.txt", "B");
  site.Write("up/Report.Doc", "R");
  EXPECT_EQ(cls.CommUnZipWithXceedZip(site.Server, u"/up", u"docs", u"ZipFolder"), Ok());
  EXPECT_EQ(RunShell("unzip -Z1 " + Q(site.Native("up/docs.RAR"))).output, "a.txt\nin/\nin/b.txt\n");
  EXPECT_EQ(cls.CommUnZipWithXceedZip(site.Server, u"/up", u"Report.Doc", u"zipfile"), Ok());
  EXPECT_EQ(RunShell("unzip -Z1 " + Q(site.Native("up/report.RAR"))).output, "Report.Doc\n");

  site.Write("dest/keep.txt", "K");
  fs::rename(site.Native("up/docs.RAR"), site.Native("dest/docs.zip"));
  EXPECT_EQ(cls.CommUnZipWithXceedZip(site.Server, u"/dest", u"docs.zip", u"UNZIP"), Ok());
  EXPECT_EQ(site.Read("dest/in/b.txt"), "B");
  EXPECT_EQ(site.Read("dest/keep.txt"), "K");  // no clearing here
  EXPECT_EQ(cls.CommUnZipWithXceedZip(site.Server, u"/dest", u"docs.zip", u"explode"), Failed());
  EXPECT_EQ(cls.CommUnZipWithXceedZip(site.Server, u"/dest", u"none.zip", u"unzip"), Failed());
  Variant no_server;
  EXPECT_THROW(cls.CommUnZipWithXceedZip(no_server, u"/dest", u"docs.zip", u"unzip"), automation::Error);
}

TEST_F(ArchiveMethodsTest, RarCommandLinesAreBuiltAsTheArchiverWants) {
  Text root = FromUtf8(site.root);
  EXPECT_EQ(RarCommandLine(site.Server, u"/up", u"Team.RAR", u"UnZip"),
            u"C:\\WINDOWS\\system32\\\\cmd.exe /c  C:\\\\rar.exe x  -r -o+ -p- \"" + root +
                u"/up\\Team.RAR\" \"" + root + u"/up\"");
  // The archiver and the interpreter at the site root are preferred.
  site.Write("rar.exe", "");
  site.Write("cmd.exe", "");
  EXPECT_EQ(RarCommandLine(site.Server, u"/up", u"Photos.Dir", u"pack"),
            root + u"\\cmd.exe /c  " + root + u"\\rar.exe a -ep1 -r -t -o+ \"" + root +
                u"/up\\photos.rar\" \"" + root + u"/up\\Photos.Dir\"");
}

TEST_F(ArchiveMethodsTest, RarMethodUnpacksRarAndPacksUnderTheLowerCasedName) {
  fs::create_directories(site.Native("up"));
  fs::copy_file(std::string(ARENIX_SOURCE_DIR) + "/tests/fixtures/rar/rar4-unicode-names.rar",
                site.Native("up/队伍.rar"));
  EXPECT_EQ(cls.CommUnZipWithRar(site.Server, u"/up", u"队伍.rar", u"unzip"), Ok());
  EXPECT_EQ(site.Read("up/abcdefghijklmnopqrsテスト.txt"), std::string(15, 'a') + "\n");
  site.Write("up/Team/list.txt", "L");
  EXPECT_EQ(cls.CommUnZipWithRar(site.Server, u"/up", u"Team", u"a"), Ok());
  EXPECT_EQ(RunShell("unzip -Z1 " + Q(site.Native("up/team.rar"))).output, "Team/\nTeam/list.txt\n");
  EXPECT_EQ(cls.CommUnZipWithRar(site.Server, u"/up", u"broken.rar", u"unzip"), Failed());
}

TEST(OpenUrlTest, AnyAnswerCountsAndNoAnswerDoesNot) {
  arenix::testing::LoopbackServer server([](const std::string&) {
    return arenix::testing::LoopbackServer::Response("500 Internal Server Error", "text/plain", "boom");
  });
  ArenixCls cls;
  EXPECT_TRUE(cls.CommOpenUrl(FromUtf8(server.Url("/x.asp"))));
  EXPECT_EQ(server.requests(), 1);
  std::string closed;
  {
    arenix::testing::LoopbackServer gone([](const std::string&) { return std::string(); });
    closed = gone.Url("/");
  }
  EXPECT_FALSE(cls.CommOpenUrl(FromUtf8(closed)));
  EXPECT_FALSE(cls.CommOpenUrl(u"not a url"));
}

TEST(FileMethodsTest, ReachableByName) {
  ArenixCls cls;
  Variant name(Text(u"Photo.JPG")), point(int16_t{1});
  Variant* args[] = {&name, &point};
  EXPECT_EQ(CallMethod(cls, u"CommFileGetExt", args), Variant(Text(u".jpg")));
}

}  // namespace
}  // namespace arenix::file
