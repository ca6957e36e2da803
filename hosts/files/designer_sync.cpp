// Loading designer controls and writing their changes back into the designer block. New lines
// are made without a break; at the end each takes the break of the line before it.
#include "hosts/files/designer_sync.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "framework/vb_error.h"
#include "hosts/files/file_error.h"
#include "hosts/memory/control_classes.h"

namespace files {
namespace {

using Values = memhost::PropertyValues;

constexpr TextView kFontMembers[] = {u"Name", u"Size", u"Bold", u"Italic", u"Underline", u"Strikethrough"};
constexpr TextView kStdFontClass = u"{0BE35203-8F91-11CE-9DE3-00AA004BB851}";

// The property values of an in-memory control, fonts as "Font.Name", "Font.Size", ...
Values ReadValues(const host::Ref<host::VBControl>& control) {
  Values values;
  auto properties = control->Properties();
  values.reserve(static_cast<std::size_t>(properties->Count()) + std::size(kFontMembers) - 1);
  for (long i = 1; i <= properties->Count(); ++i) {
    auto property = properties->Item(i);
    if (auto font = property->Object()) {
      const Text prefix = property->Name() + u".";
      values.emplace_back(prefix + u"Name", vb::Variant(font->Name()));
      values.emplace_back(prefix + u"Size", vb::Variant(font->Size()));
      values.emplace_back(prefix + u"Bold", vb::Variant(font->Bold()));
      values.emplace_back(prefix + u"Italic", vb::Variant(font->Italic()));
      values.emplace_back(prefix + u"Underline", vb::Variant(font->Underline()));
      values.emplace_back(prefix + u"Strikethrough", vb::Variant(font->Strikethrough()));
    } else {
      values.emplace_back(property->Name(), property->Value());
    }
  }
  return values;
}

// The font a new control has.
const Values& DefaultFont() {
  static const Values font = {{u"Font.Name", vb::Variant(Text(u"MS Sans Serif"))},
                              {u"Font.Size", vb::Variant(8.25)},
                              {u"Font.Bold", vb::Variant(false)},
                              {u"Font.Italic", vb::Variant(false)},
                              {u"Font.Underline", vb::Variant(false)},
                              {u"Font.Strikethrough", vb::Variant(false)}};
  return font;
}

const vb::Variant* Find(const Values& values, TextView name) {
  for (const auto& [n, v] : values)
    if (vb::EqualsNoCase(n, name)) return &v;
  return nullptr;
}

const memhost::PropertyDef* DefOf(TextView className, TextView property) {
  const auto* cls = memhost::FindControlClass(className);
  for (const auto& def : cls ? cls->properties : memhost::CommonProperties())
    if (vb::EqualsNoCase(def.name, property)) return &def;
  return nullptr;
}

Text BooleanText(bool value) { return value ? u"-1  'True" : u"0   'False"; }

Text HexLong(std::int32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "&H%08X&", static_cast<unsigned>(value));
  return vb::FromUtf8(buffer);
}

// A value as VB writes it in a designer block; `previous` is the value text it replaces, if any.
Text FormatValue(const memhost::PropertyDef* def, TextView property, const vb::Variant& value, TextView previous,
                 TextView control, const std::filesystem::path& file) {
  using memhost::PropKind;
  const PropKind kind = def ? def->kind : PropKind::Text;
  switch (kind) {
    case PropKind::Boolean:
      return BooleanText(vb::CBool(value));
    case PropKind::Long:
      if (vb::EndsWith(vb::LCase(property), u"color") || vb::StartsWith(vb::UCase(previous), u"&H"))
        return HexLong(vb::CLng(value));
      return vb::CStr(value);
    case PropKind::Integer:
    case PropKind::Enum:
    case PropKind::Index:
    case PropKind::Single:
      return vb::CStr(value);
    default: {
      Text text = value.IsEmpty() ? Text() : vb::CStr(value);
      if (text.find_first_of(u"\r\n") != Text::npos)
        throw SaveError(file, "the " + vb::ToUtf8(property) + " of " + vb::ToUtf8(control) +
                                  " holds a line break, which a form file keeps only in its .frx file; "
                                  "set it in the VB6 IDE");
      return QuoteText(text);
    }
  }
}

bool IsPropertyItem(const DesignerItem& item) {
  return item.kind == DesignerItem::Kind::Property || item.kind == DesignerItem::Kind::PropertyBlock;
}

// Puts a new property among the node's own properties: before the first one whose name sorts
// after it, or after the last of them, always ahead of the child controls.
void InsertProperty(DesignerNode& node, DesignerItem item) {
  node.SplitLines();
  std::size_t firstControl = node.items.size();
  for (std::size_t i = 0; i < node.items.size(); ++i)
    if (node.items[i].kind == DesignerItem::Kind::Control) {
      firstControl = i;
      break;
    }
  std::size_t at = firstControl;
  const Text name = node.NameOf(item);
  for (std::size_t i = 0; i < firstControl; ++i)
    if (IsPropertyItem(node.items[i]) && vb::LessNoCase(name, node.NameOf(node.items[i]))) {
      at = i;
      break;
    }
  node.items.insert(node.items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
}

Text ChildIndent(const DesignerNode& node) { return node.Indent() + u"   "; }

DesignerItem NewPropertyLine(const DesignerNode& node, TextView name, TextView value) {
  DesignerItem item;
  item.kind = DesignerItem::Kind::Property;
  item.lines.push_back(Line{PropertyLine(ChildIndent(node), name, value), {}});
  return item;
}

// The text of one member in a font block, as VB writes it.
Text FontMemberText(TextView member, const Values& values) {
  const vb::Variant* v = Find(values, u"Font." + Text(member));
  if (!v) return {};
  if (member == u"Name") return QuoteText(vb::CStr(*v));
  if (member == u"Size") return vb::CStr(*v);
  return BooleanText(vb::CBool(*v));
}

DesignerItem NewFontBlock(const DesignerNode& node, const Values& values) {
  const Text indent = ChildIndent(node), inner = indent + u"   ";
  DesignerItem item;
  item.kind = DesignerItem::Kind::PropertyBlock;
  item.lines.push_back(Line{indent + u"BeginProperty Font " + Text(kStdFontClass) + u" ", {}});
  const bool bold = vb::CBool(*Find(values, u"Font.Bold"));
  item.lines.push_back(Line{PropertyLine(inner, u"Name", FontMemberText(u"Name", values)), {}});
  item.lines.push_back(Line{PropertyLine(inner, u"Size", FontMemberText(u"Size", values)), {}});
  item.lines.push_back(Line{PropertyLine(inner, u"Charset", u"0"), {}});
  item.lines.push_back(Line{PropertyLine(inner, u"Weight", bold ? u"700" : u"400"), {}});
  for (TextView member : {u"Underline", u"Italic", u"Strikethrough"})
    item.lines.push_back(Line{PropertyLine(inner, member, FontMemberText(member, values)), {}});
  item.lines.push_back(Line{indent + u"EndProperty", {}});
  return item;
}

// Writes the changed font members into the node's font block, adding the block when it has none.
void UpdateFont(DesignerNode& node, const Values& values, const std::set<Text>& changed) {
  DesignerItem* block = node.FindProperty(u"Font");
  if (!block || block->kind != DesignerItem::Kind::PropertyBlock) {
    InsertProperty(node, NewFontBlock(node, values));
    return;
  }
  for (const Text& member : changed) {
    const Text written = member == u"Bold" ? Text(u"Weight") : member;
    Text value = member == u"Bold" ? Text(vb::CBool(*Find(values, u"Font.Bold")) ? u"700" : u"400")
                                   : FontMemberText(member, values);
    bool replaced = false;
    std::vector<Line>& lines = node.Edit(*block);
    // Only the block's own lines (not its first and last) hold members.
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
      if (vb::EqualsNoCase(PropertyNameOf(lines[i].text), written)) {
        ReplaceValue(lines[i], value);
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      const Line& first = lines.front();
      std::size_t n = 0;
      while (n < first.text.size() && first.text[n] == u' ') ++n;
      Line line{PropertyLine(first.text.substr(0, n) + u"   ", written, value), {}};
      lines.insert(lines.end() - 1, line);
    }
  }
}

// Writes what changed on one bound control into its block.
void UpdateNode(memhost::MemoryVBE& vbe, DesignerNode& node, const std::filesystem::path& file) {
  // Only what was written since the load or the last save, and is not what it was, changes lines.
  const Values before = vbe.ControlChanges(node.control);
  if (before.empty()) return;
  const Values current = ReadValues(node.control);
  auto changed = [&](const std::pair<Text, vb::Variant>& property) {
    for (const auto& [name, was] : before)
      if (name == property.first) return !(was == property.second);
    return false;
  };
  if (std::none_of(current.begin(), current.end(), changed)) return;
  KeepPristine(node);
  std::set<Text> fontChanged;
  for (std::size_t at = 0; at < current.size(); ++at) {
    const auto& [name, value] = current[at];
    if (!changed(current[at])) continue;
    if (name == u"Name") {
      const Text newName = vb::CStr(value);
      Line begin = node.Begin();
      // Begin Library.Class Name: the third word.
      std::size_t i = 0, words = 0;
      while (i < begin.text.size() && words < 3) {
        while (i < begin.text.size() && (begin.text[i] == u' ' || begin.text[i] == u'\t')) ++i;
        std::size_t start = i;
        while (i < begin.text.size() && begin.text[i] != u' ' && begin.text[i] != u'\t') ++i;
        if (++words == 3) begin.text.replace(start, i - start, newName);
      }
      node.SetEnds(std::move(begin), node.End());
      node.name = newName;
    } else if (vb::StartsWith(name, u"Font.")) {
      fontChanged.insert(name.substr(5));
    } else {
      const auto* def = DefOf(node.className, name);
      if (DesignerItem* item = node.FindProperty(name); item && item->kind == DesignerItem::Kind::Property) {
        Line& line = node.Edit(*item).front();
        ReplaceValue(line, FormatValue(def, name, value, ValueTextOf(line.text), node.name, file));
      } else {
        InsertProperty(node, NewPropertyLine(node, name, FormatValue(def, name, value, {}, node.name, file)));
      }
    }
  }
  if (!fontChanged.empty()) UpdateFont(node, current, fontChanged);
}

// Control pointers in order, looked up by halving.
using ControlSet = std::vector<const host::VBControl*>;
bool Holds(const ControlSet& set, const host::VBControl* control) {
  return std::binary_search(set.begin(), set.end(), control);
}

// Removes the blocks of the tree's deleted controls; a container's block goes with everything in
// it, as the designer deletes a container with its contents.
void RemoveDeleted(DesignerNode& node, const ControlSet& alive) {
  auto deleted = [&](const DesignerItem& item) {
    return item.control && item.control->control && !Holds(alive, item.control->control.get());
  };
  if (std::any_of(node.items.begin(), node.items.end(), deleted)) {
    KeepPristine(node);
    std::erase_if(node.items, deleted);
  }
  for (DesignerItem& item : node.items)
    if (item.control) RemoveDeleted(*item.control, alive);
}

// A line of a tabbed dialog's lists of the controls on each tab: "Tab(2).Control(0)" names the
// control in slot 0 of tab 2, "Tab(2).Control(0).Enabled" is a value of that slot (`member`), and
// "Tab(2).ControlCount" has no slot.
struct TabEntry {
  int tab = 0;
  std::optional<int> slot;
  bool member = false;
};

// The entry a property name is, if it is one.
std::optional<TabEntry> ReadTabEntry(TextView name) {
  auto number = [&](std::size_t& at, int& value) {
    std::size_t digits = 0;
    for (value = 0; at < name.size() && name[at] >= u'0' && name[at] <= u'9' && digits < 5; ++at, ++digits)
      value = value * 10 + (name[at] - u'0');
    return digits > 0 && at < name.size() && name[at++] == u')';
  };
  if (!vb::StartsWith(vb::LCase(name), u"tab(")) return std::nullopt;
  TabEntry entry;
  std::size_t at = 4;
  if (!number(at, entry.tab)) return std::nullopt;
  const Text rest = vb::LCase(name.substr(at));
  if (rest == u".controlcount") return entry;
  if (!vb::StartsWith(rest, u".control(")) return std::nullopt;
  at += 9;
  int slot = 0;
  if (!number(at, slot) || (at != name.size() && name[at] != u'.')) return std::nullopt;
  entry.slot = slot;
  entry.member = at != name.size();
  return entry;
}

// A tabbed dialog (SSTab) names the controls on each of its tabs in lines of its own
// ("Tab(0).Control(1)=   "optKind(1)"", "Tab(0).Control(1).Enabled=   0", "Tab(0).ControlCount=   2"):
// a control on it that is renamed or deleted is renamed or dropped there too, or its tab would
// lose it.
void UpdateTabLists(DesignerNode& tab, const ControlSet& alive) {
  std::vector<std::pair<Text, Text>> changes;  // the reference as written, the new one (empty: deleted)
  for (const DesignerItem& item : tab.items) {
    if (!item.control || !item.control->control) continue;
    DesignerNode& child = *item.control;
    Text index;
    if (const DesignerItem* line = child.FindProperty(u"Index"); line && line->kind == DesignerItem::Kind::Property)
      index = u"(" + vb::Trim(ValueTextOf(child.LinesOf(*line).front().text)) + u")";
    if (!Holds(alive, child.control.get())) {
      changes.emplace_back(child.name + index, Text());
    } else if (Text now = vb::CStr(child.control->Properties()->Item(u"Name")->Value()); now != child.name) {
      changes.emplace_back(child.name + index, now + index);
    }
  }
  if (changes.empty()) return;
  tab.SplitLines();
  auto entryOf = [&](const DesignerItem& item) {
    return item.kind == DesignerItem::Kind::Property ? ReadTabEntry(tab.NameOf(item)) : std::nullopt;
  };
  std::set<std::pair<int, int>> dropped;  // tab, slot
  for (DesignerItem& item : tab.items) {
    const std::optional<TabEntry> entry = entryOf(item);
    if (!entry || !entry->slot || entry->member) continue;
    const std::optional<vb::Variant> value = ParseValue(ValueTextOf(tab.LinesOf(item).front().text));
    const Text written = value ? vb::CStr(*value) : Text();
    for (const auto& [was, now] : changes) {
      if (!vb::EqualsNoCase(written, was)) continue;
      KeepPristine(tab);
      if (now.empty())
        dropped.emplace(entry->tab, *entry->slot);
      else
        ReplaceValue(tab.Edit(item).front(), QuoteText(now));
      break;
    }
  }
  if (dropped.empty()) return;
  // The slots of a tab count from 0 without a gap, and its count follows them: the slots kept on
  // a tab that lost one are numbered again, with the values that go with them.
  std::map<int, int> kept;                  // per tab that lost a control: how many it keeps
  std::map<std::pair<int, int>, int> slots;  // tab, slot as written: the slot now
  for (const auto& [number, slot] : dropped) kept.try_emplace(number, 0);
  for (const DesignerItem& item : tab.items)
    if (const std::optional<TabEntry> entry = entryOf(item);
        entry && entry->slot && !entry->member && kept.count(entry->tab) && !dropped.count({entry->tab, *entry->slot}))
      slots[{entry->tab, *entry->slot}] = kept[entry->tab]++;
  std::vector<DesignerItem> items;
  for (DesignerItem& item : tab.items) {
    const std::optional<TabEntry> entry = entryOf(item);
    if (entry && kept.count(entry->tab)) {
      if (!entry->slot) {
        ReplaceValue(tab.Edit(item).front(), vb::ToText(static_cast<std::int64_t>(kept[entry->tab])));
      } else if (dropped.count({entry->tab, *entry->slot})) {
        continue;
      } else if (const auto now = slots.find({entry->tab, *entry->slot}); now != slots.end() && now->second != *entry->slot) {
        Line& line = tab.Edit(item).front();
        const std::size_t open = line.text.find(u'(', line.text.find(u')') + 1);
        const std::size_t close = line.text.find(u')', open);
        line.text.replace(open + 1, close - open - 1, vb::ToText(static_cast<std::int64_t>(now->second)));
      }
    }
    items.push_back(std::move(item));
  }
  tab.items = std::move(items);
}

DesignerNode* FindNode(const DesignerNode& root, TextView name) {
  std::vector<std::shared_ptr<DesignerNode>> all;
  CollectControls(root, all);
  for (const auto& n : all)
    if (vb::EqualsNoCase(n->name, name)) return n.get();
  return nullptr;
}

std::shared_ptr<DesignerNode> NewNode(const DesignerNode& parent, const DesignerNode& root,
                                      const host::Ref<host::VBControl>& control, const std::filesystem::path& file) {
  auto node = std::make_shared<DesignerNode>();
  node->codePage = parent.codePage;
  node->control = control;
  node->className = control->ClassName();
  Values values = ReadValues(control);
  node->name = vb::CStr(*Find(values, u"Name"));
  const auto* cls = memhost::FindControlClass(node->className);
  Text library = cls ? cls->libraryPrefix : Text(u"VB");
  if (!cls) {
    // A class the table does not know: the library it is written with elsewhere in the form.
    std::vector<std::shared_ptr<DesignerNode>> all;
    CollectControls(root, all);
    for (const auto& n : all)
      if (Text written = n->Library(); n->className == node->className && !written.empty()) library = written;
  }
  const Text indent = ChildIndent(parent);
  node->SetEnds(Line{indent + u"Begin " + library + u"." + node->className + u" " + node->name + u" ", {}},
                Line{indent + u"End", {}});
  bool fontDiffers = false;
  for (const auto& [name, value] : values) {
    if (name == u"Name") continue;
    if (vb::StartsWith(name, u"Font.")) {
      const vb::Variant* standard = Find(DefaultFont(), name);
      if (!standard || !(*standard == value)) fontDiffers = true;
      continue;
    }
    const auto* def = DefOf(node->className, name);
    if (def && def->kind == memhost::PropKind::Index && vb::CInt(value) < 0) continue;
    const bool always = name == u"Left" || name == u"Top" || name == u"Width" || name == u"Height" ||
                        name == u"TabIndex" || name == u"Index";
    if (!always && def && def->defaultValue == value) continue;
    node->items.push_back(NewPropertyLine(*node, name, FormatValue(def, name, value, {}, node->name, file)));
  }
  if (fontDiffers) InsertProperty(*node, NewFontBlock(*node, values));
  return node;
}

// The property values of a control block as the in-memory designer takes them: font members as
// "Font.Name", ..., the weight as "Font.Bold"; values kept in the .frx file are left out.
// With `only`, that one property alone (no font member).
Values ReadProperties(const DesignerNode& node, std::optional<TextView> only = std::nullopt) {
  // Every value is added the same way (a new name, a new value): one copy of the code that grows
  // the list, which the program's link order places with the rest of loading a form.
  Values values;
  auto read = [&](const DesignerItem& item) {
    if (item.kind == DesignerItem::Kind::Property) {
      const Text line = node.LinesOf(item).front().text;
      Text name = PropertyNameOf(line);
      if (only && !vb::EqualsNoCase(name, *only)) return;
      if (auto value = ParseValue(ValueTextOf(line))) values.emplace_back(std::move(name), std::move(*value));
    } else if (!only && item.kind == DesignerItem::Kind::PropertyBlock && vb::EqualsNoCase(node.NameOf(item), u"Font")) {
      const std::vector<Line> lines = node.LinesOf(item);
      for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const Text member = PropertyNameOf(lines[i].text);
        auto value = ParseValue(ValueTextOf(lines[i].text));
        if (!value) continue;
        if (vb::EqualsNoCase(member, u"Weight")) {
          if (value->IsNumber()) values.emplace_back(Text(u"Font.Bold"), vb::Variant(vb::CDbl(*value) >= 700));
          continue;
        }
        for (TextView known : kFontMembers)
          if (vb::EqualsNoCase(member, known)) values.emplace_back(u"Font." + Text(known), vb::Variant(*value));
      }
    }
  };
  for (const DesignerItem& item : node.items) {
    if (item.kind != DesignerItem::Kind::Lines) {
      read(item);
      continue;
    }
    for (const DesignerItem& part : ItemsOfLines(item.bytes)) read(part);
  }
  return values;
}

// A control's own lines as read, when they are one run among its child blocks, as a piece of the
// file's bytes: the control reads them again when it is first looked at past its name. The piece
// keeps the bytes alive, not the tree, whose blocks hold the controls.
std::optional<memhost::SharedBytes> OwnLines(const DesignerNode& node, const memhost::SharedBytes& bytes) {
  const auto own = [](const DesignerItem& item) { return !item.control; };
  const auto run = std::find_if(node.items.begin(), node.items.end(), own);
  if (run == node.items.end() || run->kind != DesignerItem::Kind::Lines ||
      std::find_if(run + 1, node.items.end(), own) != node.items.end())
    return std::nullopt;
  const std::less_equal<const char*> notAfter;
  if (!notAfter(bytes.data(), run->bytes.data()) ||
      !notAfter(run->bytes.data() + run->bytes.size(), bytes.data() + bytes.size()))
    return std::nullopt;
  return bytes.Part(run->bytes);
}

}  // namespace

void LoadDesignerControls(memhost::MemoryVBE& vbe, TextView form, DesignerNode& root, const memhost::SharedBytes& bytes) {
  std::vector<std::pair<DesignerNode*, Text>> blocks;  // each control block and its container's name
  auto collect = [&](auto&& self, DesignerNode& node, const Text& container) -> void {
    for (DesignerItem& item : node.items) {
      if (!item.control) continue;
      blocks.emplace_back(item.control.get(), container);
      self(self, *item.control, item.control->name);
    }
  };
  collect(collect, root, Text());
  for (auto& [node, container] : blocks) {
    // A control whose values are read on first use gets only its index now: its array is checked
    // as it is placed.
    std::optional<memhost::SharedBytes> lines = OwnLines(*node, bytes);
    memhost::PlacedControl placedControl{
        node->className, node->name, lines ? ReadProperties(*node, u"Index") : ReadProperties(*node), container};
    if (lines) {
      placedControl.readLater = [lines = std::move(*lines), codePage = node->codePage] {
        DesignerNode block;
        block.codePage = codePage;
        block.items.push_back(DesignerItem{DesignerItem::Kind::Lines, lines.view(), {}, nullptr});
        return ReadProperties(block);
      };
    }
    try {
      node->control = vbe.LoadControl(form, placedControl);
    } catch (const vb::Error& e) {
      vb::Raise(e.number, u"control " + node->name + u" (" + node->className + u"): " + e.description);
    }
  }
}

void ApplyDesignerChanges(memhost::MemoryVBE& vbe, TextView form, DesignerNode& root, const std::string& eolBefore,
                          const std::filesystem::path& file) {
  RestoreDesigner(root);
  auto designer = vbe.Component(form)->Designer();
  std::vector<host::Ref<host::VBControl>> controls;
  if (designer) {
    auto collection = designer->VBControls();
    for (long i = 1; i <= collection->Count(); ++i) controls.push_back(collection->Item(i));
  }
  ControlSet alive;
  for (const auto& c : controls) alive.push_back(c.get());
  std::sort(alive.begin(), alive.end());

  auto tabLists = [&](auto&& self, DesignerNode& node) -> void {
    if (node.className == u"SSTab" && node.control && Holds(alive, node.control.get())) UpdateTabLists(node, alive);
    for (DesignerItem& item : node.items)
      if (item.control) self(self, *item.control);
  };
  tabLists(tabLists, root);
  RemoveDeleted(root, alive);
  std::vector<std::shared_ptr<DesignerNode>> nodes;
  CollectControls(root, nodes);
  ControlSet bound;
  for (const auto& n : nodes) {
    if (!n->control) continue;
    bound.push_back(n->control.get());
    UpdateNode(vbe, *n, file);
  }
  std::sort(bound.begin(), bound.end());
  auto unplaced = static_cast<std::size_t>(
      std::count_if(controls.begin(), controls.end(), [&](const auto& c) { return !Holds(bound, c.get()); }));
  for (const auto& c : controls) {
    if (Holds(bound, c.get())) continue;
    const Text container = vbe.ContainerOf(c);
    DesignerNode* parent = container.empty() ? nullptr : FindNode(root, container);
    if (!parent) parent = &root;
    // Room for what is still to come at once, not twice the room of a form of thousands.
    if (parent->items.size() == parent->items.capacity()) parent->items.reserve(parent->items.size() + unplaced);
    --unplaced;
    AppendControl(*parent, NewNode(*parent, root, c, file));
  }
  std::string previous = eolBefore;
  FillLineEnds(root, previous);
}

void DesignerSaved(memhost::MemoryVBE& vbe, DesignerNode& root) {
  CommitDesigner(root);
  std::vector<std::shared_ptr<DesignerNode>> nodes;
  CollectControls(root, nodes);
  for (const auto& node : nodes)
    if (node->control) vbe.ForgetControlChanges(node->control);
}

}  // namespace files
