#include "stats/report.h"

void appendControlText(Control control, const Text& text) {
    setControlText(control, getControlText(control) + text);
}

std::optional<int64_t> remainderByTotal(int64_t sum, int32_t total) {
    if (total == 0) return std::nullopt;
    // In 64 bits, so that the absolute value of -2147483648 exists and no sum divided by it can overflow.
    const int64_t divisor = total < 0 ? -static_cast<int64_t>(total) : static_cast<int64_t>(total);
    return sum % divisor;
}
