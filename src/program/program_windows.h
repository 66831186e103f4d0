// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's windows by name: one instance of each, created afresh on each load and
// destroyed after its unload, and hosted as a native window while it is loaded.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/form_hosts.h"
#include "platform/ui/form.h"

namespace korvane::program {

class ProgramWindows {
 public:
  using Factory = std::function<std::unique_ptr<ui::Form>()>;

  explicit ProgramWindows(platform::FormHosts& hosts) : hosts_(hosts) {}
  ~ProgramWindows();
  ProgramWindows(const ProgramWindows&) = delete;
  ProgramWindows& operator=(const ProgramWindows&) = delete;

  // A window made by make on each load. Windows unload at shut-down in the order added.
  void add(std::string name, Factory make);
  // A window that lives for the whole run; hosted from each load to its unload.
  void adopt(ui::Form& form);

  bool has(std::string_view name) const;
  ui::Form* load(std::string_view name);
  ui::Form* show(std::string_view name);
  ui::Form* loaded(std::string_view name) const;
  void unload(std::string_view name, int unloadMode = ui::kCloseFromCode);
  // Unloads every window made by add, in the order added.
  void unloadMade(int unloadMode = ui::kCloseFromCode);
  // Destroys the unloaded windows; call only where none of their handlers can be running.
  void collect() { retired_.clear(); }
  size_t retiredCount() const { return retired_.size(); }
  // The first window with a control the hosts cannot show, with that control; empty when there
  // is none. Makes each window once to look.
  std::string unhostableWindow() const;
  // Ends every host and handler; call before an adopted window is destroyed.
  void releaseAll();

 private:
  struct Slot {
    std::string name;
    Factory make;  // empty for an adopted window
    ui::Form* form = nullptr;
    std::unique_ptr<ui::Form> instance;
    std::vector<ui::ScopedConnection> connections;
  };
  Slot* find(std::string_view name);
  const Slot* find(std::string_view name) const;
  void watch(Slot& slot);
  void closed(Slot& slot);

  platform::FormHosts& hosts_;
  std::vector<std::unique_ptr<Slot>> slots_;
  // Unloaded windows, kept until no handler of theirs can still be running.
  std::vector<std::unique_ptr<ui::Form>> retired_;
};

}  // namespace korvane::program
