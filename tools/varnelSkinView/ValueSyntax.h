#pragma once
// Whether an attribute value is written the way its syntax says: the parsers
// of the framework accept nearly anything (a bad number reads as 0, a bad
// boolean as false), so the checker holds values to the written form.

#include "varnelui/core/UIAttrParse.h"

#include <string>

namespace SkinView {

using VarnelUI::AttrParse::AttrSyntax;

// What is wrong with the value ("is not a number"), or empty when it is
// well formed. Text, images and attribute lists are looked at elsewhere;
// they are always well formed here.
std::wstring ValueProblem(AttrSyntax syntax, LPCWSTR pstrValue);

// How the syntax is written, for messages and the vocabulary reference.
const wchar_t* SyntaxName(AttrSyntax syntax);

} // namespace SkinView
