#pragma once
// One synchronisation at a time: choose the server and protocol, run the exchange, set the
// clock and report the outcome.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "common/ntp_timestamp.h"
#include "common/ole_date.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/locale.h"
#include "platform/random.h"
#include "platform/socket.h"
#include "platform/ui/check_box.h"
#include "platform/ui/control.h"
#include "platform/ui/image_box.h"
#include "platform/ui/image_combo.h"
#include "platform/ui/text_box.h"
#include "sync/activity_lamps.h"
#include "sync/protocol.h"
#include "sync/server_tables.h"
#include "sync/sync_shell.h"

namespace korvane::sync {

// The main-window controls the synchronisation reads and writes.
struct SyncControls {
  ui::Control& SyncTimeNow;  // enabled while no synchronisation runs
  ui::ImageCombo& Servers;
  ui::TextBox& vbRemoteHost;
  ui::CheckBox& RandomCheck;
  std::array<ui::ImageBox*, 3> LED;
};

struct SyncServices {
  platform::SystemClock& clock;
  platform::EventLoop& events;
  const platform::Locale& locale;
  platform::RandomSource& random;
  platform::SocketFactory& sockets;
};

// The zone names as the clock reports them.
struct ZoneNames {
  std::string standardName;
  std::string daylightName;
  std::string ZoneName;  // the one in force
};

class SyncDriver {
 public:
  static constexpr int kTimeOutTicks = 25;

  SyncDriver(SyncControls controls, SyncServices services, SyncShell& shell, ServerTables& tables);
  ~SyncDriver();

  // Starting a synchronisation; every entry point calls this.
  void SyncTimeNow_Click();
  // The time-out rule, applied on every tick after SyncTicks was raised.
  void applyTimeOut();

  // Exchange starters.
  void Grab37Time();
  void GrabUnix();
  void GrabDayTime();
  void GrabSNTP();

  // Socket event handlers.
  void tcpTime_DataArrival(long bytesTotal);
  void tcpTime_Close();
  void TCP519_DataArrival(long bytesTotal);
  void TCP13_DataArrival(long bytesTotal);
  void UDP123_HostResolved();
  void UDP123_DataArrival(long bytesTotal);
  void socketError(platform::Socket& socket, const platform::SocketError& error);

  // Clock adjustment.
  int32_t GrabBias();
  void CheckTimeZone();
  void UpdateTime(OleDate t);
  NtpTimestamp GrabTime();

  // State of the synchronisation, shared with the main window.
  bool SyncBusy = false;
  int32_t CurServer = 0;
  int32_t SyncTicks = 0;
  int16_t SyncProtocol = 0;
  std::string SyncStatus;
  std::string protocolChoice{choice::kSntp};
  std::string regionCode = "NA";
  ZoneNames zone;
  ActivityLamps lamps;

  // SNTP exchange values.
  NtpTimestamp NtpSent;
  NtpTimestamp NtpReceived;
  uint32_t RoundTripMs = 0;

  platform::Socket& tcpTime() { return *tcpTime_; }
  platform::Socket& TCP13() { return *TCP13_; }
  platform::Socket& TCP519() { return *TCP519_; }
  platform::Socket& UDP123() { return *UDP123_; }

 private:
  void wireSockets();
  void beginExchange(Protocol p);
  bool pickRandomServer();
  bool startChosenProtocol();
  void returnToIdle();
  void enableSyncButton();
  // False when the window unloaded while events ran: the caller must return at once.
  bool closeUntilClosed(platform::Socket& socket);
  std::string generalDateNow() const;
  platform::SystemTime localNow() const { return services_.clock.localTime(); }
  std::string hostText() const;

  // Clock setting and its report.
  void wholeSecondAdjustment(int64_t difference, int64_t newUtcSecondsSince1900);
  void sntpClockSetting(double thetaMillis, int32_t reportedMillis);
  void reportRefusedClock(const std::string& reason);
  void finishWithTip();
  void rejectSntpReply(const std::string& why);
  void handleWholeSecondReply(const std::vector<uint8_t>& bytes, int64_t epochAfter1900);

  SyncControls c_;
  SyncServices services_;
  SyncShell& shell_;
  ServerTables& tables_;
  std::unique_ptr<platform::Socket> tcpTime_, TCP13_, TCP519_, UDP123_;
  // An SNTP request is out and unanswered: one reply is taken per request.
  bool sntpReplyAwaited_ = false;
};

}  // namespace korvane::sync
