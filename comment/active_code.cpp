#include "comment/active_code.h"

namespace comment {

Ref<host::CodePane> ActivePane(const Ref<host::VBE>& vbe) {
  if (!vbe) vb::RaiseStandard(vb::err::kObjectNotSet);
  Ref<host::CodePane> pane = vbe->ActiveCodePane();
  if (!pane) vb::RaiseStandard(vb::err::kObjectNotSet);
  return pane;
}

Ref<host::CodeModule> ModuleOf(const Ref<host::CodePane>& pane) {
  if (!pane) vb::RaiseStandard(vb::err::kObjectNotSet);
  Ref<host::CodeModule> module = pane->CodeModule();
  if (!module) vb::RaiseStandard(vb::err::kObjectNotSet);
  return module;
}

Ref<host::CodeModule> ActiveCodeModule(const Ref<host::VBE>& vbe) { return ModuleOf(ActivePane(vbe)); }

}  // namespace comment
