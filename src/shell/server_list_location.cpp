// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/server_list_location.h"

#include "sync/server_list.h"

namespace korvane::shell {

namespace {

std::string userCopy(const std::string& userFolder) {
  return userFolder.empty() ? "" : platform::joinPath(userFolder, sync::kServerListFile);
}

}  // namespace

std::string serverListToRead(const platform::Files& files, const std::string& userFolder) {
  const std::string user = userCopy(userFolder);
  if (!user.empty() && files.exists(user)) return user;
  return platform::joinPath(files.programFolder(), sync::kServerListFile);
}

std::string replaceServerList(platform::Files& files, const std::string& userFolder,
                              std::string_view bytes) {
  const std::string target = serverListToRead(files, userFolder);
  if (files.writeAtomically(target, bytes)) return target;
  const std::string user = userCopy(userFolder);
  if (user.empty() || user == target) return "";
  return files.writeAtomically(user, bytes) ? user : "";
}

void removeStaleListTemporaries(platform::Files& files, const std::string& userFolder) {
  files.removeStaleTemporaries(platform::joinPath(files.programFolder(), sync::kServerListFile));
  if (const std::string user = userCopy(userFolder); !user.empty())
    files.removeStaleTemporaries(user);
}

}  // namespace korvane::shell
