// The text of the project summary: every member of every component by kind, with counts per
// component and for the whole project.
#pragma once

#include "framework/host_model.h"

namespace tallowick {

// Reads the project's components and their members in the host's order, letting the user
// interface process its messages before each component and each member. A component without
// a code module is listed with zero counts.
vb::Text BuildProjectSummary(const host::Ref<host::VBProject>& project);

}  // namespace tallowick
