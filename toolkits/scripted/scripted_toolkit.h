// A toolkit that answers dialogs from a script: tests and the command line register, per form
// name, what a person does in that dialog (type here, tick that, click OK); message boxes, font
// choices and pop-up menus are answered and recorded the same way.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "framework/ui/form.h"
#include "framework/ui/toolkit.h"

namespace scripted {

using vb::Text;
using vb::TextView;

struct MessageBox {
  Text prompt;
  int buttons = 0;  // style: icon + buttons
  Text title;
  bool operator==(const MessageBox&) const = default;
};

class ScriptedToolkit : public ui::Toolkit {
 public:
  using Answer = std::function<void(ui::Form&)>;

  // The answer for every display of the form named `formName` (after any queued Once answers).
  void On(TextView formName, Answer answer);
  // An answer for the next display only; several queue up in order.
  void Once(TextView formName, Answer answer);
  // The button that the next message box is answered with (vbOK when nothing is queued).
  void AnswerMsgBox(int result);
  // The person's choice in the font chooser: return false to close it without a choice.
  void OnFont(std::function<bool(ui::FontChoice&)> answer);
  // What a person does while a long command lets messages through: runs at the next DoEvents.
  void OnDoEvents(std::function<void()> action) { onDoEvents_ = std::move(action); }
  // The entry a person clicks in a pop-up menu (nullptr: none).
  void OnPopup(std::function<ui::Menu*(ui::Form&, ui::Menu&)> answer);

  // What happened.
  const std::vector<MessageBox>& messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }
  const std::vector<Text>& shownForms() const { return shownForms_; }  // every Show, by name
  const std::vector<ui::FontChoice>& fontPresets() const { return fontPresets_; }
  const std::vector<int>& mousePointers() const { return pointers_; }  // every change, in order
  int doEventsCount() const { return doEvents_; }
  // A form shown modelessly and still visible, or nullptr.
  ui::Form* OpenForm(TextView formName) const;

  // ui::Toolkit
  void ShowModal(ui::Form& form) override;
  void ShowModeless(ui::Form& form) override;
  void FormClosed(ui::Form& form) override;
  int MsgBox(const Text& prompt, int buttons, const Text& title) override;
  bool ChooseFont(ui::FontChoice& font) override;
  void PopupMenu(ui::Form& form, ui::Menu& menu) override;
  void DoEvents() override;
  void SetMousePointer(int pointer) override;
  int MousePointer() const override { return pointer_; }

 private:
  Answer TakeAnswer(const Text& formName);

  std::function<void()> onDoEvents_;
  std::map<Text, Answer> standing_;
  std::map<Text, std::deque<Answer>> queued_;
  std::deque<int> msgBoxAnswers_;
  std::function<bool(ui::FontChoice&)> fontAnswer_;
  std::function<ui::Menu*(ui::Form&, ui::Menu&)> popupAnswer_;
  std::vector<MessageBox> messages_;
  std::vector<Text> shownForms_;
  std::vector<ui::FontChoice> fontPresets_;
  std::vector<int> pointers_;
  std::vector<ui::Form*> modeless_;
  int pointer_ = ui::vbDefault;
  int doEvents_ = 0;
};

// What a person does in a dialog, by control name (raises vb::Error 5 naming a missing control).
void Type(ui::Form& form, TextView control, TextView text);    // select all, then type
void Click(ui::Form& form, TextView control);                  // a button, check box, option or menu entry
void SetCheck(ui::Form& form, TextView control, int value);    // click a check box until it shows value
void Choose(ui::Form& form, TextView control, TextView item);  // pick a combo or list row, or a tree node, by text
void Tick(ui::Form& form, TextView control, TextView item);    // toggle the box of a check-box list row

}  // namespace scripted
