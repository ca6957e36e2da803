// The user-interface toolkit that shows forms: scripted in tests and the command line, native
// windows on Windows. Forms and add-in code reach it through the runtime (framework/runtime.h).
#pragma once

#include <vector>

#include "framework/vb_text.h"

namespace ui {

class Form;
class Menu;

// MsgBox styles and results.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbYesNo = 4;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// MousePointerConstants
inline constexpr int vbDefault = 0;
inline constexpr int vbHourglass = 11;

// What the font chooser is preset with and returns.
struct FontChoice {
  vb::Text name;
  double size = 0;
  bool bold = false, italic = false, underline = false, strikethru = false;
  int flags = 0;
  bool operator==(const FontChoice&) const = default;
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // Shows the loaded form; returns when it is hidden or unloaded.
  virtual void ShowModal(Form& form) = 0;
  // Shows the loaded form and returns at once.
  virtual void ShowModeless(Form& form) = 0;
  // The form was hidden or unloaded (ends its modal display, closes its window).
  virtual void FormClosed(Form& form) = 0;
  // MsgBox: the button pressed (vbOK, vbYes, ...). An empty title is the application's.
  virtual int MsgBox(const vb::Text& prompt, int buttons, const vb::Text& title) = 0;
  // The font chooser: true and `font` updated when the person chose; false leaves it as preset.
  virtual bool ChooseFont(FontChoice& font) = 0;
  // Opens a form's menu as a pop-up menu; the toolkit clicks the chosen entry, if any.
  virtual void PopupMenu(Form& form, Menu& menu) = 0;
  virtual void DoEvents() = 0;
  virtual void SetMousePointer(int pointer) = 0;
  virtual int MousePointer() const = 0;
};

}  // namespace ui
