// A UnixTime server for the tests: on each TCP connection it sends the seconds since
// 1970-01-01 00:00 UTC as 4 bytes, big-endian, and closes. No packaged server speaks it.
//   korvane-unixtime-peer [--address A] [--port N]   (default 127.0.0.1, 519)
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

volatile std::sig_atomic_t stopping = 0;

void stop(int) {
  stopping = 1;
}

int fail(const char* what) {
  std::fprintf(stderr, "korvane-unixtime-peer: %s: %s\n", what, std::strerror(errno));
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  std::string address = "127.0.0.1";
  long port = 519;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--address") {
      address = argv[i + 1];
    } else if (option == "--port") {
      char* end = nullptr;
      port = std::strtol(argv[i + 1], &end, 10);
      if (*end || port < 1 || port > 65535) return std::fputs("bad --port\n", stderr), 2;
    } else {
      return std::fprintf(stderr, "unknown option %s\n", option.c_str()), 2;
    }
  }

  struct sigaction action {};
  action.sa_handler = stop;  // no SA_RESTART: accept() returns so the loop can end
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  if (listener < 0) return fail("socket");
  const int on = 1;
  setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(static_cast<uint16_t>(port));
  if (inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1)
    return std::fprintf(stderr, "bad --address %s\n", address.c_str()), 2;
  if (bind(listener, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0) return fail("bind");
  if (listen(listener, 16) != 0) return fail("listen");

  while (!stopping) {
    const int peer = accept(listener, nullptr, nullptr);
    if (peer < 0) continue;
    const auto seconds = static_cast<uint32_t>(std::time(nullptr));
    const unsigned char reply[4] = {
        static_cast<unsigned char>(seconds >> 24), static_cast<unsigned char>(seconds >> 16),
        static_cast<unsigned char>(seconds >> 8), static_cast<unsigned char>(seconds)};
    if (send(peer, reply, sizeof reply, 0) != static_cast<ssize_t>(sizeof reply))
      std::fprintf(stderr, "korvane-unixtime-peer: send: %s\n", std::strerror(errno));
    close(peer);
  }
  close(listener);
  return 0;
}
