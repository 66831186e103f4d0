// SPDX-License-Identifier: GPL-3.0-or-later
// The HTTP exchange with the maker's web server.
#include "shell/nxo_update.h"

#include <utility>

#include "shell/server_list_location.h"
#include "sync/server_list.h"

namespace korvane::shell {

NXOUpdateService::NXOUpdateService(UpdateWindow& window, UpdateServices services,
                                   UpdateSettings settings)
    : window_(window),
      services_(services),
      settings_(std::move(settings)),
      nxo_(services.sockets.create()),
      NXO_PLI_(services.sockets.create()) {
  wireSockets();
  removeStaleListTemporaries(services_.files, settings_.userFolder);
}

NXOUpdateService::~NXOUpdateService() {
  nxo_->Close();
  NXO_PLI_->Close();
}

void NXOUpdateService::wireSockets() {
  nxo_->onConnect = [this] { nxo_Connect(); };
  nxo_->onDataArrival = [this](long n) { nxo_DataArrival(n); };
  nxo_->onError = [this](const platform::SocketError& e) { nxo_Error(e); };
  nxo_->onClose = [this] { nxo_Close(); };
  NXO_PLI_->onConnect = [this] { NXO_PLI_Connect(); };
  NXO_PLI_->onDataArrival = [this](long n) { NXO_PLI_DataArrival(n); };
  NXO_PLI_->onError = [this](const platform::SocketError&) { NXO_PLI_Error(); };
  NXO_PLI_->onClose = [this] { NXO_PLI_Close(); };
}

void NXOUpdateService::NXOUpdate() {
  redirectPath_.clear();
  redirects_ = 0;
  connectExchange();
}

void NXOUpdateService::connectExchange() {
  // A restart never appends to what an abandoned exchange collected.
  response_ = HttpResponse{};
  listFileOpen = false;
  exchangeRunning_ = false;
  nxo_->Close();
  if (settings_.makerHost.empty()) {
    noUpdateServer();
    return;
  }
  const std::optional<HostPort> server = parseHostPort(settings_.makerHost, kWebServerPort);
  if (!server) {
    abandonExchange("the update server \"" + settings_.makerHost + "\" is not a host name");
    return;
  }
  nxo_->setLocalPort(0);
  nxo_->setRemotePort(server->port);
  nxo_->setRemoteHost(server->host);
  exchangeRunning_ = true;
  exchangeTicks_ = 0;
  nxo_->Connect();
}

void NXOUpdateService::tick() {
  // No version query follows time data without a server: a run-once is done once it has set
  // the clock (the window waits for a synchronisation still under way).
  if (std::exchange(versionQueryWithoutServer_, false)) window_.versionQueryAnswered();
  if (exchangeRunning_ && ++exchangeTicks_ >= kExchangeLimitTicks)
    abandonExchange("no answer within " + std::to_string(kExchangeLimitTicks) + " seconds");
  // A server that answered but keeps the line open is answered by what it sent.
  if (queryRunning_ && ++queryTicks_ >= kExchangeLimitTicks) {
    if (queryReply_.empty())
      NXO_PLI_Error();
    else
      answerVersionQuery();
  }
}

void NXOUpdateService::timeDataArrived() {
  if (versionReplyReceived) return;
  if (settings_.makerHost.empty()) {
    versionReplyReceived = true;
    versionQueryWithoutServer_ = true;
    return;
  }
  versionQueryDue = true;
  // A running exchange is left to finish: restarting it on every reply could starve a download.
  if (!exchangeRunning_) NXOUpdate();
}

void NXOUpdateService::checkForUpdates() {
  manualCheck = true;
  setCheckUpdateEnabled(false);
  NXOUpdate();
}

std::string NXOUpdateService::request() const {
  const std::string path = !redirectPath_.empty()
                               ? redirectPath_
                               : std::string(downloadFlag ? kServerListPath : kVersionInfoPath);
  const std::string product = "Korvane v" + window_.versionString();
  return "GET " + path + " HTTP/1.1\r\n" + "Accept: */*\r\n" + "Host: " + settings_.makerHost +
         "\r\n" + "Referer: " + product + "\r\n" + "User-Agent: " + product + "\r\n" + "\r\n";
}

void NXOUpdateService::nxo_Connect() {
  if (!exchangeRunning_) return;
  if (downloadFlag) window_.setStatus("Grabbing New KRV Server File...");
  const std::string text = request();
  const platform::SocketResult sent = nxo_->SendData({text.begin(), text.end()});
  if (!sent.ok) abandonExchange(sent.error.description);
}

void NXOUpdateService::nxo_DataArrival(long) {
  if (!exchangeRunning_) return;
  const auto bytes = nxo_->GetDataBytes(SIZE_MAX);
  if (!bytes) {
    abandonExchange("the response could not be read");
    return;
  }
  const auto progress =
      response_.add({reinterpret_cast<const char*>(bytes->data()), bytes->size()});
  if (progress == HttpResponse::Progress::Failed) {
    abandonExchange(response_.fault());
    return;
  }
  if (progress == HttpResponse::Progress::Redirect) {
    followRedirect(response_.location());
    return;
  }
  if (downloadFlag && response_.headerSeen() && !listFileOpen) {
    if (response_.expectedLength() > sync::kMaxListBytes) {
      abandonExchange("the list is larger than the program reads");
      return;
    }
    window_.setStatus("Downloading " + std::to_string(response_.expectedLength()) +
                      " Byte KRV File");
    listFileOpen = true;
  }
  if (progress != HttpResponse::Progress::Complete) return;
  if (downloadFlag) {
    finishDownload();
    return;
  }
  const std::string body = response_.body();
  exchangeRunning_ = false;
  nxo_->Close();
  saveIT(body);
}

// A moved page on the same server is fetched from where it went, a few times at most.
void NXOUpdateService::followRedirect(const std::string& location) {
  const std::optional<HostPort> server = parseHostPort(settings_.makerHost, kWebServerPort);
  const std::optional<std::string> path =
      server ? sameServerPath(location, server->host, server->port) : std::nullopt;
  if (!path) {
    abandonExchange("redirected away from the update server");
    return;
  }
  if (++redirects_ > kMaxRedirects) {
    abandonExchange("more than " + std::to_string(kMaxRedirects) + " redirects");
    return;
  }
  redirectPath_ = *path;
  connectExchange();
}

void NXOUpdateService::finishDownload() {
  const std::string body = response_.body();
  listFileOpen = false;
  // A captive portal's page or a body of zeros is a 200 too: only a list with servers replaces.
  if (sync::parseServerList(body).empty()) {
    abandonExchange("the answer is not a server list");
    return;
  }
  if (replaceServerList(services_.files, settings_.userFolder, body).empty()) {
    abandonExchange("the list could not be saved");
    return;
  }
  exchangeRunning_ = false;
  nxo_->Close();
  downloadFlag = false;
  endCheck();
  // Enabled before the reload, so that the synchronisation the new list asks for can run.
  window_.setSyncEnabled(true);
  window_.reloadServerList();
  window_.synchronise();
}

void NXOUpdateService::nxo_Error(const platform::SocketError& error) {
  if (exchangeRunning_) abandonExchange(error.description);
}

void NXOUpdateService::nxo_Close() {
  if (!exchangeRunning_) return;
  response_.end();
  abandonExchange(response_.fault());
}

void NXOUpdateService::abandonExchange(std::string why) {
  // Without a list the program cannot synchronise at all, so any failure is worth saying.
  const bool wasDownload = downloadFlag || !services_.files.exists(serverListToRead(
                                               services_.files, settings_.userFolder));
  const bool wasManual = manualCheck;
  const bool queryWaited = versionQueryDue;
  exchangeRunning_ = false;
  nxo_->Close();
  response_ = HttpResponse{};
  listFileOpen = false;
  downloadFlag = false;
  endCheck();
  if (wasDownload)
    window_.setStatus("KRV Server File download failed: " + why);
  else if (wasManual)
    window_.setStatus("Update check failed: " + why);
  // The version query it was to lead to will not be made.
  if (queryWaited) versionQueryEndedUnanswered();
}

void NXOUpdateService::noUpdateServer() {
  const bool wasManual = manualCheck;
  downloadFlag = false;
  endCheck();
  if (!services_.files.exists(serverListToRead(services_.files, settings_.userFolder))) {
    window_.setStatus("No KRV Server File, and no update server is configured to fetch one");
  } else if (wasManual) {
    window_.setStatus(std::string(kNoUpdateServer));
    services_.boxes.show(std::string(kNoUpdateServer) +
                             " Korvane checks for updates only where "
                             "the package or the user names one (KORVANE_UPDATE_HOST).",
                         "Korvane Updater", platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation);
  }
}

void NXOUpdateService::endCheck() {
  manualCheck = false;
  setCheckUpdateEnabled(true);
}

void NXOUpdateService::attachCheckUpdate(ui::Control* button) {
  checkUpdate_ = button;
  if (checkUpdate_) checkUpdate_->setEnabled(checkUpdateEnabled_);
}

void NXOUpdateService::setCheckUpdateEnabled(bool on) {
  checkUpdateEnabled_ = on;
  if (checkUpdate_) checkUpdate_->setEnabled(on);
}

}  // namespace korvane::shell
