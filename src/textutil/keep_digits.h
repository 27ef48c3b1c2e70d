#pragma once

#include "convert/text.h"

// The ASCII digits 0 to 9 of a text, in order, taken by the regular-expression object.
Text keepDigits(const Text& sourceText);
