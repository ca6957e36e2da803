// The text box: text set by code, and a person's typing, deleting and pasting with the caret
// and selection rules of a Windows edit control.
#include <algorithm>

#include "framework/ui/controls.h"
#include "framework/vb_error.h"

namespace ui {

TextBox::TextBox(Form& owner, Text name, Text text) : Control(owner, std::move(name)) { s_.text = std::move(text); }

void TextBox::SetText(TextView value) {
  if (s_.text == value) return;
  s_.text = Text(value);
  s_.selStart = 0;
  s_.selLength = 0;
  Changed();
  if (Change) Change();
}

void TextBox::SetSelStart(int value) {
  if (value < 0) vb::Raise(vb::err::kInvalidPropertyValue, u"Invalid property value", name());
  s_.selStart = std::min(value, static_cast<int>(s_.text.size()));
  s_.selLength = 0;
  Changed();
}

void TextBox::SetSelLength(int value) {
  if (value < 0) vb::Raise(vb::err::kInvalidPropertyValue, u"Invalid property value", name());
  s_.selLength = std::min(value, static_cast<int>(s_.text.size()) - s_.selStart);
  Changed();
}

Text TextBox::selText() const { return s_.text.substr(s_.selStart, s_.selLength); }

bool TextBox::Editable() const { return Interactive() && !s_.locked; }

void TextBox::Type(TextView chars) {
  if (!Interactive()) return;
  FocusByPerson();
  for (std::size_t i = 0; i < chars.size(); ++i) {
    char16_t c = chars[i];
    if (c == vb::kCr || c == vb::kLf) {
      // CR LF, a lone CR or a lone LF: one press of Enter.
      if (c == vb::kCr && i + 1 < chars.size() && chars[i + 1] == vb::kLf) ++i;
      TypeKey(vbKeyReturn);
    } else {
      TypeKey(c);
    }
  }
}

void TextBox::TypeKey(int keyAscii) {
  if (KeyPress) KeyPress(keyAscii);
  if (keyAscii <= 0 || keyAscii > 0xFFFF || s_.locked) return;
  const Text before = s_.text;
  if (keyAscii == vbKeyBack) {
    if (s_.selLength > 0)
      DeleteRange(s_.selStart, s_.selLength);
    else if (s_.selStart > 0)
      DeleteRange(s_.selStart - 1, 1);
    Finish(before);
    return;
  }
  Text chars;
  if (keyAscii == vbKeyReturn) {
    if (!s_.multiLine) return;  // a single-line box takes no line break
    chars = vb::kCrLf;
  } else if (keyAscii < vbKeySpace && keyAscii != vb::kTab) {
    return;  // other control keys insert nothing
  } else {
    chars = Text(1, static_cast<char16_t>(keyAscii));
  }
  const int after = static_cast<int>(s_.text.size()) - s_.selLength + static_cast<int>(chars.size());
  if (s_.maxLength > 0 && after > s_.maxLength) return;
  ReplaceSelection(chars);
  Finish(before);
}

void TextBox::PressDelete() {
  if (!Editable()) return;
  FocusByPerson();
  const Text before = s_.text;
  if (s_.selLength > 0)
    DeleteRange(s_.selStart, s_.selLength);
  else if (s_.selStart < static_cast<int>(s_.text.size()))
    DeleteRange(s_.selStart, 1);
  Finish(before);
}

void TextBox::Paste(TextView chars) {
  if (!Editable()) return;
  FocusByPerson();
  Text pasted(chars);
  if (!s_.multiLine) {
    // A single-line box keeps the first line of what was pasted.
    std::size_t end = pasted.find_first_of(u"\r\n");
    if (end != Text::npos) pasted.resize(end);
  }
  if (s_.maxLength > 0) {
    const int room = s_.maxLength - (static_cast<int>(s_.text.size()) - s_.selLength);
    if (room <= 0) return;
    if (static_cast<int>(pasted.size()) > room) {
      pasted.resize(room);
      // Never leave half of a line break behind.
      if (!pasted.empty() && pasted.back() == vb::kCr) pasted.pop_back();
    }
  }
  if (pasted.empty() && s_.selLength == 0) return;
  const Text before = s_.text;
  ReplaceSelection(pasted);
  Finish(before);
}

void TextBox::Retype(TextView chars) {
  if (!Interactive()) return;
  s_.selStart = 0;
  s_.selLength = static_cast<int>(s_.text.size());
  if (chars.empty())
    PressDelete();
  else
    Type(chars);
}

void TextBox::ReplaceSelection(TextView chars) {
  s_.text.replace(s_.selStart, s_.selLength, chars);
  s_.selStart += static_cast<int>(chars.size());
  s_.selLength = 0;
}

void TextBox::DeleteRange(int start, int length) {
  const int size = static_cast<int>(s_.text.size());
  // A line break is one character to a person: widen a single unit that splits CR LF.
  if (length == 1 && s_.multiLine) {
    if (s_.text[start] == vb::kLf && start > 0 && s_.text[start - 1] == vb::kCr) {
      --start;
      length = 2;
    } else if (s_.text[start] == vb::kCr && start + 1 < size && s_.text[start + 1] == vb::kLf) {
      length = 2;
    }
  }
  s_.text.erase(start, length);
  s_.selStart = start;
  s_.selLength = 0;
}

void TextBox::Finish(const Text& before) {
  Changed();
  if (s_.text != before && Change) Change();
}

void TextBox::CaptureDesign() {
  CaptureCommon();
  design_ = s_;
}

void TextBox::RestoreDesign() {
  RestoreCommon();
  s_ = design_;
}

}  // namespace ui
