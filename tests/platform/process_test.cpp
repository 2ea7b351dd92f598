// Starting a separate process without waiting for it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/process.h"

namespace {

TEST(ProcessTest, StartsWithoutWaiting) {
  auto dir = std::filesystem::temp_directory_path() / ("arenix_proc_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  auto marker = dir / "done";
  auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(platform::StartDetached({"sh", "-c", "sleep 1; touch '" + marker.string() + "'"}));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(900));
  EXPECT_FALSE(std::filesystem::exists(marker));
  for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(std::filesystem::exists(marker));
  std::filesystem::remove_all(dir);
}

TEST(ProcessTest, MissingProgramIsReported) {
  EXPECT_FALSE(platform::StartDetached({"arenix-no-such-program"}));
  EXPECT_FALSE(platform::StartDetached({}));
}

}  // namespace
