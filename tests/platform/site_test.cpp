// Site paths, wildcards and the shell file operation.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/shell_file_op.h"
#include "platform/site.h"
#include "platform/sandboxed_files.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using automation::FromUtf8;

struct TempSite {
  TempSite() {
    std::string pattern = (fs::temp_directory_path() / "arenix-platform-XXXXXX").string();
    root = ::mkdtemp(pattern.data());
    sandbox.AddFolder(FromUtf8(root));
  }
  ~TempSite() { fs::remove_all(root); }
  void Write(const std::string& rel, const std::string& text) {
    fs::create_directories(fs::path(root + "/" + rel).parent_path());
    std::ofstream(root + "/" + rel) << text;
  }
  Text T(const std::string& rel) const { return FromUtf8(root + "/" + rel); }
  std::string root;
  Site sandbox;
};

TEST(WildcardTest, MatchesAsTheOriginalHostDid) {
  struct Case {
    const char16_t* pattern;
    const char16_t* name;
    bool match;
  } cases[] = {
      {u"*.*", u"a.txt", true},      {u"*.*", u"noext", true},   {u"*.jpg", u"A.JPG", true},
      {u"*.jpg", u"a.jpeg", false},  {u"?.txt", u"a.txt", true}, {u"?.txt", u"ab.txt", false},
      {u"a*b*c", u"axxbyyc", true},  {u"a*b*c", u"axxbyy", false}, {u"*", u"", true},
      {u"rep*.doc", u"Report.v2.DOC", true}, {u"a.*", u"a", true}, {u"中*", u"中文.txt", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match)
        << automation::ToUtf8(c.pattern) << " " << automation::ToUtf8(c.name);
}

TEST(SitePathTest, ResolvesInsideAndRefusesTheRest) {
  TempSite site;
  site.Write("Data/Play.dbf", "x");
  EXPECT_EQ(site.sandbox.Resolve(site.T("data/play.DBF")), site.root + "/Data/Play.dbf");
  Text drive = u"D:" + site.T("Data\\Play.dbf");
  EXPECT_EQ(site.sandbox.Resolve(drive), site.root + "/Data/Play.dbf");
  EXPECT_EQ(site.sandbox.Resolve(site.T("Data/../Data/./Play.dbf")), site.root + "/Data/Play.dbf");
  EXPECT_EQ(site.sandbox.Resolve(site.T("new/file.txt")), site.root + "/new/file.txt");
  EXPECT_FALSE(site.sandbox.Resolve(site.T("../x")));
  EXPECT_FALSE(site.sandbox.Resolve(site.T("Data/../../../../etc/passwd")));
  EXPECT_FALSE(site.sandbox.Resolve(u"/etc/passwd"));
  EXPECT_FALSE(site.sandbox.Resolve(u"C:\\Windows\\win.ini"));
  EXPECT_FALSE(site.sandbox.Resolve(u""));
  Text nul = site.T("Data/Play.dbf");
  nul.insert(nul.size() - 4, 1, u'\0');
  EXPECT_FALSE(site.sandbox.Resolve(nul));
  fs::create_directory_symlink("/", site.root + "/rootlink");
  EXPECT_FALSE(site.sandbox.Resolve(site.T("rootlink/etc/passwd")));
  fs::create_symlink(site.root + "/Data", site.root + "/datalink");
  EXPECT_TRUE(site.sandbox.Resolve(site.T("datalink/Play.dbf")));  // a link within the site is fine
  // A relative path is taken from the working folder, which is outside here.
  EXPECT_FALSE(site.sandbox.Resolve(u"relative.txt"));
}

TEST(SiteTest, EachSiteIsItsOwnSandbox) {
  TempSite one, two;
  one.Write("a.txt", "A");
  two.Write("b.txt", "B");
  // Two sites in one process do not open each other's folders.
  EXPECT_TRUE(one.sandbox.Resolve(one.T("a.txt")));
  EXPECT_FALSE(one.sandbox.Resolve(two.T("b.txt")));
  EXPECT_FALSE(two.sandbox.Resolve(one.T("a.txt")));
  EXPECT_FALSE(ReadBytes(one.sandbox, two.T("b.txt")));
  EXPECT_FALSE(Site().Resolve(one.T("a.txt")));  // a site without folders refuses all
  // The folders are kept resolved: one added through a link still matches
  // the paths that reach it directly, and is known as a site folder.
  fs::create_directory_symlink(two.root, one.root + "/to-two");
  Site linked(one.T("to-two"));
  EXPECT_EQ(linked.Resolve(two.T("b.txt")), two.root + "/b.txt");
  EXPECT_TRUE(linked.IsFolder(two.root));
  EXPECT_FALSE(linked.IsFolder(two.root + "/b.txt"));
  // "Under" is by whole names.
  EXPECT_TRUE(PathUnder("/a/b/c", "/a/b"));
  EXPECT_FALSE(PathUnder("/a/bc", "/a/b"));
  EXPECT_TRUE(PathUnder("/a", "/"));
}

TEST(ShellFileOperationTest, NameListsWildcardsAndAllOrNothingResults) {
  TempSite site;
  site.Write("a.txt", "A");
  site.Write("b.txt", "B");
  site.Write("c.log", "C");
  EXPECT_TRUE(ShellFileOperation(site.sandbox, site.T("a.txt") + u"|" + site.T("b.txt"),
                                 site.T("x/a2.txt") + u"|" + site.T("x/b2.txt"), ShellAction::kCopy));
  EXPECT_TRUE(fs::exists(site.root + "/x/a2.txt") && fs::exists(site.root + "/x/b2.txt"));
  // Destinations must pair with the sources.
  EXPECT_FALSE(ShellFileOperation(site.sandbox, site.T("a.txt") + u"|" + site.T("b.txt") + u"|" + site.T("c.log"),
                                  site.T("y/1") + u"|" + site.T("y/2"), ShellAction::kCopy));
  // Wildcard sources go into the destination folder.
  EXPECT_TRUE(ShellFileOperation(site.sandbox, site.T("*.txt"), site.T("w"), ShellAction::kMove));
  EXPECT_TRUE(fs::exists(site.root + "/w/a.txt") && fs::exists(site.root + "/w/b.txt"));
  EXPECT_FALSE(fs::exists(site.root + "/a.txt"));
  EXPECT_TRUE(ShellFileOperation(site.sandbox, site.T("w/*.*"), u"", ShellAction::kDelete));
  EXPECT_TRUE(fs::is_empty(site.root + "/w"));
  // The first failure stops the operation and makes the result false.
  EXPECT_FALSE(ShellFileOperation(site.sandbox, site.T("missing") + u"|" + site.T("c.log"), u"", ShellAction::kDelete));
  EXPECT_TRUE(fs::exists(site.root + "/c.log"));
  EXPECT_FALSE(ShellFileOperation(site.sandbox, u"", u"", ShellAction::kDelete));
  // Deleting a folder removes a link in it, never what the link points to.
  site.Write("keep/k.txt", "K");
  fs::create_directories(site.root + "/gone");
  fs::create_directory_symlink(site.root + "/keep", site.root + "/gone/link");
  EXPECT_TRUE(ShellFileOperation(site.sandbox, site.T("gone"), u"", ShellAction::kDelete));
  EXPECT_TRUE(fs::exists(site.root + "/keep/k.txt"));
}

}  // namespace
}  // namespace platform
