// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/host_registry.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/posix/atomic_file.h"
#include "platform/posix/hive_registry.h"
#include "platform/posix/memory_registry.h"

namespace korvane::platform {

namespace {

constexpr size_t kMaxEntryBytes = 64 * 1024;

// Characters that make the desktop entry's Exec argument need quotes.
constexpr std::string_view kReserved = " \t\"'\\><~|&;$*?#()`";

std::string quoteExec(std::string_view program) {
  std::string arg;
  if (program.find_first_of(kReserved) == std::string_view::npos) {
    arg = std::string(program);
  } else {
    arg = "\"";
    for (char c : program) {
      if (c == '"' || c == '`' || c == '$' || c == '\\') arg += '\\';
      arg += c;
    }
    arg += '"';
  }
  std::string out;  // then the entry's own escapes: "%" doubled, "\" doubled
  for (char c : arg) {
    if (c == '%') out += '%';
    if (c == '\\') out += '\\';
    out += c;
  }
  return out;
}

// A string value of the entry: its own escapes, no quoting.
std::string escapeString(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '\\' || c == '\n' || c == '\t' || c == '\r') out += '\\';
    out += c == '\n' ? 'n' : c == '\t' ? 't' : c == '\r' ? 'r' : c;
  }
  return out;
}

std::string unescapeString(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    out += c == 's' ? ' ' : c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

std::string unquoteExec(std::string_view exec) {
  std::string arg;
  if (!exec.empty() && exec.front() == '"') {
    for (size_t i = 1; i < exec.size() && exec[i] != '"'; ++i) {
      if (exec[i] == '\\' && i + 1 < exec.size()) ++i;
      arg += exec[i];
    }
  } else {
    arg = std::string(exec);
  }
  std::string out;
  for (size_t i = 0; i < arg.size(); ++i) {
    out += arg[i];
    if (arg[i] == '%' && i + 1 < arg.size() && arg[i + 1] == '%') ++i;
  }
  return out;
}

}  // namespace

std::string autostartEntryText(std::string_view program) {
  // TryExec: a removed program's entry is skipped instead of failing at every log-in.
  return "[Desktop Entry]\nType=Application\nName=Korvane\n"
         "Comment=Keeps the computer's clock right\nIcon=korvane\nTryExec=" +
         escapeString(program) + "\nExec=" + quoteExec(program) +
         "\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
}

std::string programOfAutostartEntry(std::string_view entry) {
  bool inMain = false;
  std::string exec;
  size_t start = 0;
  while (start < entry.size()) {
    size_t end = entry.find('\n', start);
    if (end == std::string_view::npos) end = entry.size();
    std::string_view line = entry.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.front() == '[') {
      inMain = line == "[Desktop Entry]";
    } else if (inMain && line.substr(0, 5) == "Exec=") {
      exec = unquoteExec(unescapeString(line.substr(5)));
    } else if (inMain && (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false")) {
      return {};  // the desktop switched the entry off
    }
  }
  return exec;
}

HostMappedRegistry::HostMappedRegistry(RegistryStore& inner, const SystemClock& clock,
                                       std::string autostartEntry)
    : inner_(inner), clock_(clock), autostartEntry_(std::move(autostartEntry)) {}

bool HostMappedRegistry::mapped(HKey key, std::string_view subKey, Kind& kind) const {
  if (key != HKEY_LOCAL_MACHINE) return false;
  if (sameKeyPath(subKey, kTimeZoneKey)) {
    kind = Kind::TimeZone;
    return true;
  }
  if (sameKeyPath(subKey, kRunKey)) {
    kind = Kind::Run;
    return true;
  }
  return false;
}

HKey HostMappedRegistry::openMapped(Kind kind, uint32_t access) {
  handles_[next_] = {kind, access};
  return next_++;
}

RegResult HostMappedRegistry::createKey(HKey key, std::string_view subKey, uint32_t access,
                                        HKey& opened) {
  Kind kind;
  if (mapped(key, subKey, kind)) {
    opened = openMapped(kind, access);
    return ERROR_SUCCESS;
  }
  if (handles_.count(key)) return ERROR_ACCESS_DENIED;
  return inner_.createKey(key, subKey, access, opened);
}

RegResult HostMappedRegistry::openKey(HKey key, std::string_view subKey, uint32_t access,
                                      HKey& opened) {
  Kind kind;
  if (mapped(key, subKey, kind)) {
    opened = openMapped(kind, access);
    return ERROR_SUCCESS;
  }
  if (handles_.count(key)) return ERROR_FILE_NOT_FOUND;
  return inner_.openKey(key, subKey, access, opened);
}

RegResult HostMappedRegistry::closeKey(HKey key) {
  if (handles_.erase(key) == 1) return ERROR_SUCCESS;
  return inner_.closeKey(key);
}

std::vector<RegValue> HostMappedRegistry::values(Kind kind) const {
  if (kind == Kind::TimeZone) {
    TimeZoneInfo zone;
    clock_.timeZoneInformation(zone);
    return {{"StandardName", zone.standardName}, {"DaylightName", zone.daylightName}};
  }
  const FileRead read = readFileBytes(autostartEntry_, kMaxEntryBytes);
  if (!read.bytes) return {};
  const std::string program = programOfAutostartEntry(*read.bytes);
  if (program.empty()) return {};
  return {{std::string(kRunValueName), program}};
}

RegResult HostMappedRegistry::setString(HKey key, std::string_view name, std::string_view text) {
  auto it = handles_.find(key);
  if (it == handles_.end()) return inner_.setString(key, name, text);
  if ((it->second.access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (it->second.kind != Kind::Run || name != kRunValueName) return ERROR_ACCESS_DENIED;
  text = text.substr(0, text.find('\0'));
  if (text.find_first_of("\r\n") != std::string_view::npos) return ERROR_INVALID_PARAMETER;
  return writeFileAtomically(autostartEntry_, autostartEntryText(text), 0644) ? ERROR_SUCCESS
                                                                              : ERROR_WRITE_FAULT;
}

RegResult HostMappedRegistry::enumValue(HKey key, uint32_t index, size_t nameCapacity,
                                        size_t dataCapacity, RegValue& value) {
  value = {};
  auto it = handles_.find(key);
  if (it == handles_.end()) {
    return inner_.enumValue(key, index, nameCapacity, dataCapacity, value);
  }
  if ((it->second.access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  const std::vector<RegValue> all = values(it->second.kind);
  if (index >= all.size()) return ERROR_NO_MORE_ITEMS;
  const RegValue& v = all[index];
  if (v.name.size() + 1 > nameCapacity || v.data.size() + 1 > dataCapacity) {
    return ERROR_MORE_DATA;
  }
  value = v;
  return ERROR_SUCCESS;
}

RegResult HostMappedRegistry::deleteValue(HKey key, std::string_view name) {
  auto it = handles_.find(key);
  if (it == handles_.end()) return inner_.deleteValue(key, name);
  if ((it->second.access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (it->second.kind != Kind::Run) return ERROR_ACCESS_DENIED;
  if (name != kRunValueName) return ERROR_FILE_NOT_FOUND;
  if (::unlink(autostartEntry_.c_str()) == 0) return ERROR_SUCCESS;
  return errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED;
}

namespace {

// The hive and its host view, owned together.
class SystemRegistry : public HostMappedRegistry {
 public:
  SystemRegistry(std::unique_ptr<HiveRegistry> hive, const SystemClock& clock, std::string entry)
      : HostMappedRegistry(*hive, clock, std::move(entry)), hive_(std::move(hive)) {}

 private:
  std::unique_ptr<HiveRegistry> hive_;
};

}  // namespace

std::unique_ptr<RegistryStore> makeRegistry(const SystemClock& clock) {
  const char* home = std::getenv("HOME");
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  auto hive = std::make_unique<HiveRegistry>(
      HiveOptions{hivePath(std::getenv("KORVANE_REGISTRY"), xdg, home), {}});
  return std::make_unique<SystemRegistry>(std::move(hive), clock, autostartEntryPath(xdg, home));
}

}  // namespace korvane::platform
