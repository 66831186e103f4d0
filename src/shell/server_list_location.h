// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the server list file lives. An installed program's folder is not the user's to write, so
// a downloaded list may go to the user's data folder instead; that copy, when present, is the
// one the program reads.
#include <string>
#include <string_view>

#include "platform/files.h"

namespace korvane::shell {

// The list file the program reads: the user's copy when it exists, else the program folder's.
std::string serverListToRead(const platform::Files& files, const std::string& userFolder);

// Replaces the list the program reads with bytes, atomically: over the user's copy when that is
// the one read, else in the program folder, and in the user's folder when the program folder
// cannot be written. Returns the file written, empty when no write succeeded.
std::string replaceServerList(platform::Files& files, const std::string& userFolder,
                              std::string_view bytes);

// Removes the temporaries a download killed while writing left beside either list.
void removeStaleListTemporaries(platform::Files& files, const std::string& userFolder);

}  // namespace korvane::shell
