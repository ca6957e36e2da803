// The controls of the form model. A control holds its state, raises its form's handlers when a
// person changes it (typing raises KeyPress then Change; ticking raises Click) and tells the
// form's observer about every change, so that a toolkit can mirror it in a real window.
// Getters are lower case (text(), value(), listCount(), selectedItem()); setters are Set...;
// person actions are verbs (Type, Click, Tick). Reading one row by its index keeps the VB name
// (List(i), Selected(i), ItemData(i), Row(i)), and so does the tree view's Nodes collection
// (Add, Count, Item, Remove). Indexes of list rows are 0-based as in VB; -1 means none.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "framework/vb_text.h"

namespace ui {

using vb::Text;
using vb::TextView;

class Form;

// Character codes a KeyPress handler sees.
inline constexpr int vbKeyBack = 8;
inline constexpr int vbKeyReturn = 13;
inline constexpr int vbKeySpace = 32;

class Control {
 public:
  Control(Form& owner, Text name);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Form& form() const { return form_; }
  const Text& name() const { return name_; }
  virtual const char* kind() const = 0;

  bool enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool visible() const { return visible_; }
  void SetVisible(bool value);
  const Text& tag() const { return tag_; }
  void SetTag(TextView value);
  // The container frame, or nullptr for the form itself.
  Control* container() const { return container_; }
  void SetContainer(Control* frame) { container_ = frame; }

  // Moves the keyboard focus here; error 5 when the control cannot take it.
  void SetFocus();
  bool hasFocus() const;

  // Design-time state: captured when the form first loads, restored when it unloads.
  virtual void CaptureDesign() = 0;
  virtual void RestoreDesign() = 0;

 protected:
  void Changed();
  // Whether a person can act on the control: it and every frame around it are enabled.
  bool Interactive() const;
  // Whether the control can hold the keyboard focus at all (labels, frames and menus cannot).
  virtual bool TakesFocus() const { return true; }
  // A person's click or keystroke moves the focus here when the form is on screen.
  void FocusByPerson();

 private:
  Form& form_;
  Text name_;
  bool enabled_ = true;
  bool visible_ = true;
  Text tag_;
  Control* container_ = nullptr;
  struct Common {
    bool enabled, visible;
    Text tag;
  } commonDesign_{true, true, {}};

 protected:
  void CaptureCommon() { commonDesign_ = {enabled_, visible_, tag_}; }
  void RestoreCommon() {
    enabled_ = commonDesign_.enabled;
    visible_ = commonDesign_.visible;
    tag_ = commonDesign_.tag;
  }
};

class Label final : public Control {
 public:
  Label(Form& owner, Text name, Text caption = {});
  const char* kind() const override { return "Label"; }
  bool TakesFocus() const override { return false; }
  const Text& caption() const { return s_.caption; }
  void SetCaption(TextView value);
  void CaptureDesign() override;
  void RestoreDesign() override;

 private:
  struct State {
    Text caption;
  } s_, design_;
};

class Frame final : public Control {
 public:
  Frame(Form& owner, Text name, Text caption = {});
  const char* kind() const override { return "Frame"; }
  bool TakesFocus() const override { return false; }
  const Text& caption() const { return s_.caption; }
  void SetCaption(TextView value);
  void CaptureDesign() override;
  void RestoreDesign() override;

 private:
  struct State {
    Text caption;
  } s_, design_;
};

// ScrollBarConstants: the scroll bars of a multi-line text box. Without a horizontal one, long
// lines wrap at the box's edge.
enum ScrollBars { vbSBNone = 0, vbHorizontal = 1, vbVertical = 2, vbBoth = 3 };

class TextBox final : public Control {
 public:
  TextBox(Form& owner, Text name, Text text = {});
  const char* kind() const override { return "TextBox"; }

  const Text& text() const { return s_.text; }
  // Setting the text by code raises Change when it differs; the caret goes to the start.
  void SetText(TextView value);
  int maxLength() const { return s_.maxLength; }  // 0: no limit
  void SetMaxLength(int value) { s_.maxLength = value; }
  bool multiLine() const { return s_.multiLine; }
  void SetMultiLine(bool value) { s_.multiLine = value; }
  ScrollBars scrollBars() const { return s_.scrollBars; }
  void SetScrollBars(ScrollBars value) { s_.scrollBars = value; }
  bool locked() const { return s_.locked; }
  void SetLocked(bool value) { s_.locked = value; }
  int selStart() const { return s_.selStart; }
  int selLength() const { return s_.selLength; }
  void SetSelStart(int value);   // clipped to the text; clears the selection length
  void SetSelLength(int value);  // clipped to the text after selStart
  Text selText() const;

  // A person typing: each character raises KeyPress, which may change or discard it (0);
  // a kept character replaces the selection (Backspace deletes before the caret), honours
  // MaxLength and raises Change. "\r\n" in a multi-line box types a line break.
  void Type(TextView chars);
  // A person pressing Delete, or pasting: no KeyPress.
  void PressDelete();
  void Paste(TextView chars);
  // Select all, then type: what a person does to replace a box's content.
  void Retype(TextView chars);

  std::function<void(int& keyAscii)> KeyPress;
  std::function<void()> Change;

  void CaptureDesign() override;
  void RestoreDesign() override;

 private:
  void ReplaceSelection(TextView chars);
  void TypeKey(int keyAscii);
  // Removes `length` units at `start` (a CR LF pair counts as one line break).
  void DeleteRange(int start, int length);
  // Tells the observer, and raises Change when the text differs from `before`.
  void Finish(const Text& before);
  bool Editable() const;
  struct State {
    Text text;
    int maxLength = 0;
    bool multiLine = false;
    ScrollBars scrollBars = vbSBNone;
    bool locked = false;
    int selStart = 0;
    int selLength = 0;
  } s_, design_;
};

class CommandButton final : public Control {
 public:
  CommandButton(Form& owner, Text name, Text caption = {});
  const char* kind() const override { return "CommandButton"; }
  const Text& caption() const { return s_.caption; }
  void SetCaption(TextView value);
  bool isDefault() const { return s_.isDefault; }
  void SetDefault(bool value) { s_.isDefault = value; }
  bool isCancel() const { return s_.isCancel; }
  void SetCancel(bool value) { s_.isCancel = value; }

  // A person clicking: nothing when disabled or hidden.
  void Click();
  std::function<void()> OnClick;

  void CaptureDesign() override;
  void RestoreDesign() override;

 private:
  struct State {
    Text caption;
    bool isDefault = false;
    bool isCancel = false;
  } s_, design_;
};

// vbUnchecked 0, vbChecked 1, vbGrayed 2.
class CheckBox final : public Control {
 public:
  CheckBox(Form& owner, Text name, Text caption = {}, int value = 0);
  const char* kind() const override { return "CheckBox"; }
  const Text& caption() const { return s_.caption; }
  void SetCaption(TextView value);
  int value() const { return s_.value; }
  // Setting a different value raises Click, as in VB.
  void SetValue(int value);
  // A person clicking: toggles between 0 and 1 (nothing when disabled).
  void Click();
  std::function<void()> OnClick;

  void CaptureDesign() override;
  void RestoreDesign() override;

 private:
  struct State {
    Text caption;
    int value = 0;
  } s_, design_;
};

// Option buttons with the same container (or group) form one group.
class OptionButton final : public Control {
 public:
  OptionButton(Form& owner, Text name, Text caption = {}, bool value = false, int index = -1);
  const char* kind() const override { return "OptionButton"; }
  const Text& caption() const { return s_.caption; }
  void SetCaption(TextView value);
  bool value() const { return s_.value; }
  // Setting True clears the others of the group and raises Click.
  void SetValue(bool value);
  // The index within a control array of option buttons, -1 when not in one.
  int index() const { return index_; }
  // Group key: buttons with the same container and group number belong together.
  int group() const { return group_; }
  void SetGroup(int group) { group_ = group; }
  void Click();
  std::function<void()> OnClick;

  void CaptureDesign() override;
  void RestoreDesign() override;

 private:
  int index_;
  int group_ = 0;
  struct State {
    Text caption;
    bool value = false;
  } s_, design_;
};

class ListBox final : public Control {
 public:
  enum Style { Standard = 0, Checkbox = 1 };
  ListBox(Form& owner, Text name, bool sorted = false, Style style = Standard);
  const char* kind() const override { return "ListBox"; }

  bool sorted() const { return sorted_; }
  Style style() const { return style_; }

  // Adds a row (at `index`, or at the end; a sorted list places it by its text, letter case
  // ignored); newIndex() tells where it went.
  void AddItem(TextView text, int index = -1);
  void RemoveItem(int index);
  void Clear();
  int listCount() const { return static_cast<int>(s_.rows.size()); }
  Text List(int index) const;
  void SetList(int index, TextView text);
  std::int32_t ItemData(int index) const;
  void SetItemData(int index, std::int32_t value);
  int newIndex() const { return s_.newIndex; }
  int listIndex() const { return s_.listIndex; }
  // Setting a different index raises Click.
  void SetListIndex(int index);
  // The tick of a check-box row (or the selection of a row).
  bool Selected(int index) const;
  // Raises ItemCheck in a check-box list when the tick changes.
  void SetSelected(int index, bool value);
  int selCount() const;

  // A person clicking a row, ticking its box, double-clicking it.
  void ClickRow(int index);
  void TickRow(int index);
  void DoubleClickRow(int index);
  int FindRow(TextView text) const;  // exact text, -1 when absent

  std::function<void()> OnClick;
  std::function<void(int index)> ItemCheck;
  std::function<void()> DblClick;

  void CaptureDesign() override;
  void RestoreDesign() override;

 private:
  struct Row {
    Text text;
    std::int32_t itemData = 0;
    bool selected = false;
  };
  const Row& RowAt(int index) const;
  bool sorted_;
  Style style_;
  struct State {
    std::vector<Row> rows;
    int listIndex = -1;
    int newIndex = -1;
  } s_, design_;
};

class ComboBox final : public Control {
 public:
  enum Style { DropdownCombo = 0, SimpleCombo = 1, DropdownList = 2 };
  ComboBox(Form& owner, Text name, Style style = DropdownCombo, bool sorted = false);
  const char* kind() const override { return "ComboBox"; }
  Style style() const { return style_; }

  void AddItem(TextView text, int index = -1);
  void RemoveItem(int index);
  void Clear();
  int listCount() const { return static_cast<int>(s_.items.size()); }
  Text List(int index) const;
  std::int32_t ItemData(int index) const;
  void SetItemData(int index, std::int32_t value);
  int newIndex() const { return s_.newIndex; }
  int FindRow(TextView text) const;  // exact text, -1 when absent
  int listIndex() const { return s_.listIndex; }
  // Choosing a row sets the text to it and raises Click.
  void SetListIndex(int index);
  const Text& text() const { return s_.text; }
  // Setting the text by code: the row with that exact text becomes listIndex() (else -1).
  void SetText(TextView value);
  // A person typing into the edit part (replaces the text); raises Change.
  void Type(TextView chars);
  // A person picking the row that shows `text`; false when there is none.
  bool Choose(TextView text);

  std::function<void()> OnClick;
  std::function<void()> Change;

  void CaptureDesign() override;
  void RestoreDesign() override;

 private:
  Style style_;
  bool sorted_;
  void CheckRow(int index) const;
  struct State {
    std::vector<Text> items;
    std::vector<std::int32_t> itemData;  // parallel to items
    int listIndex = -1;
    int newIndex = -1;
    Text text;
  } s_, design_;
};

class TreeView;

class Node {
 public:
  const Text& text() const { return text_; }
  void SetText(TextView value);
  const Text& key() const { return key_; }
  const Text& tag() const { return tag_; }
  void SetTag(TextView value);
  Node* parent() const { return parent_; }
  const std::vector<Node*>& children() const { return children_; }
  Node* child() const { return children_.empty() ? nullptr : children_.front(); }
  bool expanded() const { return expanded_; }
  // Expanding by code raises no event.
  void SetExpanded(bool value);
  // 1-based position in the tree's Nodes collection.
  int index() const;
  void EnsureVisible();
  bool selected() const;

 private:
  friend class TreeView;
  explicit Node(TreeView& tree) : tree_(tree) {}
  TreeView& tree_;
  Text text_, key_, tag_;
  Node* parent_ = nullptr;
  std::vector<Node*> children_;
  bool expanded_ = false;
};

// tvwTreeRelationship
enum Relationship { tvwFirst = 0, tvwLast = 1, tvwNext = 2, tvwPrevious = 3, tvwChild = 4 };
inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;

class TreeView final : public Control {
 public:
  TreeView(Form& owner, Text name);
  ~TreeView() override;
  const char* kind() const override { return "TreeView"; }

  // Nodes collection. Add with no relative adds a root; tvwChild adds the last child.
  Node* Add(Node* relative, Relationship relationship, TextView key, TextView text);
  void Clear();
  int Count() const { return static_cast<int>(nodes_.size()); }
  Node* Item(int index) const;  // 1-based
  void Remove(int index);       // 1-based; removes the node's descendants too
  Node* Find(TextView text) const;  // first node with that text
  // The root nodes in display order (Nodes keeps insertion order).
  const std::vector<Node*>& roots() const { return roots_; }

  Node* selectedItem() const { return selected_; }
  void SetSelectedItem(Node* node);
  // The node under the pointer at the last mouse event.
  Node* HitTest(float x, float y) const;

  // A person's actions.
  void ClickNode(Node* node);          // selects, raises NodeClick
  void ExpandNode(Node* node);         // expands, raises Expand
  void RightClick(Node* under);        // releases the right button over `under` (nullptr: empty space)
  void DoubleClickNode(Node* node);

  std::function<void(Node&)> NodeClick;
  std::function<void(Node&)> Expand;
  std::function<void(int button, int shift, float x, float y)> MouseUp;
  std::function<void()> DblClick;

  void CaptureDesign() override;
  void RestoreDesign() override;

 private:
  friend class Node;
  void Touch() { Changed(); }
  bool Contains(const Node* node) const;
  Node* Owned(Node* node) const;  // error 35601 for a node of another tree
  std::vector<Node*>& SiblingsOf(Node& node);
  std::vector<std::unique_ptr<Node>> nodes_;
  std::vector<Node*> roots_;
  Node* selected_ = nullptr;
  Node* underPointer_ = nullptr;
};

// A list view in report view: column headers and rows of a text with sub-items.
class ListView final : public Control {
 public:
  ListView(Form& owner, Text name);
  const char* kind() const override { return "ListView"; }
  void AddColumn(TextView header);
  const std::vector<Text>& columnHeaders() const { return s_.columns; }
  // Adds a row and returns its 1-based index.
  int AddItem(TextView text);
  void SetSubItem(int item, int subItem, TextView text);  // both 1-based
  int itemCount() const { return static_cast<int>(s_.rows.size()); }
  // The cells of a row: its text then its sub-items.
  const std::vector<Text>& Row(int item) const;
  void ClearItems();

  void CaptureDesign() override;
  void RestoreDesign() override;

 private:
  struct State {
    std::vector<Text> columns;
    std::vector<std::vector<Text>> rows;
  } s_, design_;
};

// The common dialog control used for fonts. Its state is what the font chooser is preset
// with and what it returns; closing the chooser without a choice leaves it unchanged.
class CommonDialog final : public Control {
 public:
  CommonDialog(Form& owner, Text name);
  const char* kind() const override { return "CommonDialog"; }
  bool TakesFocus() const override { return false; }
  Text FontName;
  double FontSize = 0;
  bool FontBold = false, FontItalic = false, FontStrikethru = false, FontUnderline = false;
  int Flags = 0;
  // When set, closing the chooser without a choice raises error 32755 "Cancel was selected."
  bool CancelError = false;
  // Shows the toolkit's font chooser.
  void ShowFont();

  void CaptureDesign() override {}
  void RestoreDesign() override {}
};

// A form's menu used as a pop-up menu.
class Menu final : public Control {
 public:
  Menu(Form& owner, Text name, Text caption = {});
  const char* kind() const override { return "Menu"; }
  bool TakesFocus() const override { return false; }
  const Text& caption() const { return caption_; }
  // The entries: Menu controls with this one as their container.
  std::vector<Menu*> entries() const;
  void Click();
  std::function<void()> OnClick;

  void CaptureDesign() override {}
  void RestoreDesign() override {}

 private:
  Text caption_;
};

}  // namespace ui
