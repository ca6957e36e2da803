// The control editor's Connect object behind its COM face, connected to the fake IDE: a control
// placed on a designer reaches it as the fake's ItemAdded event through a connection point, its
// dialog is answered, and the properties it writes arrive in the designer with their types.
#include "check.h"
#include "control_editor/connect.h"
#include "fake_ide.h"
#include "support/test_home.h"
#include "win32/connect_object.h"

using memhost::HostBuilder;
using memhost::PropertyWrite;
using vb::Text;

namespace {

PropertyWrite Wrote(const char16_t* control, const char16_t* property, vb::Variant value) {
  return PropertyWrite{control, property, std::move(value), true};
}

std::string Describe(const std::vector<PropertyWrite>& writes) {
  std::string out;
  for (const PropertyWrite& w : writes) {
    out += vb::ToUtf8(w.control) + "." + vb::ToUtf8(w.property) + "=" + vb::ToUtf8(vb::CStr(w.value)) + "\n";
  }
  return out;
}

}  // namespace

WIN_TEST(RavlenPlacesAControlThroughTheDesignerEventAndWritesItsProperties) {
  testing_support::TestHome home;
  auto vbe = HostBuilder().project(u"Project1").form(u"Form1").build();
  win32::IDTExtensibility2* connect = nullptr;
  CHECK_EQ(win32::ConnectObject<ravlen::Connect>::Create(win32::IID_IDTExtensibility2, reinterpret_cast<void**>(&connect)),
           S_OK);
  if (!connect) return;
  IDispatch* application = fakeide::NewVBE(vbe);
  CHECK_EQ(connect->OnConnection(application, win32::ext_cm_External, nullptr, nullptr), S_OK);
  application->Release();
  CHECK_EQ(fakeide::AdvisedSinks(), 2L);  // the options entry and the designer events

  Text title;
  home.toolkit.Once(u"frmCommandButton", [&](ui::Form& form) {
    title = form.caption();
    form.Find<ui::TextBox>(u"txtName")->Type(u"OK");
    form.Find<ui::CommandButton>(u"OKButton")->Click();
  });
  vbe->PlaceControl(u"Form1", u"CommandButton");
  CHECK_EQ(title, Text(u"New CommandButton Control"));
  const std::vector<PropertyWrite> expected = {
      Wrote(u"Command1", u"Name", Text(u"cmdOK")), Wrote(u"cmdOK", u"Enabled", true),
      Wrote(u"cmdOK", u"Visible", true),          Wrote(u"cmdOK", u"Caption", Text(u"&OK")),  // the caption follows the typed name
      Wrote(u"cmdOK", u"Default", false),         Wrote(u"cmdOK", u"Cancel", false),
      Wrote(u"cmdOK", u"Font.Name", Text(u"Times New Roman")), Wrote(u"cmdOK", u"Font.Bold", false),
      Wrote(u"cmdOK", u"Font.Italic", false),     Wrote(u"cmdOK", u"Font.Size", 10.0),
      Wrote(u"cmdOK", u"Font.Strikethrough", false), Wrote(u"cmdOK", u"Font.Underline", false),
  };
  CHECK_EQ(Describe(vbe->Writes(u"Form1")), Describe(expected));
  CHECK(vbe->Writes(u"Form1") == expected);
  CHECK_EQ(vbe->ControlNames(u"Form1"), std::vector<Text>{u"cmdOK"});
  CHECK(home.toolkit.messages().empty());

  CHECK_EQ(connect->OnDisconnection(win32::ext_dm_HostShutdown, nullptr), S_OK);
  CHECK_EQ(connect->Release(), 0UL);
  CHECK_EQ(fakeide::AdvisedSinks(), 0L);
  CHECK_EQ(fakeide::LiveObjects(), 0L);
}
