// SPDX-License-Identifier: GPL-3.0-or-later
// The real korvane with no server list in a fresh program folder: it fetches the version
// information and the list from busybox httpd on 127.0.0.1, loads the list, synchronises with
// the loopback Time server it names, asks the project's version server, and (run once) ends.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "e2e/child_process.h"
#include "e2e/e2e_support.h"
#include "peers/web_peers.h"
#include "temp_folder.h"

namespace korvane::e2e {
namespace {

namespace fs = std::filesystem;
using korvane::testing::readText;
using korvane::testing::writeText;
using namespace std::chrono_literals;

// Another run may hold the loopback time servers for a while.
constexpr auto kPeersWait = 180s;
// Start, two downloads, one synchronisation and the version query; the run-once limit is 60 s.
constexpr int kRunLimitMs = 30000;

TEST(UpdateE2ETest, AFirstRunWithoutAListDownloadsItSynchronisesAndEndsAfterTheVersionReply) {
  if (korvane::testing::busyboxPath().empty()) GTEST_SKIP() << "busybox is not installed";
  if (const std::string why = peersUnavailable(kTimeDayTimePeer); !why.empty()) GTEST_SKIP() << why;
  LoopbackPeers peers(kTimeDayTimePeer, kPeersWait);
  ASSERT_TRUE(peers.error().empty()) << peers.error();

  korvane::testing::TempFolder run;
  const fs::path home = run.path() / "home", web = run.path() / "web";
  fs::copy(KORVANE_E2E_DATA_DIR, home, fs::copy_options::recursive);
  fs::remove(home / "NXO_KRV5.KRV");
  fs::create_directories(web / "Korvane");
  const std::string list = readText(std::string(KORVANE_PEER_CONFIG_DIR) + "/loopback.krv");
  writeText((web / "Korvane/NXO_KRV5.KRV").string(), list);

  korvane::testing::ServerProcess versionPeer, webServer;
  ASSERT_TRUE(
      korvane::testing::startVersionPeer(versionPeer, KORVANE_VERSION, run.file("query.log")))
      << versionPeer.error();
  writeText((web / "Korvane/KRVVC5.IPF").string(),
            std::string("Korvane\r\n-:-e2e-:-x-:-") + KORVANE_VERSION + "-:-" +
                std::to_string(list.size()) + "-:-127.0.0.1:" + std::to_string(versionPeer.port()) +
                "\r\n");
  ASSERT_TRUE(korvane::testing::startWebServer(webServer, web.string(), run.path().string()))
      << webServer.error();
  writeText(run.file("registry.reg"),
            "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Korvane]\n"
            "\"Settings\"=\"NO:59:Minute/s:NA\"\n\"KRVLastServer\"=\"127.0.0.1\"\n\n");
  writeText(run.file("clock-offset"), "2345\n");
  fs::create_directories(run.path() / "runtime");
  fs::permissions(run.path() / "runtime", fs::perms::owner_all, fs::perm_options::replace);

  const auto started = std::chrono::steady_clock::now();
  const ChildResult result = runChild(
      {KORVANE_E2E_BINARY, "-ro"},
      {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + run.file("runtime"),
       "XDG_CONFIG_HOME=" + run.file("config"), "XDG_DATA_HOME=" + run.file("data"),
       "KORVANE_REGISTRY=" + run.file("registry.reg"),
       "KORVANE_CLOCK_FILE=" + run.file("clock-offset"), "KORVANE_HOME=" + home.string(),
       "KORVANE_DEBUG=1", "KORVANE_UPDATE_HOST=127.0.0.1:" + std::to_string(webServer.port())},
      kRunLimitMs);
  const auto took = std::chrono::steady_clock::now() - started;

  ASSERT_FALSE(result.timedOut) << result.err;
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(readText((home / "NXO_KRV5.KRV").string()), list);
  EXPECT_FALSE(fs::exists(run.path() / "data/korvane/NXO_KRV5.KRV")) << "the folder is writable";
  // Synchronised with the Time server the list names: the simulated clock, 2.3 s fast, is set
  // back in whole seconds.
  const long long offset = readClockOffset(run.file("clock-offset"));
  EXPECT_GE(offset, -1100) << result.err;
  EXPECT_LE(offset, 100) << result.err;
  EXPECT_EQ(readText(run.file("query.log"))
                .rfind(std::string("NXO_PRODAI:'/|KRV") + KORVANE_VERSION + ":'/|", 0),
            0u);
  EXPECT_NE(result.err.find("shut-down complete, unload mode 1"), std::string::npos) << result.err;
  EXPECT_LT(took, 20s) << "ended by the version reply, not by the run-once limit";
}

}  // namespace
}  // namespace korvane::e2e
