// The events factory: click sources of command-bar controls and designer-control sources.
#include "hosts/memory/memory_objects.h"

namespace memhost::detail {
namespace {

class MemCommandBarEvents : public host::CommandBarEvents {
 public:
  MemCommandBarEvents(std::shared_ptr<HostState> state, Ref<host::CommandBarControl> control)
      : state_(std::move(state)), control_(std::move(control)) {}
  host::Connection Advise(host::ClickSink sink) override { return state_->SubscribeClick(control_, std::move(sink)); }

 private:
  std::shared_ptr<HostState> state_;
  Ref<host::CommandBarControl> control_;
};

class MemVBControlsEvents : public host::VBControlsEvents {
 public:
  MemVBControlsEvents(std::shared_ptr<HostState> state, Ref<host::VBProject> project, Ref<host::VBForm> form)
      : state_(std::move(state)), project_(std::move(project)), form_(std::move(form)) {}
  host::Connection Advise(host::ControlsSink sink) override {
    return state_->SubscribeControls(project_, form_, std::move(sink));
  }

 private:
  std::shared_ptr<HostState> state_;
  Ref<host::VBProject> project_;
  Ref<host::VBForm> form_;
};

}  // namespace

Ref<host::CommandBarEvents> MemEvents::CommandBarEvents(const Ref<host::CommandBarControl>& control) {
  state_->Check("Events.CommandBarEvents");
  if (!control) RaiseObjectNotSet();
  return std::make_shared<MemCommandBarEvents>(state_, control);
}

Ref<host::VBControlsEvents> MemEvents::VBControlsEvents(const Ref<host::VBProject>& project,
                                                        const Ref<host::VBForm>& form) {
  state_->Check("Events.VBControlsEvents");
  return std::make_shared<MemVBControlsEvents>(state_, project, form);
}

}  // namespace memhost::detail
