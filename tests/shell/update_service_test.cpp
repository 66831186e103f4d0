// The update service on fake sockets and files: its flags, its boxes and the check button.
#include <gtest/gtest.h>

#include "platform/fake/fake_files.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_process.h"
#include "platform/fake/fake_socket.h"
#include "shell/product.h"
#include "shell/update_fixture.h"

namespace korvane::shell {
namespace {

using namespace platform;

const std::string kOldList = "old list\r\nwith its servers\r\n";  // 29 bytes
const std::string kUpgradeTitle = "Korvane Upgrade Available.";
const std::string kListTitle = "Korvane Update Available!";
const std::string kNothingTitle = "Korvane Updater";

std::string versionInfo(const std::string& latest, const std::string& listSize,
                        const std::string& host = "127.0.0.1:26150") {
  return "Korvane\r\n-:-info-:-x-:-" + latest + "-:-" + listSize + "-:-" + host + " \r\n";
}

std::string http200(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

class UpdateServiceTest : public ::testing::Test {
 protected:
  UpdateServiceTest() {
    files.putInProgramFolder("NXO_KRV5.KRV", kOldList);
    files.putInProgramFolder("NXOUpdate", "");
  }
  FakeSocket& nxo() { return *sockets.made.at(0); }
  FakeSocket& pli() { return *sockets.made.at(1); }
  std::string lastSent(FakeSocket& s) {
    return s.sent.empty() ? "" : std::string(s.sent.back().begin(), s.sent.back().end());
  }
  // The web server accepts the connection and sends a whole response.
  void serve(const std::string& response) {
    nxo().onConnect();
    nxo().deliverText(response);
  }
  std::vector<std::string> titles() const {
    std::vector<std::string> t;
    for (const auto& b : boxes.shown) t.push_back(b.title);
    return t;
  }
  const std::string& list() { return files.files["/opt/korvane/NXO_KRV5.KRV"]; }

  FakeSocketFactory sockets;
  FakeFiles files;
  FakeMessageBoxes boxes;
  FakeProcessLauncher launcher;
  testing::RecordingUpdateWindow window;
  NXOUpdateService service{window,
                           {sockets, files, boxes, launcher},
                           {"updates.test:8080", "/home/u/.local/share/korvane"}};
};

TEST_F(UpdateServiceTest, AManualCheckEndsWithTheRightOfferAndButtonState) {
  struct Case {
    const char* name;
    std::string body;
    bool listPresent;
    std::vector<MsgResult> answers;
    std::vector<std::string> titles;
    bool downloadStarts;
    bool buttonEnabled;
  };
  const std::string sameSize = std::to_string(kOldList.size());
  const Case cases[] = {
      {"nothing new", versionInfo("5.1.12", sameSize), true, {}, {kNothingTitle}, false, true},
      {"5.1.9 is older than 5.1.12",
       versionInfo("5.1.9", sameSize),
       true,
       {},
       {kNothingTitle},
       false,
       true},
      {"newer, declined",
       versionInfo("5.1.13", sameSize),
       true,
       {MsgResult::No},
       {kUpgradeTitle},
       false,
       true},
      {"newer, accepted",
       versionInfo("5.2", sameSize),
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
      {"list missing", versionInfo("5.1.12", sameSize), false, {}, {}, true, false},
      {"five fields", "a-:-b-:-c-:-5.1.13-:-99", true, {}, {}, false, true},
      {"version not digits and dots", versionInfo("5.1.13b", "999"), true, {}, {}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSocketFactory caseSockets;
    FakeFiles caseFiles;
    if (c.listPresent) caseFiles.putInProgramFolder("NXO_KRV5.KRV", kOldList);
    caseFiles.putInProgramFolder("NXOUpdate", "");
    FakeMessageBoxes caseBoxes;
    for (MsgResult a : c.answers) caseBoxes.answer(a);
    NXOUpdateService s{window, {caseSockets, caseFiles, caseBoxes, launcher}, {"h", ""}};
    FakeSocket& http = *caseSockets.made[0];

    s.checkForUpdates();
    EXPECT_FALSE(s.checkUpdateEnabled());
    http.onConnect();
    http.deliverText(http200(c.body));

    std::vector<std::string> shown;
    for (const auto& b : caseBoxes.shown) shown.push_back(b.title);
    EXPECT_EQ(shown, c.titles);
    EXPECT_EQ(http.connects, c.downloadStarts ? 2 : 1);
    EXPECT_EQ(s.downloadFlag, c.downloadStarts);
    EXPECT_EQ(s.checkUpdateEnabled(), c.buttonEnabled);
    EXPECT_EQ(s.manualCheck, !c.buttonEnabled);
  }
}

TEST_F(UpdateServiceTest, TheRequestAndTheNothingNewMessageUseTheirExactTexts) {
  service.checkForUpdates();
  EXPECT_EQ(nxo().remoteHost(), "updates.test");
  EXPECT_EQ(nxo().remotePort(), 8080);
  nxo().onConnect();
  EXPECT_EQ(lastSent(nxo()),
            "GET /Korvane/KRVVC5.IPF HTTP/1.1\r\nAccept: */*\r\nHost: updates.test:8080\r\n"
            "Referer: Korvane v5.1.12\r\nUser-Agent: Korvane v5.1.12\r\n\r\n");
  nxo().deliverText(http200(versionInfo("5.1.12", std::to_string(kOldList.size()))));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "No Updates Available.");
  EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(window.status, "No KRV Updates Available...");
}

TEST_F(UpdateServiceTest, TheOfferedFlagStaysSoALaterCheckNeitherOffersNorSaysNothingNew) {
  boxes.answer(MsgResult::No);
  service.checkForUpdates();
  serve(http200(versionInfo("5.1.12", "999")));
  ASSERT_EQ(titles(), std::vector<std::string>{kListTitle});

  service.checkForUpdates();
  serve(http200(versionInfo("5.1.12", "999")));
  EXPECT_EQ(titles(), std::vector<std::string>{kListTitle});
  EXPECT_TRUE(service.offered);
  EXPECT_TRUE(service.checkUpdateEnabled());
}

TEST_F(UpdateServiceTest, TheFirstTimeDataAsksTheVersionHostAndItsReplyOffersTheUpgrade) {
  window.captionText = kProductTitle;
  service.timeDataArrived();
  EXPECT_TRUE(service.versionQueryDue);
  service.timeDataArrived();  // a second reply while the fetch runs does not restart it
  EXPECT_EQ(nxo().connects, 1);
  serve(http200(versionInfo("5.1.13", "999")));
  EXPECT_TRUE(boxes.shown.empty());  // an automatic check ends with the version query
  EXPECT_EQ(pli().remoteHost(), "127.0.0.1");
  EXPECT_EQ(pli().remotePort(), 26150);

  pli().onConnect();
  EXPECT_EQ(lastSent(pli()), "NXO_PRODAI:'/|KRV5.1.12:'/|02LNX");
  boxes.answer(MsgResult::Yes);
  pli().deliverText(":'/|NXO_PRODLI 5.1.13 \r\n");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            "There is a newer version of Korvane Available.\r\n\r\n"
            "Would you like to upgrade to version 5.1.13 Now?");
  EXPECT_EQ(boxes.shown[0].title, kUpgradeTitle);
  EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Information);
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0], (std::vector<std::string>{"/opt/korvane/NXOUpdate", "/v5.1.13",
                                                           "/tUPDATEING " + kProductTitle}));
  EXPECT_EQ(window.captionText, "UPDATEING " + kProductTitle);
  EXPECT_TRUE(service.versionReplyReceived);
  EXPECT_FALSE(service.versionQueryDue);
  EXPECT_EQ(window.answered, 1);

  service.timeDataArrived();
  EXPECT_EQ(nxo().connects, 1);
}

TEST_F(UpdateServiceTest, AMalformedVersionReplyIsIgnoredButStillEndsARunOnceInstance) {
  for (const std::string& reply :
       std::vector<std::string>{":'/|NXO_PRODLI5.1.13; rm -rf ~", "NXO_PRODLI5.1.13",
                                ":'/|NXO_PRODLI", ":'/|NXO_PRODLI" + std::string(40, '9')}) {
    SCOPED_TRACE(reply);
    service.versionHost = "127.0.0.1";
    service.NXO_ProdID();
    pli().onConnect();
    pli().deliverText(reply);
    EXPECT_FALSE(service.versionReplyReceived);
  }
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_EQ(window.answered, 4);
}

TEST_F(UpdateServiceTest, ANewerVersionIsOfferedOnlyOncePerRun) {
  boxes.answer(MsgResult::No);
  service.versionQueryDue = true;
  service.checkForUpdates();
  serve(http200(versionInfo("5.2", std::to_string(kOldList.size()))));
  pli().onConnect();
  pli().deliverText(":'/|NXO_PRODLI5.2");
  EXPECT_EQ(titles(), std::vector<std::string>{kUpgradeTitle});
}

TEST_F(UpdateServiceTest, AnUpdaterThatCannotStartSaysWhyAndLeavesTheCaption) {
  struct Case {
    const char* name;
    bool present;
    LaunchResult result;
    const char* says;
  };
  const Case cases[] = {
      {"missing", false, {}, "The updater was not found: /opt/korvane/NXOUpdate"},
      {"refused", true, {false, "Permission denied"}, "Permission denied"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFiles caseFiles;
    caseFiles.putInProgramFolder("NXO_KRV5.KRV", kOldList);
    if (c.present) caseFiles.putInProgramFolder("NXOUpdate", "");
    FakeMessageBoxes caseBoxes;
    FakeProcessLauncher caseLauncher;
    caseLauncher.result = c.result;
    FakeSocketFactory caseSockets;
    NXOUpdateService s{window, {caseSockets, caseFiles, caseBoxes, caseLauncher}, {"h", ""}};
    s.versionHost = "127.0.0.1";
    s.NXO_ProdID();
    caseSockets.made[1]->deliverText(":'/|NXO_PRODLI6.0");
    ASSERT_EQ(caseBoxes.shown.size(), 2u);
    EXPECT_NE(caseBoxes.shown[1].text.find(c.says), std::string::npos) << caseBoxes.shown[1].text;
    EXPECT_EQ(window.captionText, "Korvane");
  }
}

TEST_F(UpdateServiceTest, ACompleteDownloadReplacesTheListReloadsItAndSynchronises) {
  const std::string fresh = "fresh";
  window.onReload = [&] { EXPECT_EQ(list(), fresh) << "reloaded before the list was saved"; };
  service.downloadFlag = true;
  service.checkForUpdates();
  nxo().onConnect();
  EXPECT_EQ(window.status, "Grabbing New KRV Server File...");
  EXPECT_EQ(lastSent(nxo()).substr(0, 36), "GET /Korvane/NXO_KRV5.KRV HTTP/1.1\r\n");
  nxo().deliverText("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nfr");
  EXPECT_EQ(window.status, "Downloading 5 Byte KRV File");
  EXPECT_TRUE(service.listFileOpen);
  EXPECT_EQ(list(), kOldList);
  nxo().deliverText("esh");

  EXPECT_EQ(list(), fresh);
  EXPECT_EQ(window.reloads, 1);
  EXPECT_EQ(window.syncsWhileEnabled, 1);
  EXPECT_FALSE(service.downloadFlag);
  EXPECT_FALSE(service.listFileOpen);
  EXPECT_TRUE(service.checkUpdateEnabled());
  EXPECT_FALSE(service.manualCheck);
}

TEST_F(UpdateServiceTest, EveryBrokenDownloadKeepsTheOldListAndEndsTheCheck) {
  struct Case {
    const char* name;
    std::function<void(FakeSocket&)> serve;
  };
  const std::string header5 = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n";
  const Case cases[] = {
      {"no Content-Length", [](FakeSocket& s) { s.deliverText("HTTP/1.1 200 OK\r\n\r\nnew"); }},
      {"length above 7 digits",
       [](FakeSocket& s) { s.deliverText("HTTP/1.1 200 OK\r\nContent-Length: 12345678\r\n\r\n"); }},
      {"more than announced", [&](FakeSocket& s) { s.deliverText(header5 + "fresh!"); }},
      {"cut off", [&](FakeSocket& s) { s.deliverText(header5 + "fre"), s.peerClose(); }},
      {"socket error",
       [&](FakeSocket& s) { s.deliverText(header5 + "fre"), s.raiseError(10054, "reset"); }},
      {"not found", [](FakeSocket& s) { s.deliverText("HTTP/1.1 404 Not Found\r\n\r\n"); }},
      {"unreadable", [](FakeSocket& s) { s.failReads(true), s.deliverText("HTTP"); }},
      {"empty body",
       [](FakeSocket& s) { s.deliverText("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSocketFactory caseSockets;
    NXOUpdateService s{window, {caseSockets, files, boxes, launcher}, {"h", ""}};
    window.status.clear();
    s.downloadFlag = true;
    s.checkForUpdates();
    caseSockets.made[0]->onConnect();
    c.serve(*caseSockets.made[0]);

    EXPECT_EQ(list(), kOldList);
    EXPECT_EQ(window.reloads, 0);
    EXPECT_EQ(window.status.rfind("KRV Server File download failed: ", 0), 0u) << window.status;
    EXPECT_FALSE(s.downloadFlag);
    EXPECT_FALSE(s.listFileOpen);
    EXPECT_FALSE(s.manualCheck);
    EXPECT_TRUE(s.checkUpdateEnabled());
    EXPECT_FALSE(s.exchangeRunning());
  }
}

TEST_F(UpdateServiceTest, AStartWithoutAListThatCannotReachTheServerSaysSo) {
  files.files.erase("/opt/korvane/NXO_KRV5.KRV");
  service.NXOUpdate();
  nxo().raiseError(10061, "Connection refused");
  EXPECT_EQ(window.status, "KRV Server File download failed: Connection refused");
}

TEST_F(UpdateServiceTest, AServerThatNeverFinishesIsGivenUpAfterThirtyTicks) {
  service.versionHost = "127.0.0.1";
  service.NXO_ProdID();
  service.checkForUpdates();
  serve("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nfre");
  for (int i = 1; i < kExchangeLimitTicks; ++i) service.tick();
  EXPECT_TRUE(service.exchangeRunning());
  EXPECT_FALSE(service.checkUpdateEnabled());
  service.tick();
  EXPECT_FALSE(service.exchangeRunning());
  EXPECT_TRUE(service.checkUpdateEnabled());
  EXPECT_EQ(window.status, "Update check failed: no answer within 30 seconds");
  pli().deliverText(":'/|NXO_PRODLI9.0");  // too late: the query was closed
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(UpdateServiceTest, ARestartedDownloadNeverAppendsToTheAbandonedOne) {
  service.downloadFlag = true;
  service.NXOUpdate();
  serve("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nfre");
  service.NXOUpdate();
  serve("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nfresh");
  EXPECT_EQ(list(), "fresh");
}

// The program folder of an installed program: the user may not write it.
class ReadOnlyProgramFolder : public FakeFiles {
 public:
  bool writeAtomically(const std::string& path, std::string_view bytes) override {
    if (path.rfind(programFolder(), 0) == 0) return false;
    return FakeFiles::writeAtomically(path, bytes);
  }
};

TEST_F(UpdateServiceTest, AListTheProgramFolderCannotTakeGoesToTheUsersFolderAndIsReadFirst) {
  ReadOnlyProgramFolder installed;
  installed.putInProgramFolder("NXO_KRV5.KRV", kOldList);
  FakeSocketFactory caseSockets;
  NXOUpdateService s{window, {caseSockets, installed, boxes, launcher}, {"h", "/home/u/.kv"}};
  boxes.answer(MsgResult::Yes);
  s.checkForUpdates();
  caseSockets.made[0]->onConnect();
  caseSockets.made[0]->deliverText(http200(versionInfo("5.1.12", "5")));
  caseSockets.made[0]->onConnect();
  caseSockets.made[0]->deliverText(http200("fresh"));

  EXPECT_EQ(installed.files["/home/u/.kv/NXO_KRV5.KRV"], "fresh");
  EXPECT_EQ(installed.files["/opt/korvane/NXO_KRV5.KRV"], kOldList);
  EXPECT_EQ(window.reloads, 1);

  // The next run compares the size of the user's copy, which matches.
  FakeSocketFactory nextSockets;
  NXOUpdateService next{window, {nextSockets, installed, boxes, launcher}, {"h", "/home/u/.kv"}};
  next.checkForUpdates();
  nextSockets.made[0]->onConnect();
  nextSockets.made[0]->deliverText(http200(versionInfo("5.1.12", "5")));
  EXPECT_EQ(boxes.shown.back().text, "No Updates Available.");
}

}  // namespace
}  // namespace korvane::shell
