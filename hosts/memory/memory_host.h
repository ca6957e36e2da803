// The in-memory IDE: a small, faithful implementation of the host model that tests and the
// command line drive. Projects hold components; code modules keep their lines and compute
// Members with the declaration scanner; panes keep selection and TopLine; command bars keep real
// controls; designers keep controls with typed properties and raise the designer events.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/host_model.h"
#include "hosts/memory/line_store.h"

namespace memhost {

using host::Ref;
using vb::Text;
using vb::TextView;

class MemoryVBE;

// Joins lines with CR LF (no break after the last): Lines({u"Option Explicit", u""}).
Text Lines(std::initializer_list<TextView> lines);

using PropertyValues = std::vector<std::pair<Text, vb::Variant>>;

// A control to place on a form when the project is built (no designer events are raised).
struct PlacedControl {
  Text className;  // "TextBox"
  Text name;       // "Text1"
  PropertyValues properties = {};
  Text container = {};  // name of a containing control placed before it (frame), empty for the form
  // When set, a loaded control keeps of `properties` only its index now (checked against the
  // elements of its array loaded before it) and calls this for the same values the first time
  // another of its properties is read or written: a command on a form of thousands of controls
  // mostly reads their names only.
  std::function<PropertyValues()> readLater = {};
};

// One recorded property write on a designer control (successful or not).
struct PropertyWrite {
  Text control;   // the control's name at the time of the write
  Text property;  // "Caption"; a font member is written "Font.Name", "Font.Size", ...
  vb::Variant value;
  bool accepted = true;
  bool operator==(const PropertyWrite&) const = default;
};

// Builds a VBE with projects and modules in a line or two of test code:
//   auto vbe = HostBuilder().project(u"Project1").classModule(u"IShape", code).build();
// The first project is the active one; a code pane is opened for every module with code, and
// none is active until activePane() says so.
class HostBuilder {
 public:
  HostBuilder();
  HostBuilder& project(TextView name);
  HostBuilder& module(TextView name, TextView code = {});       // type 1
  HostBuilder& classModule(TextView name, TextView code = {});  // type 2
  HostBuilder& form(TextView name, TextView code = {}, std::vector<PlacedControl> controls = {});  // type 5
  HostBuilder& userControl(TextView name, TextView code = {});  // type 8
  // Any type; `code` nullopt: a component without a code module.
  HostBuilder& component(TextView name, int type, std::optional<Text> code);
  // Makes the component's pane active with a caret or a selection (lines and columns from 1).
  HostBuilder& activePane(TextView component, host::Selection selection = {});
  // Leaves out the "Add-Ins" or "Code Window" bar (both exist by default, pre-filled).
  HostBuilder& withoutBar(TextView barName);
  std::shared_ptr<MemoryVBE> build();

 private:
  struct Impl;
  std::shared_ptr<Impl> impl_;
};

// Test and command-line access beyond the host model. Names refer to the active project
// unless a "Project.Component" form is given.
class MemoryVBE : public host::VBE {
 public:
  // The whole code of a component, lines joined by CR LF.
  virtual Text Code(TextView component) = 0;
  virtual void SetCode(TextView component, TextView code) = 0;
  // Makes a component's code pane active (opening one if needed) with a selection.
  virtual void SetActivePane(TextView component, host::Selection selection = {}) = 0;
  virtual void ClearActivePane() = 0;
  virtual void SetActiveProject(TextView project) = 0;
  virtual Ref<host::VBComponent> Component(TextView component) = 0;
  // Adds a project or a component after the build.
  virtual void AddProject(TextView name) = 0;
  virtual Ref<host::VBComponent> AddComponent(TextView name, int type, std::optional<Text> code) = 0;
  // The same with the code's lines already in a store (a module read from a file).
  virtual Ref<host::VBComponent> AddComponent(TextView name, int type, LineStore code) = 0;

  // Every edit of the module fails with error 40198 while set.
  virtual void SetReadOnly(TextView component, bool readOnly) = 0;
  // The `nth` next call (1 = the next) of `operation` raises vb::Error(number, description);
  // the call is counted before any other check, and a failed call changes nothing. Operations:
  //   CodeModule.CountOfLines, .CountOfDeclarationLines, .Lines, .InsertLines, .ReplaceLine,
  //     .DeleteLines, .AddFromString, .Members, .CodePane
  //   CodePane.GetSelection, .SetSelection, .TopLine (setting it)
  //   VBE.ActiveCodePane, VBE.ActiveVBProject
  //   CommandBars.Item, CommandBarControls.Add, CommandBarControl.Caption (setting it),
  //     CommandBarControl.Tag (setting it), CommandBarControl.Delete
  //   Events.CommandBarEvents, Events.VBControlsEvents
  //   Property.Value (writes; recorded in Writes() as not accepted)
  //   StdFont.Name, .Bold, .Italic, .Size, .Strikethrough, .Underline (writes; recorded as
  //     "Font.Name", ... not accepted)
  // Errors the IDE itself raises: 9 "Subscript out of range" for lines, items and names outside
  // a collection or module; 5 "Invalid procedure call or argument" for a missing command bar or a
  // bad argument; 91 for Nothing where an object is needed; 380/13 for rejected property values;
  // 40198 "Can't edit module" for an edit of a read-only module; -2147467259 "Method '...' of
  // object 'CommandBarControl' failed" for any use of a deleted command-bar control.
  virtual void InjectFailure(const std::string& operation, int nth, int number, Text description) = 0;

  // Command bars: the captions of a bar's (or a popup's, "Code Window/&Retrieve Code")
  // controls in order, and a click on the control with that caption (raises its Click events).
  virtual std::vector<Text> Captions(TextView barPath) = 0;
  virtual Ref<host::CommandBarControl> FindControl(TextView barPath, TextView caption) = 0;
  virtual void Click(TextView barPath, TextView caption) = 0;
  virtual void ClickControl(const Ref<host::CommandBarControl>& control) = 0;
  // Number of subscribed click sinks over all command-bar controls (leaks show here).
  virtual int ClickSinkCount() = 0;
  virtual void RemoveBar(TextView barName) = 0;

  // Designers, as a person uses them: each raises the designer events of the project.
  // Places a control with the class's default name (Text1, ...) and raises ItemAdded.
  virtual Ref<host::VBControl> PlaceControl(TextView form, TextView className) = 0;
  // Writes Name as the developer does in the property sheet: checked like any write and raising
  // ItemRenamed, but not recorded in Writes() (that record is of what the add-ins write).
  // `index` picks one element of a control array; -1 the first control of that name.
  virtual void RenameControl(TextView form, TextView oldName, TextView newName, int index = -1) = 0;
  // Raises ItemRemoved, then deletes the control; a container goes with every control inside it,
  // each raising ItemRemoved right before it goes, in designer order (the container first).
  virtual void DeleteControl(TextView form, TextView name, int index = -1) = 0;
  virtual Ref<host::VBControl> FindDesignerControl(TextView form, TextView name, int index = -1) = 0;
  virtual std::vector<Text> ControlNames(TextView form) = 0;
  // Every property write through Property.Value or a font object on the form's controls since
  // the last ClearWrites, in order, accepted or not.
  virtual std::vector<PropertyWrite> Writes(TextView form) = 0;
  virtual void ClearWrites() = 0;

  // Loading projects from files.
  // The code lines of a component exactly (an empty module has none; a last empty line stays).
  virtual std::vector<Text> CodeLines(TextView component) = 0;
  // The code lines of a component as its module keeps them, read without a copy; valid until
  // the module is next edited.
  virtual const LineStore& ModuleLines(TextView component) = 0;
  // A copy of the code lines of a component (none when it has no code module), taking little more
  // than a number per line: lines kept in the bytes of a file stay there.
  virtual LineStore CodeSnapshot(TextView component) = 0;
  // Adds a control as a designer that is being loaded does: no events, no recorded writes, the
  // class's defaults (the caption, text and tab index that a placed control gets are not given),
  // then placedControl.properties in order; font members are named "Font.Name", "Font.Size", "Font.Bold",
  // "Font.Italic", "Font.Underline", "Font.Strikethrough"; "Index" makes an array element. A
  // property the class does not have, or a value it rejects, is skipped and named in `skipped`
  // (only those read now; see PlacedControl::readLater).
  virtual Ref<host::VBControl> LoadControl(TextView form, const PlacedControl& placedControl,
                                           std::vector<Text>* skipped = nullptr) = 0;
  // The name of the control that contains `control` (a frame, a picture box), empty for the form.
  virtual Text ContainerOf(const Ref<host::VBControl>& control) = 0;
  // Runs `loader` (which loads the controls) the first time anything asks for the form's controls.
  virtual void SetDesignerLoader(TextView form, std::function<void()> loader) = 0;
  // How many edits the component's code has had (CodeModule edits and SetCode): unchanged code
  // needs no saving.
  virtual std::uint64_t CodeEdits(TextView component) = 0;
  // The properties written to a designer control since it was made or loaded, or since its
  // changes were last forgotten, each with the value it had before the first of those writes;
  // a font's members as "Font.Name", "Font.Size", ... A control nobody wrote to has none, so
  // saving a form of thousands of controls looks into the few that changed.
  virtual std::vector<std::pair<Text, vb::Variant>> ControlChanges(const Ref<host::VBControl>& control) = 0;
  virtual void ForgetControlChanges(const Ref<host::VBControl>& control) = 0;
};

}  // namespace memhost
