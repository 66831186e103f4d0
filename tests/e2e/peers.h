// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Real time servers on 127.0.0.1 and their real ports, started and stopped by the tests:
// chronyd (NTP, UDP 123), xinetd's own Time and DayTime (TCP 37 and 13) and the project's
// UnixTime server (TCP 519). Nobody else's clock is touched: chronyd runs with -x.
#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace korvane::e2e {

enum PeerKind : unsigned { kNtpPeer = 1, kTimeDayTimePeer = 2, kUnixTimePeer = 4, kAllPeers = 7 };
// chronyd (kNtpPeer) serving NTS as well (see nts_peer.h), its NTP requests sent to itself or,
// with kNtsViaRelay, to a relay of the test on 127.0.0.2.
constexpr unsigned kNtsPeer = 8;
constexpr unsigned kNtsViaRelay = 16;

// Why the peers cannot run on this machine (not root, a server missing); empty when they can.
std::string peersUnavailable(unsigned kinds);

// A started server process, stopped by its PID when destroyed.
class PeerProcess {
 public:
  PeerProcess(std::string name, pid_t pid, std::string log)
      : name_(std::move(name)), pid_(pid), log_(std::move(log)) {}
  ~PeerProcess();
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;
  pid_t pid() const { return pid_; }
  // False, with the reason, once the process has ended.
  bool alive(std::string& why);

 private:
  std::string name_;
  pid_t pid_;
  std::string log_;  // its standard output and error
};

// The peers a test needs, running from construction to destruction. Every run of them, in any
// process or worktree, holds one lock, so two test runs wait for each other instead of clashing.
class LoopbackPeers {
 public:
  // Waits up to lockWait for another run to release the servers.
  explicit LoopbackPeers(unsigned kinds = kAllPeers,
                         std::chrono::milliseconds lockWait = std::chrono::seconds(30));
  ~LoopbackPeers();
  LoopbackPeers(const LoopbackPeers&) = delete;
  LoopbackPeers& operator=(const LoopbackPeers&) = delete;

  // Empty when every peer asked for is serving; else what went wrong.
  const std::string& error() const { return error_; }
  // With kNtsPeer: the CA file that certifies chronyd's key establishment.
  std::string ntsCaFile() const { return dir_ + "/ca.crt"; }

 private:
  bool refuse(std::string why);
  bool startNtp(unsigned kinds);
  bool startTimeDayTime();
  bool startUnixTime();
  bool launch(const std::string& name, const std::vector<std::string>& argv,
              const std::vector<int>& tcpPorts, bool ntp);

  int lockFd_ = -1;
  std::string dir_;
  std::string error_;
  std::vector<std::unique_ptr<PeerProcess>> processes_;
};

// The command line that starts chronyd with the given configuration: -x keeps it off the clock.
std::vector<std::string> chronydCommand(const std::string& config);

// Whether an NTP server answers a client request on 127.0.0.1:123 within timeoutMs.
bool ntpAnswers(int timeoutMs);

// Our misbehaving SNTP server (tests/peers) on 127.0.0.1:123 with args, for the life of the
// object; its messages go to log. The caller holds the peers' lock.
std::unique_ptr<PeerProcess> startMisbehavingSntp(const std::vector<std::string>& args,
                                                  const std::string& log);

}  // namespace korvane::e2e
