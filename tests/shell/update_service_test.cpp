// SPDX-License-Identifier: GPL-3.0-or-later
// The update service on fake sockets and files: its flags, its boxes and the check button.
#include <gtest/gtest.h>

#include "platform/fake/fake_files.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_process.h"
#include "platform/fake/fake_socket.h"
#include "platform/ui/check_box.h"
#include "shell/product.h"
#include "shell/update_fixture.h"

namespace korvane::shell {
namespace {

using namespace platform;

const std::string kListHeader = "Korvane\r\nlist\r\n-\r\n-\r\n-\r\n";
const std::string kOldList = kListHeader + "old.test:::Old (US):::2:::37:123:13:519\r\n";
// A list of one server, as the web server sends it.
const std::string kNewList = kListHeader + "new.test:::Newer (US):::2:::37:123:13:519\r\n";
const std::string kSameSize = std::to_string(kOldList.size());
const std::string kUpgradeTitle = "Korvane Upgrade Available.";
const std::string kListTitle = "Korvane Update Available!";
const std::string kNothingTitle = "Korvane Updater";

std::string versionInfo(const std::string& latest, const std::string& listSize) {
  return "Korvane\r\n-:-info-:-x-:-" + latest + "-:-" + listSize + "-:-127.0.0.1:26150 \r\n";
}

std::string http200(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// The program folder of an installed program: the user may not write it.
class ReadOnlyProgramFolder : public FakeFiles {
 public:
  bool writeAtomically(const std::string& path, std::string_view bytes) override {
    return path.rfind(programFolder(), 0) != 0 && FakeFiles::writeAtomically(path, bytes);
  }
};

// One run of the program: the service with its fakes, a list and the updater in its folder.
template <class Files = FakeFiles>
struct UpdateRun {
  explicit UpdateRun(bool withList = true, std::vector<MsgResult> answers = {},
                     std::string host = "updates.test:8080")
      : service{window, {sockets, files, boxes, launcher}, {std::move(host), "/u"}} {
    if (withList) files.putInProgramFolder("NXO_KRV5.KRV", kOldList);
    files.putInProgramFolder("NXOUpdate", "");
    for (MsgResult a : answers) boxes.answer(a);
  }
  FakeSocket& nxo() { return *sockets.made.at(0); }
  FakeSocket& pli() { return *sockets.made.at(1); }
  // The web server accepts the connection and sends a response.
  void serve(const std::string& response) {
    nxo().onConnect();
    nxo().deliverText(response);
  }
  std::vector<std::string> titles() const {
    std::vector<std::string> t;
    for (const auto& b : boxes.shown) t.push_back(b.title);
    return t;
  }
  std::string& list() { return files.files["/opt/korvane/NXO_KRV5.KRV"]; }

  FakeSocketFactory sockets;
  Files files;
  FakeMessageBoxes boxes;
  FakeProcessLauncher launcher;
  testing::RecordingUpdateWindow window;
  NXOUpdateService service;
};

// Without a configured server nothing is sent: a check says so, a missing list is explained, and
// a run-once is told at the next tick that no version reply will come.
TEST(UpdateServiceTest, WithoutAServerNothingIsSentAndTheChecksSaySo) {
  for (const bool withList : {true, false}) {
    SCOPED_TRACE(withList);
    UpdateRun run(withList, {}, "");
    run.service.NXOUpdate();  // as the list loader does when the list is missing
    run.service.checkForUpdates();
    run.service.timeDataArrived();
    run.service.timeDataArrived();
    EXPECT_EQ(run.window.answered, 0) << "not before the synchronisation has run on";
    run.service.tick();
    run.service.tick();
    EXPECT_EQ(run.window.answered, 1);
    EXPECT_EQ(run.nxo().connects + run.pli().connects, 0);
    EXPECT_TRUE(run.service.checkUpdateEnabled());
    EXPECT_FALSE(run.service.manualCheck);
    if (withList) {
      EXPECT_EQ(run.window.status, kNoUpdateServer);
      EXPECT_EQ(run.titles(), std::vector<std::string>{kNothingTitle});
      EXPECT_EQ(run.boxes.shown.at(0).text.rfind(kNoUpdateServer, 0), 0u);
    } else {
      EXPECT_EQ(run.window.status,
                "No KRV Server File, and no update server is configured to fetch one");
      EXPECT_TRUE(run.boxes.shown.empty());
    }
  }
}

std::string lastSent(FakeSocket& s) {
  return s.sent.empty() ? "" : std::string(s.sent.back().begin(), s.sent.back().end());
}

TEST(UpdateServiceTest, AManualCheckEndsWithTheRightOfferAndButtonState) {
  struct Case {
    const char* name;
    std::string body;
    bool listPresent;
    std::vector<MsgResult> answers;
    std::vector<std::string> titles;
    bool downloadStarts;
    bool buttonEnabled;
  };
  const Case cases[] = {
      {"nothing new", versionInfo("5.1.12", kSameSize), true, {}, {kNothingTitle}, false, true},
      {"5.1.9 is older", versionInfo("5.1.9", kSameSize), true, {}, {kNothingTitle}, false, true},
      {"newer, declined",
       versionInfo("5.1.13", kSameSize),
       true,
       {MsgResult::No},
       {kUpgradeTitle},
       false,
       true},
      {"newer, accepted",
       versionInfo("5.2", kSameSize),
       true,
       {MsgResult::Yes},
       {kUpgradeTitle},
       false,
       false},
      {"list size differs, accepted",
       versionInfo("5.1.12", "999"),
       true,
       {MsgResult::Yes},
       {kListTitle},
       true,
       false},
      {"list size differs, declined",
       versionInfo("5.1.12", "999"),
       true,
       {MsgResult::No},
       {kListTitle},
       false,
       true},
      {"list missing", versionInfo("5.1.12", kSameSize), false, {}, {}, true, false},
      {"five fields", "a-:-b-:-c-:-5.1.13-:-99", true, {}, {}, false, true},
      // A version that is not one is offered to nobody, but the list is still looked after.
      {"version unreadable, list differs",
       versionInfo("5.2 beta", "999"),
       true,
       {MsgResult::Yes},
       {kListTitle},
       true,
       false},
      {"version unreadable, list missing",
       versionInfo("$(reboot)", kSameSize),
       false,
       {},
       {},
       true,
       false},
      {"version unreadable, nothing new",
       versionInfo("x", kSameSize),
       true,
       {},
       {kNothingTitle},
       false,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UpdateRun r(c.listPresent, c.answers);
    r.service.checkForUpdates();
    EXPECT_FALSE(r.service.checkUpdateEnabled());
    r.serve(http200(c.body));
    EXPECT_EQ(r.titles(), c.titles);
    EXPECT_EQ(r.nxo().connects, c.downloadStarts ? 2 : 1);
    EXPECT_EQ(r.service.downloadFlag, c.downloadStarts);
    EXPECT_EQ(r.service.checkUpdateEnabled(), c.buttonEnabled);
    EXPECT_EQ(r.service.manualCheck, !c.buttonEnabled);
  }
}

TEST(UpdateServiceTest, TheRequestAndTheNothingNewMessageUseTheirExactTexts) {
  UpdateRun r;
  r.service.checkForUpdates();
  EXPECT_EQ(r.nxo().remoteHost(), "updates.test");
  EXPECT_EQ(r.nxo().remotePort(), 8080);
  r.nxo().onConnect();
  EXPECT_EQ(lastSent(r.nxo()),
            "GET /Korvane/KRVVC5.IPF HTTP/1.1\r\nAccept: */*\r\nHost: updates.test:8080\r\n"
            "Referer: Korvane v5.1.12\r\nUser-Agent: Korvane v5.1.12\r\n\r\n");
  r.nxo().deliverText(http200(versionInfo("5.1.12", kSameSize)));
  ASSERT_EQ(r.boxes.shown.size(), 1u);
  EXPECT_EQ(r.boxes.shown[0].text, "No Updates Available.");
  EXPECT_EQ(r.boxes.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(r.window.status, "No KRV Updates Available...");
}

TEST(UpdateServiceTest, TheDialogsButtonFollowsTheCheckOnlyWhileTheDialogExists) {
  UpdateRun r;
  auto first = std::make_unique<ui::CheckBox>("CheckUpdate");
  r.service.attachCheckUpdate(first.get());
  r.service.checkForUpdates();
  EXPECT_FALSE(first->enabled());
  r.service.attachCheckUpdate(nullptr);
  first.reset();  // the dialog closed: the end of the check must not touch its button
  ui::CheckBox second("CheckUpdate");
  r.service.attachCheckUpdate(&second);
  EXPECT_FALSE(second.enabled()) << "a reopened dialog shows the check still running";
  r.serve(http200(versionInfo("5.1.12", kSameSize)));
  EXPECT_TRUE(second.enabled());
}

TEST(UpdateServiceTest, TheOfferedFlagStaysSoALaterCheckNeitherOffersNorSaysNothingNew) {
  UpdateRun r(true, {MsgResult::No});
  for (int check = 0; check < 2; ++check) {
    r.service.checkForUpdates();
    r.serve(http200(versionInfo("5.1.12", "999")));
    EXPECT_EQ(r.titles(), std::vector<std::string>{kListTitle});
    EXPECT_TRUE(r.service.checkUpdateEnabled());
  }
}

TEST(UpdateServiceTest, TheFirstTimeDataAsksTheVersionHostAndItsReplyOffersTheUpgrade) {
  UpdateRun r;
  r.window.captionText = kProductTitle;
  r.service.timeDataArrived();
  r.service.timeDataArrived();  // a second reply while the fetch runs does not restart it
  EXPECT_EQ(r.nxo().connects, 1);
  r.serve(http200(versionInfo("5.1.13", "999")));
  EXPECT_TRUE(r.boxes.shown.empty());  // an automatic check ends with the version query
  EXPECT_EQ(r.pli().remoteHost(), "127.0.0.1");
  EXPECT_EQ(r.pli().remotePort(), 26150);

  r.pli().onConnect();
  EXPECT_EQ(lastSent(r.pli()), "NXO_PRODAI:'/|KRV5.1.12:'/|02LNX");
  r.pli().deliverText(":'/|NXO_PRODLI 5.1.13 \r\n");
  ASSERT_EQ(r.boxes.shown.size(), 1u);
  EXPECT_EQ(r.boxes.shown[0].text,
            "There is a newer version of Korvane Available.\r\n\r\n"
            "Would you like to upgrade to version 5.1.13 Now?");
  EXPECT_EQ(r.boxes.shown[0].title, kUpgradeTitle);
  EXPECT_EQ(r.boxes.shown[0].icon, MsgIcon::Information);
  ASSERT_EQ(r.launcher.started.size(), 1u);
  EXPECT_EQ(r.launcher.started[0], (std::vector<std::string>{"/opt/korvane/NXOUpdate", "/v5.1.13",
                                                             "/tUPDATEING " + kProductTitle}));
  EXPECT_EQ(r.window.captionText, "UPDATEING " + kProductTitle);
  EXPECT_FALSE(r.service.versionQueryDue);
  EXPECT_EQ(r.window.answered, 1);
  r.service.timeDataArrived();
  EXPECT_EQ(r.nxo().connects, 1) << "answered: no more checks in this run";
}

TEST(UpdateServiceTest, AnUnreadableVersionFieldStillLeadsToTheVersionQueryAndIsReported) {
  UpdateRun r;
  r.service.timeDataArrived();
  r.serve(http200(versionInfo("5.2 beta", kSameSize)));
  EXPECT_EQ(r.pli().connects, 1);
  r.service.checkForUpdates();
  r.serve(http200(versionInfo("letters", kSameSize)));
  ASSERT_EQ(r.boxes.shown.size(), 1u);
  EXPECT_NE(r.boxes.shown[0].text.find("version number is unreadable"), std::string::npos);
  EXPECT_EQ(r.window.status,
            "The update server's version number is unreadable: no upgrade can "
            "be offered.");
}

TEST(UpdateServiceTest, AMalformedVersionReplyIsIgnoredButStillEndsARunOnceInstance) {
  UpdateRun r;
  r.service.versionHost = "127.0.0.1";
  for (const std::string& reply :
       std::vector<std::string>{":'/|NXO_PRODLI5.1.13; rm -rf ~", "NXO_PRODLI5.1.13",
                                ":'/|NXO_PRODLI", ":'/|NXO_PRODLI" + std::string(40, '9')}) {
    r.service.NXO_ProdID();
    r.pli().onConnect();
    r.pli().deliverText(reply);
    r.pli().peerClose();
    EXPECT_FALSE(r.service.versionReplyReceived) << reply;
  }
  EXPECT_TRUE(r.boxes.shown.empty());
  EXPECT_EQ(r.window.answered, 4);
}

TEST(UpdateServiceTest, AVersionQueryEndingWithoutAReplySaysSoOnce) {
  const std::vector<std::pair<const char*, std::function<void(UpdateRun<>&)>>> cases = {
      {"refused", [](UpdateRun<>& r) { r.pli().raiseError(10061, "Connection refused"); }},
      {"closed unanswered", [](UpdateRun<>& r) { r.pli().onConnect(), r.pli().peerClose(); }},
      {"silent",
       [](UpdateRun<>& r) {
         r.pli().onConnect();
         for (int i = 0; i < kExchangeLimitTicks; ++i) r.service.tick();
       }},
  };
  for (const auto& [name, end] : cases) {
    SCOPED_TRACE(name);
    UpdateRun r;
    r.service.timeDataArrived();
    r.serve(http200(versionInfo("5.1.12", kSameSize)));
    end(r);
    r.pli().raiseError(10054, "reset");  // a late event of the closed query says nothing more
    EXPECT_EQ(r.window.unanswered, 1);
    EXPECT_EQ(r.window.answered, 0);
  }
  // The version information never came, or named no usable host: no query will be made.
  for (const std::string& response : {std::string("HTTP/1.1 500 Oops\r\n\r\n"),
                                      http200("a-:-b-:-c-:-5.1.12-:-1-:-bad host name!")}) {
    UpdateRun r;
    r.service.timeDataArrived();
    r.serve(response);
    EXPECT_EQ(r.window.unanswered, 1) << response;
    EXPECT_EQ(r.pli().connects, 0);
  }
}

TEST(UpdateServiceTest, AVersionReplyInPiecesIsReadWholeAtItsEndOrTheServersSilence) {
  for (const bool closes : {true, false}) {
    UpdateRun r(true, {MsgResult::No});
    r.service.versionHost = "127.0.0.1";
    r.service.NXO_ProdID();
    r.pli().onConnect();
    for (const char* piece : {":'/|NXO_PRO", "DLI5.1.1", "3"}) r.pli().deliverText(piece);
    EXPECT_TRUE(r.boxes.shown.empty()) << "5.1.1 is not the whole reply";
    if (closes)
      r.pli().peerClose();
    else
      for (int i = 0; i < kExchangeLimitTicks; ++i) r.service.tick();
    ASSERT_EQ(r.boxes.shown.size(), 1u) << closes;
    EXPECT_NE(r.boxes.shown[0].text.find("version 5.1.13 Now?"), std::string::npos);
    EXPECT_EQ(r.window.answered, 1);
  }
}

TEST(UpdateServiceTest, ANewerVersionIsOfferedOnlyOncePerRun) {
  UpdateRun r(true, {MsgResult::No});
  r.service.versionQueryDue = true;
  r.service.checkForUpdates();
  r.serve(http200(versionInfo("5.2", kSameSize)));
  r.pli().onConnect();
  r.pli().deliverText(":'/|NXO_PRODLI5.2");
  r.pli().peerClose();
  EXPECT_EQ(r.titles(), std::vector<std::string>{kUpgradeTitle});
}

TEST(UpdateServiceTest, AnUpdaterThatCannotStartSaysWhyAndLeavesTheCaption) {
  for (const bool present : {false, true}) {
    UpdateRun r;
    if (!present) r.files.files.erase("/opt/korvane/NXOUpdate");
    r.launcher.result = {false, "Permission denied"};
    r.service.versionHost = "127.0.0.1";
    r.service.NXO_ProdID();
    r.pli().deliverText(":'/|NXO_PRODLI6.0");
    r.pli().peerClose();
    ASSERT_EQ(r.boxes.shown.size(), 2u);
    EXPECT_NE(r.boxes.shown[1].text.find(present ? "Permission denied"
                                                 : "The updater was not found: "
                                                   "/opt/korvane/NXOUpdate"),
              std::string::npos)
        << r.boxes.shown[1].text;
    EXPECT_EQ(r.window.captionText, "Korvane");
  }
}

TEST(UpdateServiceTest, ACompleteDownloadReplacesTheListReloadsItAndSynchronises) {
  UpdateRun r;
  r.window.onReload = [&] { EXPECT_EQ(r.list(), kNewList) << "reloaded before it was saved"; };
  r.service.downloadFlag = true;
  r.service.checkForUpdates();
  r.nxo().onConnect();
  EXPECT_EQ(r.window.status, "Grabbing New KRV Server File...");
  EXPECT_EQ(lastSent(r.nxo()).substr(0, 36), "GET /Korvane/NXO_KRV5.KRV HTTP/1.1\r\n");
  const std::string whole = http200(kNewList);
  r.nxo().deliverText(whole.substr(0, whole.size() - 9));
  EXPECT_EQ(r.window.status, "Downloading " + std::to_string(kNewList.size()) + " Byte KRV File");
  EXPECT_EQ(r.list(), kOldList);
  r.nxo().deliverText(whole.substr(whole.size() - 9));

  EXPECT_EQ(r.list(), kNewList);
  EXPECT_EQ(r.window.reloads, 1);
  EXPECT_EQ(r.window.syncsWhileEnabled, 1);
  EXPECT_FALSE(r.service.downloadFlag);
  EXPECT_FALSE(r.service.listFileOpen);
  EXPECT_TRUE(r.service.checkUpdateEnabled());
  EXPECT_FALSE(r.service.manualCheck);
}

TEST(UpdateServiceTest, EveryBrokenDownloadKeepsTheOldListEndsTheCheckAndSaysWhy) {
  const std::string header5 = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n";
  struct Case {
    const char* reason;
    std::function<void(FakeSocket&)> serve;
  };
  const Case cases[] = {
      {"no Content-Length", [](FakeSocket& s) { s.deliverText("HTTP/1.1 200 OK\r\n\r\nnew"); }},
      {"more bytes than announced", [&](FakeSocket& s) { s.deliverText(header5 + "fresh!"); }},
      {"connection ended early",
       [&](FakeSocket& s) { s.deliverText(header5 + "fre"), s.peerClose(); }},
      {"reset", [](FakeSocket& s) { s.raiseError(10054, "reset"); }},
      {"server answered HTTP/1.1 404 Not Found",
       [](FakeSocket& s) { s.deliverText("HTTP/1.1 404 Not Found\r\n\r\n"); }},
      {"the response could not be read",
       [](FakeSocket& s) { s.failReads(true), s.deliverText("HTTP"); }},
      {"the answer is not a server list", [](FakeSocket& s) { s.deliverText(http200("")); }},
      {"the answer is not a server list",
       [](FakeSocket& s) { s.deliverText(http200("<html><body>Sign in</body></html>\r\n")); }},
      {"the answer is not a server list",
       [](FakeSocket& s) { s.deliverText(http200(std::string(500, '\0'))); }},
      {"the list could not be saved", [](FakeSocket& s) { s.deliverText(http200(kNewList)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    UpdateRun r;
    r.files.refuseWrites = std::string(c.reason) == "the list could not be saved";
    r.service.downloadFlag = true;
    r.service.checkForUpdates();
    r.nxo().onConnect();
    c.serve(r.nxo());
    EXPECT_EQ(r.list(), kOldList);
    EXPECT_EQ(r.window.reloads, 0);
    EXPECT_EQ(r.window.status, std::string("KRV Server File download failed: ") + c.reason);
    EXPECT_FALSE(r.service.downloadFlag || r.service.listFileOpen || r.service.manualCheck);
    EXPECT_TRUE(r.service.checkUpdateEnabled());
    EXPECT_FALSE(r.service.exchangeRunning());
  }
}

TEST(UpdateServiceTest, ARedirectOnTheSameServerIsFollowedAFewTimesAtMost) {
  struct Case {
    std::vector<std::string> locations;
    std::string fault;  // empty: the list comes from the last location
  };
  const Case cases[] = {
      {{"/moved/list"}, ""},
      {{"http://UPDATES.test:8080/moved/list"}, ""},
      {{"/a", "/b", "/moved/list"}, ""},
      {{"/a", "/b", "/c", "/d"}, "more than 3 redirects"},
      {{"http://updates.test/moved/list"}, "redirected away from the update server"},
      {{"https://updates.test:8080/moved/list"}, "redirected away from the update server"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locations.back());
    UpdateRun r;
    r.service.downloadFlag = true;
    r.service.NXOUpdate();
    for (const std::string& location : c.locations)
      r.serve("HTTP/1.1 301 Moved\r\nLocation: " + location + "\r\nContent-Length: 0\r\n\r\n");
    if (c.fault.empty()) {
      r.serve(http200(kNewList));
      EXPECT_EQ(lastSent(r.nxo()).substr(0, 28), "GET /moved/list HTTP/1.1\r\nAc");
      EXPECT_EQ(r.list(), kNewList);
    } else {
      EXPECT_EQ(r.window.status, "KRV Server File download failed: " + c.fault);
      EXPECT_EQ(r.list(), kOldList);
    }
  }
  UpdateRun later;  // a new exchange starts from the usual path
  later.service.NXOUpdate();
  later.serve("HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\n\r\n");
  later.service.NXOUpdate();
  later.nxo().onConnect();
  EXPECT_EQ(lastSent(later.nxo()).substr(0, 24), "GET /Korvane/KRVVC5.IPF ");
}

TEST(UpdateServiceTest, AStartWithoutAListThatCannotReachTheServerSaysSo) {
  UpdateRun r(false);
  r.service.NXOUpdate();
  r.nxo().raiseError(10061, "Connection refused");
  EXPECT_EQ(r.window.status, "KRV Server File download failed: Connection refused");
}

TEST(UpdateServiceTest, AServerThatNeverFinishesIsGivenUpAfterThirtyTicks) {
  UpdateRun r;
  r.service.versionHost = "127.0.0.1";
  r.service.NXO_ProdID();
  r.service.checkForUpdates();
  r.serve("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nfre");
  for (int i = 1; i < kExchangeLimitTicks; ++i) r.service.tick();
  EXPECT_FALSE(r.service.checkUpdateEnabled());
  r.service.tick();
  EXPECT_TRUE(r.service.checkUpdateEnabled());
  EXPECT_EQ(r.window.status, "Update check failed: no answer within 30 seconds");
  r.pli().deliverText(":'/|NXO_PRODLI9.0");  // too late: the query was closed
  EXPECT_TRUE(r.boxes.shown.empty());
}

TEST(UpdateServiceTest, ARestartedDownloadNeverAppendsToTheAbandonedOne) {
  UpdateRun r;
  r.service.downloadFlag = true;
  r.service.NXOUpdate();
  r.serve("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nfre");
  r.service.NXOUpdate();
  r.serve(http200(kNewList));
  EXPECT_EQ(r.list(), kNewList);
}

TEST(UpdateServiceTest, AListTheProgramFolderCannotTakeGoesToTheUsersFolderAndIsReadFirst) {
  UpdateRun<ReadOnlyProgramFolder> installed(true, {MsgResult::Yes});
  installed.service.checkForUpdates();
  const std::string newSize = std::to_string(kNewList.size());
  installed.serve(http200(versionInfo("5.1.12", newSize)));
  installed.serve(http200(kNewList));
  EXPECT_EQ(installed.files.files["/u/NXO_KRV5.KRV"], kNewList);
  EXPECT_EQ(installed.list(), kOldList);
  EXPECT_EQ(installed.window.reloads, 1);

  // The next run compares the size of the user's copy, which matches.
  UpdateRun<ReadOnlyProgramFolder> next;
  next.files.files = installed.files.files;
  next.service.checkForUpdates();
  next.serve(http200(versionInfo("5.1.12", newSize)));
  EXPECT_EQ(next.titles(), std::vector<std::string>{kNothingTitle});
}

}  // namespace
}  // namespace korvane::shell
