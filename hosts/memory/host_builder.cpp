// The fluent builder that makes an in-memory IDE from a few lines of test code.
#include <functional>

#include "hosts/memory/memory_objects.h"

namespace memhost {

namespace {

struct BuildContext {
  MemoryVBE& vbe;
  std::shared_ptr<detail::MemProject> project;  // the project components go into
};

}  // namespace

struct HostBuilder::Impl {
  std::vector<std::function<void(BuildContext&)>> steps;
  std::vector<Text> withoutBars;
  bool haveProject = false;

  void EnsureProject() {
    if (!haveProject) {
      steps.push_back([](BuildContext& ctx) { ctx.project = detail::AddProjectTo(ctx.vbe, u"Project1"); });
      haveProject = true;
    }
  }
  void AddComponent(TextView name, int type, std::optional<Text> code, std::vector<PlacedControl> controls = {}) {
    EnsureProject();
    steps.push_back([name = Text(name), type, code = std::move(code), controls = std::move(controls)](BuildContext& ctx) {
      auto component = ctx.project->AddComponent(name, type, code);
      if (component->module()) component->module()->OpenPane();
      for (const PlacedControl& placedControl : controls) {
        if (!component->designer()) vb::Raise(vb::err::kInvalidProcedureCall, name + u" has no designer");
        auto control = component->designer()->CreateControl(placedControl.className, placedControl.name, placedControl.container);
        for (const auto& [property, value] : placedControl.properties) {
          auto* slot = control->FindSlot(property);
          if (!slot) vb::Raise(vb::err::kSubscriptOutOfRange, placedControl.className + u" has no property " + property);
          control->Write(*slot, value, false);
        }
      }
    });
  }
};

HostBuilder::HostBuilder() : impl_(std::make_shared<Impl>()) {}

HostBuilder& HostBuilder::project(TextView name) {
  impl_->steps.push_back([name = Text(name)](BuildContext& ctx) { ctx.project = detail::AddProjectTo(ctx.vbe, name); });
  impl_->haveProject = true;
  return *this;
}

HostBuilder& HostBuilder::module(TextView name, TextView code) {
  impl_->AddComponent(name, host::vbext_ct_StdModule, Text(code));
  return *this;
}

HostBuilder& HostBuilder::classModule(TextView name, TextView code) {
  impl_->AddComponent(name, host::vbext_ct_ClassModule, Text(code));
  return *this;
}

HostBuilder& HostBuilder::form(TextView name, TextView code, std::vector<PlacedControl> controls) {
  impl_->AddComponent(name, host::vbext_ct_VBForm, Text(code), std::move(controls));
  return *this;
}

HostBuilder& HostBuilder::userControl(TextView name, TextView code) {
  impl_->AddComponent(name, host::vbext_ct_UserControl, Text(code));
  return *this;
}

HostBuilder& HostBuilder::component(TextView name, int type, std::optional<Text> code) {
  impl_->AddComponent(name, type, std::move(code));
  return *this;
}

HostBuilder& HostBuilder::activePane(TextView component, host::Selection selection) {
  impl_->EnsureProject();
  impl_->steps.push_back([component = Text(component), selection](BuildContext& ctx) {
    // A bare name means the component of the project being built.
    Text qualified = component.find(u'.') == Text::npos ? ctx.project->Name() + u"." + component : component;
    ctx.vbe.SetActivePane(qualified, selection);
  });
  return *this;
}

HostBuilder& HostBuilder::withoutBar(TextView barName) {
  impl_->withoutBars.emplace_back(barName);
  return *this;
}

std::shared_ptr<MemoryVBE> HostBuilder::build() {
  auto vbe = detail::CreateMemoryVBE(impl_->withoutBars);
  BuildContext ctx{*vbe, nullptr};
  for (const auto& step : impl_->steps) step(ctx);
  return vbe;
}

}  // namespace memhost
