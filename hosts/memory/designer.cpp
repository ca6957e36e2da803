// Form designers: controls with typed properties and font objects. Writes are checked as the
// property sheet checks them, recorded for tests, and raise the designer's rename event.
#include <algorithm>
#include <unordered_set>
#include <utility>

#include "hosts/memory/memory_objects.h"

namespace memhost::detail {

[[noreturn]] static void RaiseInvalidValue() { vb::Raise(vb::err::kInvalidPropertyValue, u"Invalid property value"); }

// ---- font ------------------------------------------------------------------------------------

class MemStdFont : public host::StdFont {
 public:
  explicit MemStdFont(std::weak_ptr<MemControl> control) : control_(std::move(control)) {}
  Text Name() override { return name_; }
  void SetName(TextView name) override {
    Set("Name", vb::Variant(Text(name)), !name.empty(), [&] { name_ = Text(name); });
  }
  bool Bold() override { return bold_; }
  void SetBold(bool value) override { Set("Bold", vb::Variant(value), true, [&] { bold_ = value; }); }
  bool Italic() override { return italic_; }
  void SetItalic(bool value) override { Set("Italic", vb::Variant(value), true, [&] { italic_ = value; }); }
  double Size() override { return size_; }
  void SetSize(double points) override {
    Set("Size", vb::Variant(points), points > 0 && points <= 2160, [&] { size_ = points; });
  }
  bool Strikethrough() override { return strikethrough_; }
  void SetStrikethrough(bool value) override {
    Set("Strikethrough", vb::Variant(value), true, [&] { strikethrough_ = value; });
  }
  bool Underline() override { return underline_; }
  void SetUnderline(bool value) override { Set("Underline", vb::Variant(value), true, [&] { underline_ = value; }); }

  // A member read from a designer file: checked as a write is, never recorded.
  bool Load(TextView member, const vb::Variant& value) {
    try {
      if (member == u"Name") {
        Text name = vb::CStr(value);
        if (name.empty()) return false;
        name_ = std::move(name);
      } else if (member == u"Size") {
        double points = vb::CDbl(value);
        if (!(points > 0 && points <= 2160)) return false;
        size_ = points;
      } else if (member == u"Bold") {
        bold_ = vb::CBool(value);
      } else if (member == u"Italic") {
        italic_ = vb::CBool(value);
      } else if (member == u"Underline") {
        underline_ = vb::CBool(value);
      } else if (member == u"Strikethrough") {
        strikethrough_ = vb::CBool(value);
      } else {
        return false;
      }
    } catch (const vb::Error&) {
      return false;
    }
    return true;
  }

  // The value of a member by its name ("Size").
  vb::Variant Member(TextView member) const {
    if (member == u"Name") return vb::Variant(name_);
    if (member == u"Size") return vb::Variant(size_);
    if (member == u"Bold") return vb::Variant(bold_);
    if (member == u"Italic") return vb::Variant(italic_);
    if (member == u"Underline") return vb::Variant(underline_);
    return vb::Variant(strikethrough_);
  }
  static constexpr TextView kMembers[] = {u"Name", u"Size", u"Bold", u"Italic", u"Underline", u"Strikethrough"};

  // Takes over another font's attributes (a font object assigned to the Font property).
  void CopyFrom(host::StdFont& other) {
    if (auto control = control_.lock())
      for (TextView member : kMembers) control->Remember(u"Font." + Text(member), Member(member));
    name_ = other.Name();
    size_ = other.Size();
    bold_ = other.Bold();
    italic_ = other.Italic();
    strikethrough_ = other.Strikethrough();
    underline_ = other.Underline();
  }

 private:
  template <class Apply>
  void Set(const char* member, const vb::Variant& value, bool valid, Apply apply) {
    auto control = control_.lock();
    auto form = control ? control->form() : nullptr;
    Text property = u"Font." + vb::FromUtf8(member);
    try {
      if (form) form->state()->Check("StdFont." + std::string(member));
      if (!valid) RaiseInvalidValue();
    } catch (const vb::Error&) {
      if (control) control->RecordWrite(control->Name(), property, value, false);
      throw;
    }
    if (control) control->Remember(property, Member(vb::FromUtf8(member)));
    apply();
    if (control) control->RecordWrite(control->Name(), property, value, true);
  }

  std::weak_ptr<MemControl> control_;
  Text name_ = u"MS Sans Serif";
  double size_ = 8.25;
  bool bold_ = false, italic_ = false, strikethrough_ = false, underline_ = false;
};

class MemControls : public host::VBControls {
 public:
  explicit MemControls(std::weak_ptr<MemForm> form) : form_(std::move(form)) {}
  Ref<host::VBForm> Parent() override { return form_.lock(); }
  long Count() override {
    auto form = form_.lock();
    return form ? static_cast<long>(form->controls().size()) : 0;
  }
  Ref<host::VBControl> Item(long index) override {
    auto form = form_.lock();
    if (!form || index < 1 || index > static_cast<long>(form->controls().size())) RaiseSubscript();
    return form->controls()[static_cast<std::size_t>(index - 1)];
  }

 private:
  std::weak_ptr<MemForm> form_;
};

namespace {


class MemProperty : public host::Property {
 public:
  MemProperty(std::shared_ptr<MemControl> control, std::size_t at) : control_(std::move(control)), at_(at) {}
  Text Name() override { return def().name; }
  vb::Variant Value() override {
    if (def().kind == PropKind::Font) return vb::Variant(std::shared_ptr<host::StdFont>(control_->font()));
    return control_->ValueAt(at_);
  }
  void SetValue(const vb::Variant& value) override {
    auto form = control_->form();
    if (form) {
      try {
        form->state()->Check("Property.Value");
      } catch (const vb::Error&) {
        control_->RecordWrite(control_->Name(), def().name, value, false);
        throw;
      }
    }
    control_->Write(control_->SlotAt(at_), value, true);
  }
  Ref<host::StdFont> Object() override {
    if (def().kind != PropKind::Font) return nullptr;
    return control_->font();
  }

 private:
  const PropertyDef& def() const { return control_->defs()[at_]; }
  std::shared_ptr<MemControl> control_;
  std::size_t at_;
};

class MemProperties : public host::Properties {
 public:
  explicit MemProperties(std::shared_ptr<MemControl> control) : control_(std::move(control)) {}
  long Count() override { return static_cast<long>(control_->defs().size()); }
  Ref<host::Property> Item(long index) override {
    if (index < 1 || index > Count()) RaiseSubscript();
    return std::make_shared<MemProperty>(control_, static_cast<std::size_t>(index - 1));
  }
  Ref<host::Property> Item(TextView name) override {
    if (auto at = control_->DefIndex(name)) return std::make_shared<MemProperty>(control_, *at);
    RaiseSubscript();
  }

 private:
  std::shared_ptr<MemControl> control_;
};

}  // namespace

// ---- control ---------------------------------------------------------------------------------

MemControl::MemControl(std::weak_ptr<MemForm> form, TextView className)
    : form_(std::move(form)), class_(FindControlClass(className)) {
  if (!class_) otherClass_ = std::make_unique<const Text>(className);
  defs_ = class_ ? &class_->properties : &CommonProperties();
}

std::shared_ptr<MemControl> MemControl::Create(std::weak_ptr<MemForm> form, TextView className) {
  return std::make_shared<MemControl>(std::move(form), className);
}

std::shared_ptr<MemStdFont> MemControl::font() {
  LoadLaterValues();
  auto isFont = [](const PropertyDef& def) { return def.kind == PropKind::Font; };
  if (!font_ && std::any_of(defs_->begin(), defs_->end(), isFont))
    font_ = std::make_shared<MemStdFont>(weak_from_this());
  return font_;
}

Ref<host::VBControls> MemControl::Collection() {
  auto form = form_.lock();
  return form ? form->VBControls() : nullptr;
}

Ref<host::Properties> MemControl::Properties() { return std::make_shared<MemProperties>(shared_from_this()); }

std::optional<std::size_t> MemControl::DefIndex(TextView property) const {
  for (std::size_t at = 0; at < defs_->size(); ++at)
    if (vb::EqualsNoCase((*defs_)[at].name, property)) return at;
  return std::nullopt;
}

// The name and the index are loaded with the control; see LoadLater.
static bool LoadedAtOnce(const PropertyDef& def) { return def.kind == PropKind::Name || def.kind == PropKind::Index; }

void MemControl::LoadLaterValues() const {
  if (!later_) return;
  // Loaded on first use, by the readers too: no control is const, only the paths to it.
  auto* self = const_cast<MemControl*>(this);
  const PropertyValues values = std::exchange(self->later_, nullptr)();
  auto own = [&](const Text& property) {
    const auto at = DefIndex(property);
    return !at || !LoadedAtOnce((*defs_)[*at]);
  };
  std::size_t slots = slots_.size();  // at most one a value that is no font member
  for (const auto& [property, value] : values) slots += own(property) && !vb::StartsWith(property, u"Font.");
  self->slots_.reserve(slots);
  for (const auto& [property, value] : values)
    if (own(property)) self->LoadValue(property, value);
}

// Slots are in the order of their properties in the class's table.
static bool SlotBefore(const MemControl::Slot& slot, const PropertyDef* def) { return slot.def < def; }

const MemControl::Slot* MemControl::Stored(std::size_t at) const {
  if (!LoadedAtOnce((*defs_)[at])) LoadLaterValues();
  const PropertyDef* def = &(*defs_)[at];
  auto found = std::lower_bound(slots_.begin(), slots_.end(), def, SlotBefore);
  return found != slots_.end() && found->def == def ? &*found : nullptr;
}

MemControl::Slot& MemControl::SlotAt(std::size_t at) {
  if (!LoadedAtOnce((*defs_)[at])) LoadLaterValues();
  const PropertyDef* def = &(*defs_)[at];
  auto found = std::lower_bound(slots_.begin(), slots_.end(), def, SlotBefore);
  if (found != slots_.end() && found->def == def) return *found;
  return *slots_.insert(found, Slot{def, def->defaultValue});
}

MemControl::Slot* MemControl::FindSlot(TextView property) {
  auto at = DefIndex(property);
  return at ? &SlotAt(*at) : nullptr;
}

const vb::Variant& MemControl::ValueAt(std::size_t at) const {
  const Slot* slot = Stored(at);
  return slot ? slot->value : (*defs_)[at].defaultValue;
}

Text MemControl::Name() const {
  for (std::size_t at = 0; at < defs_->size(); ++at)
    if ((*defs_)[at].kind == PropKind::Name) return vb::CStr(ValueAt(at));
  return {};
}

int MemControl::Index() const {
  for (std::size_t at = 0; at < defs_->size(); ++at)
    if ((*defs_)[at].kind == PropKind::Index) return std::get<std::int16_t>(ValueAt(at).value());
  return -1;
}

void MemControl::Remember(TextView property, const vb::Variant& before) {
  for (const auto& [name, value] : changes_)
    if (name == property) return;
  changes_.emplace_back(Text(property), before);
}

void MemControl::RecordWrite(TextView control, TextView property, const vb::Variant& value, bool accepted) {
  if (auto form = form_.lock()) form->writes().push_back(PropertyWrite{Text(control), Text(property), value, accepted});
}

void MemControl::Write(Slot& slot, const vb::Variant& value, bool record) {
  const Text nameBefore = Name();
  const int indexBefore = Index();
  auto form = form_.lock();
  try {
    vb::Variant stored = CoerceProperty(*slot.def, value);
    if (slot.def->kind == PropKind::Name && form) {
      // A second control of the same name is only allowed as another element of an array.
      const Text& name = std::get<Text>(stored.value());
      if (indexBefore >= 0) {
        if (form->Holder(name, -1, this) || form->Holder(name, indexBefore, this)) RaiseInvalidValue();
      } else {
        for (const auto& other : form->controls())
          if (other.get() != this && vb::EqualsNoCase(other->Name(), name)) RaiseInvalidValue();
      }
    } else if (slot.def->kind == PropKind::Index && form) {
      if (form->Holder(nameBefore, std::get<std::int16_t>(stored.value()), this)) RaiseInvalidValue();
    }
    if (slot.def->kind == PropKind::Font) {
      auto font = std::get<std::shared_ptr<host::StdFont>>(stored.value());
      if (auto own = this->font(); font.get() != own.get()) own->CopyFrom(*font);
    } else {
      Remember(slot.def->name, slot.value);
      slot.value = std::move(stored);
      if ((slot.def->kind == PropKind::Name || slot.def->kind == PropKind::Index) && form)
        form->Rekey(*this, nameBefore, indexBefore);
    }
  } catch (const vb::Error&) {
    if (record) RecordWrite(nameBefore, slot.def->name, value, false);
    throw;
  }
  if (record) RecordWrite(nameBefore, slot.def->name, value, true);
  if (slot.def->kind == PropKind::Name && form)
    form->state()->RaiseDesignerEvent(HostState::DesignerEvent::Renamed, shared_from_this(), nameBefore, indexBefore);
}

bool MemControl::LoadValue(TextView property, const vb::Variant& value) {
  if (vb::StartsWith(property, u"Font.")) {
    auto own = font();
    return own && own->Load(property.substr(5), value);
  }
  const auto at = DefIndex(property);
  if (!at) return false;
  const PropertyDef& def = (*defs_)[*at];
  if (def.kind == PropKind::Name || def.kind == PropKind::Font) return false;
  vb::Variant stored;
  try {
    stored = CoerceProperty(def, value);
  } catch (const vb::Error&) {
    return false;
  }
  auto form = form_.lock();
  if (def.kind == PropKind::Index && form) {
    // Two elements of one array cannot share an index.
    if (form->Holder(Name(), std::get<std::int16_t>(stored.value()), this)) return false;
  }
  // A value that is the default takes no slot.
  if (stored == def.defaultValue && !Stored(*at)) return true;
  const int indexBefore = Index();
  SlotAt(*at).value = std::move(stored);
  if (def.kind == PropKind::Index && form) form->Rekey(*this, Name(), indexBefore);
  return true;
}

// ---- form ------------------------------------------------------------------------------------

Ref<host::VBControls> MemForm::VBControls() {
  if (!collection_) collection_ = std::make_shared<MemControls>(weak_from_this());
  return collection_;
}

Text MemForm::DefaultName(TextView className) const {
  Load();
  const ControlClassDef* def = FindControlClass(className);
  Text stem = def ? def->defaultStem : Text(className);
  // The numbers the stem already has, found in one pass over the controls.
  std::vector<bool> taken(controls_.size() + 2, false);
  for (const auto& c : controls_) {
    const Text name = c->Name();
    if (name.size() <= stem.size() || !vb::EqualsNoCase(TextView(name).substr(0, stem.size()), stem)) continue;
    std::size_t n = 0;
    bool digits = name[stem.size()] != u'0';
    for (std::size_t i = stem.size(); i < name.size() && digits && n < taken.size(); ++i) {
      digits = name[i] >= u'0' && name[i] <= u'9';
      n = n * 10 + static_cast<std::size_t>(name[i] - u'0');
    }
    if (digits && n < taken.size()) taken[n] = true;
  }
  std::size_t n = 1;
  while (taken[n]) ++n;
  return stem + vb::ToText(static_cast<std::int64_t>(n));
}

std::shared_ptr<MemControl> MemForm::CreateControl(TextView className, TextView name, TextView container) {
  Load();
  auto control = MemControl::Create(weak_from_this(), className);
  Text controlName = name.empty() ? DefaultName(className) : Text(name);
  control->FindSlot(u"Name")->value = vb::Variant(controlName);
  // The IDE shows a new control's name as its caption or text.
  if (auto* caption = control->FindSlot(u"Caption"); caption && className != u"SSTab")
    caption->value = vb::Variant(controlName);
  if (auto* text = control->FindSlot(u"Text"); text && className != u"MaskEdBox")
    text->value = vb::Variant(controlName);
  if (auto* tabIndex = control->FindSlot(u"TabIndex"))
    tabIndex->value = vb::Variant(static_cast<std::int16_t>(std::min<std::size_t>(controls_.size(), 32767)));
  if (!container.empty()) control->container = Container(container);
  Place(control);
  return control;
}

// The key of a name (letter case aside) and an Index.
static std::size_t ElementKey(TextView name, int index) {
  return vb::HashNoCase(name) * 31 + static_cast<std::size_t>(index + 1);
}

void MemForm::Place(std::shared_ptr<MemControl> control) {
  if (auto container = control->container.lock()) container->holdsControls = true;
  elements_.emplace(ElementKey(control->Name(), control->Index()), control.get());
  controls_.push_back(std::move(control));
}

void MemForm::Remove(const std::shared_ptr<MemControl>& control) {
  Unkey(*control, control->Name(), control->Index());
  std::erase_if(controls_, [&](const auto& c) { return c == control; });
}

MemControl* MemForm::Holder(TextView name, int index, const MemControl* besides) const {
  Load();
  const auto [first, last] = elements_.equal_range(ElementKey(name, index));
  for (auto it = first; it != last; ++it)
    if (it->second != besides && it->second->Index() == index && vb::EqualsNoCase(it->second->Name(), name))
      return it->second;
  return nullptr;
}

void MemForm::Rekey(MemControl& control, TextView nameBefore, int indexBefore) {
  // A control removed from the form stays off it.
  if (Unkey(control, nameBefore, indexBefore))
    elements_.emplace(ElementKey(control.Name(), control.Index()), &control);
}

bool MemForm::Unkey(const MemControl& control, TextView name, int index) {
  const auto [first, last] = elements_.equal_range(ElementKey(name, index));
  for (auto it = first; it != last; ++it)
    if (it->second == &control) {
      elements_.erase(it);
      return true;
    }
  return false;
}

std::vector<std::shared_ptr<MemControl>> MemForm::WithContents(const std::shared_ptr<MemControl>& control) const {
  Load();
  // A container comes before the controls inside it, so one pass finds them all; a control that
  // never held one needs none (the elements of an array are removed one by one).
  std::vector<std::shared_ptr<MemControl>> contents{control};
  if (!control->holdsControls) return contents;
  std::unordered_set<const MemControl*> inside{control.get()};
  for (const auto& c : controls_) {
    if (!inside.count(c->container.lock().get())) continue;
    if (inside.insert(c.get()).second) contents.push_back(c);
  }
  return contents;
}

std::shared_ptr<MemControl> MemForm::Container(TextView name) const {
  Load();
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if (vb::EqualsNoCase((*it)->Name(), name)) return *it;
  vb::Raise(vb::err::kInvalidProcedureCall, u"No container named " + Text(name) + u" on the form");
}

std::shared_ptr<MemControl> MemForm::Find(TextView name, int index) const {
  Load();
  if (index >= 0) {
    MemControl* element = Holder(name, index);
    return element ? element->shared_from_this() : nullptr;
  }
  for (const auto& c : controls_)
    if (vb::EqualsNoCase(c->Name(), name) && (index < 0 || c->Index() == index)) return c;
  return nullptr;
}

}  // namespace memhost::detail
