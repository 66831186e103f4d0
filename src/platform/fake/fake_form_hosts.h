// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Form hosts that record what is hosted and shown instead of making windows; with a scheduler,
// the timers of every hosted form run on the fake clock.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_scheduler.h"
#include "platform/form_hosts.h"

namespace korvane::platform {

class FakeFormHosts : public FormHosts {
 public:
  explicit FakeFormHosts(FakeScheduler* scheduler = nullptr) : scheduler_(scheduler) {}

  void host(ui::Form& form) override {
    if (hosted(form)) return;
    auto h = std::make_unique<Hosted>();
    h->form = &form;
    h->visible = form.visible();
    Hosted* raw = h.get();
    h->changed = form.PropertyChanged.connect([this, raw] { mirror(*raw); });
    log.push_back("host " + form.name());
    if (h->visible) log.push_back("show " + form.name());
    if (scheduler_) scheduler_->watch(form);
    hosts_.push_back(std::move(h));
  }
  void release(ui::Form& form) override {
    if (!hosted(form)) return;
    if (scheduler_) scheduler_->forget(form);
    std::erase_if(hosts_, [&form](const auto& h) { return h->form == &form; });
    log.push_back("release " + form.name());
  }

  bool hosted(const ui::Form& form) const {
    return std::any_of(hosts_.begin(), hosts_.end(),
                       [&](const auto& h) { return h->form == &form; });
  }
  size_t count() const { return hosts_.size(); }
  // "host NAME", "show NAME", "hide NAME", "release NAME", in order.
  std::vector<std::string> log;

 private:
  struct Hosted {
    ui::Form* form = nullptr;
    bool visible = false;
    ui::ScopedConnection changed;
  };
  void mirror(Hosted& h) {
    if (h.form->visible() == h.visible) return;
    h.visible = h.form->visible();
    log.push_back((h.visible ? "show " : "hide ") + h.form->name());
  }

  FakeScheduler* scheduler_;
  std::vector<std::unique_ptr<Hosted>> hosts_;
};

}  // namespace korvane::platform
