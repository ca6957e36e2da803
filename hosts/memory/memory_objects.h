// Private to the in-memory IDE: the objects behind the host model and the state they share.
// Ownership runs downward only (VBE -> projects -> components -> modules/designers -> panes and
// controls); every pointer upward is weak, so no cycle keeps a closed IDE alive.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/host_model.h"
#include "hosts/memory/control_classes.h"
#include "hosts/memory/declaration_scanner.h"
#include "hosts/memory/line_store.h"
#include "hosts/memory/outline_tracker.h"
#include "hosts/memory/memory_host.h"

namespace memhost::detail {

class MemCodePane;
class MemCodeModule;
class MemComponent;
class MemProject;
class MemForm;
class MemControl;

// Failures that tests ask for: the nth next call of an operation raises the given error.
class FailureInjector {
 public:
  void Add(const std::string& operation, int nth, int number, Text description);
  // Counts one call of `operation`; raises when an injected failure falls due.
  void Check(std::string_view operation) {
    if (!pending_.empty()) CheckPending(operation);  // inline: every host call passes here
  }

 private:
  void CheckPending(std::string_view operation);
  struct Pending {
    std::string operation;
    int remaining;
    int number;
    Text description;
  };
  std::vector<Pending> pending_;
};

// Subscriptions point to their sources weakly (a source holds the shared state) and compare
// them by owner, so a new object at a freed address is never mistaken for an old one.
template <class T>
bool SameObject(const std::weak_ptr<T>& a, const std::shared_ptr<T>& b) {
  return !a.owner_before(b) && !b.owner_before(a);
}

struct ClickSubscription {
  std::uint64_t id;
  std::weak_ptr<host::CommandBarControl> control;
  std::shared_ptr<host::ClickSink> sink;
};

struct ControlsSubscription {
  std::uint64_t id;
  std::weak_ptr<host::VBProject> project;  // unset: every project
  bool anyProject;
  std::weak_ptr<host::VBForm> form;  // unset: every designer of the project
  bool anyForm;
  std::shared_ptr<host::ControlsSink> sink;
};

// What every object of one IDE shares: injected failures, event subscriptions, open panes.
struct HostState : std::enable_shared_from_this<HostState> {
  FailureInjector failures;
  std::vector<ClickSubscription> clickSinks;
  std::vector<ControlsSubscription> controlsSinks;
  std::uint64_t nextSubscription = 1;
  std::vector<std::weak_ptr<MemCodePane>> panes;  // in the order they were opened
  std::weak_ptr<MemCodePane> activePane;
  std::weak_ptr<MemProject> activeProject;

  void Check(std::string_view operation) { failures.Check(operation); }

  host::Connection SubscribeClick(const Ref<host::CommandBarControl>& control, host::ClickSink sink);
  host::Connection SubscribeControls(const Ref<host::VBProject>& project, const Ref<host::VBForm>& form,
                                     host::ControlsSink sink);
  void RaiseClick(const std::shared_ptr<host::CommandBarControl>& control);
  int ClickSinkCount() const { return static_cast<int>(clickSinks.size()); }

  enum class DesignerEvent { Added, Removed, Renamed };
  void RaiseDesignerEvent(DesignerEvent event, const std::shared_ptr<MemControl>& control, const Text& oldName = {},
                          int oldIndex = -1);
};

[[noreturn]] void RaiseSubscript();             // 9 "Subscript out of range"
[[noreturn]] void RaiseInvalidCall();           // 5 "Invalid procedure call or argument"
[[noreturn]] void RaiseObjectNotSet();          // 91 "Object variable or With block variable not set"

// ---- projects and components ----------------------------------------------------------------

class MemComponent : public host::VBComponent, public std::enable_shared_from_this<MemComponent> {
 public:
  MemComponent(std::shared_ptr<HostState> state, std::weak_ptr<MemProject> project, Text name, int type);
  Text Name() override { return name_; }
  host::ComponentType Type() override { return static_cast<host::ComponentType>(type_); }
  Ref<host::CodeModule> CodeModule() override;
  Ref<host::VBForm> Designer() override;

  void CreateModule(TextView code);
  void CreateModule(LineStore code);
  void CreateDesigner();
  const std::shared_ptr<MemCodeModule>& module() const { return module_; }
  const std::shared_ptr<MemForm>& designer() const { return designer_; }
  std::shared_ptr<MemProject> project() const { return project_.lock(); }

 private:
  std::shared_ptr<HostState> state_;
  std::weak_ptr<MemProject> project_;
  Text name_;
  int type_;
  std::shared_ptr<MemCodeModule> module_;
  std::shared_ptr<MemForm> designer_;
};

class MemProject : public host::VBProject, public std::enable_shared_from_this<MemProject> {
 public:
  MemProject(std::shared_ptr<HostState> state, Text name) : state_(std::move(state)), name_(std::move(name)) {}
  Text Name() override { return name_; }
  Ref<host::VBComponents> VBComponents() override;

  std::shared_ptr<MemComponent> AddComponent(TextView name, int type, const std::optional<Text>& code);
  std::shared_ptr<MemComponent> Find(TextView name) const;
  const std::vector<std::shared_ptr<MemComponent>>& components() const { return components_; }

 private:
  std::shared_ptr<HostState> state_;
  Text name_;
  std::vector<std::shared_ptr<MemComponent>> components_;
  std::unordered_map<Text, std::shared_ptr<MemComponent>> byName_;  // by the name in upper case
};

// ---- code ------------------------------------------------------------------------------------

class MemCodeModule : public host::CodeModule, public std::enable_shared_from_this<MemCodeModule> {
 public:
  MemCodeModule(std::shared_ptr<HostState> state, std::weak_ptr<MemComponent> component, LineStore lines);

  Ref<host::VBComponent> Parent() override { return component_.lock(); }
  long CountOfLines() override;
  long CountOfDeclarationLines() override;
  Text Lines(long startLine, long count) override;
  void Lines(long startLine, long count, Text& into) override;
  void InsertLines(long line, TextView text) override;
  void ReplaceLine(long line, TextView text) override;
  void DeleteLines(long startLine, long count = 1) override;
  using host::CodeModule::AddFromString;
  void AddFromString(TextView text) override;
  Ref<host::Members> Members() override;
  Ref<host::CodePane> CodePane() override;

  // Test access: no failure injection, no read-only check.
  Text Code() const { return lines_.Join(0, lines_.size()); }
  void SetCode(TextView code);
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  std::shared_ptr<MemCodePane> OpenPane();
  const LineStore& lines() const { return lines_; }
  std::uint64_t edits() const { return edits_; }
  // The outline of the current code, brought up to date after edits.
  const ModuleOutline& outline() { return outline_.Outline(lines_); }
  std::size_t MemberCount() { return outline_.Members(lines_).size(); }
  MemberInfo MemberAt(std::size_t index) {  // 0-based
    const ModuleOutline& current = outline();
    return MemberOf(current, current.declarations[outline_.Members(lines_)[index]]);
  }
  // The member of that name (letter case ignored), if any.
  std::optional<MemberInfo> FindMember(TextView name);

 private:
  void CheckEdit(std::string_view operation);
  // Replaces `count` lines from `at` (0-based) by `lines`.
  void Edit(std::size_t at, std::size_t count, const std::vector<TextView>& lines);
  // `count` lines from `at` replaced by the lines of `text`; an empty text is one empty line.
  void EditByText(std::size_t at, std::size_t count, TextView text);
  void AddFromStringTaking(Text&& text) override;
  // Where AddFromString puts its text (0-based).
  std::size_t AddFromStringLine();

  std::shared_ptr<HostState> state_;
  std::weak_ptr<MemComponent> component_;
  LineStore lines_;
  std::uint64_t edits_ = 0;
  bool readOnly_ = false;
  OutlineTracker outline_;
  std::shared_ptr<MemCodePane> pane_;
};

class MemCodePane : public host::CodePane {
 public:
  MemCodePane(std::shared_ptr<HostState> state, std::weak_ptr<MemCodeModule> module)
      : state_(std::move(state)), module_(std::move(module)) {}
  Ref<host::CodeModule> CodeModule() override { return module_.lock(); }
  using host::CodePane::GetSelection;
  void GetSelection(long& startLine, long& startColumn, long& endLine, long& endColumn) override;
  void SetSelection(long startLine, long startColumn, long endLine, long endColumn) override;
  long TopLine() override;
  void SetTopLine(long line) override;

  // Test access, without checks.
  void Select(const host::Selection& selection) { selection_ = selection; }
  const host::Selection& selection() const { return selection_; }

 private:
  long LastLine();
  std::shared_ptr<HostState> state_;
  std::weak_ptr<MemCodeModule> module_;
  host::Selection selection_;
  long topLine_ = 1;
};

// ---- designers -------------------------------------------------------------------------------

class MemStdFont;
class MemControls;

class MemForm : public host::VBForm, public std::enable_shared_from_this<MemForm> {
 public:
  MemForm(std::shared_ptr<HostState> state, std::weak_ptr<MemComponent> component)
      : state_(std::move(state)), component_(std::move(component)) {}
  Ref<host::VBComponent> Parent() override { return component_.lock(); }
  Ref<host::VBControls> VBControls() override;

  std::shared_ptr<MemComponent> component() const { return component_.lock(); }
  // Adds a control named `name` (a default name when empty) without raising any event.
  // `container` names a control placed before (the last of that name, as a designer file nests
  // the controls of each element of a frame array in that element's block).
  std::shared_ptr<MemControl> CreateControl(TextView className, TextView name, TextView container = {});
  void Remove(const std::shared_ptr<MemControl>& control);
  // The control and every control inside it, in designer order.
  std::vector<std::shared_ptr<MemControl>> WithContents(const std::shared_ptr<MemControl>& control) const;
  // The last control of that name placed so far; raises 5 when there is none.
  std::shared_ptr<MemControl> Container(TextView name) const;
  // Adds a control made elsewhere (a designer being loaded) at the end, without any event.
  void Adopt(std::shared_ptr<MemControl> control) {
    Load();
    Place(std::move(control));
  }
  std::shared_ptr<MemControl> Find(TextView name, int index = -1) const;
  // A control other than `besides` named `name` (letter case aside) with that Index (-1: no array
  // element). Looked up, not searched: a form may hold an array of thousands of elements.
  MemControl* Holder(TextView name, int index, const MemControl* besides = nullptr) const;
  // Keeps that lookup in step with a control whose name or Index changed.
  void Rekey(MemControl& control, TextView nameBefore, int indexBefore);
  Text DefaultName(TextView className) const;
  const std::vector<std::shared_ptr<MemControl>>& controls() const {
    Load();
    return controls_;
  }
  // Runs once, the first time anything asks for the controls: a designer read from a file is
  // parsed only when a command looks at its controls.
  void SetLoader(std::function<void()> loader) { loader_ = std::move(loader); }
  std::vector<PropertyWrite>& writes() { return writes_; }
  const std::shared_ptr<HostState>& state() const { return state_; }

 private:
  std::shared_ptr<HostState> state_;
  std::weak_ptr<MemComponent> component_;
  void Load() const {
    if (!loader_) return;
    auto load = std::move(loader_);
    loader_ = nullptr;
    load();
  }

  void Place(std::shared_ptr<MemControl> control);
  bool Unkey(const MemControl& control, TextView name, int index);  // false when it is not on the form

  std::vector<std::shared_ptr<MemControl>> controls_;
  std::unordered_multimap<std::size_t, MemControl*> elements_;  // of the name and Index -> control
  std::vector<PropertyWrite> writes_;
  std::shared_ptr<MemControls> collection_;
  mutable std::function<void()> loader_;
};

class MemControl : public host::VBControl, public std::enable_shared_from_this<MemControl> {
 public:
  // A control of `className` with the class's default property values.
  static std::shared_ptr<MemControl> Create(std::weak_ptr<MemForm> form, TextView className);
  MemControl(std::weak_ptr<MemForm> form, TextView className);
  Text ClassName() override { return class_ ? class_->className : *otherClass_; }
  Ref<host::VBControls> Collection() override;
  Ref<host::Properties> Properties() override;

  // A property's stored value. Only the properties set since the control was made have a slot;
  // every other one reads as its class's default (a form holds thousands of controls, each with a
  // few properties of its own among thirty).
  struct Slot {
    const PropertyDef* def;
    vb::Variant value;
  };
  // The object of the class's Font property (a class has one at most; nullptr when it has none),
  // made when first asked for: what a caller holds of it stays the control's.
  std::shared_ptr<MemStdFont> font();
  // Room for `count` slots, when it is known how many properties a control is loaded with.
  void ReserveSlots(std::size_t count) { slots_.reserve(count); }
  Text Name() const;
  int Index() const;  // -1 when the control is no array element
  // The properties of the control's class, in the order the property sheet lists them.
  const std::vector<PropertyDef>& defs() const { return *defs_; }
  // Where `property` stands in defs(); nullopt when the class has no such property.
  std::optional<std::size_t> DefIndex(TextView property) const;
  // The slot of defs()[at], made with the default value when the property has none yet. A slot
  // stays valid until another one is made.
  Slot& SlotAt(std::size_t at);
  // SlotAt of the property of that name; nullptr when the class has no such property.
  Slot* FindSlot(TextView property);
  const vb::Variant& ValueAt(std::size_t at) const;
  std::shared_ptr<MemForm> form() const { return form_.lock(); }
  std::weak_ptr<MemControl> container;  // the frame or picture box it sits in; unset: the form
  bool holdsControls = false;           // a control was placed in it (and may be there still)

  // Checks and stores a value, as the property sheet does; raises 380/13 on rejection and
  // ItemRenamed after an accepted Name. `record` adds the attempt to the form's writes.
  void Write(Slot& slot, const vb::Variant& value, bool record);
  void RecordWrite(TextView control, TextView property, const vb::Variant& value, bool accepted);
  // Notes the value a property had before a write, unless one was noted since ForgetChanges.
  void Remember(TextView property, const vb::Variant& before);
  const std::vector<std::pair<Text, vb::Variant>>& changes() const { return changes_; }
  void ForgetChanges() { changes_.clear(); }
  // Stores a value read from a designer file: checked like a write, but no event and no record.
  // Font members are "Font.Name", "Font.Size", ... False when the property is unknown or rejected.
  bool LoadValue(TextView property, const vb::Variant& value);
  // Values to load (LoadValue, all but the name and the index) only when a property other than
  // those is first read or written.
  void LoadLater(std::function<PropertyValues()> values) { later_ = std::move(values); }

 private:
  const Slot* Stored(std::size_t at) const;
  void LoadLaterValues() const;  // when LoadLater kept any

  std::weak_ptr<MemForm> form_;
  // The class in the table, whose name a form's thousands of controls share; or, for a class the
  // table does not know, its name.
  const ControlClassDef* class_;
  std::unique_ptr<const Text> otherClass_;
  const std::vector<PropertyDef>* defs_;
  std::vector<Slot> slots_;  // in the order of defs_
  std::shared_ptr<MemStdFont> font_;
  std::vector<std::pair<Text, vb::Variant>> changes_;  // see MemoryVBE::ControlChanges
  std::function<PropertyValues()> later_;  // see LoadLater
};

// ---- command bars ----------------------------------------------------------------------------

class MemBarControl;

class MemBarControls : public host::CommandBarControls, public std::enable_shared_from_this<MemBarControls> {
 public:
  explicit MemBarControls(std::shared_ptr<HostState> state) : state_(std::move(state)) {}
  long Count() override;
  Ref<host::CommandBarControl> Item(long index) override;
  Ref<host::CommandBarControl> Add(int type, long before = 0) override;

  std::shared_ptr<MemBarControl> Append(int type, TextView caption);
  void Remove(const MemBarControl* control);
  std::shared_ptr<MemBarControl> Find(TextView caption) const;
  const std::vector<std::shared_ptr<MemBarControl>>& items() const { return items_; }
  std::weak_ptr<MemBarControl> owner;  // the popup these controls belong to, if any

 private:
  void CheckOwner() const;
  std::shared_ptr<HostState> state_;
  std::vector<std::shared_ptr<MemBarControl>> items_;
};

class MemBarControl : public host::CommandBarControl, public std::enable_shared_from_this<MemBarControl> {
 public:
  MemBarControl(std::shared_ptr<HostState> state, std::weak_ptr<MemBarControls> parent, int type);
  host::ControlType Type() override;
  Text Caption() override;
  void SetCaption(TextView caption) override;
  Text Tag() override;
  void SetTag(TextView tag) override;
  void Delete() override;
  Ref<host::CommandBarControls> Controls() override;

  bool deleted() const { return deleted_; }
  void InitCaption(TextView caption) { caption_ = Text(caption); }
  const std::shared_ptr<MemBarControls>& children() const { return children_; }

 private:
  void CheckAlive(const char* operation) const;
  std::shared_ptr<HostState> state_;
  std::weak_ptr<MemBarControls> parent_;
  int type_;
  Text caption_, tag_;
  bool deleted_ = false;
  std::shared_ptr<MemBarControls> children_;  // popups only
};

class MemCommandBar : public host::CommandBar {
 public:
  MemCommandBar(std::shared_ptr<HostState> state, Text name)
      : name_(std::move(name)), controls_(std::make_shared<MemBarControls>(std::move(state))) {}
  Text Name() override { return name_; }
  Ref<host::CommandBarControls> Controls() override { return controls_; }
  const std::shared_ptr<MemBarControls>& controls() const { return controls_; }

 private:
  Text name_;
  std::shared_ptr<MemBarControls> controls_;
};

class MemCommandBars : public host::CommandBars {
 public:
  explicit MemCommandBars(std::shared_ptr<HostState> state) : state_(std::move(state)) {}
  Ref<host::CommandBar> Item(TextView name) override;

  std::shared_ptr<MemCommandBar> Find(TextView name) const;
  std::shared_ptr<MemCommandBar> AddBar(TextView name);
  void RemoveBar(TextView name);

 private:
  std::shared_ptr<HostState> state_;
  std::vector<std::shared_ptr<MemCommandBar>> bars_;
};

// The bars the IDE starts with, each with a few of the IDE's own entries.
void AddStandardBars(MemCommandBars& bars, const std::vector<Text>& without);

// ---- events ----------------------------------------------------------------------------------

class MemEvents : public host::Events {
 public:
  explicit MemEvents(std::shared_ptr<HostState> state) : state_(std::move(state)) {}
  Ref<host::CommandBarEvents> CommandBarEvents(const Ref<host::CommandBarControl>& control) override;
  Ref<host::VBControlsEvents> VBControlsEvents(const Ref<host::VBProject>& project, const Ref<host::VBForm>& form) override;

 private:
  std::shared_ptr<HostState> state_;
};

// ---- the IDE ---------------------------------------------------------------------------------

std::shared_ptr<MemoryVBE> CreateMemoryVBE(const std::vector<Text>& withoutBars);
// Builder access to the IDE's projects.
std::shared_ptr<MemProject> AddProjectTo(MemoryVBE& vbe, TextView name);

}  // namespace memhost::detail
