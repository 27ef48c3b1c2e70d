#pragma once

#include <cstdint>
#include <optional>

#include "convert/text.h"
#include "ui/controls.h"

// Added to the remainder to give the result number.
inline constexpr int64_t kResultConstant = 10000001;

// Shown when the total number of participations is missing or reads as 0.
inline constexpr char kTotalMissingMessage[] = "请输入本商品总需参与人次";

// One read and one write of the control: its current text with the given text behind it.
void appendControlText(Control control, const Text& text);

// The remainder of the sum by the total, with the sign of the sum, exactly as fmod of the two would give
// it were both exact doubles; a negative total gives the same remainder as its absolute value.
// No remainder for a total of 0.
std::optional<int64_t> remainderByTotal(int64_t sum, int32_t total);
