// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the web server's answer to the update service, cut into pieces anywhere: the
// outcome and the body do not depend on the cuts, a complete body has exactly the announced
// length, and the version texts and hosts taken from it pass their checks only when well formed.
// Input: one byte (the piece length, 1 to 256), then the stream.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/text.h"
#include "fuzz_require.h"
#include "shell/host_port.h"
#include "shell/http_response.h"
#include "shell/version_text.h"

using namespace korvane;
using shell::HttpResponse;

namespace {

using fuzzing::require;

HttpResponse::Progress feed(HttpResponse& response, std::string_view stream, size_t piece) {
  HttpResponse::Progress p = HttpResponse::Progress::NeedMore;
  // Every piece is given, as the socket would: bytes after a complete body are a fault too.
  for (size_t at = 0; at < stream.size() && p != HttpResponse::Progress::Failed; at += piece)
    p = response.add(stream.substr(at, piece));
  return p;
}

void checkFields(const std::string& body) {
  for (const std::string& field : text::split(text::replaceAll(body, "\r\n", ""), "-:-")) {
    if (shell::isVersionText(field)) {
      require(field.size() <= shell::kMaxVersionText, "a long version text accepted");
      require(field.find_first_not_of("0123456789.") == std::string::npos, "a stray character");
      require(!shell::isLaterVersion(field, field), "a version later than itself");
    }
    const auto host = shell::parseHostPort(text::trim(field), 26144);
    if (host) require(host->port >= 1 && host->port <= 65535 && !host->host.empty(), "bad host");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = size_t{data[0]} + 1;
  const std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);

  HttpResponse whole, cut;
  const auto wholeProgress = feed(whole, stream, stream.size() + 1);
  const auto cutProgress = feed(cut, stream, piece);
  require(wholeProgress == cutProgress, "the outcome depends on the cuts");
  require(whole.body() == cut.body(), "the body depends on the cuts");
  require(whole.body().size() <= whole.expectedLength(), "more body than announced");
  if (wholeProgress == HttpResponse::Progress::Complete) {
    require(whole.headerSeen() && whole.body().size() == whole.expectedLength(), "short body");
    checkFields(whole.body());
  }
  if (whole.end() == HttpResponse::Progress::Complete)
    require(wholeProgress == HttpResponse::Progress::Complete, "an unfinished body completed");
  return 0;
}
