#include "framework/toolkit/keyboard_navigation.hpp"

#include <algorithm>

namespace tavelin::ui {
namespace {

// The radios of the group that holds `id`, those that `keep` accepts.
template <typename Keep>
std::vector<size_t> GroupIndices(const ControlList& controls, int id, Keep keep) {
  std::vector<size_t> group;
  bool found = false;
  for (size_t i = 0; i < controls.size(); ++i) {
    const Control& control = *controls[i];
    if (control.Definition().groupStart) {
      if (found) break;
      group.clear();
    }
    if (control.Kind() == ControlKind::kRadioButton && keep(control)) group.push_back(i);
    if (control.Id() == id) found = true;
  }
  return found ? group : std::vector<size_t>{};
}

}  // namespace

std::vector<Control*> RadioGroupOf(const ControlList& controls, int id) {
  std::vector<Control*> group;
  for (size_t i : GroupIndices(controls, id, [](const Control&) { return true; })) {
    group.push_back(controls[i].get());
  }
  return group;
}

bool TakesFocus(const Control& control) {
  return control.Visible() && control.Enabled() && control.Kind() != ControlKind::kStatic &&
         control.Kind() != ControlKind::kGroupBox;
}

int NextTabStop(const ControlList& controls, int id, bool forward) {
  const size_t count = controls.size();
  // The item that is item i's stop: a radio's group stops at its checked
  // radio, else at its first.
  auto stopOf = [&](size_t i) {
    if (controls[i]->Kind() != ControlKind::kRadioButton) return i;
    const std::vector<size_t> group = GroupIndices(controls, controls[i]->Id(), TakesFocus);
    if (group.empty()) return i;
    for (size_t j : group) {
      if (controls[j]->Checked()) return j;
    }
    return group.front();
  };
  std::vector<size_t> stops;
  for (size_t i = 0; i < count; ++i) {
    if (TakesFocus(*controls[i]) && stopOf(i) == i) stops.push_back(i);
  }
  if (stops.empty()) return 0;
  size_t at = count;
  for (size_t i = 0; i < count; ++i) {
    if (controls[i]->Id() == id) at = i;
  }
  auto idOf = [&](size_t k) { return controls[stops[k]]->Id(); };
  if (at == count) return forward ? idOf(0) : idOf(stops.size() - 1);
  const size_t pos = TakesFocus(*controls[at]) ? stopOf(at) : at;
  const auto found = std::find(stops.begin(), stops.end(), pos);
  if (found != stops.end()) {
    const size_t k = static_cast<size_t>(found - stops.begin());
    return idOf(forward ? (k + 1) % stops.size() : (k + stops.size() - 1) % stops.size());
  }
  if (forward) {
    for (size_t k = 0; k < stops.size(); ++k) {
      if (stops[k] > pos) return idOf(k);
    }
    return idOf(0);
  }
  for (size_t k = stops.size(); k-- > 0;) {
    if (stops[k] < pos) return idOf(k);
  }
  return idOf(stops.size() - 1);
}

int NextInRadioGroup(const ControlList& controls, int id, bool forward) {
  const std::vector<size_t> group = GroupIndices(controls, id, TakesFocus);
  if (group.size() < 2) return 0;
  for (size_t k = 0; k < group.size(); ++k) {
    if (controls[group[k]]->Id() != id) continue;
    const size_t next = forward ? (k + 1) % group.size() : (k + group.size() - 1) % group.size();
    return controls[group[next]]->Id();
  }
  return 0;
}

}  // namespace tavelin::ui
