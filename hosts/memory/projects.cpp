// Projects and their components.
#include "hosts/memory/memory_objects.h"

namespace memhost::detail {
namespace {

class MemComponents : public host::VBComponents {
 public:
  explicit MemComponents(std::shared_ptr<MemProject> project) : project_(std::move(project)) {}
  long Count() override { return static_cast<long>(project_->components().size()); }
  Ref<host::VBComponent> Item(long index) override {
    const auto& all = project_->components();
    if (index < 1 || index > static_cast<long>(all.size())) RaiseSubscript();
    return all[static_cast<std::size_t>(index - 1)];
  }
  Ref<host::VBComponent> Item(TextView name) override {
    auto found = project_->Find(name);
    if (!found) RaiseSubscript();
    return found;
  }

 private:
  std::shared_ptr<MemProject> project_;
};

bool HasDesigner(int type) {
  return type == host::vbext_ct_VBForm || type == host::vbext_ct_VBMDIForm || type == host::vbext_ct_PropPage ||
         type == host::vbext_ct_UserControl;
}

}  // namespace

MemComponent::MemComponent(std::shared_ptr<HostState> state, std::weak_ptr<MemProject> project, Text name, int type)
    : state_(std::move(state)), project_(std::move(project)), name_(std::move(name)), type_(type) {}

Ref<host::CodeModule> MemComponent::CodeModule() { return module_; }
Ref<host::VBForm> MemComponent::Designer() { return designer_; }

void MemComponent::CreateModule(TextView code) { CreateModule(LineStore(code)); }

void MemComponent::CreateModule(LineStore code) {
  module_ = std::make_shared<MemCodeModule>(state_, weak_from_this(), std::move(code));
}

void MemComponent::CreateDesigner() { designer_ = std::make_shared<MemForm>(state_, weak_from_this()); }

Ref<host::VBComponents> MemProject::VBComponents() { return std::make_shared<MemComponents>(shared_from_this()); }

std::shared_ptr<MemComponent> MemProject::AddComponent(TextView name, int type, const std::optional<Text>& code) {
  if (Find(name)) vb::Raise(vb::err::kInvalidProcedureCall, u"Name conflicts with existing module, project, or object library");
  auto component = std::make_shared<MemComponent>(state_, weak_from_this(), Text(name), type);
  if (code) component->CreateModule(*code);
  if (HasDesigner(type)) component->CreateDesigner();
  components_.push_back(component);
  byName_.emplace(vb::UCase(name), component);
  return component;
}

std::shared_ptr<MemComponent> MemProject::Find(TextView name) const {
  auto found = byName_.find(vb::UCase(name));
  return found == byName_.end() ? nullptr : found->second;
}

}  // namespace memhost::detail
