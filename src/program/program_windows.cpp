// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/program_windows.h"

namespace korvane::program {

ProgramWindows::~ProgramWindows() {
  releaseAll();
}

std::string ProgramWindows::unhostableWindow() const {
  for (const auto& slot : slots_) {
    std::unique_ptr<ui::Form> made;
    const ui::Form* form = slot->form;
    if (!form && slot->make) form = (made = slot->make()).get();
    if (!form) continue;
    if (std::string control = hosts_.unboundControl(*form); !control.empty())
      return "the window " + slot->name + " has a control no host can show: " + control;
  }
  return {};
}

void ProgramWindows::releaseAll() {
  for (const auto& slot : slots_) {
    slot->connections.clear();
    if (slot->form) hosts_.release(*slot->form);
    if (!slot->make) slot->form = nullptr;
  }
}

void ProgramWindows::add(std::string name, Factory make) {
  auto slot = std::make_unique<Slot>();
  slot->name = std::move(name);
  slot->make = std::move(make);
  slots_.push_back(std::move(slot));
}

void ProgramWindows::adopt(ui::Form& form) {
  auto slot = std::make_unique<Slot>();
  slot->name = form.name();
  slot->form = &form;
  watch(*slot);
  slots_.push_back(std::move(slot));
}

bool ProgramWindows::has(std::string_view name) const {
  return find(name) != nullptr;
}

ui::Form* ProgramWindows::load(std::string_view name) {
  Slot* slot = find(name);
  if (!slot) return nullptr;
  if (slot->make && !slot->form) {
    slot->instance = slot->make();
    slot->form = slot->instance.get();
    watch(*slot);
  }
  ui::Form* form = slot->form;
  form->load();
  // A Load handler may have unloaded its own window again.
  return form->loaded() ? form : nullptr;
}

ui::Form* ProgramWindows::show(std::string_view name) {
  const ui::Form* open = loaded(name);
  const bool wasShown = open && open->visible();
  ui::Form* form = load(name);
  if (!form) return nullptr;
  form->show();
  // An open window shown again comes back to the user: restored, raised and active.
  if (form->windowState() == ui::WindowState::Minimized)
    form->setWindowState(ui::WindowState::Normal);
  if (wasShown) form->bringToForeground();
  return form;
}

ui::Form* ProgramWindows::loaded(std::string_view name) const {
  const Slot* slot = find(name);
  return slot && slot->form && slot->form->loaded() ? slot->form : nullptr;
}

void ProgramWindows::unload(std::string_view name, int unloadMode) {
  if (ui::Form* form = loaded(name)) form->unload(unloadMode);
}

void ProgramWindows::unloadMade(int unloadMode) {
  for (const auto& slot : slots_)
    if (slot->make && slot->form) slot->form->unload(unloadMode);
}

void ProgramWindows::watch(Slot& slot) {
  ui::Form& form = *slot.form;
  slot.connections.clear();
  // After the form's own Load handler: the host shows what the load left.
  slot.connections.emplace_back(form.Load.connect([this, &form] { hosts_.host(form); }));
  slot.connections.emplace_back(form.Closed.connect([this, &slot] { closed(slot); }));
}

void ProgramWindows::closed(Slot& slot) {
  hosts_.release(*slot.form);
  if (!slot.make) return;  // an adopted window lives on
  slot.connections.clear();
  slot.form = nullptr;
  retired_.push_back(std::move(slot.instance));
}

ProgramWindows::Slot* ProgramWindows::find(std::string_view name) {
  for (const auto& slot : slots_)
    if (slot->name == name) return slot.get();
  return nullptr;
}

const ProgramWindows::Slot* ProgramWindows::find(std::string_view name) const {
  for (const auto& slot : slots_)
    if (slot->name == name) return slot.get();
  return nullptr;
}

}  // namespace korvane::program
