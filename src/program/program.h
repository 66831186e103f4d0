// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program's windows may ask of each other: a synchronisation, another window, the
// unloading of every window but the main one, a fresh read of the server list.
#include <string_view>

#include "platform/ui/form.h"

namespace korvane::program {

// The program's windows by name.
namespace window {
constexpr std::string_view kMain = "NXO_KRV";
constexpr std::string_view kTaskbarClock = "KRV_Clock";
constexpr std::string_view kFloatingSettings = "KRV_DConfig";
constexpr std::string_view kFloatingClock = "KRV_DetachF";
constexpr std::string_view kOptions = "KRV_Config";
}  // namespace window

// The title of the program's questions and warnings.
inline constexpr std::string_view kMessageTitle = "Korvane";

class Program {
 public:
  virtual ~Program() = default;
  // Starts a synchronisation as the main window's Synchronize button does.
  virtual void synchronise() = 0;
  // Whether the program has a window of this name.
  virtual bool hasWindow(std::string_view name) const = 0;
  // The window, created and loaded when it is not; null for an unknown name.
  virtual ui::Form* loadWindow(std::string_view name) = 0;
  // As loadWindow, then shown (modeless).
  virtual ui::Form* showWindow(std::string_view name) = 0;
  // The loaded instance, or null.
  virtual ui::Form* loadedWindow(std::string_view name) const = 0;
  virtual void unloadWindow(std::string_view name) = 0;
  // Unloads every window but the main one, in the program's shut-down order.
  virtual void unloadOtherWindows() = 0;
  // Closes every connection of the program (the shut-down): a running synchronisation and the
  // update service's exchanges end without an outcome.
  virtual void closeConnections() {}
  // Reads the settings and the server list again (after a fresh list arrived).
  virtual void rereadServerList() = 0;
  // The region or protocol choice in the settings changed: the synchronisation takes them,
  // picking from the new region's servers.
  virtual void useServerChoice() = 0;
};

}  // namespace korvane::program
