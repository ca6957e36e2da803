// Helpers for the in-memory IDE tests: readable texts in failure messages and error checks.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/vb_error.h"
#include "framework/vb_text.h"

namespace hosts_test {

inline std::string U8(vb::TextView text) { return vb::ToUtf8(text); }

inline std::vector<std::string> U8(const std::vector<vb::Text>& texts) {
  std::vector<std::string> out;
  for (const auto& t : texts) out.push_back(vb::ToUtf8(t));
  return out;
}

// Runs `call` and returns the number of the vb::Error it raised, 0 when it raised none.
template <class Call>
int ErrorNumberOf(Call&& call, vb::Text* description = nullptr) {
  try {
    call();
  } catch (const vb::Error& e) {
    if (description) *description = e.description;
    return e.number;
  }
  return 0;
}

}  // namespace hosts_test
