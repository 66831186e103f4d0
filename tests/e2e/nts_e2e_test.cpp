// SPDX-License-Identifier: GPL-3.0-or-later
// korvane-query --protocol nts, and the main window's synchronisation on the real Qt sockets and
// GnuTLS, against chronyd serving NTS on the loopback, its NTP requests relayed by the test
// (unchanged, with one bit flipped, or stripped of their authentication).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <regex>
#include <thread>

#include "e2e/child_process.h"
#include "e2e/e2e_support.h"
#include "e2e/nts_peer.h"
#include "loopback_address.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_windows.h"
#include "platform/gnutls/gnutls_tls.h"
#include "platform/gnutls/nettle_siv.h"
#include "platform/posix/clock_random.h"
#include "platform/posix/lazy_nts_crypto.h"
#include "platform/posix/posix_clock.h"
#include "platform/qt/qt_background.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_locale.h"
#include "platform/qt/qt_socket.h"
#include "platform/qt/qt_test_app.h"
#include "shell/nxo_krv.h"
#include "shell/nxo_krv_fixture.h"

namespace korvane::e2e {
namespace {

enum class Relay { Pass, FlipBit, Strip };

// 127.0.0.2:123 to chronyd on 127.0.0.1:123 and back, the reply changed as the mode says.
class NtpRelay {
 public:
  explicit NtpRelay(Relay mode) : mode_(mode) {
    front_ = socket(AF_INET, SOCK_DGRAM, 0);
    back_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a = testing::loopbackAddress(123);
    inet_pton(AF_INET, kNtsNtpAddress, &a.sin_addr);
    const sockaddr_in server = testing::loopbackAddress(123);
    ok_ = bind(front_, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0 &&
          connect(back_, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0;
    if (ok_) thread_ = std::thread([this] { run(); });
  }
  ~NtpRelay() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    close(front_);
    close(back_);
  }
  bool ok() const { return ok_; }
  // Requests of 48 bytes alone: plain SNTP, which an NTS client must never send.
  int plainRequests() const { return plain_; }
  int requests() const { return requests_; }

 private:
  void run() {
    sockaddr_in client{};
    uint8_t buffer[4096];
    pollfd fds[2] = {{front_, POLLIN, 0}, {back_, POLLIN, 0}};
    while (!stop_) {
      if (poll(fds, 2, 20) <= 0) continue;
      if (fds[0].revents & POLLIN) {
        socklen_t len = sizeof client;
        const ssize_t n =
            recvfrom(front_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&client), &len);
        ++requests_;
        if (n == 48) ++plain_;
        if (n > 0) send(back_, buffer, static_cast<size_t>(n), 0);
      }
      if (fds[1].revents & POLLIN) {
        ssize_t n = recv(back_, buffer, sizeof buffer, 0);
        if (n < 48) continue;
        if (mode_ == Relay::FlipBit) buffer[40] ^= 0x01;  // the transmit timestamp
        if (mode_ == Relay::Strip) n = 48;
        sendto(front_, buffer, static_cast<size_t>(n), 0, reinterpret_cast<sockaddr*>(&client),
               sizeof client);
      }
    }
  }

  Relay mode_;
  int front_ = -1, back_ = -1;
  bool ok_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<int> plain_{0}, requests_{0};
  std::thread thread_;
};

// The offsets of lines "HOST PROTOCOL offset +S.SSS s delay D.DDD s stratum N ref ID[
// authenticated]".
std::vector<double> offsets(const std::string& out, const std::string& head, bool authenticated) {
  const std::regex line(head +
                        " offset ([+-][0-9]+\\.[0-9]{3}) s delay [0-9]+\\.[0-9]{3} s"
                        " stratum [0-9]+ ref [^ ]+" +
                        (authenticated ? " authenticated" : ""));
  std::vector<double> found;
  size_t start = 0;
  for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
    std::smatch m;
    const std::string text = out.substr(start, end - start);
    EXPECT_TRUE(std::regex_match(text, m, line)) << "unexpected line: " << text;
    if (!m.empty()) found.push_back(std::stod(m[1]));
  }
  return found;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

class NtsE2eTest : public PeersTest {
 protected:
  ChildResult query(std::vector<std::string> args) {
    args.insert(args.begin(), KORVANE_QUERY_BIN);
    return runChild(args, {clockFile.env()}, 40000);
  }
};

TEST_F(NtsE2eTest, AuthenticatedTimeAgreesWithPlainSntpFromTheSameServer) {
  KORVANE_START_PEERS(kNtpPeer | kNtsPeer | kNtsViaRelay);
  NtpRelay relay(Relay::Pass);
  ASSERT_TRUE(relay.ok()) << "cannot relay on " << kNtsNtpAddress << ":123";
  clockFile.write(-2500);  // the local clock 2.5 s behind: both should see +2.500 s
  const ChildResult nts = query({"-p", "nts", "--ca", peers_->ntsCaFile(), "-c", "7", "localhost"});
  ASSERT_EQ(nts.exitCode, 0) << nts.err;
  const ChildResult plain = query({"-p", "sntp", "-c", "7", "127.0.0.1"});
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  const auto authenticated = offsets(nts.out, "localhost nts", true);
  const auto sntp = offsets(plain.out, "127\\.0\\.0\\.1 sntp", false);
  ASSERT_EQ(authenticated.size(), 7u);
  ASSERT_EQ(sntp.size(), 7u);
  EXPECT_NEAR(median(authenticated), 2.5, 0.001 * kTimingSlackMs);
  EXPECT_LE(std::abs(median(authenticated) - median(sntp)), 0.001 + 0.001 * kMedianSlackMs);
  EXPECT_EQ(relay.requests(), 7);
  EXPECT_EQ(relay.plainRequests(), 0);
}

TEST_F(NtsE2eTest, TamperingAWrongNameOrAnUntrustedIssuerIsRefusedWithoutFallingBack) {
  KORVANE_START_PEERS(kNtpPeer | kNtsPeer | kNtsViaRelay);
  const std::string ca = peers_->ntsCaFile();
  const struct {
    const char* name;
    Relay relay;
    std::vector<std::string> args;
    const char* why;
  } rows[] = {
      {"one bit flipped", Relay::FlipBit, {"--ca", ca, "localhost"}, "does not verify"},
      {"answered unauthenticated", Relay::Strip, {"--ca", ca, "localhost"}, "not authenticated"},
      {"a certificate for another name", Relay::Pass, {"--ca", ca, "127.0.0.1"}, "certificate"},
      {"the system's trust store", Relay::Pass, {"localhost"}, "issuer is unknown"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    NtpRelay relay(row.relay);
    ASSERT_TRUE(relay.ok());
    std::vector<std::string> args = {"-p", "nts", "-t", "2"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    const ChildResult r = query(args);
    EXPECT_EQ(r.exitCode, 1) << r.out;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(row.why), std::string::npos) << r.err;
    EXPECT_EQ(relay.plainRequests(), 0);
  }
}

// The main window with one server, localhost, whose line names 4460; the real Qt sockets, the
// key establishment in the background through the module the desktop program loads on first use,
// and the simulated clock.
class NtsSyncE2eTest : public PeersTest {
 protected:
  void start() {
    KORVANE_START_PEERS(kNtpPeer | kNtsPeer | kNtsViaRelay);
    korvane::testing::qtTestApp();
    setenv("KORVANE_CLOCK_FILE", clockFile.path().c_str(), 1);
    clock = platform::makeSystemClock();
    state = std::make_unique<program::ProgramState>(registry, boxes, *clock);
    keyring = std::make_unique<sync::NtsKeyring>(crypto.tls(), crypto.siv(), crypto.random(),
                                                 background, peers_->ntsCaFile());
    synchroniser = std::make_unique<sync::Synchroniser>(
        sync::SyncServices{*clock, events, locale, random, sockets});
    synchroniser->setNts(keyring.get());
    krv = std::make_unique<shell::NXO_KRV>(
        sync::SyncServices{*clock, events, locale, random, sockets}, *synchroniser,
        shell::ShellServices{shell, windows, environment, 5, 1, 0},
        shell::ProgramServices{*state, program, files, os});
    krv->Servers.addItem("Loopback NA", 1);
    krv->tables.ServerHost[1] = "localhost";
    krv->tables.ServerPorts[1] = "37:123:13:519:4460";
    krv->tables.RegionServers[0] = 1;
    krv->tables.regionCount = 1;
    krv->regionCode = "NA";
    krv->Servers.select(1);
    krv->vbRemoteHost.setText("localhost");
    krv->CurServer = 1;
    krv->protocolChoice = "Default SNTP Protocol";
  }
  void synchronise() {
    krv->SyncTimeNow.click();
    EXPECT_EQ(krv->SyncStatus, "Synchronizing using NTS...");
    ASSERT_TRUE(korvane::testing::runQtUntil([&] { return !krv->synchronising(); }, 15000))
        << "still busy: " << krv->SyncStatus;
  }

  platform::QtEventLoop events;
  platform::QtLocale locale;
  platform::ClockRandom random;
  platform::QtSocketFactory sockets;
  platform::QtBackgroundWork background;
  platform::LazyNtsCrypto crypto{{KORVANE_NTS_MODULE}};
  platform::FakeShell shell;
  platform::FakeWindows windows;
  platform::FakeEnvironment environment;
  platform::FakeRegistry registry;
  platform::FakeMessageBoxes boxes;
  platform::FakeFiles files;
  platform::FakeOsVersion os;
  std::vector<std::string> requests;
  shell::testing::RecordingProgram program{requests};
  std::unique_ptr<platform::SystemClock> clock;
  std::unique_ptr<program::ProgramState> state;
  std::unique_ptr<sync::NtsKeyring> keyring;
  std::unique_ptr<sync::Synchroniser> synchroniser;
  std::unique_ptr<shell::NXO_KRV> krv;
};

TEST_F(NtsSyncE2eTest, TheMainWindowSetsTheClockThroughNtsAndRefusesATamperedReply) {
  start();
  if (HasFatalFailure() || IsSkipped()) return;
  {
    NtpRelay relay(Relay::Pass);
    ASSERT_TRUE(relay.ok());
    clockFile.write(2345);
    synchronise();
    std::smatch m;
    ASSERT_TRUE(
        std::regex_match(krv->SyncStatus, m, std::regex(" KRV Adjusted by: (-?[0-9]+) ms ")))
        << krv->SyncStatus;
    EXPECT_NEAR(static_cast<double>(clockFile.read()), 0.0, kTimingSlackMs);
    EXPECT_EQ(relay.plainRequests(), 0);
  }
  NtpRelay relay(Relay::FlipBit);
  ASSERT_TRUE(relay.ok());
  clockFile.write(2345);
  synchronise();
  EXPECT_NE(krv->SyncStatus.find("does not verify"), std::string::npos) << krv->SyncStatus;
  EXPECT_EQ(clockFile.read(), 2345);
  EXPECT_EQ(relay.requests(), 1);  // one authenticated request, and no other after its refusal
  EXPECT_EQ(relay.plainRequests(), 0);
}

}  // namespace
}  // namespace korvane::e2e
