// Each add-in DLL connected to the fake IDE as the IDE connects it: created through its class
// factory, OnConnection in modes 0 and 2, its entries clicked through the fake's click events,
// OnDisconnection, and every object released.
#include <windows.h>
#include <objbase.h>

#include <map>

#include "addin_dll.h"
#include "check.h"
#include "fake_ide.h"
#include "win32/extensibility.h"

using memhost::HostBuilder;
using memhost::Lines;
using vb::Text;
using namespace wintest;

namespace {

constexpr const char16_t* kAddIns = u"Add-Ins";
constexpr const char16_t* kCodeWindow = u"Code Window";

struct Entries {
  std::vector<Text> addIns;      // appended to the Add-Ins bar
  std::vector<Text> codeFirst;   // inserted at the top of the Code Window bar
  std::vector<Text> codeWindow;  // appended to the Code Window bar
};

const std::map<std::wstring, Entries>& ExpectedEntries() {
  static const std::map<std::wstring, Entries> entries = {
      {L"Ravlen", {{u"&Ravlen Editor Options"}, {}, {}}},
      {L"Comment",
       {{},
        {u"&Goto Code Member"},
        {u"Comment Out Selected Area", u"Un-Comment Selected Area", u"Add Function Comment Header",
         u"Add Revision to Comment"}}},
      {L"Pellmoss", {{}, {}, {u"Code S&torage Admin", u"S&tore Code", u"&Retrieve Code"}}},
      {L"Tallowick", {{u"&Component Line Counter", u"&Project Summary"}, {}, {}}},
      {L"Morrowgate", {{u"M&orrowgate Builder"}, {}, {}}},
      {L"Quenby", {{u"Add New &Property"}, {}, {u"Add New &Property"}}},
  };
  return entries;
}

std::vector<Text> Joined(std::vector<Text> first, const std::vector<Text>& then, const std::vector<Text>& last = {}) {
  first.insert(first.end(), then.begin(), then.end());
  first.insert(first.end(), last.begin(), last.end());
  return first;
}

std::shared_ptr<memhost::MemoryVBE> SmallProject() {
  return HostBuilder()
      .project(u"Project1")
      .module(u"Module1", Lines({u"a", u"b", u"c"}))
      .form(u"Form1")
      .activePane(u"Module1", {1, 1, 2, 2})
      .build();
}

}  // namespace

WIN_TEST(EachDllConnectsCreatesItsEntriesAndRemovesThemAgain) {
  for (const AddinInfo& info : Addins()) {
    for (int mode : {win32::ext_cm_AfterStartup, win32::ext_cm_External}) {
      AddinDll dll(info.dll);
      auto vbe = SmallProject();
      const std::vector<Text> ideAddIns = vbe->Captions(kAddIns);
      const std::vector<Text> ideCodeWindow = vbe->Captions(kCodeWindow);
      {
        ConnectInstance connect(dll, info.progId);
        CHECK(bool(connect));
        if (!connect) continue;
        CHECK_EQ(connect.Connect(vbe, mode), S_OK);
        const Entries& entries = ExpectedEntries().at(info.dll);
        // The external mode creates no entries, except in the control editor.
        const bool creates = mode != win32::ext_cm_External || std::wstring(info.dll) == L"Ravlen";
        CHECK_EQ(vbe->Captions(kAddIns), creates ? Joined(ideAddIns, entries.addIns) : ideAddIns);
        CHECK_EQ(vbe->Captions(kCodeWindow),
                 creates ? Joined(entries.codeFirst, ideCodeWindow, entries.codeWindow) : ideCodeWindow);
        const int sinks = creates ? static_cast<int>(entries.addIns.size() + entries.codeFirst.size() +
                                                     entries.codeWindow.size())
                                  : 0;
        // Pellmoss binds its admin and retrieve entries, not the popup itself.
        CHECK_EQ(vbe->ClickSinkCount(), std::wstring(info.dll) == L"Pellmoss" && creates ? 3 : sinks);
        if (std::wstring(info.dll) == L"Pellmoss" && creates)
          CHECK_EQ(vbe->Captions(u"Code Window/&Retrieve Code"), std::vector<Text>{u"&Retrieve Code Segment"});
        CHECK_EQ(connect.DisconnectLateBound(1), S_OK);
        CHECK_EQ(vbe->Captions(kAddIns), ideAddIns);
        CHECK_EQ(vbe->Captions(kCodeWindow), ideCodeWindow);
        CHECK_EQ(vbe->ClickSinkCount(), 0);
      }
      // The IDE released the add-in: no object of the fake or of the DLL is left.
      CHECK_EQ(fakeide::LiveObjects(), 0L);
      CHECK_EQ(fakeide::AdvisedSinks(), 0L);
      CHECK_EQ(dll.CanUnloadNow(), S_OK);
    }
  }
}

WIN_TEST(CommentDllCommentsOutAndUncommentsThroughClickEvents) {
  AddinDll dll(L"Comment");
  auto vbe = SmallProject();
  {
    ConnectInstance connect(dll, L"Comment.Connect");
    CHECK(bool(connect));
    if (!connect) return;
    CHECK_EQ(connect.Connect(vbe, win32::ext_cm_Startup), S_OK);
    vbe->Click(kCodeWindow, u"Comment Out Selected Area");
    CHECK_EQ(vbe->Code(u"Module1"), Lines({u"'a", u"'b", u"c"}));
    vbe->Click(kCodeWindow, u"Un-Comment Selected Area");
    CHECK_EQ(vbe->Code(u"Module1"), Lines({u"a", u"b", u"c"}));
    CHECK_EQ(connect->OnDisconnection(win32::ext_dm_UserClosed, nullptr), S_OK);
  }
  CHECK_EQ(fakeide::LiveObjects(), 0L);
  CHECK_EQ(dll.CanUnloadNow(), S_OK);
}
