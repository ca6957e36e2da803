// The comment add-in's connection class: five entries on the code window's shortcut menu, one
// click sink each, and the commands they start.
#pragma once

#include <memory>

#include "framework/connect.h"

namespace comment {

using host::Ref;
using vb::Text;
using vb::TextView;

class frmRevision;
class frmPickFunction;

class Connect final : public addin::ConnectBase {
 public:
  Connect();
  ~Connect() override;

  // The click sinks of the other entries (MenuHandler is the first's).
  host::CommandBarEventsMember RemoveMenuHandler;
  host::CommandBarEventsMember FunctionMenuHandler;
  host::CommandBarEventsMember RevisionHandler;
  host::CommandBarEventsMember PickCode;

  // A button on the "Code Window" bar: appended when Pos is -1, else inserted as the first item.
  // Nothing when the bar or the button cannot be had.
  Ref<host::CommandBarControl> AddToAddInCommandBar(TextView sCaption, long Pos);

  void MenuHandler_Click();
  void RemoveMenuHandler_Click();
  void FunctionMenuHandler_Click();
  void RevisionHandler_Click();
  void PickCode_Click();

 protected:
  void Connection(int connectMode) override;
  void ConnectionFailed(const vb::Error& error) override;
  void Disconnection() override;

 private:
  Ref<host::CommandBarControl> commentEntry_;
  Ref<host::CommandBarControl> uncommentEntry_;
  Ref<host::CommandBarControl> functionEntry_;
  Ref<host::CommandBarControl> revisionEntry_;
  Ref<host::CommandBarControl> pickCodeEntry_;

  // One revision dialog and one navigator serve every click.
  // Shared with the click that shows them: the IDE may unload the add-in while one is shown.
  std::shared_ptr<frmRevision> revisionForm_;
  std::shared_ptr<frmPickFunction> pickFunctionForm_;
};

}  // namespace comment
