// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A control event: the form connects its handler, a host may connect a mirror. A connection can
// be ended, so a host or a window made afresh on each show leaves no dead handlers behind.
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace korvane::ui {

// One handler's link to its event; disconnect() ends it, also after the event is gone.
class Connection {
 public:
  Connection() = default;
  explicit Connection(std::weak_ptr<bool> live) : live_(std::move(live)) {}
  void disconnect() {
    if (const auto live = live_.lock()) *live = false;
    live_.reset();
  }
  bool connected() const {
    const auto live = live_.lock();
    return live && *live;
  }

 private:
  std::weak_ptr<bool> live_;
};

// A connection that ends when it goes out of scope.
class ScopedConnection {
 public:
  ScopedConnection() = default;
  ScopedConnection(Connection c) : c_(std::move(c)) {}  // NOLINT: made from connect()'s result
  ScopedConnection(ScopedConnection&& other) noexcept : c_(std::exchange(other.c_, {})) {}
  ScopedConnection& operator=(ScopedConnection&& other) noexcept {
    if (this != &other) {
      c_.disconnect();
      c_ = std::exchange(other.c_, {});
    }
    return *this;
  }
  ScopedConnection(const ScopedConnection&) = delete;
  ScopedConnection& operator=(const ScopedConnection&) = delete;
  ~ScopedConnection() { c_.disconnect(); }

 private:
  Connection c_;
};

template <class... Args>
class Event {
 public:
  using Handler = std::function<void(Args...)>;
  Connection connect(Handler handler) {
    prune();
    auto live = std::make_shared<bool>(true);
    Connection c{live};
    slots_.push_back({std::move(live), std::move(handler)});
    return c;
  }
  void operator()(Args... args) const {
    const auto current = slots_;  // a handler may connect or disconnect another
    for (const Slot& s : current)
      if (*s.live) s.handler(args...);
  }
  bool connected() const {
    for (const Slot& s : slots_)
      if (*s.live) return true;
    return false;
  }
  // Handlers still connected.
  size_t handlerCount() const {
    size_t n = 0;
    for (const Slot& s : slots_) n += *s.live ? 1 : 0;
    return n;
  }

 private:
  struct Slot {
    std::shared_ptr<bool> live;
    Handler handler;
  };
  void prune() {
    std::erase_if(slots_, [](const Slot& s) { return !*s.live; });
  }
  std::vector<Slot> slots_;
};

// Sets a property's field and raises `changed` with args when the value really changed; true if
// it did.
template <class T, class... Args>
bool setAndNotify(T& field, const T& value, const Event<Args...>& changed, Args... args) {
  if (field == value) return false;
  field = value;
  changed(args...);
  return true;
}

}  // namespace korvane::ui
