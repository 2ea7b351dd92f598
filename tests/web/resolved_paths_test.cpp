// Site files kept for request paths: the same file while the site is
// unchanged, looked up again once the change notices move on, nothing kept
// for a path that finds nothing, and no more than the bound.
#include <gtest/gtest.h>

#include <filesystem>

#include "web/resolved_paths.h"
#include "web/web_site.h"

namespace web_test {
namespace {

using web::SiteFile;

TEST(ResolvedPathsTest, KeepsWhatWasFoundUntilTheGenerationMoves) {
  TestSite site;
  site.Write("a.asp", "a");
  web::SiteFiles files(site.site(), site.data());
  web::ResolvedPaths resolved(8);

  EXPECT_EQ(resolved.Resolve(files, "/a.asp", 5).kind, SiteFile::Kind::Page);
  std::filesystem::remove(site.site() + "/a.asp");
  // Same generation: the kept answer (the notices would have moved on).
  EXPECT_EQ(resolved.Resolve(files, "/a.asp", 5).kind, SiteFile::Kind::Page);
  // Moved on, or not watched at all: the file system answers.
  EXPECT_EQ(resolved.Resolve(files, "/a.asp", 6).kind, SiteFile::Kind::NotFound);
  EXPECT_EQ(resolved.Resolve(files, "/a.asp", 0).kind, SiteFile::Kind::NotFound);

  // A path that finds nothing is not kept: the page written later is found
  // at the same generation.
  EXPECT_EQ(resolved.Resolve(files, "/b.asp", 6).kind, SiteFile::Kind::NotFound);
  site.Write("b.asp", "b");
  EXPECT_EQ(resolved.Resolve(files, "/b.asp", 6).kind, SiteFile::Kind::Page);

  // A request that read an older generation than another one's neither
  // keeps its answer nor drops the newer ones.
  site.Write("c.asp", "c");
  EXPECT_EQ(resolved.Resolve(files, "/c.asp", 5).kind, SiteFile::Kind::Page);
  std::filesystem::remove(site.site() + "/c.asp");
  EXPECT_EQ(resolved.Resolve(files, "/c.asp", 6).kind, SiteFile::Kind::NotFound);
  std::filesystem::remove(site.site() + "/b.asp");
  EXPECT_EQ(resolved.Resolve(files, "/b.asp", 6).kind, SiteFile::Kind::Page);  // still kept
}

TEST(ResolvedPathsTest, KeepsNoMoreThanItsBound) {
  TestSite site;
  for (const char* name : {"1.asp", "2.asp", "3.asp"}) site.Write(name, "x");
  web::SiteFiles files(site.site(), site.data());
  web::ResolvedPaths resolved(2);
  for (const char* path : {"/1.asp", "/2.asp", "/3.asp"}) EXPECT_EQ(resolved.Resolve(files, path, 7).kind, SiteFile::Kind::Page);
  // The third dropped the first two: they are looked up again.
  std::filesystem::remove(site.site() + "/1.asp");
  std::filesystem::remove(site.site() + "/3.asp");
  EXPECT_EQ(resolved.Resolve(files, "/1.asp", 7).kind, SiteFile::Kind::NotFound);
  EXPECT_EQ(resolved.Resolve(files, "/3.asp", 7).kind, SiteFile::Kind::Page);
}

}  // namespace
}  // namespace web_test
