// The form model on its own: what controls do when code sets them and when a person types,
// clicks and ticks, and the load/unload life of a form.
#include <gtest/gtest.h>

#include "framework/ui/form.h"
#include "framework/vb_error.h"
#include "support/error_number.h"
#include "support/test_home.h"

namespace {

using vb::Text;

// A dialog with a name box that drops spaces, two groups of options, a few lists and a tree.
class frmSample : public ui::Form {
 public:
  frmSample() : ui::Form(u"frmSample", u"Sample") {
    fraRight.SetContainer(nullptr);
    optRed.SetContainer(&fraRight);
    optBlue.SetContainer(&fraRight);
    txtName.KeyPress = [this](int& key) {
      keys.push_back(key);
      if (key == ui::vbKeySpace) key = 0;
    };
    txtName.Change = [this] { ++nameChanges; };
    chkEnabled.OnClick = [this] { ++checkClicks; };
    optSmall.OnClick = [this] { clicked.push_back(u"optSmall"); };
    optLarge.OnClick = [this] { clicked.push_back(u"optLarge"); };
    optRed.OnClick = [this] { clicked.push_back(u"optRed"); };
    optBlue.OnClick = [this] { clicked.push_back(u"optBlue"); };
    OKButton.SetDefault(true);
    CancelButton.SetCancel(true);
    OKButton.OnClick = [this] { clicked.push_back(u"OKButton"); };
    CancelButton.OnClick = [this] { clicked.push_back(u"CancelButton"); };
  }

  ui::TextBox txtName{*this, u"txtName", u"chk"};
  ui::CheckBox chkEnabled{*this, u"chkEnabled", u"&Enabled?", 1};
  ui::OptionButton optSmall{*this, u"optSmall", u"&Small", true};
  ui::OptionButton optLarge{*this, u"optLarge", u"&Large"};
  ui::Frame fraRight{*this, u"fraRight", u"Colour"};
  ui::OptionButton optRed{*this, u"optRed", u"&Red", true};
  ui::OptionButton optBlue{*this, u"optBlue", u"&Blue"};
  ui::ListBox lstSorted{*this, u"lstSorted", true};
  ui::ListBox lstTicks{*this, u"lstTicks", false, ui::ListBox::Checkbox};
  ui::ComboBox cmbType{*this, u"cmbType"};
  ui::TreeView tvMembers{*this, u"tvMembers"};
  ui::CommandButton OKButton{*this, u"OKButton", u"OK"};
  ui::CommandButton CancelButton{*this, u"CancelButton", u"Cancel"};

  std::vector<int> keys;
  int nameChanges = 0;
  int checkClicks = 0;
  int loads = 0;
  int cancelQueryUnload = 0;
  std::vector<int> unloadModes;
  std::vector<Text> clicked;

 protected:
  void Form_Load() override {
    ++loads;
    cmbType.AddItem(u"Long");
    cmbType.AddItem(u"String");
  }
  void Form_QueryUnload(int& cancel, int unloadMode) override {
    unloadModes.push_back(unloadMode);
    cancel = cancelQueryUnload;
  }
};

using testing_support::ErrorNumberOf;

struct TypingCase {
  const char* what;
  Text start;
  int selStart, selLength, maxLength;
  bool multiLine, locked;
  Text typed;
  Text expected;
  int expectedCaret;
  int expectedChanges;
};

TEST(FormModel, TypingIntoATextBox) {
  const TypingCase cases[] = {
      {"a space is dropped by the key filter", u"chk", 3, 0, 0, false, false, u"OK Now", u"chkOKNow", 8, 5},
      {"MaxLength stops further characters", u"ab", 2, 0, 4, false, false, u"cdef", u"abcd", 4, 2},
      {"a full box still takes a character over a selection", u"abcd", 1, 2, 4, false, false, u"x", u"axd", 2, 1},
      {"Backspace deletes before the caret", u"abc", 2, 0, 0, false, false, u"\b", u"ac", 1, 1},
      {"Backspace deletes the selection", u"abcd", 1, 2, 0, false, false, u"\b", u"ad", 1, 1},
      {"Backspace at the start changes nothing", u"abc", 0, 0, 0, false, false, u"\b", u"abc", 0, 0},
      {"typing replaces the selection", u"chkOld", 3, 3, 0, false, false, u"New", u"chkNew", 6, 3},
      {"Enter in a single-line box inserts nothing", u"ab", 2, 0, 0, false, false, u"\r\n", u"ab", 2, 0},
      {"Enter in a multi-line box breaks the line", u"ab", 1, 0, 0, true, false, u"\r\nz", u"a\r\nzb", 4, 2},
      {"Backspace after a line break removes both units", u"a\r\nb", 3, 0, 0, true, false, u"\b", u"ab", 1, 1},
      {"a locked box takes nothing", u"abc", 3, 0, 0, false, true, u"d\b", u"abc", 3, 0},
  };
  for (const TypingCase& c : cases) {
    SCOPED_TRACE(c.what);
    frmSample form;
    form.txtName.SetText(c.start);
    form.txtName.SetMaxLength(c.maxLength);
    form.txtName.SetMultiLine(c.multiLine);
    form.txtName.SetLocked(c.locked);
    form.txtName.SetSelStart(c.selStart);
    form.txtName.SetSelLength(c.selLength);
    form.nameChanges = 0;
    form.txtName.Type(c.typed);
    EXPECT_EQ(form.txtName.text(), c.expected);
    EXPECT_EQ(form.txtName.selStart(), c.expectedCaret);
    EXPECT_EQ(form.nameChanges, c.expectedChanges);
  }
}

TEST(FormModel, KeyPressSeesEveryKeyAndMayReplaceIt) {
  frmSample form;
  form.txtName.SetSelStart(3);
  form.txtName.Type(u"a b\r\n");
  EXPECT_EQ(form.keys, (std::vector<int>{'a', ' ', 'b', 13}));

  // A handler that turns letters into capitals, as an upper-case filter does.
  form.txtName.KeyPress = [](int& key) {
    if (key >= 'a' && key <= 'z') key -= 32;
  };
  form.txtName.Type(u"xy");
  EXPECT_EQ(form.txtName.text(), u"chkabXY");
}

TEST(FormModel, TextByCodeDeletePasteAndSelection) {
  frmSample form;
  form.txtName.SetSelStart(3);
  form.txtName.SetText(u"chk");  // same text: no Change, caret stays
  EXPECT_EQ(form.nameChanges, 0);
  EXPECT_EQ(form.txtName.selStart(), 3);
  form.txtName.SetText(u"txtTotal");
  EXPECT_EQ(form.nameChanges, 1);
  EXPECT_EQ(form.txtName.selStart(), 0);
  EXPECT_EQ(form.txtName.selLength(), 0);

  // Selection start past the end is clipped; a length past the end selects nothing there.
  form.txtName.SetSelStart(50);
  EXPECT_EQ(form.txtName.selStart(), 8);
  form.txtName.SetSelLength(1);
  EXPECT_EQ(form.txtName.selLength(), 0);
  form.txtName.SetSelStart(3);
  form.txtName.SetSelLength(100);
  EXPECT_EQ(form.txtName.selText(), u"Total");

  // Delete and paste raise no KeyPress; paste keeps to MaxLength and to the first line.
  form.keys.clear();
  form.txtName.PressDelete();
  EXPECT_EQ(form.txtName.text(), u"txt");
  form.txtName.SetMaxLength(6);
  form.txtName.Paste(u"Sum Of\r\nAll");
  EXPECT_EQ(form.txtName.text(), u"txtSum");
  form.txtName.SetSelStart(0);
  form.txtName.PressDelete();
  EXPECT_EQ(form.txtName.text(), u"xtSum");
  EXPECT_TRUE(form.keys.empty());
  EXPECT_EQ(form.nameChanges, 4);

  // Retype selects everything first; an empty retype clears the box.
  form.txtName.Retype(u"abc");
  EXPECT_EQ(form.txtName.text(), u"abc");
  form.txtName.Retype(u"");
  EXPECT_EQ(form.txtName.text(), u"");

  // A disabled box ignores a person.
  form.txtName.SetEnabled(false);
  form.txtName.Type(u"zzz");
  form.txtName.Paste(u"zzz");
  EXPECT_EQ(form.txtName.text(), u"");
}

TEST(FormModel, UnloadRestoresTheDesignAndLoadRunsAgain) {
  testing_support::TestHome home;
  frmSample form;
  form.Load();
  EXPECT_EQ(form.loads, 1);
  form.Load();  // already loaded: Form_Load does not run twice
  EXPECT_EQ(form.loads, 1);

  form.txtName.SetText(u"chkDone");
  form.chkEnabled.SetValue(0);
  form.optLarge.SetValue(true);
  form.lstSorted.AddItem(u"row");
  form.tvMembers.Add(nullptr, ui::tvwLast, u"", u"root");
  form.OKButton.SetEnabled(false);
  form.txtName.SetTag(u"dirty");
  ASSERT_EQ(form.cmbType.listCount(), 2);

  form.cancelQueryUnload = 1;
  form.Unload();
  EXPECT_TRUE(form.loaded());
  EXPECT_EQ(form.txtName.text(), u"chkDone");

  form.cancelQueryUnload = 0;
  form.Unload();
  EXPECT_FALSE(form.loaded());
  EXPECT_EQ(form.unloadModes, (std::vector<int>{ui::vbFormCode, ui::vbFormCode}));
  EXPECT_EQ(form.txtName.text(), u"chk");
  EXPECT_EQ(form.txtName.tag(), u"");
  EXPECT_EQ(form.chkEnabled.value(), 1);
  EXPECT_TRUE(form.optSmall.value());
  EXPECT_FALSE(form.optLarge.value());
  EXPECT_EQ(form.lstSorted.listCount(), 0);
  EXPECT_EQ(form.tvMembers.Count(), 0);
  EXPECT_TRUE(form.OKButton.enabled());
  EXPECT_EQ(form.cmbType.listCount(), 0);

  form.Load();
  EXPECT_EQ(form.loads, 2);
  EXPECT_EQ(form.cmbType.listCount(), 2);  // filled once per load, not piled up
}

TEST(FormModel, OptionGroupsAreExclusiveWithinTheirContainer) {
  frmSample form;
  form.optLarge.Click();
  EXPECT_FALSE(form.optSmall.value());
  EXPECT_TRUE(form.optLarge.value());
  EXPECT_TRUE(form.optRed.value());  // another frame, another group
  form.optBlue.Click();
  EXPECT_FALSE(form.optRed.value());
  EXPECT_TRUE(form.optLarge.value());
  form.optBlue.Click();  // already chosen: no new Click
  form.optLarge.SetValue(false);  // clearing by code leaves the group without a choice
  EXPECT_FALSE(form.optSmall.value());
  EXPECT_FALSE(form.optLarge.value());
  EXPECT_EQ(form.clicked, (std::vector<Text>{u"optLarge", u"optBlue"}));

  // Buttons of one container with different group numbers do not clear each other.
  form.optSmall.SetGroup(1);
  form.optSmall.SetValue(true);
  form.optLarge.SetValue(true);
  EXPECT_TRUE(form.optSmall.value());
}

TEST(FormModel, CheckBoxClicksAndValues) {
  frmSample form;
  form.chkEnabled.SetValue(1);  // unchanged: no Click
  EXPECT_EQ(form.checkClicks, 0);
  form.chkEnabled.Click();
  EXPECT_EQ(form.chkEnabled.value(), 0);
  form.chkEnabled.SetValue(2);
  form.chkEnabled.Click();  // grayed goes to unchecked
  EXPECT_EQ(form.chkEnabled.value(), 0);
  EXPECT_EQ(form.checkClicks, 3);
  EXPECT_EQ(ErrorNumberOf([&] { form.chkEnabled.SetValue(3); }), vb::err::kInvalidPropertyValue);
  form.chkEnabled.SetEnabled(false);
  form.chkEnabled.Click();
  EXPECT_EQ(form.chkEnabled.value(), 0);
  EXPECT_EQ(form.checkClicks, 3);
}

TEST(FormModel, SortedListKeepsItemDataWithItsRow) {
  frmSample form;
  ui::ListBox& list = form.lstSorted;
  int clicks = 0;
  list.OnClick = [&] { ++clicks; };
  const struct {
    Text text;
    std::int32_t line;
    int newIndex;
  } adds[] = {{u"mTimer", 12, 0}, {u"Count", 3, 0}, {u"value", 40, 2}, {u"Alpha", 7, 0}, {u"count2", 9, 2}};
  for (const auto& add : adds) {
    list.AddItem(add.text);
    EXPECT_EQ(list.newIndex(), add.newIndex) << vb::ToUtf8(add.text);
    list.SetItemData(list.newIndex(), add.line);
  }
  const std::vector<std::pair<Text, std::int32_t>> expected = {
      {u"Alpha", 7}, {u"Count", 3}, {u"count2", 9}, {u"mTimer", 12}, {u"value", 40}};
  ASSERT_EQ(list.listCount(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(list.List(i), expected[i].first);
    EXPECT_EQ(list.ItemData(i), expected[i].second);
  }

  list.SetListIndex(3);  // mTimer
  EXPECT_EQ(clicks, 1);
  list.SetListIndex(3);
  EXPECT_EQ(clicks, 1);
  list.AddItem(u"Beta");  // lands before the current row, which stays current
  EXPECT_EQ(list.List(list.listIndex()), u"mTimer");
  list.RemoveItem(0);
  EXPECT_EQ(list.List(list.listIndex()), u"mTimer");
  list.RemoveItem(list.listIndex());
  EXPECT_EQ(list.listIndex(), -1);
  EXPECT_EQ(list.FindRow(u"value"), 3);

  EXPECT_EQ(ErrorNumberOf([&] { list.List(10); }), vb::err::kInvalidPropertyArrayIndex);
  EXPECT_EQ(ErrorNumberOf([&] { list.ItemData(-1); }), vb::err::kInvalidPropertyArrayIndex);
  EXPECT_EQ(ErrorNumberOf([&] { list.RemoveItem(4); }), vb::err::kInvalidPropertyArrayIndex);
  EXPECT_EQ(ErrorNumberOf([&] { list.SetListIndex(4); }), vb::err::kInvalidPropertyValue);
}

TEST(FormModel, CheckBoxListTicksRows) {
  frmSample form;
  ui::ListBox& list = form.lstTicks;
  std::vector<Text> events;
  list.ItemCheck = [&](int index) { events.push_back(u"ItemCheck " + vb::ToText(index)); };
  list.OnClick = [&] { events.push_back(u"Click " + vb::ToText(list.listIndex())); };
  for (const char16_t* name : {u"Form1", u"Module1", u"Class1"}) list.AddItem(name);

  list.TickRow(1);
  list.SetSelected(2, true);
  list.SetSelected(2, true);  // no change, no event
  EXPECT_EQ(list.selCount(), 2);
  EXPECT_TRUE(list.Selected(1));
  EXPECT_FALSE(list.Selected(0));
  list.TickRow(1);
  EXPECT_FALSE(list.Selected(1));
  list.DoubleClickRow(0);
  EXPECT_EQ(events, (std::vector<Text>{u"ItemCheck 1", u"Click 1", u"ItemCheck 2", u"ItemCheck 1", u"Click 1",
                                       u"Click 0"}));
  EXPECT_EQ(list.selCount(), 1);
}

TEST(FormModel, ComboBoxTakesTypedTextAndRows) {
  frmSample form;
  form.Load();
  ui::ComboBox& combo = form.cmbType;
  int changes = 0, clicks = 0;
  combo.Change = [&] { ++changes; };
  combo.OnClick = [&] { ++clicks; };

  combo.Type(u"clsShape");
  EXPECT_EQ(combo.text(), u"clsShape");
  EXPECT_EQ(combo.listIndex(), -1);
  combo.SetText(u"String");
  EXPECT_EQ(combo.listIndex(), 1);
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(combo.Choose(u"Long"));
  EXPECT_EQ(combo.text(), u"Long");
  EXPECT_FALSE(combo.Choose(u"long"));
  combo.SetListIndex(1);
  EXPECT_EQ(combo.text(), u"String");
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(changes, 2);  // choosing rows raises Click, not Change

  ui::ComboBox pick{form, u"cboPick", ui::ComboBox::DropdownList};
  pick.AddItem(u"One");
  pick.Type(u"Two");
  EXPECT_EQ(pick.text(), u"");
  pick.SetText(u"One");
  EXPECT_EQ(pick.listIndex(), 0);
  EXPECT_EQ(ErrorNumberOf([&] { pick.SetText(u"Two"); }), 383);

  ui::ComboBox sorted{form, u"cboSorted", ui::ComboBox::DropdownCombo, true};
  const std::pair<Text, std::int32_t> adds[] = {{u"zeta", 26}, {u"Beta", 2}, {u"alpha", 1}};
  for (const auto& [text, data] : adds) {
    sorted.AddItem(text);
    sorted.SetItemData(sorted.newIndex(), data);
  }
  EXPECT_EQ(sorted.List(0), u"alpha");
  EXPECT_EQ(sorted.ItemData(1), 2);
  EXPECT_EQ(sorted.ItemData(2), 26);
  sorted.SetText(u"zeta");
  sorted.RemoveItem(0);
  EXPECT_EQ(sorted.listIndex(), 1);  // still the zeta row
  EXPECT_EQ(sorted.FindRow(u"Beta"), 0);
  EXPECT_EQ(ErrorNumberOf([&] { sorted.ItemData(2); }), vb::err::kInvalidPropertyArrayIndex);
}

// Texts of the nodes under `node` (or the roots) in display order, children in brackets.
Text Outline(const std::vector<ui::Node*>& nodes) {
  Text out;
  for (ui::Node* node : nodes) {
    if (!out.empty()) out += u" ";
    out += node->text();
    if (!node->children().empty()) out += u"[" + Outline(node->children()) + u"]";
  }
  return out;
}

TEST(FormModel, TreeNodesAddRemoveAndIndex) {
  frmSample form;
  ui::TreeView& tree = form.tvMembers;
  ui::Node* root = tree.Add(nullptr, ui::tvwChild, u"", u"Module1 Members");
  ui::Node* events = tree.Add(root, ui::tvwChild, u"", u"Events");
  ui::Node* constants = tree.Add(root, ui::tvwChild, u"", u"Constants");
  ui::Node* subs = tree.Add(root, ui::tvwChild, u"", u"Subroutines");
  ui::Node* main = tree.Add(subs, ui::tvwChild, u"main", u"Main");
  tree.Add(main, ui::tvwChild, u"", u"ErrHandler:");
  tree.Add(constants, ui::tvwPrevious, u"", u"Sink Event Variables");
  tree.Add(events, ui::tvwFirst, u"", u"First");
  tree.Add(subs, ui::tvwNext, u"", u"Functions");
  tree.Add(events, ui::tvwLast, u"", u"Properties");
  EXPECT_EQ(Outline(tree.roots()),
            u"Module1 Members[First Events Sink Event Variables Constants Subroutines[Main[ErrHandler:]] Functions "
            u"Properties]");
  EXPECT_EQ(tree.Count(), 10);
  EXPECT_EQ(main->index(), 5);
  EXPECT_EQ(tree.Item(5), main);
  EXPECT_EQ(main->parent(), subs);
  EXPECT_EQ(ErrorNumberOf([&] { tree.Add(root, ui::tvwChild, u"MAIN", u"again"); }), vb::err::kKeyNotUnique);
  EXPECT_EQ(tree.Count(), 10);

  // Prune as a navigator does: from the last index down, empty categories go, others open.
  tree.SetSelectedItem(constants);
  for (int i = tree.Count(); i >= 1; --i) {
    ui::Node* node = tree.Item(i);
    if (node->parent() != root) continue;
    if (node->children().empty())
      tree.Remove(i);
    else
      node->SetExpanded(true);
  }
  EXPECT_EQ(Outline(tree.roots()), u"Module1 Members[Subroutines[Main[ErrHandler:]]]");
  EXPECT_EQ(tree.Count(), 4);
  EXPECT_EQ(main->index(), 3);
  EXPECT_TRUE(subs->expanded());
  EXPECT_EQ(tree.selectedItem(), nullptr);  // the selected node was removed

  tree.Remove(subs->index());  // takes its descendants along
  EXPECT_EQ(tree.Count(), 1);
  EXPECT_EQ(ErrorNumberOf([&] { tree.Item(2); }), vb::err::kIndexOutOfBounds);
  tree.Clear();
  EXPECT_EQ(tree.Count(), 0);
  EXPECT_TRUE(tree.roots().empty());
}

TEST(FormModel, TreeReactsToAPerson) {
  frmSample form;
  ui::TreeView& tree = form.tvMembers;
  std::vector<Text> events;
  tree.NodeClick = [&](ui::Node& n) { events.push_back(u"NodeClick " + n.text()); };
  tree.Expand = [&](ui::Node& n) { events.push_back(u"Expand " + n.text()); };
  tree.MouseUp = [&](int button, int, float x, float y) {
    ui::Node* hit = tree.HitTest(x, y);
    events.push_back(u"MouseUp " + vb::ToText(button) + u" " + (hit ? hit->text() : Text(u"nothing")));
  };
  ui::Node* root = tree.Add(nullptr, ui::tvwLast, u"", u"Root");
  ui::Node* leaf = tree.Add(root, ui::tvwChild, u"", u"Leaf");
  tree.ExpandNode(root);
  tree.ExpandNode(root);  // already open
  tree.ClickNode(leaf);
  tree.RightClick(root);
  tree.RightClick(nullptr);
  EXPECT_EQ(events, (std::vector<Text>{u"Expand Root", u"NodeClick Leaf", u"MouseUp 2 Root", u"MouseUp 2 nothing"}));
  EXPECT_EQ(tree.selectedItem(), leaf);  // a right click does not select
  EXPECT_TRUE(leaf->selected());
  tree.SetSelectedItem(nullptr);
  EXPECT_EQ(tree.selectedItem(), nullptr);

  frmSample other;
  ui::Node* stranger = other.tvMembers.Add(nullptr, ui::tvwLast, u"", u"Elsewhere");
  EXPECT_EQ(ErrorNumberOf([&] { tree.SetSelectedItem(stranger); }), vb::err::kElementNotFound);
}

TEST(FormModel, ListViewRowsOfCells) {
  frmSample form;
  ui::ListView results{form, u"lvResults"};
  for (const char16_t* header : {u"Component", u"Code Lines", u"Comment Lines", u"Blank Lines"})
    results.AddColumn(header);
  const int row = results.AddItem(u"Module1");
  results.SetSubItem(row, 1, u"12");
  results.SetSubItem(row, 3, u"2");
  EXPECT_EQ(results.Row(1), (std::vector<Text>{u"Module1", u"12", u"", u"2"}));
  EXPECT_EQ(ErrorNumberOf([&] { results.SetSubItem(row, 4, u"x"); }), vb::err::kInvalidPropertyValue);
  EXPECT_EQ(ErrorNumberOf([&] { results.Row(2); }), vb::err::kIndexOutOfBounds);
  results.ClearItems();
  EXPECT_EQ(results.itemCount(), 0);
  EXPECT_EQ(results.columnHeaders().size(), 4u);
}

TEST(FormModel, FocusEnterAndEscape) {
  testing_support::TestHome home;
  frmSample form;
  EXPECT_EQ(ErrorNumberOf([&] { form.txtName.SetFocus(); }), vb::err::kInvalidProcedureCall);  // not shown
  form.Show();
  form.txtName.SetFocus();
  EXPECT_TRUE(form.txtName.hasFocus());
  EXPECT_EQ(form.ActiveControl(), &form.txtName);
  form.OKButton.SetEnabled(false);
  EXPECT_EQ(ErrorNumberOf([&] { form.OKButton.SetFocus(); }), vb::err::kInvalidProcedureCall);
  form.optBlue.SetFocus();
  form.fraRight.SetVisible(false);  // a control in a hidden frame cannot take the focus
  EXPECT_EQ(ErrorNumberOf([&] { form.optRed.SetFocus(); }), vb::err::kInvalidProcedureCall);

  form.PressEnter();  // the default button is disabled
  form.PressEscape();
  form.OKButton.SetEnabled(true);
  form.PressEnter();
  EXPECT_EQ(form.clicked, (std::vector<Text>{u"CancelButton", u"OKButton"}));
  EXPECT_EQ(form.ActiveControl(), &form.OKButton);  // clicking moves the focus
  form.Unload();
  EXPECT_EQ(form.ActiveControl(), nullptr);
}

class CountingObserver : public ui::FormObserver {
 public:
  void ControlChanged(ui::Form&, ui::Control& control) override { controls.push_back(control.name()); }
  void FormChanged(ui::Form& form) override { forms.push_back(form.visible()); }
  std::vector<Text> controls;
  std::vector<bool> forms;
};

TEST(FormModel, ObserverHearsEveryChange) {
  testing_support::TestHome home;
  frmSample form;
  CountingObserver observer;
  form.SetObserver(&observer);
  form.txtName.SetSelStart(3);
  form.txtName.Type(u"ab");
  form.chkEnabled.Click();
  form.tvMembers.Add(nullptr, ui::tvwLast, u"", u"Root");
  EXPECT_EQ(observer.controls,
            (std::vector<Text>{u"txtName", u"txtName", u"txtName", u"chkEnabled", u"tvMembers"}));
  form.Show();
  form.SetCaption(u"Other");
  form.Hide();
  EXPECT_EQ(observer.forms, (std::vector<bool>{true, true, false}));
}

}  // namespace
