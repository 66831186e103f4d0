#include "platform/qt/qt_form_hosts.h"

#include <QWidget>

namespace korvane::platform {

QtFormHosts::~QtFormHosts() = default;

void QtFormHosts::host(ui::Form& form) {
  if (hosts_.count(&form)) return;
  auto& made = hosts_[&form] =
      std::make_unique<FormHost>(form, folder_, bindings_, colours_, beat_);
  if (const auto it = adopted_.find(&form); it != adopted_.end()) made->adoptAt(it->second);
}

void QtFormHosts::release(ui::Form& form) {
  adopted_.erase(&form);
  const auto it = hosts_.find(&form);
  if (it == hosts_.end()) return;
  FormHost* host = it->second.release();
  hosts_.erase(it);
  // The release may come from inside the window's own close event.
  host->leaveBeat();
  host->window()->hide();
  host->deleteLater();
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
