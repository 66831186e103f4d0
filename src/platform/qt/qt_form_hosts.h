// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A FormHost for each loaded form, made when the form loads; at its release it lets go of the
// form at once, and is deleted from the top-level event loop only, once no chooser, message box
// or pending-events loop runs (a handler of its window may be waiting under one).
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/form_hosts.h"
#include "platform/qt/form_host.h"

namespace korvane::platform {

class QtFormHosts : public FormHosts {
 public:
  // System colours come from colours, or from the desktop's palette when it is null; timers on
  // the second share beat when given.
  QtFormHosts(std::string programFolder, ControlBindings bindings,
              const SystemColours* colours = nullptr, SecondBeat* beat = nullptr)
      : folder_(std::move(programFolder)),
        bindings_(std::move(bindings)),
        colours_(colours),
        beat_(beat) {}
  ~QtFormHosts() override;

  void host(ui::Form& form) override;
  void release(ui::Form& form) override;
  std::string unboundControl(const ui::Form& form) const override;
  // The host of a hosted form, or null.
  FormHost* hostOf(const ui::Form& form) const;
  // Makes form's window, now or once it is hosted, and until its release, a tool window placed
  // relative to origin (screen pixels).
  void adopt(const ui::Form& form, QPoint origin);
  // Moves the origin of every adopted window.
  void moveAdopted(QPoint origin);
  // Released hosts not deleted yet.
  size_t retiredCount() const { return retired_.size(); }
  // Called with each form as it is released, before its window goes; empty to stop.
  void setReleaseListener(std::function<void(const ui::Form&)> listener) {
    releaseListener_ = std::move(listener);
  }

 private:
  void deleteRetired();

  std::string folder_;
  ControlBindings bindings_;
  const SystemColours* colours_;
  SecondBeat* beat_;
  std::map<const ui::Form*, std::unique_ptr<FormHost>> hosts_;
  std::map<const ui::Form*, QPoint> adopted_;
  std::vector<std::unique_ptr<FormHost>> retired_;
  std::unique_ptr<QTimer> deleter_;
  std::function<void(const ui::Form&)> releaseListener_;
};

}  // namespace korvane::platform
