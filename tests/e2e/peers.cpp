// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/peers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "e2e/nts_peer.h"
#include "loopback_address.h"
#include "temp_folder.h"

namespace korvane::e2e {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kLockFile = "/tmp/korvane-loopback-peers.lock";
constexpr auto kReadyWait = std::chrono::seconds(10);
constexpr auto kStopWait = std::chrono::seconds(3);

std::string findProgram(const std::string& name) {
  for (const char* dir : {"/usr/sbin", "/usr/bin", "/sbin", "/bin", "/usr/local/sbin"}) {
    const std::string path = std::string(dir) + "/" + name;
    if (access(path.c_str(), X_OK) == 0) return path;
  }
  return {};
}

// True when nothing holds the port on 127.0.0.1 (connections still in TIME_WAIT do not count).
bool portFree(int port, int type) {
  const int fd = socket(AF_INET, type, 0);
  if (fd < 0) return false;
  const int on = 1;
  if (type == SOCK_STREAM) setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in a = testing::loopbackAddress(port);
  const bool free = bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
  close(fd);
  return free;
}

bool tcpAccepts(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return false;
  const sockaddr_in a = testing::loopbackAddress(port);
  const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
  close(fd);
  return ok;
}

}  // namespace

std::string peersUnavailable(unsigned kinds) {
  if (geteuid() != 0)
    return "the loopback time servers need root to bind ports 13, 37, 123 and 519";
  if ((kinds & kNtpPeer) && findProgram("chronyd").empty())
    return "chronyd is not installed (Debian package chrony)";
  if ((kinds & kNtsPeer) && findProgram("openssl").empty())
    return "openssl is not installed (Debian package openssl)";
  if ((kinds & kTimeDayTimePeer) && findProgram("xinetd").empty())
    return "xinetd is not installed (Debian package xinetd)";
  if ((kinds & kUnixTimePeer) && access(KORVANE_UNIXTIME_PEER, X_OK) != 0)
    return std::string("the UnixTime test server is not built: ") + KORVANE_UNIXTIME_PEER;
  return {};
}

std::vector<std::string> chronydCommand(const std::string& config) {
  return {findProgram("chronyd"), "-d", "-x", "-u", "root", "-f", config};
}

bool ntpAnswers(int timeoutMs) {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) return false;
  unsigned char request[48] = {0x1B};
  const sockaddr_in a = testing::loopbackAddress(123);
  bool answered = false;
  if (sendto(fd, request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&a), sizeof a) ==
      static_cast<ssize_t>(sizeof request)) {
    pollfd p{fd, POLLIN, 0};
    unsigned char reply[64];
    answered = poll(&p, 1, timeoutMs) == 1 && recv(fd, reply, sizeof reply, 0) == 48;
  }
  close(fd);
  return answered;
}

PeerProcess::~PeerProcess() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  const auto deadline = Clock::now() + kStopWait;
  while (Clock::now() < deadline) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

bool PeerProcess::alive(std::string& why) {
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
  pid_ = 0;
  why = name_ + " ended (status " + std::to_string(status) + "): " + testing::readText(log_);
  return false;
}

LoopbackPeers::LoopbackPeers(unsigned kinds, std::chrono::milliseconds lockWait) {
  lockFd_ = open(kLockFile, O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  const auto lockDeadline = Clock::now() + lockWait;
  while (lockFd_ >= 0 && flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
    if (Clock::now() > lockDeadline) {
      error_ = std::string("another run has held the loopback time servers (") + kLockFile +
               ") for too long";
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  char dirTemplate[] = "/tmp/korvane-peers-XXXXXX";
  if (!mkdtemp(dirTemplate)) {
    error_ = std::string("cannot make a folder for the peers: ") + std::strerror(errno);
    return;
  }
  dir_ = dirTemplate;
  if ((kinds & kNtpPeer) && !startNtp(kinds)) return;
  if ((kinds & kTimeDayTimePeer) && !startTimeDayTime()) return;
  if ((kinds & kUnixTimePeer) && !startUnixTime()) return;
}

LoopbackPeers::~LoopbackPeers() {
  processes_.clear();  // stops each one by its PID
  if (!dir_.empty()) {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  if (lockFd_ >= 0) close(lockFd_);  // releases the lock
}

bool LoopbackPeers::refuse(std::string why) {
  error_ = std::move(why);
  return false;
}

bool LoopbackPeers::startNtp(unsigned kinds) {
  const bool nts = (kinds & kNtsPeer) != 0;
  const std::string source = std::string(KORVANE_PEER_CONFIG_DIR) + "/chrony.conf.in";
  std::string conf = testing::readText(source);
  if (conf.find("bindaddress 127.0.0.1") == std::string::npos)
    return refuse("cannot read a loopback chronyd configuration from " + source);
  for (size_t at; (at = conf.find("@DIR@")) != std::string::npos;) conf.replace(at, 5, dir_);
  std::string why;
  if (nts && !makeNtsCertificates(dir_, why)) return refuse(why);
  if (nts) conf += ntsChronyLines(dir_, (kinds & kNtsViaRelay) != 0);
  const std::string path = dir_ + "/chrony.conf";
  std::ofstream(path) << conf;
  return launch("chronyd", chronydCommand(path),
                nts ? std::vector<int>{kNtsKePort} : std::vector<int>{}, true);
}

bool LoopbackPeers::startTimeDayTime() {
  const std::string conf = std::string(KORVANE_PEER_CONFIG_DIR) + "/xinetd.conf";
  if (testing::readText(conf).find("bind        = 127.0.0.1") == std::string::npos)
    return refuse("cannot read a loopback xinetd configuration from " + conf);
  return launch("xinetd",
                {findProgram("xinetd"), "-dontfork", "-f", conf, "-pidfile", dir_ + "/xinetd.pid"},
                {37, 13}, false);
}

bool LoopbackPeers::startUnixTime() {
  return launch("the UnixTime server", {KORVANE_UNIXTIME_PEER}, {519}, false);
}

bool LoopbackPeers::launch(const std::string& name, const std::vector<std::string>& argv,
                           const std::vector<int>& tcpPorts, bool ntp) {
  // A port someone else holds would leave our server unable to start: say so plainly.
  for (int port : tcpPorts)
    if (!portFree(port, SOCK_STREAM))
      return refuse("TCP port " + std::to_string(port) +
                    " on 127.0.0.1 is already in use; stop whatever serves it");
  if (ntp && !portFree(123, SOCK_DGRAM))
    return refuse("UDP port 123 on 127.0.0.1 is already in use; stop whatever serves it");

  const std::string log = dir_ + "/" + fs::path(argv[0]).filename().string() + ".log";
  std::vector<std::string> argvCopy = argv;
  std::vector<char*> args;  // built before the fork: after it, only exec is safe
  for (std::string& a : argvCopy) args.push_back(a.data());
  args.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return refuse("cannot start " + name + ": " + std::strerror(errno));
  if (pid == 0) {
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
    }
    sigset_t none;  // a blocked signal would survive exec and keep the child from stopping
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  processes_.push_back(std::make_unique<PeerProcess>(name, pid, log));
  PeerProcess& process = *processes_.back();

  const auto deadline = Clock::now() + kReadyWait;
  while (Clock::now() < deadline) {
    std::string why;
    if (!process.alive(why)) return refuse(why);
    bool ready = !ntp || ntpAnswers(100);
    for (int port : tcpPorts) ready = ready && tcpAccepts(port);
    if (ready) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  error_ = name + " did not start serving within " + std::to_string(kReadyWait.count()) +
           " s: " + testing::readText(log);
  return false;
}

std::unique_ptr<PeerProcess> startMisbehavingSntp(const std::vector<std::string>& args,
                                                  const std::string& log) {
  std::vector<std::string> argv = {KORVANE_MISBEHAVING_SNTP_PEER};
  argv.insert(argv.end(), args.begin(), args.end());
  const pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> raw;
    for (std::string& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    if (std::freopen(log.c_str(), "w", stderr) == nullptr) _exit(127);
    execv(raw[0], raw.data());
    _exit(127);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // bound by then
  return std::make_unique<PeerProcess>("misbehaving SNTP peer", pid, log);
}

}  // namespace korvane::e2e
