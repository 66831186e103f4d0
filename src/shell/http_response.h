#pragma once
// One HTTP response collected piece by piece: the header once, then exactly the announced number
// of body bytes. Anything else is a fault with a reason, and the body is never used.
#include <cstdint>
#include <string>
#include <string_view>

namespace korvane::shell {

// A header longer than this, without its blank line, is refused.
constexpr size_t kMaxResponseHeader = 8 * 1024;
// The most digits a Content-Length may have (a body under 10 MB).
constexpr size_t kMaxLengthDigits = 7;

class HttpResponse {
 public:
  enum class Progress { NeedMore, Complete, Failed };

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
};

}  // namespace korvane::shell
