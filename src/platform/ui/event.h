#pragma once
// A control event: the form connects its handler, a host may connect a mirror.
#include <functional>
#include <utility>
#include <vector>

namespace korvane::ui {

template <class... Args>
class Event {
 public:
  using Handler = std::function<void(Args...)>;
  void connect(Handler handler) { handlers_.push_back(std::move(handler)); }
  void operator()(Args... args) const {
    const auto handlers = handlers_;  // a handler may connect another
    for (const auto& h : handlers) h(args...);
  }
  bool connected() const { return !handlers_.empty(); }

 private:
  std::vector<Handler> handlers_;
};

// Sets a property's field and raises `changed` when the value really changed; true if it did.
template <class T>
bool setAndNotify(T& field, const T& value, const Event<>& changed) {
  if (field == value) return false;
  field = value;
  changed();
  return true;
}

}  // namespace korvane::ui
