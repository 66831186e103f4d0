// A version-query server for the tests: on each TCP connection it reads the request, appends it
// and a line end to the log file, answers ":'/|NXO_PRODLI" + the latest version, and closes.
//   korvane-version-peer --port N --latest V [--log FILE] [--address A]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

volatile std::sig_atomic_t stopping = 0;

void stop(int) {
  stopping = 1;
}

int fail(const char* what) {
  std::fprintf(stderr, "korvane-version-peer: %s: %s\n", what, std::strerror(errno));
  return 1;
}

void serve(int peer, const std::string& latest, const std::string& log) {
  timeval wait{2, 0};  // a client that never asks still gets its answer
  setsockopt(peer, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  char request[512];
  const ssize_t n = recv(peer, request, sizeof request, 0);
  if (!log.empty() && n > 0) {  // a readiness probe sends nothing
    if (FILE* f = std::fopen(log.c_str(), "a")) {
      std::fwrite(request, 1, static_cast<size_t>(n), f);
      std::fputc('\n', f);
      std::fclose(f);
    }
  }
  const std::string reply = ":'/|NXO_PRODLI" + latest;
  if (send(peer, reply.data(), reply.size(), 0) != static_cast<ssize_t>(reply.size()))
    std::fprintf(stderr, "korvane-version-peer: send: %s\n", std::strerror(errno));
  close(peer);
}

}  // namespace

int main(int argc, char* argv[]) {
  std::string address = "127.0.0.1", latest, log;
  long port = 26144;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--address") {
      address = argv[i + 1];
    } else if (option == "--latest") {
      latest = argv[i + 1];
    } else if (option == "--log") {
      log = argv[i + 1];
    } else if (option == "--port") {
      char* end = nullptr;
      port = std::strtol(argv[i + 1], &end, 10);
      if (*end || port < 1 || port > 65535) return std::fputs("bad --port\n", stderr), 2;
    } else {
      return std::fprintf(stderr, "unknown option %s\n", option.c_str()), 2;
    }
  }
  if (latest.empty()) return std::fputs("--latest is required\n", stderr), 2;

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
    if (peer >= 0) serve(peer, latest, log);
  }
  close(listener);
  return 0;
}
