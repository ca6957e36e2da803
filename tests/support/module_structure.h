// Whether a module's code gets past VB6's compiler in the ways that generated code goes wrong:
// every Sub, Function and Property block is closed exactly once and no block opens or closes
// inside another; no procedure and no Implements statement is written twice; and a module that
// implements an interface has a procedure for every public member of it, with the interface's
// parameters and types. Run it on every module that a test has an add-in write code into.
//
// The check reads the code as VB does: " _" continuations, several statements on one line
// (":" outside strings), comments, keywords in any letter case. Each configuration of the
// project is checked in turn: every #If condition of the module and of its interfaces is read as
// one constant that is set or not ("Not" as its opposite); a problem that only some configurations
// have names each of them ("with A, not B: ").
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/host_model.h"
#include "framework/vb_text.h"

namespace testing_support {

// The code of the class module that `Implements project.className` (project empty for a bare
// `Implements className`) names, or nullopt when there is no such class.
using InterfaceSource = std::function<std::optional<vb::Text>(vb::TextView project, vb::TextView className)>;

// One sentence per problem, block faults first; empty for a sound module. Without an interface
// source every Implements statement is reported as unchecked.
std::vector<std::string> StructureProblems(vb::TextView moduleText, const InterfaceSource& interfaces = {});

// Interfaces looked up among the open projects of an IDE: by project and class name, or for a
// bare class name in `preferredProject` first and then in every project.
InterfaceSource InterfacesOf(const host::Ref<host::VBE>& ide, vb::TextView preferredProject = {});

// For EXPECT_TRUE: the problems of one module, or of every code module of every open project.
::testing::AssertionResult SoundStructure(vb::TextView moduleText, const InterfaceSource& interfaces = {});
::testing::AssertionResult SoundStructure(const host::Ref<host::VBE>& ide);

}  // namespace testing_support
