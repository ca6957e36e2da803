// What the control editor's tests share: an in-memory IDE with one form, the add-in connected
// to it, and a few steps a person takes in a dialog.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "control_editor/connect.h"
#include "hosts/memory/memory_host.h"
#include "support/connected.h"
#include "support/module_structure.h"

namespace ravlen_test {

using memhost::PlacedControl;
using memhost::HostBuilder;
using memhost::PropertyWrite;
using vb::Text;
using vb::TextView;

inline constexpr const char16_t* kForm = u"Form1";

class RavlenTest : public testing_support::AddInTest<ravlen::Connect> {
 protected:
  // Builds Project1 with Form1 (its code and controls) and connects the add-in.
  void Start(TextView code = {}, std::vector<PlacedControl> controls = {}) {
    Connect(HostBuilder().project(u"Project1").form(kForm, code, std::move(controls)).build());
  }

  void Setting(TextView key, TextView value) { home.settings.SaveSetting(u"Ravlen", u"Options", key, value); }
  Text Stored(TextView key) { return home.settings.GetSetting(u"Ravlen", u"Options", key, u"<none>"); }

  std::vector<PropertyWrite> Writes() { return vbe->Writes(kForm); }
  const std::vector<Text>& Shown() { return home.toolkit.shownForms(); }
};

// The control of that name on the form, as the dialog's type.
template <class T>
T& Field(ui::Form& form, TextView name) {
  T* control = dynamic_cast<T*>(form.FindControl(name));
  if (!control) throw std::runtime_error("no such field: " + vb::ToUtf8(name));
  return *control;
}

// Typing at the caret, as a person continues after the prefix.
inline void TypeOn(ui::Form& form, TextView box, TextView chars) { Field<ui::TextBox>(form, box).Type(chars); }

inline PropertyWrite Wrote(TextView control, TextView property, vb::Variant value, bool accepted = true) {
  return PropertyWrite{Text(control), Text(property), std::move(value), accepted};
}

// The six writes of the font step, in their order.
inline std::vector<PropertyWrite> FontWrites(TextView control, TextView name = u"Times New Roman", double size = 10,
                                             bool bold = false, bool italic = false, bool strike = false,
                                             bool underline = false) {
  return {Wrote(control, u"Font.Name", Text(name)),        Wrote(control, u"Font.Bold", bold),
          Wrote(control, u"Font.Italic", italic),          Wrote(control, u"Font.Size", size),
          Wrote(control, u"Font.Strikethrough", strike),   Wrote(control, u"Font.Underline", underline)};
}

inline std::string Describe(const std::vector<PropertyWrite>& writes) {
  std::string out;
  for (const PropertyWrite& w : writes) {
    out += vb::ToUtf8(w.control) + "." + vb::ToUtf8(w.property) + "=";
    out += w.value.IsObject() ? std::string("<font>") : vb::ToUtf8(vb::CStr(w.value));
    out += w.value.IsText() ? "(text)" : "";
    out += w.accepted ? "\n" : " (rejected)\n";
  }
  return out;
}

}  // namespace ravlen_test
