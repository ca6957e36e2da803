#include "win32/form_layout.h"

#include <algorithm>
#include <vector>

#include "framework/ui/controls.h"
#include "win32/control_windows.h"
#include "win32/wide_text.h"

namespace win32 {

namespace {

// Pixels at 96 dots per inch.
constexpr int kMargin = 10;
constexpr int kGap = 6;
constexpr int kBaseWidth = 400;      // the column of a dialog with short texts
constexpr int kMaxWidth = 1000;      // the column of one with long ones, screen permitting
constexpr int kMaxLabelColumn = 200;  // longer labels wrap
constexpr int kMinInputWidth = 160;
constexpr int kMinButtonWidth = 84;
constexpr int kButtonPadding = 24;
constexpr int kFramePadding = 10;
// Visible rows of multi-line boxes and lists: code-like text (a horizontal scroll bar) gets a
// large box, other text a small one; longer content scrolls.
constexpr int kCodeColumns = 72;
constexpr int kCodeRows = 14;
constexpr int kPlainRows = 5;
constexpr int kMaxTextRows = 30;
constexpr int kMinListRows = 8;
constexpr int kMaxListRows = 16;

template <class T>
const T* As(const ui::Control* control) {
  return dynamic_cast<const T*>(control);
}

bool Laid(const ui::Control& control) { return !As<ui::CommonDialog>(&control) && !As<ui::Menu>(&control); }

// A box that a label before it names on the same row.
bool Named(const ui::Control* control) { return As<ui::TextBox>(control) || As<ui::ComboBox>(control); }

const ui::TextBox* OneLineBox(const ui::Control* control) {
  const auto* box = As<ui::TextBox>(control);
  return box && !box->multiLine() ? box : nullptr;
}

bool HorizontalScroll(const ui::TextBox& box) {
  return box.multiLine() && (box.scrollBars() & ui::vbHorizontal);
}

int LineCount(vb::TextView text) {
  return 1 + static_cast<int>(std::count(text.begin(), text.end(), u'\n'));
}

// One row of the column.
struct Row {
  const ui::Control* label = nullptr;   // names `main` from its left
  const ui::Control* main = nullptr;
  const ui::Control* button = nullptr;  // at the right end of a one-line text box
};

class Planner {
 public:
  Planner(const ui::Form& form, const TextMeasure& measure) : controls_(form.controls()), measure_(measure) {}

  FormLayout Plan(const ui::Control* stretch, SIZE client) {
    std::vector<const ui::Control*> bottom;
    const std::vector<Row> rows = RowsOf(nullptr, &bottom);
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int widest = std::max(kBaseWidth, std::min<int>(kMaxWidth, work.right - work.left - 6 * kMargin));
    // Natural: as wide as the widest row needs. In a given window, as wide as the window, since
    // texts that changed since it opened must not push controls past its edges.
    int width = std::min(widest, std::max(kBaseWidth, std::max(RowsWidth(rows), BottomWidth(bottom))));
    if (client.cx > 0) width = static_cast<int>(client.cx) - 2 * kMargin;
    // A sizable form's stretch control takes the room the window has beyond that, or gives up
    // what it lacks.
    int height = Place(rows, bottom, width);
    if (stretch && client.cy > 0 && client.cy != height) {
      stretch_ = stretch;
      extra_ = static_cast<int>(client.cy) - height;
      height = Place(rows, bottom, width);
    }
    return FormLayout{places_, SIZE{width + 2 * kMargin, height}};
  }

 private:
  // The rows of the controls directly inside `container` (nullptr: the form); the form's command
  // buttons that belong to no box go to `bottom`.
  std::vector<Row> RowsOf(const ui::Control* container, std::vector<const ui::Control*>* bottom) const {
    std::vector<Row> rows;
    auto next = [&](size_t i) -> const ui::Control* {
      return i + 1 < controls_.size() && controls_[i + 1]->container() == container ? controls_[i + 1] : nullptr;
    };
    for (size_t i = 0; i < controls_.size(); ++i) {
      const ui::Control* control = controls_[i];
      if (control->container() != container || !Laid(*control)) continue;
      Row row;
      if (As<ui::Label>(control) && Named(next(i))) {
        row.label = control;
        control = controls_[++i];
      }
      row.main = control;
      if (OneLineBox(control) && As<ui::CommandButton>(next(i))) row.button = controls_[++i];
      if (!container && !row.label && As<ui::CommandButton>(control)) {
        bottom->push_back(control);
        continue;
      }
      rows.push_back(row);
    }
    return rows;
  }

  int LabelColumn(const std::vector<Row>& rows) const {
    int width = 0;
    for (const Row& row : rows)
      if (row.label) width = std::max(width, measure_.CaptionWidth(As<ui::Label>(row.label)->caption()) + 4);
    return std::min(width, kMaxLabelColumn);
  }

  int ButtonWidth(const ui::Control* button) const {
    return std::max(kMinButtonWidth, measure_.CaptionWidth(As<ui::CommandButton>(button)->caption()) + kButtonPadding);
  }
  // A small button beside a box: as wide as its caption needs, at least square.
  int SideButtonWidth(const ui::Control* button) const {
    return std::max(ButtonHeight(), measure_.CaptionWidth(As<ui::CommandButton>(button)->caption()) + 16);
  }
  int ButtonHeight() const { return std::max(25, measure_.lineHeight() + 12); }
  int CheckWidth() const { return GetSystemMetrics(SM_CXMENUCHECK) + 8; }

  // The width the control's own content needs (0: whatever the column gives).
  int ContentWidth(const ui::Control* control) const {
    const int scroll = GetSystemMetrics(SM_CXVSCROLL);
    if (const auto* box = As<ui::TextBox>(control)) {
      if (!box->multiLine()) return std::max(kMinInputWidth, measure_.TextWidth(box->text()) + 12);
      if (!HorizontalScroll(*box)) return 0;
      return std::max(kCodeColumns * measure_.averageCharWidth(), measure_.TextWidth(box->text())) + scroll + 12;
    }
    if (const auto* combo = As<ui::ComboBox>(control)) {
      int widest = measure_.TextWidth(combo->text());
      for (int i = 0; i < combo->listCount(); ++i) widest = std::max(widest, measure_.TextWidth(combo->List(i)));
      return std::max(kMinInputWidth, widest + scroll + 12);
    }
    if (const auto* check = As<ui::CheckBox>(control)) return CheckWidth() + measure_.CaptionWidth(check->caption());
    if (const auto* option = As<ui::OptionButton>(control)) return CheckWidth() + measure_.CaptionWidth(option->caption());
    if (As<ui::CommandButton>(control)) return ButtonWidth(control);
    if (const auto* list = As<ui::ListBox>(control)) {
      int widest = 0;
      for (int i = 0; i < list->listCount(); ++i) widest = std::max(widest, measure_.TextWidth(list->List(i)));
      return widest + scroll + 12 + (list->style() == ui::ListBox::Checkbox ? CheckWidth() : 0);
    }
    if (const auto* view = As<ui::ListView>(control)) {
      int total = scroll + 4;
      for (size_t c = 0; c < view->columnHeaders().size(); ++c) total += ColumnWidth(*view, c);
      return total;
    }
    if (const auto* frame = As<ui::Frame>(control)) {
      std::vector<Row> inner = RowsOf(frame, nullptr);
      return std::max(measure_.CaptionWidth(frame->caption()) + 4 * kFramePadding, RowsWidth(inner) + 2 * kFramePadding);
    }
    return 0;
  }

  int RowsWidth(const std::vector<Row>& rows) const {
    const int labels = LabelColumn(rows);
    int width = 0;
    for (const Row& row : rows) {
      int needed = ContentWidth(row.main);
      if (row.label) needed += labels + kGap;
      if (row.button) needed += kGap + SideButtonWidth(row.button);
      width = std::max(width, needed);
    }
    return width;
  }

  int BottomWidth(const std::vector<const ui::Control*>& buttons) const {
    int width = 0;
    for (const ui::Control* button : buttons) width += ButtonWidth(button) + kGap;
    return std::max(0, width - kGap);
  }

  // A column of a report list: as wide as its header or its widest cell.
  int ColumnWidth(const ui::ListView& view, size_t column) const {
    int width = measure_.TextWidth(view.columnHeaders()[column]);
    for (int row = 1; row <= view.itemCount(); ++row) {
      const std::vector<vb::Text>& cells = view.Row(row);
      if (column < cells.size()) width = std::max(width, measure_.TextWidth(cells[column]));
    }
    return width + kReportColumnPadding;
  }

  int Height(const ui::Control* control, int width) const {
    const int line = measure_.lineHeight();
    int height = 0;
    if (const auto* box = As<ui::TextBox>(control)) {
      if (!box->multiLine()) return line + 8;
      const bool code = HorizontalScroll(*box);
      const int rows = std::clamp(LineCount(box->text()), code ? kCodeRows : kPlainRows, kMaxTextRows);
      height = rows * line + 8 + (code ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    } else if (As<ui::ComboBox>(control)) {
      height = line + 10;
    } else if (As<ui::CheckBox>(control) || As<ui::OptionButton>(control)) {
      height = std::max(line, GetSystemMetrics(SM_CYMENUCHECK)) + 6;
    } else if (As<ui::CommandButton>(control)) {
      height = ButtonHeight();
    } else if (const auto* label = As<ui::Label>(control)) {
      height = measure_.WrappedHeight(label->caption(), width);
    } else if (const auto* list = As<ui::ListBox>(control)) {
      const int item = list->style() == ui::ListBox::Checkbox ? std::max(line, GetSystemMetrics(SM_CYMENUCHECK)) + 4 : line;
      height = std::clamp(list->listCount(), kMinListRows, kMaxListRows) * item + 8;
    } else if (const auto* view = As<ui::ListView>(control)) {
      height = line + 12 + std::clamp(view->itemCount(), kMinListRows, kMaxListRows) * (line + 5) +
               GetSystemMetrics(SM_CYHSCROLL);
    } else if (As<ui::TreeView>(control)) {
      height = 240;
    }
    return control == stretch_ ? std::max(3 * line + 8, height + extra_) : height;
  }

  // Places the rows from the top `y` in the column from `left` of `width`; returns the bottom.
  int PlaceRows(const std::vector<Row>& rows, int left, int y, int width) {
    const int labels = LabelColumn(rows);
    for (const Row& row : rows) {
      const ui::Control* control = row.main;
      if (const auto* frame = As<ui::Frame>(control)) {
        const int top = y + measure_.lineHeight() + kGap;
        const int inner = PlaceRows(RowsOf(frame, nullptr), left + kFramePadding, top, width - 2 * kFramePadding);
        places_[control] = RECT{left, y, left + width, inner + kFramePadding - kGap};
        y = inner + kFramePadding;
        continue;
      }
      int x = left;
      int right = left + width;
      int height = 0;
      if (row.label) {
        const int labelHeight = measure_.WrappedHeight(As<ui::Label>(row.label)->caption(), labels);
        places_[row.label] = RECT{x, y + 3, x + labels, y + 3 + labelHeight};
        height = labelHeight + 3;
        x += labels + kGap;
      }
      const int own = Height(control, right - x);
      if (row.button) {
        const int side = SideButtonWidth(row.button);
        places_[row.button] = RECT{right - side, y, right, y + own};
        right -= side + kGap;
      }
      // A lone command button keeps its own width; everything else fills the row.
      if (As<ui::CommandButton>(control)) right = x + ButtonWidth(control);
      places_[control] = RECT{x, y, right, y + own};
      height = std::max(height, own);
      // A control hidden from the start takes no room (it shows over the next one if it appears).
      if (control->visible()) y += height + kGap;
    }
    return y;
  }

  int Place(const std::vector<Row>& rows, const std::vector<const ui::Control*>& bottom, int width) {
    places_.clear();
    int y = PlaceRows(rows, kMargin, kMargin, width);
    if (!bottom.empty()) {
      y += kGap;
      int x = kMargin + width - BottomWidth(bottom);
      for (const ui::Control* button : bottom) {
        places_[button] = RECT{x, y, x + ButtonWidth(button), y + ButtonHeight()};
        x += ButtonWidth(button) + kGap;
      }
      y += ButtonHeight() + kGap;
    }
    return y + kMargin - kGap;
  }

  const std::vector<ui::Control*>& controls_;
  const TextMeasure& measure_;
  std::map<const ui::Control*, RECT> places_;
  const ui::Control* stretch_ = nullptr;
  int extra_ = 0;
};

}  // namespace

TextMeasure::TextMeasure(HFONT font) : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, font)) {
  GetTextMetricsW(dc_, &metrics_);
}

TextMeasure::~TextMeasure() {
  SelectObject(dc_, old_);
  DeleteDC(dc_);
}

int TextMeasure::CaptionWidth(vb::TextView caption) const {
  RECT rect = {0, 0, 0, 0};
  const std::wstring text = Wide(caption);
  DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_SINGLELINE);
  return static_cast<int>(rect.right - rect.left);
}

int TextMeasure::TextWidth(vb::TextView text) const {
  int widest = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == vb::TextView::npos) end = text.size();
    vb::TextView line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    SIZE size = {};
    const std::wstring wide = Wide(line);
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
    start = end + 1;
  }
  return widest;
}

int TextMeasure::WrappedHeight(vb::TextView caption, int width) const {
  RECT rect = {0, 0, width, 0};
  const std::wstring text = Wide(caption);
  DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  return std::max(static_cast<int>(rect.bottom - rect.top), lineHeight());
}

const ui::Control* StretchControl(const ui::Form& form) {
  for (const ui::Control* control : form.controls())
    if (const auto* box = As<ui::TextBox>(control); box && box->multiLine()) return control;
  for (const ui::Control* control : form.controls())
    if (As<ui::ListBox>(control) || As<ui::ListView>(control) || As<ui::TreeView>(control)) return control;
  return nullptr;
}

FormLayout LayOutForm(const ui::Form& form, const TextMeasure& measure, SIZE client) {
  return Planner(form, measure).Plan(form.borderStyle() == ui::vbSizable ? StretchControl(form) : nullptr, client);
}

}  // namespace win32
