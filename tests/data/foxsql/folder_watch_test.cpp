// The registry of folder watches: a folder is found under any spelling of
// its path, several watchers of one folder each answer until they go, and
// an unwatched folder (or a watch that cannot tell) gives 0.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/dbf/test_files.h"
#include "data/foxsql/folder_watch.h"

namespace data::foxsql {
namespace {

TEST(FolderWatchTest, AnswersForTheFolderUnderAnySpellingWhileWatched) {
  dbf_test::TempDir dir;
  const std::string meet = dir.path() + "/meet";
  std::filesystem::create_directories(meet);
  std::filesystem::create_symlink(meet, dir.path() + "/link");
  const std::string resolved = ResolvedFolder(meet);
  EXPECT_EQ(ResolvedFolder(dir.path() + "/link/"), resolved);
  EXPECT_EQ(FolderGeneration(resolved), 0u);

  uint64_t first_generation = 7, second_generation = 0;
  const uint64_t first = WatchFolder(dir.path() + "/link", [&] { return first_generation; });
  EXPECT_EQ(FolderGeneration(resolved), 7u);
  EXPECT_EQ(FolderGeneration(ResolvedFolder(dir.path())), 0u);  // only that folder

  // A second watcher of the same folder; the first going leaves it watched.
  const uint64_t second = WatchFolder(meet, [&] { return second_generation; });
  UnwatchFolder(first);
  EXPECT_EQ(FolderGeneration(resolved), 0u);  // the second cannot tell
  second_generation = 9;
  EXPECT_EQ(FolderGeneration(resolved), 9u);
  UnwatchFolder(second);
  EXPECT_EQ(FolderGeneration(resolved), 0u);
}

}  // namespace
}  // namespace data::foxsql
