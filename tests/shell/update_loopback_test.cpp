// SPDX-License-Identifier: GPL-3.0-or-later
// The update service over real sockets and files: Debian's busybox httpd and the project's
// version-query server on 127.0.0.1, and a scripted server for the faults httpd never makes.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "loopback_address.h"
#include "peers/web_peers.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_process.h"
#include "platform/posix/poll_loop.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_process.h"
#include "platform/posix/posix_socket.h"
#include "shell/server_list_location.h"
#include "shell/update_fixture.h"
#include "sync/server_list.h"
#include "temp_folder.h"

namespace korvane::shell {
namespace {

using namespace platform;
using korvane::testing::readText;
using korvane::testing::TempFolder;
using korvane::testing::writeText;

const std::string kServedList =
    "Korvane server list\r\nh2\r\nh3\r\nh4\r\nh5\r\n"
    "127.0.0.1:::Loopback NA:::2:::37:123:13:519\r\n"
    "localhost:::Local name NA:::2:::37:0:13:0\r\n";

class UpdateLoopbackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (korvane::testing::busyboxPath().empty()) GTEST_SKIP() << "busybox is not installed";
    std::filesystem::create_directories(web.path() / "Korvane");
    writeText(web.file("Korvane/NXO_KRV5.KRV"), kServedList);
    ASSERT_TRUE(korvane::testing::startVersionPeer(versionPeer, "5.1.13", work.file("query.log")))
        << versionPeer.error();
    window.onReload = [this] {
      const auto bytes = files.readAll(serverListToRead(files, ""), sync::kMaxListBytes);
      serversLoaded = bytes ? sync::parseServerList(*bytes).size() : 0;
    };
  }
  // The version information the web server offers, naming the version peer.
  void publish(const std::string& latest, size_t listSize) {
    writeText(web.file("Korvane/KRVVC5.IPF"),
              "Korvane\r\n-:-info-:-x-:-" + latest + "-:-" + std::to_string(listSize) +
                  "-:-127.0.0.1:" + std::to_string(versionPeer.port()) + "\r\n");
    ASSERT_TRUE(
        korvane::testing::startWebServer(webServer, web.path().string(), work.path().string()))
        << webServer.error();
    service = std::make_unique<NXOUpdateService>(
        window, UpdateServices{sockets, files, boxes, launcher},
        UpdateSettings{"127.0.0.1:" + std::to_string(webServer.port()), ""});
  }
  // Runs the loop until done holds; every exchange here must end within 2 s.
  bool runUntil(const std::function<bool()>& done) {
    return loop.runUntil(done, PollLoop::Clock::now() + std::chrono::seconds(2));
  }
  std::string programList() { return readText(program.file("NXO_KRV5.KRV")); }

  TempFolder program, web, work;
  korvane::testing::ServerProcess webServer, versionPeer;
  PollLoop loop;
  PosixSocketFactory sockets{loop};
  PosixFiles files{program.path().string()};
  FakeMessageBoxes boxes;
  FakeProcessLauncher launcher;
  testing::RecordingUpdateWindow window;
  size_t serversLoaded = 0;
  std::unique_ptr<NXOUpdateService> service;
};

TEST_F(UpdateLoopbackTest, AFirstRunWithoutAListDownloadsItLoadsItAndSynchronises) {
  publish("5.1.12", kServedList.size());
  service->NXOUpdate();  // as the list loader does when the list is missing
  ASSERT_TRUE(runUntil([&] { return window.reloads == 1; })) << window.status;
  EXPECT_EQ(programList(), kServedList);
  EXPECT_EQ(serversLoaded, 2u);
  EXPECT_EQ(window.syncsWhileEnabled, 1);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(service->checkUpdateEnabled());
}

TEST_F(UpdateLoopbackTest, TheVersionHostOffersANewerVersionAfterTheFirstTimeData) {
  writeText(program.file("NXO_KRV5.KRV"), kServedList);
  publish("5.1.12", kServedList.size());
  boxes.answer(MsgResult::No);
  service->timeDataArrived();
  ASSERT_TRUE(runUntil([&] { return window.answered == 1; }));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            "There is a newer version of Korvane Available.\r\n\r\n"
            "Would you like to upgrade to version 5.1.13 Now?");
  EXPECT_EQ(boxes.shown[0].title, "Korvane Upgrade Available.");
  EXPECT_EQ(readText(work.file("query.log")), "NXO_PRODAI:'/|KRV5.1.12:'/|02LNX\n");
  EXPECT_TRUE(service->versionReplyReceived);
}

TEST_F(UpdateLoopbackTest, AManualCheckWithNothingNewSaysSo) {
  writeText(program.file("NXO_KRV5.KRV"), kServedList);
  publish("5.1.12", kServedList.size());
  service->checkForUpdates();
  ASSERT_TRUE(runUntil([&] { return !boxes.shown.empty(); }));
  EXPECT_EQ(boxes.shown[0].text, "No Updates Available.");
  EXPECT_EQ(window.status, "No KRV Updates Available...");
  EXPECT_TRUE(service->checkUpdateEnabled());
}

TEST_F(UpdateLoopbackTest, TheOldListsLongerTailDoesNotSurvive) {
  writeText(program.file("NXO_KRV5.KRV"), kServedList + std::string(5000, 'x'));
  publish("5.1.12", kServedList.size());
  boxes.answer(MsgResult::Yes);
  service->checkForUpdates();
  ASSERT_TRUE(runUntil([&] { return window.reloads == 1; })) << window.status;
  EXPECT_EQ(boxes.shown.at(0).title, "Korvane Update Available!");
  EXPECT_EQ(programList(), kServedList);
  EXPECT_EQ(serversLoaded, 2u);
}

TEST_F(UpdateLoopbackTest, AnAcceptedUpgradeStartsTheProgramFoldersUpdaterWithoutAShell) {
  const std::string updater = program.file("NXOUpdate");
  writeText(updater, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n");
  std::filesystem::permissions(updater, std::filesystem::perms::owner_all);
  PosixProcessLauncher realLauncher;
  NXOUpdateService s{window, {sockets, files, boxes, realLauncher}, {"127.0.0.1:1", ""}};
  s.versionHost = "127.0.0.1:" + std::to_string(versionPeer.port());
  s.NXO_ProdID();
  ASSERT_TRUE(runUntil([&] { return window.answered == 1; }));
  const auto started = [&] { return readText(updater + ".args").size() > 0; };
  for (int i = 0; i < 100 && !started(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(readText(updater + ".args"),
            "/v5.1.13\n/tUPDATEING Korvane - by the Korvane developers\n");
}

TEST_F(UpdateLoopbackTest, AStartRemovesWhatKilledListWritesLeftBesideEitherList) {
  const std::string dead = "NXO_KRV5.KRV.tmp-999999999";  // above any process id
  const std::string running = "NXO_KRV5.KRV.tmp-" + std::to_string(getppid());
  for (const TempFolder* f : {&program, &work}) {
    writeText(f->file(dead), "half a list");
    writeText(f->file(running), "being written");
  }
  NXOUpdateService s{
      window, {sockets, files, boxes, launcher}, {"127.0.0.1:1", work.path().string()}};
  for (const TempFolder* f : {&program, &work}) {
    EXPECT_FALSE(std::filesystem::exists(f->file(dead))) << f->path();
    EXPECT_TRUE(std::filesystem::exists(f->file(running))) << "its writer still runs";
  }
}

// A server that answers one connection with the given pieces, a pause between them, then closes.
class ScriptedHttpServer {
 public:
  explicit ScriptedHttpServer(std::vector<std::string> pieces) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in where = korvane::testing::loopbackAddress(0);
    socklen_t length = sizeof where;
    bind(listener_, reinterpret_cast<sockaddr*>(&where), sizeof where);
    listen(listener_, 1);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&where), &length);
    port_ = ntohs(where.sin_port);
    thread_ = std::thread([this, pieces = std::move(pieces)] {
      const int peer = accept(listener_, nullptr, nullptr);
      if (peer < 0) return;
      char request[1024];
      (void)!recv(peer, request, sizeof request, 0);
      for (const std::string& piece : pieces) {
        (void)!send(peer, piece.data(), piece.size(), MSG_NOSIGNAL);
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
      }
      close(peer);
    });
  }
  ~ScriptedHttpServer() {
    shutdown(listener_, SHUT_RDWR);
    thread_.join();
    close(listener_);
  }
  int port() const { return port_; }

 private:
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
};

TEST_F(UpdateLoopbackTest, ADownloadIsTakenWholeOrNotAtAll) {
  const std::string header =
      "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kServedList.size()) + "\r\n\r\n";
  const std::string oldList = kServedList + "old\r\n";
  struct Case {
    const char* name;
    std::vector<std::string> pieces;
    bool replaced;
  };
  const Case cases[] = {
      {"header split across two pieces",
       {header.substr(0, 20), header.substr(20) + kServedList.substr(0, 9), kServedList.substr(9)},
       true},
      {"cut off", {header + kServedList.substr(0, 30)}, false},
      {"more than announced", {header + kServedList + "extra"}, false},
      {"no Content-Length", {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + kServedList}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeText(program.file("NXO_KRV5.KRV"), oldList);
    ScriptedHttpServer server(c.pieces);
    window.reloads = 0;
    NXOUpdateService s{window,
                       {sockets, files, boxes, launcher},
                       {"127.0.0.1:" + std::to_string(server.port()), ""}};
    s.downloadFlag = true;
    s.checkForUpdates();
    ASSERT_TRUE(runUntil([&] { return !s.exchangeRunning(); }));
    EXPECT_EQ(programList(), c.replaced ? kServedList : oldList);
    EXPECT_EQ(window.reloads, c.replaced ? 1 : 0);
    EXPECT_TRUE(s.checkUpdateEnabled());
  }
}

}  // namespace
}  // namespace korvane::shell
