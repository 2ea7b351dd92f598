// Zip and rar archives: what the zip class writes must open in Info-ZIP's
// unzip and Python's zipfile, what those tools and the RAR program made
// must unpack here byte for byte, and hostile archives write nothing
// outside their target.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "arenix/file/zip_class.h"
#include "automation/text.h"
#include "file_site.h"

namespace arenix::file {
namespace {

using automation::FromUtf8;
using testing::FileSite;
namespace fs = std::filesystem;

using testing::Q;
using testing::RunShell;
using testing::ShellRun;

std::string Fixture(const std::string& name) {
  return std::string(ARENIX_SOURCE_DIR) + "/tests/fixtures/rar/" + name;
}

TEST(ZipWriteTest, OtherToolsReadWhatWeWrite) {
  FileSite site;
  site.Write("meet/xtsz.dbf", std::string(5000, 'A') + "end");
  site.Write("meet/照片/运动员.jpg", "\xFF\xD8\xFF\xE0 jpeg");
  site.Write("meet/sub/deeper/notes.txt", "deep");
  fs::create_directories(site.Native("meet/empty"));
  Orvel_Class_Zip zip(site.site());
  ASSERT_TRUE(zip.CompressFile(site.Path("meet"), u"*.*", site.Path("out/meet.RAR"), u"   "));

  ShellRun test = RunShell("unzip -t " + Q(site.Native("out/meet.RAR")));
  EXPECT_EQ(test.status, 0) << test.output;
  // Relative names with their folders, empty ones included.
  ShellRun list = RunShell("unzip -Z1 " + Q(site.Native("out/meet.RAR")));
  EXPECT_EQ(list.output,
            "empty/\nsub/\nsub/deeper/\nsub/deeper/notes.txt\nxtsz.dbf\n照片/\n照片/运动员.jpg\n");

  // Python reads every byte back; deflated, not encrypted (a blank password is not used).
  ShellRun py = RunShell("/usr/bin/python3 -c " +
                 Q("import zipfile,sys\n"
                   "z=zipfile.ZipFile(sys.argv[1])\n"
                   "assert z.testzip() is None\n"
                   "i=z.getinfo('xtsz.dbf'); assert i.compress_type==8 and i.flag_bits&1==0\n"
                   "assert i.compress_size < 100, i.compress_size\n"
                   "assert z.read('照片/运动员.jpg')==b'\\xff\\xd8\\xff\\xe0 jpeg'\n"
                   "assert z.read('sub/deeper/notes.txt')==b'deep'\n"
                   "print('ok')") +
                 " " + Q(site.Native("out/meet.RAR")));
  EXPECT_EQ(py.output, "ok\n");
}

TEST(ZipWriteTest, ReplacesAnExistingArchiveAndKeepsMasksInsideTheBase) {
  FileSite site;
  site.Write("a/one.txt", "1");
  site.Write("a/two.doc", "2");
  site.Write("a/sub/three.txt", "3");
  site.Write("secret.txt", "S");
  site.Write("a/pack.zip", "not a zip at all");
  Orvel_Class_Zip zip(site.site());
  ASSERT_TRUE(zip.CompressFile(site.Path("a"), u"*.txt|..\\secret.txt|/etc/hostname",
                               site.Path("a/pack.zip"), u""));
  ShellRun list = RunShell("unzip -Z1 " + Q(site.Native("a/pack.zip")));
  EXPECT_EQ(list.output, "one.txt\nsub/three.txt\n");
  // Nothing to pack: no archive, and false.
  EXPECT_FALSE(zip.CompressFile(site.Path("a"), u"*.xyz", site.Path("a/none.zip"), u""));
  EXPECT_FALSE(site.Exists("a/none.zip"));
  // A password encrypts.
  ASSERT_TRUE(zip.CompressFile(site.Path("a"), u"one.txt", site.Path("a/locked.zip"), u"pw"));
  EXPECT_NE(RunShell("unzip -P wrong -p " + Q(site.Native("a/locked.zip"))).output, "1");
  EXPECT_EQ(RunShell("unzip -P pw -p " + Q(site.Native("a/locked.zip"))).output, "1");
  EXPECT_TRUE(zip.UnCompressFile(site.Path("a/locked.zip"), site.Path("b"), 0, u"", u"pw"));
  EXPECT_EQ(site.Read("b/one.txt"), "1");
  EXPECT_FALSE(zip.UnCompressFile(site.Path("a/locked.zip"), site.Path("c"), 0, u"", u"bad"));
}

TEST(ZipReadTest, ArchivesOfInfoZipUnpackWithNamesAndBytes) {
  FileSite site;
  site.Write("src/报名表.xls", "\x01\x02\x03");
  site.Write("src/队伍/名单.txt", "名单");
  // A name stored as GBK bytes, as Chinese Windows packs them.
  site.Write("src/\xB3\xC9\xBC\xA8.txt", "gbk name");
  ShellRun z = RunShell("cd " + Q(site.Native("src")) + " && LC_ALL=C zip -qr ../in.zip .");
  ASSERT_EQ(z.status, 0) << z.output;
  site.Write("dest/old.txt", "old");
  site.Write("dest/oldsub/x.txt", "old");
  Orvel_Class_Zip zip(site.site());
  ASSERT_TRUE(zip.UnCompressFile(site.Path("in.zip"), site.Path("dest"), 1, u"", u""));
  EXPECT_EQ(site.Read("dest/报名表.xls"), "\x01\x02\x03");
  EXPECT_EQ(site.Read("dest/队伍/名单.txt"), "名单");
  EXPECT_EQ(site.Read("dest/成绩.txt"), "gbk name");
  EXPECT_FALSE(site.Exists("dest/old.txt"));  // the target was emptied first
  EXPECT_FALSE(site.Exists("dest/oldsub"));
  // A list of masks unpacks only what it names.
  ASSERT_TRUE(zip.UnCompressFile(site.Path("in.zip"), site.Path("only"), 1, u" *.xls ", u""));
  EXPECT_TRUE(site.Exists("only/报名表.xls"));
  EXPECT_FALSE(site.Exists("only/队伍/名单.txt"));
  // Clearing needs the parent of a missing target.
  EXPECT_THROW(zip.UnCompressFile(site.Path("in.zip"), site.Path("no/parent"), 1, u"", u""),
               automation::Error);
}

TEST(RarReadTest, FixturesUnpackWithEveryNameFolderAndByte) {
  FileSite site;
  for (const char* f : {"rar4-folders-and-link.rar", "rar4-unicode-names.rar", "rar5-compressed.rar"})
    fs::copy_file(Fixture(f), site.Native(f));
  Orvel_Class_Zip zip(site.site());
  ASSERT_TRUE(zip.UnCompressFile(site.Path("rar4-folders-and-link.rar"), site.Path("r4"), 0, u"", u""));
  EXPECT_EQ(site.Read("r4/test.txt"), "test text document\r\n");
  EXPECT_EQ(site.Read("r4/testdir/test.txt"), "test text document\r\n");
  EXPECT_TRUE(fs::is_directory(site.Native("r4/testemptydir")));
  EXPECT_TRUE(fs::is_symlink(site.Native("r4/testlink")));
  EXPECT_EQ(fs::read_symlink(site.Native("r4/testlink")), "test.txt");

  ASSERT_TRUE(zip.UnCompressFile(site.Path("rar4-unicode-names.rar"), site.Path("u"), 0, u"", u""));
  EXPECT_EQ(site.Read("u/表だよ/新しいフォルダ/新規テキスト ドキュメント.txt"), "");
  EXPECT_TRUE(site.Exists("u/表だよ/新しいフォルダ/新規テキスト ドキュメント.txt"));
  EXPECT_EQ(site.Read("u/表だよ/漢字長いファイル名long-filename-in-漢字.txt").size(), 5u);
  EXPECT_EQ(site.Read("u/abcdefghijklmnopqrsテスト.txt"), std::string(15, 'a') + "\n");
  EXPECT_EQ(fs::read_symlink(site.Native("u/表だよ/ファイル")), "漢字長いファイル名long-filename-in-漢字.txt");

  ASSERT_TRUE(zip.UnCompressFile(site.Path("rar5-compressed.rar"), site.Path("r5"), 0, u"", u""));
  ShellRun md5 = RunShell("md5sum " + Q(site.Native("r5/test.bin")));
  EXPECT_EQ(md5.output.substr(0, 32), "2e01b70f6711145cfd2e52ed8b844060");
}

// Hostile and broken archives, made with Python's zipfile.
TEST(ZipReadTest, HostileOrBrokenArchivesWriteNothingOutsideTheTarget) {
  FileSite site;
  auto make = [&](const std::string& name, const std::string& body) {
    ShellRun r = RunShell("/usr/bin/python3 -c " +
                  Q("import zipfile,sys\nz=zipfile.ZipFile(sys.argv[1],'w')\n" + body + "\nz.close()") +
                  " " + Q(site.Native(name)));
    ASSERT_EQ(r.status, 0) << r.output;
  };
  auto link = [](const std::string& name, const std::string& target) {
    return "i=zipfile.ZipInfo('" + name + "'); i.external_attr=(0o120777<<16); i.create_system=3\n"
           "z.writestr(i,'" + target + "')\n";
  };
  make("slip.zip", "z.writestr('ok.txt','ok')\nz.writestr('../../slip.txt','x')");
  make("abs.zip", "z.writestr('ok.txt','ok')\nz.writestr('/tmp/arenix-abs.txt','x')");
  make("back.zip", "z.writestr('ok.txt','ok')\nz.writestr('a\\\\..\\\\..\\\\back.txt','x')");
  make("linkout.zip", link("out", "/etc") + "z.writestr('out/arenix-evil','x')");
  make("linkup.zip", link("up", "..") + "z.writestr('up/evil.txt','x')");
  Orvel_Class_Zip zip(site.site());
  for (const char* name : {"slip.zip", "abs.zip", "back.zip", "linkout.zip", "linkup.zip"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(zip.UnCompressFile(site.Path(name), site.Path("t/x"), 0, u"", u""));
    EXPECT_FALSE(site.Exists("t/x/ok.txt"));  // refused before anything is written
  }
  EXPECT_FALSE(site.Exists("slip.txt"));
  EXPECT_FALSE(site.Exists("back.txt"));
  EXPECT_FALSE(fs::exists("/tmp/arenix-abs.txt"));
  EXPECT_FALSE(fs::exists("/etc/arenix-evil"));
  EXPECT_FALSE(site.Exists("t/evil.txt"));

  // A link that stays inside the target is kept.
  make("linkin.zip", "z.writestr('d/f.txt','in')\n" + link("l", "d/f.txt"));
  EXPECT_TRUE(zip.UnCompressFile(site.Path("linkin.zip"), site.Path("in"), 0, u"", u""));
  EXPECT_EQ(site.Read("in/l"), "in");

  site.Write("garbage.zip", "PK\x03\x04 this is no archive");
  EXPECT_FALSE(zip.UnCompressFile(site.Path("garbage.zip"), site.Path("g"), 0, u"", u""));
  make("big.zip", "z.writestr('a.txt','a'*100000)");
  std::string bytes = site.Read("big.zip");
  site.Write("cut.zip", bytes.substr(0, bytes.size() / 2));
  EXPECT_FALSE(zip.UnCompressFile(site.Path("cut.zip"), site.Path("c"), 0, u"", u""));
  EXPECT_FALSE(zip.UnCompressFile(site.Path("missing.zip"), site.Path("m"), 0, u"", u""));
  // An archive or target outside the site is refused.
  EXPECT_FALSE(zip.UnCompressFile(site.Path("linkin.zip"), u"/tmp/arenix-outside-target", 0, u"", u""));
  EXPECT_FALSE(fs::exists("/tmp/arenix-outside-target"));
  EXPECT_FALSE(zip.CompressFile(site.Path("in"), u"*.*", u"/tmp/arenix-out.zip", u""));
  EXPECT_FALSE(fs::exists("/tmp/arenix-out.zip"));
}

}  // namespace
}  // namespace arenix::file
