// Raising the runtime's errors, with the descriptions VB6 gives its standard error numbers.
#include "framework/vb_error.h"

namespace vb {

namespace {

Text StandardDescription(int number) {
  switch (number) {
    case err::kInvalidProcedureCall: return u"Invalid procedure call or argument";
    case err::kOverflow: return u"Overflow";
    case 7: return u"Out of memory";
    case err::kSubscriptOutOfRange: return u"Subscript out of range";
    case err::kInvalidKey: return u"This array is fixed or temporarily locked";
    case 11: return u"Division by zero";
    case err::kTypeMismatch: return u"Type mismatch";
    case 53: return u"File not found";
    case err::kPathFileAccess: return u"Path/File access error";
    case err::kObjectNotSet: return u"Object variable or With block variable not set";
    case err::kInvalidPropertyValue: return u"Invalid property value";
    case 424: return u"Object required";
    case 438: return u"Object doesn't support this property or method";
    case err::kInvalidPropertyArrayIndex: return u"Invalid property array index";
    case err::kFormAlreadyDisplayed: return u"Form already displayed; can't show modally";
    case err::kDuplicateKey: return u"This key is already associated with an element of this collection";
    case err::kCancelSelected: return u"Cancel was selected.";
    case err::kIndexOutOfBounds: return u"Index out of bounds";
    case err::kElementNotFound: return u"Element not found";
    case err::kKeyNotUnique: return u"Key is not unique in collection";
    default: return u"Application-defined or object-defined error";
  }
}

}  // namespace

void Raise(int number, Text description, Text source) { throw Error(number, std::move(description), std::move(source)); }

void RaiseStandard(int number, Text source) { Raise(number, StandardDescription(number), std::move(source)); }

}  // namespace vb
