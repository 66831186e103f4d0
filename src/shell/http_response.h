// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One HTTP response collected piece by piece: the header once, then exactly the announced number
// of body bytes, or a redirect's Location. Anything else is a fault with a reason, and the body
// is never used.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::shell {

// A header longer than this, without its blank line, is refused.
constexpr size_t kMaxResponseHeader = 8 * 1024;
// The most digits a Content-Length may have (a body under 10 MB).
constexpr size_t kMaxLengthDigits = 7;

class HttpResponse {
 public:
  // Redirect: a 301, 302, 307 or 308 with a Location; its body is not read.
  enum class Progress { NeedMore, Complete, Failed, Redirect };

  // Adds the next piece of the stream; once Complete or Failed, any further piece is a fault.
  Progress add(std::string_view piece);
  // The connection ended: a response still incomplete is a fault.
  Progress end();

  Progress progress() const { return progress_; }
  bool headerSeen() const { return headerSeen_; }
  // The announced body length (0 until the header is seen).
  uint32_t expectedLength() const { return expected_; }
  // The body bytes received so far, never more than announced.
  const std::string& body() const { return body_; }
  // Why the response failed.
  const std::string& fault() const { return fault_; }
  // Where a redirect points, as the server wrote it.
  const std::string& location() const { return location_; }

 private:
  Progress fail(std::string why);
  Progress readHeader();
  Progress addBody(std::string_view bytes);

  Progress progress_ = Progress::NeedMore;
  bool headerSeen_ = false;
  std::string header_;  // the bytes before the blank line, until it arrives
  std::string body_;
  uint32_t expected_ = 0;
  std::string fault_;
  std::string location_;
};

// The path a redirect's location names on the server host:port ("/path" or "http://host[:port]
// /path"); empty for another server, another scheme, or a path a request line cannot carry.
std::optional<std::string> sameServerPath(std::string_view location, std::string_view host,
                                          int port);

}  // namespace korvane::shell
