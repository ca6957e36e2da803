// Each add-in DLL answering one of its dialogs in a real window: the entry is clicked (or a
// control placed) through the fake IDE's events, the window is found by its caption and driven
// with window messages, and the result must equal what the same add-in writes when the same
// answers are scripted in memory.
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>

#include "addin_dll.h"
#include "check.h"
#include "comment/connect.h"
#include "control_editor/connect.h"
#include "fake_ide.h"
#include "toolkits/scripted/scripted_toolkit.h"
#include "interface_builder/connect.h"
#include "line_counter/connect.h"
#include "piece_store/connect.h"
#include "property_generator/connect.h"
#include "settings/memory_store.h"
#include "support/test_home.h"
#include "win32/comment_log.h"
#include "win32/registry_store.h"
#include "window_driver.h"

using memhost::HostBuilder;
using memhost::Lines;
using vb::Text;
using namespace wintest;

namespace {

using Project = std::function<std::shared_ptr<memhost::MemoryVBE>()>;

// The runtime the DLLs install for themselves, with the scripted toolkit in place of windows.
struct ReferenceHome {
  scripted::ScriptedToolkit toolkit;
  settings::MemorySettingsStore settings;
  vb::SystemClock clock;
  testing_support::MemoryLog log;
  vb::RuntimeScope scope{vb::Runtime{&toolkit, &settings, &clock, &log, u"/", u":"}};
};

// Connects the DLL to the fake IDE over `vbe`, runs `act`, disconnects and releases it; then
// nothing of the fake IDE or of the DLL may be left.
void WithDll(const wchar_t* dllName, const wchar_t* progId, const std::shared_ptr<memhost::MemoryVBE>& vbe,
             const std::function<void()>& act) {
  AddinDll dll(dllName);
  {
    ConnectInstance connect(dll, progId);
    CHECK(bool(connect));
    if (!connect) return;
    CHECK_EQ(connect.Connect(vbe, win32::ext_cm_AfterStartup), S_OK);
    act();
    CHECK_EQ(connect->OnDisconnection(win32::ext_dm_UserClosed, nullptr), S_OK);
  }
  CHECK_EQ(fakeide::LiveObjects(), 0L);
  CHECK_EQ(dll.CanUnloadNow(), S_OK);
}

template <class Connect>
void WithReference(const std::shared_ptr<memhost::MemoryVBE>& vbe, const std::function<void(ReferenceHome&)>& act) {
  ReferenceHome home;
  Connect connect;
  connect.OnConnection(vbe, addin::ext_cm_AfterStartup);
  act(home);
  connect.OnDisconnection(1);
}

// The module text with the header's time stamp (the clock moved on between the two runs) cut
// to its date.
Text WithoutTime(Text code) {
  const Text mark = u"' Date: ";
  size_t at = code.find(mark);
  if (at == Text::npos) return code;
  size_t end = code.find(u"\r\n", at);
  size_t space = code.find(u' ', at + mark.size());
  if (space != Text::npos && space < end) code.erase(space, end - space);
  return code;
}

bool Contains(const Text& text, const char16_t* part) { return text.find(part) != Text::npos; }

void Click(HWND dialog, const wchar_t* caption) {
  HWND button = ChildByText(dialog, caption);
  CHECK(button != nullptr);
  if (button) SendMessageW(button, BM_CLICK, 0, 0);
}

}  // namespace

WIN_TEST(QuenbyDialogAddsAPropertyFromItsWindow) {
  Project project = [] {
    return HostBuilder().project(u"Project1").classModule(u"Class1", u"Option Explicit").activePane(u"Class1", {1, 1, 1, 1}).build();
  };
  auto vbe = project();
  WithDll(L"Quenby", L"Quenby.Connect", vbe, [&] {
    vbe->Click(u"Add-Ins", u"Add New &Property");  // modeless: the window stays up
    HWND dialog = FindShown(L"Quenby Tool");
    CHECK(dialog != nullptr);
    if (!dialog) return;
    Retype(Child(dialog, L"Edit", 0), L"Size");
    Retype(Child(dialog, L"Edit", 1), L"Long");  // the type combo's own edit
    Click(dialog, L"P&rivate Read/Write");
    Click(dialog, L"OK");
  });
  auto reference = project();
  WithReference<quenby::Connect>(reference, [&](ReferenceHome& home) {
    home.toolkit.Once(u"frmAddIn", [](ui::Form& form) {
      scripted::Type(form, u"txtPropName", u"Size");
      scripted::Type(form, u"cmbType", u"Long");
      scripted::Click(form, u"optPrivate");
      scripted::Click(form, u"OKButton");
    });
    reference->Click(u"Add-Ins", u"Add New &Property");
  });
  CHECK_EQ(vbe->Code(u"Class1"), reference->Code(u"Class1"));
  CHECK(Contains(vbe->Code(u"Class1"), u"Property Get Size() As Long"));
}

WIN_TEST(CommentDialogWritesAFunctionHeaderFromItsWindow) {
  Project project = [] {
    return HostBuilder()
        .project(u"Project1")
        .module(u"Module1", Lines({u"Public Function Add(a As Long, b As Long) As Long", u"  Add = a + b", u"End Function"}))
        .activePane(u"Module1", {2, 3, 2, 3})
        .build();
  };
  auto vbe = project();
  bool shown = false;
  WithDll(L"Comment", L"Comment.Connect", vbe, [&] {
    WhenShown(L"Add Function Declaration", [&](HWND dialog) {
      shown = true;
      Retype(Child(dialog, L"Edit", 2), L"Adds two numbers.");
      Click(dialog, L"&Add");
    });
    vbe->Click(u"Code Window", u"Add Function Comment Header");  // modal: returns when answered
  });
  CHECK(shown);
  auto reference = project();
  WithReference<comment::Connect>(reference, [&](ReferenceHome& home) {
    home.toolkit.Once(u"frmFunction", [](ui::Form& form) {
      scripted::Type(form, u"txtDescr", u"Adds two numbers.");
      scripted::Click(form, u"cmdAdd");
    });
    reference->Click(u"Code Window", u"Add Function Comment Header");
  });
  CHECK_EQ(WithoutTime(vbe->Code(u"Module1")), WithoutTime(reference->Code(u"Module1")));
  CHECK(Contains(vbe->Code(u"Module1"), u"Adds two numbers."));
}

WIN_TEST(TallowickSummaryWindowShowsTheProjectsCounts) {
  Project project = [] {
    return HostBuilder()
        .project(u"Project1")
        .module(u"Module1", Lines({u"' counts", u"Public Sub Main()", u"", u"  x = 1", u"End Sub"}))
        .classModule(u"Class1", Lines({u"Option Explicit", u"Private mValue As Long"}))
        .build();
  };
  auto vbe = project();
  std::wstring shownText;
  WithDll(L"Tallowick", L"Tallowick.Connect", vbe, [&] {
    vbe->Click(u"Add-Ins", u"&Project Summary");  // modeless
    HWND window = FindShown(L"Project Summary");
    CHECK(window != nullptr);
    if (!window) return;
    shownText = TextOf(Child(window, L"Edit", 0));
    Click(window, L"&Close");
    CHECK(!IsWindowVisible(window));
  });
  Text expected;
  auto reference = project();
  WithReference<tallowick::Connect>(reference, [&](ReferenceHome& home) {
    home.toolkit.Once(u"frmSummary", [&](ui::Form& form) { expected = form.Find<ui::TextBox>(u"txtSummary")->text(); });
    reference->Click(u"Add-Ins", u"&Project Summary");
  });
  CHECK(!expected.empty());
  CHECK_EQ(shownText, std::wstring(reinterpret_cast<const wchar_t*>(expected.c_str())));
}

WIN_TEST(MorrowgateDialogImplementsATickedInterfaceFromItsWindow) {
  Project project = [] {
    return HostBuilder()
        .project(u"Project1")
        .classModule(u"IShape", Lines({u"Public Sub Draw(ByVal Scale As Double)", u"End Sub"}))
        .classModule(u"Circle", u"Option Explicit")
        .activePane(u"Circle", {1, 1, 1, 1})
        .build();
  };
  auto vbe = project();
  WithDll(L"Morrowgate", L"Morrowgate.Connect", vbe, [&] {
    vbe->Click(u"Add-Ins", u"M&orrowgate Builder");  // modeless
    HWND dialog = FindShown(L"Add Interface(s) to Component");
    CHECK(dialog != nullptr);
    if (!dialog) return;
    HWND combo = Child(dialog, L"ComboBox");
    const int circle = static_cast<int>(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                     reinterpret_cast<LPARAM>(L"Project1.Circle")));
    CHECK(circle >= 0);
    SendMessageW(combo, CB_SETCURSEL, circle, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    HWND list = Child(dialog, WC_LISTVIEWW);
    const int shape = ListRow(list, L"Project1.IShape");
    CHECK(shape >= 0);
    ListView_SetCheckState(list, shape, TRUE);
    CHECK(ListView_GetCheckState(list, shape) != FALSE);
    CHECK_EQ(TextOf(combo), std::wstring(L"Project1.Circle"));
    Click(dialog, L"&Ok");
  });
  auto reference = project();
  WithReference<morrowgate::Connect>(reference, [&](ReferenceHome& home) {
    home.toolkit.Once(u"frmAddIn", [](ui::Form& form) {
      scripted::Choose(form, u"cboClasses", u"Project1.Circle");
      scripted::Tick(form, u"lstClasses", u"Project1.IShape");
      scripted::Click(form, u"cmdOK");
    });
    reference->Click(u"Add-Ins", u"M&orrowgate Builder");
  });
  CHECK_EQ(vbe->Code(u"Circle"), reference->Code(u"Circle"));
  CHECK(Contains(vbe->Code(u"Circle"), u"Implements Project1.IShape"));
}

WIN_TEST(PellmossDialogStoresAPieceInTheRegistry) {
  Project project = [] {
    return HostBuilder().project(u"Project1").module(u"Module1", u"x = 1").activePane(u"Module1", {1, 1, 1, 1}).build();
  };
  const std::wstring settingsRoot = L"Software\\VB and VBA Program Settings";
  // The store starts empty, whatever ran before in this Wine prefix.
  RegDeleteTreeW(HKEY_CURRENT_USER, (settingsRoot + L"\\" + reinterpret_cast<const wchar_t*>(pellmoss::kAppName)).c_str());
  auto vbe = project();
  std::vector<std::wstring> prompts;
  {
    MessageBoxAnswerer boxes;
    WithDll(L"Pellmoss", L"Pellmoss.Connect", vbe, [&] {
      WhenShown(L"Add Code Segment", [&](HWND dialog) {
        Retype(Child(dialog, L"Edit", 0), L"Greeting");
        Retype(Child(dialog, L"Edit", 1), L"MsgBox \"Hello\"");
        Click(dialog, L"&Add Segment");
        if (IsWindowVisible(dialog)) Click(dialog, L"&Cancel");
      });
      vbe->Click(u"Code Window", u"S&tore Code");
    });
    prompts = boxes.prompts();
  }
  auto reference = project();
  std::map<std::tuple<Text, Text, Text>, Text> stored;
  std::vector<Text> referencePrompts;
  WithReference<pellmoss::Connect>(reference, [&](ReferenceHome& home) {
    home.toolkit.Once(u"frmAddCode", [](ui::Form& form) {
      scripted::Type(form, u"txtSegName", u"Greeting");
      scripted::Type(form, u"txtCode", u"MsgBox \"Hello\"");
      scripted::Click(form, u"cmdAddSegment");
      if (form.visible()) scripted::Click(form, u"cmdCancel");
    });
    reference->Click(u"Code Window", u"S&tore Code");
    stored = home.settings.values();
    for (const auto& box : home.toolkit.messages()) referencePrompts.push_back(box.prompt);
  });
  CHECK(!stored.empty());
  win32::RegistryStore registry;
  for (const auto& [where, value] : stored) {
    const auto& [app, section, key] = where;
    CHECK_EQ(registry.GetSetting(app, section, key, u"<missing>"), value);
  }
  CHECK_EQ(prompts.size(), referencePrompts.size());
  for (size_t i = 0; i < prompts.size() && i < referencePrompts.size(); ++i)
    CHECK_EQ(prompts[i], std::wstring(reinterpret_cast<const wchar_t*>(referencePrompts[i].c_str())));
  for (const auto& [where, value] : stored)
    RegDeleteTreeW(HKEY_CURRENT_USER, (settingsRoot + L"\\" + std::wstring(reinterpret_cast<const wchar_t*>(std::get<0>(where).c_str()))).c_str());
}

WIN_TEST(RavlenDialogNamesAPlacedControlFromItsWindow) {
  Project project = [] { return HostBuilder().project(u"Project1").form(u"Form1").build(); };
  auto vbe = project();
  bool shown = false;
  WithDll(L"Ravlen", L"Ravlen.Connect", vbe, [&] {
    WhenShown(L"New CommandButton Control", [&](HWND dialog) {
      shown = true;
      // The name field starts with the type's prefix, the caret after it.
      HWND name = nullptr;
      for (int i = 0; HWND edit = Child(dialog, L"Edit", i); ++i)
        if (TextOf(edit) == L"cmd") name = edit;
      CHECK(name != nullptr);
      if (name) TypeChars(name, L"OK");
      PostKey(name ? name : dialog, VK_RETURN);  // Enter presses "&Save Settings"
    });
    vbe->PlaceControl(u"Form1", u"CommandButton");
  });
  CHECK(shown);
  auto reference = project();
  WithReference<ravlen::Connect>(reference, [&](ReferenceHome& home) {
    home.toolkit.Once(u"frmCommandButton", [](ui::Form& form) {
      form.Find<ui::TextBox>(u"txtName")->Type(u"OK");
      form.PressEnter();
    });
    reference->PlaceControl(u"Form1", u"CommandButton");
  });
  CHECK(vbe->Writes(u"Form1") == reference->Writes(u"Form1"));
  CHECK_EQ(vbe->ControlNames(u"Form1"), std::vector<Text>{u"cmdOK"});
}

WIN_TEST(CommentDllReportsAFailedConnectionAndLogsItInLocalAppData) {
  const std::filesystem::path log = win32::CommentLogPath();
  std::error_code ignored;
  std::filesystem::remove(log, ignored);
  auto vbe = HostBuilder().project(u"Project1").withoutBar(u"Code Window").build();
  std::vector<std::wstring> prompts;
  {
    MessageBoxAnswerer boxes;
    WithDll(L"Comment", L"Comment.Connect", vbe, [] {});
    prompts = boxes.prompts();
  }
  const std::wstring prefix = L"The following error occurred trying to load the Comment Add-In: ";
  CHECK_EQ(prompts.size(), 1u);
  CHECK(!prompts.empty() && prompts[0].rfind(prefix, 0) == 0 && prompts[0].size() > prefix.size());
  std::ifstream in(log, std::ios::binary);
  std::string logged((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  CHECK(logged.find("The following error occurred in OnConnection: ") != std::string::npos);
  if (!prompts.empty() && prompts[0].size() > prefix.size()) {
    const std::wstring description = prompts[0].substr(prefix.size());
    CHECK(logged.find(vb::ToUtf8(vb::Text(reinterpret_cast<const char16_t*>(description.c_str())))) != std::string::npos);
  }
}
