#include "property_generator/frm_add_in.h"

#include "framework/failure_report.h"
#include "framework/runtime.h"
#include "property_generator/property_text.h"

namespace quenby {

host::Ref<host::VBE> VBInstance;

frmAddIn::frmAddIn() : ui::Form(u"frmAddIn", u"Quenby Tool") {
  for (ui::Control* c : std::initializer_list<ui::Control*>{&optPublic, &optPrivate, &optFriend, &optPublicRead,
                                                            &chkUseSet})
    c->SetContainer(&Frame1);
  for (const char16_t* type : kFixedTypes) cmbType.AddItem(type);
  OKButton.SetDefault(true);
  CancelButton.SetCancel(true);
  OKButton.OnClick = [this] { OKButton_Click(); };
  CancelButton.OnClick = [this] { CancelButton_Click(); };
}

void frmAddIn::Form_Load() {
  host::Ref<host::VBComponents> components = VBInstance->ActiveVBProject()->VBComponents();
  for (long i = 1; i <= components->Count(); ++i) {
    host::Ref<host::VBComponent> component = components->Item(i);
    if (component->Type() == host::vbext_ct_ClassModule) cmbType.AddItem(component->Name());
  }
}

void frmAddIn::OKButton_Click() {
  // The pane active now, not the one active when the dialog opened: the dialog is modeless.
  host::Ref<host::CodeModule> module;
  try {
    if (host::Ref<host::CodePane> pane = VBInstance->ActiveCodePane()) module = pane->CodeModule();
  } catch (const vb::Error&) {
    module.reset();
  }
  if (!module) {
    vb::MsgBox(u"You must be in the code pane where you want to add the new property", ui::vbInformation,
               u"No Code Pane Available");
    return;
  }
  try {
    WriteProperty(*module);
  } catch (const vb::Error& e) {
    // Texts handed over before the failure stay; the dialog stays open with what was typed.
    addin::ReportFailure(e);
    return;
  }
  Hide();
  Unload();
}

void frmAddIn::WriteProperty(host::CodeModule& module) {
  if (vb::Trim(cmbType.text()).empty()) cmbType.SetText(u"Variant");
  const vb::Text name = txtPropName.text();
  const vb::Text type = cmbType.text();
  module.AddFromString(MemberDeclaration(name, type));
  ScopePrefixes prefixes = PrefixesFor(optFriend.value(), optPrivate.value(), optPublic.value(), optPublicRead.value());
  const bool useSet = chkUseSet.value() != 0;
  module.AddFromString(WriteProcedure(prefixes.write, name, type, useSet));
  module.AddFromString(ReadProcedure(prefixes.read, name, type, useSet));
}

void frmAddIn::CancelButton_Click() {
  Hide();
  Unload();
}

}  // namespace quenby
