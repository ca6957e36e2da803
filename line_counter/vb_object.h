// One counted component: its name and the numbers of code, comment and blank lines of its
// code module.
#pragma once

#include <cstdint>

#include "framework/vb_text.h"

namespace tallowick {

struct VBObject {
  vb::Text CompName;
  std::int32_t Code = 0;
  std::int32_t Comment = 0;
  std::int32_t WhiteSpace = 0;
};

}  // namespace tallowick
