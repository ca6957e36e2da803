#include "control_editor/frm_add_in_options.h"

#include "control_editor/font_settings.h"
#include "framework/runtime.h"
#include "framework/variant.h"

namespace ravlen {

namespace {

void SaveOption(TextView key, TextView value) { vb::SaveSetting(kSettingsApp, kSettingsSection, key, value); }
Text ReadStoredOption(TextView key, TextView defaultValue) {
  return vb::GetSetting(kSettingsApp, kSettingsSection, key, defaultValue);
}

}  // namespace

frmAddInOptions::frmAddInOptions(EditorOptions& options)
    : ui::Form(u"frmAddInOptions", u"Ravlen Editor Options"), options_(options) {
  chkRemove.SetContainer(&fraOptions);
  chkRename.SetContainer(&fraOptions);
  Label1.SetContainer(&Frame1);
  txtFont.SetContainer(&Frame1);
  txtFont.SetLocked(true);
  cmdFont.SetContainer(&Frame1);
  cmdOk.SetDefault(true);

  chkRemove.OnClick = [this] { chkRemove_Click(); };
  chkRename.OnClick = [this] { chkRename_Click(); };
  cmdPromtAll.OnClick = [this] { cmdPromtAll_Click(); };
  cmdPromptNone.OnClick = [this] { cmdPromptNone_Click(); };
  cmdFont.OnClick = [this] { cmdFont_Click(); };
  cmdOk.OnClick = [this] { cmdOk_Click(); };
}

void frmAddInOptions::Form_Load() {
  const auto& names = ControlTypeNames();
  for (std::size_t k = 0; k < kControlTypeCount; ++k) {
    // The list sorts its rows, so each row carries its type index.
    lstControls.AddItem(names[k]);
    const int row = lstControls.newIndex();
    lstControls.SetItemData(row, static_cast<std::int32_t>(k));
    lstControls.SetSelected(row, options_.PromptFlags[k]);
  }
  chkRename.SetValue(options_.RenameCode ? 1 : 0);
  chkRemove.SetValue(options_.RemoveCode ? 1 : 0);
  txtFont.SetText(ReadStoredOption(u"FontName", u"Times New Roman"));
}

// The two switches take effect and are stored at once, whether or not "&Ok" follows.
void frmAddInOptions::chkRemove_Click() {
  options_.RemoveCode = chkRemove.value() != 0;
  SaveOption(u"RemoveCode", vb::ToText(chkRemove.value()));
}

void frmAddInOptions::chkRename_Click() {
  options_.RenameCode = chkRename.value() != 0;
  SaveOption(u"RenameCode", vb::ToText(chkRename.value()));
}

void frmAddInOptions::cmdPromtAll_Click() {
  for (int i = 0; i < lstControls.listCount(); ++i) lstControls.SetSelected(i, true);
}

void frmAddInOptions::cmdPromptNone_Click() {
  for (int i = 0; i < lstControls.listCount(); ++i) lstControls.SetSelected(i, false);
}

void frmAddInOptions::cmdFont_Click() {
  // Preset from the stored font, not from the font box. A stored text that cannot be read (put
  // there by hand) presets the default, and the font chosen then replaces it: this button is
  // where such a value gets repaired.
  UnreadableOptions unreadable;
  cdlgFont.FontBold = ReadBoolOption(u"FontBold", u"False", &unreadable);
  cdlgFont.FontItalic = ReadBoolOption(u"FontItalic", u"False", &unreadable);
  cdlgFont.FontName = ReadStoredOption(u"FontName", u"Times New Roman");
  cdlgFont.FontSize = ReadOption(u"FontSize", u"10", [](TextView text) { return vb::CDbl(text); }, &unreadable);
  cdlgFont.FontStrikethru = ReadBoolOption(u"FontStrikeThru", u"False", &unreadable);
  cdlgFont.FontUnderline = ReadBoolOption(u"FontUnderline", u"False", &unreadable);
  cdlgFont.Flags = cdlCFScreenFonts;
  cdlgFont.ShowFont();
  // Written also when the chooser was closed without a choice: the preset goes back unchanged.
  SaveOption(u"FontName", cdlgFont.FontName);
  SaveOption(u"FontSize", vb::CStr(cdlgFont.FontSize));
  SaveOption(u"FontBold", vb::CStr(vb::Variant(cdlgFont.FontBold)));
  SaveOption(u"FontItalic", vb::CStr(vb::Variant(cdlgFont.FontItalic)));
  SaveOption(u"FontUnderline", vb::CStr(vb::Variant(cdlgFont.FontUnderline)));
  SaveOption(u"FontStrikeThru", vb::CStr(vb::Variant(cdlgFont.FontStrikethru)));
  txtFont.SetText(cdlgFont.FontName);
}

void frmAddInOptions::cmdOk_Click() {
  for (int i = 0; i < lstControls.listCount(); ++i) {
    const auto k = static_cast<std::size_t>(lstControls.ItemData(i));
    if (k >= kControlTypeCount) continue;
    const bool ticked = lstControls.Selected(i);
    options_.PromptFlags[k] = ticked;
    SaveOption(PromptFlagKey(k), ticked ? u"-1" : u"0");
  }
  Hide();
  Unload();
}

}  // namespace ravlen
