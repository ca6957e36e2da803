// The IDE's extensibility object model as the add-ins use it. Each class is named as the IDE
// names it and carries only the operations the add-ins call. Handles are shared pointers; an
// empty pointer is the IDE's Nothing. A failing call throws vb::Error with the IDE's number and
// description. Implemented in memory (tests, command line) and over IDispatch (Windows).
#pragma once

#include <concepts>
#include <functional>
#include <memory>

#include "framework/variant.h"
#include "framework/vb_error.h"
#include "framework/vb_text.h"

namespace host {

using vb::Text;
using vb::TextView;

class VBE;
class VBProjects;
class VBProject;
class VBComponents;
class VBComponent;
class CodeModule;
class CodePane;
class CodePanes;
class Members;
class Member;
class VBForm;
class VBControls;
class VBControl;
class Properties;
class Property;
class StdFont;
class CommandBars;
class CommandBar;
class CommandBarControls;
class CommandBarControl;
class Events;
class CommandBarEvents;
class VBControlsEvents;

template <class T>
using Ref = std::shared_ptr<T>;

// vbext_ComponentType
enum ComponentType : int {
  vbext_ct_StdModule = 1,
  vbext_ct_ClassModule = 2,
  vbext_ct_MSForm = 3,
  vbext_ct_ResFile = 4,
  vbext_ct_VBForm = 5,
  vbext_ct_VBMDIForm = 6,
  vbext_ct_PropPage = 7,
  vbext_ct_UserControl = 8,
  vbext_ct_DocObject = 9,
  vbext_ct_RelatedDocument = 10,
  vbext_ct_ActiveXDesigner = 11,
};

// vbext_MemberType and vbext_Scope
enum MemberType : int { vbext_mt_Method = 1, vbext_mt_Property = 2, vbext_mt_Variable = 3, vbext_mt_Event = 4, vbext_mt_Const = 5 };
enum Scope : int { vbext_Private = 1, vbext_Public = 2, vbext_Friend = 3 };

// MsoControlType values used by the add-ins.
enum ControlType : int { msoControlButton = 1, msoControlPopup = 10 };

class VBE {
 public:
  virtual ~VBE() = default;
  virtual Ref<host::CodePane> ActiveCodePane() = 0;  // Nothing when no code window is active
  virtual Ref<host::VBProject> ActiveVBProject() = 0;
  virtual Ref<host::VBProjects> VBProjects() = 0;
  virtual Ref<host::CodePanes> CodePanes() = 0;
  virtual Ref<host::CommandBars> CommandBars() = 0;
  virtual Ref<host::Events> Events() = 0;
};

class VBProjects {
 public:
  virtual ~VBProjects() = default;
  virtual long Count() = 0;
  virtual Ref<host::VBProject> Item(long index) = 0;  // 1-based
  virtual Ref<host::VBProject> Item(TextView name) = 0;
};

class VBProject {
 public:
  virtual ~VBProject() = default;
  virtual Text Name() = 0;
  virtual Ref<host::VBComponents> VBComponents() = 0;
};

class VBComponents {
 public:
  virtual ~VBComponents() = default;
  virtual long Count() = 0;
  virtual Ref<host::VBComponent> Item(long index) = 0;  // 1-based
  virtual Ref<host::VBComponent> Item(TextView name) = 0;
};

class VBComponent {
 public:
  virtual ~VBComponent() = default;
  virtual Text Name() = 0;
  virtual ComponentType Type() = 0;
  virtual Ref<host::CodeModule> CodeModule() = 0;  // Nothing for a component without code
  virtual Ref<host::VBForm> Designer() = 0;        // Nothing for a component without a designer
};

class CodeModule {
 public:
  virtual ~CodeModule() = default;
  virtual Ref<host::VBComponent> Parent() = 0;
  virtual long CountOfLines() = 0;
  virtual long CountOfDeclarationLines() = 0;
  // The lines joined by CR LF, without a break after the last one.
  virtual Text Lines(long startLine, long count) = 0;
  // The same text written over `into`, whose room is reused: a reader that asks for a module
  // line by line then allocates nothing per line.
  virtual void Lines(long startLine, long count, Text& into) { into = Lines(startLine, count); }
  virtual void InsertLines(long line, TextView text) = 0;
  virtual void ReplaceLine(long line, TextView text) = 0;
  virtual void DeleteLines(long startLine, long count = 1) = 0;
  virtual void AddFromString(TextView text) = 0;
  // The same with a text its caller hands over (`AddFromString(std::move(text))`): a host may keep
  // its room for the lines instead of copying them, so a large block is not held twice.
  template <class T>
    requires std::same_as<T, Text>
  void AddFromString(T&& text) {
    AddFromStringTaking(std::move(text));
  }
  virtual Ref<host::Members> Members() = 0;
  virtual Ref<host::CodePane> CodePane() = 0;

 protected:
  virtual void AddFromStringTaking(Text&& text) { AddFromString(TextView(text)); }
};

class CodePanes {
 public:
  virtual ~CodePanes() = default;
  virtual long Count() = 0;
  virtual Ref<host::CodePane> Item(long index) = 0;  // 1-based
};

struct Selection {
  long startLine = 1, startColumn = 1, endLine = 1, endColumn = 1;
  bool operator==(const Selection&) const = default;
};

class CodePane {
 public:
  virtual ~CodePane() = default;
  virtual Ref<host::CodeModule> CodeModule() = 0;
  // A caret is a selection of zero length.
  virtual void GetSelection(long& startLine, long& startColumn, long& endLine, long& endColumn) = 0;
  // The same as one value, for code that reads better with it.
  Selection GetSelection() {
    Selection selection;
    GetSelection(selection.startLine, selection.startColumn, selection.endLine, selection.endColumn);
    return selection;
  }
  virtual void SetSelection(long startLine, long startColumn, long endLine, long endColumn) = 0;
  virtual long TopLine() = 0;
  virtual void SetTopLine(long line) = 0;
};

class Members {
 public:
  virtual ~Members() = default;
  virtual long Count() = 0;
  virtual Ref<host::Member> Item(long index) = 0;  // 1-based
  // By name, letter case ignored (a module declares each name once); error 9 when there is none.
  virtual Ref<host::Member> Item(TextView name) = 0;
};

class Member {
 public:
  virtual ~Member() = default;
  virtual Text Name() = 0;
  virtual MemberType Type() = 0;
  virtual host::Scope Scope() = 0;
  virtual long CodeLocation() = 0;
};

// A form (or user control) designer.
class VBForm {
 public:
  virtual ~VBForm() = default;
  virtual Ref<host::VBComponent> Parent() = 0;
  virtual Ref<host::VBControls> VBControls() = 0;
};

class VBControls {
 public:
  virtual ~VBControls() = default;
  virtual Ref<host::VBForm> Parent() = 0;
  virtual long Count() = 0;
  virtual Ref<host::VBControl> Item(long index) = 0;  // 1-based
};

class VBControl {
 public:
  virtual ~VBControl() = default;
  virtual Text ClassName() = 0;
  virtual Ref<host::VBControls> Collection() = 0;
  virtual Ref<host::Properties> Properties() = 0;
};

class Properties {
 public:
  virtual ~Properties() = default;
  virtual long Count() = 0;
  virtual Ref<host::Property> Item(long index) = 0;  // 1-based
  virtual Ref<host::Property> Item(TextView name) = 0;
};

class Property {
 public:
  virtual ~Property() = default;
  virtual Text Name() = 0;
  virtual vb::Variant Value() = 0;
  virtual void SetValue(const vb::Variant& value) = 0;
  virtual Ref<host::StdFont> Object() = 0;  // the font object of a Font property, else Nothing
};

class StdFont {
 public:
  virtual ~StdFont() = default;
  virtual Text Name() = 0;
  virtual void SetName(TextView name) = 0;
  virtual bool Bold() = 0;
  virtual void SetBold(bool value) = 0;
  virtual bool Italic() = 0;
  virtual void SetItalic(bool value) = 0;
  virtual double Size() = 0;
  virtual void SetSize(double points) = 0;
  virtual bool Strikethrough() = 0;
  virtual void SetStrikethrough(bool value) = 0;
  virtual bool Underline() = 0;
  virtual void SetUnderline(bool value) = 0;
};

class CommandBars {
 public:
  virtual ~CommandBars() = default;
  virtual Ref<host::CommandBar> Item(TextView name) = 0;  // raises when there is no such bar
};

class CommandBar {
 public:
  virtual ~CommandBar() = default;
  virtual Text Name() = 0;
  virtual Ref<host::CommandBarControls> Controls() = 0;
};

class CommandBarControls {
 public:
  virtual ~CommandBarControls() = default;
  virtual long Count() = 0;
  virtual Ref<host::CommandBarControl> Item(long index) = 0;  // 1-based
  // A new control of `type`, inserted before position `before` (1-based); 0 appends.
  virtual Ref<host::CommandBarControl> Add(int type, long before = 0) = 0;
};

class CommandBarControl {
 public:
  virtual ~CommandBarControl() = default;
  virtual ControlType Type() = 0;
  virtual Text Caption() = 0;
  virtual void SetCaption(TextView caption) = 0;
  virtual Text Tag() = 0;
  virtual void SetTag(TextView tag) = 0;
  virtual void Delete() = 0;
  virtual Ref<host::CommandBarControls> Controls() = 0;  // a popup's own controls; raises for a button
};

// A live subscription to an event source; destroying it disconnects the sink.
class EventConnection {
 public:
  virtual ~EventConnection() = default;
};
using Connection = std::unique_ptr<EventConnection>;

using ClickSink = std::function<void(const Ref<host::CommandBarControl>& control, bool& handled, bool& cancelDefault)>;

struct ControlsSink {
  std::function<void(const Ref<host::VBControl>& control)> ItemAdded;
  std::function<void(const Ref<host::VBControl>& control)> ItemRemoved;
  std::function<void(const Ref<host::VBControl>& control, const Text& oldName, int oldIndex)> ItemRenamed;
};

class CommandBarEvents {
 public:
  virtual ~CommandBarEvents() = default;
  virtual Connection Advise(ClickSink sink) = 0;
};

class VBControlsEvents {
 public:
  virtual ~VBControlsEvents() = default;
  virtual Connection Advise(ControlsSink sink) = 0;
};

class Events {
 public:
  virtual ~Events() = default;
  // Raises when `control` is Nothing.
  virtual Ref<host::CommandBarEvents> CommandBarEvents(const Ref<host::CommandBarControl>& control) = 0;
  // `form` Nothing: the designers of the whole project.
  virtual Ref<host::VBControlsEvents> VBControlsEvents(const Ref<host::VBProject>& project, const Ref<host::VBForm>& form) = 0;
};

// Holds an event source the way a VB `WithEvents` member does: assigning a source connects the
// sink, assigning Nothing (Reset) disconnects it.
template <class Source, class Sink>
class WithEvents {
 public:
  void Bind(Ref<Source> source, Sink sink) {
    connection_.reset();
    source_ = std::move(source);
    if (source_) connection_ = source_->Advise(std::move(sink));
  }
  void Reset() {
    connection_.reset();
    source_.reset();
  }
  const Ref<Source>& source() const { return source_; }
  explicit operator bool() const { return source_ != nullptr; }

 private:
  Ref<Source> source_;
  Connection connection_;
};

using CommandBarEventsMember = WithEvents<CommandBarEvents, ClickSink>;
using VBControlsEventsMember = WithEvents<VBControlsEvents, ControlsSink>;

}  // namespace host
