// SPDX-License-Identifier: GPL-3.0-or-later
// The POSIX environment: program folder choice, the command line, the single-instance lock,
// and the clock seeing a change of the process's time zone.
#include "platform/posix/posix_environment.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/posix/posix_clock.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;

class PosixEnvironmentTest : public ::testing::Test {
 protected:
  PosixEnvironmentTest() {
    dir = fs::temp_directory_path() / ("korvane-env-" + std::to_string(getpid()));
    fs::create_directories(dir / "installed");
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    unsetenv("KORVANE_HOME");
  }
  ~PosixEnvironmentTest() override {
    unsetenv("KORVANE_HOME");
    fs::remove_all(dir);
  }
  fs::path dir;
};

TEST_F(PosixEnvironmentTest, ProgramFolderPrefersHomeThenInstalledThenBuildTree) {
  const std::string installed = (dir / "installed").string();
  EXPECT_EQ(PosixEnvironment({}, installed + "/", "/build/data").programFolder(), installed);
  EXPECT_EQ(PosixEnvironment({}, (dir / "absent").string(), "/build/data").programFolder(),
            "/build/data");
  setenv("KORVANE_HOME", "/home/me/korvane/", 1);
  EXPECT_EQ(PosixEnvironment({}, installed, "/build/data").programFolder(), "/home/me/korvane");
}

TEST_F(PosixEnvironmentTest, CommandLineJoinsTheArguments) {
  EXPECT_EQ(PosixEnvironment({}, "", "").commandLine(), "");
  EXPECT_EQ(PosixEnvironment({"-ro", "x"}, "", "").commandLine(), "-ro x");
}

TEST_F(PosixEnvironmentTest, OnlyOneInstanceHoldsTheLockUntilItEnds) {
  EXPECT_EQ(PosixEnvironment::lockPath(), (dir / "korvane.lock").string());
  auto first = std::make_unique<PosixEnvironment>(std::vector<std::string>{}, "", "");
  PosixEnvironment second({}, "", "");
  EXPECT_TRUE(first->claimSingleInstance());
  EXPECT_FALSE(second.claimSingleInstance());
  first.reset();
  EXPECT_TRUE(second.claimSingleInstance());
}

TEST_F(PosixEnvironmentTest, ACrashedInstanceLeavesNoLockBehind) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    PosixEnvironment env({}, "", "");
    _exit(env.claimSingleInstance() ? 0 : 1);  // ends without any clean-up
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(fs::exists(dir / "korvane.lock"));
  PosixEnvironment env({}, "", "");
  EXPECT_TRUE(env.claimSingleInstance());
}

TEST(PosixClockZoneTest, AChangeOfTzIsSeenAtTheNextRead) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  PosixClock clock;
  TimeZoneInfo info;
  setenv("TZ", "AAA+3", 1);
  clock.timeZoneInformation(info);
  EXPECT_EQ(info.standardName, "AAA");
  EXPECT_EQ(info.bias, 180);
  setenv("TZ", "BBB-2", 1);
  clock.timeZoneInformation(info);
  EXPECT_EQ(info.standardName, "BBB");
  EXPECT_EQ(info.bias, -120);
  if (old)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
}

}  // namespace
}  // namespace korvane::platform
