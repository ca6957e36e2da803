#include "fake_ide.h"

#include <ocidl.h>
#include <olectl.h>

#include <functional>
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include "win32/dispatch_call.h"
#include "win32/wide_text.h"

namespace fakeide {

// {6D1C3A70-2B1F-4C2E-9E55-0A7F3B2C1D01} and {...02}: our own, not the IDE's.
const IID IID_FakeCommandBarEvents = {0x6D1C3A70, 0x2B1F, 0x4C2E, {0x9E, 0x55, 0x0A, 0x7F, 0x3B, 0x2C, 0x1D, 0x01}};
const IID IID_FakeVBControlsEvents = {0x6D1C3A70, 0x2B1F, 0x4C2E, {0x9E, 0x55, 0x0A, 0x7F, 0x3B, 0x2C, 0x1D, 0x02}};
// Lets the fake find its own objects behind an IDispatch argument.
const IID IID_FakeObject = {0x6D1C3A70, 0x2B1F, 0x4C2E, {0x9E, 0x55, 0x0A, 0x7F, 0x3B, 0x2C, 0x1D, 0x03}};

namespace {

using host::Ref;
using vb::Text;
using win32::FromBstr;
using win32::NewBstr;

long live = 0;
long advised = 0;

using Args = std::vector<VARIANT*>;  // positional arguments left to right; a put's value last
using Member = std::function<void(WORD flags, Args& args, VARIANT* result)>;
// Relays the in-memory source's events to a sink.
using AdviseFn = std::function<host::Connection(IDispatch* sink)>;

class FakeObject;

class FakeConnectionPoint final : public IConnectionPoint {
 public:
  FakeConnectionPoint(FakeObject* owner, IID events, AdviseFn advise);
  ~FakeConnectionPoint();
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
      *object = static_cast<IConnectionPoint*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG count = --refs_;
    if (!count) delete this;
    return count;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    *iid = events_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(&dispatch)))) return CONNECT_E_CANNOTCONNECT;
    Connection& connection = connections_[++lastCookie_];
    connection.sink = dispatch;
    connection.relay = advise_(dispatch);
    ++advised;
    *cookie = lastCookie_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    auto found = connections_.find(cookie);
    if (found == connections_.end()) return CONNECT_E_NOCONNECTION;
    found->second.relay.reset();
    found->second.sink->Release();
    connections_.erase(found);
    --advised;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

 private:
  struct Connection {
    IDispatch* sink = nullptr;
    host::Connection relay;
  };
  ULONG refs_ = 1;
  FakeObject* owner_;
  IID events_;
  AdviseFn advise_;
  std::map<DWORD, Connection> connections_;
  DWORD lastCookie_ = 0;
};

// Enumerates the one connection point of an event source.
class FakeEnumPoints final : public IEnumConnectionPoints {
 public:
  explicit FakeEnumPoints(IConnectionPoint* point) : point_(point) {
    point_->AddRef();
    ++live;
  }
  ~FakeEnumPoints() {
    point_->Release();
    --live;
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IEnumConnectionPoints) {
      *object = static_cast<IEnumConnectionPoints*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG count = --refs_;
    if (!count) delete this;
    return count;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override {
    ULONG given = 0;
    if (count > 0 && !done_) {
      points[0] = point_;
      point_->AddRef();
      done_ = true;
      given = 1;
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    if (count) done_ = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    done_ = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints**) override { return E_NOTIMPL; }

 private:
  ULONG refs_ = 1;
  IConnectionPoint* point_;
  bool done_ = false;
};

// One object of the fake IDE: members by name over a native in-memory object.
class FakeObject final : public IDispatch, public IConnectionPointContainer {
 public:
  FakeObject(std::shared_ptr<void> native, const std::type_info& type) : native_(std::move(native)), type_(type) {
    ++live;
  }
  ~FakeObject() {
    if (point_) point_->Release();
    --live;
  }

  void Add(const wchar_t* name, Member member) {
    std::wstring key = name;
    CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
    ids_[key] = static_cast<DISPID>(members_.size() + 1);
    members_.push_back(std::move(member));
  }
  void MakeSource(IID events, AdviseFn advise) {
    point_ = new FakeConnectionPoint(this, events, std::move(advise));
  }
  template <class T>
  Ref<T> Native() const {
    if (type_ != typeid(T)) vb::RaiseStandard(vb::err::kTypeMismatch);
    return std::static_pointer_cast<T>(native_);
  }

  // IUnknown (the container shares the object's identity)
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *object = static_cast<IDispatch*>(this);
    } else if (iid == IID_IConnectionPointContainer && point_) {
      *object = static_cast<IConnectionPointContainer*>(this);
    } else if (iid == IID_FakeObject) {
      *object = this;  // no reference: the caller holds one already
      return S_OK;
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG count = --refs_;
    if (!count) delete this;
    return count;
  }
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (count != 1) return DISP_E_UNKNOWNNAME;
    std::wstring key = names[0];
    CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
    auto found = ids_.find(key);
    if (found == ids_.end()) {
      ids[0] = DISPID_UNKNOWN;
      return DISP_E_UNKNOWNNAME;
    }
    ids[0] = found->second;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT*) override {
    if (id < 1 || id > static_cast<DISPID>(members_.size())) return DISP_E_MEMBERNOTFOUND;
    Args args;
    const UINT named = params->cNamedArgs;
    for (UINT i = params->cArgs; i > named; --i) args.push_back(&params->rgvarg[i - 1]);
    if (flags & DISPATCH_PROPERTYPUT) {
      if (named != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return DISP_E_PARAMNOTFOUND;
      args.push_back(&params->rgvarg[0]);
    } else if (named) {
      return DISP_E_NONAMEDARGS;
    }
    VARIANT ignored;
    VariantInit(&ignored);
    try {
      members_[id - 1](flags, args, result ? result : &ignored);
      VariantClear(&ignored);
      return S_OK;
    } catch (const vb::Error& error) {
      VariantClear(&ignored);
      return win32::FillException(error, exception, L"Fake IDE");
    }
  }
  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override {
    *points = new FakeEnumPoints(point_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    IID events = IID_NULL;
    point_->GetConnectionInterface(&events);
    if (iid != events) {
      *point = nullptr;
      return CONNECT_E_NOCONNECTION;
    }
    *point = point_;
    point_->AddRef();
    return S_OK;
  }

 private:
  ULONG refs_ = 1;
  std::shared_ptr<void> native_;
  const std::type_info& type_;
  std::map<std::wstring, DISPID> ids_;
  std::vector<Member> members_;
  FakeConnectionPoint* point_ = nullptr;
};

FakeConnectionPoint::FakeConnectionPoint(FakeObject* owner, IID events, AdviseFn advise)
    : owner_(owner), events_(events), advise_(std::move(advise)) {
  ++live;
}
FakeConnectionPoint::~FakeConnectionPoint() {
  for (auto& [cookie, connection] : connections_) {
    connection.relay.reset();
    connection.sink->Release();
    --advised;
  }
  --live;
}
HRESULT FakeConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  *container = owner_;
  owner_->AddRef();
  return S_OK;
}

// ---- arguments and results

VARIANT Deref(const VARIANT* arg) {
  VARIANT value;
  VariantInit(&value);
  VariantCopyInd(&value, const_cast<VARIANT*>(arg));
  return value;
}
bool Missing(const Args& args, size_t i) {
  return i >= args.size() || (args[i]->vt == VT_ERROR && args[i]->scode == DISP_E_PARAMNOTFOUND);
}
void Need(const Args& args, size_t count) {
  if (args.size() < count) vb::Raise(449, u"Argument not optional");
}
long ArgLong(const Args& args, size_t i) {
  Need(args, i + 1);
  return win32::AsLong(*args[i]);
}
Text ArgText(const Args& args, size_t i) {
  Need(args, i + 1);
  VARIANT value = Deref(args[i]);
  Text text = win32::AsText(value);
  VariantClear(&value);
  return text;
}
bool ArgBool(const Args& args, size_t i) {
  Need(args, i + 1);
  return win32::AsBool(*args[i]);
}
double ArgDouble(const Args& args, size_t i) {
  Need(args, i + 1);
  return win32::AsDouble(*args[i]);
}
bool IsText(const Args& args, size_t i) { return i < args.size() && (args[i]->vt & VT_TYPEMASK) == VT_BSTR; }
template <class T>
Ref<T> ArgObject(const Args& args, size_t i) {
  Need(args, i + 1);
  win32::DispatchRef object = win32::AsObject(*args[i]);
  if (!object) return nullptr;
  FakeObject* fake = nullptr;
  if (FAILED(object.get()->QueryInterface(IID_FakeObject, reinterpret_cast<void**>(&fake))))
    vb::RaiseStandard(vb::err::kTypeMismatch);
  return fake->Native<T>();
}

void SetLong(VARIANT* result, long value) {
  result->vt = VT_I4;
  result->lVal = value;
}
void SetBool(VARIANT* result, bool value) {
  result->vt = VT_BOOL;
  result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}
void SetDouble(VARIANT* result, double value) {
  result->vt = VT_R8;
  result->dblVal = value;
}
void SetText(VARIANT* result, vb::TextView value) {
  result->vt = VT_BSTR;
  result->bstrVal = NewBstr(value);
}
void SetObject(VARIANT* result, IDispatch* adopted) {
  result->vt = VT_DISPATCH;
  result->pdispVal = adopted;
}
bool IsPut(WORD flags) { return (flags & DISPATCH_PROPERTYPUT) != 0; }

template <class T>
FakeObject* NewFake(const Ref<T>& native) {
  return new FakeObject(native, typeid(T));
}

// ---- one builder per class of the object model

IDispatch* Wrap(const Ref<host::StdFont>& font);
IDispatch* Wrap(const Ref<host::Property>& property);
IDispatch* Wrap(const Ref<host::Properties>& properties);
IDispatch* Wrap(const Ref<host::VBControl>& control);
IDispatch* Wrap(const Ref<host::VBControls>& controls);
IDispatch* Wrap(const Ref<host::VBForm>& form);
IDispatch* Wrap(const Ref<host::Member>& member);
IDispatch* Wrap(const Ref<host::Members>& members);
IDispatch* Wrap(const Ref<host::CodePane>& pane);
IDispatch* Wrap(const Ref<host::CodePanes>& panes);
IDispatch* Wrap(const Ref<host::CodeModule>& module);
IDispatch* Wrap(const Ref<host::VBComponent>& component);
IDispatch* Wrap(const Ref<host::VBComponents>& components);
IDispatch* Wrap(const Ref<host::VBProject>& project);
IDispatch* Wrap(const Ref<host::VBProjects>& projects);
IDispatch* Wrap(const Ref<host::CommandBarControl>& control);
IDispatch* Wrap(const Ref<host::CommandBarControls>& controls);
IDispatch* Wrap(const Ref<host::CommandBar>& bar);
IDispatch* Wrap(const Ref<host::CommandBars>& bars);
IDispatch* Wrap(const Ref<host::CommandBarEvents>& source);
IDispatch* Wrap(const Ref<host::VBControlsEvents>& source);
IDispatch* Wrap(const Ref<host::Events>& events);
IDispatch* Wrap(const Ref<host::VBE>& vbe);

// A read/write property of a simple type.
template <class Read, class Write>
Member Property(Read read, Write write) {
  return [read, write](WORD flags, Args& args, VARIANT* result) {
    if (IsPut(flags))
      write(args);
    else
      read(result);
  };
}

// Count and Item of a collection: Item takes a 1-based index, or a name where the collection has names.
template <class Collection>
void AddCollection(FakeObject* fake, const Ref<Collection>& items) {
  fake->Add(L"Count", [items](WORD, Args&, VARIANT* r) { SetLong(r, items->Count()); });
  fake->Add(L"Item", [items](WORD, Args& a, VARIANT* r) {
    if constexpr (requires { items->Item(vb::TextView{}); }) {
      if (IsText(a, 0)) return SetObject(r, Wrap(items->Item(ArgText(a, 0))));
    }
    SetObject(r, Wrap(items->Item(ArgLong(a, 0))));
  });
}

IDispatch* Wrap(const Ref<host::StdFont>& font) {
  if (!font) return nullptr;
  FakeObject* fake = NewFake(font);
  fake->Add(L"Name", Property([font](VARIANT* r) { SetText(r, font->Name()); },
                              [font](Args& a) { font->SetName(ArgText(a, 0)); }));
  fake->Add(L"Bold", Property([font](VARIANT* r) { SetBool(r, font->Bold()); },
                              [font](Args& a) { font->SetBold(ArgBool(a, 0)); }));
  fake->Add(L"Italic", Property([font](VARIANT* r) { SetBool(r, font->Italic()); },
                                [font](Args& a) { font->SetItalic(ArgBool(a, 0)); }));
  fake->Add(L"Size", Property([font](VARIANT* r) { SetDouble(r, font->Size()); },
                              [font](Args& a) { font->SetSize(ArgDouble(a, 0)); }));
  fake->Add(L"Strikethrough", Property([font](VARIANT* r) { SetBool(r, font->Strikethrough()); },
                                       [font](Args& a) { font->SetStrikethrough(ArgBool(a, 0)); }));
  fake->Add(L"Underline", Property([font](VARIANT* r) { SetBool(r, font->Underline()); },
                                   [font](Args& a) { font->SetUnderline(ArgBool(a, 0)); }));
  return fake;
}

// A designer property value as VARIANT, and back.
void SetVariant(VARIANT* result, const vb::Variant& value) {
  const auto& held = value.value();
  if (const bool* b = std::get_if<bool>(&held)) return SetBool(result, *b);
  if (const std::int16_t* i = std::get_if<std::int16_t>(&held)) {
    result->vt = VT_I2;
    result->iVal = *i;
    return;
  }
  if (const std::int32_t* l = std::get_if<std::int32_t>(&held)) return SetLong(result, *l);
  if (const double* d = std::get_if<double>(&held)) return SetDouble(result, *d);
  if (const Text* t = std::get_if<Text>(&held)) return SetText(result, *t);
  if (const auto* font = std::get_if<std::shared_ptr<host::StdFont>>(&held)) return SetObject(result, Wrap(*font));
}

vb::Variant ArgVariant(const Args& args, size_t i) {
  Need(args, i + 1);
  VARIANT value = Deref(args[i]);
  vb::Variant out;
  switch (value.vt) {
    case VT_EMPTY:
      break;
    case VT_BOOL:
      out = vb::Variant(value.boolVal != VARIANT_FALSE);
      break;
    case VT_I2:
      out = vb::Variant(static_cast<std::int16_t>(value.iVal));
      break;
    case VT_I4:
      out = vb::Variant(static_cast<std::int32_t>(value.lVal));
      break;
    case VT_R8:
      out = vb::Variant(value.dblVal);
      break;
    case VT_BSTR:
      out = vb::Variant(FromBstr(value.bstrVal));
      break;
    case VT_DISPATCH: {
      Args one{&value};
      out = vb::Variant(ArgObject<host::StdFont>(one, 0));
      break;
    }
    default:
      VariantClear(&value);
      vb::RaiseStandard(vb::err::kTypeMismatch);
  }
  VariantClear(&value);
  return out;
}

IDispatch* Wrap(const Ref<host::Property>& property) {
  if (!property) return nullptr;
  FakeObject* fake = NewFake(property);
  fake->Add(L"Name", [property](WORD, Args&, VARIANT* r) { SetText(r, property->Name()); });
  fake->Add(L"Value", Property([property](VARIANT* r) { SetVariant(r, property->Value()); },
                               [property](Args& a) { property->SetValue(ArgVariant(a, 0)); }));
  fake->Add(L"Object", [property](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(property->Object())); });
  return fake;
}

IDispatch* Wrap(const Ref<host::Properties>& properties) {
  if (!properties) return nullptr;
  FakeObject* fake = NewFake(properties);
  AddCollection(fake, properties);
  return fake;
}

IDispatch* Wrap(const Ref<host::VBControl>& control) {
  if (!control) return nullptr;
  FakeObject* fake = NewFake(control);
  fake->Add(L"ClassName", [control](WORD, Args&, VARIANT* r) { SetText(r, control->ClassName()); });
  fake->Add(L"Collection", [control](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(control->Collection())); });
  fake->Add(L"Properties", [control](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(control->Properties())); });
  return fake;
}

IDispatch* Wrap(const Ref<host::VBControls>& controls) {
  if (!controls) return nullptr;
  FakeObject* fake = NewFake(controls);
  fake->Add(L"Parent", [controls](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(controls->Parent())); });
  AddCollection(fake, controls);
  return fake;
}

IDispatch* Wrap(const Ref<host::VBForm>& form) {
  if (!form) return nullptr;
  FakeObject* fake = NewFake(form);
  fake->Add(L"Parent", [form](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(form->Parent())); });
  fake->Add(L"VBControls", [form](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(form->VBControls())); });
  return fake;
}

IDispatch* Wrap(const Ref<host::Member>& member) {
  if (!member) return nullptr;
  FakeObject* fake = NewFake(member);
  fake->Add(L"Name", [member](WORD, Args&, VARIANT* r) { SetText(r, member->Name()); });
  fake->Add(L"Type", [member](WORD, Args&, VARIANT* r) { SetLong(r, member->Type()); });
  fake->Add(L"Scope", [member](WORD, Args&, VARIANT* r) { SetLong(r, member->Scope()); });
  fake->Add(L"CodeLocation", [member](WORD, Args&, VARIANT* r) { SetLong(r, member->CodeLocation()); });
  return fake;
}

IDispatch* Wrap(const Ref<host::Members>& members) {
  if (!members) return nullptr;
  FakeObject* fake = NewFake(members);
  AddCollection(fake, members);
  return fake;
}

IDispatch* Wrap(const Ref<host::CodePane>& pane) {
  if (!pane) return nullptr;
  FakeObject* fake = NewFake(pane);
  fake->Add(L"CodeModule", [pane](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(pane->CodeModule())); });
  fake->Add(L"GetSelection", [pane](WORD, Args& a, VARIANT*) {
    Need(a, 4);
    long values[4] = {};
    pane->GetSelection(values[0], values[1], values[2], values[3]);
    for (int i = 0; i < 4; ++i) {
      if (a[i]->vt != (VT_I4 | VT_BYREF)) vb::RaiseStandard(vb::err::kTypeMismatch);
      *a[i]->plVal = values[i];
    }
  });
  fake->Add(L"SetSelection", [pane](WORD, Args& a, VARIANT*) {
    pane->SetSelection(ArgLong(a, 0), ArgLong(a, 1), ArgLong(a, 2), ArgLong(a, 3));
  });
  fake->Add(L"TopLine", Property([pane](VARIANT* r) { SetLong(r, pane->TopLine()); },
                                 [pane](Args& a) { pane->SetTopLine(ArgLong(a, 0)); }));
  return fake;
}

IDispatch* Wrap(const Ref<host::CodePanes>& panes) {
  if (!panes) return nullptr;
  FakeObject* fake = NewFake(panes);
  AddCollection(fake, panes);
  return fake;
}

IDispatch* Wrap(const Ref<host::CodeModule>& module) {
  if (!module) return nullptr;
  FakeObject* fake = NewFake(module);
  fake->Add(L"Parent", [module](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(module->Parent())); });
  fake->Add(L"CountOfLines", [module](WORD, Args&, VARIANT* r) { SetLong(r, module->CountOfLines()); });
  fake->Add(L"CountOfDeclarationLines",
            [module](WORD, Args&, VARIANT* r) { SetLong(r, module->CountOfDeclarationLines()); });
  fake->Add(L"Lines", [module](WORD, Args& a, VARIANT* r) { SetText(r, module->Lines(ArgLong(a, 0), ArgLong(a, 1))); });
  fake->Add(L"InsertLines", [module](WORD, Args& a, VARIANT*) { module->InsertLines(ArgLong(a, 0), ArgText(a, 1)); });
  fake->Add(L"ReplaceLine", [module](WORD, Args& a, VARIANT*) { module->ReplaceLine(ArgLong(a, 0), ArgText(a, 1)); });
  fake->Add(L"DeleteLines", [module](WORD, Args& a, VARIANT*) {
    module->DeleteLines(ArgLong(a, 0), Missing(a, 1) ? 1 : ArgLong(a, 1));
  });
  fake->Add(L"AddFromString", [module](WORD, Args& a, VARIANT*) { module->AddFromString(ArgText(a, 0)); });
  fake->Add(L"Members", [module](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(module->Members())); });
  fake->Add(L"CodePane", [module](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(module->CodePane())); });
  return fake;
}

IDispatch* Wrap(const Ref<host::VBComponent>& component) {
  if (!component) return nullptr;
  FakeObject* fake = NewFake(component);
  fake->Add(L"Name", [component](WORD, Args&, VARIANT* r) { SetText(r, component->Name()); });
  fake->Add(L"Type", [component](WORD, Args&, VARIANT* r) { SetLong(r, component->Type()); });
  fake->Add(L"CodeModule", [component](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(component->CodeModule())); });
  fake->Add(L"Designer", [component](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(component->Designer())); });
  return fake;
}

IDispatch* Wrap(const Ref<host::VBComponents>& components) {
  if (!components) return nullptr;
  FakeObject* fake = NewFake(components);
  AddCollection(fake, components);
  return fake;
}

IDispatch* Wrap(const Ref<host::VBProject>& project) {
  if (!project) return nullptr;
  FakeObject* fake = NewFake(project);
  fake->Add(L"Name", [project](WORD, Args&, VARIANT* r) { SetText(r, project->Name()); });
  fake->Add(L"VBComponents", [project](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(project->VBComponents())); });
  return fake;
}

IDispatch* Wrap(const Ref<host::VBProjects>& projects) {
  if (!projects) return nullptr;
  FakeObject* fake = NewFake(projects);
  AddCollection(fake, projects);
  return fake;
}

IDispatch* Wrap(const Ref<host::CommandBarControl>& control) {
  if (!control) return nullptr;
  FakeObject* fake = NewFake(control);
  fake->Add(L"Type", [control](WORD, Args&, VARIANT* r) { SetLong(r, control->Type()); });
  fake->Add(L"Caption", Property([control](VARIANT* r) { SetText(r, control->Caption()); },
                                 [control](Args& a) { control->SetCaption(ArgText(a, 0)); }));
  fake->Add(L"Tag", Property([control](VARIANT* r) { SetText(r, control->Tag()); },
                             [control](Args& a) { control->SetTag(ArgText(a, 0)); }));
  fake->Add(L"Delete", [control](WORD, Args&, VARIANT*) { control->Delete(); });
  fake->Add(L"Controls", [control](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(control->Controls())); });
  return fake;
}

IDispatch* Wrap(const Ref<host::CommandBarControls>& controls) {
  if (!controls) return nullptr;
  FakeObject* fake = NewFake(controls);
  AddCollection(fake, controls);
  // Add(Type, Id, Parameter, Before, Temporary), as the IDE's command bars take it.
  fake->Add(L"Add", [controls](WORD, Args& a, VARIANT* r) {
    long type = Missing(a, 0) ? static_cast<long>(host::msoControlButton) : ArgLong(a, 0);
    long before = Missing(a, 3) ? 0 : ArgLong(a, 3);
    SetObject(r, Wrap(controls->Add(static_cast<int>(type), before)));
  });
  return fake;
}

IDispatch* Wrap(const Ref<host::CommandBar>& bar) {
  if (!bar) return nullptr;
  FakeObject* fake = NewFake(bar);
  fake->Add(L"Name", [bar](WORD, Args&, VARIANT* r) { SetText(r, bar->Name()); });
  fake->Add(L"Controls", [bar](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(bar->Controls())); });
  return fake;
}

IDispatch* Wrap(const Ref<host::CommandBars>& bars) {
  if (!bars) return nullptr;
  FakeObject* fake = NewFake(bars);
  fake->Add(L"Item", [bars](WORD, Args& a, VARIANT* r) { SetObject(r, Wrap(bars->Item(ArgText(a, 0)))); });
  return fake;
}

// Calls a sink's member with arguments given left to right.
void Raise(IDispatch* sink, DISPID id, std::vector<VARIANT> args) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

VARIANT ObjectArg(IDispatch* adopted) {
  VARIANT v;
  VariantInit(&v);
  SetObject(&v, adopted);
  return v;
}

IDispatch* Wrap(const Ref<host::CommandBarEvents>& source) {
  if (!source) return nullptr;
  FakeObject* fake = NewFake(source);
  // Click is member 1 of the event interface.
  fake->MakeSource(IID_FakeCommandBarEvents, [source](IDispatch* sink) {
    return source->Advise([sink](const Ref<host::CommandBarControl>& control, bool& handled, bool& cancel) {
      VARIANT_BOOL handledArg = handled ? VARIANT_TRUE : VARIANT_FALSE;
      VARIANT_BOOL cancelArg = cancel ? VARIANT_TRUE : VARIANT_FALSE;
      VARIANT byrefHandled, byrefCancel;
      VariantInit(&byrefHandled);
      VariantInit(&byrefCancel);
      byrefHandled.vt = byrefCancel.vt = VT_BOOL | VT_BYREF;
      byrefHandled.pboolVal = &handledArg;
      byrefCancel.pboolVal = &cancelArg;
      VARIANT controlArg = ObjectArg(Wrap(control));
      Raise(sink, 1, {controlArg, byrefHandled, byrefCancel});
      VariantClear(&controlArg);
      handled = handledArg != VARIANT_FALSE;
      cancel = cancelArg != VARIANT_FALSE;
    });
  });
  return fake;
}

IDispatch* Wrap(const Ref<host::VBControlsEvents>& source) {
  if (!source) return nullptr;
  FakeObject* fake = NewFake(source);
  // ItemAdded, ItemRemoved, ItemRenamed are members 1, 2, 3 of the event interface.
  fake->MakeSource(IID_FakeVBControlsEvents, [source](IDispatch* sink) {
    host::ControlsSink relay;
    relay.ItemAdded = [sink](const Ref<host::VBControl>& control) {
      VARIANT arg = ObjectArg(Wrap(control));
      Raise(sink, 1, {arg});
      VariantClear(&arg);
    };
    relay.ItemRemoved = [sink](const Ref<host::VBControl>& control) {
      VARIANT arg = ObjectArg(Wrap(control));
      Raise(sink, 2, {arg});
      VariantClear(&arg);
    };
    relay.ItemRenamed = [sink](const Ref<host::VBControl>& control, const Text& oldName, int oldIndex) {
      VARIANT args[3];
      args[0] = ObjectArg(Wrap(control));
      VariantInit(&args[1]);
      SetText(&args[1], oldName);
      VariantInit(&args[2]);
      SetLong(&args[2], oldIndex);
      Raise(sink, 3, {args[0], args[1], args[2]});
      for (VARIANT& arg : args) VariantClear(&arg);
    };
    return source->Advise(std::move(relay));
  });
  return fake;
}

IDispatch* Wrap(const Ref<host::Events>& events) {
  if (!events) return nullptr;
  FakeObject* fake = NewFake(events);
  fake->Add(L"CommandBarEvents", [events](WORD, Args& a, VARIANT* r) {
    SetObject(r, Wrap(events->CommandBarEvents(ArgObject<host::CommandBarControl>(a, 0))));
  });
  fake->Add(L"VBControlsEvents", [events](WORD, Args& a, VARIANT* r) {
    SetObject(r, Wrap(events->VBControlsEvents(ArgObject<host::VBProject>(a, 0), ArgObject<host::VBForm>(a, 1))));
  });
  return fake;
}

IDispatch* Wrap(const Ref<host::VBE>& vbe) {
  if (!vbe) return nullptr;
  FakeObject* fake = NewFake(vbe);
  fake->Add(L"ActiveCodePane", [vbe](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(vbe->ActiveCodePane())); });
  fake->Add(L"ActiveVBProject", [vbe](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(vbe->ActiveVBProject())); });
  fake->Add(L"VBProjects", [vbe](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(vbe->VBProjects())); });
  fake->Add(L"CodePanes", [vbe](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(vbe->CodePanes())); });
  fake->Add(L"CommandBars", [vbe](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(vbe->CommandBars())); });
  fake->Add(L"Events", [vbe](WORD, Args&, VARIANT* r) { SetObject(r, Wrap(vbe->Events())); });
  return fake;
}

}  // namespace

IDispatch* NewVBE(const std::shared_ptr<memhost::MemoryVBE>& vbe) { return Wrap(Ref<host::VBE>(vbe)); }

long LiveObjects() { return live; }
long AdvisedSinks() { return advised; }

}  // namespace fakeide
