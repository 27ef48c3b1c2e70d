#include "ui/input_rule.h"

#include <cstdint>
#include <limits>
#include <string>

namespace {

bool isCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads in unsigned arithmetic so that an overflow wraps modulo 2^64 instead of being undefined.
int64_t readInt64(const Text& text) {
    size_t at = 0;
    while (at < text.size() && isCSpace(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    uint64_t value = 0;
    for (; at < text.size() && isDigit(text[at]); ++at)
        value = value * 10u + static_cast<uint64_t>(text[at] - '0');
    if (negative) value = 0u - value;
    return static_cast<int64_t>(value);
}

}  // namespace

bool acceptsTypedCharacter(unsigned int code) {
    return code < 32 || code == '-' || (code >= '0' && code <= '9');
}

Text normaliseInput(const Text& text, InputRule rule) {
    int64_t value = readInt64(text);
    if (rule == InputRule::integer) {
        if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
        if (value < std::numeric_limits<int32_t>::min()) value = std::numeric_limits<int32_t>::min();
    }
    if (value == 0) return {};
    return std::to_string(value);
}
