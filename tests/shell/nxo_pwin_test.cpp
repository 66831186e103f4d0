// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows version code and the layered-capable flag over every known version.
#include "shell/nxo_pwin.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_os_version.h"
#include "platform/posix/posix_os_version.h"

namespace korvane::shell {
namespace {

struct Row {
  const char* name;
  uint32_t platformId, major, minor;
  const char* servicePack;
  uint8_t productType;
  uint16_t suiteMask;
  const char* code;
  bool layered;
};

// One row per line of the version table, then the cases that sit between its lines.
const Row kRows[] = {
    {"Win32s", 0, 3, 11, "", 0, 0, "win31", false},
    {"95 OSR2", 1, 4, 0, " C", 0, 0, "95OS2", false},
    {"95", 1, 4, 0, "", 0, 0, "WIN95", false},
    {"98 SE", 1, 4, 10, " A ", 0, 0, "98SEC", false},
    {"98", 1, 4, 10, "", 0, 0, "WIN98", false},
    {"Me", 1, 4, 90, "", 0, 0, "WINME", false},
    {"NT 3.0", 2, 3, 0, "", 0, 0, "NTV30", false},
    {"NT 3.1", 2, 3, 1, "", 0, 0, "NTV31", false},
    {"NT 3.5", 2, 3, 5, "", 0, 0, "NTV35", false},
    {"NT 3.51", 2, 3, 51, "", 0, 0, "NT351", false},
    {"NT 4", 2, 4, 0, "Service Pack 6", 1, 0, "NTV40", false},
    {"2000 Professional", 2, 5, 0, "", 1, 0, "00PRO", true},
    {"2000 Advanced Server", 2, 5, 0, "", 3, 2, "00ADV", true},
    {"2000 Datacenter", 2, 5, 0, "", 3, 128, "00DCE", true},
    {"2000 Server", 2, 5, 0, "", 3, 0, "00SVR", true},
    {"2000 domain controller", 2, 5, 0, "", 2, 2, "02UNK", true},
    {"XP Home", 2, 5, 1, "Service Pack 2", 1, 0x300, "XPHOM", true},
    {"XP Professional", 2, 5, 1, "Service Pack 3", 1, 0x100, "XPPRO", true},
    {"XP .NET server", 2, 5, 1, "", 3, 2, "XPNET", true},
    {"XP other server", 2, 5, 1, "", 2, 0x82, "XPSVR", true},
    {"Server 2003", 2, 5, 2, "", 3, 0, "02UNK", false},
    {"NT 6.1", 2, 6, 1, "", 1, 0, "02UNK", false},
    {"98 SE lower-case a", 1, 4, 10, "a", 0, 0, "98SEC", false},
    {"95 lower-case c", 1, 4, 0, "c", 0, 0, "95OS2", false},
    {"95 family minor 5", 1, 4, 5, "C", 0, 0, "02UNK", false},
    {"NT 3.2", 2, 3, 2, "", 0, 0, "02UNK", false},
    {"CE platform", 3, 5, 0, "", 1, 0, "02UNK", false},
    {"Service pack letter is not the suite", 2, 5, 0, "A", 3, 128, "00DCE", true},
};

TEST(NxoPWin, EveryKnownVersionGivesItsCodeAndFlag) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    platform::FakeOsVersion os;
    os.record.platformId = row.platformId;
    os.record.majorVersion = row.major;
    os.record.minorVersion = row.minor;
    os.setServicePack(row.servicePack);
    os.record.productType = row.productType;
    os.record.suiteMask = row.suiteMask;
    const WindowsIdentity id = IdentifyWindows(os, false);
    EXPECT_EQ(id.code, row.code);
    EXPECT_EQ(id.layeredCapable, row.layered);
    EXPECT_EQ(os.sizeAsked, platform::kVersionRecordSize);
  }
}

TEST(NxoPWin, FailingCallGivesUnknownAndCompositingStillAllowsTranslucency) {
  platform::FakeOsVersion os;
  os.record.platformId = 2;
  os.record.majorVersion = 5;
  os.record.minorVersion = 1;
  os.record.productType = 1;
  os.succeeds = false;
  struct Case {
    bool compositing;
    bool layered;
  };
  for (const Case c : {Case{false, false}, Case{true, true}}) {
    const WindowsIdentity id = IdentifyWindows(os, c.compositing);
    EXPECT_EQ(id.code, "02UNK");
    EXPECT_EQ(id.layeredCapable, c.layered);
  }
  EXPECT_EQ(os.calls, 2);
}

TEST(NxoPWin, PosixReportsNoWindows) {
  platform::PosixOsVersion os;
  EXPECT_EQ(IdentifyWindows(os, false).code, "02UNK");
  EXPECT_FALSE(IdentifyWindows(os, false).layeredCapable);
  EXPECT_TRUE(IdentifyWindows(os, true).layeredCapable);
}

TEST(NxoPWin, CompositingKeepsTheCodeOfAKnownVersion) {
  platform::FakeOsVersion os;
  os.record.platformId = 1;
  os.record.majorVersion = 4;
  os.record.minorVersion = 90;
  const WindowsIdentity id = IdentifyWindows(os, true);
  EXPECT_EQ(id.code, "WINME");
  EXPECT_TRUE(id.layeredCapable);
}

TEST(NxoPWin, ServicePackWithoutTerminatorIsReadToItsEndOnly) {
  platform::FakeOsVersion os;
  os.record.platformId = 1;
  os.record.minorVersion = 10;
  os.record.servicePack.fill('x');
  os.record.servicePackMajor = 'A';  // the letter right after the text must not count
  EXPECT_EQ(IdentifyWindows(os, false).code, "WIN98");
  os.record.servicePack.back() = 'a';
  EXPECT_EQ(IdentifyWindows(os, false).code, "98SEC");
}

}  // namespace
}  // namespace korvane::shell
