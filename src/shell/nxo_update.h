// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The update service: fetches the version information and the server list from the maker's web
// server over HTTP (socket nxo), asks the version host for the latest version (socket NXO_PLI),
// offers a newer version and starts the updater.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/socket.h"
#include "platform/ui/control.h"
#include "shell/host_port.h"
#include "shell/http_response.h"

namespace korvane::shell {

constexpr int kWebServerPort = 80;
constexpr int kVersionQueryPort = 26144;
constexpr std::string_view kVersionInfoPath = "/Korvane/KRVVC5.IPF";
constexpr std::string_view kServerListPath = "/Korvane/NXO_KRV5.KRV";
constexpr std::string_view kUpdaterCommand = "NXOUpdate";  // in the program folder
// What a check says when no update server is configured.
constexpr std::string_view kNoUpdateServer = "No update server is configured.";
// An exchange or query with no outcome after this many one-second ticks is given up.
constexpr int kExchangeLimitTicks = 30;
// Redirects to the same host and port followed in one exchange.
constexpr int kMaxRedirects = 3;

// What the update service needs of the main window.
class UpdateWindow {
 public:
  virtual ~UpdateWindow() = default;
  virtual std::string versionString() const = 0;
  virtual std::string windowsCode() const = 0;          // sent with the version query
  virtual void setStatus(const std::string& text) = 0;  // the status line (SyncStatus)
  virtual void setSyncEnabled(bool on) = 0;             // the "Synchronize" button
  virtual std::string caption() const = 0;
  virtual void setCaption(const std::string& text) = 0;
  // Empties the server list and reads the list file again; the settings stay as they are.
  virtual void reloadServerList() = 0;
  virtual void synchronise() = 0;
  // A version reply was handled: a run-once instance has done its work.
  virtual void versionQueryAnswered() = 0;
  // The version query ended without a reply (refused, failed, silent, or never made because the
  // version information did not come): a run-once instance has nothing left to wait for.
  virtual void versionQueryUnanswered() = 0;
  // False once the window has begun to unload (a message box may outlast it).
  virtual bool loaded() const = 0;
};

struct UpdateServices {
  platform::SocketFactory& sockets;
  platform::Files& files;
  platform::MessageBoxes& boxes;
  platform::ProcessLauncher& launcher;
};

struct UpdateSettings {
  std::string makerHost;   // the maker's web server: host or host:port; empty: none, no checks
  std::string userFolder;  // where a list goes when the program folder cannot be written
};

class NXOUpdateService {
 public:
  NXOUpdateService(UpdateWindow& window, UpdateServices services, UpdateSettings settings);
  ~NXOUpdateService();
  NXOUpdateService(const NXOUpdateService&) = delete;
  NXOUpdateService& operator=(const NXOUpdateService&) = delete;

  // Starts an HTTP exchange: the server list when the download flag is set, else the version
  // information. A running exchange is abandoned.
  void NXOUpdate();
  // Data arrived from a time server: until a version reply came, check for a newer version.
  void timeDataArrived();
  // "Check for Software Updates": a manual check, which also compares the list file's size.
  void checkForUpdates();
  // The options dialog's "Check for Software Updates" button while the dialog exists; nullptr
  // when it goes. The service keeps the button's state between dialogs.
  void attachCheckUpdate(ui::Control* button);
  bool checkUpdateEnabled() const { return checkUpdateEnabled_; }
  // The main window's one-second tick: a server that never finishes does not hold the check.
  void tick();

  // HTTP exchange events.
  void nxo_Connect();
  void nxo_DataArrival(long bytesTotal);
  void nxo_Error(const platform::SocketError& error);
  void nxo_Close();
  // Evaluates a complete version-information body.
  void saveIT(const std::string& body);

  // Version query.
  void NXO_ProdID();
  void NXO_PLI_Connect();
  void NXO_PLI_DataArrival(long bytesTotal);
  void NXO_PLI_Error();
  void NXO_PLI_Close();

  // State of this run.
  bool downloadFlag = false;     // the next exchange fetches the list
  bool listFileOpen = false;     // a list download is collecting its body
  bool offered = false;          // an upgrade or a list update was offered (or the list missing)
  bool upgradeOffered = false;   // a newer version was offered: never again in this run
  bool manualCheck = false;      // the user asked for this check
  bool versionQueryDue = false;  // the version query follows the next version information
  bool versionReplyReceived = false;
  std::string versionHost;  // host or host:port of the version query
  // The exchange in progress (received and expected counts, body so far).
  const HttpResponse& response() const { return response_; }
  bool exchangeRunning() const { return exchangeRunning_; }

  platform::Socket& nxo() { return *nxo_; }
  platform::Socket& NXO_PLI() { return *NXO_PLI_; }

 private:
  void wireSockets();
  void connectExchange();
  void followRedirect(const std::string& location);
  void finishDownload();
  // By value: the reason is often the response's own fault, which the abandon clears.
  void abandonExchange(std::string why);
  void endCheck();
  void noUpdateServer();
  void setCheckUpdateEnabled(bool on);
  bool offerUpgrade(const std::string& latest);
  bool startUpdater(const std::string& latest);
  void offerListUpdate(const std::string& announcedSize);
  std::string request() const;

  UpdateWindow& window_;
  UpdateServices services_;
  UpdateSettings settings_;
  std::unique_ptr<platform::Socket> nxo_;
  std::unique_ptr<platform::Socket> NXO_PLI_;
  HttpResponse response_;
  bool exchangeRunning_ = false;
  std::string redirectPath_;  // where the last redirect pointed; empty for the usual path
  int redirects_ = 0;
  bool queryRunning_ = false;
  // The version reply as far as it came: a reply may arrive in pieces.
  std::string queryReply_;
  void answerVersionQuery();
  bool versionQueryWithoutServer_ = false;  // time data came, and there is no one to ask
  void versionQueryEndedUnanswered();
  int exchangeTicks_ = 0;
  int queryTicks_ = 0;
  bool checkUpdateEnabled_ = true;
  ui::Control* checkUpdate_ = nullptr;
};

}  // namespace korvane::shell
