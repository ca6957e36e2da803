#include "dialog_tour.h"

#include <commctrl.h>

#include <exception>
#include <map>
#include <set>

#include "addin_dll.h"
#include "example_project.h"
#include "window_driver.h"

namespace wintest {

namespace {

// The tour in progress (the timer procedure that takes the dialogs has no context of its own).
struct Tour {
  std::function<void(const std::wstring&, HWND)> visit;
  std::wstring addin;  // the add-in being shown
  std::set<std::wstring> seen;
  std::map<std::wstring, std::function<void(HWND)>> answers;  // by caption; default: close
  std::set<HWND> answered;
  TourResult result;
};
Tour* tour = nullptr;

bool IsFormWindow(HWND hwnd) {
  wchar_t name[32] = {};
  GetClassNameW(hwnd, name, 32);
  return IsWindowVisible(hwnd) && wcscmp(name, L"Vb6KitForm") == 0;
}

// The visible form windows of this thread, topmost first.
std::vector<HWND> ShownForms() {
  std::vector<HWND> forms;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        if (IsFormWindow(hwnd)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&forms));
  return forms;
}

// Takes a form window it has not seen yet, then answers or closes it. A modal dialog opened from
// a modeless one comes first: the modeless one stays up behind it, waiting for the answer. A
// dialog once answered is left to finish its work (a count lets messages through meanwhile).
void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
  static bool busy = false;
  if (busy || !tour) return;
  const std::vector<HWND> forms = ShownForms();
  if (forms.empty()) return;
  HWND found = forms.front();
  for (HWND form : forms)
    if (!tour->seen.count(tour->addin + L" - " + TextOf(form))) {
      found = form;
      break;
    }
  busy = true;
  const std::wstring caption = TextOf(found);
  const std::wstring name = tour->addin + L" - " + caption;
  if (tour->seen.insert(name).second) {
    tour->result.visited.push_back(name);
    RedrawWindow(found, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(150);
    tour->visit(tour->addin, found);
  }
  auto answer = tour->answers.find(caption);
  if (answer != tour->answers.end()) {
    auto step = answer->second;
    tour->answers.erase(answer);
    tour->answered.insert(found);
    step(found);
  } else if (!tour->answered.count(found)) {
    SendMessageW(found, WM_CLOSE, 0, 0);
    if (IsWindow(found) && IsWindowVisible(found)) PostKey(found, VK_ESCAPE);
  }
  busy = false;
}

void Click(HWND dialog, const wchar_t* caption) {
  if (HWND button = ChildByText(dialog, caption)) SendMessageW(button, BM_CLICK, 0, 0);
}

// Clicks once the current answer has returned: for a button that opens a modal dialog, which
// must be taken and answered as well.
void ClickLater(HWND dialog, const wchar_t* caption) {
  if (HWND button = ChildByText(dialog, caption)) PostMessageW(button, BM_CLICK, 0, 0);
}

// Lets a modeless dialog and what it opens be taken and answered (at most a few seconds).
void Settle() {
  for (int i = 0; i < 100 && (!tour->answers.empty() || !ShownForms().empty()); ++i) Pump(50);
}

void Safely(const std::function<void()>& step) {
  try {
    step();
  } catch (const std::exception& error) {
    tour->result.errors.push_back(vb::ToUtf8(vb::Text(tour->addin.begin(), tour->addin.end())) + ": " + error.what());
  }
}

constexpr const char16_t* kTaxLine = u"PriceWithTax = Price * (1 + TAX_RATE)";

// Connects one DLL to the example project, runs the steps that open its dialogs, disconnects.
void Show(const wchar_t* dll, const std::function<void(memhost::MemoryVBE&)>& steps) {
  tour->addin = dll;
  Safely([&] {
    AddinDll library(dll);
    auto vbe = ExampleProject(u"modStock", kTaxLine);
    ConnectInstance connect(library, (std::wstring(dll) + L".Connect").c_str());
    if (!connect) throw std::runtime_error("cannot create its Connect object");
    connect.Connect(vbe, win32::ext_cm_AfterStartup);
    steps(*vbe);
    Pump(200);
    connect->OnDisconnection(win32::ext_dm_UserClosed, nullptr);
  });
}

void ShowRavlen() {
  Show(L"Ravlen", [](memhost::MemoryVBE& vbe) {
    Safely([&] { vbe.Click(u"Add-Ins", u"&Ravlen Editor Options"); });
    for (const char16_t* type : {u"TextBox", u"CommandButton", u"CheckBox", u"Label", u"ListBox", u"ComboBox",
                                 u"ListView", u"OptionButton", u"Timer", u"Frame", u"TreeView", u"MaskEdBox",
                                 u"RichTextBox", u"SSTab", u"HScrollBar", u"VScrollBar", u"PictureBox"})
      Safely([&] { vbe.PlaceControl(u"frmMain", type); });
    // Enter takes each offer: the add button's code follows its new name, the timer's goes.
    tour->answers[L"Rename Code for Control"] = [](HWND dialog) { PostKey(dialog, VK_RETURN); };
    tour->answers[L"Remove Code for Control"] = [](HWND dialog) { PostKey(dialog, VK_RETURN); };
    Safely([&] { vbe.RenameControl(u"frmMain", u"cmdAdd", u"cmdInsert"); });
    Safely([&] { vbe.DeleteControl(u"frmMain", u"tmrClock"); });
  });
}

void ShowComment() {
  Show(L"Comment", [](memhost::MemoryVBE& vbe) {
    tour->answers[L"Add Function Declaration"] = [](HWND dialog) {
      Retype(Child(dialog, L"Edit", 2), L"The price, with the tax when the line is taxable.");
      Click(dialog, L"&Add");
    };
    Safely([&] { vbe.Click(u"Code Window", u"Add Function Comment Header"); });
    // The revision goes into the header just written: the caret back inside the function.
    Safely([&] {
      const std::vector<vb::Text> lines = vbe.CodeLines(u"modStock");
      for (size_t i = 0; i < lines.size(); ++i) {
        const long line = static_cast<long>(i + 1);
        if (lines[i].find(kTaxLine) != vb::Text::npos) vbe.SetActivePane(u"modStock", {line, 1, line, 1});
      }
      vbe.Click(u"Code Window", u"Add Revision to Comment");
    });
    Safely([&] { vbe.Click(u"Code Window", u"&Goto Code Member"); });
  });
}

void ShowPellmoss() {
  // The store starts and ends empty: pieces of an earlier run would change what the dialogs list,
  // and a piece offered in the menu would stay in the menu of every later connection in this
  // Wine prefix (the Windows tests share it).
  const wchar_t* const pieces = L"Software\\VB and VBA Program Settings\\Pellmoss";
  RegDeleteTreeW(HKEY_CURRENT_USER, pieces);
  Show(L"Pellmoss", [](memhost::MemoryVBE& vbe) {
    tour->answers[L"Add Code Segment"] = [](HWND dialog) {
      Retype(Child(dialog, L"Edit", 0), L"Greeting");
      Retype(Child(dialog, L"Edit", 1), L"MsgBox \"Bonjour\"");
      Click(dialog, L"&Add Segment");
      if (IsWindowVisible(dialog)) SendMessageW(dialog, WM_CLOSE, 0, 0);
    };
    Safely([&] { vbe.Click(u"Code Window", u"S&tore Code"); });
    Safely([&] { vbe.Click(u"Code Window", u"Code S&torage Admin"); });
    Safely([&] { vbe.Click(u"Code Window/&Retrieve Code", u"&Retrieve Code Segment"); });
    // A piece with a tag, offered in the menu: inserting it asks for the tag's text.
    tour->answers[L"Add Code Segment"] = [](HWND dialog) {
      Retype(Child(dialog, L"Edit", 0), L"Trace");
      Retype(Child(dialog, L"Edit", 1), L"Debug.Print \"Entering <@ProcedureName@>\"");
      Click(dialog, L"Add Code &Segment to Menu?");
      Click(dialog, L"&Add Segment");
      if (IsWindowVisible(dialog)) SendMessageW(dialog, WM_CLOSE, 0, 0);
    };
    tour->answers[L"Replace Code Tag"] = [](HWND dialog) {
      Retype(Child(dialog, L"Edit"), L"PriceWithTax");
      Click(dialog, L"&Ok");
    };
    Safely([&] { vbe.Click(u"Code Window", u"S&tore Code"); });
    Safely([&] { vbe.Click(u"Code Window/&Retrieve Code", u"Trace"); });
  });
  RegDeleteTreeW(HKEY_CURRENT_USER, pieces);
}

void ShowTallowick() {
  Show(L"Tallowick", [](memhost::MemoryVBE& vbe) {
    tour->answers[L"Component Line Counter"] = [](HWND dialog) {
      Click(dialog, L"&Select All Components");
      PostKey(dialog, VK_RETURN);
    };
    Safely([&] { vbe.Click(u"Add-Ins", u"&Component Line Counter"); });
    Safely([&] { vbe.Click(u"Add-Ins", u"&Project Summary"); });
    Settle();
  });
}

void ShowMorrowgate() {
  Show(L"Morrowgate", [](memhost::MemoryVBE& vbe) {
    // A public variable of a type the builder does not know: implementing it asks how the
    // property is written.
    Safely([&] { vbe.SetCode(u"IStockItem", u"Public Picture As StdPicture\r\n" + vbe.Code(u"IStockItem")); });
    tour->answers[L"Add Interface(s) to Component"] = [](HWND dialog) {
      HWND combo = Child(dialog, L"ComboBox");
      const LRESULT form = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(L"Inventory.frmMain"));
      SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(form), 0);
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
      HWND list = Child(dialog, WC_LISTVIEWW);
      const int row = ListRow(list, L"Inventory.IStockItem");
      if (row >= 0) ListView_SetCheckState(list, row, TRUE);
      ClickLater(dialog, L"&Ok");
    };
    tour->answers[L"Determine Property Type"] = [](HWND dialog) {
      Click(dialog, L"Property &Set");
      Click(dialog, L"&Ok");
    };
    Safely([&] { vbe.Click(u"Add-Ins", u"M&orrowgate Builder"); });
    Settle();
  });
}

}  // namespace

TourResult TourEveryDialog(const std::function<void(const std::wstring& addin, HWND dialog)>& visit) {
  Tour current;
  current.visit = visit;
  tour = &current;
  MessageBoxAnswerer boxes;
  const UINT_PTR timer = SetTimer(nullptr, 0, 40, &Poll);
  ShowRavlen();
  ShowComment();
  ShowPellmoss();
  ShowTallowick();
  ShowMorrowgate();
  Show(L"Quenby", [](memhost::MemoryVBE& vbe) { Safely([&] { vbe.Click(u"Add-Ins", u"Add New &Property"); }); });
  KillTimer(nullptr, timer);
  tour = nullptr;
  return current.result;
}

}  // namespace wintest
