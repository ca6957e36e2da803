// The tree view: a Nodes collection in insertion order (its 1-based Index), the display
// order of roots and children, selection, expansion and the node under the pointer.
#include <algorithm>
#include <unordered_set>

#include "framework/ui/controls.h"
#include "framework/vb_error.h"

namespace ui {

void Node::SetText(TextView value) {
  if (text_ == value) return;
  text_ = Text(value);
  tree_.Touch();
}

void Node::SetTag(TextView value) {
  if (tag_ == value) return;
  tag_ = Text(value);
  tree_.Touch();
}

void Node::SetExpanded(bool value) {
  if (expanded_ == value) return;
  expanded_ = value;
  tree_.Touch();
}

int Node::index() const {
  const auto& nodes = tree_.nodes_;
  for (std::size_t i = 0; i < nodes.size(); ++i)
    if (nodes[i].get() == this) return static_cast<int>(i) + 1;
  return 0;
}

void Node::EnsureVisible() {
  // Every ancestor opens so that the node can be seen.
  for (Node* p = parent_; p; p = p->parent_) p->expanded_ = true;
  tree_.Touch();
}

bool Node::selected() const { return tree_.selected_ == this; }

TreeView::TreeView(Form& owner, Text name) : Control(owner, std::move(name)) {}

TreeView::~TreeView() = default;

bool TreeView::Contains(const Node* node) const {
  return std::any_of(nodes_.begin(), nodes_.end(), [&](const auto& n) { return n.get() == node; });
}

Node* TreeView::Owned(Node* node) const {
  if (!node || !Contains(node)) vb::Raise(vb::err::kElementNotFound, u"Element not found", name());
  return node;
}

std::vector<Node*>& TreeView::SiblingsOf(Node& node) { return node.parent_ ? node.parent_->children_ : roots_; }

Node* TreeView::Add(Node* relative, Relationship relationship, TextView key, TextView text) {
  if (!key.empty())
    for (const auto& n : nodes_)
      if (vb::EqualsNoCase(n->key_, key)) vb::Raise(vb::err::kKeyNotUnique, u"Key is not unique in collection", name());
  if (relative) {
    Owned(relative);
    if (relationship < tvwFirst || relationship > tvwChild)
      vb::Raise(vb::err::kInvalidProcedureCall, u"Invalid procedure call or argument", name());
  }

  auto owned = std::unique_ptr<Node>(new Node(*this));
  Node* node = owned.get();
  node->text_ = Text(text);
  node->key_ = Text(key);
  if (!relative) {
    roots_.push_back(node);
  } else if (relationship == tvwChild) {
    node->parent_ = relative;
    relative->children_.push_back(node);
  } else {
    node->parent_ = relative->parent_;
    std::vector<Node*>& siblings = SiblingsOf(*relative);
    auto at = std::find(siblings.begin(), siblings.end(), relative);
    switch (relationship) {
      case tvwFirst: at = siblings.begin(); break;
      case tvwLast: at = siblings.end(); break;
      case tvwNext: ++at; break;
      default: break;  // tvwPrevious: just before the relative
    }
    siblings.insert(at, node);
  }
  nodes_.push_back(std::move(owned));
  Changed();
  return node;
}

void TreeView::Clear() {
  nodes_.clear();
  roots_.clear();
  selected_ = nullptr;
  underPointer_ = nullptr;
  Changed();
}

Node* TreeView::Item(int index) const {
  if (index < 1 || index > Count()) vb::Raise(vb::err::kIndexOutOfBounds, u"Index out of bounds", name());
  return nodes_[index - 1].get();
}

void TreeView::Remove(int index) {
  Node* target = Item(index);
  std::unordered_set<const Node*> doomed;
  std::vector<Node*> pending{target};
  while (!pending.empty()) {
    Node* n = pending.back();
    pending.pop_back();
    doomed.insert(n);
    pending.insert(pending.end(), n->children_.begin(), n->children_.end());
  }
  std::vector<Node*>& siblings = SiblingsOf(*target);
  siblings.erase(std::find(siblings.begin(), siblings.end(), target));
  if (doomed.count(selected_)) selected_ = nullptr;
  if (doomed.count(underPointer_)) underPointer_ = nullptr;
  std::erase_if(nodes_, [&](const std::unique_ptr<Node>& n) { return doomed.count(n.get()) > 0; });
  Changed();
}

Node* TreeView::Find(TextView text) const {
  for (const auto& n : nodes_)
    if (n->text_ == text) return n.get();
  return nullptr;
}

void TreeView::SetSelectedItem(Node* node) {
  if (node) Owned(node);
  if (selected_ == node) return;
  selected_ = node;
  Changed();
}

Node* TreeView::HitTest(float /*x*/, float /*y*/) const { return underPointer_; }

void TreeView::ClickNode(Node* node) {
  Owned(node);
  if (!Interactive()) return;
  FocusByPerson();
  SetSelectedItem(node);
  if (NodeClick) NodeClick(*node);
}

void TreeView::ExpandNode(Node* node) {
  Owned(node);
  if (!Interactive() || node->expanded_) return;
  node->expanded_ = true;
  Changed();
  if (Expand) Expand(*node);
}

void TreeView::RightClick(Node* under) {
  if (under) Owned(under);
  if (!Interactive()) return;
  FocusByPerson();
  underPointer_ = under;
  if (MouseUp) MouseUp(vbRightButton, 0, 0.0f, 0.0f);
}

void TreeView::DoubleClickNode(Node* node) {
  Owned(node);
  if (!Interactive()) return;
  ClickNode(node);
  if (!Contains(node)) return;  // the click handler removed it
  // The tree's own reaction: a node with children opens or closes.
  if (!node->children_.empty()) {
    if (node->expanded_)
      node->SetExpanded(false);
    else
      ExpandNode(node);
  }
  if (DblClick) DblClick();
}

void TreeView::CaptureDesign() { CaptureCommon(); }

void TreeView::RestoreDesign() {
  RestoreCommon();
  nodes_.clear();
  roots_.clear();
  selected_ = nullptr;
  underPointer_ = nullptr;
}

}  // namespace ui
