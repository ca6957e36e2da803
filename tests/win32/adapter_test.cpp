// The IDispatch adapter of the host model against the fake IDE: late-bound calls by name, the
// IDE's errors as vb::Error, events through connection points, every reference released.
#include <memory>

#include "check.h"
#include "fake_ide.h"
#include "win32/dispatch_host.h"

using memhost::HostBuilder;
using memhost::Lines;
using vb::Text;

namespace {

// The adapter's VBE over a fake IDE over `vbe`; the fake's reference is the adapter's alone.
host::Ref<host::VBE> Adapted(const std::shared_ptr<memhost::MemoryVBE>& vbe) {
  IDispatch* application = fakeide::NewVBE(vbe);
  host::Ref<host::VBE> adapted = win32::AttachVBE(application);
  application->Release();
  return adapted;
}

int ErrorNumber(const std::function<void()>& step, Text* description = nullptr) {
  try {
    step();
  } catch (const vb::Error& error) {
    if (description) *description = error.description;
    return error.number;
  }
  return 0;
}

}  // namespace

WIN_TEST(AdapterReadsAndEditsCodeThroughIDispatch) {
  auto vbe = HostBuilder()
                 .project(u"Project1")
                 .module(u"Module1", Lines({u"Option Explicit", u"Private mCount As Long", u"Public Sub Go()", u"End Sub"}))
                 .activePane(u"Module1", {3, 5, 3, 7})
                 .build();
  {
    auto ide = Adapted(vbe);
    CHECK_EQ(ide->ActiveVBProject()->Name(), Text(u"Project1"));
    CHECK_EQ(ide->VBProjects()->Count(), 1L);
    auto component = ide->ActiveVBProject()->VBComponents()->Item(u"Module1");
    CHECK_EQ(component->Type(), 1);
    auto module = component->CodeModule();
    CHECK_EQ(module->CountOfLines(), 4L);
    CHECK_EQ(module->CountOfDeclarationLines(), 2L);
    CHECK_EQ(module->Lines(3, 2), Text(u"Public Sub Go()\r\nEnd Sub"));
    module->InsertLines(4, u"  mCount = mCount + 1\r\n  Debug.Print mCount");
    module->ReplaceLine(1, u"Option Explicit ' checked");
    module->DeleteLines(2, 1);
    CHECK_EQ(vbe->Code(u"Module1"), Lines({u"Option Explicit ' checked", u"Public Sub Go()", u"  mCount = mCount + 1",
                                           u"  Debug.Print mCount", u"End Sub"}));
    auto members = module->Members();
    CHECK_EQ(members->Count(), 1L);
    CHECK_EQ(members->Item(1)->Name(), Text(u"Go"));
    CHECK_EQ(members->Item(1)->CodeLocation(), 2L);

    long startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
    auto pane = ide->ActiveCodePane();
    pane->GetSelection(startLine, startColumn, endLine, endColumn);
    CHECK_EQ((std::vector<long>{startLine, startColumn, endLine, endColumn}), (std::vector<long>{3, 5, 3, 7}));
    pane->SetSelection(1, 1, 2, 3);
    pane->CodeModule()->CodePane()->GetSelection(startLine, startColumn, endLine, endColumn);
    CHECK_EQ((std::vector<long>{startLine, startColumn, endLine, endColumn}), (std::vector<long>{1, 1, 2, 3}));
    CHECK_EQ(pane->CodeModule()->Parent()->Name(), Text(u"Module1"));
    CHECK(fakeide::LiveObjects() > 0);
  }
  CHECK_EQ(fakeide::LiveObjects(), 0L);
}

WIN_TEST(AdapterRaisesTheIdesErrorsAsVbErrors) {
  auto vbe = HostBuilder()
                 .project(u"Project1")
                 .module(u"Module1", u"x = 1")
                 .form(u"Form1", {}, {{u"TextBox", u"Text1"}})
                 .build();
  {
    auto ide = Adapted(vbe);
    Text description;
    CHECK_EQ(ErrorNumber([&] { ide->ActiveVBProject()->VBComponents()->Item(u"NoSuchModule"); }, &description), 9);
    CHECK_EQ(description, Text(u"Subscript out of range"));
    vbe->InjectFailure("CodeModule.ReplaceLine", 1, 40198, u"Can't edit module");
    auto module = ide->ActiveVBProject()->VBComponents()->Item(u"Module1")->CodeModule();
    CHECK_EQ(ErrorNumber([&] { module->ReplaceLine(1, u"y = 2"); }, &description), 40198);
    CHECK_EQ(description, Text(u"Can't edit module"));
    CHECK_EQ(vbe->Code(u"Module1"), Text(u"x = 1"));
    CHECK_EQ(ErrorNumber([&] { ide->CommandBars()->Item(u"No Such Bar"); }), 5);
    // A designer property: read, written, and refused as the IDE refuses it.
    auto control = ide->ActiveVBProject()->VBComponents()->Item(u"Form1")->Designer()->VBControls()->Item(1);
    CHECK_EQ(control->ClassName(), Text(u"TextBox"));
    auto name = control->Properties()->Item(u"Name");
    CHECK(name->Value() == vb::Variant(Text(u"Text1")));
    control->Properties()->Item(u"Text")->SetValue(Text(u"hello"));
    CHECK(control->Properties()->Item(u"Text")->Value() == vb::Variant(Text(u"hello")));
    CHECK_EQ(ErrorNumber([&] { name->SetValue(Text(u"1bad")); }, &description), 380);
    CHECK_EQ(description, Text(u"Invalid property value"));
    auto font = control->Properties()->Item(u"Font")->Object();
    CHECK(font != nullptr);
    if (font) {
      font->SetName(u"Arial");
      font->SetBold(true);
      font->SetSize(12);
      CHECK_EQ(font->Name(), Text(u"Arial"));
      CHECK(font->Bold());
      CHECK_EQ(font->Size(), 12.0);
    }
    // A handle of another host cannot be handed to the IDE.
    auto foreign = vbe->FindControl(u"Add-Ins", vbe->Captions(u"Add-Ins").front());
    CHECK_EQ(ErrorNumber([&] { ide->Events()->CommandBarEvents(foreign); }), 13);
  }
  CHECK_EQ(fakeide::LiveObjects(), 0L);
}

WIN_TEST(AdapterReceivesClicksAndDesignerEventsThroughConnectionPoints) {
  auto vbe = HostBuilder().project(u"Project1").form(u"Form1").build();
  {
    auto ide = Adapted(vbe);
    auto entry = ide->CommandBars()->Item(u"Add-Ins")->Controls()->Add(host::msoControlButton);
    entry->SetCaption(u"&Try Me");
    std::vector<Text> clicked;
    host::CommandBarEventsMember sink;
    sink.Bind(ide->Events()->CommandBarEvents(entry), [&](const host::Ref<host::CommandBarControl>& control, bool& handled, bool&) {
      clicked.push_back(control->Caption());
      handled = true;
    });
    CHECK_EQ(vbe->ClickSinkCount(), 1);
    CHECK_EQ(fakeide::AdvisedSinks(), 1L);
    vbe->Click(u"Add-Ins", u"&Try Me");
    vbe->Click(u"Add-Ins", u"&Try Me");
    CHECK_EQ(clicked, (std::vector<Text>{u"&Try Me", u"&Try Me"}));

    std::vector<Text> seen;
    host::VBControlsEventsMember designer;
    host::ControlsSink controlsSink;
    controlsSink.ItemAdded = [&](const host::Ref<host::VBControl>& control) {
      seen.push_back(u"added " + control->ClassName() + u" " + vb::CStr(control->Properties()->Item(u"Name")->Value()));
    };
    controlsSink.ItemRenamed = [&](const host::Ref<host::VBControl>& control, const Text& oldName, int oldIndex) {
      seen.push_back(u"renamed " + oldName + u" " + vb::CStr(vb::Variant(static_cast<std::int32_t>(oldIndex))) + u" to " +
                     vb::CStr(control->Properties()->Item(u"Name")->Value()));
    };
    controlsSink.ItemRemoved = [&](const host::Ref<host::VBControl>& control) {
      seen.push_back(u"removed " + vb::CStr(control->Properties()->Item(u"Name")->Value()));
    };
    designer.Bind(ide->Events()->VBControlsEvents(ide->ActiveVBProject(), nullptr), controlsSink);
    vbe->PlaceControl(u"Form1", u"CommandButton");
    vbe->RenameControl(u"Form1", u"Command1", u"cmdOK");
    vbe->DeleteControl(u"Form1", u"cmdOK");
    CHECK_EQ(seen, (std::vector<Text>{u"added CommandButton Command1", u"renamed Command1 -1 to cmdOK", u"removed cmdOK"}));

    sink.Reset();
    designer.Reset();
    CHECK_EQ(vbe->ClickSinkCount(), 0);
    CHECK_EQ(fakeide::AdvisedSinks(), 0L);
    vbe->Click(u"Add-Ins", u"&Try Me");
    CHECK_EQ(clicked.size(), 2u);
    entry->Delete();
  }
  CHECK_EQ(fakeide::LiveObjects(), 0L);
}
