// One form of the framework shown in a real window: a child window per control (control_windows.h),
// laid out automatically from the form's controls in their order, which is also the tab order
// (form_layout.h), again whenever a sizable form is resized; kept in step with the form model
// through its observer, and a person's input handed back to the model's controls as the actions
// they stand for (Click, Type, ClickRow, TickRow, ...).
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "framework/ui/controls.h"
#include "framework/ui/form.h"

namespace win32 {

class FormWindow final : public ui::FormObserver {
 public:
  // Creates the (hidden) window with its controls, centred over `owner`.
  FormWindow(ui::Form& form, HWND owner);
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  HWND owner() const { return owner_; }
  ui::Form* form() const { return form_; }
  bool closed() const { return form_ == nullptr; }
  // Whether one of the window's handlers is running (the object must stay until it returns).
  bool busy() const { return busy_ > 0; }
  // Shows the window and puts the focus on the form's active control (or the first one).
  void Show();
  // The form is gone from the screen: no more calls into it; the window hides.
  void Detach();

  // ui::FormObserver
  void ControlChanged(ui::Form& form, ui::Control& control) override;
  void FormChanged(ui::Form& form) override;

  static bool IsFormWindow(HWND hwnd);
  // The hourglass is shown over every form window while set.
  static void SetHourglass(bool on);

 private:
  struct Bound {
    ui::Control* control = nullptr;
    HWND hwnd = nullptr;
    int id = 0;
    bool checkList = false;  // a check-box list box, drawn as a list view with check boxes
  };

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleEdit(Bound& bound, HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
  void Command(Bound& bound, int code);
  LRESULT Notify(Bound& bound, NMHDR& header);
  void NotifyCheckList(Bound& bound, ui::ListBox& list, NMHDR& header);
  LRESULT NotifyTree(Bound& bound, ui::TreeView& tree, NMHDR& header);

  void CreateControls();
  // Places the controls for the window's present size.
  void Arrange();
  void Refresh(Bound& bound);
  void RefreshTree(Bound& bound);
  void FocusActive();
  Bound* Find(int id);
  Bound* Find(const ui::Control* control);
  int DefaultButtonId() const;

  ui::Form* form_;
  HWND owner_;
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  SIZE smallest_ = {};  // the window at its layout's natural size
  std::vector<Bound> bound_;
  int syncing_ = 0;
  int busy_ = 0;  // > 0 while the window is being set from the model
};

}  // namespace win32
