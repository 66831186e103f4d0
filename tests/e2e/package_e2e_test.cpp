// SPDX-License-Identifier: GPL-3.0-or-later
// The Debian package as a user gets it: what it holds and declares, what the checkers say of it,
// and its programs run from a scratch root where it was unpacked.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/utsname.h>

#include <filesystem>
#include <regex>
#include <thread>

#include "e2e/child_process.h"
#include "e2e/e2e_support.h"
#include "e2e/window/desktop.h"
#include "temp_folder.h"

namespace korvane::e2e {
namespace {

namespace fs = std::filesystem;
using korvane::testing::readText;
using korvane::testing::writeText;
using namespace std::chrono_literals;

constexpr int kToolWaitMs = 180000;  // lintian takes tens of seconds on a busy machine

std::string trimmed(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

// Unpacks the package the build's first package test made into a scratch root.
class PackageTest : public PeersTest {
 protected:
  static void SetUpTestSuite() {
    scratch = new korvane::testing::TempFolder;
    const std::string arch =
        trimmed(runChild({"/usr/bin/dpkg", "--print-architecture"}, {}, 10000).out);
    deb = std::string(KORVANE_PACKAGE_DIR) + "/korvane_" KORVANE_VERSION "_" + arch + ".deb";
    root = scratch->file("root");
    unpacked = runChild({"/usr/bin/dpkg-deb", "-x", deb, root}, {}, 60000);
  }
  static void TearDownTestSuite() { delete scratch; }
  void SetUp() override { ASSERT_EQ(unpacked.exitCode, 0) << deb << ": " << unpacked.err; }

  static inline korvane::testing::TempFolder* scratch = nullptr;
  static inline ChildResult unpacked;
  static inline std::string deb, root;
};

TEST_F(PackageTest, HoldsTheProgramsTheirFolderAndWhatTheDesktopNeeds) {
  const std::string fields =
      runChild({"/usr/bin/dpkg-deb", "-f", deb, "Depends", "Recommends", "Homepage"}, {}, 10000)
          .out;
  for (const char* wanted : {"libc6", "libqt6widgets6", "libgnutls30", "libqt6dbus6",
                             "Recommends: xdg-utils, fonts-liberation", "Homepage: https://"})
    EXPECT_NE(fields.find(wanted), std::string::npos) << wanted << " in " << fields;
  // The licence, machine-readable, in the copyright file and the AppStream description.
  const std::string copyright = readText(root + "/usr/share/doc/korvane/copyright");
  EXPECT_NE(copyright.find("\nLicense: GPL-3.0+\n"), std::string::npos) << copyright;
  EXPECT_EQ(copyright.find("none-chosen"), std::string::npos) << copyright;
  EXPECT_NE(readText(root + "/usr/share/metainfo/invalid.korvane.korvane.metainfo.xml")
                .find("<project_license>GPL-3.0-or-later</project_license>"),
            std::string::npos);
  for (const char* file :
       {"usr/bin/korvane", "usr/bin/korvane-query", "usr/share/korvane/NXO_KRV5.KRV",
        "usr/share/korvane/help/KRV_Help.htm", "usr/share/korvane/Skins/KRV_Default Skin.gif",
        "usr/share/applications/korvane.desktop", "usr/share/icons/hicolor/48x48/apps/korvane.png",
        "usr/share/metainfo/invalid.korvane.korvane.metainfo.xml",
        "usr/share/man/man1/korvane.1.gz", "usr/share/man/man1/korvane-query.1.gz",
        "usr/share/doc/korvane/copyright"})
    EXPECT_TRUE(fs::exists(root + "/" + file)) << file;

  struct Check {
    std::vector<std::string> argv;
  };
  const Check checks[] = {
      {{"/usr/bin/appstreamcli", "validate", "--no-net",
        root + "/usr/share/metainfo/invalid.korvane.korvane.metainfo.xml"}},
      {{"/usr/bin/desktop-file-validate", root + "/usr/share/applications/korvane.desktop"}},
      {{"/usr/bin/lintian", "--pedantic", "-I", "--fail-on", "error", deb}},
  };
  for (const Check& c : checks) {
    const ChildResult r = runChild(c.argv, {}, kToolWaitMs);
    EXPECT_EQ(r.exitCode, 0) << c.argv[0] << ":\n" << r.out << r.err;
    EXPECT_EQ(r.out.find("E: "), std::string::npos) << r.out;
#ifdef KORVANE_HARDENED
    // Built with the distribution's hardening flags.
    EXPECT_EQ(r.out.find("hardening-"), std::string::npos) << r.out;
#endif
  }
}

TEST_F(PackageTest, UnpackedProgramsRunAndFindTheirFolder) {
  // The informational switches answer without a display (none can be reached here).
  for (const auto& [program, name] :
       {std::pair{"korvane", "korvane "}, std::pair{"korvane-query", "korvane-query "}}) {
    const ChildResult version =
        runChild({root + "/usr/bin/" + program, "--version"},
                 {"DISPLAY=:9999", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=xcb"}, 10000);
    EXPECT_EQ(version.exitCode, 0) << version.err;
    EXPECT_EQ(version.out, std::string(name) + KORVANE_VERSION "\n");
  }
  KORVANE_START_PEERS(kNtpPeer, 180s);
  const ChildResult query =
      runChild({root + "/usr/bin/korvane-query", "127.0.0.1"}, {clockFile.env()}, 10000);
  EXPECT_EQ(query.exitCode, 0) << query.err;
  EXPECT_TRUE(std::regex_match(
      query.out, std::regex("127\\.0\\.0\\.1 sntp offset [+-][0-9]+\\.[0-9]{3}"
                            " s delay [0-9]+\\.[0-9]{3} s stratum [0-9]+ ref [^ ]+\n")))
      << query.out;
  stopPeers();

  // The unpacked folder's list names only loopback, so nothing may leave this machine; the
  // hidden start takes its first server as the last server, which the shut-down saves.
  fs::copy_file(fs::path(KORVANE_PEER_CONFIG_DIR) / "loopback.krv",
                root + "/usr/share/korvane/NXO_KRV5.KRV", fs::copy_options::overwrite_existing);
  const std::string run = scratch->file("run");
  fs::create_directories(run + "/runtime");
  fs::permissions(run + "/runtime", fs::perms::owner_all, fs::perm_options::replace);
  unsetenv("KORVANE_HOME");
  Process korvane({root + "/usr/bin/korvane", "-rs"},
                  {{"QT_QPA_PLATFORM", "offscreen"},
                   {"XDG_RUNTIME_DIR", run + "/runtime"},
                   {"XDG_CONFIG_HOME", run + "/config"},
                   {"KORVANE_REGISTRY", run + "/registry.reg"},
                   {"KORVANE_CLOCK_FILE", clockFile.path()},
                   {"KORVANE_DEBUG", "1"}},
                  run + "/stderr.txt");
  std::this_thread::sleep_for(2s);
  korvane.signal(SIGTERM);
  ASSERT_EQ(korvane.waitFor(10s), std::optional<int>(0)) << readText(run + "/stderr.txt");
  EXPECT_NE(readText(run + "/registry.reg").find("\"KRVLastServer\"=\"127.0.0.1\""),
            std::string::npos)
      << readText(run + "/registry.reg");
}

}  // namespace
}  // namespace korvane::e2e
