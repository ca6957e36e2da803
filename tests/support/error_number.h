// The number of the VB error that a call raises, for tests that check which error it was.
#pragma once

#include "framework/vb_error.h"

namespace testing_support {

// Runs `call` and returns the number of the vb::Error it raised (its description into
// `description` when given), 0 when it raised none.
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

}  // namespace testing_support
