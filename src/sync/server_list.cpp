// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/server_list.h"

#include <algorithm>
#include <cstdint>

#include "common/lenient_number.h"
#include "common/rounding.h"
#include "common/text.h"

namespace korvane::sync {

namespace {

// Unicode code points of the code page's bytes 0x80..0x9F (0: unassigned).
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool validUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    uint32_t cp = 0, min = 0;
    if (b < 0x80) {
      ++i;
      continue;
    } else if ((b & 0xE0) == 0xC0) {
      n = 1, cp = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      n = 2, cp = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
      n = 3, cp = b & 0x07, min = 0x10000;
    } else {
      return false;
    }
    for (size_t k = 1; k <= n; ++k) {
      if (i + k >= s.size()) return false;
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n + 1;
  }
  return true;
}

// A list text as UTF-8: kept when it already is, else read in the ANSI code page.
std::string listTextAsUtf8(std::string_view s) {
  if (validUtf8(s)) return std::string(s);
  std::string out;
  for (char ch : s) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out += ch;
    } else if (b < 0xA0) {
      const uint16_t cp = kCp1252High[b - 0x80];
      appendUtf8(out, cp != 0 ? cp : '?');
    } else {
      appendUtf8(out, b);
    }
  }
  return out;
}

bool hasControlCharacters(std::string_view line) {
  for (char ch : line) {
    const auto b = static_cast<unsigned char>(ch);
    if ((b < 0x20 && b != '\t') || b == 0x7F) return true;
  }
  return false;
}

bool plainAscii(std::string_view s) {
  for (char ch : s) {
    if (static_cast<unsigned char>(ch) >= 0x80) return false;
  }
  return true;
}

// The image number of field 3: a number naming a picture of the image list, else the fallback.
int imageNumber(std::string_view field) {
  if (!isNumeric(field)) return kFallbackImage;
  const auto n = toInt32HalfEven(leadingNumber(field));
  if (!n || *n < 1 || *n > kImageListSize) return kFallbackImage;
  return *n;
}

// The next line of bytes from pos, its end (CR LF, CR or LF) consumed.
std::string_view nextLine(std::string_view bytes, size_t& pos) {
  const size_t start = pos;
  size_t end = bytes.find_first_of("\r\n", start);
  if (end == std::string_view::npos) {
    pos = bytes.size();
    return bytes.substr(start);
  }
  pos = end + 1;
  if (bytes[end] == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
  return bytes.substr(start, end - start);
}

// The complete lines of a list that may have been cut at the reading limit; the byte after the
// limit tells whether the line the limit ends was complete.
std::string_view withinReadingLimit(std::string_view bytes) {
  if (bytes.size() <= kMaxListBytes) return bytes;
  const std::string_view within = bytes.substr(0, kMaxListBytes);
  if (bytes[kMaxListBytes] == '\r' || bytes[kMaxListBytes] == '\n') return within;
  const size_t lastEnd = within.find_last_of("\r\n");
  return lastEnd == std::string_view::npos ? std::string_view() : within.substr(0, lastEnd + 1);
}

}  // namespace

std::vector<ServerEntry> parseServerList(std::string_view bytes) {
  bytes = withinReadingLimit(bytes);
  std::vector<ServerEntry> servers;
  size_t pos = 0;
  int lineNumber = 0;
  while (pos < bytes.size() && servers.size() < ServerTables::kMaxServers) {
    const std::string_view line = nextLine(bytes, pos);
    if (line.empty()) break;
    if (++lineNumber <= kHeaderLines) continue;
    if (hasControlCharacters(line)) continue;
    std::vector<std::string> fields = text::split(line, ":::", 4);
    if (fields.size() != 4 || !plainAscii(fields[0])) continue;
    servers.push_back({fields[0], listTextAsUtf8(fields[1]), imageNumber(fields[2]), fields[3]});
  }
  return servers;
}

}  // namespace korvane::sync
