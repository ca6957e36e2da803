#include "control_editor/font_settings.h"

#include "control_editor/editor_options.h"
#include "framework/runtime.h"
#include "framework/ui/controls.h"
#include "framework/variant.h"

namespace ravlen {

FontSettings LoadDefaultFont(UnreadableOptions* unreadable) {
  FontSettings font;
  font.Bold = ReadBoolOption(u"FontBold", u"False", unreadable);
  font.Italic = ReadBoolOption(u"FontItalic", u"False", unreadable);
  font.StrikeThru = ReadBoolOption(u"FontStrikeThru", u"False", unreadable);
  font.Underline = ReadBoolOption(u"FontUnderline", u"False", unreadable);
  font.Name = vb::GetSetting(kSettingsApp, kSettingsSection, u"FontName", u"Times New Roman");
  font.Size = ReadOption(u"FontSize", u"10", [](TextView text) { return vb::CInt(text); }, unreadable);
  return font;
}

void PresetFontDialog(ui::CommonDialog& dialog, const FontSettings& font) {
  dialog.FontBold = font.Bold;
  dialog.FontItalic = font.Italic;
  dialog.FontName = font.Name;
  dialog.FontSize = static_cast<double>(font.Size);
  dialog.FontStrikethru = font.StrikeThru;
  dialog.FontUnderline = font.Underline;
  dialog.Flags = cdlCFScreenFonts;
}

FontSettings ReadFontDialog(const ui::CommonDialog& dialog) {
  FontSettings font;
  font.Bold = dialog.FontBold;
  font.Italic = dialog.FontItalic;
  font.Name = dialog.FontName;
  font.Size = vb::CInt(vb::Variant(dialog.FontSize));
  font.StrikeThru = dialog.FontStrikethru;
  font.Underline = dialog.FontUnderline;
  return font;
}

}  // namespace ravlen
