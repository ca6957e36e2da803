// A connected interface implementer over an in-memory IDE.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "hosts/memory/memory_host.h"
#include "interface_builder/build_interface.h"
#include "interface_builder/connect.h"
#include "support/connected.h"

namespace morrowgate_test {

using vb::Text;

inline constexpr const char16_t* kEntry = u"M&orrowgate Builder";

// Lines that each end with their own break, the way the generated stubs end.
inline Text Crlf(std::initializer_list<const char16_t*> lines) {
  Text out;
  for (const char16_t* line : lines) out += Text(line) + u"\r\n";
  return out;
}

// The stub of a public Sub without arguments, as the builder writes it.
inline Text SubStub(const Text& interfaceName, const Text& name) {
  return u"Private Sub " + interfaceName + u"_" + name + u"()\r\n\t' place your code here\r\n\r\nEnd Sub\r\n\r\n\r\n";
}

class MorrowgateTest : public testing_support::AddInTest<morrowgate::Connect> {
 protected:
  // Clicks the entry and returns the open interface dialog.
  morrowgate::frmAddIn& OpenDialog() {
    vbe->Click(u"Add-Ins", kEntry);
    ui::Form* form = home.toolkit.OpenForm(u"frmAddIn");
    if (!form) throw std::runtime_error("the interface dialog did not open");
    return dynamic_cast<morrowgate::frmAddIn&>(*form);
  }

  static std::vector<Text> ComboEntries(const morrowgate::frmAddIn& dialog) {
    std::vector<Text> entries;
    for (int i = 0; i < dialog.cboClasses.listCount(); ++i) entries.push_back(dialog.cboClasses.List(i));
    return entries;
  }
  static std::vector<Text> ListEntries(const morrowgate::frmAddIn& dialog) {
    std::vector<Text> entries;
    for (int i = 0; i < dialog.lstClasses.listCount(); ++i) entries.push_back(dialog.lstClasses.List(i));
    return entries;
  }
  static void Tick(morrowgate::frmAddIn& dialog, const Text& entry) {
    int row = dialog.lstClasses.FindRow(entry);
    if (row < 0) throw std::runtime_error("no interface row " + vb::ToUtf8(entry));
    dialog.lstClasses.TickRow(row);
  }

  // The builder as the dialog uses it, asking through the add-in's question dialog.
  Text Build(const Text& project, const Text& className) {
    morrowgate::BuildInterface builder([this](const Text& varType) { return connect.PropertyDetermine().Ask(varType); });
    return builder(vbe, project, className);
  }
};

}  // namespace morrowgate_test
