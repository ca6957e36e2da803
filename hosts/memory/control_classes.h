// The design-time property tables of the control classes the in-memory designer knows: each
// property's kind, default, range or listed values. A write is checked against its entry and
// rejected as the IDE rejects it (error 380 "Invalid property value", error 13 "Type mismatch").
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "framework/variant.h"
#include "framework/vb_text.h"

namespace memhost {

using vb::Text;
using vb::TextView;

// PropKind::Text names a kind, not the text type; the enumerator's scope keeps them apart.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
enum class PropKind {
  Text,     // any text
  Boolean,  // True/False (numbers and "True"/"False" texts convert)
  Integer,  // 16-bit, within [min, max]
  Long,     // 32-bit, within [min, max]
  Single,   // real number
  Enum,     // 16-bit, one of `allowed`
  Font,     // a font object (Property.Object)
  Name,     // the control's name: letters, digits, "_", starts with a letter, <= 40, unique
  Index,    // control-array index 0..32767
};
#pragma GCC diagnostic pop

struct PropertyDef {
  Text name;
  PropKind kind = PropKind::Text;
  vb::Variant defaultValue;
  std::int64_t min = 0, max = 0;  // Integer, Long; Text: when max > 0, the length lies in [min, max]
  std::vector<std::int32_t> allowed;  // Enum
};

struct ControlClassDef {
  Text className;      // "TextBox"
  Text libraryPrefix;  // "VB" or "MSComctlLib", as the .frm Begin line writes it
  Text defaultStem;    // "Text": new controls are named Text1, Text2, ...
  std::vector<PropertyDef> properties;
};

// The class table; nullptr for a class the table does not know (such a control gets the
// properties every control has: Name, Index, Tag, Enabled, Visible, Left, Top, Width, Height).
const ControlClassDef* FindControlClass(TextView className);
// The properties every control has.
const std::vector<PropertyDef>& CommonProperties();

// Checks and converts a value for a property: returns the stored form, or raises vb::Error
// 380 (out of range, not a listed value, an invalid name) or 13 (wrong kind of value).
vb::Variant CoerceProperty(const PropertyDef& def, const vb::Variant& value);

// VB reserved words cannot be control names.
bool IsReservedWord(TextView word);
// Whether `name` can name a control or a variable: a letter, then letters, digits and "_", at
// most `maxLength` characters, and no reserved word.
bool IsValidName(TextView name, std::size_t maxLength);

}  // namespace memhost
