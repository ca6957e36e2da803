// The automatic layout of a form in a window. The controls go from top to bottom in declaration
// order (which is also the tab order) in one column: a label just before a text or combo box names
// it on the same row, a button just after a one-line text box sits at that box's right end (the
// "..." of a font box), frames hold their own controls, and the form's other command buttons form
// a row at the bottom right. Every caption and text is measured with the dialog's font and each
// control is sized to hold it; the column is as wide as its widest row needs, within the screen.
// A sizable form gives the room it gains to its stretch control, and every control follows the
// width.
#pragma once

#include <windows.h>

#include <map>

#include "framework/ui/form.h"

namespace win32 {

// Text sizes in the dialog's font, as the controls draw it.
class TextMeasure {
 public:
  explicit TextMeasure(HFONT font);
  ~TextMeasure();
  TextMeasure(const TextMeasure&) = delete;
  TextMeasure& operator=(const TextMeasure&) = delete;

  // The width of one line of a caption; an access key's "&" takes no room ("&&" shows one "&").
  int CaptionWidth(vb::TextView caption) const;
  // The widest of the text's lines, drawn as they stand.
  int TextWidth(vb::TextView text) const;
  // The height of a caption wrapped at `width`, as a label wraps it.
  int WrappedHeight(vb::TextView caption, int width) const;
  int lineHeight() const { return static_cast<int>(metrics_.tmHeight); }
  int averageCharWidth() const { return static_cast<int>(metrics_.tmAveCharWidth); }

 private:
  HDC dc_;
  HGDIOBJ old_;
  TEXTMETRICW metrics_ = {};
};

struct FormLayout {
  std::map<const ui::Control*, RECT> places;
  SIZE client = {};
};

// The control that takes the room a sizable form gains: its first multi-line text box, else its
// first list, tree or report list; nullptr when there is none.
const ui::Control* StretchControl(const ui::Form& form);

// Lays the form out at its natural size, or across a client area of `client` (a sizable form's
// stretch control taking up the difference in height).
FormLayout LayOutForm(const ui::Form& form, const TextMeasure& measure, SIZE client = {});

}  // namespace win32
