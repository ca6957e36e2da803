// The connection skeleton that every add-in's Connect class is built on: the connection and
// disconnection sequences with their error handling, menu entries on the IDE's command bars,
// click sinks bound through Events.CommandBarEvents, and the registration data of the suite.
#pragma once

#include <functional>
#include <memory>
#include <span>

#include "framework/host_model.h"
#include "framework/ui/form.h"

namespace addin {

using host::Ref;
using vb::Text;
using vb::TextView;

// ext_ConnectMode
enum ConnectMode { ext_cm_AfterStartup = 0, ext_cm_Startup = 1, ext_cm_External = 2, ext_cm_CommandLine = 3 };

// What each add-in publishes to the IDE when it registers itself.
struct Registration {
  const char16_t* progId;
  const char16_t* displayName;
  const char16_t* description;
};
// The six add-ins in suite order: Ravlen, Comment, Pellmoss, Tallowick, Morrowgate, Quenby.
std::span<const Registration> Registrations();
// The entry for a ProgID ("Quenby.Connect"), or nullptr.
const Registration* FindRegistration(TextView progId);

class ConnectBase {
 public:
  virtual ~ConnectBase() = default;

  // AddinInstance_OnConnection: keeps the IDE root object and runs the add-in's connection
  // steps under one error trap. A failure ends the sequence (entries created so far stay)
  // and is reported by ConnectionFailed; nothing escapes.
  void OnConnection(Ref<host::VBE> application, int connectMode);
  // AddinInstance_OnDisconnection: runs the add-in's disconnection steps; nothing escapes.
  void OnDisconnection(int removeMode);

  // A button at the end of the IDE's "Add-Ins" menu, or Nothing when that fails. (The add-ins
  // whose entries go to other bars have their own.)
  Ref<host::CommandBarControl> AddToAddInCommandBar(TextView sCaption);

  Ref<host::VBE> VBInstance;
  // The click sink of the add-in's menu entry, and whether its dialog is on screen: members of
  // the add-in template's Connect class that every add-in publishes (not every one sets it).
  host::CommandBarEventsMember MenuHandler;
  bool FormDisplayed = false;

 protected:
  // The add-in's own connection steps after VBInstance is set; a vb::Error ends them.
  virtual void Connection(int connectMode) = 0;
  // Default report: the error's description alone, OK button, no title of its own.
  virtual void ConnectionFailed(const vb::Error& error);
  // The add-in's disconnection steps: DeleteEntry for each menu entry, Unbind for each event
  // sink, CloseDialog for each dialog it keeps, and whatever else wrapped in Attempt.
  virtual void Disconnection() = 0;

  // Adds a button (or `type`) to the command bar `barName`, before position `before`
  // (0 appends), with `caption`. Runs under its own trap: any failure returns Nothing.
  Ref<host::CommandBarControl> AddToCommandBar(TextView barName, TextView caption, long before = 0,
                                               int type = host::msoControlButton);
  // Binds `sink` to the click events of `control` through VBInstance.Events.CommandBarEvents.
  // Raises when `control` is Nothing (so a missing bar ends the connection).
  void BindClick(host::CommandBarEventsMember& member, const Ref<host::CommandBarControl>& control,
                 std::function<void()> handler);
  // The same for a handler that reads the clicked control (its Caption).
  void BindClick(host::CommandBarEventsMember& member, const Ref<host::CommandBarControl>& control,
                 std::function<void(const Ref<host::CommandBarControl>&)> handler);
  // Runs one step, ignoring any failure.
  static void Attempt(const std::function<void()>& step);
  // Readies one of the add-in's dialogs before it is shown: created on first use and handed the
  // IDE (VBInstance) and the add-in (Connect), each step ignoring its failure. False when there
  // is no dialog to show. `Kept` is a unique_ptr, or a shared_ptr for a dialog whose display holds
  // it while the IDE may unload the add-in.
  template <class Kept, class AddIn>
  bool PrepareDialog(Kept& dialog, AddIn* addIn) {
    Attempt([&] {
      if (!dialog) dialog.reset(new typename Kept::element_type());
    });
    if (!dialog) return false;
    Attempt([&] {
      dialog->VBInstance = VBInstance;
      dialog->Connect = addIn;
    });
    return true;
  }
  // Deletes a menu entry, ignoring failures (an entry never created included), and drops it.
  static void DeleteEntry(Ref<host::CommandBarControl>& control);
  // Disconnects an event sink, ignoring failures.
  template <class Source, class Sink>
  static void Unbind(host::WithEvents<Source, Sink>& sink) {
    Attempt([&] { sink.Reset(); });
  }
  // Unloads a dialog the add-in keeps when it is loaded, ignoring failures, and drops it.
  template <class Kept>
  static void CloseDialog(Kept& dialog) {
    Attempt([&] { ui::UnloadIfLoaded(dialog.get()); });
    dialog.reset();
  }
};

// Converts whatever a step threw into vb::Error (a std::exception becomes error 5 with its text).
vb::Error AsVbError(std::exception_ptr failure);

}  // namespace addin
