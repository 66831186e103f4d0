#pragma once
// A FormHost for each loaded form, made when the form loads and deleted once its unload's
// events have returned.
#include <map>
#include <memory>
#include <string>

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
  // The host of a hosted form, or null.
  FormHost* hostOf(const ui::Form& form) const;
  // Makes form's window, now or once it is hosted, and until its release, a tool window placed
  // relative to origin (screen pixels).
  void adopt(const ui::Form& form, QPoint origin);
  // Moves the origin of every adopted window.
  void moveAdopted(QPoint origin);

 private:
  std::string folder_;
  ControlBindings bindings_;
  const SystemColours* colours_;
  SecondBeat* beat_;
  std::map<const ui::Form*, std::unique_ptr<FormHost>> hosts_;
  std::map<const ui::Form*, QPoint> adopted_;
};

}  // namespace korvane::platform
