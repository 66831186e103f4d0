// SPDX-License-Identifier: GPL-3.0-or-later
// The program's windows by name: made afresh on each load, hosted while loaded, unloaded in order.
#include "program/program_windows.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/fake/fake_form_hosts.h"

namespace korvane::program {
namespace {

// A window that counts how often one was made and can refuse its own load.
struct Counted : ui::Form {
  explicit Counted(std::string name, int& made, bool closeOnLoad = false) : ui::Form(name) {
    ++made;
    Load.connect([this, closeOnLoad] {
      if (closeOnLoad) unload(ui::kCloseFromCode);
    });
  }
};

class ProgramWindowsTest : public ::testing::Test {
 protected:
  void addCounted(const std::string& name, bool closeOnLoad = false) {
    windows.add(name, [this, name, closeOnLoad] {
      return std::make_unique<Counted>(name, made[name], closeOnLoad);
    });
  }
  platform::FakeFormHosts hosts;
  ProgramWindows windows{hosts};
  std::map<std::string, int> made;
};

TEST_F(ProgramWindowsTest, EachShowAfterAnUnloadMakesAFreshHostedInstance) {
  addCounted("KRV_Config");
  ui::Form* first = windows.show("KRV_Config");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(windows.show("KRV_Config"), first) << "one instance while it is loaded";
  EXPECT_EQ(made["KRV_Config"], 1);
  first->unload(ui::kCloseFromControlMenu);
  EXPECT_EQ(windows.loaded("KRV_Config"), nullptr);
  EXPECT_EQ(windows.retiredCount(), 1u) << "kept until no handler of it can run";
  windows.collect();
  EXPECT_EQ(windows.retiredCount(), 0u);
  ASSERT_NE(windows.show("KRV_Config"), nullptr);
  EXPECT_EQ(made["KRV_Config"], 2);
  EXPECT_EQ(hosts.log,
            (std::vector<std::string>{"host KRV_Config", "show KRV_Config", "release KRV_Config",
                                      "host KRV_Config", "show KRV_Config"}));
}

TEST_F(ProgramWindowsTest, AnOpenWindowShownAgainIsRestoredAndRaised) {
  addCounted("KRV_DConfig");
  ui::Form* form = windows.show("KRV_DConfig");
  ASSERT_NE(form, nullptr);
  int raised = 0;
  const ui::ScopedConnection c = form->ForegroundRequested.connect([&] { ++raised; });
  form->setWindowState(ui::WindowState::Minimized);  // the user minimised it
  windows.show("KRV_DConfig");
  EXPECT_EQ(form->windowState(), ui::WindowState::Normal);
  EXPECT_EQ(raised, 1);
  form->hide();
  windows.show("KRV_DConfig");
  EXPECT_TRUE(form->visible());
}

TEST_F(ProgramWindowsTest, UnknownNamesAndSelfClosingLoadsGiveNoWindow) {
  addCounted("KRV_Clock", true);
  EXPECT_FALSE(windows.has("KRV_Nothing"));
  EXPECT_EQ(windows.show("KRV_Nothing"), nullptr);
  EXPECT_EQ(windows.show("KRV_Clock"), nullptr);
  EXPECT_EQ(hosts.count(), 0u) << "a window that closed in its load is not left hosted";
}

TEST_F(ProgramWindowsTest, MadeWindowsUnloadInTheOrderAddedAndAdoptedOnesStay) {
  ui::Form main("NXO_KRV");
  windows.adopt(main);
  std::vector<std::string> order;
  for (const char* name : {"KRV_Clock", "KRV_DConfig", "KRV_DetachF", "KRV_Config"}) {
    windows.add(name, [name, &order] {
      auto f = std::make_unique<ui::Form>(name);
      f->Unload.connect([name, &order](int&) { order.push_back(name); });
      return f;
    });
  }
  for (const char* name : {"KRV_Config", "KRV_DetachF", "KRV_Clock"}) windows.show(name);
  main.load();
  windows.unloadMade();
  EXPECT_EQ(order, (std::vector<std::string>{"KRV_Clock", "KRV_DetachF", "KRV_Config"}));
  EXPECT_TRUE(main.loaded());
  EXPECT_TRUE(hosts.hosted(main));
  windows.releaseAll();  // the adopted window goes first
  EXPECT_FALSE(hosts.hosted(main));
}

TEST_F(ProgramWindowsTest, AnAdoptedWindowShownAgainGathersNoHandlers) {
  ui::Form about("frmAbout");
  windows.adopt(about);
  const size_t before = about.PropertyChanged.handlerCount();
  for (int i = 0; i < 3; ++i) {
    windows.show("frmAbout");
    EXPECT_TRUE(hosts.hosted(about));
    about.unload(ui::kCloseFromControlMenu);
  }
  EXPECT_FALSE(hosts.hosted(about));
  EXPECT_EQ(about.PropertyChanged.handlerCount(), before);
  EXPECT_EQ(about.Load.handlerCount(), 1u);
  windows.releaseAll();
  EXPECT_EQ(about.Load.handlerCount(), 0u);
}

}  // namespace
}  // namespace korvane::program
