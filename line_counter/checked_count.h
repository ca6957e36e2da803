// The counters of the line counter are VB Longs: adding past their range is error 6.
#pragma once

#include <cstdint>
#include <limits>

#include "framework/vb_error.h"

namespace tallowick {

inline void AddToCount(std::int32_t& counter, std::int32_t amount) {
  std::int64_t sum = static_cast<std::int64_t>(counter) + amount;
  if (sum > std::numeric_limits<std::int32_t>::max() || sum < std::numeric_limits<std::int32_t>::min())
    vb::RaiseStandard(vb::err::kOverflow);
  counter = static_cast<std::int32_t>(sum);
}

}  // namespace tallowick
