// The font record of the control dialogs (basFont): the default font for new controls is read
// from the editor's settings, and the common font dialog is preset from and read back into it.
#pragma once

#include <cstdint>

#include "control_editor/editor_options.h"
#include "framework/vb_text.h"

namespace ui {
class CommonDialog;
}

namespace ravlen {

struct FontSettings {
  vb::Text Name;
  std::int16_t Size = 0;  // whole points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeThru = false;
  bool operator==(const FontSettings&) const = default;
};

// The stored default font: "Times New Roman", 10 points, no styles when nothing is stored. The
// size is rounded to whole points (8.25 gives 8). Raises on a stored text that cannot convert
// (or lists it, see ReadOption).
FontSettings LoadDefaultFont(UnreadableOptions* unreadable = nullptr);

// Presets the font dialog from the record (bold, italic, name, size, strikethrough, underline)
// and asks for the screen fonts.
void PresetFontDialog(ui::CommonDialog& dialog, const FontSettings& font);

// Reads the font dialog back into a record, the size rounded to whole points.
FontSettings ReadFontDialog(const ui::CommonDialog& dialog);

// Flags value of the font dialog: list the screen fonts (cdlCFScreenFonts).
inline constexpr int cdlCFScreenFonts = 1;

}  // namespace ravlen
