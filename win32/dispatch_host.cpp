#include "win32/dispatch_host.h"

#include <memory>

#include "win32/dispatch_events.h"

namespace win32 {

using host::Ref;
using vb::Text;
using vb::TextView;

namespace {

// The IDispatch that every adapter object holds.
class Held {
 public:
  explicit Held(DispatchRef object) : object_(std::move(object)) {}
  IDispatch* dispatch() const { return object_.get(); }

 protected:
  long GetLong(const wchar_t* member) { return AsLong(Get(object_, member).get()); }
  Text GetText(const wchar_t* member) { return AsText(Get(object_, member).get()); }
  bool GetBool(const wchar_t* member) { return AsBool(Get(object_, member).get()); }
  double GetDouble(const wchar_t* member) { return AsDouble(Get(object_, member).get()); }
  template <class Wrapper, class... Args>
  Ref<typename Wrapper::Interface> GetObject(const wchar_t* member, Args&&... args) {
    DispatchRef result = AsObject(Get(object_, member, std::forward<Args>(args)...).get());
    if (!result) return nullptr;
    return std::make_shared<Wrapper>(std::move(result));
  }

  DispatchRef object_;
};

template <class T>
Ref<typename T::Interface> Wrap(DispatchRef object) {
  if (!object) return nullptr;
  return std::make_shared<T>(std::move(object));
}

class DispStdFont final : public host::StdFont, public Held {
 public:
  using Interface = host::StdFont;
  using Held::Held;
  Text Name() override { return GetText(L"Name"); }
  void SetName(TextView name) override { Put(object_, L"Name", Var::Text(name)); }
  bool Bold() override { return GetBool(L"Bold"); }
  void SetBold(bool value) override { Put(object_, L"Bold", Var::Bool(value)); }
  bool Italic() override { return GetBool(L"Italic"); }
  void SetItalic(bool value) override { Put(object_, L"Italic", Var::Bool(value)); }
  double Size() override { return GetDouble(L"Size"); }
  void SetSize(double points) override { Put(object_, L"Size", Var::Double(points)); }
  bool Strikethrough() override { return GetBool(L"Strikethrough"); }
  void SetStrikethrough(bool value) override { Put(object_, L"Strikethrough", Var::Bool(value)); }
  bool Underline() override { return GetBool(L"Underline"); }
  void SetUnderline(bool value) override { Put(object_, L"Underline", Var::Bool(value)); }
};

class DispProperty final : public host::Property, public Held {
 public:
  using Interface = host::Property;
  using Held::Held;
  Text Name() override { return GetText(L"Name"); }
  vb::Variant Value() override { return ToVbVariant(Get(object_, L"Value").get()); }
  void SetValue(const vb::Variant& value) override { Put(object_, L"Value", Var::From(value)); }
  Ref<host::StdFont> Object() override { return GetObject<DispStdFont>(L"Object"); }
};

class DispProperties final : public host::Properties, public Held {
 public:
  using Interface = host::Properties;
  using Held::Held;
  long Count() override { return GetLong(L"Count"); }
  Ref<host::Property> Item(long index) override { return GetObject<DispProperty>(L"Item", Var::Long(index)); }
  Ref<host::Property> Item(TextView name) override { return GetObject<DispProperty>(L"Item", Var::Text(name)); }
};

class DispVBControls;
class DispVBComponent;

class DispVBControl final : public host::VBControl, public Held {
 public:
  using Interface = host::VBControl;
  using Held::Held;
  Text ClassName() override { return GetText(L"ClassName"); }
  Ref<host::VBControls> Collection() override;
  Ref<host::Properties> Properties() override { return GetObject<DispProperties>(L"Properties"); }
};

class DispVBForm final : public host::VBForm, public Held {
 public:
  using Interface = host::VBForm;
  using Held::Held;
  Ref<host::VBComponent> Parent() override;
  Ref<host::VBControls> VBControls() override;
};

class DispVBControls final : public host::VBControls, public Held {
 public:
  using Interface = host::VBControls;
  using Held::Held;
  Ref<host::VBForm> Parent() override { return GetObject<DispVBForm>(L"Parent"); }
  long Count() override { return GetLong(L"Count"); }
  Ref<host::VBControl> Item(long index) override { return GetObject<DispVBControl>(L"Item", Var::Long(index)); }
};

Ref<host::VBControls> DispVBControl::Collection() { return GetObject<DispVBControls>(L"Collection"); }
Ref<host::VBControls> DispVBForm::VBControls() { return GetObject<DispVBControls>(L"VBControls"); }

class DispMember final : public host::Member, public Held {
 public:
  using Interface = host::Member;
  using Held::Held;
  Text Name() override { return GetText(L"Name"); }
  host::MemberType Type() override { return static_cast<host::MemberType>(GetLong(L"Type")); }
  host::Scope Scope() override { return static_cast<host::Scope>(GetLong(L"Scope")); }
  long CodeLocation() override { return GetLong(L"CodeLocation"); }
};

class DispMembers final : public host::Members, public Held {
 public:
  using Interface = host::Members;
  using Held::Held;
  long Count() override { return GetLong(L"Count"); }
  Ref<host::Member> Item(long index) override { return GetObject<DispMember>(L"Item", Var::Long(index)); }
  Ref<host::Member> Item(TextView name) override { return GetObject<DispMember>(L"Item", Var::Text(name)); }
};

class DispCodePane;

class DispCodeModule final : public host::CodeModule, public Held {
 public:
  using Interface = host::CodeModule;
  using Held::Held;
  using host::CodeModule::Lines;  // the IDE's string is converted anyway: no room to reuse
  Ref<host::VBComponent> Parent() override;
  long CountOfLines() override { return GetLong(L"CountOfLines"); }
  long CountOfDeclarationLines() override { return GetLong(L"CountOfDeclarationLines"); }
  Text Lines(long startLine, long count) override {
    return AsText(Get(object_, L"Lines", Var::Long(startLine), Var::Long(count)).get());
  }
  void InsertLines(long line, TextView text) override { Call(object_, L"InsertLines", Var::Long(line), Var::Text(text)); }
  void ReplaceLine(long line, TextView text) override { Call(object_, L"ReplaceLine", Var::Long(line), Var::Text(text)); }
  void DeleteLines(long startLine, long count) override {
    Call(object_, L"DeleteLines", Var::Long(startLine), Var::Long(count));
  }
  void AddFromString(TextView text) override { Call(object_, L"AddFromString", Var::Text(text)); }
  Ref<host::Members> Members() override { return GetObject<DispMembers>(L"Members"); }
  Ref<host::CodePane> CodePane() override;
};

class DispCodePane final : public host::CodePane, public Held {
 public:
  using Interface = host::CodePane;
  using Held::Held;
  Ref<host::CodeModule> CodeModule() override { return GetObject<DispCodeModule>(L"CodeModule"); }
  void GetSelection(long& startLine, long& startColumn, long& endLine, long& endColumn) override {
    long values[4] = {};
    Call(object_, L"GetSelection", Var::LongRef(&values[0]), Var::LongRef(&values[1]), Var::LongRef(&values[2]),
         Var::LongRef(&values[3]));
    startLine = values[0];
    startColumn = values[1];
    endLine = values[2];
    endColumn = values[3];
  }
  void SetSelection(long startLine, long startColumn, long endLine, long endColumn) override {
    Call(object_, L"SetSelection", Var::Long(startLine), Var::Long(startColumn), Var::Long(endLine),
         Var::Long(endColumn));
  }
  long TopLine() override { return GetLong(L"TopLine"); }
  void SetTopLine(long line) override { Put(object_, L"TopLine", Var::Long(line)); }
};

Ref<host::CodePane> DispCodeModule::CodePane() { return GetObject<DispCodePane>(L"CodePane"); }

class DispCodePanes final : public host::CodePanes, public Held {
 public:
  using Interface = host::CodePanes;
  using Held::Held;
  long Count() override { return GetLong(L"Count"); }
  Ref<host::CodePane> Item(long index) override { return GetObject<DispCodePane>(L"Item", Var::Long(index)); }
};

class DispVBComponent final : public host::VBComponent, public Held {
 public:
  using Interface = host::VBComponent;
  using Held::Held;
  Text Name() override { return GetText(L"Name"); }
  host::ComponentType Type() override { return static_cast<host::ComponentType>(GetLong(L"Type")); }
  Ref<host::CodeModule> CodeModule() override { return GetObject<DispCodeModule>(L"CodeModule"); }
  Ref<host::VBForm> Designer() override { return GetObject<DispVBForm>(L"Designer"); }
};

Ref<host::VBComponent> DispCodeModule::Parent() { return GetObject<DispVBComponent>(L"Parent"); }
Ref<host::VBComponent> DispVBForm::Parent() { return GetObject<DispVBComponent>(L"Parent"); }

class DispVBComponents final : public host::VBComponents, public Held {
 public:
  using Interface = host::VBComponents;
  using Held::Held;
  long Count() override { return GetLong(L"Count"); }
  Ref<host::VBComponent> Item(long index) override { return GetObject<DispVBComponent>(L"Item", Var::Long(index)); }
  Ref<host::VBComponent> Item(TextView name) override {
    return GetObject<DispVBComponent>(L"Item", Var::Text(name));
  }
};

class DispVBProject final : public host::VBProject, public Held {
 public:
  using Interface = host::VBProject;
  using Held::Held;
  Text Name() override { return GetText(L"Name"); }
  Ref<host::VBComponents> VBComponents() override { return GetObject<DispVBComponents>(L"VBComponents"); }
};

class DispVBProjects final : public host::VBProjects, public Held {
 public:
  using Interface = host::VBProjects;
  using Held::Held;
  long Count() override { return GetLong(L"Count"); }
  Ref<host::VBProject> Item(long index) override { return GetObject<DispVBProject>(L"Item", Var::Long(index)); }
  Ref<host::VBProject> Item(TextView name) override { return GetObject<DispVBProject>(L"Item", Var::Text(name)); }
};

class DispCommandBarControls;

class DispCommandBarControl final : public host::CommandBarControl, public Held {
 public:
  using Interface = host::CommandBarControl;
  using Held::Held;
  host::ControlType Type() override { return static_cast<host::ControlType>(GetLong(L"Type")); }
  Text Caption() override { return GetText(L"Caption"); }
  void SetCaption(TextView caption) override { Put(object_, L"Caption", Var::Text(caption)); }
  Text Tag() override { return GetText(L"Tag"); }
  void SetTag(TextView tag) override { Put(object_, L"Tag", Var::Text(tag)); }
  void Delete() override { Call(object_, L"Delete"); }
  Ref<host::CommandBarControls> Controls() override;
};

class DispCommandBarControls final : public host::CommandBarControls, public Held {
 public:
  using Interface = host::CommandBarControls;
  using Held::Held;
  long Count() override { return GetLong(L"Count"); }
  Ref<host::CommandBarControl> Item(long index) override {
    return GetObject<DispCommandBarControl>(L"Item", Var::Long(index));
  }
  // Add(Type, Id, Parameter, Before, Temporary): the optional ones left out unless given.
  Ref<host::CommandBarControl> Add(int type, long before) override {
    if (before > 0)
      return Wrap<DispCommandBarControl>(AsObject(
          Call(object_, L"Add", Var::Long(type), Var::Missing(), Var::Missing(), Var::Long(before)).get()));
    return Wrap<DispCommandBarControl>(AsObject(Call(object_, L"Add", Var::Long(type)).get()));
  }
};

Ref<host::CommandBarControls> DispCommandBarControl::Controls() { return GetObject<DispCommandBarControls>(L"Controls"); }

class DispCommandBar final : public host::CommandBar, public Held {
 public:
  using Interface = host::CommandBar;
  using Held::Held;
  Text Name() override { return GetText(L"Name"); }
  Ref<host::CommandBarControls> Controls() override { return GetObject<DispCommandBarControls>(L"Controls"); }
};

class DispCommandBars final : public host::CommandBars, public Held {
 public:
  using Interface = host::CommandBars;
  using Held::Held;
  Ref<host::CommandBar> Item(TextView name) override { return GetObject<DispCommandBar>(L"Item", Var::Text(name)); }
};

class DispEvents final : public host::Events, public Held {
 public:
  using Interface = host::Events;
  using Held::Held;
  Ref<host::CommandBarEvents> CommandBarEvents(const Ref<host::CommandBarControl>& control) override {
    DispatchRef source = AsObject(Get(object_, L"CommandBarEvents", Var::Object(DispatchOf(control))).get());
    if (!source) return nullptr;
    return MakeCommandBarEvents(std::move(source), [](DispatchRef clicked) -> Ref<host::CommandBarControl> {
      return Wrap<DispCommandBarControl>(std::move(clicked));
    });
  }
  Ref<host::VBControlsEvents> VBControlsEvents(const Ref<host::VBProject>& project,
                                               const Ref<host::VBForm>& form) override {
    DispatchRef source = AsObject(
        Get(object_, L"VBControlsEvents", Var::Object(DispatchOf(project)), Var::Object(DispatchOf(form))).get());
    if (!source) return nullptr;
    return MakeVBControlsEvents(std::move(source), [](DispatchRef control) -> Ref<host::VBControl> {
      return Wrap<DispVBControl>(std::move(control));
    });
  }
};

class DispVBE final : public host::VBE, public Held {
 public:
  using Interface = host::VBE;
  using Held::Held;
  Ref<host::CodePane> ActiveCodePane() override { return GetObject<DispCodePane>(L"ActiveCodePane"); }
  Ref<host::VBProject> ActiveVBProject() override { return GetObject<DispVBProject>(L"ActiveVBProject"); }
  Ref<host::VBProjects> VBProjects() override { return GetObject<DispVBProjects>(L"VBProjects"); }
  Ref<host::CodePanes> CodePanes() override { return GetObject<DispCodePanes>(L"CodePanes"); }
  Ref<host::CommandBars> CommandBars() override { return GetObject<DispCommandBars>(L"CommandBars"); }
  Ref<host::Events> Events() override { return GetObject<DispEvents>(L"Events"); }
};

template <class Wrapper, class Interface>
IDispatch* DispatchOfAny(const Ref<Interface>& handle) {
  if (!handle) return nullptr;
  auto* held = dynamic_cast<Wrapper*>(handle.get());
  if (!held) vb::RaiseStandard(vb::err::kTypeMismatch);
  return held->dispatch();
}

}  // namespace

Ref<host::VBE> AttachVBE(IDispatch* application) {
  if (!application) vb::RaiseStandard(vb::err::kObjectNotSet);
  return std::make_shared<DispVBE>(DispatchRef(application));
}

IDispatch* DispatchOf(const Ref<host::CommandBarControl>& control) {
  return DispatchOfAny<DispCommandBarControl>(control);
}
IDispatch* DispatchOf(const Ref<host::VBProject>& project) { return DispatchOfAny<DispVBProject>(project); }
IDispatch* DispatchOf(const Ref<host::VBForm>& form) { return DispatchOfAny<DispVBForm>(form); }
IDispatch* DispatchOf(const Ref<host::StdFont>& font) { return DispatchOfAny<DispStdFont>(font); }

vb::Variant ToVbVariant(const VARIANT& value) {
  switch (value.vt) {
    case VT_EMPTY:
      return vb::Variant();
    case VT_BOOL:
      return vb::Variant(value.boolVal != VARIANT_FALSE);
    case VT_I2:
      return vb::Variant(static_cast<std::int16_t>(value.iVal));
    case VT_UI1:
      return vb::Variant(static_cast<std::int16_t>(value.bVal));
    case VT_I4:
      return vb::Variant(static_cast<std::int32_t>(value.lVal));
    case VT_R4:
      return vb::Variant(static_cast<double>(value.fltVal));
    case VT_R8:
      return vb::Variant(value.dblVal);
    case VT_BSTR:
      return vb::Variant(AsText(value));
    case VT_DISPATCH:
    case VT_UNKNOWN: {
      DispatchRef object = AsObject(value);
      if (!object) return vb::Variant();
      return vb::Variant(std::shared_ptr<host::StdFont>(std::make_shared<DispStdFont>(std::move(object))));
    }
    default:
      // Currency, dates, unsigned and 64-bit numbers: read as the double VB would print.
      return vb::Variant(AsDouble(value));
  }
}

Var Var::From(const vb::Variant& value) {
  const auto& held = value.value();
  if (std::holds_alternative<vb::Empty>(held)) return Var();
  if (const bool* b = std::get_if<bool>(&held)) return Bool(*b);
  if (const std::int16_t* i = std::get_if<std::int16_t>(&held)) {
    Var v;
    v.value_.vt = VT_I2;
    v.value_.iVal = *i;
    return v;
  }
  if (const std::int32_t* l = std::get_if<std::int32_t>(&held)) return Long(*l);
  if (const double* d = std::get_if<double>(&held)) return Double(*d);
  if (const vb::Text* t = std::get_if<vb::Text>(&held)) return Text(*t);
  return Object(DispatchOf(std::get<std::shared_ptr<host::StdFont>>(held)));
}

}  // namespace win32
