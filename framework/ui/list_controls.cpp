// List box, combo box and list view: rows kept in order (sorted lists by text, letter case
// ignored), the current row, ticks and item data.
#include <algorithm>

#include "framework/ui/controls.h"
#include "framework/vb_error.h"

namespace ui {

namespace {

[[noreturn]] void BadRowIndex(const Text& control) {
  vb::Raise(vb::err::kInvalidPropertyArrayIndex, u"Invalid property array index", control);
}

[[noreturn]] void BadPropertyValue(const Text& control) {
  vb::Raise(vb::err::kInvalidPropertyValue, u"Invalid property value", control);
}

// Where AddItem puts a row: the given index, else its place by text in a sorted list (after
// rows that compare equal), else the end.
template <class Rows, class TextOf>
int InsertPosition(const Rows& rows, TextView text, int index, bool sorted, const Text& control, TextOf textOf) {
  const int count = static_cast<int>(rows.size());
  if (index < -1 || index > count) BadRowIndex(control);
  if (index >= 0) return index;
  if (!sorted) return count;
  auto at = std::upper_bound(rows.begin(), rows.end(), text,
                             [&](TextView t, const auto& row) { return vb::LessNoCase(t, textOf(row)); });
  return static_cast<int>(at - rows.begin());
}

}  // namespace

// --- ListBox --------------------------------------------------------------------------------

ListBox::ListBox(Form& owner, Text name, bool sorted, Style style)
    : Control(owner, std::move(name)), sorted_(sorted), style_(style) {}

const ListBox::Row& ListBox::RowAt(int index) const {
  if (index < 0 || index >= listCount()) BadRowIndex(name());
  return s_.rows[index];
}

void ListBox::AddItem(TextView text, int index) {
  const int at = InsertPosition(s_.rows, text, index, sorted_, name(), [](const Row& r) -> TextView { return r.text; });
  s_.rows.insert(s_.rows.begin() + at, Row{Text(text), 0, false});
  s_.newIndex = at;
  if (s_.listIndex >= at) ++s_.listIndex;  // the current row stays current
  Changed();
}

void ListBox::RemoveItem(int index) {
  RowAt(index);
  s_.rows.erase(s_.rows.begin() + index);
  if (s_.listIndex == index)
    s_.listIndex = -1;
  else if (s_.listIndex > index)
    --s_.listIndex;
  s_.newIndex = -1;
  Changed();
}

void ListBox::Clear() {
  s_.rows.clear();
  s_.listIndex = -1;
  s_.newIndex = -1;
  Changed();
}

Text ListBox::List(int index) const { return RowAt(index).text; }

void ListBox::SetList(int index, TextView text) {
  RowAt(index);
  s_.rows[index].text = Text(text);
  Changed();
}

std::int32_t ListBox::ItemData(int index) const { return RowAt(index).itemData; }

void ListBox::SetItemData(int index, std::int32_t value) {
  RowAt(index);
  s_.rows[index].itemData = value;
  Changed();
}

void ListBox::SetListIndex(int index) {
  if (index < -1 || index >= listCount()) BadPropertyValue(name());
  if (s_.listIndex == index) return;
  s_.listIndex = index;
  Changed();
  if (OnClick) OnClick();
}

bool ListBox::Selected(int index) const {
  const Row& row = RowAt(index);
  return style_ == Checkbox ? row.selected : index == s_.listIndex;
}

void ListBox::SetSelected(int index, bool value) {
  RowAt(index);
  if (style_ != Checkbox) {
    // A single-selection list: selecting a row makes it the current one.
    if (value)
      SetListIndex(index);
    else if (s_.listIndex == index)
      SetListIndex(-1);
    return;
  }
  if (s_.rows[index].selected == value) return;
  s_.rows[index].selected = value;
  Changed();
  if (ItemCheck) ItemCheck(index);
}

int ListBox::selCount() const {
  if (style_ != Checkbox) return s_.listIndex >= 0 ? 1 : 0;
  return static_cast<int>(std::count_if(s_.rows.begin(), s_.rows.end(), [](const Row& r) { return r.selected; }));
}

void ListBox::ClickRow(int index) {
  RowAt(index);
  if (!Interactive()) return;
  FocusByPerson();
  if (s_.listIndex != index) {
    s_.listIndex = index;
    Changed();
  }
  if (OnClick) OnClick();
}

void ListBox::TickRow(int index) {
  RowAt(index);
  if (!Interactive()) return;
  if (style_ == Checkbox) {
    s_.rows[index].selected = !s_.rows[index].selected;
    Changed();
    if (ItemCheck) ItemCheck(index);
  }
  ClickRow(index);
}

void ListBox::DoubleClickRow(int index) {
  RowAt(index);
  if (!Interactive()) return;
  ClickRow(index);
  if (DblClick) DblClick();
}

int ListBox::FindRow(TextView text) const {
  for (int i = 0; i < listCount(); ++i)
    if (s_.rows[i].text == text) return i;
  return -1;
}

void ListBox::CaptureDesign() {
  CaptureCommon();
  design_ = s_;
}

void ListBox::RestoreDesign() {
  RestoreCommon();
  s_ = design_;
}

// --- ComboBox -------------------------------------------------------------------------------

namespace {

int ExactRow(const std::vector<Text>& items, TextView text) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i] == text) return static_cast<int>(i);
  return -1;
}

}  // namespace

ComboBox::ComboBox(Form& owner, Text name, Style style, bool sorted)
    : Control(owner, std::move(name)), style_(style), sorted_(sorted) {}

void ComboBox::AddItem(TextView text, int index) {
  const int at = InsertPosition(s_.items, text, index, sorted_, name(), [](const Text& t) -> TextView { return t; });
  s_.items.insert(s_.items.begin() + at, Text(text));
  s_.itemData.insert(s_.itemData.begin() + at, 0);
  s_.newIndex = at;
  if (s_.listIndex >= at) ++s_.listIndex;
  Changed();
}

void ComboBox::CheckRow(int index) const {
  if (index < 0 || index >= listCount()) BadRowIndex(name());
}

void ComboBox::RemoveItem(int index) {
  CheckRow(index);
  s_.items.erase(s_.items.begin() + index);
  s_.itemData.erase(s_.itemData.begin() + index);
  s_.newIndex = -1;
  if (s_.listIndex == index) {
    s_.listIndex = -1;
    if (style_ == DropdownList) s_.text.clear();  // a drop-down list shows only rows
  } else if (s_.listIndex > index) {
    --s_.listIndex;
  }
  Changed();
}

void ComboBox::Clear() {
  s_.items.clear();
  s_.itemData.clear();
  s_.newIndex = -1;
  s_.listIndex = -1;
  s_.text.clear();
  Changed();
}

Text ComboBox::List(int index) const {
  CheckRow(index);
  return s_.items[index];
}

std::int32_t ComboBox::ItemData(int index) const {
  CheckRow(index);
  return s_.itemData[index];
}

void ComboBox::SetItemData(int index, std::int32_t value) {
  CheckRow(index);
  s_.itemData[index] = value;
  Changed();
}

int ComboBox::FindRow(TextView text) const { return ExactRow(s_.items, text); }

void ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= listCount()) BadPropertyValue(name());
  if (s_.listIndex == index) return;
  s_.listIndex = index;
  s_.text = index >= 0 ? s_.items[index] : Text();
  Changed();
  if (index >= 0 && OnClick) OnClick();
}

void ComboBox::SetText(TextView value) {
  if (style_ == DropdownList) {
    // Only the text of a row can be shown.
    const int row = ExactRow(s_.items, value);
    if (row < 0) vb::Raise(383, u"'Text' property is read-only", name());
    SetListIndex(row);
    return;
  }
  if (s_.text == value) return;
  s_.text = Text(value);
  s_.listIndex = ExactRow(s_.items, value);
  Changed();
  if (Change) Change();
}

void ComboBox::Type(TextView chars) {
  if (!Interactive() || style_ == DropdownList) return;
  FocusByPerson();
  if (s_.text == chars) return;
  s_.text = Text(chars);
  s_.listIndex = ExactRow(s_.items, chars);
  Changed();
  if (Change) Change();
}

bool ComboBox::Choose(TextView text) {
  if (!Interactive()) return false;
  const int row = ExactRow(s_.items, text);
  if (row < 0) return false;
  FocusByPerson();
  s_.listIndex = row;
  s_.text = s_.items[row];
  Changed();
  if (OnClick) OnClick();
  return true;
}

void ComboBox::CaptureDesign() {
  CaptureCommon();
  design_ = s_;
}

void ComboBox::RestoreDesign() {
  RestoreCommon();
  s_ = design_;
}

// --- ListView -------------------------------------------------------------------------------

ListView::ListView(Form& owner, Text name) : Control(owner, std::move(name)) {}

void ListView::AddColumn(TextView header) {
  s_.columns.emplace_back(header);
  Changed();
}

int ListView::AddItem(TextView text) {
  std::vector<Text> cells(std::max<std::size_t>(1, s_.columns.size()));
  cells[0] = Text(text);
  s_.rows.push_back(std::move(cells));
  Changed();
  return itemCount();
}

void ListView::SetSubItem(int item, int subItem, TextView text) {
  if (item < 1 || item > itemCount()) vb::Raise(vb::err::kIndexOutOfBounds, u"Index out of bounds", name());
  // Sub-items need a column of their own.
  if (subItem < 1 || subItem >= static_cast<int>(s_.columns.size())) BadPropertyValue(name());
  std::vector<Text>& cells = s_.rows[item - 1];
  if (static_cast<int>(cells.size()) <= subItem) cells.resize(subItem + 1);
  cells[subItem] = Text(text);
  Changed();
}

const std::vector<Text>& ListView::Row(int item) const {
  if (item < 1 || item > itemCount()) vb::Raise(vb::err::kIndexOutOfBounds, u"Index out of bounds", name());
  return s_.rows[item - 1];
}

void ListView::ClearItems() {
  s_.rows.clear();
  Changed();
}

void ListView::CaptureDesign() {
  CaptureCommon();
  design_ = s_;
}

void ListView::RestoreDesign() {
  RestoreCommon();
  s_ = design_;
}

}  // namespace ui
