#pragma once

#include "convert/text.h"

// How totalInput and lastTimeInput normalise their text when they lose the focus.
enum class InputRule { integer, longInteger };

// Whether a typed character code gets into a box with an input rule: control characters always do,
// printable ones only when they are a minus sign or a digit.
bool acceptsTypedCharacter(unsigned int code);

// The text a box shows after losing the focus: the leading signed 64-bit number read as the C library
// reads it (white space, one sign, digits; overflow wraps), clamped to 32 bits for the integer rule,
// in plain decimal, with "0" written as the empty text.
Text normaliseInput(const Text& text, InputRule rule);
