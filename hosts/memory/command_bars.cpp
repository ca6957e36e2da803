// Command bars with real controls: buttons and popups keep caption, tag and order, and can be
// deleted once.
#include <algorithm>

#include "hosts/memory/memory_objects.h"

namespace memhost::detail {
namespace {

// What the IDE raises for a call on a control that was deleted (automation error E_FAIL).
constexpr int kMethodFailed = -2147467259;

[[noreturn]] void RaiseMethodFailed(const char* method) {
  vb::Raise(kMethodFailed, u"Method '" + vb::FromUtf8(method) + u"' of object 'CommandBarControl' failed");
}

}  // namespace

// ---- controls collection ---------------------------------------------------------------------

void MemBarControls::CheckOwner() const {
  if (owner.expired()) return;
  auto popup = owner.lock();
  if (popup && popup->deleted()) RaiseMethodFailed("Controls");
}

long MemBarControls::Count() {
  CheckOwner();
  return static_cast<long>(items_.size());
}

Ref<host::CommandBarControl> MemBarControls::Item(long index) {
  CheckOwner();
  if (index < 1 || index > static_cast<long>(items_.size())) RaiseInvalidCall();
  return items_[static_cast<std::size_t>(index - 1)];
}

Ref<host::CommandBarControl> MemBarControls::Add(int type, long before) {
  state_->Check("CommandBarControls.Add");
  CheckOwner();
  if (type != host::msoControlButton && type != host::msoControlPopup) RaiseInvalidCall();
  if (before < 0 || before > static_cast<long>(items_.size()) + 1) RaiseInvalidCall();
  auto control = std::make_shared<MemBarControl>(state_, weak_from_this(), type);
  if (control->children()) control->children()->owner = control;
  auto at = before == 0 ? items_.end() : items_.begin() + (before - 1);
  items_.insert(at, control);
  return control;
}

std::shared_ptr<MemBarControl> MemBarControls::Append(int type, TextView caption) {
  auto control = std::make_shared<MemBarControl>(state_, weak_from_this(), type);
  if (control->children()) control->children()->owner = control;
  control->InitCaption(caption);
  items_.push_back(control);
  return control;
}

void MemBarControls::Remove(const MemBarControl* control) {
  std::erase_if(items_, [&](const auto& c) { return c.get() == control; });
}

std::shared_ptr<MemBarControl> MemBarControls::Find(TextView caption) const {
  for (const auto& c : items_)
    if (c->Caption() == caption) return c;
  return nullptr;
}

// ---- one control -----------------------------------------------------------------------------

MemBarControl::MemBarControl(std::shared_ptr<HostState> state, std::weak_ptr<MemBarControls> parent, int type)
    : state_(std::move(state)), parent_(std::move(parent)), type_(type) {
  if (type_ == host::msoControlPopup) children_ = std::make_shared<MemBarControls>(state_);
}

void MemBarControl::CheckAlive(const char* operation) const {
  if (deleted_) RaiseMethodFailed(operation);
}

host::ControlType MemBarControl::Type() {
  CheckAlive("Type");
  return static_cast<host::ControlType>(type_);
}

Text MemBarControl::Caption() {
  CheckAlive("Caption");
  return caption_;
}

void MemBarControl::SetCaption(TextView caption) {
  state_->Check("CommandBarControl.Caption");
  CheckAlive("Caption");
  caption_ = Text(caption);
}

Text MemBarControl::Tag() {
  CheckAlive("Tag");
  return tag_;
}

void MemBarControl::SetTag(TextView tag) {
  state_->Check("CommandBarControl.Tag");
  CheckAlive("Tag");
  tag_ = Text(tag);
}

void MemBarControl::Delete() {
  state_->Check("CommandBarControl.Delete");
  CheckAlive("Delete");
  // A popup takes its own controls with it.
  std::vector<std::shared_ptr<MemBarControl>> doomed{shared_from_this()};
  for (std::size_t i = 0; i < doomed.size(); ++i) {
    doomed[i]->deleted_ = true;
    if (doomed[i]->children_)
      for (const auto& child : doomed[i]->children_->items()) doomed.push_back(child);
  }
  if (auto parent = parent_.lock()) parent->Remove(this);
}

Ref<host::CommandBarControls> MemBarControl::Controls() {
  CheckAlive("Controls");
  if (!children_) vb::Raise(438, u"Object doesn't support this property or method");
  return children_;
}

// ---- bars ------------------------------------------------------------------------------------

Ref<host::CommandBar> MemCommandBars::Item(TextView name) {
  state_->Check("CommandBars.Item");
  auto bar = Find(name);
  if (!bar) RaiseInvalidCall();
  return bar;
}

std::shared_ptr<MemCommandBar> MemCommandBars::Find(TextView name) const {
  for (const auto& bar : bars_)
    if (vb::EqualsNoCase(bar->Name(), name)) return bar;
  return nullptr;
}

std::shared_ptr<MemCommandBar> MemCommandBars::AddBar(TextView name) {
  auto bar = std::make_shared<MemCommandBar>(state_, Text(name));
  bars_.push_back(bar);
  return bar;
}

void MemCommandBars::RemoveBar(TextView name) {
  std::erase_if(bars_, [&](const auto& bar) { return vb::EqualsNoCase(bar->Name(), name); });
}

void AddStandardBars(MemCommandBars& bars, const std::vector<Text>& without) {
  auto wanted = [&](TextView name) {
    return std::none_of(without.begin(), without.end(), [&](const Text& w) { return vb::EqualsNoCase(w, name); });
  };
  if (wanted(u"Add-Ins")) {
    auto bar = bars.AddBar(u"Add-Ins");
    bar->controls()->Append(host::msoControlButton, u"&Add-In Manager...");
  }
  if (wanted(u"Code Window")) {
    auto& controls = bars.AddBar(u"Code Window")->controls();
    for (const char16_t* caption : {u"&List Properties/Methods", u"List &Constants", u"&Quick Info",
                                    u"&Parameter Info", u"Complete &Word", u"Cu&t", u"&Copy", u"&Paste",
                                    u"&Definition", u"&Last Position"})
      controls->Append(host::msoControlButton, caption);
    auto toggle = controls->Append(host::msoControlPopup, u"&Toggle");
    toggle->children()->Append(host::msoControlButton, u"&Breakpoint");
    toggle->children()->Append(host::msoControlButton, u"B&ookmark");
    controls->Append(host::msoControlButton, u"Hi&de");
  }
}

}  // namespace memhost::detail
