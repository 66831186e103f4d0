#include "platform/qt/qt_form_hosts.h"

#include <QWidget>

namespace korvane::platform {

QtFormHosts::~QtFormHosts() = default;

void QtFormHosts::host(ui::Form& form) {
  if (hosts_.count(&form)) return;
  hosts_[&form] = std::make_unique<FormHost>(form, folder_, bindings_, colours_);
}

void QtFormHosts::release(ui::Form& form) {
  const auto it = hosts_.find(&form);
  if (it == hosts_.end()) return;
  FormHost* host = it->second.release();
  hosts_.erase(it);
  // The release may come from inside the window's own close event.
  host->window()->hide();
  host->deleteLater();
}

FormHost* QtFormHosts::hostOf(const ui::Form& form) const {
  const auto it = hosts_.find(&form);
  return it == hosts_.end() ? nullptr : it->second.get();
}

}  // namespace korvane::platform
