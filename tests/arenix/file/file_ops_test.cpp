// The file and folder operations on real folders in a temporary site.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "arenix/file/file_ops.h"
#include "arenix/file/path_text.h"
#include "automation/text.h"
#include "file_site.h"

namespace arenix::file {
namespace {

using automation::FromUtf8;
using automation::ToUtf8;
using testing::FileSite;

TEST(PathTextTest, SplitsPathsWithoutTouchingTheDisk) {
  struct Case {
    const char16_t* in;
    const char16_t* path;
    const char16_t* full_name;
    const char16_t* name;
    const char16_t* ext0;
    const char16_t* ext1;
  } cases[] = {
      {u"C:\\a\\b.txt", u"C:\\a\\", u"b.txt", u"c:\\a\\b", u"txt", u".txt"},
      {u"/data/x.dbf", u"/data/", u"x.dbf", u"/data/x", u"dbf", u".dbf"},
      {u"x.dbf", u"", u"x.dbf", u"x", u"dbf", u".dbf"},
      {u"Photo.JPG", u"", u"Photo.JPG", u"photo", u"jpg", u".jpg"},
      {u"  C:\\A\\Report.V2.Doc  ", u"C:\\A\\", u"Report.V2.Doc", u"  c:\\a\\report.v2", u"doc", u".doc"},
      {u"C:\\dir\\noext", u"C:\\dir\\", u"noext", u"c:\\dir\\noext", u"", u""},
      {u"/web/a\\b/c.gif", u"/web/a\\", u"b/c.gif", u"/web/a\\b/c", u"gif", u".gif"},
      {u"", u"", u"", u"", u"", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.in));
    EXPECT_EQ(FileGetPath(c.in), c.path);
    EXPECT_EQ(FileGetFullName(c.in), c.full_name);
    EXPECT_EQ(FileGetName(c.in), c.name);
    EXPECT_EQ(FileGetExt(c.in, 0), c.ext0);
    EXPECT_EQ(FileGetExt(c.in, 1), c.ext1);
  }
}

TEST(PathTextTest, IconsKeepTheCaseGivenAndFallBackToUnknown) {
  EXPECT_EQ(FileGetIcon(u"DOC", u"asp", u"small"),
            u"<img src=../comm/image/fileswt/DOC.asp border=0 width=16 height=16 title='DOC' "
            u"align='absmiddle'>");
  EXPECT_EQ(FileGetIcon(u"xyz", u"asp", u"small"),
            u"<img src=../comm/image/fileswt/unknown.asp border=0 width=16 height=16 title='xyz' "
            u"align='absmiddle'>");
  EXPECT_EQ(FileGetIcon(u"zip", u"gif", u"BIG"),
            u"<img src=../comm/image/fileswt1/zip.gif border=0 width=35 height=32 title='zip' "
            u"align='absmiddle'>");
  // Only whole extensions between bars count.
  EXPECT_NE(FileGetIcon(u"xs", u"asp", u"small").find(u"/unknown.asp"), Text::npos);
  EXPECT_NE(FileGetIcon(u"xslt", u"asp", u"small").find(u"xslt.asp"), Text::npos);
}

TEST(ExistenceTest, FilesFoldersWildcardsAndMalformedNames) {
  FileSite site;
  site.Write("photos/a.JPG", "x");
  site.Write("photos/.hidden", "x");
  site.Write("photos/sub/b.gif", "x");
  EXPECT_TRUE(FileExist(site.site(), site.Path("photos/a.JPG")));
  EXPECT_TRUE(FileExist(site.site(), site.Path("Photos/A.jpg")));  // names compare without case
  EXPECT_TRUE(FileExist(site.site(), site.Path("photos/*.jpg")));
  EXPECT_TRUE(FileExist(site.site(), site.Path("photos/?.JPG")));
  EXPECT_FALSE(FileExist(site.site(), site.Path("photos/*.png")));
  EXPECT_FALSE(FileExist(site.site(), site.Path("photos/.hidden")));  // hidden
  EXPECT_FALSE(FileExist(site.site(), site.Path("photos/sub")));      // a folder is no file
  EXPECT_FALSE(FileExist(site.site(), site.Path("nothing.txt")));
  EXPECT_TRUE(FolderExist(site.site(), site.Path("photos/sub")));
  EXPECT_TRUE(FolderExist(site.site(), site.Path("photos/a.JPG")));  // files count for the folder test
  EXPECT_TRUE(FolderExist(site.site(), site.Path("photos/s*")));
  EXPECT_TRUE(FolderExist(site.site(), site.Path("photos/sub\\")));
  EXPECT_FALSE(FolderExist(site.site(), site.Path("photos/none\\")));
  EXPECT_FALSE(FolderExist(site.site(), site.Path("none")));
  // A name list is malformed for the look-up and so passes as existing.
  EXPECT_TRUE(FileExist(site.site(), site.Path("photos/a.JPG") + u"|" + site.Path("x")));
  EXPECT_TRUE(FolderExist(site.site(), site.Path("p*/sub")));  // wildcard in a folder part
}

TEST(CopyMoveTest, ResultCodesAndOverwriteRules) {
  FileSite site;
  site.Write("a.txt", "new");
  site.Write("b.txt", "old");
  EXPECT_EQ(FileCopyMove(site.site(), site.Path("a.txt"), site.Path("b.txt"), u"copy", u"keep"), kDestinationExists);
  EXPECT_EQ(site.Read("b.txt"), "old");
  EXPECT_EQ(FileCopyMove(site.site(), site.Path("a.txt"), site.Path("b.txt"), u"COPY", u"OverWrite"), kDone);
  EXPECT_EQ(site.Read("b.txt"), "new");
  EXPECT_EQ(FileCopyMove(site.site(), site.Path("missing.txt"), site.Path("c.txt"), u"copy", u"overwrite"),
            kSourceMissing);
  // Moving into a folder that does not exist yet makes it.
  EXPECT_EQ(FileCopyMove(site.site(), site.Path("a.txt"), site.Path("deep/er/c.txt"), u"move", u""), kDone);
  EXPECT_FALSE(site.Exists("a.txt"));
  EXPECT_EQ(site.Read("deep/er/c.txt"), "new");

  EXPECT_EQ(FileRename(site.site(), site.Path("b.txt"), site.Path("deep/er/c.txt")), kDestinationExists);
  EXPECT_EQ(FileRename(site.site(), site.Path("zzz.txt"), site.Path("y.txt")), kSourceMissing);
  EXPECT_EQ(FileRename(site.site(), site.Path("b.txt"), site.Path("y.txt")), kDone);
  EXPECT_EQ(site.Read("y.txt"), "new");
  EXPECT_FALSE(site.Exists("b.txt"));
}

TEST(CopyMoveTest, FoldersGoWithTheirContents) {
  FileSite site;
  site.Write("meet/data/xtsz.dbf", "T1");
  site.Write("meet/data/sub/play.dbf", "P1");
  site.Write("copy/data/keep.txt", "K");
  EXPECT_EQ(FolderCopyMove(site.site(), site.Path("meet/data"), site.Path("copy/data"), u"copy", u"overwrite"), kDone);
  EXPECT_EQ(site.Read("copy/data/xtsz.dbf"), "T1");
  EXPECT_EQ(site.Read("copy/data/sub/play.dbf"), "P1");
  EXPECT_EQ(site.Read("copy/data/keep.txt"), "K");  // copying onto a folder merges
  EXPECT_EQ(FolderCopyMove(site.site(), site.Path("meet/data"), site.Path("copy/data"), u"copy", u""),
            kDestinationExists);
  // A folder cannot be copied into itself: the operation fails.
  EXPECT_EQ(FolderCopyMove(site.site(), site.Path("meet"), site.Path("meet/data/inner"), u"copy", u"overwrite"),
            kOperationFailed);
  EXPECT_FALSE(site.Exists("meet/data/inner"));

  EXPECT_EQ(FolderRename(site.site(), site.Path("copy"), site.Path("renamed")), kDone);
  EXPECT_EQ(FolderRename(site.site(), site.Path("renamed"), site.Path("meet")), kDestinationExists);
  EXPECT_EQ(FolderCopyMove(site.site(), site.Path("renamed"), site.Path("moved"), u"move", u""), kDone);
  EXPECT_EQ(site.Read("moved/data/sub/play.dbf"), "P1");
  EXPECT_FALSE(site.Exists("renamed"));

  EXPECT_TRUE(FolderDelete(site.site(), site.Path("moved")));
  EXPECT_FALSE(site.Exists("moved"));
  EXPECT_TRUE(FolderDelete(site.site(), site.Path("moved")));  // already gone: true
}

TEST(DeleteTest, FilesNameListsAndImagesOfAFragment) {
  FileSite site;
  site.Write("a.txt", "1");
  site.Write("b.txt", "2");
  EXPECT_TRUE(FileDelete(site.site(), site.Path("missing.txt")));
  EXPECT_TRUE(FileDelete(site.site(), site.Path("a.txt") + u"|" + site.Path("b.txt")));
  EXPECT_FALSE(site.Exists("a.txt"));
  EXPECT_FALSE(site.Exists("b.txt"));

  site.Write("upload/p1.jpg", "1");
  site.Write("upload/p2.gif", "2");
  site.Write("upload/p3.png", "3");
  Text html = u"<p>x</p><img src='/upload/p1.jpg'><img src='" + site.Path("upload/p2.gif") +
              u"'><img src=\"/upload/p3.png\">";
  EXPECT_TRUE(FileDeleteImage(site.Server, html));
  EXPECT_FALSE(site.Exists("upload/p1.jpg"));
  EXPECT_FALSE(site.Exists("upload/p2.gif"));
  EXPECT_TRUE(site.Exists("upload/p3.png"));  // only the exact single-quoted form
  // An image outside the site is not deleted, and the result says so.
  EXPECT_FALSE(FileDeleteImage(site.Server, u"<img src='C:/etc/hostname'>"));
  Variant not_a_server(Text(u"x"));
  EXPECT_FALSE(FileDeleteImage(not_a_server, u"<img src='/upload/p3.png'>"));
}

TEST(TextFileTest, Gbk936BytesModesAndFolders) {
  FileSite site;
  EXPECT_TRUE(SaveToTextFile(site.site(), site.Path("new/folder/t.txt"), u"中a", 2));
  EXPECT_EQ(site.Read("new/folder/t.txt"), "\xD6\xD0" "a");
  EXPECT_TRUE(SaveToTextFile(site.site(), site.Path("new/folder/t.txt"), u"€文", 1));
  EXPECT_EQ(site.Read("new/folder/t.txt"), "\xD6\xD0" "a\x80\xCE\xC4");
  EXPECT_EQ(ReadFromTextFile(site.site(), site.Path("new/folder/t.txt")), u"中a€文");
  EXPECT_TRUE(SaveToTextFile(site.site(), site.Path("new/folder/t.txt"), u"😀", 2));  // not in code page 936
  EXPECT_EQ(site.Read("new/folder/t.txt"), "??");
  EXPECT_EQ(FileGetSize(site.site(), site.Path("new/folder/t.txt")), 2);
  EXPECT_EQ(FileGetSize(site.site(), site.Path("new/folder/none.txt")), 0);
  EXPECT_FALSE(SaveToTextFile(site.site(), u"   ", u"x", 2));

  EXPECT_TRUE(FileCreateEmptyTxt(site.site(), site.Path("e.txt"), u"keep"));
  EXPECT_EQ(ReadFromTextFile(site.site(), site.Path("e.txt")), u"");
  EXPECT_TRUE(SaveToTextFile(site.site(), site.Path("e.txt"), u"x", 2));
  EXPECT_FALSE(FileCreateEmptyTxt(site.site(), site.Path("e.txt"), u"keep"));
  EXPECT_EQ(site.Read("e.txt"), "x");
  EXPECT_TRUE(FileCreateEmptyTxt(site.site(), site.Path("e.txt"), u" OverWrite "));
  EXPECT_EQ(site.Read("e.txt"), "");
  EXPECT_EQ(ReadFromTextFile(site.site(), site.Path("missing.txt")), u"");

  // A read-only file is neither replaced nor appended to.
  site.Write("ro.txt", "keep");
  ::chmod(site.Native("ro.txt").c_str(), 0444);
  EXPECT_FALSE(SaveToTextFile(site.site(), site.Path("ro.txt"), u"x", 2));
  EXPECT_FALSE(SaveToTextFile(site.site(), site.Path("ro.txt"), u"x", 1));
  EXPECT_EQ(site.Read("ro.txt"), "keep");
}

TEST(SearchPathFileTest, FoldersOrFilesJoinedByBars) {
  FileSite site;
  site.Write("list/b.txt", "");
  site.Write("list/a.doc", "");
  site.Write("list/z/x", "");
  site.Write("list/y/x", "");
  EXPECT_EQ(SearchPathFile(site.site(), site.Path("list"), 1), u"y|z");
  EXPECT_EQ(SearchPathFile(site.site(), site.Path("list"), 0), u"a.doc|b.txt");
  EXPECT_EQ(SearchPathFile(site.site(), site.Path("list/z"), 1), u"");
  EXPECT_EQ(SearchPathFile(site.site(), site.Path("nothing"), 0), u"");
}

TEST(SiteBoundaryTest, PathsThatLeaveTheSiteNeverReachTheFileSystem) {
  FileSite site;
  // A folder beside the site, outside it, that must stay untouched.
  std::string pattern = (std::filesystem::temp_directory_path() / "arenix-outside-XXXXXX").string();
  std::string outside = ::mkdtemp(pattern.data());
  std::ofstream(outside + "/secret.txt") << "S";
  site.Write("in.txt", "I");
  std::string up = "..\\" + std::filesystem::path(outside).filename().string() + "\\secret.txt";
  Text escape = site.Path("") + FromUtf8(up);
  EXPECT_FALSE(SaveToTextFile(site.site(), escape, u"x", 2));
  EXPECT_EQ(FileCopyMove(site.site(), site.Path("in.txt"), escape, u"copy", u"overwrite"), kOperationFailed);
  EXPECT_FALSE(FileDelete(site.site(), site.Path("sub\\..\\..\\..\\..\\etc\\hostname")));
  EXPECT_EQ(ReadFromTextFile(site.site(), u"C:\\etc\\hostname"), u"");
  EXPECT_EQ(FileGetSize(site.site(), u"/etc/hostname"), 0);
  EXPECT_FALSE(FolderCreate(site.site(), u"/arenix-should-not-exist"));
  EXPECT_FALSE(std::filesystem::exists("/arenix-should-not-exist"));
  // A link inside the site that leads out is not followed.
  std::filesystem::create_directory_symlink("/etc", site.Native("etc-link"));
  EXPECT_FALSE(SaveToTextFile(site.site(), site.Path("etc-link/arenix-test.txt"), u"x", 2));
  EXPECT_FALSE(std::filesystem::exists("/etc/arenix-test.txt"));
  EXPECT_EQ(ReadFromTextFile(site.site(), site.Path("etc-link/hostname")), u"");
  // A NUL in a name never becomes a shorter name.
  Text with_nul = site.Path("in.txt");
  with_nul.push_back(u'\0');
  with_nul += u".bak";
  EXPECT_FALSE(SaveToTextFile(site.site(), with_nul, u"x", 2));
  EXPECT_EQ(site.Read("in.txt"), "I");
  EXPECT_FALSE(FileDelete(site.site(), with_nul));
  EXPECT_TRUE(site.Exists("in.txt"));
  // The site folder itself is never deleted.
  EXPECT_FALSE(FolderDelete(site.site(), site.Path("")));
  std::ifstream in(outside + "/secret.txt");
  std::string secret;
  in >> secret;
  EXPECT_EQ(secret, "S");
  std::filesystem::remove_all(outside);
}

// A file-size limit on the process stands for a full disk: every write that
// would grow a file past 64 KiB fails, as it would on a disk with no room
// left, and no privileges are needed to set it.
class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved_limit), 0);
    saved_handler = std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
  }
  void TearDown() override {
    ::setrlimit(RLIMIT_FSIZE, &saved_limit);
    std::signal(SIGXFSZ, saved_handler);
  }
  void FillUp() {
    rlimit small = saved_limit;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  }
  FileSite site;
  rlimit saved_limit{};
  void (*saved_handler)(int) = SIG_DFL;
};

TEST_F(FullDiskTest, AFailedWriteKeepsTheOldFileAndLeavesNoPartialCopy) {
  site.Write("small/t.txt", "old text");
  site.Write("big.bin", std::string(256 * 1024, 'x'));
  FillUp();
  Text big(100 * 1024, u'a');
  EXPECT_FALSE(SaveToTextFile(site.site(), site.Path("small/t.txt"), big, 2));
  EXPECT_EQ(site.Read("small/t.txt"), "old text");
  EXPECT_FALSE(SaveToTextFile(site.site(), site.Path("small/t.txt"), big, 1));
  EXPECT_EQ(site.Read("small/t.txt"), "old text");
  EXPECT_EQ(FileCopyMove(site.site(), site.Path("big.bin"), site.Path("small/big.bin"), u"copy", u"overwrite"),
            kOperationFailed);
  EXPECT_EQ(SearchPathFile(site.site(), site.Path("small"), 0), u"t.txt");  // no temporary left behind
}

// A read-only file system needs a mount of its own: a tiny tmpfs inside the
// site, remounted read-only. Root may ignore file modes, so nothing less
// stands for it.
class ReadOnlyDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(site.Native("small"));
    if (::mount("tmpfs", site.Native("small").c_str(), "tmpfs", 0, "size=64k") != 0)
      GTEST_SKIP() << "mounting needs a privilege this machine does not give";
    mounted = true;
  }
  void TearDown() override {
    if (mounted) ::umount(site.Native("small").c_str());
  }
  FileSite site;
  bool mounted = false;
};

TEST_F(ReadOnlyDiskTest, AReadOnlyFileSystemRefusesEveryChange) {
  site.Write("small/t.txt", "keep");
  ASSERT_EQ(::mount(nullptr, site.Native("small").c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
  EXPECT_FALSE(SaveToTextFile(site.site(), site.Path("small/t.txt"), u"x", 2));
  EXPECT_FALSE(FileDelete(site.site(), site.Path("small/t.txt")));
  EXPECT_EQ(FileRename(site.site(), site.Path("small/t.txt"), site.Path("small/u.txt")), kOperationFailed);
  EXPECT_EQ(site.Read("small/t.txt"), "keep");
}

}  // namespace
}  // namespace arenix::file
