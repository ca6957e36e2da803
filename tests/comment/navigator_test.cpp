// The member navigator: the tree built from the module, and Goto Code.
#include <functional>

#include "comment_fixture.h"

namespace comment_test {
namespace {

// The tree as indented text: one node per line, two blanks per level, the tag in brackets,
// "+" before an expanded node.
Text Dump(const ui::TreeView& tree) {
  Text out;
  std::function<void(const ui::Node*, int)> visit = [&](const ui::Node* node, int depth) {
    out += Text(static_cast<std::size_t>(depth) * 2, u' ') + (node->expanded() ? u"+" : u"") + node->text();
    if (!node->tag().empty()) out += u" [" + node->tag() + u"]";
    out += u"\n";
    for (const ui::Node* child : node->children()) visit(child, depth + 1);
  };
  for (int i = 1; i <= tree.Count(); ++i)
    if (!tree.Item(i)->parent()) visit(tree.Item(i), 0);
  return out;
}

ui::TreeView& Tree(ui::Form& form) { return *form.Find<ui::TreeView>(u"tvMembers"); }

ui::Node* NodeNamed(ui::Form& form, const Text& text) {
  ui::Node* node = Tree(form).Find(text);
  if (!node) ADD_FAILURE() << "no node " << vb::ToUtf8(text);
  return node;
}

struct TreeCase {
  const char* name;
  bool isClass;
  Text code;
  Text tree;
};

TEST(Navigator, TreeOfTheModule) {
  const TreeCase cases[] = {
      {"events, sink variables and properties", true,
       Lines({u"Option Explicit", u"Public Event Changed()", u"Private WithEvents mTimer As Timer", u"",
              u"Public Property Get Value() As Long", u"    Value = 1", u"End Property", u"",
              u"Public Property Let Value(ByVal v As Long)", u"    RaiseEvent Changed", u"End Property"}),
       u"+Comp1 Members\n"
       u"  +Events\n    Changed [2]\n"
       u"  +Sink Event Variables\n    mTimer [3]\n"
       u"  +Properties\n    Value (Property Get) [5]\n    Value (Property Let) [9]\n"},
      {"an enumeration with its members", false,
       Lines({u"Private Enum Colors", u"    Red", u"    Green = 5", u"End Enum"}),
       u"+Comp1 Members\n  +Enumerations\n    Colors [1]\n      Red [2]\n      Green [3]\n"},
      {"a line label under its sub", false,
       Lines({u"Private Sub Work()", u"    On Error GoTo ErrHandler", u"    Dim n As Long", u"    Exit Sub",
              u"ErrHandler:", u"    Resume Next", u"End Sub"}),
       u"+Comp1 Members\n  +Subroutines\n    Work [1]\n      ErrHandler: [5]\n"},
      {"Dim x and Private Const MAX", false, Lines({u"Dim x As Long", u"Private Const MAX = 10"}),
       u"+Comp1 Members\n  +Constants\n    MAX [2]\n  +Object Variables\n    x [1]\n"},
      {"an empty module shows only the root", false, u"", u"+Comp1 Members\n"},
      {"declarations without members show only the root", false,
       Lines({u"Option Explicit", u"' a comment", u"Implements IShape"}), u"+Comp1 Members\n"},
      {"types, functions and the quirks of the keyword rules", false,
       Lines({u"Public Type Point", u"    X As Long", u"    EndY As Long", u"End Type",
              u"Private Declare Function GetTickCount Lib \"kernel32\" () As Long",
              u"Public Function Area(p As Point) As Double", u"    Const Scale = 2", u"    Dim t As Double",
              u"Again:", u"End Function", u"Static Sub Quiet()", u"End Sub", u"Friend Sub Near(a)", u"End Sub",
              u"Private a, b As Long"}),
       u"+Comp1 Members\n"
       u"  +Constants\n    Scale [7]\n"
       u"  +Object Variables\n    Declare [5]\n    t [8]\n    a, [15]\n"
       u"  +User Defined Types\n    Point [1]\n      X [2]\n      EndY [3]\n"
       u"  +Subroutines\n    Near [13]\n"
       u"  +Functions\n    Area [6]\n"},
  };
  for (const TreeCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::TestHome home;
    HostBuilder builder;
    builder.project(u"Project1");
    if (c.isClass)
      builder.classModule(u"Comp1", c.code);
    else
      builder.module(u"Comp1", c.code);
    Connected ide(builder.activePane(u"Comp1", {1, 1, 1, 1}).build());
    Text tree;
    std::vector<std::pair<Text, std::int32_t>> listed;
    home.toolkit.Once(u"frmPickFunction", [&](ui::Form& form) {
      tree = Dump(Tree(form));
      const auto& list = *form.Find<ui::ListBox>(u"lstMembers");
      for (int i = 0; i < list.listCount(); ++i) listed.emplace_back(list.List(i), list.ItemData(i));
      scripted::Click(form, u"cmdCancel");
    });
    ide.vbe->Click(kBar, kGoto);
    EXPECT_EQ(tree, c.tree);
    // Every member node is in the hidden list with its line as item data.
    std::size_t members = 0;
    for (std::size_t at = c.tree.find(u'['); at != Text::npos; at = c.tree.find(u'[', at + 1)) ++members;
    EXPECT_EQ(listed.size(), members);
    for (const auto& [text, line] : listed)
      EXPECT_NE(c.tree.find(text + u" [" + vb::ToText(line) + u"]"), Text::npos) << vb::ToUtf8(text);
    EXPECT_EQ(ide.vbe->Code(u"Comp1"), c.code);
  }
}

const Text kWorker = Lines({u"Option Explicit", u"", u"Private Sub Work()", u"    On Error GoTo ErrHandler",
                            u"    Exit Sub", u"ErrHandler:", u"    Resume Next", u"End Sub"});

struct Session {
  testing_support::TestHome home;
  Connected ide{HostBuilder().project(u"Project1").module(u"Module1", kWorker).activePane(u"Module1", {1, 1, 1, 1}).build()};
  host::Selection Selection() { return ide.vbe->ActiveCodePane()->GetSelection(); }
  long TopLine() { return ide.vbe->ActiveCodePane()->TopLine(); }
};

TEST(Navigator, GotoCodeSelectsTheWholeLineAndCloses) {
  Session s;
  bool stillOpen = true;
  s.home.toolkit.Once(u"frmPickFunction", [&](ui::Form& form) {
    Tree(form).ClickNode(NodeNamed(form, u"ErrHandler:"));
    scripted::Click(form, u"cmdGotoCode");
    stillOpen = form.visible();
  });
  s.ide.vbe->Click(kBar, kGoto);
  EXPECT_FALSE(stillOpen);
  EXPECT_EQ(s.TopLine(), 6);
  EXPECT_EQ(s.Selection(), (host::Selection{6, 1, 6, 12}));
  EXPECT_TRUE(s.home.toolkit.messages().empty());
}

TEST(Navigator, GotoOnACategoryLeavesTheDialogOpen) {
  Session s;
  bool stillOpen = false;
  s.home.toolkit.Once(u"frmPickFunction", [&](ui::Form& form) {
    Tree(form).ClickNode(NodeNamed(form, u"Subroutines"));
    scripted::Click(form, u"cmdGotoCode");
    stillOpen = form.visible();
    Tree(form).ClickNode(NodeNamed(form, u"Module1 Members"));
    scripted::Click(form, u"cmdGotoCode");
    stillOpen = stillOpen && form.visible();
    scripted::Click(form, u"cmdCancel");
  });
  s.ide.vbe->Click(kBar, kGoto);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(s.Selection(), (host::Selection{1, 1, 1, 1}));
  EXPECT_TRUE(s.home.toolkit.messages().empty());
}

TEST(Navigator, GotoWithoutASelectedNodeCloses) {
  Session s;
  bool stillOpen = true;
  s.home.toolkit.Once(u"frmPickFunction", [&](ui::Form& form) {
    scripted::Click(form, u"cmdGotoCode");
    stillOpen = form.visible();
  });
  s.ide.vbe->Click(kBar, kGoto);
  EXPECT_FALSE(stillOpen);
  EXPECT_EQ(s.Selection(), (host::Selection{1, 1, 1, 1}));
}

TEST(Navigator, GotoALineDeletedAfterTheTreeWasBuilt) {
  Session s;
  bool stillOpen = true;
  s.home.toolkit.Once(u"frmPickFunction", [&](ui::Form& form) {
    s.ide.vbe->SetCode(u"Module1", Lines({u"Option Explicit", u""}));
    Tree(form).ClickNode(NodeNamed(form, u"ErrHandler:"));
    scripted::Click(form, u"cmdGotoCode");
    stillOpen = form.visible();
  });
  s.ide.vbe->Click(kBar, kGoto);
  EXPECT_FALSE(stillOpen);
  const Text prefix = u"The following error occurred : ";
  ASSERT_EQ(s.home.toolkit.messages().size(), 1u);
  const scripted::MessageBox& box = s.home.toolkit.messages()[0];
  EXPECT_TRUE(vb::StartsWith(box.prompt, prefix)) << vb::ToUtf8(box.prompt);
  EXPECT_GT(box.prompt.size(), prefix.size());
  EXPECT_EQ(box.buttons, ui::vbInformation);
  EXPECT_EQ(box.title, u"Error Occurred");
}

TEST(Navigator, TreeGesturesSelectAndGo) {
  Session s;
  int popups = 0;
  s.home.toolkit.OnPopup([&](ui::Form& form, ui::Menu& menu) -> ui::Menu* {
    ++popups;
    EXPECT_EQ(menu.name(), u"mnuPopup");
    return form.Find<ui::Menu>(u"mnuGotoCode");
  });
  ui::Node* expandedSelected = nullptr;
  ui::Node* expanded = nullptr;
  s.home.toolkit.Once(u"frmPickFunction", [&](ui::Form& form) {
    ui::TreeView& tree = Tree(form);
    // Right-click over empty space: nothing.
    tree.RightClick(nullptr);
    EXPECT_EQ(popups, 0);
    // Expanding selects.
    expanded = NodeNamed(form, u"Work");
    tree.ExpandNode(expanded);
    expandedSelected = tree.selectedItem();
    // Right-click on the label selects it and its pop-up entry goes there.
    tree.RightClick(NodeNamed(form, u"ErrHandler:"));
  });
  s.ide.vbe->Click(kBar, kGoto);
  EXPECT_EQ(expandedSelected, expanded);
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(s.TopLine(), 6);
  EXPECT_EQ(s.Selection(), (host::Selection{6, 1, 6, 12}));
}

TEST(Navigator, DoubleClickInTheListGoesToTheSelectedNode) {
  Session s;
  s.home.toolkit.Once(u"frmPickFunction", [&](ui::Form& form) {
    Tree(form).ClickNode(NodeNamed(form, u"Work"));
    form.Find<ui::ListBox>(u"lstMembers")->DoubleClickRow(0);
  });
  s.ide.vbe->Click(kBar, kGoto);
  EXPECT_EQ(s.TopLine(), 3);
  EXPECT_EQ(s.Selection(), (host::Selection{3, 1, 3, 19}));
}

TEST(Navigator, EveryOpeningRebuildsFromTheCurrentText) {
  Session s;
  std::vector<Text> trees;
  s.home.toolkit.On(u"frmPickFunction", [&](ui::Form& form) {
    trees.push_back(Dump(Tree(form)));
    scripted::Click(form, u"cmdCancel");
  });
  s.ide.vbe->Click(kBar, kGoto);
  s.ide.vbe->SetCode(u"Module1", Lines({u"Public Function Twice(x)", u"End Function"}));
  s.ide.vbe->Click(kBar, kGoto);
  s.ide.vbe->ClearActivePane();
  s.ide.vbe->Click(kBar, kGoto);
  EXPECT_EQ(trees, (std::vector<Text>{u"+Module1 Members\n  +Subroutines\n    Work [3]\n      ErrHandler: [6]\n",
                                      u"+Module1 Members\n  +Functions\n    Twice [1]\n", u""}));
  EXPECT_TRUE(s.home.toolkit.messages().empty());
}

}  // namespace
}  // namespace comment_test
