#include "comment/active_code.h"

namespace comment {

Ref<host::CodePane> ActivePane(const Ref<host::VBE>& vbe) { return vb::Required(vb::Required(vbe)->ActiveCodePane()); }

Ref<host::CodeModule> ActiveCodeModule(const Ref<host::VBE>& vbe) { return vb::Required(ActivePane(vbe)->CodeModule()); }

}  // namespace comment
