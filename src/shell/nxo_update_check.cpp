// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluating the version information: offering a newer version or a new server list.
#include <algorithm>

#include "common/text.h"
#include "shell/nxo_update.h"
#include "shell/product.h"
#include "shell/server_list_location.h"
#include "shell/version_text.h"

namespace korvane::shell {

namespace {

constexpr std::string_view kFieldSeparator = "-:-";
constexpr size_t kVersionField = 3, kListSizeField = 4, kVersionHostField = 5;
const std::string kProgramTitle = "Korvane";
const std::string kUnreadableVersion =
    "The update server's version number is unreadable: no upgrade can be offered.";

// A byte count written in decimal; empty when the text is anything else.
std::optional<uint64_t> decimalSize(const std::string& text) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return std::stoull(text);
}

}  // namespace

void NXOUpdateService::saveIT(const std::string& body) {
  const std::vector<std::string> fields =
      text::split(text::replaceAll(body, "\r\n", ""), kFieldSeparator);
  if (fields.size() <= kVersionHostField) {
    endCheck();
    if (versionQueryDue) versionQueryEndedUnanswered();
    return;
  }
  // A version that is not digits and dots is offered to nobody; the list is still looked after.
  const std::string latest = fields[kVersionField];
  const bool readable = isVersionText(latest);

  if (versionQueryDue) {
    const std::string host = text::trim(fields[kVersionHostField]);
    if (parseHostPort(host, kVersionQueryPort)) {
      versionHost = host;
      NXO_ProdID();
    } else {
      versionQueryEndedUnanswered();
    }
    // An automatic check ends with the version query.
    if (!manualCheck || !window_.loaded()) return;
  }

  if (!readable) window_.setStatus(kUnreadableVersion);
  if ((readable && offerUpgrade(latest)) || !window_.loaded()) return;

  const std::string list = serverListToRead(services_.files, settings_.userFolder);
  if (services_.files.exists(list)) {
    offerListUpdate(fields[kListSizeField]);
    if (!window_.loaded()) return;
  } else {
    offered = true;
    downloadFlag = true;
  }

  if (downloadFlag) {
    NXOUpdate();
  } else {
    endCheck();
  }
  if (!offered) {
    if (readable) window_.setStatus("No KRV Updates Available...");
    services_.boxes.show(
        readable ? "No Updates Available." : "No Updates Available.\r\n\r\n" + kUnreadableVersion,
        "Korvane Updater", platform::MsgButtons::OK, platform::MsgIcon::Exclamation);
  }
}

// Offers version latest once per run; true when the user accepted and the updater started.
bool NXOUpdateService::offerUpgrade(const std::string& latest) {
  if (upgradeOffered || !isLaterVersion(latest, window_.versionString())) return false;
  upgradeOffered = true;
  offered = true;
  const platform::MsgResult answer =
      services_.boxes.show("There is a newer version of " + kProgramTitle + " Available.\r\n\r\n" +
                               "Would you like to upgrade to version " + latest + " Now?",
                           kProgramTitle + " Upgrade Available.", platform::MsgButtons::YesNo,
                           platform::MsgIcon::Information);
  if (answer != platform::MsgResult::Yes || !window_.loaded()) return false;
  return startUpdater(latest);
}

// Starts the program folder's updater for version latest; false, with a message, when it cannot.
bool NXOUpdateService::startUpdater(const std::string& latest) {
  if (!isVersionText(latest)) return false;
  const std::string updater = platform::joinPath(services_.files.programFolder(), kUpdaterCommand);
  if (!services_.files.exists(updater)) {
    services_.boxes.show("The updater was not found: " + updater + "\r\n\r\nVersion " + latest +
                             " cannot be installed from here.",
                         "Korvane Updater", platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation);
    return false;
  }
  const std::string before = window_.caption();
  const std::string caption = "UPDATEING " + kProductTitle;
  window_.setCaption(caption);
  const platform::LaunchResult started =
      services_.launcher.start({updater, "/v" + latest, "/t" + caption});
  if (started.ok) return true;
  window_.setCaption(before);
  services_.boxes.show("The updater could not be started: " + updater + "\r\n\r\n" + started.error,
                       "Korvane Updater", platform::MsgButtons::OK, platform::MsgIcon::Exclamation);
  return false;
}

// Asks, once per run, whether to fetch a list whose size differs from the one read.
void NXOUpdateService::offerListUpdate(const std::string& announcedSize) {
  const std::optional<uint64_t> remote = decimalSize(text::trim(announcedSize));
  const std::optional<uint64_t> local =
      services_.files.size(serverListToRead(services_.files, settings_.userFolder));
  if (offered || !remote || !local || *remote == *local) return;
  offered = true;
  const platform::MsgResult answer = services_.boxes.show(
      "Would you like to update your KRV Server File?", "Korvane Update Available!",
      platform::MsgButtons::YesNo, platform::MsgIcon::Information);
  if (answer == platform::MsgResult::Yes) downloadFlag = true;
}

}  // namespace korvane::shell
