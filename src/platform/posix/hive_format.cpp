// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/hive_format.h"

#include <algorithm>

namespace korvane::platform {

namespace {

std::string_view trimEnd(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

std::string_view trimStart(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::string escape(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 2);
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

// Reads a quoted text at the start of s, moving s past it.
std::optional<std::string> readQuoted(std::string_view& s) {
  if (s.empty() || s.front() != '"') return std::nullopt;
  std::string out;
  for (size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      s.remove_prefix(i + 1);
      return out;
    }
    if (c == '\\') {
      if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) return std::nullopt;
      out += s[++i];
    } else {
      out += c;
    }
  }
  return std::nullopt;  // no closing quote
}

bool validKeyPath(std::string_view path) {
  const size_t slash = path.find('\\');
  const std::string_view root = path.substr(0, slash);
  if (std::find(kRootKeyNames.begin(), kRootKeyNames.end(), root) == kRootKeyNames.end()) {
    return false;
  }
  if (slash == std::string_view::npos) return true;
  const std::string_view rest = path.substr(slash + 1);
  return !rest.empty() && rest.front() != '\\' && rest.back() != '\\' &&
         rest.find("\\\\") == std::string_view::npos;
}

size_t keyIndex(std::vector<StoredKey>& keys, std::string_view path) {
  for (size_t i = 0; i < keys.size(); ++i) {
    if (sameKeyPath(keys[i].path, path)) return i;
  }
  keys.push_back({std::string(path), {}});
  return keys.size() - 1;
}

bool parseValueLine(std::string_view line, StoredKey& key) {
  std::optional<std::string> name;
  if (!line.empty() && line.front() == '@') {
    line.remove_prefix(1);
    name = std::string();
  } else {
    name = readQuoted(line);
  }
  if (!name) return false;
  line = trimStart(line);
  if (line.empty() || line.front() != '=') return false;
  line = trimStart(line.substr(1));
  std::optional<std::string> data = readQuoted(line);
  if (!data || !trimEnd(line).empty()) return false;
  auto it = std::find_if(key.values.begin(), key.values.end(),
                         [&](const RegValue& v) { return v.name == *name; });
  if (it != key.values.end()) {
    it->data = std::move(*data);  // a later line for the same name wins
  } else {
    key.values.push_back({std::move(*name), std::move(*data)});
  }
  return true;
}

bool fail(std::string* error, size_t lineNumber, const char* why) {
  if (error) *error = "line " + std::to_string(lineNumber) + ": " + why;
  return false;
}

}  // namespace

bool hiveStorable(std::string_view text) {
  return text.find_first_of("\r\n") == std::string_view::npos;
}

std::optional<std::vector<StoredKey>> parseHive(std::string_view text, std::string* error) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<StoredKey> keys;
  constexpr size_t kNone = static_cast<size_t>(-1);
  size_t current = kNone;
  bool headerSeen = false;
  size_t lineNumber = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = trimEnd(text.substr(start, end - start));
    start = end + 1;
    ++lineNumber;
    if (!headerSeen) {
      if (line != kHiveHeader) {
        fail(error, lineNumber, "not a registry export");
        return std::nullopt;
      }
      headerSeen = true;
      continue;
    }
    const std::string_view body = trimStart(line);
    if (body.empty() || body.front() == ';') continue;
    if (body.front() == '[') {
      if (body.back() != ']' || !validKeyPath(body.substr(1, body.size() - 2))) {
        fail(error, lineNumber, "bad key line");
        return std::nullopt;
      }
      current = keyIndex(keys, body.substr(1, body.size() - 2));
      continue;
    }
    if (current == kNone || !parseValueLine(body, keys[current])) {
      fail(error, lineNumber, "bad value line");
      return std::nullopt;
    }
  }
  if (!headerSeen) {
    fail(error, 1, "empty file");
    return std::nullopt;
  }
  return keys;
}

std::string formatHive(const std::vector<StoredKey>& keys) {
  std::string out(kHiveHeader);
  out += "\n\n";
  for (const StoredKey& k : keys) {
    out += "[" + k.path + "]\n";
    for (const RegValue& v : k.values) {
      out += v.name.empty() ? std::string("@") : "\"" + escape(v.name) + "\"";
      out += "=\"" + escape(v.data) + "\"\n";
    }
    out += "\n";
  }
  return out;
}

}  // namespace korvane::platform
