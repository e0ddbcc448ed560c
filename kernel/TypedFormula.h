// How a text typed into a cell becomes the text of its formula. Shared by
// the kernel (a formula given as a value) and the model editor (a typed
// cell), so both read a typed text alike.
#pragma once

#include "core/String.h"

namespace qv {

// "=formula" stays a formula, "+..." and "-..." stay as typed, anything else
// becomes a string literal.
StringPointer toFormulaText(const StringPointer& text);
// The formula a text typed into a cell becomes: a number or true/false as
// typed, anything else through toFormulaText.
StringPointer typedFormulaText(const StringPointer& text);

}  // namespace qv
