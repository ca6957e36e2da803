// Helpers for the in-memory IDE tests: readable texts in failure messages and error checks.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/vb_text.h"
#include "support/error_number.h"

namespace hosts_test {

inline std::string U8(vb::TextView text) { return vb::ToUtf8(text); }

inline std::vector<std::string> U8(const std::vector<vb::Text>& texts) {
  std::vector<std::string> out;
  for (const auto& t : texts) out.push_back(vb::ToUtf8(t));
  return out;
}

using testing_support::ErrorNumberOf;

}  // namespace hosts_test
