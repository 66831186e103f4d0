// SPDX-License-Identifier: GPL-3.0-or-later
// The informational switches end the program before the window; every other command line is
// left to the main window.
#include "app/command_line_info.h"

#include <gtest/gtest.h>

namespace korvane::app {
namespace {

TEST(CommandLineInfo, OnlyAFirstHelpOrVersionSwitchAnswers) {
  const struct {
    std::vector<std::string> args;
    std::optional<std::string> text;
  } cases[] = {
      {{"--version"}, "korvane 5.1.0\n"},
      {{"-V", "-ro"}, "korvane 5.1.0\n"},
      {{"--help"}, korvaneUsage()},
      {{"-h"}, korvaneUsage()},
      {{}, std::nullopt},
      {{"-ro", "--help"}, std::nullopt},  // only the first word counts
      {{"-rs"}, std::nullopt},
      {{"--HELP"}, std::nullopt},
      {{"-v"}, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(commandLineInfo(c.args, "5.1.0"), c.text) << ::testing::PrintToString(c.args);
  EXPECT_NE(korvaneUsage().find("-rs"), std::string::npos);
}

TEST(CommandLineInfo, HiddenStartsWantNoWindow) {
  using Args = std::vector<std::string>;
  for (const Args& args : {Args{}, Args{"-x"}, Args{"-RO"}, Args{" -ro"}})
    EXPECT_TRUE(wantsWindow(args)) << ::testing::PrintToString(args);
  for (const Args& args : {Args{"-ro"}, Args{"-rs", "more"}})
    EXPECT_FALSE(wantsWindow(args)) << ::testing::PrintToString(args);
}

}  // namespace
}  // namespace korvane::app
