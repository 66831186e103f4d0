// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's date and time settings: the first candidate whose programs are all on PATH is
// started by its full path, and nothing when none is there. The programs here are stand-ins.
#include "platform/qt/qt_shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "platform/fake/fake_process.h"
#include "temp_folder.h"

namespace korvane::platform {
namespace {

using Argv = std::vector<std::string>;

class DateTimeSettingsTest : public ::testing::Test {
 protected:
  DateTimeSettingsTest() : oldPath_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    setenv("PATH", bin.path().c_str(), 1);
  }
  ~DateTimeSettingsTest() override { setenv("PATH", oldPath_.c_str(), 1); }
  void put(const std::string& name, mode_t mode = 0755) {
    testing::writeText(bin.file(name), "#!/bin/sh\nexit 0\n");
    chmod(bin.file(name).c_str(), mode);
  }

  testing::TempFolder bin;
  FakeProcessLauncher launcher;
  QtShell shell{"/unused", launcher};

 private:
  std::string oldPath_;
};

TEST_F(DateTimeSettingsTest, StartsTheFirstCandidateFoundOnPath) {
  struct Step {
    const char* add;  // a program put on PATH before the call; null: none
    mode_t mode;
    Argv started;  // empty: nothing started
  };
  const Argv kInTerminal{"x-terminal-emulator",
                         "-e",
                         "/bin/sh",
                         "-c",
                         "\"$0\"; printf '\\nPress Enter to close. '; read -r _",
                         "timedatectl"};
  const Step steps[] = {
      {nullptr, 0, {}},
      {"timedatectl", 0755, {}},  // no terminal to run it in
      {"x-terminal-emulator", 0755, kInTerminal},
      {"gnome-control-center", 0644, kInTerminal},  // not runnable
      {"systemsettings", 0755, {"systemsettings", "kcm_clock"}},
      {"gnome-control-center", 0755, {"gnome-control-center", "datetime"}},
  };
  for (const Step& s : steps) {
    if (s.add) put(s.add, s.mode);
    launcher.started.clear();
    EXPECT_EQ(shell.openDateTimeSettings(), !s.started.empty()) << (s.add ? s.add : "none");
    Argv expected = s.started;
    for (std::string& a : expected)
      if (a[0] != '-' && a[0] != '/' && a.find(' ') == std::string::npos && a != "kcm_clock" &&
          a != "datetime")
        a = bin.file(a);
    EXPECT_EQ(launcher.started,
              expected.empty() ? std::vector<Argv>{} : std::vector<Argv>{expected});
  }
}

}  // namespace
}  // namespace korvane::platform
