#pragma once

#include <cstdint>
#include <optional>

#include "convert/text.h"

// Full-width forms become ASCII first, then leading white space is skipped and the leading number read.
// A text without a number gives 0; integers wrap silently in two's complement.
double textToNumber(const Text& text);
// The leading number as textToNumber reads it, or nothing when the text does not begin with one
// (which textToNumber cannot tell from a leading 0).
std::optional<double> leadingNumber(const Text& text);
int32_t textToInt32(const Text& text);
int64_t textToInt64(const Text& text);
// As the C library reads a 64-bit integer: no full-width folding, then the same white space, sign, digits
// and wrap modulo 2^64.
int64_t plainTextToInt64(const Text& text);

// Integers in plain decimal; doubles as "%.13g", so whole values below 10^13 print without a point.
Text numberToText(int32_t number);
Text numberToText(int64_t number);
Text numberToText(double number);

// The C library's fmod; a zero divisor has no remainder, and the caller decides what the user sees.
std::optional<double> floatRemainder(double dividend, double divisor);
