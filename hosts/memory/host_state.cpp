// The state all objects of one in-memory IDE share: injected failures, event subscriptions, and
// the IDE's line rules for code text.
#include <algorithm>

#include "hosts/memory/memory_objects.h"

namespace memhost {

Text Lines(std::initializer_list<TextView> lines) {
  Text text;
  bool first = true;
  for (TextView line : lines) {
    if (!first) text += vb::kCrLf;
    text += line;
    first = false;
  }
  return text;
}

namespace detail {

void RaiseSubscript() { vb::Raise(vb::err::kSubscriptOutOfRange, u"Subscript out of range"); }
void RaiseInvalidCall() { vb::Raise(vb::err::kInvalidProcedureCall, u"Invalid procedure call or argument"); }
void RaiseObjectNotSet() { vb::Raise(vb::err::kObjectNotSet, u"Object variable or With block variable not set"); }

void FailureInjector::Add(const std::string& operation, int nth, int number, Text description) {
  if (nth < 1) nth = 1;
  pending_.push_back(Pending{operation, nth, number, std::move(description)});
}

void FailureInjector::CheckPending(std::string_view operation) {
  std::optional<Pending> due;
  for (auto it = pending_.begin(); it != pending_.end();) {
    if (it->operation == operation && --it->remaining == 0) {
      if (!due) due = *it;
      it = pending_.erase(it);
    } else {
      ++it;
    }
  }
  if (due) vb::Raise(due->number, due->description);
}

namespace {

// Ends a subscription when destroyed; harmless once the IDE itself is gone.
class Subscription : public host::EventConnection {
 public:
  Subscription(std::weak_ptr<HostState> state, std::uint64_t id, bool click)
      : state_(std::move(state)), id_(id), click_(click) {}
  ~Subscription() override {
    auto state = state_.lock();
    if (!state) return;
    if (click_) {
      std::erase_if(state->clickSinks, [&](const ClickSubscription& s) { return s.id == id_; });
    } else {
      std::erase_if(state->controlsSinks, [&](const ControlsSubscription& s) { return s.id == id_; });
    }
  }

 private:
  std::weak_ptr<HostState> state_;
  std::uint64_t id_;
  bool click_;
};

}  // namespace

host::Connection HostState::SubscribeClick(const Ref<host::CommandBarControl>& control, host::ClickSink sink) {
  std::uint64_t id = nextSubscription++;
  clickSinks.push_back(ClickSubscription{id, control, std::make_shared<host::ClickSink>(std::move(sink))});
  return std::make_unique<Subscription>(weak_from_this(), id, true);
}

host::Connection HostState::SubscribeControls(const Ref<host::VBProject>& project, const Ref<host::VBForm>& form,
                                              host::ControlsSink sink) {
  std::uint64_t id = nextSubscription++;
  controlsSinks.push_back(ControlsSubscription{id, project, project == nullptr, form, form == nullptr,
                                               std::make_shared<host::ControlsSink>(std::move(sink))});
  return std::make_unique<Subscription>(weak_from_this(), id, false);
}

void HostState::RaiseClick(const std::shared_ptr<host::CommandBarControl>& control) {
  // A sink may connect or disconnect sinks while it runs (a menu rebuilt from its own click):
  // take the list first, and skip a sink that was disconnected meanwhile.
  std::vector<std::pair<std::uint64_t, std::shared_ptr<host::ClickSink>>> targets;
  for (const auto& s : clickSinks)
    if (SameObject(s.control, control)) targets.emplace_back(s.id, s.sink);
  bool handled = false, cancelDefault = false;
  for (const auto& [id, sink] : targets) {
    bool connected =
        std::any_of(clickSinks.begin(), clickSinks.end(), [sinkId = id](const auto& s) { return s.id == sinkId; });
    if (connected && *sink) (*sink)(control, handled, cancelDefault);
  }
}

void HostState::RaiseDesignerEvent(DesignerEvent event, const std::shared_ptr<MemControl>& control,
                                   const Text& oldName, int oldIndex) {
  auto form = control->form();
  auto component = form ? form->component() : nullptr;
  auto project = component ? component->project() : nullptr;
  std::vector<std::pair<std::uint64_t, std::shared_ptr<host::ControlsSink>>> targets;
  for (const auto& s : controlsSinks) {
    if (!s.anyProject && !SameObject<host::VBProject>(s.project, project)) continue;
    if (!s.anyForm && !SameObject<host::VBForm>(s.form, form)) continue;
    targets.emplace_back(s.id, s.sink);
  }
  for (const auto& [id, sink] : targets) {
    bool connected =
        std::any_of(controlsSinks.begin(), controlsSinks.end(),
                    [sinkId = id](const auto& s) { return s.id == sinkId; });
    if (!connected) continue;
    switch (event) {
      case DesignerEvent::Added:
        if (sink->ItemAdded) sink->ItemAdded(control);
        break;
      case DesignerEvent::Removed:
        if (sink->ItemRemoved) sink->ItemRemoved(control);
        break;
      case DesignerEvent::Renamed:
        if (sink->ItemRenamed) sink->ItemRenamed(control, oldName, oldIndex);
        break;
    }
  }
}

}  // namespace detail
}  // namespace memhost
