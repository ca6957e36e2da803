// A dialog of the form model. Subclasses declare their controls as members, named as the dialog
// names them, set their design-time state in the constructor, bind the controls' events to member
// functions named as VB names them (cmdAdd_Click, Form_Activate), and are shown through the
// installed toolkit.
#pragma once

#include <vector>

#include "framework/ui/controls.h"

namespace ui {

// FormShowConstants
enum ShowMode { vbModeless = 0, vbModal = 1 };
// FormBorderStyleConstants: a dialog keeps its size; a sizable form can be resized by its border.
enum BorderStyle { vbSizable = 2, vbFixedDialog = 3 };
// QueryUnloadConstants: why a form is closing.
enum UnloadMode { vbFormControlMenu = 0, vbFormCode = 1 };

class Form;

// Told about every change of a form and its controls (a toolkit mirrors them in windows).
class FormObserver {
 public:
  virtual ~FormObserver() = default;
  virtual void ControlChanged(Form& form, Control& control) = 0;
  virtual void FormChanged(Form& form) = 0;  // shown, hidden, unloaded, caption, focus
};

class Form {
 public:
  Form(Text name, Text caption);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const Text& name() const { return name_; }
  const Text& caption() const { return caption_; }
  void SetCaption(TextView value);
  // The dialog's font name (empty: the toolkit's default).
  const Text& fontName() const { return fontName_; }
  void SetFontName(TextView value) { fontName_ = Text(value); }
  BorderStyle borderStyle() const { return borderStyle_; }
  void SetBorderStyle(BorderStyle value) { borderStyle_ = value; }

  // Lifecycle. Load runs Form_Load once until the next Unload; Show loads, then lets the
  // toolkit show the form (a modal Show returns when the form is hidden or unloaded);
  // Unload asks Form_QueryUnload, runs Form_Unload and puts the controls back to their
  // design-time state.
  void Load();
  void Show(ShowMode mode = vbModeless);
  void Hide();
  void Unload(UnloadMode mode = vbFormCode);
  bool loaded() const { return loaded_; }
  bool visible() const { return visible_; }
  bool modal() const { return modal_; }
  // Called by the toolkit when the form becomes the active window.
  void Activate();

  // Controls in declaration order, which is also the tab order.
  const std::vector<Control*>& controls() const { return controls_; }
  Control* FindControl(TextView name) const;
  template <class T>
  T* Find(TextView name) const {
    return dynamic_cast<T*>(FindControl(name));
  }
  Control* ActiveControl() const { return activeControl_; }

  // A person's keys and clicks on the form itself.
  void PressEnter();   // clicks the default button
  void PressEscape();  // clicks the cancel button
  void CloseBox();     // the window's close button: Unload as from the control menu

  // Opens one of the form's menus as a pop-up menu at the pointer.
  void PopupMenu(Menu& menu);

  void SetObserver(FormObserver* observer) { observer_ = observer; }
  FormObserver* observer() const { return observer_; }

 protected:
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_QueryUnload(int& /*cancel*/, int /*unloadMode*/) {}
  virtual void Form_Unload(int& /*cancel*/) {}

 private:
  friend class Control;
  void Register(Control& control);
  void Focus(Control* control);
  void NotifyControl(Control& control);
  void NotifyForm();

  Text name_;
  Text caption_;
  Text fontName_;
  BorderStyle borderStyle_ = vbFixedDialog;
  std::vector<Control*> controls_;
  Control* activeControl_ = nullptr;
  FormObserver* observer_ = nullptr;
  bool designCaptured_ = false;
  bool shown_ = false;      // handed to the toolkit since the last Load
  bool unloading_ = false;  // inside Unload's handlers
  bool loaded_ = false;
  bool visible_ = false;
  bool modal_ = false;
};

// Unloads the form when there is one and it is loaded: what an add-in does with a dialog it
// keeps when it disconnects, or when a failure left the dialog open.
inline void UnloadIfLoaded(Form* form) {
  if (form && form->loaded()) form->Unload();
}

}  // namespace ui
