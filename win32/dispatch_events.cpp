#include "win32/dispatch_events.h"

#include <ocidl.h>
#include <olectl.h>

#include <vector>

#include "win32/com_module.h"
#include "win32/dispatch_host.h"

namespace win32 {

namespace {

using EventHandler = std::function<void(DISPID id, DISPPARAMS& params)>;

// The sink object the IDE calls: answers for the event interface and IDispatch.
class EventSink final : public IDispatch, private CountedObject {
 public:
  EventSink(IID events, EventHandler handler) : events_(events), handler_(std::move(handler)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == events_) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG count = InterlockedDecrement(&refs_);
    if (count == 0) delete this;
    return count;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                   UINT*) override {
    if (result) VariantInit(result);
    if (!params) return E_POINTER;
    try {
      handler_(id, *params);
    } catch (...) {
      // A failing add-in command never reaches the IDE.
    }
    return S_OK;
  }

 private:
  LONG refs_ = 1;
  IID events_;
  EventHandler handler_;
};

class PointConnection final : public host::EventConnection {
 public:
  PointConnection(IConnectionPoint* point, DWORD cookie) : point_(point), cookie_(cookie) {}
  ~PointConnection() override {
    point_->Unadvise(cookie_);
    point_->Release();
  }

 private:
  IConnectionPoint* point_;
  DWORD cookie_;
};

template <class T>
void ReleaseOnce(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

// Advises a sink on the source's (only) connection point. `names` are the events the handler
// takes, in the order of `ids` it receives.
host::Connection Advise(IDispatch* source, const std::vector<const wchar_t*>& names,
                        std::function<EventHandler(std::vector<DISPID>)> makeHandler) {
  IConnectionPointContainer* container = nullptr;
  HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
  if (FAILED(hr)) throw ErrorFromCall(hr, nullptr, L"IConnectionPointContainer");
  IEnumConnectionPoints* points = nullptr;
  hr = container->EnumConnectionPoints(&points);
  ReleaseOnce(container);
  if (FAILED(hr)) throw ErrorFromCall(hr, nullptr, L"EnumConnectionPoints");
  IConnectionPoint* point = nullptr;
  ULONG fetched = 0;
  hr = points->Next(1, &point, &fetched);
  ReleaseOnce(points);
  if (hr != S_OK || !fetched || !point) throw ErrorFromCall(FAILED(hr) ? hr : CONNECT_E_NOCONNECTION, nullptr, L"Advise");
  IID events = IID_NULL;
  hr = point->GetConnectionInterface(&events);
  if (FAILED(hr)) {
    ReleaseOnce(point);
    throw ErrorFromCall(hr, nullptr, L"GetConnectionInterface");
  }
  std::vector<DISPID> ids(names.size());
  ResolveEventIds(source, events, names.data(), ids.data(), static_cast<UINT>(names.size()));
  EventHandler handler;
  try {
    handler = makeHandler(std::move(ids));
  } catch (...) {
    ReleaseOnce(point);
    throw;
  }
  auto* sink = new EventSink(events, std::move(handler));
  DWORD cookie = 0;
  hr = point->Advise(sink, &cookie);
  sink->Release();
  if (FAILED(hr)) {
    ReleaseOnce(point);
    throw ErrorFromCall(hr, nullptr, L"Advise");
  }
  return std::make_unique<PointConnection>(point, cookie);
}

VARIANT& Argument(DISPPARAMS& params, UINT position) { return params.rgvarg[params.cArgs - 1 - position]; }

// A ByRef Boolean argument as a C++ bool, written back afterwards.
class BoolArgument {
 public:
  explicit BoolArgument(VARIANT& arg) : arg_(arg) {
    if (arg_.vt == (VT_BOOL | VT_BYREF) && arg_.pboolVal)
      value = *arg_.pboolVal != VARIANT_FALSE;
    else
      value = AsBool(arg_);
  }
  void WriteBack() {
    if (arg_.vt == (VT_BOOL | VT_BYREF) && arg_.pboolVal) *arg_.pboolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
  bool value = false;

 private:
  VARIANT& arg_;
};

class DispCommandBarEvents final : public host::CommandBarEvents {
 public:
  DispCommandBarEvents(DispatchRef source, WrapControl wrap) : source_(std::move(source)), wrap_(std::move(wrap)) {}

  // Click(CommandBarControl As Object, handled As Boolean, CancelDefault As Boolean)
  host::Connection Advise(host::ClickSink sink) override {
    WrapControl wrap = wrap_;
    return win32::Advise(source_.get(), {L"Click"}, [sink, wrap](std::vector<DISPID> ids) -> EventHandler {
      const DISPID click = ids[0];
      return [sink, wrap, click](DISPID id, DISPPARAMS& params) {
        if (id != click || params.cArgs < 3 || !sink) return;
        host::Ref<host::CommandBarControl> control = wrap(AsObject(Argument(params, 0)));
        BoolArgument handled(Argument(params, 1));
        BoolArgument cancelDefault(Argument(params, 2));
        sink(control, handled.value, cancelDefault.value);
        handled.WriteBack();
        cancelDefault.WriteBack();
      };
    });
  }

 private:
  DispatchRef source_;
  WrapControl wrap_;
};

class DispVBControlsEvents final : public host::VBControlsEvents {
 public:
  DispVBControlsEvents(DispatchRef source, WrapVBControl wrap) : source_(std::move(source)), wrap_(std::move(wrap)) {}

  // ItemAdded(VBControl), ItemRemoved(VBControl), ItemRenamed(VBControl, OldName, OldIndex)
  host::Connection Advise(host::ControlsSink sink) override {
    WrapVBControl wrap = wrap_;
    return win32::Advise(source_.get(), {L"ItemAdded", L"ItemRemoved", L"ItemRenamed"},
                         [sink, wrap](std::vector<DISPID> ids) -> EventHandler {
                           return [sink, wrap, ids](DISPID id, DISPPARAMS& params) {
                             if (params.cArgs < 1) return;
                             host::Ref<host::VBControl> control = wrap(AsObject(Argument(params, 0)));
                             if (id == ids[0] && sink.ItemAdded) {
                               sink.ItemAdded(control);
                             } else if (id == ids[1] && sink.ItemRemoved) {
                               sink.ItemRemoved(control);
                             } else if (id == ids[2] && sink.ItemRenamed && params.cArgs >= 3) {
                               sink.ItemRenamed(control, AsText(Argument(params, 1)),
                                                static_cast<int>(AsLong(Argument(params, 2))));
                             }
                           };
                         });
  }

 private:
  DispatchRef source_;
  WrapVBControl wrap_;
};

}  // namespace

host::Ref<host::CommandBarEvents> MakeCommandBarEvents(DispatchRef source, WrapControl wrap) {
  return std::make_shared<DispCommandBarEvents>(std::move(source), std::move(wrap));
}

host::Ref<host::VBControlsEvents> MakeVBControlsEvents(DispatchRef source, WrapVBControl wrap) {
  return std::make_shared<DispVBControlsEvents>(std::move(source), std::move(wrap));
}

void ResolveEventIds(IDispatch* source, REFIID events, const wchar_t* const* names, DISPID* ids, UINT count) {
  for (UINT i = 0; i < count; ++i) ids[i] = static_cast<DISPID>(i + 1);
  ITypeInfo* info = nullptr;
  if (FAILED(source->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) || !info) return;
  ITypeLib* library = nullptr;
  UINT index = 0;
  HRESULT hr = info->GetContainingTypeLib(&library, &index);
  ReleaseOnce(info);
  if (FAILED(hr) || !library) return;
  ITypeInfo* eventInfo = nullptr;
  hr = library->GetTypeInfoOfGuid(events, &eventInfo);
  ReleaseOnce(library);
  if (FAILED(hr) || !eventInfo) return;
  for (UINT i = 0; i < count; ++i) {
    LPOLESTR name = const_cast<LPOLESTR>(names[i]);
    MEMBERID id = MEMBERID_NIL;
    if (SUCCEEDED(eventInfo->GetIDsOfNames(&name, 1, &id))) ids[i] = id;
  }
  ReleaseOnce(eventInfo);
}

}  // namespace win32
