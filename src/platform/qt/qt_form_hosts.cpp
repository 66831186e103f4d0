// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_form_hosts.h"

#include <QThread>
#include <QTimer>
#include <QWidget>
#include <typeinfo>

#include "platform/qt/nested_loops.h"
#include "platform/ui/timer.h"

namespace korvane::platform {

namespace {
// How often a deletion put off by a nested loop is tried again.
constexpr int kRetryMs = 50;
}  // namespace

QtFormHosts::~QtFormHosts() = default;

void QtFormHosts::host(ui::Form& form) {
  if (hosts_.count(&form)) return;
  auto& made = hosts_[&form] =
      std::make_unique<FormHost>(form, folder_, bindings_, colours_, beat_);
  made->setOwnerLookup([this](const ui::Form& owner) -> QWidget* {
    const FormHost* h = hostOf(owner);
    return h ? h->window() : nullptr;
  });
  if (const auto it = adopted_.find(&form); it != adopted_.end()) made->adoptAt(it->second);
}

void QtFormHosts::release(ui::Form& form) {
  if (releaseListener_) releaseListener_(form);
  adopted_.erase(&form);
  const auto it = hosts_.find(&form);
  if (it == hosts_.end()) return;
  std::unique_ptr<FormHost> host = std::move(it->second);
  hosts_.erase(it);
  // The release may come from inside the window's own events, or from under a nested loop.
  host->detach();
  retired_.push_back(std::move(host));
  if (!deleter_) {
    deleter_ = std::make_unique<QTimer>();
    deleter_->setSingleShot(true);
    QObject::connect(deleter_.get(), &QTimer::timeout, [this] { deleteRetired(); });
  }
  if (!deleter_->isActive()) deleter_->start(0);
}

void QtFormHosts::deleteRetired() {
  // Above the top-level loop (a loop level over 1) a window's handler may still be running.
  if (NestedLoop::running() || QThread::currentThread()->loopLevel() > 1) {
    deleter_->start(kRetryMs);
    return;
  }
  retired_.clear();
}

std::string QtFormHosts::unboundControl(const ui::Form& form) const {
  for (const ui::Form::Entry& e : form.controls())
    if (!dynamic_cast<const ui::Timer*>(e.control) && !bindings_.binds(*e.control))
      return e.control->name() + " (" + typeid(*e.control).name() + ")";
  return {};
}

FormHost* QtFormHosts::hostOf(const ui::Form& form) const {
  const auto it = hosts_.find(&form);
  return it == hosts_.end() ? nullptr : it->second.get();
}

void QtFormHosts::adopt(const ui::Form& form, QPoint origin) {
  adopted_[&form] = origin;
  if (FormHost* h = hostOf(form)) h->adoptAt(origin);
}

void QtFormHosts::moveAdopted(QPoint origin) {
  for (auto& [form, at] : adopted_) {
    at = origin;
    if (FormHost* h = hostOf(*form)) h->adoptAt(origin);
  }
}

}  // namespace korvane::platform
