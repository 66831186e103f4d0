// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/http_response.h"

#include <algorithm>
#include <optional>

#include "common/text.h"
#include "shell/host_port.h"

namespace korvane::shell {

namespace {

constexpr std::string_view kBlankLine = "\r\n\r\n";

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

constexpr size_t kMaxRedirectPath = 1024;

// The status code of "HTTP/1.0 nnn" or "HTTP/1.1 nnn" followed by a blank or the line end; 0
// for any other line.
int statusCode(std::string_view statusLine) {
  if (statusLine.size() < 12) return 0;
  const std::string_view version = statusLine.substr(0, 8);
  if (version != "HTTP/1.0" && version != "HTTP/1.1") return 0;
  const std::string_view code = statusLine.substr(9, 3);
  if (statusLine[8] != ' ' || !std::all_of(code.begin(), code.end(), isDigit)) return 0;
  if (statusLine.size() > 12 && statusLine[12] != ' ') return 0;
  return std::stoi(std::string(code));
}

bool isRedirect(int code) {
  return code == 301 || code == 302 || code == 307 || code == 308;
}

// The value of the field name (lower case; matched without regard to case); empty when absent.
// Several fields with different values are conflicting.
std::optional<std::string> headerField(const std::vector<std::string>& lines, std::string_view name,
                                       bool& conflicting) {
  std::optional<std::string> value;
  for (size_t i = 1; i < lines.size(); ++i) {
    const size_t colon = lines[i].find(':');
    if (colon == std::string::npos) continue;
    if (text::toLower(text::trim(lines[i].substr(0, colon))) != name) continue;
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
  if (progress_ == Progress::Failed || progress_ == Progress::Redirect) return progress_;
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
  if (const Progress p = readHeader(); p == Progress::Failed || p == Progress::Redirect) return p;
  return addBody(rest);
}

HttpResponse::Progress HttpResponse::readHeader() {
  headerSeen_ = true;
  const std::vector<std::string> lines = text::split(header_, "\r\n");
  header_.clear();
  const int code = statusCode(lines.front());
  bool conflicting = false;
  if (isRedirect(code)) {
    const std::optional<std::string> where = headerField(lines, "location", conflicting);
    if (!where || where->empty() || conflicting) return fail("redirect without one Location");
    location_ = *where;
    return progress_ = Progress::Redirect;
  }
  if (code != 200) return fail("server answered " + text::left(lines.front(), 40));
  const std::optional<std::string> length = headerField(lines, "content-length", conflicting);
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

std::optional<std::string> sameServerPath(std::string_view location, std::string_view host,
                                          int port) {
  std::string_view path = location;
  if (!location.starts_with("/") || location.starts_with("//")) {
    constexpr std::string_view kScheme = "http://";
    if (text::toLower(text::left(location, static_cast<long>(kScheme.size()))) != kScheme)
      return std::nullopt;
    const std::string_view rest = location.substr(kScheme.size());
    const size_t slash = rest.find('/');
    const std::optional<HostPort> server = parseHostPort(rest.substr(0, slash), 80);
    if (!server || server->port != port || text::toLower(server->host) != text::toLower(host))
      return std::nullopt;
    path = slash == std::string_view::npos ? "/" : rest.substr(slash);
  }
  path = path.substr(0, path.find('#'));
  // Blanks and control characters would end or split the request line.
  const bool printable =
      std::all_of(path.begin(), path.end(), [](char c) { return c > ' ' && c < 0x7f; });
  if (!printable || path.size() > kMaxRedirectPath) return std::nullopt;
  return std::string(path);
}

}  // namespace korvane::shell
