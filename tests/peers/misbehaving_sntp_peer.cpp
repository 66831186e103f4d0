// SPDX-License-Identifier: GPL-3.0-or-later
// An SNTP server that misbehaves as the tests need, answering each request once:
//   korvane-misbehaving-sntp-peer [--address A] [--port N] --mode M [--millis MS] [--code C]
// Modes: hold (the network holds the reply MS milliseconds after the server stamped it),
// negative (the stamps claim the server held the request MS milliseconds, though it answers at
// once: the delay comes out negative), kiss (a kiss-o'-death in the form most servers send:
// leap indicator 3, stratum 0, the code C as reference).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "peers/tcp_peer.h"

namespace {

// Now plus millis as an NTP timestamp, big-endian into out.
void stampAt(unsigned char* out, long long millis) {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count() + millis;
  const uint64_t seconds = static_cast<uint64_t>(ms / 1000) + 2208988800ULL;
  const uint64_t fraction = static_cast<uint64_t>(ms % 1000) * 4294967296ULL / 1000;
  for (int i = 0; i < 4; ++i) {
    out[i] = static_cast<unsigned char>(seconds >> (24 - 8 * i));
    out[4 + i] = static_cast<unsigned char>(fraction >> (24 - 8 * i));
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace korvane::peers;
  std::string address = "127.0.0.1", mode, code = "RATE";
  long port = 123, millis = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i], value = argv[i + 1];
    if (option == "--address")
      address = value;
    else if (option == "--port" && (port = parsePort(argv[i + 1])) >= 0)
      continue;
    else if (option == "--mode")
      mode = value;
    else if (option == "--millis")
      millis = std::stol(value);
    else if (option == "--code" && value.size() <= 4)
      code = value;
    else
      return std::fprintf(stderr, "bad option %s %s\n", option.c_str(), value.c_str()), 2;
  }
  if (mode != "hold" && mode != "negative" && mode != "kiss")
    return std::fputs("--mode hold, negative or kiss\n", stderr), 2;
  installStopHandlers();
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(static_cast<uint16_t>(port));
  if (fd < 0 || inet_pton(AF_INET, address.c_str(), &at.sin_addr) != 1 ||
      bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0)
    return std::fprintf(stderr, "bind %s:%ld: %s\n", address.c_str(), port, std::strerror(errno)),
           1;
  while (!stopping) {
    unsigned char in[48 * 2], out[48] = {};
    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    const ssize_t n = recvfrom(fd, in, sizeof in, 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (n != 48) continue;
    out[0] = 0x24;  // version 4, server
    out[1] = 2;
    std::memcpy(out + 24, in + 40, 8);  // the client's T1
    stampAt(out + 32, 0);
    stampAt(out + 40, mode == "negative" ? millis : 0);
    if (mode == "kiss") {
      out[0] = 0xE4, out[1] = 0;
      std::memcpy(out + 12, code.data(), code.size());
    }
    if (mode == "hold") std::this_thread::sleep_for(std::chrono::milliseconds(millis));
    sendto(fd, out, sizeof out, 0, reinterpret_cast<sockaddr*>(&from), fromSize);
  }
  close(fd);
  return 0;
}
