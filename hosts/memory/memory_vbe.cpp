// The in-memory IDE root: projects, panes, command bars, events, and the access tests and the
// command line have beyond the host model.
#include <algorithm>
#include <unordered_map>

#include "hosts/memory/memory_objects.h"

namespace memhost::detail {
namespace {

[[noreturn]] void RaiseNotFound(TextView what, TextView name) {
  vb::Raise(vb::err::kSubscriptOutOfRange, Text(what) + u" not found: " + Text(name));
}

class MemoryVBEImpl;

// The open projects in the order they were opened, found by name through a lookup: a group of
// hundreds of projects names its project at every component it reaches. A project keeps its name.
struct ProjectList {
  std::vector<std::shared_ptr<MemProject>> all;
  std::unordered_multimap<std::size_t, std::size_t> byName;  // HashNoCase of the name -> place in `all`

  void Add(std::shared_ptr<MemProject> project) {
    byName.emplace(vb::HashNoCase(project->Name()), all.size());
    all.push_back(std::move(project));
  }
  std::shared_ptr<MemProject> Find(TextView name) const {
    const auto [first, last] = byName.equal_range(vb::HashNoCase(name));
    for (auto it = first; it != last; ++it)
      if (vb::EqualsNoCase(all[it->second]->Name(), name)) return all[it->second];
    return nullptr;
  }
};

class MemProjects : public host::VBProjects {
 public:
  explicit MemProjects(std::shared_ptr<const ProjectList> projects) : projects_(std::move(projects)) {}
  long Count() override { return static_cast<long>(projects_->all.size()); }
  Ref<host::VBProject> Item(long index) override {
    if (index < 1 || index > Count()) RaiseSubscript();
    return projects_->all[static_cast<std::size_t>(index - 1)];
  }
  Ref<host::VBProject> Item(TextView name) override {
    if (auto project = projects_->Find(name)) return project;
    RaiseSubscript();
  }

 private:
  std::shared_ptr<const ProjectList> projects_;
};

class MemCodePanes : public host::CodePanes {
 public:
  explicit MemCodePanes(std::shared_ptr<HostState> state) : state_(std::move(state)) {}
  long Count() override { return static_cast<long>(Open().size()); }
  Ref<host::CodePane> Item(long index) override {
    auto open = Open();
    if (index < 1 || index > static_cast<long>(open.size())) RaiseSubscript();
    return open[static_cast<std::size_t>(index - 1)];
  }

 private:
  std::vector<std::shared_ptr<MemCodePane>> Open() const {
    std::vector<std::shared_ptr<MemCodePane>> open;
    for (const auto& weak : state_->panes)
      if (auto pane = weak.lock()) open.push_back(pane);
    return open;
  }
  std::shared_ptr<HostState> state_;
};

class MemoryVBEImpl : public MemoryVBE {
 public:
  explicit MemoryVBEImpl(const std::vector<Text>& withoutBars)
      : state_(std::make_shared<HostState>()),
        projects_(std::make_shared<ProjectList>()),
        bars_(std::make_shared<MemCommandBars>(state_)),
        events_(std::make_shared<MemEvents>(state_)) {
    AddStandardBars(*bars_, withoutBars);
  }

  // ---- host::VBE ----
  Ref<host::CodePane> ActiveCodePane() override {
    state_->Check("VBE.ActiveCodePane");
    return state_->activePane.lock();
  }
  Ref<host::VBProject> ActiveVBProject() override {
    state_->Check("VBE.ActiveVBProject");
    return state_->activeProject.lock();
  }
  Ref<host::VBProjects> VBProjects() override { return std::make_shared<MemProjects>(projects_); }
  Ref<host::CodePanes> CodePanes() override { return std::make_shared<MemCodePanes>(state_); }
  Ref<host::CommandBars> CommandBars() override { return bars_; }
  Ref<host::Events> Events() override { return events_; }

  // ---- code ----
  Text Code(TextView component) override { return ModuleOf(component)->Code(); }
  void SetCode(TextView component, TextView code) override { ModuleOf(component)->SetCode(code); }
  void SetActivePane(TextView component, host::Selection selection) override {
    auto c = Resolve(component);
    if (!c->module()) vb::Raise(vb::err::kInvalidProcedureCall, c->Name() + u" has no code module");
    auto pane = c->module()->OpenPane();
    pane->Select(selection);
    state_->activePane = pane;
    state_->activeProject = c->project();
  }
  void ClearActivePane() override { state_->activePane.reset(); }
  void SetActiveProject(TextView project) override { state_->activeProject = FindProject(project); }
  Ref<host::VBComponent> Component(TextView component) override { return Resolve(component); }
  void AddProject(TextView name) override { AddProjectImpl(name); }
  Ref<host::VBComponent> AddComponent(TextView name, int type, std::optional<Text> code) override {
    auto project = state_->activeProject.lock();
    if (!project) vb::Raise(vb::err::kInvalidProcedureCall, u"No active project");
    auto component = project->AddComponent(name, type, code);
    if (component->module()) component->module()->OpenPane();  // as the builder does
    return component;
  }
  Ref<host::VBComponent> AddComponent(TextView name, int type, LineStore code) override {
    auto component = std::dynamic_pointer_cast<MemComponent>(AddComponent(name, type, std::nullopt));
    component->CreateModule(std::move(code));
    component->module()->OpenPane();
    return component;
  }
  void SetReadOnly(TextView component, bool readOnly) override { ModuleOf(component)->SetReadOnly(readOnly); }
  void InjectFailure(const std::string& operation, int nth, int number, Text description) override {
    state_->failures.Add(operation, nth, number, std::move(description));
  }

  // ---- command bars ----
  std::vector<Text> Captions(TextView barPath) override {
    auto controls = ControlsAt(barPath);
    if (!controls) RaiseNotFound(u"Command bar", barPath);
    std::vector<Text> captions;
    for (const auto& c : controls->items()) captions.push_back(c->Caption());
    return captions;
  }
  Ref<host::CommandBarControl> FindControl(TextView barPath, TextView caption) override {
    auto controls = ControlsAt(barPath);
    return controls ? controls->Find(caption) : nullptr;
  }
  void Click(TextView barPath, TextView caption) override {
    auto control = FindControl(barPath, caption);
    if (!control) RaiseNotFound(u"Menu entry", Text(barPath) + u"/" + Text(caption));
    ClickControl(control);
  }
  void ClickControl(const Ref<host::CommandBarControl>& control) override {
    if (!control) RaiseObjectNotSet();
    // A deleted entry is gone from the menus: nobody can click it.
    if (auto own = std::dynamic_pointer_cast<MemBarControl>(control); own && own->deleted())
      vb::Raise(vb::err::kInvalidProcedureCall, u"The menu entry was deleted");
    state_->RaiseClick(control);
  }
  int ClickSinkCount() override { return state_->ClickSinkCount(); }
  void RemoveBar(TextView barName) override { bars_->RemoveBar(barName); }

  // ---- designers ----
  Ref<host::VBControl> PlaceControl(TextView form, TextView className) override {
    auto control = DesignerOf(form)->CreateControl(className, {});
    state_->RaiseDesignerEvent(HostState::DesignerEvent::Added, control);
    return control;
  }
  void RenameControl(TextView form, TextView oldName, TextView newName, int index) override {
    auto control = ControlOf(form, oldName, index);
    control->Write(*control->FindSlot(u"Name"), vb::Variant(Text(newName)), false);
  }
  void DeleteControl(TextView form, TextView name, int index) override {
    auto designer = DesignerOf(form);
    // A container goes with everything inside it. Each control goes right after its event, so
    // the event of an array's element sees which elements are still on the form; the add-ins
    // still read the control's properties while it is being removed.
    for (const auto& control : designer->WithContents(ControlOf(form, name, index))) {
      state_->RaiseDesignerEvent(HostState::DesignerEvent::Removed, control);
      designer->Remove(control);
    }
  }
  Ref<host::VBControl> FindDesignerControl(TextView form, TextView name, int index) override {
    return DesignerOf(form)->Find(name, index);
  }
  std::vector<Text> ControlNames(TextView form) override {
    std::vector<Text> names;
    for (const auto& c : DesignerOf(form)->controls()) names.push_back(c->Name());
    return names;
  }
  std::vector<PropertyWrite> Writes(TextView form) override { return DesignerOf(form)->writes(); }
  void ClearWrites() override {
    for (const auto& p : projects_->all)
      for (const auto& c : p->components())
        if (c->designer()) c->designer()->writes().clear();
  }

  // ---- loading from files ----
  const LineStore& ModuleLines(TextView component) override { return ModuleOf(component)->lines(); }
  LineStore CodeSnapshot(TextView component) override {
    auto module = Resolve(component)->module();
    return module ? module->lines().Copy() : LineStore();
  }
  std::vector<Text> CodeLines(TextView component) override {
    const LineStore& lines = ModuleOf(component)->lines();
    std::vector<Text> copy;
    copy.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) lines.AppendLine(i, copy.emplace_back());
    return copy;
  }
  Ref<host::VBControl> LoadControl(TextView form, const PlacedControl& placedControl, std::vector<Text>* skipped) override {
    auto designer = DesignerOf(form);
    auto control = MemControl::Create(designer, placedControl.className);
    const bool later = static_cast<bool>(placedControl.readLater);
    auto now = [&](const Text& property) {
      if (!later) return true;
      const auto at = control->DefIndex(property);
      return at && control->defs()[*at].kind == PropKind::Index;
    };
    // The name, and at most one slot a property that is no font member.
    control->ReserveSlots(1 + static_cast<std::size_t>(std::count_if(
                                  placedControl.properties.begin(), placedControl.properties.end(),
                                  [&](const auto& p) { return now(p.first) && !vb::StartsWith(p.first, u"Font."); })));
    control->FindSlot(u"Name")->value = CoerceProperty(*control->FindSlot(u"Name")->def, vb::Variant(placedControl.name));
    if (!placedControl.container.empty()) control->container = designer->Container(placedControl.container);
    designer->Adopt(control);
    for (const auto& [property, value] : placedControl.properties)
      if (now(property) && !control->LoadValue(property, value) && skipped) skipped->push_back(property);
    if (later) control->LoadLater(placedControl.readLater);
    return control;
  }
  void SetDesignerLoader(TextView form, std::function<void()> loader) override {
    DesignerOf(form)->SetLoader(std::move(loader));
  }
  std::uint64_t CodeEdits(TextView component) override { return ModuleOf(component)->edits(); }
  std::vector<std::pair<Text, vb::Variant>> ControlChanges(const Ref<host::VBControl>& control) override {
    auto* mem = dynamic_cast<MemControl*>(control.get());
    if (!mem) RaiseObjectNotSet();
    return mem->changes();
  }
  void ForgetControlChanges(const Ref<host::VBControl>& control) override {
    if (auto* mem = dynamic_cast<MemControl*>(control.get())) mem->ForgetChanges();
  }
  Text ContainerOf(const Ref<host::VBControl>& control) override {
    auto* mem = dynamic_cast<MemControl*>(control.get());
    if (!mem) RaiseObjectNotSet();
    auto container = mem->container.lock();
    return container ? container->Name() : Text();
  }

  std::shared_ptr<MemProject> AddProjectImpl(TextView name) {
    if (projects_->Find(name)) vb::Raise(vb::err::kInvalidProcedureCall, u"Project already open: " + Text(name));
    auto project = std::make_shared<MemProject>(state_, Text(name));
    projects_->Add(project);
    if (!state_->activeProject.lock()) state_->activeProject = project;
    return project;
  }

 private:
  std::shared_ptr<MemProject> FindProject(TextView name) const {
    if (auto project = projects_->Find(name)) return project;
    RaiseNotFound(u"Project", name);
  }

  // "Component" in the active project, or "Project.Component". A component's name never holds a
  // dot; a project's may (a folder loaded as one: "Inventory.old").
  std::shared_ptr<MemComponent> Resolve(TextView name) const {
    std::shared_ptr<MemComponent> found;
    auto dot = name.rfind(u'.');
    if (dot != TextView::npos) {
      found = FindProject(name.substr(0, dot))->Find(name.substr(dot + 1));
    } else if (auto project = state_->activeProject.lock()) {
      found = project->Find(name);
    }
    if (!found) RaiseNotFound(u"Component", name);
    return found;
  }
  std::shared_ptr<MemCodeModule> ModuleOf(TextView component) const {
    auto c = Resolve(component);
    if (!c->module()) vb::Raise(vb::err::kInvalidProcedureCall, c->Name() + u" has no code module");
    return c->module();
  }
  std::shared_ptr<MemForm> DesignerOf(TextView component) const {
    auto c = Resolve(component);
    if (!c->designer()) vb::Raise(vb::err::kInvalidProcedureCall, c->Name() + u" has no designer");
    return c->designer();
  }
  std::shared_ptr<MemControl> ControlOf(TextView form, TextView name, int index) const {
    auto control = DesignerOf(form)->Find(name, index);
    if (!control) RaiseNotFound(u"Control", name);
    return control;
  }

  // The controls of a bar ("Code Window") or of a popup on it ("Code Window/&Retrieve Code").
  // Captions may hold "/" themselves, so each step takes the popup whose caption fits.
  std::shared_ptr<MemBarControls> ControlsAt(TextView path) const {
    auto slash = path.find(u'/');
    auto bar = bars_->Find(path.substr(0, slash));
    if (!bar) return nullptr;
    std::shared_ptr<MemBarControls> controls = bar->controls();
    TextView rest = slash == TextView::npos ? TextView() : path.substr(slash + 1);
    while (!rest.empty()) {
      std::shared_ptr<MemBarControl> next;
      for (const auto& c : controls->items()) {
        const Text caption = c->Caption();
        if (c->children() && (rest == caption || (vb::StartsWith(rest, caption) && rest.size() > caption.size() &&
                                                  rest[caption.size()] == u'/'))) {
          next = c;
          break;
        }
      }
      if (!next) return nullptr;
      const std::size_t used = next->Caption().size();
      rest = rest.size() > used ? rest.substr(used + 1) : TextView();
      controls = next->children();
    }
    return controls;
  }

  std::shared_ptr<HostState> state_;
  std::shared_ptr<ProjectList> projects_;
  std::shared_ptr<MemCommandBars> bars_;
  std::shared_ptr<MemEvents> events_;
};

}  // namespace

std::shared_ptr<MemoryVBE> CreateMemoryVBE(const std::vector<Text>& withoutBars) {
  return std::make_shared<MemoryVBEImpl>(withoutBars);
}

std::shared_ptr<MemProject> AddProjectTo(MemoryVBE& vbe, TextView name) {
  return static_cast<MemoryVBEImpl&>(vbe).AddProjectImpl(name);
}

}  // namespace memhost::detail
