#include "framework/connect.h"

#include <array>

#include "framework/runtime.h"

namespace addin {

namespace {

constexpr std::array<Registration, 6> kRegistrations{{
    {u"Ravlen.Connect", u"Ravlen Editor",
     u"This Add-In provides you with the ability to easily set some of the common properties for several of the "
     u"more widely used controls."},
    {u"Comment.Connect", u"Annotar",
     u"This Add-In provides you with a way to easily comment/uncomment code and also to add function headers and "
     u"revisions."},
    {u"Pellmoss.Connect", u"Pellmoss Librarian",
     u"This Add-In is designed to allow you to store bits and pieces of code for easy retrieval into your "
     u"application"},
    {u"Tallowick.Connect", u"Tallowick Tally",
     u"This Add-In provides an easy way to count the number of lines of code, comments, and white space in your "
     u"module or your entire project."},
    {u"Morrowgate.Connect", u"Morrowgate Builder",
     u"This Add-In provides an easy way to implement interfaces by placing all the needed functions and "
     u"properties into the object implementing another object."},
    {u"Quenby.Connect", u"Quenby Tool",
     u"This Add-In simplies the process of adding a new property to a form, class, etc."},
}};

}  // namespace

std::span<const Registration> Registrations() { return kRegistrations; }

const Registration* FindRegistration(TextView progId) {
  for (const auto& r : kRegistrations)
    if (vb::EqualsNoCase(r.progId, progId)) return &r;
  return nullptr;
}

vb::Error AsVbError(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const vb::Error& e) {
    return e;
  } catch (const std::exception& e) {
    return vb::Error(vb::err::kInvalidProcedureCall, vb::FromUtf8(e.what()));
  } catch (...) {
    return vb::Error(vb::err::kInvalidProcedureCall, u"Unknown failure");
  }
}

void ConnectBase::OnConnection(Ref<host::VBE> application, int connectMode) {
  try {
    if (!application) vb::RaiseStandard(vb::err::kObjectNotSet);
    VBInstance = std::move(application);
    Connection(connectMode);
  } catch (...) {
    vb::Error error = AsVbError(std::current_exception());
    // The report itself must not escape to the IDE either.
    Attempt([&] { ConnectionFailed(error); });
  }
}

void ConnectBase::OnDisconnection(int /*removeMode*/) {
  try {
    Disconnection();
  } catch (...) {
    // Disconnection reports nothing.
  }
}

void ConnectBase::ConnectionFailed(const vb::Error& error) { vb::MsgBox(error.description); }

Ref<host::CommandBarControl> ConnectBase::AddToAddInCommandBar(TextView sCaption) {
  return AddToCommandBar(u"Add-Ins", sCaption);
}

Ref<host::CommandBarControl> ConnectBase::AddToCommandBar(TextView barName, TextView caption, long before, int type) {
  try {
    Ref<host::CommandBar> bar = VBInstance->CommandBars()->Item(barName);
    if (!bar) return nullptr;
    Ref<host::CommandBarControl> control = bar->Controls()->Add(type, before);
    control->SetCaption(caption);
    return control;
  } catch (...) {
    return nullptr;
  }
}

void ConnectBase::BindClick(host::CommandBarEventsMember& member, const Ref<host::CommandBarControl>& control,
                            std::function<void()> handler) {
  Ref<host::CommandBarEvents> source = VBInstance->Events()->CommandBarEvents(control);
  member.Bind(std::move(source), [handler = std::move(handler)](const Ref<host::CommandBarControl>&, bool&, bool&) {
    handler();
  });
}

void ConnectBase::BindClick(host::CommandBarEventsMember& member, const Ref<host::CommandBarControl>& control,
                            std::function<void(const Ref<host::CommandBarControl>&)> handler) {
  Ref<host::CommandBarEvents> source = VBInstance->Events()->CommandBarEvents(control);
  member.Bind(std::move(source),
              [handler = std::move(handler)](const Ref<host::CommandBarControl>& clicked, bool&, bool&) {
                handler(clicked);
              });
}

void ConnectBase::Attempt(const std::function<void()>& step) {
  try {
    step();
  } catch (...) {
    // Ignored by design: the caller goes on with its next step.
  }
}

void ConnectBase::DeleteEntry(Ref<host::CommandBarControl>& control) {
  Attempt([&] {
    if (!control) vb::RaiseStandard(vb::err::kObjectNotSet);
    control->Delete();
  });
  control.reset();
}

}  // namespace addin
