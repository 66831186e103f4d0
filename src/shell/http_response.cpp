#include "shell/http_response.h"

#include <algorithm>
#include <optional>

#include "common/text.h"

namespace korvane::shell {

namespace {

constexpr std::string_view kBlankLine = "\r\n\r\n";

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// "HTTP/1.0 200" or "HTTP/1.1 200", followed by a blank or the line end.
bool statusIsOk(std::string_view statusLine) {
  if (statusLine.size() < 12) return false;
  const std::string_view version = statusLine.substr(0, 8);
  if (version != "HTTP/1.0" && version != "HTTP/1.1") return false;
  return statusLine.substr(8, 4) == " 200" && (statusLine.size() == 12 || statusLine[12] == ' ');
}

// The value of the Content-Length field (name without regard to case); empty when absent.
// Several fields with different values make the length unknown.
std::optional<std::string> contentLengthField(const std::vector<std::string>& lines,
                                              bool& conflicting) {
  std::optional<std::string> value;
  for (size_t i = 1; i < lines.size(); ++i) {
    const size_t colon = lines[i].find(':');
    if (colon == std::string::npos) continue;
    if (text::toLower(text::trim(lines[i].substr(0, colon))) != "content-length") continue;
    std::string v = text::trim(lines[i].substr(colon + 1));
    v.erase(std::remove(v.begin(), v.end(), '\t'), v.end());
    if (value && *value != v) conflicting = true;
    value = v;
  }
  return value;
}

}  // namespace

HttpResponse::Progress HttpResponse::fail(std::string why) {
  fault_ = std::move(why);
  body_.clear();
  return progress_ = Progress::Failed;
}

HttpResponse::Progress HttpResponse::add(std::string_view piece) {
  if (progress_ == Progress::Failed) return progress_;
  if (progress_ == Progress::Complete) {
    return piece.empty() ? progress_ : fail("more bytes than announced");
  }
  if (headerSeen_) return addBody(piece);

  // Only the new bytes and the three before them can complete the blank line.
  const size_t searchFrom = header_.size() >= 3 ? header_.size() - 3 : 0;
  header_.append(piece);
  const size_t blank = header_.find(kBlankLine, searchFrom);
  if (blank == std::string::npos) {
    if (header_.size() > kMaxResponseHeader) return fail("response header too long");
    return progress_;
  }
  if (blank > kMaxResponseHeader) return fail("response header too long");
  const std::string rest = header_.substr(blank + kBlankLine.size());
  header_.resize(blank);
  if (readHeader() == Progress::Failed) return progress_;
  return addBody(rest);
}

HttpResponse::Progress HttpResponse::readHeader() {
  headerSeen_ = true;
  const std::vector<std::string> lines = text::split(header_, "\r\n");
  header_.clear();
  if (!statusIsOk(lines.front())) return fail("server answered " + text::left(lines.front(), 40));
  bool conflicting = false;
  const std::optional<std::string> length = contentLengthField(lines, conflicting);
  if (!length) return fail("no Content-Length");
  if (conflicting) return fail("conflicting Content-Length");
  if (length->empty() || !std::all_of(length->begin(), length->end(), isDigit))
    return fail("malformed Content-Length");
  if (length->size() > kMaxLengthDigits) return fail("Content-Length above 7 digits");
  expected_ = static_cast<uint32_t>(std::stoul(*length));
  if (expected_ == 0) progress_ = Progress::Complete;
  return progress_;
}

HttpResponse::Progress HttpResponse::addBody(std::string_view bytes) {
  if (bytes.empty()) return progress_;
  if (progress_ == Progress::Complete || bytes.size() > expected_ - body_.size())
    return fail("more bytes than announced");
  body_.append(bytes);
  if (body_.size() == expected_) progress_ = Progress::Complete;
  return progress_;
}

HttpResponse::Progress HttpResponse::end() {
  if (progress_ == Progress::NeedMore) return fail("connection ended early");
  return progress_;
}

}  // namespace korvane::shell
