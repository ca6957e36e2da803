// Reaching through an object reference that may be Nothing raises error 91, as VB does, so a
// missing pane, module or owner ends a step as a failure instead of a crash.
#pragma once

#include <memory>

#include "framework/vb_error.h"

namespace pellmoss {

template <class T>
T& Deref(T* object) {
  if (!object) vb::RaiseStandard(vb::err::kObjectNotSet);
  return *object;
}

template <class T>
T& Deref(const std::shared_ptr<T>& object) {
  return Deref(object.get());
}

}  // namespace pellmoss
