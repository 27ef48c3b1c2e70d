#pragma once

#include <cstdint>
#include <optional>

#include "convert/text.h"

// The whole seconds of a millisecond count, truncated toward zero, as the low 32 bits of that integer
// read as a signed number: counts past 2038-01-19 03:14:07 UTC wrap to 1901.
int32_t networkSeconds(double milliseconds);

// The Beijing time of day of a count of milliseconds since 1970-01-01 00:00:00 UTC, as the clock shows it.
Text clockTextOf(double milliseconds);

// The clock text of the network-time page, or nothing when the page holds no readable time:
// no "window.baidu_time(" with a ")" after it, or no number at the start of the text between them.
std::optional<Text> readClockText(const Text& pageText);
